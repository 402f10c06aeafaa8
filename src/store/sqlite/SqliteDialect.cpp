#include "SqliteDialect.h"

#include "SqliteJournal.h"
#include "SqliteSignOff.h"

#include "SqliteFailure.h"
#include "SqliteLink.h"
#include "SqliteStatement.h"

#include <QVariant>

namespace {

// Stamped into files the program creates ("ZLV1"); never required of a file that is opened.
constexpr int kApplicationId = 0x5A4C5631;
constexpr int kUserVersion = 1;

QString declaredType(const Schema::Field& field) {
    switch (field.kind) {
    case Schema::FieldKind::Key:
        return field.numbered ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                              : QStringLiteral("INTEGER PRIMARY KEY");
    case Schema::FieldKind::Integer:
        return QStringLiteral("INTEGER");
    case Schema::FieldKind::Amount:
        return QStringLiteral("REAL");
    case Schema::FieldKind::Text:
        return QStringLiteral("TEXT");
    case Schema::FieldKind::Name:
        return QStringLiteral("TEXT PRIMARY KEY");
    case Schema::FieldKind::Total:
        return QStringLiteral("INTEGER");
    case Schema::FieldKind::Bytes:
        return QStringLiteral("BLOB");
    }
    return QStringLiteral("TEXT");
}

} // namespace

ChangeNotice SqliteDialect::changeNotice() {
    return {QStringLiteral("PRAGMA data_version"), std::nullopt};
}

QString SqliteDialect::fieldListQuery() const {
    QStringList names;
    for (const QString& table : Schema::tableNames())
        names += u'\'' + table + u'\'';
    // pragma_table_info finds a table or view by its name in any letter case.
    return QStringLiteral(
               "SELECT t.name, f.name FROM (SELECT %1 AS name) AS t JOIN pragma_table_info(t.name) "
               "AS f")
        .arg(names.join(QStringLiteral(" AS name UNION ALL SELECT ")));
}

QString SqliteDialect::tableListQuery() const {
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'");
}

QString SqliteDialect::indexListQuery() const {
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'");
}

QString SqliteDialect::indexStatement(const Schema::Index& index) const {
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3%4")
        .arg(index.unique() ? QStringLiteral("UNIQUE ") : QString(), index.name, index.definition,
             partOfIndex(index));
}

QString SqliteDialect::tableStatement(const Schema::Table& table) const {
    QStringList columns;
    for (const Schema::Field& field : table.fields)
        columns += Schema::column(field.name) + u' ' + declaredType(field);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, columns.join(QStringLiteral(", ")));
}

QStringList SqliteDialect::createStatements() const {
    QStringList statements = {QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId),
                              QStringLiteral("PRAGMA user_version = %1").arg(kUserVersion)};
    for (const Schema::Table& table : Schema::allTables())
        statements += tableStatement(table);
    for (const Schema::Index& index : indexes())
        statements += indexStatement(index);
    return statements + SqliteJournal::guard() + SqliteSignOff::statements();
}

QStringList SqliteDialect::keepingStatements(const Keeping& keeping) const {
    // A file is emptied row by row, so the triggers per row see every change.
    const QStringList names = keepingTriggers(keeping.name, keeping.table);
    return {QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3; END")
                .arg(names.at(0), keeping.table, keeping.added),
            QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2 ON %3 BEGIN %4; %5; END")
                .arg(names.at(1), keeping.watched.join(QStringLiteral(", ")), keeping.table, keeping.removed,
                     keeping.added),
            QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3; END")
                .arg(names.at(2), keeping.table, keeping.removed)};
}

QStringList SqliteDialect::keepingTriggers(const QString& name, const QString& table) const {
    const QString stem = name + u'_' + table;
    return {stem + QStringLiteral("_insert"), stem + QStringLiteral("_update"),
            stem + QStringLiteral("_delete")};
}

QStringList SqliteDialect::droppingStatements(const QString& name, const QString& table) const {
    QStringList statements;
    for (const QString& trigger : keepingTriggers(name, table))
        statements += QStringLiteral("DROP TRIGGER IF EXISTS ") + trigger;
    return statements;
}

QString SqliteDialect::triggerListQuery() const {
    return QStringLiteral("SELECT tbl_name, name FROM sqlite_master WHERE type = 'trigger'");
}

QStringList SqliteDialect::tableCompletion(const QString& table) const {
    if (table == QLatin1String("tblFreigabe"))
        return SqliteSignOff::statements();
    return table == Schema::journal().name ? SqliteJournal::guard() : QStringList();
}

QStringList SqliteDialect::signOffStatements() const {
    return SqliteSignOff::statements();
}

QStringList SqliteDialect::signOffSuspendStatements() const {
    return SqliteSignOff::droppingStatements();
}

QStringList SqliteDialect::journalConnectionStatements() const {
    return SqliteJournal::connectionTriggers();
}

QStringList SqliteDialect::journalSuspendStatements() const {
    return SqliteJournal::droppingTriggers();
}

QStringList SqliteDialect::journalInstallStatements() const {
    return SqliteJournal::droppingTriggers() + SqliteJournal::connectionTriggers();
}

QString SqliteDialect::journalEntryStatement() const {
    return SqliteJournal::entryStatement();
}

QString SqliteDialect::beginWriteStatement() const {
    return QStringLiteral("BEGIN IMMEDIATE");
}

QString SqliteDialect::foreignNumberCondition(const QString& column) const {
    return QStringLiteral("typeof(%1) IN ('text', 'blob')").arg(column);
}
QString SqliteDialect::companyCondition(const QString& table, const QString& alias) const {
    // The table's distinct spellings are found by stepping through its index of Firma from one name to
    // the next; only those are folded, and the company's rows are then read through that index alone.
    return QStringLiteral("%2.Firma IN (WITH RECURSIVE s(f) AS (SELECT min(Firma) FROM %1 UNION ALL SELECT "
                          "(SELECT min(Firma) FROM %1 WHERE Firma > s.f) FROM s WHERE s.f IS NOT NULL) "
                          "SELECT f FROM s WHERE f IS NOT NULL AND fold(f) = fold(?))")
        .arg(table, alias);
}

bool SqliteDialect::bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                               const QList<QStringList>& rows, StoreFailure* failure) const {
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                            .arg(table, columns.join(QStringLiteral(", ")),
                                 QStringLiteral(", ?").repeated(columns.size() - 1));
    SqliteStatement statement(SqliteLink::handle(db), sql);
    for (const QStringList& row : rows) {
        QVariantList values;
        for (const QString& value : row)
            values += value.isNull() ? QVariant() : QVariant(value);
        if (!statement.isPrepared() || !statement.bind(values) || (statement.next(), statement.failed())) {
            *failure = SqliteFailure::of(statement.resultCode(), statement.engineWords());
            return false;
        }
        statement.reset();
    }
    return true;
}
