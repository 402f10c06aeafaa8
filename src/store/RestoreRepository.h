#pragma once

#include <optional>
#include <QJsonObject>
#include <QString>

class Database;

// Writes rows back that the journal recorded as deleted, into any table it records, with the identity they
// had (the key as the journal's entry names the row) and their fields as its entry holds them. Failure
// reporting as ProjectRepository.
class RestoreRepository {
public:
    explicit RestoreRepository(Database& database) : m_db(database) {}

    // Whether table holds a row with this identity; nullopt when it cannot be read or the journal does
    // not record table.
    std::optional<bool> holds(const QString& table, const QString& row);
    // Within a transaction: adds the row of table with identity row and fields (numbers, texts, null, named
    // as the table names them; others are left out). The table's next new row still gets a number of its
    // own.
    bool insert(const QString& table, const QString& row, const QJsonObject& fields);
    // Whether a row of table holds name in field, ignoring case; nullopt when it cannot be read.
    std::optional<bool> holdsName(const QString& table, const QString& field, const QString& name);

private:
    Database& m_db;
};
