#pragma once

#include <QList>
#include <QTreeView>

class QLabel;

// The report-style list of the screens: whole rows, one at a time, read-only.
class ReportListView : public QTreeView {
    Q_OBJECT
public:
    explicit ReportListView(const QString& objectName, QWidget* parent = nullptr);

    // Column widths in twips, in column order, from the first column on.
    void setColumnWidthsInTwips(const QList<int>& widths);
    // The widths of the first count columns in twips. A column the user left as it was set keeps its
    // twips, which pixels cannot always express.
    QList<int> columnWidthsInTwips(int count) const;
    // The selected row in the view's model, or -1 when none is selected.
    int selectedRow() const;
    // Marks the rows shown as a former state, greyed and with a note over the list's foot, after the
    // file could not be read; a refill that succeeds clears the mark.
    void setOutdated(bool outdated);
    bool isOutdated() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeNote();

    QList<int> m_givenTwips;
    QLabel* m_outdatedNote = nullptr;
};
