#pragma once

#include "ChangeNotice.h"
#include "Dialect.h"

// The statements of a PostgreSQL server: its catalogue, identity columns and types, the functions and
// collation that let the program's statements read as on the file (fold(), matches(), GERMAN), the
// lock per project, rights, the trigger that notifies other workstations, and bulk writes by COPY.
class PostgresDialect : public Dialect {
public:
    // The channel its trigger notifies, with the changing session as payload.
    static ChangeNotice changeNotice();

    QString fieldListQuery() const override;
    QString tableListQuery() const override;
    QString indexListQuery() const override;
    QList<Schema::Index> indexes() const override;
    QString indexStatement(const Schema::Index& index) const override;
    QString tableStatement(const Schema::Table& table) const override;
    QStringList createStatements() const override;
    std::optional<QString> unreadableTablesQuery() const override;
    std::optional<QString> ownerQuery() const override;
    std::optional<QString> actAsStatement(const QString& role) const override;
    QStringList tableCompletion(const QString& table) const override;
    std::optional<QString> incompleteTablesQuery() const override;
    std::optional<QString> rightsIncompleteQuery() const override;
    QStringList roleStatements(bool toOwner) const override;
    QStringList grantStatements() const override;
    QStringList keepingStatements(const Keeping& keeping) const override;
    QStringList keepingTriggers(const QString& name, const QString& table) const override;
    QStringList droppingStatements(const QString& name, const QString& table) const override;
    QString triggerListQuery() const override;
    QString beginWriteStatement() const override;
    QStringList journalConnectionStatements() const override { return {}; }
    QStringList journalSuspendStatements() const override;
    QStringList journalInstallStatements() const override;
    QString journalEntryStatement() const override;
    QStringList signOffStatements() const override;
    QStringList signOffSuspendStatements() const override;
    std::optional<QString> projectLockStatement() const override;
    std::optional<QString> rowLockClause() const override;
    QString exactCollation() const override { return QStringLiteral("\"C\""); }
    QString foreignNumberCondition(const QString& column) const override;
    QString companyCondition(const QString& table, const QString& alias) const override;
    bool bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                    const QList<QStringList>& rows, StoreFailure* failure) const override;
    QStringList identityResetStatements() const override;
    std::optional<QString> identityBeyondStatement() const override;
};
