#include "TextTableModel.h"

#include "GermanCollator.h"
#include "Money.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

namespace {

const QString kEmpty;

const QString& textIn(const QStringList& texts, int column) {
    return column < texts.size() ? texts.at(column) : kEmpty;
}

std::optional<qint64> numberIn(const QString& text) {
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

std::optional<qint64> centsIn(const QString& text) {
    const std::optional<Money> amount = Money::parseGerman(text);
    return amount ? std::optional<qint64>(amount->cents()) : std::nullopt;
}

} // namespace

TextTableModel::TextTableModel(QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), m_headings(std::move(headings)), m_collator(GermanCollator::make()) {}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.isValid() && sortKind(index.column()) == SortKind::Amount)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size() ||
        !isColumn(index.column()))
        return {};
    return textIn(m_rows.at(index.row()).texts, index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && isColumn(section))
        return m_headings.at(section);
    return {};
}

void TextTableModel::sort(int column, Qt::SortOrder order) {
    if (!isColumn(column))
        return;
    const QList<int> rowOrder = sortedOrder(m_rows, column, order);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> newRowOf(m_rows.size());
    QList<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int newRow = 0; newRow < rowOrder.size(); ++newRow) {
        newRowOf[rowOrder.at(newRow)] = newRow;
        sorted.append(std::move(m_rows[rowOrder.at(newRow)]));
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

void TextTableModel::keepSorted(int column, Qt::SortOrder order) {
    if (!isColumn(column) || (column == m_keptColumn && order == m_keptOrder))
        return;
    m_keptColumn = column;
    m_keptOrder = order;
    sort(column, order);
}

void TextTableModel::stopKeepingSorted() {
    m_keptColumn = -1;
}

qint64 TextTableModel::idAt(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : 0;
}

QString TextTableModel::textAt(int row, int column) const {
    return row >= 0 && row < m_rows.size() && column >= 0 ? textIn(m_rows.at(row).texts, column) : QString();
}

void TextTableModel::setRows(QList<Row> rows) {
    if (m_keptColumn >= 0) {
        const QList<int> rowOrder = sortedOrder(rows, m_keptColumn, m_keptOrder);
        QList<Row> sorted;
        sorted.reserve(rows.size());
        for (const int row : rowOrder)
            sorted.append(std::move(rows[row]));
        rows = std::move(sorted);
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

bool TextTableModel::isColumn(int column) const {
    return column >= 0 && column < m_headings.size();
}

void TextTableModel::sortAs(SortKind kind, std::initializer_list<int> columns) {
    for (const int column : columns)
        m_sortKinds.insert(column, kind);
}

QString TextTableModel::dayText(const std::optional<int>& day) {
    return day ? QString::number(*day) : QString();
}

TextTableModel::SortKind TextTableModel::sortKind(int column) const {
    return m_sortKinds.value(column, SortKind::Text);
}

QList<int> TextTableModel::sortedOrder(const QList<Row>& rows, int column, Qt::SortOrder order) {
    QList<int> rowOrder(rows.size());
    std::iota(rowOrder.begin(), rowOrder.end(), 0);
    const auto keptLast = std::stable_partition(rowOrder.begin(), rowOrder.end(),
                                                [&rows](int row) { return !rows[row].keptLast; });
    const SortKind kind = sortKind(column);
    if (kind != SortKind::Text) {
        std::vector<std::optional<qint64>> values;
        values.reserve(size_t(rows.size()));
        for (const Row& row : rows)
            values.push_back(kind == SortKind::Number ? numberIn(sortValue(row, column))
                                                      : centsIn(sortValue(row, column)));
        std::stable_sort(rowOrder.begin(), keptLast, [&values, order](int a, int b) {
            return order == Qt::AscendingOrder ? values[size_t(a)] < values[size_t(b)]
                                               : values[size_t(b)] < values[size_t(a)];
        });
        return rowOrder;
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(rows.size()));
    QHash<QString, QCollatorSortKey> keysByText;
    keysByText.reserve(rows.size());
    for (const Row& row : rows) {
        const QString& text = sortValue(row, column);
        const auto known = m_lastKeys.constFind(text);
        keys.push_back(known != m_lastKeys.cend() ? known.value() : m_collator.sortKey(text));
        keysByText.insert(text, keys.back());
    }
    m_lastKeys = std::move(keysByText);
    std::stable_sort(rowOrder.begin(), keptLast, [&keys, order](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    return rowOrder;
}

const QString& TextTableModel::sortValue(const Row& row, int column) {
    return textIn(row.sortValues.isEmpty() ? row.texts : row.sortValues, column);
}
