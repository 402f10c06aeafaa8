#include "BookingWarnings.h"

#include "BookingListModel.h"
#include "BudgetRepository.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "EstimateRepository.h"
#include "PatternMatcher.h"
#include "WorkspaceContext.h"

namespace {

// An invoice number as compared: letter case and blanks do not count.
QString comparable(const QString& invoiceNumber) {
    QString compact = invoiceNumber;
    compact.removeIf([](QChar c) { return c.isSpace(); });
    return PatternMatcher::fold(compact);
}

} // namespace

QString BookingWarnings::euros(Money amount) {
    return amount.toGerman() + QStringLiteral(" €");
}

QList<BookingWarnings::Warning> BookingWarnings::check(const Booking& booking,
                                                       const QList<Booking>& companyBookings,
                                                       const QList<EstimateRow>& companyEstimates,
                                                       Money projectPaid,
                                                       const std::optional<Money>& budget) {
    QList<Warning> warnings;
    const QString company = PatternMatcher::fold(booking.company);
    const Money amount = booking.amount.value_or(Money());

    bool ordered = false;
    Money orders;
    for (const EstimateRow& row : companyEstimates) {
        if (PatternMatcher::fold(row.company) != company || !row.orderCost)
            continue;
        ordered = true;
        orders += *row.orderCost;
    }
    Money paid = amount;
    const Booking* sameInvoice = nullptr;
    const QString invoice = comparable(booking.invoiceNumber);
    for (const Booking& other : companyBookings) {
        if (PatternMatcher::fold(other.company) != company)
            continue;
        paid += other.amount.value_or(Money());
        if (!sameInvoice && !invoice.isEmpty() && comparable(other.invoiceNumber) == invoice)
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
                      BookingListModel::runningNumberText(sameInvoice->runningNumber),
                      DayNumber::format(sameInvoice->instructedOn),
                      euros(sameInvoice->amount.value_or(Money())))});
    const Money projectAfter = projectPaid + amount;
    if (budget && projectAfter > *budget)
        warnings.append({QStringLiteral("Budget überschritten"),
                         QStringLiteral("Das Budget des Projekts (%1) wird damit um %2 überschritten.")
                             .arg(euros(*budget), euros(projectAfter - *budget))});
    return warnings;
}

bool BookingWarnings::confirm(QWidget* parent, const Booking& booking) {
    QList<Booking> bookings;
    Money paid;
    BudgetRepository budgets(m_context.db);
    const bool bookingsRead = budgets.readPayments(m_context.projectId, m_context.waitingBookingId,
                                                   booking.company, paid, bookings);
    bool estimatesRead = true;
    bool budgetRead = true;
    QList<EstimateRow> estimates =
        EstimateRepository(m_context.db)
            .forProjectAndCompany(m_context.projectId, booking.company, &estimatesRead);
    if (m_context.waitingEstimateRowId)
        estimates.removeIf(
            [&](const EstimateRow& row) { return row.rowId == *m_context.waitingEstimateRowId; });
    const std::optional<Money> budget = budgets.find(m_context.projectId.toLongLong(), &budgetRead);
    if (!bookingsRead || !estimatesRead || !budgetRead)
        return true;
    for (const Warning& warning : check(booking, bookings, estimates, paid, budget)) {
        if (m_context.dialogs.ask(parent, warning.title,
                                  warning.text + QStringLiteral("\n\nTrotzdem buchen?"),
                                  Dialogs::Icon::Warning, Dialogs::Answer::No) != Dialogs::Answer::Yes)
            return false;
    }
    return true;
}
