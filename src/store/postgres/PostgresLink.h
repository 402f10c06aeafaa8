#pragma once

#include "Link.h"
#include "ServerAddress.h"

#include <QProcessEnvironment>

typedef struct pg_conn PGconn;

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
    bool prepare(const QSqlDatabase& db) override;
    bool setJournalTask(const QSqlDatabase& db, const QString& task, bool collecting) override;
    bool stillThere(const QSqlDatabase& db) const override;
    bool mayReopen() const override { return true; }
    bool rerunsAfterLoss() const override { return true; }
    QString goneText() const override;
    StoreFailure fault(const QSqlError& error, const QSqlDatabase& db) const override;
    StoreFailure::Opening openFailure(const QSqlError& error, QString* reason) const override;
    bool read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
              const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const override;

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

private:
    // The failure error tells, without looking at the connection.
    StoreFailure faultOf(const QSqlError& error) const;

    ServerAddress m_address;
};
