#pragma once

#include "DatabaseRow.h"
#include "JournalSummary.h"
#include "StoreFailure.h"

#include <functional>
#include <optional>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlError;

// How a connection reaches the data of one engine: what stands against opening or setting them up, the
// connection's set-up, whether it still reaches them, reading straight on the engine, and its failures
// in German.
class Link {
public:
    virtual ~Link() = default;

    // Where the data live, for the user: the file's path, or the database on its server.
    virtual QString place() const = 0;
    virtual bool isServer() const = 0;
    virtual QString driverName() const = 0;

    // Before connecting: what stands against opening the data (Opening::None: nothing), with reason set.
    virtual StoreFailure::Opening obstacle(QString* reason) const = 0;
    // What stands against setting up new data here; nullopt when nothing does.
    virtual std::optional<QString> creationObstacle() const = 0;
    // The German message of a refusal to open (or, creating, to set up) the data, for reason.
    virtual QString refusal(const QString& reason, bool creating) const = 0;
    // Why data that hold no table at all are refused, where such data wait to be set up (the server);
    // nullopt where they are refused as foreign data.
    virtual std::optional<QString> emptyRefusal() const = 0;
    // Why the data are foreign, in the words the refusal to open them uses.
    virtual QString schemaRefusal(const QString& reason) const = 0;
    // After setting up failed: removes what the attempt left behind.
    virtual void discard() const = 0;

    // Before the first connection: loads what the engine's driver needs, in the quickest way.
    virtual void loadClient() const {}
    // Points a connection at the data; existing: the data must be there and are never created anew.
    virtual void configure(QSqlDatabase& db, bool existing) const = 0;
    // Installs on an open connection what the program's statements use (like(), fold(), GERMAN).
    virtual bool prepare(const QSqlDatabase& db) = 0;
    // Within a transaction: the program's operation that the journal records the following changes under,
    // and whether a name change's many rows are collected into one entry per table (see Journal); false
    // with the failure set.
    virtual bool setJournalTask(const QSqlDatabase& db, const QString& task, bool collecting,
                                StoreFailure* failure) = 0;
    // Where the connection collects them itself (the file): the entries collected since collecting began.
    virtual QList<JournalSummary> takeCollected() { return {}; }
    // After the transaction ended: the next changes belong to no operation of the program.
    virtual void endJournalTask() {}
    // False when the connection no longer reaches its data (a file moved away, a server gone).
    virtual bool stillThere(const QSqlDatabase& db) const = 0;
    // Whether a connection that no longer reaches its data may be opened afresh outside a transaction:
    // a file put back at its place, a server (which answers again or says why not).
    virtual bool mayReopen() const = 0;
    // Whether a read, or the begin of a writing transaction, that found the connection lost runs once
    // more on a new one: a server ends an idle connection, which shows only at the next statement.
    virtual bool rerunsAfterLoss() const = 0;
    // Why a statement failed when the data are no longer reached and the connection may not be opened
    // afresh.
    virtual QString goneText() const = 0;

    // A statement's failure on db as the user reads it, and its kind.
    virtual StoreFailure fault(const QSqlError& error, const QSqlDatabase& db) const = 0;
    virtual StoreFailure::Opening openFailure(const QSqlError& error, QString* reason) const = 0;

    // Runs a query and hands each row to visit; false with the failure set.
    virtual bool read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                      const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const = 0;
    // The same for a result too large to hold at once: each row is visited as it arrives, so that a failure
    // may come after rows were visited.
    virtual bool stream(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                        const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const {
        return read(db, sql, values, visit, failure);
    }
    // Runs a change with values, on a server in one exchange, and tells how many rows it changed; false
    // with the failure set.
    virtual bool change(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                        qint64* changed, StoreFailure* failure) const = 0;
};
