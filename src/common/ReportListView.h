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
    // The width that shows every shown column beside a vertical scroll bar.
    int widthOfColumns() const;
    // The selected row in the view's model, or -1 when none is selected.
    int selectedRow() const;
    // Marks the rows shown as a former state, greyed and with a note over the list's foot, after the
    // file could not be read; a refill that succeeds clears the mark.
    void setOutdated(bool outdated);
    bool isOutdated() const;
    // Sorts the model by sortColumn (a hidden column of day numbers behind a date heading, say) and shows
    // the sort arrow on heading. A heading click that sorts nothing leaves the arrow where it was.
    void sortBy(int heading, int sortColumn, Qt::SortOrder order);
    // Shows the sort arrow on heading, for a model that sorted itself; -1 shows none.
    void setSortArrow(int heading, Qt::SortOrder order);
    // What the user sees of the list beyond its rows: the selected row (by its record number, or its
    // first cell), the sort, the scroll position; restore() puts it back after a refill, as far as the
    // rows still allow.
    struct View {
        QString selected;
        int heading = -1;
        int sortColumn = -1;
        Qt::SortOrder order = Qt::AscendingOrder;
        int scroll = 0;
    };
    View view() const;
    void restore(const View& view);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeNote();
    void showSortArrow();

    QList<int> m_givenTwips;
    QLabel* m_outdatedNote = nullptr;
    int m_sortHeading = -1;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
