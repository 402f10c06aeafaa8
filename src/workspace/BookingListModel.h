#pragma once

#include "Booking.h"
#include "SignOff.h"
#include "TextTableModel.h"

#include <functional>
#include <optional>
#include <QHash>
#include <QSet>

// The workspace's list of a project's bookings: running number, company, trade, the two dates, invoice
// number, kind of payment, cost group, amount, remarks, an empty column, three hidden sort columns and
// the booking's state on its way to payment.
// It keeps the bookings as they were read and formats a row's texts when they are shown.
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
        AmountSort,
        State
    };
    static constexpr int kColumnCount = 15;

    explicit BookingListModel(QObject* parent = nullptr);

    // Shows the bookings in their order; those keeping an e-invoice file marked "E-Rechnung"; the state
    // of those in marks, the others as recorded.
    void setBookings(QList<Booking> bookings, QSet<qint64> withInvoice = {},
                     QHash<qint64, StateMark> marks = {});
    // Where the state column's tooltip gets the steps taken on a booking, by whom and when: read for the
    // row hovered, not with the list.
    void setStepsReader(std::function<QString(qint64 bookingId)> reader);
    // The state column's tooltip.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The shown column a heading click sorts by: dates by their hidden day numbers; -1 for none.
    static int sortColumnFor(int clickedColumn);

protected:
    int heldRows() const override;
    qint64 idOf(int row) const override;
    QString textOf(int row, int column) const override;
    bool keptLastAt(int row) const override;
    QString sortTextOf(int row, int column) const override;
    std::optional<qint64> sortNumberOf(int row, int column, SortKind kind) const override;
    void reorder(const QList<int>& order) override;

private:
    QList<Booking> m_bookings;
    QSet<qint64> m_withInvoice;
    QHash<qint64, StateMark> m_marks;
    std::function<QString(qint64)> m_stepsOf;
};
