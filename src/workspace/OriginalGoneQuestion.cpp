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

bool OriginalGoneQuestion::loadCurrent(Dialogs& dialogs, QWidget* parent, Kind kind) {
    const QString what =
        kind == Kind::Booking ? QStringLiteral("Die Buchung") : QStringLiteral("Der Eintrag");
    const QString text =
        what + QStringLiteral(", die Sie korrigieren, wurde inzwischen an einem anderen Arbeitsplatz "
                              "geändert. Ihre Korrektur wurde nicht gespeichert, damit diese Änderung nicht "
                              "verloren geht.\n\nSoll der aktuelle Stand in die Eingabefelder geladen "
                              "werden? Ihre Eingaben werden dabei ersetzt.\n\nNein: Ihre Eingaben bleiben "
                              "erhalten.");
    return dialogs.ask(parent, QStringLiteral("Original inzwischen geändert"),
                       kind == Kind::Booking
                           ? text
                           : QString(text).replace(QStringLiteral(", die Sie"), QStringLiteral(", den Sie")),
                       Dialogs::Icon::Question, Dialogs::Answer::Yes) == Dialogs::Answer::Yes;
}
