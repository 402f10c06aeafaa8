#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>

// A list of rows shown as texts, each row carrying the number of the record it shows. The program's lists
// derive from it: they name their columns, mark the amounts and sort dates by hidden day-number columns.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TextTableModel(QStringList headings, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // Amounts show right-aligned.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Reorders the rows once by the column's sort value: as German text ignoring case, or as a number or
    // an amount where the column says so (an empty or unreadable value first); equal rows keep their
    // order, and rows kept last stay last.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // Sorts as sort() does, now and after every refill, until stopKeepingSorted().
    void keepSorted(int column, Qt::SortOrder order);
    void stopKeepingSorted();

    // The number of the record shown in row.
    qint64 idAt(int row) const;
    QString textAt(int row, int column) const;
    // The headings and the texts of every row of the first columns, in the list's order, as a snapshot of
    // the list hands them on.
    QStringList shownHeadings(int columns) const;
    QList<QStringList> shownRows(int columns) const;

protected:
    // How a column's values compare: "1000" after "999" as a number, "9.887,45" before "69.002,34" as an
    // amount in German notation, which also shows right-aligned.
    enum class SortKind { Text, Number, Amount };

    struct Row {
        qint64 id = 0;
        QStringList texts;
        QStringList sortValues; // empty: sort by texts
        bool keptLast = false;  // a row of sums: stays below the others in every sort
    };
    void setRows(QList<Row> rows);
    void sortAs(SortKind kind, std::initializer_list<int> columns);

    // A list that keeps its rows in a form of its own formats their texts when they are shown: it
    // replaces its rows through replaceRows() and overrides these, which read the rows setRows() keeps.
    void replaceRows(const std::function<void()>& replace);
    virtual int heldRows() const;
    virtual qint64 idOf(int row) const;
    virtual QString textOf(int row, int column) const;
    virtual bool keptLastAt(int row) const;
    // The text a Text column sorts by.
    virtual QString sortTextOf(int row, int column) const;
    // The value a Number or Amount column sorts by: the number its text holds, nullopt for none.
    virtual std::optional<qint64> sortNumberOf(int row, int column, SortKind kind) const;
    // Puts the rows into order, given as the current positions of the rows in their new order.
    virtual void reorder(const QList<int>& order);
    static std::optional<qint64> numberIn(const QString& text);
    static std::optional<qint64> centsIn(const QString& text);

    // The column a click on heading sorts by: a date by the hidden column of its day numbers, any other
    // column before firstUnsorted (the blank column the hidden ones follow) by itself; -1 for none.
    template <typename Column>
    static int headingSortColumn(int heading, Column firstUnsorted,
                                 std::initializer_list<std::pair<Column, Column>> datesAndDays) {
        for (const auto& [date, days] : datesAndDays)
            if (heading == int(date))
                return int(days);
        return heading >= 0 && heading < int(firstUnsorted) ? heading : -1;
    }
    // A hidden day-number column's text: the day's number, empty for none.
    static QString dayText(const std::optional<int>& day);

private:
    bool isColumn(int column) const;
    // The positions of the rows in the order of column, or an empty list when they are in that order
    // already. Each text's sort key is computed once and kept until the next sort, as a refill mostly
    // brings the same texts again.
    QList<int> sortedOrder(int column, Qt::SortOrder order);
    static const QString& sortValue(const Row& row, int column);
    SortKind sortKind(int column) const;

    QStringList m_headings;
    QHash<int, SortKind> m_sortKinds;
    QList<Row> m_rows;
    QCollator m_collator;
    QHash<QString, QCollatorSortKey> m_lastKeys;
    int m_keptColumn = -1;
    Qt::SortOrder m_keptOrder = Qt::AscendingOrder;
};
