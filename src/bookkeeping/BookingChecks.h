#pragma once

#include "Booking.h"
#include "EstimateRow.h"
#include "Money.h"

#include <optional>
#include <QList>
#include <QString>

class Session;

// What a clerk is warned of before a booking goes in: it would pay a company more than its order and
// supplements, book an invoice of the company a second time, or take the project beyond its budget.
class BookingChecks {
public:
    struct Warning {
        QString title;
        QString text;
    };

    // The warnings for booking, given the company's other bookings and estimate rows in the project
    // (rows of other companies are passed over), the project's payments so far and its budget. A company
    // without any order is never warned about its order. invoiceAskedBefore: the invoice number the
    // clerk was asked about already (when the e-invoice was taken), not asked again.
    static QList<Warning> check(const Booking& booking, const QList<Booking>& companyBookings,
                                const QList<EstimateRow>& companyEstimates, Money projectPaid,
                                const std::optional<Money>& budget,
                                const QString& invoiceAskedBefore = QString());
    // Whether two invoice numbers are the same invoice: blanks and letter case do not count, and an empty
    // number is never the same as another.
    static bool sameInvoiceNumber(const QString& invoiceNumber, const QString& other);
    // "1.234,50 €".
    static QString euros(Money amount);

    explicit BookingChecks(Session& session) : m_session(session) {}
    // Reads the project's rows that the warnings need, leaving out the booking and the estimate row that
    // wait taken back, and checks booking. No warning when the rows cannot be read: a booking is never
    // held up by a failed check.
    QList<Warning> warnings(const Booking& booking, std::optional<qint64> waitingBookingId,
                            std::optional<qint64> waitingEstimateRowId,
                            const QString& invoiceAskedBefore = QString()) const;

private:
    Session& m_session;
};
