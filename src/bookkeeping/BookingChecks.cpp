#include "BookingChecks.h"

#include "BudgetRepository.h"
#include "DayNumber.h"
#include "EstimateRepository.h"
#include "RunningNumberText.h"
#include "SameName.h"
#include "Session.h"

namespace {

// An invoice number as compared: letter case and blanks do not count.
QString comparable(const QString& invoiceNumber) {
    QString compact = invoiceNumber;
    compact.removeIf([](QChar c) { return c.isSpace(); });
    return SameName::fold(compact);
}

} // namespace

QString BookingChecks::euros(Money amount) {
    return amount.toGerman() + QStringLiteral(" €");
}

bool BookingChecks::sameInvoiceNumber(const QString& invoiceNumber, const QString& other) {
    const QString invoice = comparable(invoiceNumber);
    return !invoice.isEmpty() && comparable(other) == invoice;
}

QList<BookingChecks::Warning> BookingChecks::check(const Booking& booking,
                                                   const QList<Booking>& companyBookings,
                                                   const QList<EstimateRow>& companyEstimates,
                                                   Money projectPaid, const std::optional<Money>& budget,
                                                   const QString& invoiceAskedBefore) {
    QList<Warning> warnings;
    const Money amount = booking.amount.value_or(Money());

    bool ordered = false;
    Money orders;
    for (const EstimateRow& row : companyEstimates) {
        if (!SameName::equal(row.company, booking.company) || !row.orderCost)
            continue;
        ordered = true;
        orders += *row.orderCost;
    }
    Money paid = amount;
    const Booking* sameInvoice = nullptr;
    const bool askInvoice = !sameInvoiceNumber(booking.invoiceNumber, invoiceAskedBefore);
    for (const Booking& other : companyBookings) {
        if (!SameName::equal(other.company, booking.company))
            continue;
        paid += other.amount.value_or(Money());
        if (!sameInvoice && askInvoice && sameInvoiceNumber(booking.invoiceNumber, other.invoiceNumber))
            sameInvoice = &other;
    }

    if (ordered && paid > orders)
        warnings.append(
            {QStringLiteral("Auftrag überschritten"),
             QStringLiteral("Die Zahlungen an %1 übersteigen danach Auftrag und Nachträge (%2) um %3.")
                 .arg(booking.company, euros(orders), euros(paid - orders))});
    if (sameInvoice)
        warnings.append(
            {QStringLiteral("Rechnung bereits gebucht"),
             QStringLiteral("Die Rechnung %1 von %2 ist bereits gebucht (LfdNr. %3 vom %4 über %5).")
                 .arg(sameInvoice->invoiceNumber, booking.company,
                      RunningNumberText::of(sameInvoice->runningNumber),
                      DayNumber::format(sameInvoice->instructedOn),
                      euros(sameInvoice->amount.value_or(Money())))});
    const Money projectAfter = projectPaid + amount;
    if (budget && projectAfter > *budget)
        warnings.append({QStringLiteral("Budget überschritten"),
                         QStringLiteral("Das Budget des Projekts (%1) wird damit um %2 überschritten.")
                             .arg(euros(*budget), euros(projectAfter - *budget))});
    return warnings;
}

QList<BookingChecks::Warning> BookingChecks::warnings(const Booking& booking,
                                                      std::optional<qint64> waitingBookingId,
                                                      std::optional<qint64> waitingEstimateRowId,
                                                      const QString& invoiceAskedBefore) const {
    QList<Booking> bookings;
    Money paid;
    BudgetRepository budgets(m_session.database());
    const bool bookingsRead =
        budgets.readPayments(booking.projectId, waitingBookingId, booking.company, paid, bookings);
    bool estimatesRead = true;
    bool budgetRead = true;
    QList<EstimateRow> estimates =
        EstimateRepository(m_session.database())
            .forProjectAndCompany(booking.projectId, booking.company, &estimatesRead);
    if (waitingEstimateRowId)
        estimates.removeIf([&](const EstimateRow& row) { return row.rowId == *waitingEstimateRowId; });
    const std::optional<Money> budget = budgets.find(booking.projectId.toLongLong(), &budgetRead);
    if (!bookingsRead || !estimatesRead || !budgetRead)
        return {};
    return check(booking, bookings, estimates, paid, budget, invoiceAskedBefore);
}
