#pragma once

#include <QList>
#include <QTreeView>

// The report-style list of the screens: whole rows, one at a time, read-only.
class ReportListView : public QTreeView {
    Q_OBJECT
public:
    explicit ReportListView(const QString& objectName, QWidget* parent = nullptr);

    // Column widths in twips, in column order.
    void setColumnWidthsInTwips(const QList<int>& widths);
    // The selected row in the view's model, or -1 when none is selected.
    int selectedRow() const;
};
