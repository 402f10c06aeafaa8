#pragma once

#include "CostReport.h"
#include "TextTableModel.h"

#include <QHash>

// The workspace's cost report list: one row per company in name order with its running number, name,
// trade, cost group, the six amounts and the per-cent deviation, then the closing lines, which stay last
// when the list is sorted: the row of sums and the project's budget, what its orders and supplements
// commit and what remains of the budget; at the end, on the screen only, what was retained. Negative
// deviations and a negative remainder show red; the closing lines show bold and blue.
class CostReportModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        Number,
        Company,
        Trade,
        CostGroup,
        Calculation,
        Award,
        Supplements,
        DeterminedCost,
        Payments,
        Deviation,
        DeviationPercent,
        Retained
    };
    static constexpr int kColumnCount = 12;
    // The columns printed and exported: all but what was retained, which only the screen shows.
    static constexpr int kPrintedColumns = 11;

    explicit CostReportModel(QObject* parent = nullptr);

    // retained: what was retained from each company, by its folded name (SameName::fold).
    void setReport(const CostReport& report, const QHash<QString, Money>& retained = {});
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The sums and the three budget lines below them.
    static constexpr int kClosingRows = 4;
    bool isClosingRow(int row) const;
    static bool isAmountColumn(int column);
    // Two decimals in German notation, rounded for display only: "-5,00".
    static QString percentText(double percent);
};
