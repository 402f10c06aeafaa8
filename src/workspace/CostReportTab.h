#pragma once

#include "CostReport.h"
#include "ListSnapshot.h"

#include <QWidget>

class CostReportModel;
class FittedColumns;
class ReportListView;
struct WorkspaceContext;

// The workspace's tab "Kostenbericht": the project's cost report, company by company, with its sums.
class CostReportTab : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStoredWidthsRead = 11;
    static constexpr int kStoredWidthsWritten = 11;

    CostReportTab(WorkspaceContext& context, QWidget* parent = nullptr);

    // Rebuilds the report from the file, leaving out a booking that waits in the entry fields; the
    // companies come in name order, whatever the list was sorted by.
    // False when the file could not be read (the user was told).
    bool KostenberichtEinlesen();
    const CostReport& report() const { return m_report; }

    QList<int> columnWidthsInTwips(int count) const;
    // Each column starts as wide as its heading needs; widths given here (the saved ones) replace that.
    // A rebuild widens every column that is too narrow for its texts.
    void setColumnWidthsInTwips(const QList<int>& widths);
    // The columns' widths were given or set by the user, and are kept in the settings; else they fit
    // themselves to their texts.
    bool columnsSizedByUser() const;
    ListSnapshot snapshot() const;

private:
    void sortByHeading(int column);

    WorkspaceContext& m_context;
    CostReportModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    FittedColumns* m_fit = nullptr;
    CostReport m_report;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};
