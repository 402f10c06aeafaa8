#include "EvaluationListModel.h"

#include "BookingListModel.h"
#include "DayNumber.h"
#include "RunningNumberText.h"

EvaluationResult EvaluationResult::of(QList<Booking> bookings, std::optional<qint64> waitingBookingId) {
    EvaluationResult result;
    if (waitingBookingId) {
        const qint64 waiting = *waitingBookingId;
        bookings.removeIf([waiting](const Booking& booking) { return booking.id == waiting; });
    }
    for (const Booking& booking : std::as_const(bookings))
        result.sum += booking.amount.value_or(Money());
    result.bookings = std::move(bookings);
    return result;
}

EvaluationListModel::EvaluationListModel(QObject* parent)
    : TextTableModel({QStringLiteral("LfdNr."), QStringLiteral("Firma"), QStringLiteral("Gewerk"),
                      QStringLiteral("Anweisung vom"), QStringLiteral("Rechnung vom"),
                      QStringLiteral("Zahlungsart"), QStringLiteral("Kostengruppe"),
                      QStringLiteral("Angew. Betrag"), QString(), QStringLiteral("DatumwertA"),
                      QStringLiteral("DatumwertR"), QStringLiteral("Einbehalten")},
                     parent) {
    sortAs(SortKind::Number,
           {int(Column::RunningNumber), int(Column::InstructedDay), int(Column::InvoiceDay)});
    sortAs(SortKind::Amount, {int(Column::Amount), int(Column::Retained)});
}

void EvaluationListModel::setBookings(const QList<Booking>& bookings, const QHash<qint64, Money>& retained) {
    QList<Row> rows;
    rows.reserve(bookings.size());
    for (const Booking& booking : bookings) {
        Row& row = rows.emplaceBack();
        row.id = booking.id;
        row.texts.reserve(kColumnCount);
        row.texts << RunningNumberText::of(booking.runningNumber) << booking.company << booking.trade
                  << DayNumber::format(booking.instructedOn) << DayNumber::format(booking.invoiceDate)
                  << booking.paymentKind << booking.costGroup
                  << (booking.amount ? booking.amount->toGerman() : QString()) << QString()
                  << dayText(booking.instructedOn) << dayText(booking.invoiceDate)
                  << (retained.contains(booking.id) ? retained.value(booking.id).toGerman() : QString());
    }
    setRows(std::move(rows));
}

int EvaluationListModel::sortColumnFor(int clickedColumn) {
    if (clickedColumn == int(Column::Retained))
        return clickedColumn;
    return headingSortColumn(
        clickedColumn, Column::Spare,
        {{Column::InstructedOn, Column::InstructedDay}, {Column::InvoiceDate, Column::InvoiceDay}});
}
