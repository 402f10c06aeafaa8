#include "SignOffListModel.h"

#include "DayNumber.h"
#include "RunningNumberText.h"
#include "SignOffTexts.h"

SignOffListModel::SignOffListModel(QObject* parent)
    : TextTableModel(headings() + QStringList{QStringLiteral("DatumwertR"), QStringLiteral("ErfasstAm")},
                     parent) {
    sortAs(SortKind::Number, {int(Column::RunningNumber), int(Column::InvoiceDay)});
    sortAs(SortKind::Amount, {int(Column::Amount)});
}

QStringList SignOffListModel::headings() {
    return {QStringLiteral("Projekt"),         QStringLiteral("Nr."),          QStringLiteral("Firma"),
            QStringLiteral("Rech.Nr."),        QStringLiteral("Rechnung vom"), QStringLiteral("Betrag"),
            QStringLiteral("Status"),          QStringLiteral("Erfasst von"),  QStringLiteral("Erfasst am"),
            QStringLiteral("Festgestellt von")};
}

void SignOffListModel::setWaiting(QList<SignOffReading::Waiting> waiting) {
    replaceRows([&] { m_waiting = std::move(waiting); });
}

int SignOffListModel::sortColumnFor(int heading) {
    return headingSortColumn(
        heading, Column::InvoiceDay,
        {{Column::InvoiceDate, Column::InvoiceDay}, {Column::RecordedAt, Column::RecordedStamp}});
}

int SignOffListModel::heldRows() const {
    return int(m_waiting.size());
}

qint64 SignOffListModel::idOf(int row) const {
    return m_waiting.at(row).booking.id;
}

QString SignOffListModel::textOf(int row, int column) const {
    const Booking& booking = m_waiting.at(row).booking;
    const SignOff& signOff = m_waiting.at(row).signOff;
    switch (Column(column)) {
    case Column::Project:
        return booking.projectId + QStringLiteral(" - ") + booking.project;
    case Column::RunningNumber:
        return RunningNumberText::of(booking.runningNumber);
    case Column::Company:
        return booking.company;
    case Column::InvoiceNumber:
        return booking.invoiceNumber;
    case Column::InvoiceDate:
        return DayNumber::format(booking.invoiceDate);
    case Column::Amount:
        return booking.amount ? booking.amount->toGerman() : booking.unreadableAmount;
    case Column::State:
        return SignOffTexts::state(signOff);
    case Column::RecordedBy:
        return signOff.recordedBy;
    case Column::RecordedAt:
        return SignOffTexts::time(signOff.recordedAt);
    case Column::ConfirmedBy:
        return signOff.confirmedBy.isEmpty() ? signOff.factuallyBy : signOff.confirmedBy;
    case Column::InvoiceDay:
        return dayText(booking.invoiceDate);
    case Column::RecordedStamp:
        return signOff.recordedAt;
    }
    return QString();
}

bool SignOffListModel::keptLastAt(int) const {
    return false;
}

QString SignOffListModel::sortTextOf(int row, int column) const {
    return textOf(row, column);
}

std::optional<qint64> SignOffListModel::sortNumberOf(int row, int column, SortKind kind) const {
    const Booking& booking = m_waiting.at(row).booking;
    if (Column(column) == Column::Amount && booking.amount)
        return booking.amount->cents();
    return TextTableModel::sortNumberOf(row, column, kind);
}

void SignOffListModel::reorder(const QList<int>& order) {
    QList<SignOffReading::Waiting> sorted;
    sorted.reserve(m_waiting.size());
    for (const int row : order)
        sorted.append(std::move(m_waiting[row]));
    m_waiting = std::move(sorted);
}
