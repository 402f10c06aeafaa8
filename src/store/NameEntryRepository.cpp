#include "NameEntryRepository.h"

#include "Database.h"
#include "StoredValue.h"

namespace {

struct TableNames {
    QString table;
    QString field;
};

TableNames namesOf(NameEntryRepository::Table table) {
    if (table == NameEntryRepository::Table::Trades)
        return {QStringLiteral("tblGewerk"), QStringLiteral("Gewerk")};
    return {QStringLiteral("tblKostengruppe"), QStringLiteral("Kostengruppe")};
}

NameEntry build(const Database::Row& row) {
    return NameEntry{row.rowNumber(0), row.text(1)};
}

QList<NameEntry> read(Database& db, NameEntryRepository::Table table, const QString& rest,
                      const QVariantList& values, bool* ok) {
    const TableNames names = namesOf(table);
    const QString sql = QStringLiteral("SELECT ID, %1 FROM %2 ").arg(names.field, names.table) + rest;
    return StoredValue::rows<NameEntry>(db, sql, values, ok, build);
}

} // namespace

QList<NameEntry> NameEntryRepository::byName(bool* ok) const {
    const QString field = namesOf(m_table).field;
    return read(m_db, m_table, QStringLiteral("ORDER BY %1 COLLATE GERMAN NULLS FIRST, ID").arg(field), {},
                ok);
}

QList<NameEntry> NameEntryRepository::byId(bool* ok) const {
    return read(m_db, m_table, QStringLiteral("ORDER BY ID"), {}, ok);
}

std::optional<NameEntry> NameEntryRepository::find(qint64 id, bool* ok) const {
    const QList<NameEntry> rows = read(m_db, m_table, QStringLiteral("WHERE ID = ?"), {id}, ok);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<QString> NameEntryRepository::stamp(qint64 id) const {
    return m_db.rowStamp(namesOf(m_table).table, QStringLiteral("ID"), id);
}

std::optional<qint64> NameEntryRepository::add(const QString& name) {
    const TableNames names = namesOf(m_table);
    return m_db.insert(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (?) RETURNING ID").arg(names.table, names.field),
        {StoredValue::bind(name)});
}

bool NameEntryRepository::update(const NameEntry& entry) {
    const TableNames names = namesOf(m_table);
    return m_db.changeRow(QStringLiteral("UPDATE %1 SET %2 = ? WHERE ID = ?").arg(names.table, names.field),
                          {StoredValue::bind(entry.name), entry.id});
}

bool NameEntryRepository::remove(qint64 id) {
    return m_db.changeRow(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(namesOf(m_table).table), {id});
}
