#pragma once

#include "Booking.h"
#include "TextTableModel.h"

#include <optional>
#include <QHash>

// One run of the evaluation, apart from the screen: the project's bookings that match one criterion, in
// the order the file returns them, without the booking that waits taken back, and their partial sum
// added in whole cents (an empty or foreign amount adds nothing).
struct EvaluationResult {
    QList<Booking> bookings;
    Money sum;
    // False when the file could not be read; the bookings read until then are kept.
    bool ok = true;

    int count() const { return int(bookings.size()); }

    static EvaluationResult of(QList<Booking> bookings, std::optional<qint64> waitingBookingId);
};

// The evaluation's list: running number, company, trade, the two dates, kind of payment, cost group,
// amount, an empty column and the two dates' day numbers as hidden sort columns, and, shown at the end but
// neither printed nor exported, what was retained from each payment.
class EvaluationListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        RunningNumber,
        Company,
        Trade,
        InstructedOn,
        InvoiceDate,
        PaymentKind,
        CostGroup,
        Amount,
        Spare,
        InstructedDay,
        InvoiceDay,
        Retained
    };
    static constexpr int kColumnCount = 12;
    static constexpr int kShownColumns = 8;

    explicit EvaluationListModel(QObject* parent = nullptr);

    // Shows the bookings in their order, each with what was retained from it.
    void setBookings(const QList<Booking>& bookings, const QHash<qint64, Money>& retained = {});
    // The column a click on a heading sorts by: dates by their hidden day numbers; -1 for a column that
    // sorts nothing of its own.
    static int sortColumnFor(int clickedColumn);
};
