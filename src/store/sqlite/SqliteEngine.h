#pragma once

#include "Engine.h"

#include <QByteArray>

struct sqlite3;

// The SQLite file of one workstation: how a QSQLITE connection to the file is set up and given the
// program's functions and collation, the statements only SQLite speaks, and how its failures are told.
class SqliteEngine : public Engine {
public:
    static constexpr int kHeaderLength = 16;
    // firstBytes: the first kHeaderLength bytes of a file.
    static bool isDatabaseHeader(const QByteArray& firstBytes);
    static sqlite3* handle(const QSqlDatabase& db);

    // busyTimeoutMs: how long a statement waits for a file that another program holds.
    SqliteEngine(QString absolutePath, int busyTimeoutMs);

    QString place() const override;
    bool isServer() const override { return false; }
    QString driverName() const override;
    void configure(QSqlDatabase& db, bool existing) const override;
    bool prepare(const QSqlDatabase& db) override;
    // True while the file the connection has open is still at its path: not deleted, moved away, or
    // replaced by another file.
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
    QString beginWriteStatement() const override;
    QString projectLockStatement() const override;
    QString exactCollation() const override { return QStringLiteral("BINARY"); }
    QString foreignNumberCondition(const QString& column) const override;
    bool bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                    const QList<QStringList>& rows, Fault* fault) const override;
    QStringList identityResetStatements() const override;
    Fault fault(const QSqlError& error) const override;
    Database::OpenFailure openFailure(const QSqlError& error, QString* reason) const override;
    bool read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
              const std::function<void(const Database::Row&)>& visit, Fault* fault) const override;

private:
    QString m_path;
    int m_busyTimeoutMs;
};
