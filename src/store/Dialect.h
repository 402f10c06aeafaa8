#pragma once

#include "Schema.h"
#include "StoreFailure.h"

#include <optional>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The statements in which one engine speaks: the catalogue's queries, tables and indexes, the write
// lock and the lock per project, the functions and collation, rights and bulk writes.
class Dialect {
public:
    virtual ~Dialect() = default;

    // The fields of the six tables, each as its table's name and its own, one row each.
    virtual QString fieldListQuery() const = 0;
    // The names of all tables, one row each.
    virtual QString tableListQuery() const = 0;
    // The names of the indexes, one row each.
    virtual QString indexListQuery() const = 0;
    // The indexes the engine keeps: the schema's, and those of its own functions.
    virtual QList<Schema::Index> indexes() const { return Schema::indexes(); }
    virtual QString indexStatement(const Schema::Index& index) const = 0;
    virtual QString tableStatement(const Schema::Table& table) const = 0;
    // Everything a new database needs before the presets: tables, indexes, functions, stamps.
    virtual QStringList createStatements() const = 0;

    // Rights, where the engine has them (the server; the file has none).
    // The program's tables that this login may not read, one name a row.
    virtual std::optional<QString> unreadableTablesQuery() const = 0;
    // One row: the role that owns the database, and whether this login may act as that role.
    virtual std::optional<QString> ownerQuery() const = 0;
    // Within a transaction: what is created next belongs to role.
    virtual std::optional<QString> actAsStatement(const QString& role) const = 0;
    // What each table of the program carries beside its indexes (the change notification of the
    // server), and the query of the program's tables that lack it, one name a row.
    virtual QStringList tableCompletion(const QString& table) const = 0;
    virtual std::optional<QString> incompleteTablesQuery() const = 0;
    // The rights as group roles of the server (none on the file): a query with a row when a role, a grant
    // or the function telling a right is missing; the statements creating the missing roles (run as the
    // login itself, which needs the server's right to create roles; each role made is given to the
    // database's owner, or else to the login); the statements granting what each role allows (run as the
    // owner).
    virtual std::optional<QString> rightsIncompleteQuery() const { return std::nullopt; }
    virtual QStringList roleStatements(bool /*toOwner*/) const { return {}; }
    virtual QStringList grantStatements() const { return {}; }

    // Triggers that keep derived data whole in the same transaction as each change, whoever writes: on
    // each row written into table, removed runs with the old row's fields as OLD.field and added with the
    // new row's as NEW.field (an UPDATE of a watched field runs both); emptied runs when the whole table
    // is emptied at once. On the server they run with the rights of the login that installs them.
    struct Keeping {
        QString name;
        QString table;
        QStringList watched;
        QString removed;
        QString added;
        QString emptied;
    };
    virtual QStringList keepingStatements(const Keeping& keeping) const = 0;
    // The names of the triggers keepingStatements() creates on table, and the statements dropping them
    // (within a transaction; a trigger missing already is passed over without a word).
    virtual QStringList keepingTriggers(const QString& name, const QString& table) const = 0;
    virtual QStringList droppingStatements(const QString& name, const QString& table) const = 0;
    // The triggers that are in place and active, each as its table's name and its own name, one row each.
    virtual QString triggerListQuery() const = 0;

    // The journal of every change (see Journal): what a connection installs for itself once the tables are
    // there, the statements that set the journal's triggers aside for a bulk load and install them again,
    // and the statement of an entry of the program's own (table, row, project, action, count, old and new
    // values as JSON).
    virtual QStringList journalConnectionStatements() const = 0;
    virtual QStringList journalSuspendStatements() const = 0;
    virtual QStringList journalInstallStatements() const = 0;
    virtual QString journalEntryStatement() const = 0;

    // The sign-off that the engine keeps for every writer (see SignOffRepository), and what sets aside the
    // part of it that gives rows brought in at once a state of their own.
    virtual QStringList signOffStatements() const = 0;
    virtual QStringList signOffSuspendStatements() const = 0;

    // Begins a writing transaction that holds the write lock at once, so that a second writer waits.
    virtual QString beginWriteStatement() const = 0;
    // Within a writing transaction: waits until no other transaction writes into the project bound to
    // the one parameter; nullopt where the write lock covers it already.
    virtual std::optional<QString> projectLockStatement() const = 0;
    // Appended to a SELECT within a transaction: keeps the rows read from other writers until its end;
    // nullopt where the writing transaction holds them already.
    virtual std::optional<QString> rowLockClause() const = 0;
    // The collation under which texts compare equal only when they are the same to the letter.
    virtual QString exactCollation() const = 0;
    // A condition true for a value of column that the engine may hold but that is no number (a text).
    virtual QString foreignNumberCondition(const QString& column) const = 0;
    // A condition true for the rows of table, read under alias, whose Firma is the company bound to its
    // one placeholder, in any letter case; the engine reads them through an index, not by folding every
    // name of the table.
    virtual QString companyCondition(const QString& table, const QString& alias) const = 0;
    // A condition true for a value of column that the engine cannot add in cents: no number, or beyond
    // any amount. Queries and the index of such rows use this very text, so that the engine finds the
    // index for them.
    QString oddAmountCondition(const QString& column) const {
        return QStringLiteral("(%1 OR abs(%2) >= 1e13)").arg(foreignNumberCondition(column), column);
    }
    // What an index of only the rows with an odd amount adds to its statement.
    QString partOfIndex(const Schema::Index& index) const {
        return index.oddAmountOf.isEmpty()
                   ? QString()
                   : QStringLiteral(" WHERE ") + oddAmountCondition(index.oddAmountOf);
    }

    // Within the open transaction, writes many rows into table at once; a null QString is NULL.
    virtual bool bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                            const QList<QStringList>& rows, StoreFailure* failure) const = 0;
    // After rows were written with their numbers: the statements that let the next new row of every
    // table get the next number.
    virtual QStringList identityResetStatements() const = 0;
    // After a row was written with a number given (bound: the number, the table, its key field): the
    // statement that lets the table's next new row get a number beyond it; nullopt where the engine does so
    // by itself.
    virtual std::optional<QString> identityBeyondStatement() const = 0;
};
