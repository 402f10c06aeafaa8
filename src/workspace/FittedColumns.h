#pragma once

#include <QList>
#include <QObject>

class QTreeView;

// Keeps a list's columns as wide as their headings and texts need, within the list's width: when the
// texts need more room than there is, the widest text columns give way, never an amount, a date or a
// number. Ends when the user sizes a column or widths are given (from the settings).
class FittedColumns : public QObject {
    Q_OBJECT
public:
    // unshrinkable: the columns that always keep the width their texts need.
    FittedColumns(QTreeView& view, const QList<int>& unshrinkable);

    // The widths are given: the columns stay as they are.
    void stop() { m_active = false; }
    bool isActive() const { return m_active; }
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a column's texts and heading need, and the least it keeps when there is too little room.
    struct Column {
        int index;
        int needed;
        int least;
    };

    // The rows changed: their texts are measured again at the next fit.
    void rowsChanged();
    // A resize to width leaves the widths of the last fit as they are.
    bool sameWidthsAt(int width) const;
    // The last measurement still holds: the rows are the same, and the view would measure the same
    // rows of them again.
    bool measuredStillHolds() const;
    // Shares the width available among the columns measured.
    void share(int available);

    QTreeView& m_view;
    QList<int> m_unshrinkable;
    bool m_active = true;
    bool m_fitting = false;
    bool m_waiting = false;
    // The list's width at the last fit; -1 while the rows changed since.
    int m_fittedWidth = -1;
    // The columns as last measured; empty while the rows changed since.
    QList<Column> m_measured;
};
