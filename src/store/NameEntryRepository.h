#pragma once

#include "NameEntry.h"

#include <optional>
#include <QList>

class Database;

// Reads and writes one of the two name lists: tblGewerk (trades) or tblKostengruppe (cost groups).
// Failure reporting as ProjectRepository.
class NameEntryRepository {
public:
    enum class Table { Trades, CostGroups };

    NameEntryRepository(Database& database, Table table) : m_db(database), m_table(table) {}

    Table table() const { return m_table; }
    QList<NameEntry> byName(bool* ok = nullptr) const;
    QList<NameEntry> byId(bool* ok = nullptr) const;
    std::optional<NameEntry> find(qint64 id, bool* ok = nullptr) const;
    // The entry as stored (Database::rowStamp): null when it is gone, nullopt when unreadable.
    std::optional<QString> stamp(qint64 id) const;
    std::optional<qint64> add(const QString& name);
    // Stores the name of the row entry.id only; the name copies: NameCascade.
    bool update(const NameEntry& entry);
    bool remove(qint64 id);

private:
    Database& m_db;
    Table m_table;
};
