#pragma once

#include "JournalEntry.h"

#include <functional>
#include <optional>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

// Reads the journal's entries: filtered for its list, a row's own entries, one entry by its number.
class JournalRepository {
public:
    // What the list shows; an empty field does not filter. from/to: UTC times as the entries hold them
    // ("yyyy-MM-ddTHH:mm:ss.zzzZ"), to excluded; text: a pattern (* and ?) over the old and new values,
    // the row and the task.
    struct Filter {
        QString projectId;
        QString table;
        QString user;
        QString from;
        QString to;
        QString text;
    };

    explicit JournalRepository(Database& db) : m_db(db) {}

    bool read(const Filter& filter, const std::function<void(const JournalEntry&)>& visit);
    // The entries of one row of table, oldest first; ok false when they cannot be read.
    QList<JournalEntry> forRow(const QString& table, const QString& row, bool* ok = nullptr);
    std::optional<JournalEntry> find(qint64 id, bool* ok = nullptr);
    // The distinct users or tables (column "Benutzer" or "Tabelle") of the project's entries, of all
    // entries for an empty projectId, sorted.
    enum class Distinct { Users, Tables };
    QStringList distinct(Distinct which, const QString& projectId, bool* ok = nullptr);

private:
    bool select(const QString& where, const QVariantList& values,
                const std::function<void(const JournalEntry&)>& visit);

    Database& m_db;
};
