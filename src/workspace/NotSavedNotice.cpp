#include "NotSavedNotice.h"

#include "Dialogs.h"
#include "Outcome.h"

void NotSavedNotice::show(Dialogs& dialogs, QWidget* parent, const Outcome& outcome) {
    if (outcome.kind() == Outcome::Kind::Unknown) {
        dialogs.inform(parent, QStringLiteral("Buchung vielleicht nicht gespeichert"),
                       outcome.text() + QStringLiteral("\nIhre Eingaben bleiben in den Feldern erhalten."),
                       Dialogs::Icon::Warning);
        return;
    }
    dialogs.inform(parent, QStringLiteral("Buchung nicht gespeichert"),
                   QStringLiteral("Die Buchung konnte nicht gespeichert werden. Ihre Eingaben "
                                  "bleiben erhalten.\n") +
                       outcome.text(),
                   Dialogs::Icon::Critical);
}
