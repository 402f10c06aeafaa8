#pragma once

#include "Booking.h"

class QWidget;
struct WorkspaceContext;

// Asks the clerk before a booking goes in, for each warning of BookingChecks in turn: a question
// "Trotzdem buchen?" with "Nein" preselected; "Ja" books as before.
class BookingWarnings {
public:
    explicit BookingWarnings(WorkspaceContext& context) : m_context(context) {}
    // True when the booking may go in: no warning, or "Ja" to each. invoiceAskedBefore: the invoice
    // number the clerk was asked about already, when the e-invoice was taken.
    bool confirm(QWidget* parent, const Booking& booking, const QString& invoiceAskedBefore = QString());

private:
    WorkspaceContext& m_context;
};
