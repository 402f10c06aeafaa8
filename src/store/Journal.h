#pragma once

#include <optional>
#include <QJsonObject>
#include <QString>

class Database;

// The journal of every change (tblProtokoll). The engine records each insert, change and delete of every
// table in the same transaction as the change, with its time, login, workstation and the old and new
// values of the changed fields, each entry hash-chained to the one before (JournalChain): on a server
// every writer through triggers, on a file the program's own connection. The program adds what an entry
// per row does not tell: the operation a change belongs to, a name change as one entry per table, and
// entries of its own for an import, a transfer, a restore or a journal begun anew. Nothing ever changes
// or removes an entry.
class Journal {
public:
    explicit Journal(Database& db) : m_db(db) {}

    // Within a transaction: the following changes belong to the program's operation task.
    bool label(const QString& task);
    // Within a transaction: the name changes that follow, carried into many rows, are recorded as one
    // entry per table with the number of rows, until finishCollecting().
    bool collect(const QString& task);
    bool finishCollecting();
    // Within the caller's transaction: an entry of the program's own.
    bool append(const QString& table, const QString& row, const QString& projectId, const QString& action,
                qint64 count, const QJsonObject& before, const QJsonObject& after);
    // The rows of each journaled table and the sums of its amounts, for the entries of an import, a
    // transfer or a journal begun anew; nullopt when they cannot be read.
    std::optional<QJsonObject> inventory();
    // Within the caller's transaction: the journal's triggers set aside while rows are brought in at
    // once (the operation adds one entry for them), then installed again.
    bool suspend();
    bool install();
    // Installs them again after rows were brought in at once from source (a file's path) and records that
    // as one entry of action ("Import", "Übertragung") with the rows and sums now held.
    bool installAfterBulk(const QString& action, const QString& source);
    // The condition, for a query, that the data hold rows of their own (presets aside).
    static QString dataHeldCondition();
    // After opening: a journal that is empty although the data hold rows was removed (or never kept):
    // a new chain begins with an entry that says so, and the warning for the user is returned.
    std::optional<QString> beginAnewWhereRemoved();

private:
    Database& m_db;
};
