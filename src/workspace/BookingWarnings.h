#pragma once

#include "Booking.h"
#include "EstimateRow.h"
#include "Money.h"

#include <optional>
#include <QList>
#include <QString>

class QWidget;
struct WorkspaceContext;

// What a clerk is asked before a booking goes in, when it would pay a company more than its order and
// supplements, book an invoice of the company a second time, or take the project beyond its budget.
// Each is a question "Trotzdem buchen?" with "Nein" preselected; "Ja" books as before.
class BookingWarnings {
public:
    struct Warning {
        QString title;
        QString text;
    };

    // The warnings for booking, given the company's other bookings and estimate rows in the project
    // (rows of other companies are passed over), the project's payments so far and its budget. A company
    // without any order is never warned about its order; an empty invoice number is never a second one.
    static QList<Warning> check(const Booking& booking, const QList<Booking>& companyBookings,
                                const QList<EstimateRow>& companyEstimates, Money projectPaid,
                                const std::optional<Money>& budget);
    // "1.234,50 €".
    static QString euros(Money amount);

    explicit BookingWarnings(WorkspaceContext& context) : m_context(context) {}
    // Reads the project's rows that the warnings need, leaving out the booking and the estimate row that
    // wait taken back, and asks each warning in turn. True when the booking may go in: no warning, or
    // "Ja" to each; also when the rows cannot be read (the booking is never held up by a failed check).
    bool confirm(QWidget* parent, const Booking& booking);

private:
    WorkspaceContext& m_context;
};
