#pragma once

#include "Booking.h"
#include "TextTableModel.h"

#include <optional>
#include <QSet>

// The workspace's list of a project's bookings: running number, company, trade, the two dates, invoice
// number, kind of payment, cost group, amount, remarks, an empty column and three hidden sort columns.
class BookingListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        RunningNumber,
        Company,
        Trade,
        InstructedOn,
        InvoiceDate,
        InvoiceNumber,
        PaymentKind,
        CostGroup,
        Amount,
        Remarks,
        Spare,
        InstructedDay,
        InvoiceDay,
        AmountSort
    };
    static constexpr int kColumnCount = 14;

    explicit BookingListModel(QObject* parent = nullptr);

    // Shows the bookings in their order; those keeping an e-invoice file marked "E-Rechnung".
    void setBookings(const QList<Booking>& bookings, const QSet<qint64>& withInvoice = {});
    // The shown column a heading click sorts by: dates by their hidden day numbers; -1 for none.
    static int sortColumnFor(int clickedColumn);
    // "000": at least three digits.
    static QString runningNumberText(std::optional<int> number);
};
