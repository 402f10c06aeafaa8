#include "NotSavedNotice.h"

#include "Database.h"
#include "Dialogs.h"
#include "WorkspaceContext.h"

void NotSavedNotice::show(WorkspaceContext& context, QWidget* parent) {
    if (context.db.lastFailure() == Database::Failure::OutcomeUnknown) {
        context.dialogs.inform(parent, QStringLiteral("Buchung vielleicht nicht gespeichert"),
                               context.db.lastError() +
                                   QStringLiteral("\nIhre Eingaben bleiben in den Feldern erhalten."),
                               Dialogs::Icon::Warning);
        return;
    }
    context.dialogs.inform(parent, QStringLiteral("Buchung nicht gespeichert"),
                           QStringLiteral("Die Buchung konnte nicht gespeichert werden. Ihre Eingaben "
                                          "bleiben erhalten.\n") +
                               context.db.lastError(),
                           Dialogs::Icon::Critical);
}
