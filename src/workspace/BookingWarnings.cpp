#include "BookingWarnings.h"

#include "BookingChecks.h"
#include "Dialogs.h"
#include "WorkspaceContext.h"

bool BookingWarnings::confirm(QWidget* parent, const Booking& booking, const QString& invoiceAskedBefore) {
    const QList<BookingChecks::Warning> warnings =
        BookingChecks(m_context.session)
            .warnings(booking, m_context.waitingBookingId, m_context.waitingEstimateRowId,
                      invoiceAskedBefore);
    for (const BookingChecks::Warning& warning : warnings) {
        if (m_context.dialogs.ask(parent, warning.title,
                                  warning.text + QStringLiteral("\n\nTrotzdem buchen?"),
                                  Dialogs::Icon::Warning, Dialogs::Answer::No) != Dialogs::Answer::Yes)
            return false;
    }
    return true;
}
