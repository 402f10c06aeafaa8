#include "NameEntryListModel.h"

NameEntryListModel::NameEntryListModel(const QString& nameHeading, QObject* parent)
    : TextTableModel({QStringLiteral("LfdNr."), nameHeading}, parent) {}

void NameEntryListModel::setEntries(const QList<NameEntry>& entries) {
    QList<Row> rows;
    rows.reserve(entries.size());
    for (const NameEntry& entry : entries)
        rows.append({entry.id, {QString::number(entry.id), entry.name}, {}});
    setRows(std::move(rows));
}
