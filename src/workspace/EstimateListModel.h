#pragma once

#include "EstimateRow.h"
#include "TextTableModel.h"

#include <optional>

// The sums of a company's estimate rows, added in whole cents; an empty amount adds nothing.
struct EstimateSums {
    Money architect;
    Money order;

    static EstimateSums of(const QList<EstimateRow>& rows);
};

// The company tab's list of one company's estimate rows: running number, the architect's date and
// amount, an empty column, the order's date, kind and amount, an empty column and the two day numbers
// as hidden sort columns. Each row carries the rowid of its stored row.
class EstimateListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        RunningNumber,
        ArchitectDate,
        ArchitectCost,
        Spacer,
        OrderDate,
        OrderKind,
        OrderCost,
        Spare,
        ArchitectDay,
        OrderDay
    };
    static constexpr int kColumnCount = 10;

    explicit EstimateListModel(QObject* parent = nullptr);

    // Shows the rows in their order.
    void setEstimates(const QList<EstimateRow>& rows);
    // The column a heading click sorts by: the dates by their hidden day numbers; -1 for a column that
    // keeps the previous sort column.
    static int sortColumnFor(int clickedColumn);
    // The kind as the list shows it: after a blank.
    static QString kindText(const QString& storedKind);
};
