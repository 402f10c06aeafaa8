#pragma once

#include "Database.h"
#include "Schema.h"

#include <functional>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlError;

// What differs between the engines the data may live in: the SQLite file of one workstation
// (sqlite/SqliteEngine) and the PostgreSQL server of several (postgres/PostgresEngine). Database holds
// one and asks it for these pieces; repositories, screens and reports never see it.
class Engine {
public:
    virtual ~Engine() = default;

    // A failure as the user reads it, and its kind.
    struct Fault {
        Database::Failure kind = Database::Failure::Other;
        QString germanText;
    };

    // Where the data live, for the user: the file's path, or the database on its server.
    virtual QString place() const = 0;
    virtual bool isServer() const = 0;
    virtual QString driverName() const = 0;
    // Points a connection at the data; existing: the data must be there and are never created anew.
    virtual void configure(QSqlDatabase& db, bool existing) const = 0;
    // Installs on an open connection what the program's statements use (like(), fold(), GERMAN).
    virtual bool prepare(const QSqlDatabase& db) = 0;
    // False when the connection no longer reaches its data (a file moved away, a server gone).
    virtual bool stillThere(const QSqlDatabase& db) const = 0;

    // The names of the fields of the table bound to the one parameter, one row each.
    virtual QString fieldListQuery() const = 0;
    // The names of all tables, one row each.
    virtual QString tableListQuery() const = 0;
    // The names of the indexes, one row each.
    virtual QString indexListQuery() const = 0;
    virtual QString indexStatement(const Schema::Index& index) const = 0;
    // A table's CREATE statement (as Schema writes it) in the engine's words.
    virtual QString tableStatement(const QString& statement) const = 0;
    // Everything a new database needs before the presets: tables, indexes, functions, stamps.
    virtual QStringList createStatements() const = 0;

    // Rights, where the engine has them (the server; the file has none, and these are empty).
    // The program's tables that this login may not read, one name a row.
    virtual QString unreadableTablesQuery() const { return QString(); }
    // One row: the role that owns the database, and whether this login may act as that role.
    virtual QString ownerQuery() const { return QString(); }
    // Within a transaction: what is created next belongs to role.
    virtual QString actAsStatement(const QString& role) const {
        Q_UNUSED(role);
        return QString();
    }
    // What each table of the program carries beside its indexes (the change notification of the
    // server), and the query of the program's tables that lack it, one name a row.
    virtual QStringList tableCompletion(const QString& table) const {
        Q_UNUSED(table);
        return {};
    }
    virtual QString incompleteTablesQuery() const { return QString(); }

    // Begins a writing transaction that holds the write lock at once, so that a second writer waits.
    virtual QString beginWriteStatement() const = 0;
    // Within a writing transaction: waits until no other transaction writes into the project bound to
    // the one parameter. Empty when the write lock covers it already.
    virtual QString projectLockStatement() const = 0;
    // What tells of other workstations' changes: on the file a query for a number that changes with every
    // change another connection commits; on the server the channel it notifies of every change, with the
    // changing session as payload, and the query for this session's own.
    virtual QString changeCountQuery() const = 0;
    virtual QString changeChannel() const = 0;
    virtual QString sessionQuery() const = 0;
    // Appended to a SELECT within a transaction: keeps the rows read from other writers until its end.
    virtual QString rowLockClause() const = 0;
    // The collation under which texts compare equal only when they are the same to the letter.
    virtual QString exactCollation() const = 0;
    // A condition true for a value of column that the engine may hold but that is no number (a text).
    virtual QString foreignNumberCondition(const QString& column) const = 0;

    // Within the open transaction, writes many rows into table at once; a null QString is NULL.
    virtual bool bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                            const QList<QStringList>& rows, Fault* fault) const = 0;
    // After rows were written with their numbers: the statements that let the next new row of every
    // table get the next number.
    virtual QStringList identityResetStatements() const = 0;

    virtual Fault fault(const QSqlError& error) const = 0;
    virtual Database::OpenFailure openFailure(const QSqlError& error, QString* reason) const = 0;

    // Runs a query and hands each row to visit; false with the fault set on failure.
    virtual bool read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                      const std::function<void(const Database::Row&)>& visit, Fault* fault) const = 0;
};
