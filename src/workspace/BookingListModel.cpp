#include "BookingListModel.h"

#include "DayNumber.h"
#include "RunningNumberText.h"
#include "SignOffTexts.h"

BookingListModel::BookingListModel(QObject* parent)
    : TextTableModel({QStringLiteral("LfdNr."), QStringLiteral("Firma"), QStringLiteral("Gewerk"),
                      QStringLiteral("Anweisung vom"), QStringLiteral("Rechnung vom"),
                      QStringLiteral("Rech.Nr."), QStringLiteral("Zahlungsart"),
                      QStringLiteral("Kostengruppe"), QStringLiteral("Betrag"), QStringLiteral("Bemerkungen"),
                      QString(), QStringLiteral("DatumwertA"), QStringLiteral("DatumwertR"),
                      QStringLiteral("BetragSort"), QStringLiteral("Status")},
                     parent) {
    sortAs(SortKind::Number,
           {int(Column::RunningNumber), int(Column::InstructedDay), int(Column::InvoiceDay)});
    sortAs(SortKind::Amount, {int(Column::Amount)});
}

void BookingListModel::setBookings(QList<Booking> bookings, QSet<qint64> withInvoice,
                                   QHash<qint64, StateMark> marks) {
    replaceRows([&] {
        m_bookings = std::move(bookings);
        m_withInvoice = std::move(withInvoice);
        m_marks = std::move(marks);
    });
}

void BookingListModel::setStepsReader(std::function<QString(qint64)> reader) {
    m_stepsOf = std::move(reader);
}

QVariant BookingListModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::ToolTipRole && index.isValid() && index.column() == int(Column::State))
        return m_stepsOf && index.row() < int(m_bookings.size()) ? m_stepsOf(m_bookings.at(index.row()).id)
                                                                 : QString();
    return TextTableModel::data(index, role);
}

int BookingListModel::sortColumnFor(int clickedColumn) {
    if (clickedColumn == int(Column::State))
        return clickedColumn;
    return headingSortColumn(
        clickedColumn, Column::Spare,
        {{Column::InstructedOn, Column::InstructedDay}, {Column::InvoiceDate, Column::InvoiceDay}});
}

int BookingListModel::heldRows() const {
    return int(m_bookings.size());
}

qint64 BookingListModel::idOf(int row) const {
    return m_bookings.at(row).id;
}

QString BookingListModel::textOf(int row, int column) const {
    const Booking& booking = m_bookings.at(row);
    switch (Column(column)) {
    case Column::RunningNumber:
        return RunningNumberText::of(booking.runningNumber);
    case Column::Company:
        return booking.company;
    case Column::Trade:
        return booking.trade;
    case Column::InstructedOn:
        return DayNumber::format(booking.instructedOn);
    case Column::InvoiceDate:
        return DayNumber::format(booking.invoiceDate);
    case Column::InvoiceNumber:
        return booking.invoiceNumber;
    case Column::PaymentKind:
        return booking.paymentKind;
    case Column::CostGroup:
        return booking.costGroup;
    case Column::Amount:
        return booking.amount ? booking.amount->toGerman() : QString();
    case Column::Remarks:
        return booking.remarks;
    case Column::Spare:
        return m_withInvoice.contains(booking.id) ? QStringLiteral("E-Rechnung") : QString();
    case Column::InstructedDay:
        return dayText(booking.instructedOn);
    case Column::InvoiceDay:
        return dayText(booking.invoiceDate);
    case Column::AmountSort:
        break;
    case Column::State:
        return SignOffTexts::state(m_marks.value(booking.id));
    }
    return QString();
}

bool BookingListModel::keptLastAt(int) const {
    return false;
}

QString BookingListModel::sortTextOf(int row, int column) const {
    return textOf(row, column);
}

// The numbers the texts hold, read from the booking without formatting it: a day's number and a
// running number padded with zeros ("007") read back as they are, an amount as long as its whole euros
// have at most the thirteen digits a German amount is read with. A negative running number is read
// from its text.
std::optional<qint64> BookingListModel::sortNumberOf(int row, int column, SortKind kind) const {
    const Booking& booking = m_bookings.at(row);
    switch (Column(column)) {
    case Column::RunningNumber:
        if (!booking.runningNumber || *booking.runningNumber < 0)
            break;
        return *booking.runningNumber;
    case Column::InstructedDay:
        return booking.instructedOn ? std::optional<qint64>(*booking.instructedOn) : std::nullopt;
    case Column::InvoiceDay:
        return booking.invoiceDate ? std::optional<qint64>(*booking.invoiceDate) : std::nullopt;
    case Column::Amount: {
        if (!booking.amount)
            return std::nullopt;
        const qint64 cents = booking.amount->cents();
        const quint64 absolute = cents < 0 ? quint64(-(cents + 1)) + 1 : quint64(cents);
        constexpr quint64 kLargestReadEuros = 9'999'999'999'999;
        return absolute / 100 <= kLargestReadEuros ? std::optional<qint64>(cents) : std::nullopt;
    }
    default:
        break;
    }
    return TextTableModel::sortNumberOf(row, column, kind);
}

void BookingListModel::reorder(const QList<int>& order) {
    QList<Booking> sorted;
    sorted.reserve(m_bookings.size());
    for (const int row : order)
        sorted.append(std::move(m_bookings[row]));
    m_bookings = std::move(sorted);
}
