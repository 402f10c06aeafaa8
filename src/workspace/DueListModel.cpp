#include "DueListModel.h"

#include "DayNumber.h"
#include "RunningNumberText.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace {

const QColor kLate(0xc0, 0x00, 0x00);
const QColor kDiscountEnding(0xd0, 0x6a, 0x00);

} // namespace

DueListModel::DueListModel(QObject* parent)
    : TextTableModel(headings() + QStringList{QStringLiteral("EingangTag"), QStringLiteral("FaelligTag"),
                                              QStringLiteral("SkontoTag")},
                     parent) {
    sortAs(SortKind::Number, {int(Column::RunningNumber), int(Column::DaysLeft), int(Column::ReceivedDay),
                              int(Column::DueDay), int(Column::DiscountDay)});
    sortAs(SortKind::Amount, {int(Column::Discount), int(Column::Interest), int(Column::Amount)});
}

QStringList DueListModel::headings() {
    return {QStringLiteral("Projekt"),   QStringLiteral("Nr."),         QStringLiteral("Firma"),
            QStringLiteral("Rech.Nr."),  QStringLiteral("Zahlungsart"), QStringLiteral("Eingang"),
            QStringLiteral("Fällig am"), QStringLiteral("Tage"),        QStringLiteral("Skonto bis"),
            QStringLiteral("Skonto"),    QStringLiteral("Zinsen"),      QStringLiteral("Betrag")};
}

void DueListModel::setItems(QList<DueItem> items) {
    replaceRows([&] { m_items = std::move(items); });
}

int DueListModel::sortColumnFor(int heading) {
    return headingSortColumn(heading, Column::ReceivedDay,
                             {{Column::Received, Column::ReceivedDay},
                              {Column::DueOn, Column::DueDay},
                              {Column::DiscountLastDay, Column::DiscountDay}});
}

QVariant DueListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= heldRows())
        return TextTableModel::data(index, role);
    const DueItem& item = m_items.at(index.row());
    const bool discountColumn =
        Column(index.column()) == Column::DiscountLastDay || Column(index.column()) == Column::Discount;
    if (role == Qt::ForegroundRole) {
        if (item.overdue)
            return QBrush(kLate);
        if (discountColumn && item.discountEndsSoon)
            return QBrush(kDiscountEnding);
    }
    if (role == Qt::FontRole && discountColumn && item.discountEndsSoon) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return TextTableModel::data(index, role);
}

int DueListModel::heldRows() const {
    return int(m_items.size());
}

qint64 DueListModel::idOf(int row) const {
    return m_items.at(row).booking.id;
}

QString DueListModel::textOf(int row, int column) const {
    const DueItem& item = m_items.at(row);
    const Booking& booking = item.booking;
    switch (Column(column)) {
    case Column::Project:
        return booking.projectId + QStringLiteral(" - ") + booking.project;
    case Column::RunningNumber:
        return RunningNumberText::of(booking.runningNumber);
    case Column::Company:
        return booking.company;
    case Column::InvoiceNumber:
        return booking.invoiceNumber;
    case Column::PaymentKind:
        return booking.paymentKind;
    case Column::Received:
        return DayNumber::format(item.receivedOn);
    case Column::DueOn:
        return DayNumber::format(item.dueOn);
    case Column::DaysLeft:
        return QString::number(item.daysLeft);
    case Column::DiscountLastDay:
        return DayNumber::format(item.discountLastDay);
    case Column::Discount:
        return item.discount ? item.discount->toGerman() : QString();
    case Column::Interest:
        return item.interest.cents() != 0 ? item.interest.toGerman() : QString();
    case Column::Amount:
        return booking.amount ? booking.amount->toGerman() : booking.unreadableAmount;
    case Column::ReceivedDay:
        return dayText(item.receivedOn);
    case Column::DueDay:
        return dayText(item.dueOn);
    case Column::DiscountDay:
        return dayText(item.discountLastDay);
    }
    return QString();
}

bool DueListModel::keptLastAt(int) const {
    return false;
}

QString DueListModel::sortTextOf(int row, int column) const {
    return textOf(row, column);
}

void DueListModel::reorder(const QList<int>& order) {
    QList<DueItem> sorted;
    sorted.reserve(m_items.size());
    for (const int row : order)
        sorted.append(std::move(m_items[row]));
    m_items = std::move(sorted);
}
