#include "SqliteFailure.h"

#include <QTest>
#include <sqlite3.h>

// The engine's failure codes told in German, the engine's own words kept.
class SqliteFailureTest : public QObject {
    Q_OBJECT

private slots:
    void germanText_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("engineWords");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, int code, const char* words, const QString& expected) {
            QTest::newRow(name) << code << QString::fromUtf8(words) << expected;
        };
        const QString busy =
            "Die Datenbank ist gesperrt, weil ein anderes Programm oder ein anderer Arbeitsplatz "
            "gerade mit ihr arbeitet. Bitte versuchen Sie es in einem Augenblick noch einmal";
        const QString readOnly = "Die Datenbank ist schreibgeschützt; es kann nichts gespeichert werden";
        row("busy extended", SQLITE_BUSY_SNAPSHOT, "database is locked", busy + " (database is locked).");
        row("locked table", SQLITE_LOCKED, "database table is locked", busy + " (database table is locked).");
        row("disk full", SQLITE_FULL, "database or disk is full",
            "Auf dem Laufwerk der Datenbank ist kein Platz mehr frei (database or disk is full).");
        row("read-only rollback", SQLITE_READONLY_ROLLBACK, "readonly", readOnly + " (readonly).");
        row("file deleted or moved while open", SQLITE_READONLY_DBMOVED, "readonly",
            "Die Datenbankdatei ist nicht mehr vorhanden; sie wurde gelöscht, umbenannt oder ersetzt "
            "(readonly).");
        row("damaged", SQLITE_CORRUPT, "malformed", "Die Datenbank ist beschädigt (malformed).");
        row("not a database", SQLITE_NOTADB, "not a database",
            "Die Datenbank ist beschädigt (not a database).");
        row("cannot open", SQLITE_CANTOPEN, "unable to open",
            "Die Datenbankdatei kann nicht geöffnet werden (unable to open).");
        row("I/O error", SQLITE_IOERR, "disk I/O error",
            "Die Datenbankdatei konnte nicht gelesen oder geschrieben werden, etwa weil die Verbindung zum "
            "Netzlaufwerk unterbrochen ist (disk I/O error).");
        row("engine words trimmed", SQLITE_CORRUPT, " malformed \n",
            "Die Datenbank ist beschädigt (malformed).");
        row("no engine words", SQLITE_FULL, "", "Auf dem Laufwerk der Datenbank ist kein Platz mehr frei.");
        row("other failure keeps the engine's words", SQLITE_CONSTRAINT, "Tabelle gesperrt",
            "Tabelle gesperrt");
        row("other failure without words", SQLITE_MISMATCH, "",
            "Unbekannter Fehler der Datenbank (Code 20).");
    }
    void germanText() {
        QFETCH(int, code);
        QFETCH(QString, engineWords);
        QTEST(SqliteFailure::germanText(code, engineWords), "expected");
    }

    void damage_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("damage");
        QTest::newRow("damaged") << SQLITE_CORRUPT << true;
        QTest::newRow("damaged index") << SQLITE_CORRUPT_INDEX << true;
        QTest::newRow("not a database") << SQLITE_NOTADB << true;
        QTest::newRow("I/O error") << SQLITE_IOERR << false;
        QTest::newRow("busy") << SQLITE_BUSY << false;
    }
    void damage() {
        QFETCH(int, code);
        QTEST(SqliteFailure::isDamage(code), "damage");
    }
};

QTEST_GUILESS_MAIN(SqliteFailureTest)
#include "SqliteFailureTest.moc"
