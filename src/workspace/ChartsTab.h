#pragma once

#include "ChartSeries.h"
#include "CostReport.h"
#include "ListSnapshot.h"

#include <optional>
#include <QWidget>

class ChartDrawing;
class QComboBox;
class QHBoxLayout;
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

private:
    // The two chart views, made when the first chart is shown; false when the charts' module is missing
    // (the user was told).
    bool addViews();
    void showOutflow();
    // The chosen year, 0 for the whole project.
    int chosenYear() const;

    WorkspaceContext& m_context;
    const ChartDrawing* m_drawing = nullptr;
    QHBoxLayout* m_charts = nullptr;
    QWidget* m_companies = nullptr;
    QWidget* m_outflow = nullptr;
    QComboBox* m_period = nullptr;
    CostReport m_report;
};
