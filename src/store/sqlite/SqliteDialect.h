#pragma once

#include "ChangeNotice.h"
#include "Dialect.h"

// The statements only SQLite speaks: its catalogue, its types, the write lock held by BEGIN IMMEDIATE,
// the stamps of a new file, and bulk writes through one prepared statement.
class SqliteDialect : public Dialect {
public:
    // The file's data version, which changes with every change another connection commits.
    static ChangeNotice changeNotice();

    QString fieldListQuery() const override;
    QString tableListQuery() const override;
    QString indexListQuery() const override;
    QString indexStatement(const Schema::Index& index) const override;
    QString tableStatement(const Schema::Table& table) const override;
    QStringList createStatements() const override;
    std::optional<QString> unreadableTablesQuery() const override { return std::nullopt; }
    std::optional<QString> ownerQuery() const override { return std::nullopt; }
    std::optional<QString> actAsStatement(const QString&) const override { return std::nullopt; }
    QStringList tableCompletion(const QString& table) const override;
    std::optional<QString> incompleteTablesQuery() const override { return std::nullopt; }
    QStringList keepingStatements(const Keeping& keeping) const override;
    QStringList keepingTriggers(const QString& name, const QString& table) const override;
    QStringList droppingStatements(const QString& name, const QString& table) const override;
    QString triggerListQuery() const override;
    QString beginWriteStatement() const override;
    QStringList journalConnectionStatements() const override;
    QStringList journalSuspendStatements() const override;
    QStringList journalInstallStatements() const override;
    QString journalEntryStatement() const override;
    QStringList signOffStatements() const override;
    QStringList signOffSuspendStatements() const override;
    std::optional<QString> projectLockStatement() const override { return std::nullopt; }
    std::optional<QString> rowLockClause() const override { return std::nullopt; }
    QString exactCollation() const override { return QStringLiteral("BINARY"); }
    QString foreignNumberCondition(const QString& column) const override;
    QString companyCondition(const QString& table, const QString& alias) const override;
    bool bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                    const QList<QStringList>& rows, StoreFailure* failure) const override;
    QStringList identityResetStatements() const override { return {}; }
    std::optional<QString> identityBeyondStatement() const override { return std::nullopt; }
};
