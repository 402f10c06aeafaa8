#pragma once

#include "Schema.h"
#include "TestDatabase.h"

#include <QRegularExpression>

// What store tests ask of the engine beyond the program's own SQL: a table's rows in order of entry, and a
// table that refuses changes as a failing or locked file would.
namespace StoreFixture {

// The values of expression over the rows of table that match where, in order of entry, joined by separator.
inline QString joined(TestDatabase& db, const QString& table, const QString& expression,
                      const QString& where = QStringLiteral("1 = 1"),
                      const QString& separator = QStringLiteral(",")) {
    const QString order =
        table == QLatin1String("tblNachtrag") ? QStringLiteral("rowid") : QStringLiteral("ID");
    // Amounts read as the file writes them ("10.0").
    QString shown = expression;
    if (db.onServer())
        shown.replace(QRegularExpression(QStringLiteral("\\b(Betrag|ArchitektKosten|NachtragKosten)\\b")),
                      QStringLiteral("zt_text(\\1)"));
    return db.scalar(
        QStringLiteral("SELECT group_concat(%2, ?) FROM (SELECT * FROM %1 WHERE %3 ORDER BY %4) AS t")
            .arg(table, shown, where, order),
        {separator});
}

// Adds count bookings numbered 1 to count to the project, each of amount number + 0,01 with remarks of
// 2 * padding characters.
inline void fillBookings(TestDatabase& db, int count, const QString& projectId = QStringLiteral("1"),
                         int padding = 100) {
    db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                           "INSERT INTO tblBuchung (PID, ProjektID, Firma, Bemerkungen, Betrag) "
                           "SELECT i, ?, 'Firma ' || i, %1, i + 0.01 FROM n")
                .arg(db.onServer() ? QStringLiteral("repeat('00', ?)") : QStringLiteral("hex(zeroblob(?))")),
            {count, projectId, padding});
}

// The engine's name of the type of the value of column.
inline QString typeOf(TestDatabase& db, const QString& column) {
    return (db.onServer() ? QStringLiteral("pg_typeof(%1)::text") : QStringLiteral("typeof(%1)")).arg(column);
}

// The engine's journal mode.
inline QString journalMode(TestDatabase& db) {
    return db.scalar(QStringLiteral("PRAGMA journal_mode"));
}

// Makes every INSERT or UPDATE (event) on table fail with the engine's words reason; allow() undoes it.
inline void refuse(TestDatabase& db, const QString& table, const QString& event = QStringLiteral("UPDATE"),
                   const QString& reason = QStringLiteral("gesperrt")) {
    if (db.onServer()) {
        db.exec(QStringLiteral("CREATE OR REPLACE FUNCTION refuse%1() RETURNS trigger LANGUAGE plpgsql AS "
                               "$$BEGIN RAISE EXCEPTION '%2'; END$$")
                    .arg(event, reason));
        db.exec(
            QStringLiteral("CREATE TRIGGER refuse%1 BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION refuse%1()")
                .arg(event, table));
        return;
    }
    db.exec(QStringLiteral("CREATE TRIGGER refuse%1 BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, '%3'); END")
                .arg(event, table, reason));
}
inline void allow(TestDatabase& db) {
    if (db.onServer()) {
        db.exec(QStringLiteral("DROP FUNCTION IF EXISTS refuseINSERT CASCADE"));
        db.exec(QStringLiteral("DROP FUNCTION IF EXISTS refuseUPDATE CASCADE"));
        return;
    }
    db.exec(QStringLiteral("DROP TRIGGER IF EXISTS refuseINSERT"));
    db.exec(QStringLiteral("DROP TRIGGER IF EXISTS refuseUPDATE"));
}

} // namespace StoreFixture
