#include "BookingListModel.h"

#include "DayNumber.h"
#include "RunningNumberText.h"

BookingListModel::BookingListModel(QObject* parent)
    : TextTableModel({QStringLiteral("LfdNr."), QStringLiteral("Firma"), QStringLiteral("Gewerk"),
                      QStringLiteral("Anweisung vom"), QStringLiteral("Rechnung vom"),
                      QStringLiteral("Rech.Nr."), QStringLiteral("Zahlungsart"),
                      QStringLiteral("Kostengruppe"), QStringLiteral("Betrag"), QStringLiteral("Bemerkungen"),
                      QString(), QStringLiteral("DatumwertA"), QStringLiteral("DatumwertR"),
                      QStringLiteral("BetragSort")},
                     parent) {
    sortAs(SortKind::Number,
           {int(Column::RunningNumber), int(Column::InstructedDay), int(Column::InvoiceDay)});
    sortAs(SortKind::Amount, {int(Column::Amount)});
}

void BookingListModel::setBookings(const QList<Booking>& bookings, const QSet<qint64>& withInvoice) {
    QList<Row> rows;
    rows.reserve(bookings.size());
    for (const Booking& booking : bookings) {
        Row& row = rows.emplaceBack();
        row.id = booking.id;
        row.texts.reserve(kColumnCount);
        row.texts << RunningNumberText::of(booking.runningNumber) << booking.company << booking.trade
                  << DayNumber::format(booking.instructedOn) << DayNumber::format(booking.invoiceDate)
                  << booking.invoiceNumber << booking.paymentKind << booking.costGroup
                  << (booking.amount ? booking.amount->toGerman() : QString()) << booking.remarks
                  << (withInvoice.contains(booking.id) ? QStringLiteral("E-Rechnung") : QString())
                  << (booking.instructedOn ? QString::number(*booking.instructedOn) : QString())
                  << (booking.invoiceDate ? QString::number(*booking.invoiceDate) : QString()) << QString();
    }
    setRows(std::move(rows));
}

QVariant BookingListModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.column() == int(Column::Amount))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return TextTableModel::data(index, role);
}

int BookingListModel::sortColumnFor(int clickedColumn) {
    switch (Column(clickedColumn)) {
    case Column::InstructedOn:
        return int(Column::InstructedDay);
    case Column::InvoiceDate:
        return int(Column::InvoiceDay);
    case Column::Spare:
    case Column::InstructedDay:
    case Column::InvoiceDay:
    case Column::AmountSort:
        return -1;
    default:
        return clickedColumn >= 0 && clickedColumn < kColumnCount ? clickedColumn : -1;
    }
}
