#include "WithholdingListModel.h"

#include "DayNumber.h"
#include "RunningNumberText.h"

#include <QFont>

namespace {
QString amount(const std::optional<Money>& value) {
    return value ? value->toGerman() : QString();
}
} // namespace

WithholdingListModel::WithholdingListModel(QObject* parent) : TextTableModel(headings(), parent) {
    sortAs(SortKind::Amount, {int(Column::InvoiceAmount), int(Column::Gross), int(Column::Withheld)});
}

QStringList WithholdingListModel::headings() {
    return {QStringLiteral("Monat"),        QStringLiteral("Finanzamt"),
            QStringLiteral("Fällig am"),    QStringLiteral("Projekt"),
            QStringLiteral("Nr."),          QStringLiteral("Firma"),
            QStringLiteral("Rechnung vom"), QStringLiteral("Rechnungsbetrag"),
            QStringLiteral("Zahlung am"),   QStringLiteral("Brutto"),
            QStringLiteral("Einbehalten")};
}

void WithholdingListModel::setMonths(const QList<WithholdingReading::Month>& months) {
    QList<Row> rows;
    m_payments.clear();
    for (const WithholdingReading::Month& month : months) {
        const QString count = month.payments.size() == 1
                                  ? QStringLiteral("1 Zahlung")
                                  : QStringLiteral("%1 Zahlungen").arg(month.payments.size());
        rows.append({0,
                     {QStringLiteral("%1/%2").arg(month.month, 2, 10, QLatin1Char('0')).arg(month.year),
                      month.taxOffice.isEmpty() ? QStringLiteral("(kein Finanzamt)") : month.taxOffice,
                      DayNumber::format(month.dueOn), QString(), QString(), count, QString(), QString(),
                      QString(), QString(), month.sum.toGerman()},
                     {},
                     false});
        m_payments.append(std::nullopt);
        for (const WithheldPayment& payment : month.payments) {
            const Booking& booking = payment.booking;
            rows.append({booking.id,
                         {QString(), QString(), QString(),
                          booking.projectId + QStringLiteral(" - ") + booking.project,
                          RunningNumberText::of(booking.runningNumber), booking.company,
                          DayNumber::format(booking.invoiceDate), amount(payment.invoiceAmount),
                          DayNumber::format(booking.instructedOn), amount(payment.gross),
                          payment.withheld.toGerman()},
                         {},
                         false});
            m_payments.append(payment);
        }
    }
    setRows(std::move(rows));
}

QVariant WithholdingListModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::FontRole && index.isValid() && !m_payments.value(index.row())) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return TextTableModel::data(index, role);
}
