#pragma once

#include "ChartSeries.h"
#include "CostReport.h"
#include "ListSnapshot.h"

#include <optional>
#include <QWidget>

class QChart;
class QChartView;
class QComboBox;
struct WorkspaceContext;

// The workspace's tab "Diagramme": the cost report as bars per company (calculation, orders with
// supplements, payments) and the cash outflow, payments per month as bars with their running total and
// the budget as lines, for one year or the whole project. Both come from the cost report's computation.
class ChartsTab : public QWidget {
    Q_OBJECT
public:
    explicit ChartsTab(WorkspaceContext& context, QWidget* parent = nullptr);

    // Reads the project's cost report afresh and redraws both charts.
    // False when the file could not be read (the user was told).
    bool fill();
    const CostReport& report() const { return m_report; }
    // The page that "Drucken" prints: both charts drawn at a fixed size.
    ListSnapshot snapshot() const;

    static QChart* companyChart(const QList<ChartSeries::CompanyBar>& bars);
    static QChart* outflowChart(const QList<ChartSeries::Month>& months, const std::optional<Money>& budget);

private:
    void showOutflow();
    // The chosen year, 0 for the whole project.
    int chosenYear() const;

    WorkspaceContext& m_context;
    QChartView* m_companies = nullptr;
    QChartView* m_outflow = nullptr;
    QComboBox* m_period = nullptr;
    CostReport m_report;
};
