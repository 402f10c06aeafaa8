#pragma once

#include "CostReport.h"
#include "TextTableModel.h"

// The workspace's cost report list: one row per company in name order with its running number, name,
// trade, cost group, the six amounts and the per-cent deviation, and last the row of sums, which stays
// last when the list is sorted. Negative deviations show red; the sums show bold and blue.
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
        DeviationPercent
    };
    static constexpr int kColumnCount = 11;

    explicit CostReportModel(QObject* parent = nullptr);

    void setReport(const CostReport& report);
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool isSumsRow(int row) const;
    static bool isAmountColumn(int column);
    // Two decimals in German notation, rounded for display only: "-5,00".
    static QString percentText(double percent);
};
