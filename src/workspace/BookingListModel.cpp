#include "BookingListModel.h"

#include "DayNumber.h"

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

QString BookingListModel::runningNumberText(std::optional<int> number) {
    if (!number)
        return QString();
    return QStringLiteral("%1").arg(*number, 3, 10, QLatin1Char('0'));
}

void BookingListModel::setBookings(const QList<Booking>& bookings, const QSet<qint64>& withInvoice) {
    QList<Row> rows;
    rows.reserve(bookings.size());
    for (const Booking& booking : bookings) {
        Row& row = rows.emplaceBack();
        row.id = booking.id;
        row.texts.reserve(kColumnCount);
        row.texts << runningNumberText(booking.runningNumber) << booking.company << booking.trade
                  << DayNumber::format(booking.instructedOn) << DayNumber::format(booking.invoiceDate)
                  << booking.invoiceNumber << booking.paymentKind << booking.costGroup
                  << (booking.amount ? booking.amount->toGerman() : QString()) << booking.remarks
                  << (withInvoice.contains(booking.id) ? QStringLiteral("E-Rechnung") : QString())
                  << dayText(booking.instructedOn) << dayText(booking.invoiceDate) << QString();
    }
    setRows(std::move(rows));
}

int BookingListModel::sortColumnFor(int clickedColumn) {
    return headingSortColumn(
        clickedColumn, Column::Spare,
        {{Column::InstructedOn, Column::InstructedDay}, {Column::InvoiceDate, Column::InvoiceDay}});
}
