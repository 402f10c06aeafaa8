#include "Journal.h"

#include "Database.h"
#include "Dialect.h"
#include "Money.h"
#include "Schema.h"

#include <QJsonDocument>

namespace {

QString compact(const QJsonObject& object) {
    return object.isEmpty() ? QString()
                            : QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

bool runAll(Database& db, const QStringList& statements) {
    for (const QString& statement : statements) {
        if (!db.exec(statement))
            return false;
    }
    return true;
}

} // namespace

bool Journal::label(const QString& task) {
    return m_db.setJournalTask(task);
}

bool Journal::collect(const QString& task) {
    return m_db.setJournalTask(task, true);
}

bool Journal::finishCollecting() {
    for (const JournalSummary& summary : m_db.takeCollectedChanges()) {
        if (!m_db.exec(m_db.dialect().journalEntryStatement(),
                       {summary.table, QString(), summary.projectId.isEmpty() ? QString() : summary.projectId,
                        QStringLiteral("Namensänderung"), summary.rows, summary.oldValues,
                        summary.newValues}))
            return false;
    }
    return m_db.setJournalTask(QString());
}

bool Journal::append(const QString& table, const QString& row, const QString& projectId,
                     const QString& action, qint64 count, const QJsonObject& before,
                     const QJsonObject& after) {
    return m_db.exec(m_db.dialect().journalEntryStatement(),
                     {table, row, projectId, action, count, compact(before), compact(after)});
}

std::optional<QJsonObject> Journal::inventory() {
    QJsonObject tables;
    for (const Schema::Journaled& table : Schema::journaled()) {
        QStringList sums;
        QStringList amounts;
        for (const Schema::Field& field : table.fields) {
            if (field.kind != Schema::FieldKind::Amount)
                continue;
            amounts += field.name;
            sums += QStringLiteral("SUM(CASE WHEN %1 THEN 0 ELSE CAST(round(%2 * 100) AS BIGINT) END)")
                        .arg(m_db.oddAmountCondition(field.name), field.name);
        }
        QJsonObject counted;
        const QString sql =
            QStringLiteral("SELECT COUNT(*)%1 FROM %2")
                .arg(sums.isEmpty() ? QString() : QStringLiteral(", ") + sums.join(QStringLiteral(", ")),
                     table.table);
        if (!m_db.read(sql, {}, [&](const Database::Row& row) {
                counted.insert(QStringLiteral("Zeilen"), row.rowNumber(0));
                for (qsizetype i = 0; i < amounts.size(); ++i)
                    counted.insert(amounts.at(i), Money::fromCents(row.rowNumber(int(i) + 1)).toGerman());
            }))
            return std::nullopt;
        tables.insert(table.table, counted);
    }
    return tables;
}

bool Journal::suspend() {
    return runAll(m_db, m_db.dialect().journalSuspendStatements());
}

bool Journal::install() {
    return runAll(m_db, m_db.dialect().journalInstallStatements());
}

bool Journal::installAfterBulk(const QString& action, const QString& source) {
    if (!install())
        return false;
    std::optional<QJsonObject> counted = inventory();
    if (!counted)
        return false;
    counted->insert(QStringLiteral("Quelle"), source);
    return append(QString(), QString(), QString(), action, 0, {}, *counted);
}

QString Journal::dataHeldCondition() {
    QStringList holding;
    for (const char* table : {"tblProjekt", "tblFirma", "tblBuchung", "tblNachtrag"})
        holding += QStringLiteral("EXISTS (SELECT 1 FROM %1)").arg(QLatin1String(table));
    return u'(' + holding.join(QStringLiteral(" OR ")) + u')';
}

std::optional<QString> Journal::beginAnewWhereRemoved() {
    bool removed = false;
    const QString sql =
        QStringLiteral("SELECT CASE WHEN EXISTS (SELECT 1 FROM %1) THEN 0 WHEN %2 THEN 1 ELSE 0 END")
            .arg(Schema::journal().name, dataHeldCondition());
    if (!m_db.read(sql, {}, [&](const Database::Row& row) { removed = row.rowNumber(0) == 1; }) || !removed)
        return std::nullopt;
    const std::optional<QJsonObject> counted = inventory();
    if (!counted || !m_db.beginTransaction())
        return std::nullopt;
    if (!append(QString(), QString(), QString(), QStringLiteral("Neuer Anfang"), 0, {}, *counted) ||
        !m_db.commit()) {
        m_db.rollback();
        return std::nullopt;
    }
    return QStringLiteral(
        "Das Änderungsprotokoll dieser Datenbank fehlt: Es wurde entfernt oder geleert, "
        "oder die Daten stammen aus einer Version ohne Protokoll. Was bis jetzt geändert "
        "wurde, ist nicht mehr belegt. Ein neues Protokoll beginnt mit dem heutigen Stand.");
}
