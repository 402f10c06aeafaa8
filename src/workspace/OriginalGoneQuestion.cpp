#include "OriginalGoneQuestion.h"

#include "Dialogs.h"

#include <QString>

bool OriginalGoneQuestion::bookAsNew(Dialogs& dialogs, QWidget* parent, Kind kind) {
    const QString text =
        kind == Kind::Booking
            ? QStringLiteral(
                  "Die Buchung, die Sie korrigieren, ist nicht mehr in der Datenbank: Sie wurde "
                  "inzwischen an einem anderen Arbeitsplatz gelöscht oder ersetzt.\n\nSoll Ihre "
                  "Eingabe als neue Buchung gebucht werden?\n\nNein: Ihre Eingaben bleiben "
                  "erhalten; sehen Sie zuerst in der Liste nach, ob die Zahlung schon gebucht ist.")
            : QStringLiteral("Der Eintrag, den Sie korrigieren, ist nicht mehr in der Datenbank: Er wurde "
                             "inzwischen an einem anderen Arbeitsplatz gelöscht oder ersetzt.\n\nSoll Ihre "
                             "Eingabe als neuer Eintrag gebucht werden?\n\nNein: Ihre Eingaben bleiben "
                             "erhalten; sehen Sie zuerst in der Liste nach.");
    return dialogs.ask(parent, QStringLiteral("Original nicht mehr vorhanden"), text, Dialogs::Icon::Question,
                       Dialogs::Answer::No) == Dialogs::Answer::Yes;
}
