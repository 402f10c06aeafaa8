#pragma once

#include "Engine.h"
#include "ServerAddress.h"

#include <QProcessEnvironment>

// A database on a PostgreSQL server, for several workstations: the QPSQL connection's set-up, the
// functions and collation that let the program's statements read as on the file (like(), fold(),
// GERMAN), the identity columns, the lock per project, and the server's failures in German.
class PostgresEngine : public Engine {
public:
    explicit PostgresEngine(ServerAddress address);

    QString place() const override;
    bool isServer() const override { return true; }
    QString driverName() const override;
    void configure(QSqlDatabase& db, bool existing) const override;
    bool prepare(const QSqlDatabase& db) override;
    bool stillThere(const QSqlDatabase& db) const override;
    QString fieldListQuery() const override;
    QString tableListQuery() const override;
    QString indexListQuery() const override;
    QString indexStatement(const Schema::Index& index) const override;
    QString tableStatement(const QString& statement) const override;
    QString rowLockClause() const override;
    QString changeCountQuery() const override;
    QString changeChannel() const override;
    QString sessionQuery() const override;
    QStringList createStatements() const override;
    QString unreadableTablesQuery() const override;
    QString ownerQuery() const override;
    QString actAsStatement(const QString& role) const override;
    QStringList tableCompletion(const QString& table) const override;
    QString incompleteTablesQuery() const override;
    QString beginWriteStatement() const override;
    QString projectLockStatement() const override;
    QString exactCollation() const override { return QStringLiteral("\"C\""); }
    QString foreignNumberCondition(const QString& column) const override;
    bool bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                    const QList<QStringList>& rows, Fault* fault) const override;
    QStringList identityResetStatements() const override;
    Fault fault(const QSqlError& error) const override;
    Database::OpenFailure openFailure(const QSqlError& error, QString* reason) const override;
    bool read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
              const std::function<void(const Database::Row&)>& visit, Fault* fault) const override;

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
    ServerAddress m_address;
};
