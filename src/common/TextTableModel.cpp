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

} // namespace

std::optional<qint64> TextTableModel::numberIn(const QString& text) {
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

std::optional<qint64> TextTableModel::centsIn(const QString& text) {
    const std::optional<Money> amount = Money::parseGerman(text);
    return amount ? std::optional<qint64>(amount->cents()) : std::nullopt;
}

TextTableModel::TextTableModel(QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), m_headings(std::move(headings)), m_collator(GermanCollator::make()) {}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : heldRows();
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_headings.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.isValid() && sortKind(index.column()) == SortKind::Amount)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= heldRows() || !isColumn(index.column()))
        return {};
    return textOf(index.row(), index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && isColumn(section))
        return m_headings.at(section);
    return {};
}

void TextTableModel::sort(int column, Qt::SortOrder order) {
    if (!isColumn(column))
        return;
    const QList<int> rowOrder = sortedOrder(column, order);
    if (rowOrder.isEmpty())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> newRowOf(rowOrder.size());
    for (int newRow = 0; newRow < rowOrder.size(); ++newRow)
        newRowOf[rowOrder.at(newRow)] = newRow;
    reorder(rowOrder);
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
    return row >= 0 && row < heldRows() ? idOf(row) : 0;
}

QString TextTableModel::textAt(int row, int column) const {
    return row >= 0 && row < heldRows() && column >= 0 ? textOf(row, column) : QString();
}

QStringList TextTableModel::shownHeadings(int columns) const {
    QStringList headings;
    for (int column = 0; column < columns; ++column)
        headings.append(headerData(column, Qt::Horizontal).toString());
    return headings;
}

QList<QStringList> TextTableModel::shownRows(int columns) const {
    QList<QStringList> rows;
    rows.reserve(heldRows());
    for (int row = 0; row < heldRows(); ++row) {
        QStringList texts;
        texts.reserve(columns);
        for (int column = 0; column < columns; ++column)
            texts.append(textOf(row, column));
        rows.append(std::move(texts));
    }
    return rows;
}

void TextTableModel::setRows(QList<Row> rows) {
    replaceRows([this, &rows] { m_rows = std::move(rows); });
}

void TextTableModel::replaceRows(const std::function<void()>& replace) {
    beginResetModel();
    replace();
    if (m_keptColumn >= 0) {
        if (const QList<int> rowOrder = sortedOrder(m_keptColumn, m_keptOrder); !rowOrder.isEmpty())
            reorder(rowOrder);
    }
    endResetModel();
}

int TextTableModel::heldRows() const {
    return int(m_rows.size());
}

qint64 TextTableModel::idOf(int row) const {
    return m_rows.at(row).id;
}

QString TextTableModel::textOf(int row, int column) const {
    return textIn(m_rows.at(row).texts, column);
}

bool TextTableModel::keptLastAt(int row) const {
    return m_rows.at(row).keptLast;
}

QString TextTableModel::sortTextOf(int row, int column) const {
    return sortValue(m_rows.at(row), column);
}

std::optional<qint64> TextTableModel::sortNumberOf(int row, int column, SortKind kind) const {
    return kind == SortKind::Number ? numberIn(sortTextOf(row, column)) : centsIn(sortTextOf(row, column));
}

void TextTableModel::reorder(const QList<int>& order) {
    QList<Row> sorted;
    sorted.reserve(m_rows.size());
    for (const int row : order)
        sorted.append(std::move(m_rows[row]));
    m_rows = std::move(sorted);
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

QList<int> TextTableModel::sortedOrder(int column, Qt::SortOrder order) {
    const int count = heldRows();
    QList<int> rowOrder(count);
    std::iota(rowOrder.begin(), rowOrder.end(), 0);
    const auto keptLast =
        std::stable_partition(rowOrder.begin(), rowOrder.end(), [this](int row) { return !keptLastAt(row); });
    // The rows' positions in their new order; none when no row moves.
    const auto moved = [&rowOrder] {
        return std::is_sorted(rowOrder.begin(), rowOrder.end()) ? QList<int>() : rowOrder;
    };
    const SortKind kind = sortKind(column);
    if (kind != SortKind::Text) {
        std::vector<std::optional<qint64>> values;
        values.reserve(size_t(count));
        for (int row = 0; row < count; ++row)
            values.push_back(sortNumberOf(row, column, kind));
        const auto before = [&values, order](int a, int b) {
            return order == Qt::AscendingOrder ? values[size_t(a)] < values[size_t(b)]
                                               : values[size_t(b)] < values[size_t(a)];
        };
        if (!std::is_sorted(rowOrder.begin(), keptLast, before))
            std::stable_sort(rowOrder.begin(), keptLast, before);
        return moved();
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(count));
    QHash<QString, QCollatorSortKey> keysByText;
    keysByText.reserve(count);
    for (int row = 0; row < count; ++row) {
        const QString text = sortTextOf(row, column);
        const auto known = m_lastKeys.constFind(text);
        keys.push_back(known != m_lastKeys.cend() ? known.value() : m_collator.sortKey(text));
        keysByText.insert(text, keys.back());
    }
    m_lastKeys = std::move(keysByText);
    std::stable_sort(rowOrder.begin(), keptLast, [&keys, order](int a, int b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    return moved();
}

const QString& TextTableModel::sortValue(const Row& row, int column) {
    return textIn(row.sortValues.isEmpty() ? row.texts : row.sortValues, column);
}
