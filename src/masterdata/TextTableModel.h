#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// A list of rows shown as texts, each row carrying the number of the record it shows. The lists of the
// master-data screens derive from it and name their columns.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The value by which a column sorts; the display text unless a list says otherwise.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit TextTableModel(QStringList headings, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Reorders the rows once by the column's sort value, compared as text; equal rows keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The number of the record shown in row.
    qint64 idAt(int row) const;
    QString textAt(int row, int column) const;

protected:
    struct Row {
        qint64 id = 0;
        QStringList texts;
        QStringList sortValues; // empty: sort by texts
    };
    void setRows(QList<Row> rows);

private:
    QString sortValue(const Row& row, int column) const;

    QStringList m_headings;
    QList<Row> m_rows;
};
