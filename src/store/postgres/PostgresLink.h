#pragma once

#include "Link.h"
#include "ServerAddress.h"

#include <QByteArray>
#include <QHash>
#include <QProcessEnvironment>
#include <QQueue>
#include <QSet>
#include <vector>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

// A connection to a database on a PostgreSQL server, for several workstations: the QPSQL connection's
// set-up, reading straight through libpq, a connection lost and opened again, and the server's failures
// in German.
class PostgresLink : public Link {
public:
    // The connection's libpq handle; null when it has none (or libpq is not loaded).
    static PGconn* handle(const QSqlDatabase& db);

    explicit PostgresLink(ServerAddress address);

    QString place() const override;
    bool isServer() const override { return true; }
    QString driverName() const override;
    StoreFailure::Opening obstacle(QString* reason) const override;
    std::optional<QString> creationObstacle() const override;
    QString refusal(const QString& reason, bool creating) const override;
    std::optional<QString> emptyRefusal() const override;
    QString schemaRefusal(const QString& reason) const override;
    void discard() const override {}
    void configure(QSqlDatabase& db, bool existing) const override;
    void loadClient() const override;
    bool prepare(const QSqlDatabase& db) override;
    bool setJournalTask(const QSqlDatabase& db, const QString& task, bool collecting,
                        StoreFailure* failure) override;
    bool stillThere(const QSqlDatabase& db) const override;
    bool mayReopen() const override { return true; }
    bool rerunsAfterLoss() const override { return true; }
    QString goneText() const override;
    StoreFailure fault(const QSqlError& error, const QSqlDatabase& db) const override;
    StoreFailure::Opening openFailure(const QSqlError& error, QString* reason) const override;
    bool read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
              const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const override;
    bool stream(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const override;
    bool change(const QSqlDatabase& db, const QString& sql, const QVariantList& values, qint64* changed,
                StoreFailure* failure) const override;

    // How pg_dump writes the whole database as a dump in its custom format: the program found here (empty,
    // with the German reason, when this workstation has none), its arguments but the file
    // ("--file=" follows), and its environment.
    struct DumpCommand {
        QString program;
        QStringList arguments;
        QProcessEnvironment environment;
        QString reason;
    };
    static DumpCommand dumpCommand(const ServerAddress& address);

    // At most so many statements stay prepared on a connection; the oldest goes first.
    static constexpr qsizetype kMostPrepared = 400;
    // The least room a connection's sorts get in memory (the server's work_mem).
    static constexpr const char* kSortRoom = "64MB";

private:
    // Runs sql with values in one exchange, hands each row to visit and tells how many rows it changed.
    bool run(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
             const std::function<void(const DatabaseRow&)>& visit, qint64* changed,
             StoreFailure* failure) const;
    // The failure error tells, without looking at the connection.
    StoreFailure faultOf(const QSqlError& error) const;
    // The failure of a statement's result, in the server's own words.
    StoreFailure faultOf(const PGresult* result, PGconn* connection) const;
    // Runs statement with values. The first time unprepared, in one exchange with the server: most of what
    // opening reads runs once. Prepared on the connection when it comes again, so that the server parses
    // and plans it once and then settles on a plan; one exchange each time after.
    PGresult* execute(PGconn* connection, const QByteArray& statement,
                      const std::vector<const char*>& values) const;

    // The statements prepared on this connection, by their text, and the order they were prepared in.
    struct Prepared {
        QHash<QByteArray, QByteArray> names;
        // Run once, unprepared; forgotten all at once when so many have gathered.
        QSet<QByteArray> runOnce;
        QQueue<QByteArray> order;
        quint64 next = 0;
    };
    mutable Prepared m_prepared;

    ServerAddress m_address;
};
