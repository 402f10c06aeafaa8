#include "SqliteFailure.h"

#include <QTest>
#include <sqlite3.h>

// The engine's failure codes told in German, the engine's own words kept.
class SqliteFailureTest : public QObject {
    Q_OBJECT

private slots:
    void germanText_data();
    void germanText();
    void damage_data();
    void damage();
};

void SqliteFailureTest::germanText_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("engineWords");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, int code, const char* words, const char* expected) {
        QTest::newRow(name) << code << QString::fromUtf8(words) << QString::fromUtf8(expected);
    };
    const char* busy = "Die Datenbank ist gesperrt, weil ein anderes Programm oder ein anderer Arbeitsplatz "
                       "gerade mit ihr arbeitet. Bitte versuchen Sie es in einem Augenblick noch einmal";
    row("busy", SQLITE_BUSY, "database is locked", QByteArray(busy).append(" (database is locked).").data());
    row("locked table", SQLITE_LOCKED, "database table is locked",
        QByteArray(busy).append(" (database table is locked).").data());
    row("busy extended", SQLITE_BUSY_SNAPSHOT, "database is locked",
        QByteArray(busy).append(" (database is locked).").data());
    row("disk full", SQLITE_FULL, "database or disk is full",
        "Auf dem Laufwerk der Datenbank ist kein Platz mehr frei (database or disk is full).");
    row("read-only", SQLITE_READONLY, "attempt to write a readonly database",
        "Die Datenbank ist schreibgeschützt; es kann nichts gespeichert werden (attempt to write a readonly "
        "database).");
    row("read-only rollback", SQLITE_READONLY_ROLLBACK, "attempt to write a readonly database",
        "Die Datenbank ist schreibgeschützt; es kann nichts gespeichert werden (attempt to write a readonly "
        "database).");
    row("file deleted or moved while open", SQLITE_READONLY_DBMOVED, "attempt to write a readonly database",
        "Die Datenbankdatei ist nicht mehr vorhanden; sie wurde gelöscht, umbenannt oder ersetzt (attempt to "
        "write a readonly database).");
    row("damaged", SQLITE_CORRUPT, "database disk image is malformed",
        "Die Datenbank ist beschädigt (database disk image is malformed).");
    row("not a database", SQLITE_NOTADB, "file is not a database",
        "Die Datenbank ist beschädigt (file is not a database).");
    row("cannot open", SQLITE_CANTOPEN, "unable to open database file",
        "Die Datenbankdatei kann nicht geöffnet werden (unable to open database file).");
    row("I/O error", SQLITE_IOERR, "disk I/O error",
        "Die Datenbankdatei konnte nicht gelesen oder geschrieben werden, etwa weil die Verbindung zum "
        "Netzlaufwerk unterbrochen ist (disk I/O error).");
    row("engine words trimmed", SQLITE_CORRUPT, " malformed \n", "Die Datenbank ist beschädigt (malformed).");
    row("no engine words", SQLITE_FULL, "", "Auf dem Laufwerk der Datenbank ist kein Platz mehr frei.");
    row("other failure keeps the engine's words", SQLITE_CONSTRAINT, "Tabelle gesperrt", "Tabelle gesperrt");
    row("other failure without words", SQLITE_MISMATCH, "", "Unbekannter Fehler der Datenbank (Code 20).");
}

void SqliteFailureTest::germanText() {
    QFETCH(int, code);
    QFETCH(QString, engineWords);
    QFETCH(QString, expected);
    QCOMPARE(SqliteFailure::germanText(code, engineWords), expected);
}

void SqliteFailureTest::damage_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("damage");
    QTest::newRow("damaged") << SQLITE_CORRUPT << true;
    QTest::newRow("damaged index") << SQLITE_CORRUPT_INDEX << true;
    QTest::newRow("not a database") << SQLITE_NOTADB << true;
    QTest::newRow("I/O error") << SQLITE_IOERR << false;
    QTest::newRow("busy") << SQLITE_BUSY << false;
}

void SqliteFailureTest::damage() {
    QFETCH(int, code);
    QFETCH(bool, damage);
    QCOMPARE(SqliteFailure::isDamage(code), damage);
}

QTEST_GUILESS_MAIN(SqliteFailureTest)
#include "SqliteFailureTest.moc"
