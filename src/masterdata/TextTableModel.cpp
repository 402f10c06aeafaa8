#include "TextTableModel.h"

#include <algorithm>
#include <numeric>
#include <QCollator>
#include <QLocale>

TextTableModel::TextTableModel(QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), m_headings(std::move(headings)) {}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_headings.size())
        return {};
    const Row& row = m_rows.at(index.row());
    if (role == Qt::DisplayRole)
        return row.texts.value(index.column());
    if (role == SortRole)
        return sortValue(row, index.column());
    return {};
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headings.size())
        return m_headings.at(section);
    return {};
}

void TextTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_headings.size())
        return;
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QList<int> rowOrder(m_rows.size());
    std::iota(rowOrder.begin(), rowOrder.end(), 0);
    std::stable_sort(rowOrder.begin(), rowOrder.end(), [&](int a, int b) {
        const int c = collator.compare(sortValue(m_rows.at(a), column), sortValue(m_rows.at(b), column));
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> newRowOf(m_rows.size());
    QList<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int newRow = 0; newRow < rowOrder.size(); ++newRow) {
        newRowOf[rowOrder.at(newRow)] = newRow;
        sorted.append(m_rows.at(rowOrder.at(newRow)));
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(index.isValid() ? createIndex(newRowOf.at(index.row()), index.column()) : QModelIndex());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

qint64 TextTableModel::idAt(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : 0;
}

QString TextTableModel::textAt(int row, int column) const {
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).texts.value(column) : QString();
}

void TextTableModel::setRows(QList<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

QString TextTableModel::sortValue(const Row& row, int column) const {
    return row.sortValues.isEmpty() ? row.texts.value(column) : row.sortValues.value(column);
}
