#include "Database.h"
#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "DatabaseBackup.h"
#include "Journal.h"
#include "PatternMatcher.h"
#include "ProjectRepository.h"
#include "Schema.h"
#include "SqliteDialect.h"
#include "SqliteFailure.h"
#include "StoreFixture.h"
#include "Transaction.h"

#include <cstdio>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace StoreFixture;

const QString kBusy = u"Die Datenbank ist gesperrt, weil ein anderes Programm oder ein anderer Arbeitsplatz "
                      "gerade mit ihr arbeitet. Bitte versuchen Sie es in einem Augenblick noch einmal"_s;

namespace {

constexpr int kBookings = 400;

// Opens path as the program does and checks that every booking is there, intact.
void verifyAllBookings(const QString& path) {
    QString message;
    const std::unique_ptr<Database> db = Database::open(path, nullptr, &message);
    QVERIFY2(db, qPrintable(message));
    const QList<Booking> rows = BookingRepository(*db).forProject("1");
    QCOMPARE(rows.size(), kBookings);
    QCOMPARE(rows.last().amount, std::optional<Money>(Money::fromCents(kBookings * 100 + 1)));
    QCOMPARE(DatabaseBackup().check(path), DatabaseBackup::Condition::Intact);
}

// The six tables' CREATE statements as a new file holds them.
QStringList sixTables() {
    QStringList statements;
    for (const Schema::Table& table : Schema::tables())
        statements += SqliteDialect().tableStatement(table);
    return statements;
}

QStringList filesIn(const QString& folder) {
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    return files;
}

} // namespace

Q_DECLARE_METATYPE(DatabaseBackup::Condition)

// Creating, opening, refusing, backing up and searching database files, and the engine's failures told in
// German.
class DatabaseTest : public QObject {
    Q_OBJECT

    TestDatabase m_db;

private slots:
    void newFileHoldsThePresetsAndWritesNoLastingJournal() {
        TestDatabase db;
        QCOMPARE(db.scalar("SELECT (SELECT COUNT(*) || '/' || SUM(Kostengruppe = '320 Gründung, Unterbau') "
                           "FROM tblKostengruppe) || '/' || (SELECT COUNT(*) >= 30 FROM tblGewerk)") +
                     '/' + journalMode(db),
                 "60/1/1/delete");
    }

    // The journal's triggers are set up on a connection before its first change, not when it opens: a
    // program that only reads never waits for them; the first change is journaled all the same.
    void journalIsReadyBeforeTheFirstChange() {
        TestDatabase db;
        QVERIFY(db.reopen());
        const QString triggers = u"SELECT COUNT(*) FROM sqlite_temp_master WHERE type = 'trigger'"_s;
        QCOMPARE(db.scalar(triggers), u"0"_s);
        QVERIFY(db.db().exec(u"INSERT INTO tblProjekt (ProjektName) VALUES ('Turnhalle')"_s));
        QVERIFY(db.scalar(triggers).toInt() > 0);
        QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM tblProtokoll WHERE Tabelle = 'tblProjekt'"_s), u"1"_s);
    }

    // A file the program cannot work with is refused with the reason, and is left as it was.
    void refusesFile_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<Database::OpenFailure>("failure");
        QTest::addColumn<QString>("reason");
        using F = Database::OpenFailure;
        QTest::newRow("text file") << u"text"_s << F::NotADatabase << u"keine Zelvora-Datenbank"_s;
        QTest::newRow("empty file") << u"empty"_s << F::NotADatabase << u"keine Zelvora-Datenbank"_s;
        QTest::newRow("table missing")
            << u"DROP TABLE tblNachtrag"_s << F::ForeignSchema << u"es fehlt die Tabelle tblNachtrag"_s;
        QTest::newRow("field missing") << u"ALTER TABLE tblFirma DROP COLUMN PLZ"_s << F::ForeignSchema
                                       << u"in der Tabelle tblFirma fehlt das Feld PLZ"_s;
        QTest::newRow("read-only file") << u"read-only"_s << F::ReadOnly << u"schreibgeschützt"_s;
        QTest::newRow("read-only folder") << u"read-only folder"_s << F::ReadOnly << u"schreibgeschützt"_s;
        QTest::newRow("locked file") << u"locked"_s << F::Locked << u"ist gesperrt"_s;
        QTest::newRow("locked while an index is added")
            << u"DROP INDEX ixBuchungFirma;BEGIN IMMEDIATE"_s << F::Locked << u"ist gesperrt"_s;
        QTest::newRow("missing file") << u"missing"_s << F::Missing << u"nicht vorhanden"_s;
    }
    void refusesFile() {
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("ZLV.mdb");
        std::unique_ptr<Database> holder;
        if (setup == "text" || setup == "empty") {
            QVERIFY(TestDatabase::writeFile(path, setup == "text" ? "Standard Jet DB\nnur Text\n" : ""));
        } else if (setup != "missing") {
            QVERIFY(Database::create(path) && (holder = Database::open(path)) && Journal(*holder).suspend());
            for (const QString& statement : setup.split(';'))
                QVERIFY(!statement.front().isUpper() || holder->exec(statement));
            if (setup == "locked")
                QVERIFY(holder->exec("BEGIN EXCLUSIVE"));
            else if (!setup.endsWith("BEGIN IMMEDIATE"))
                holder.reset();
        }
        if (setup.startsWith("read-only"))
            QVERIFY(QFile::setPermissions(setup.endsWith("folder") ? dir.path() : path,
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QString before = TestDatabase::fileState(path);

        Database::OpenFailure kind = Database::OpenFailure::None;
        QString message;
        const std::unique_ptr<Database> db = Database::open(path, &kind, &message, 100);

        const QString after = TestDatabase::fileState(path);
        holder.reset();
        QFile::setPermissions(dir.path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!db);
        QTEST(kind, "failure");
        QVERIFY2(message.startsWith(u"Die Datenbank '%1' kann nicht geöffnet werden:\n"_s.arg(
                     QDir::toNativeSeparators(path))) &&
                     message.contains(reason) && !message.contains("Datensatz"),
                 qPrintable(message));
        QCOMPARE(after, before);
    }

    // A foreign file may spell its tables and fields in another letter case ("TBLPROJEKT"), hold more tables
    // and fields and lack an index, also in a folder whose name holds pattern characters: it opens and is
    // read and written as any other; creating over it is refused and keeps it.
    void acceptsForeignFile() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("Bauamt #1 Ü?%"));
        const QString path = dir.filePath("Bauamt #1 Ü?%/ZLV.mdb");
        QVERIFY(Database::create(path));
        std::unique_ptr<Database> db = Database::open(path);
        for (const QString& statement :
             Schema::tableNames().replaceInStrings(QRegularExpression("^"), "DROP TABLE ") + sixTables() +
                 QStringList{"ALTER TABLE tblProjekt ADD COLUMN Bauleiter TEXT",
                             "CREATE TABLE tblNotiz (Text TEXT)"})
            QVERIFY(db->exec(statement.toUpper().replace(u"STRASSE"_s, u"STRAßE"_s)));
        db.reset();
        QString message;
        QVERIFY(!Database::create(path, &message) && message.contains(QDir::toNativeSeparators(path)));
        db = Database::open(path, nullptr, &message);
        QVERIFY2(db, qPrintable(message));

        Company company;
        company.name = "Dach GmbH";
        company.street = "Am Weg 1";
        const std::optional<qint64> id = CompanyRepository(*db).add(company);
        QVERIFY2(id, qPrintable(db->lastError()));
        QVERIFY(ProjectRepository(*db).add("Rathaus", 45292));
        QCOMPARE(CompanyRepository(*db).find(*id)->street + '|' +
                     QString::number(ProjectRepository(*db).all().first().startDay.value_or(0)),
                 "Am Weg 1|45292");
        QSqlQuery query(db->connection());
        QVERIFY(db->run(query, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'ixBuchungProjektID'") &&
                query.next());
        QCOMPARE(Database::text(query, 0), "1");
        QCOMPARE(QDir(dir.filePath("Bauamt #1 Ü?%")).entryList(QDir::Files), QStringList{"ZLV.mdb"});
    }

    // The engine's failure codes told in German, the engine's own words kept.
    void engineCodeInGerman_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("engineWords");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, int code, const char* words, const QString& expected) {
            QTest::newRow(name) << code << QString::fromUtf8(words) << expected;
        };
        row("busy extended", SQLITE_BUSY_SNAPSHOT, "database is locked", kBusy + " (database is locked).");
        row("locked table", SQLITE_LOCKED, "table is locked", kBusy + " (table is locked).");
        row("disk full", SQLITE_FULL, "database or disk is full",
            "Auf dem Laufwerk der Datenbank ist kein Platz mehr frei (database or disk is full).");
        row("read-only rollback", SQLITE_READONLY_ROLLBACK, "readonly",
            "Die Datenbank ist schreibgeschützt; es kann nichts gespeichert werden (readonly).");
        row("file deleted or moved while open", SQLITE_READONLY_DBMOVED, "readonly",
            "Die Datenbankdatei ist nicht mehr vorhanden; sie wurde gelöscht, umbenannt oder ersetzt "
            "(readonly).");
        row("not a database, engine words trimmed", SQLITE_NOTADB, " not a database \n",
            "Die Datenbank ist beschädigt (not a database).");
        row("cannot open", SQLITE_CANTOPEN, "unable to open",
            "Die Datenbankdatei kann nicht geöffnet werden (unable to open).");
        row("I/O error", SQLITE_IOERR, "disk I/O error",
            "Die Datenbankdatei konnte nicht gelesen oder geschrieben werden, etwa weil die Verbindung zum "
            "Netzlaufwerk unterbrochen ist (disk I/O error).");
        row("no engine words", SQLITE_FULL, "", "Auf dem Laufwerk der Datenbank ist kein Platz mehr frei.");
        row("running number given twice", SQLITE_CONSTRAINT_UNIQUE, "UNIQUE constraint failed",
            "Ein Wert, der nur einmal vorkommen darf (etwa die laufende Nummer einer Buchung im Projekt), "
            "ist "
            "schon vergeben; es wurde nichts gespeichert (UNIQUE constraint failed).");
        row("other failure keeps the engine's words", SQLITE_CONSTRAINT, "Tabelle gesperrt",
            "Tabelle gesperrt");
        row("other failure without words", SQLITE_MISMATCH, "",
            "Unbekannter Fehler der Datenbank (Code 20).");
    }
    void engineCodeInGerman() {
        QFETCH(int, code);
        QFETCH(QString, engineWords);
        QTEST(SqliteFailure::germanText(code, engineWords), "expected");
    }

    // What the engine reports reaches the user as a German sentence, through both ways of running SQL, the
    // engine's words kept in parentheses.
    void engineFailures_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("reading");
        QTest::addColumn<QString>("expected");
        const QString busy = kBusy + " (database is locked).";
        QTest::newRow("in use elsewhere, storing")
            << u"locked"_s << false << "Der Datensatz konnte nicht gespeichert werden: " + busy;
        QTest::newRow("in use elsewhere, reading a list")
            << u"locked"_s << true << "Die Daten konnten nicht gelesen werden: " + busy;
        QTest::newRow("damaged, reading a list")
            << u"damaged"_s << true
            << u"Die Daten konnten nicht gelesen werden: Die Datenbank ist "
               "beschädigt (database disk image is malformed)."_s;
    }
    void engineFailures() {
        QFETCH(QString, setup);
        QFETCH(bool, reading);
        TestDatabase file;
        QVERIFY(setup != "damaged" || file.damageBookings());
        const std::unique_ptr<Database> db = Database::open(file.path(), nullptr, nullptr, 100);
        QVERIFY(db);
        if (setup == "locked")
            file.exec("BEGIN EXCLUSIVE");

        bool ok = true;
        if (reading)
            BookingRepository(*db).forProject("1", &ok);
        else
            ok = db->exec("INSERT INTO tblBuchung (ProjektID, Bemerkungen) VALUES ('1', ?)", {u"x"_s});

        QVERIFY(!ok);
        QTEST(db->lastError(), "expected");
        if (setup == "locked")
            file.exec("ROLLBACK");
    }

    // A COMMIT that the engine refuses, as another program reads the file, leaves nothing of the
    // transaction in the file and the file free for the next write.
    void failedCommitRollsBack() {
        TestDatabase file;
        const std::unique_ptr<Database> db = Database::open(file.path(), nullptr, nullptr, 100);
        QVERIFY(db);
        file.exec("BEGIN");
        QCOMPARE(file.scalar("SELECT COUNT(*) FROM tblProjekt"), "0");
        {
            Transaction transaction(*db);
            QVERIFY(db->exec("INSERT INTO tblProjekt (ProjektName) VALUES ('Rathaus')"));
            QVERIFY(!transaction.commit());
            QVERIFY2(db->lastError().contains("Die Datenbank ist gesperrt,"), qPrintable(db->lastError()));
        }
        file.exec("ROLLBACK");

        Transaction later(*db);
        QVERIFY(db->exec("INSERT INTO tblProjekt (ProjektName) VALUES ('Schule')"));
        QVERIFY2(later.commit(), qPrintable(db->lastError()));
        QVERIFY(file.reopen());
        QCOMPARE(joined(file, "tblProjekt", "ProjektName"), "Schule");
    }

    // The file deleted while the program has it open refuses a booking in plain words, and reading it no
    // longer shows the vanished data; once a file is at its place again (put back, or another one moved
    // there), the next action works on it without the file being opened anew.
    void fileDeletedOrReplacedWhileOpen_data() {
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<int>("bookingsAfter");
        QTest::newRow("deleted, then put back") << true << 2;
        QTest::newRow("replaced by another file") << false << 3;
    }
    void fileDeletedOrReplacedWhileOpen() {
        QFETCH(bool, deleted);
        TestDatabase file;
        const QString other = file.folder() + "/other.mdb";
        file.exec("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', 1)");
        QVERIFY(QFile::copy(file.path(), other));
        QVERIFY(deleted || Database::open(other)->exec("INSERT INTO tblBuchung (ProjektID) VALUES ('1')"));
        BookingRepository bookings(file.db());
        Booking booking;
        booking.projectId = "1";
        bool ok = true;
        if (deleted) {
            QVERIFY(QFile::remove(file.path()));
            QVERIFY(!bookings.book(booking));
            QVERIFY2(file.db().lastError().contains("Die Datenbankdatei ist nicht mehr vorhanden"),
                     qPrintable(file.db().lastError()));
            QVERIFY(bookings.forProject("1", &ok).isEmpty() && !ok);
        }
        QVERIFY(std::rename(qPrintable(other), qPrintable(file.path())) == 0);
        QVERIFY2(bookings.book(booking), qPrintable(file.db().lastError()));
        QTEST(int(bookings.forProject("1", &ok).size()), "bookingsAfter");
    }

    // The copy replaces the day's older backup only when complete and gets the database's rights; the
    // compaction shrinks the file. Whichever step fails, every booking stays and nothing else is left.
    void backupAndCompactionKeepEveryBookingWhicheverStepFails_data() {
        using Step = DatabaseBackup::Step;
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("message");
        const QString notCopied = u"Die Sicherungskopie konnte nicht geschrieben werden: "_s;
        QTest::newRow("nothing fails") << -1 << QString();
        QTest::newRow("copy") << int(Step::Copy) << notCopied;
        QTest::newRow("replace backup") << int(Step::ReplaceBackup) << notCopied;
        QTest::newRow("compact") << int(Step::Compact)
                                 << u"Die Datenbank konnte nicht komprimiert werden: "_s;
    }
    void backupAndCompactionKeepEveryBookingWhicheverStepFails() {
        QFETCH(int, failing);
        QFETCH(QString, message);
        TestDatabase db;
        StoreFixture::fillBookings(db, kBookings);
        StoreFixture::fillBookings(db, kBookings, "2");
        db.exec("DELETE FROM tblBuchung WHERE ProjektID = '2'");
        const qint64 sizeBefore = QFileInfo(db.path()).size();
        const QString backupName = DatabaseBackup::backupFileName(QDate(2024, 1, 1), "ZLV.mdb");
        QCOMPARE(backupName, "01.01.2024_ZLV.mdb");
        const QString backupPath = QDir(db.folder()).filePath(backupName);
        QVERIFY(TestDatabase::writeFile(backupPath, "alte Sicherung vom Vortag"));
        QVERIFY(QFile::setPermissions(backupPath, QFileDevice::ReadOwner));
        const auto rights = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                            QFileDevice::WriteGroup | QFileDevice::ReadOther;
        QVERIFY(QFile::setPermissions(db.path(), rights));
        const QString oldBackup = TestDatabase::fileState(backupPath);
        DatabaseBackup backup;
        backup.setStepHook([&](DatabaseBackup::Step step) { return int(step) != failing; });
        QSqlQuery reading(db.db().connection());
        QVERIFY(db.db().run(reading, "SELECT ID FROM tblBuchung") && reading.next());

        const bool copied = backup.copy(db.path(), backupPath);
        reading.finish();
        const bool compacted = copied && backup.compact(db.path());

        QCOMPARE(compacted, message.isEmpty());
        QCOMPARE(copied, !message.startsWith("Die Sicherungskopie"));
        QVERIFY2(backup.lastError().startsWith(message) && backup.lastError().isEmpty() == message.isEmpty(),
                 qPrintable(backup.lastError()));
        QVERIFY(!compacted || QFileInfo(db.path()).size() < sizeBefore);
        verifyAllBookings(db.path());
        if (copied) {
            verifyAllBookings(backupPath);
            QCOMPARE(QFileInfo(backupPath).permissions() & ~QFileDevice::Permissions(0x0700), rights);
        } else {
            QCOMPARE(TestDatabase::fileState(backupPath), oldBackup);
        }
        QCOMPARE(filesIn(db.folder()), (QStringList{backupName, "ZLV.mdb"}));
    }

    void missingDatabaseLeavesNothingBehind() {
        QTemporaryDir dir;
        DatabaseBackup backup;
        QVERIFY(!backup.copy(dir.filePath("ZLV.mdb"), dir.filePath("01.01.2024_ZLV.mdb")));
        QVERIFY2(backup.lastError().contains("kann nicht gelesen werden"), qPrintable(backup.lastError()));
        QCOMPARE(filesIn(dir.path()), QStringList());
    }

    void halfWrittenChangeOfACrashIsRolledBackBeforeTheCopy() {
        TestDatabase db;
        StoreFixture::fillBookings(db, kBookings, "1", 200);
        QTemporaryDir crashed;
        const QString crashedPath = crashed.filePath("ZLV.mdb");
        db.exec("PRAGMA cache_size = 2");
        QVERIFY(db.db().beginTransaction());
        db.exec("UPDATE tblBuchung SET Bemerkungen = 'halb geschrieben', Betrag = 0");
        QVERIFY(QFile::copy(db.path(), crashedPath));
        QVERIFY(QFile::copy(db.path() + "-journal", crashedPath + "-journal"));
        QVERIFY(db.db().rollback());
        QVERIFY(QFileInfo(crashedPath + "-journal").size() > 0);
        DatabaseBackup backup;

        QCOMPARE(backup.check(crashedPath), DatabaseBackup::Condition::Intact);
        QVERIFY2(backup.copy(crashedPath, crashed.filePath("01.01.2024_ZLV.mdb")),
                 qPrintable(backup.lastError()));

        verifyAllBookings(crashed.filePath("01.01.2024_ZLV.mdb"));
        verifyAllBookings(crashedPath);
        QCOMPARE(filesIn(crashed.path()), (QStringList{"01.01.2024_ZLV.mdb", "ZLV.mdb"}));
    }

    void leftoverScratchFilesOfTheDatabaseAreRemovedAndNothingElse() {
        TestDatabase db;
        const QDir folder(db.folder());
        QStringList leftBehind;
        DatabaseBackup interrupted;
        interrupted.setStepHook([&](DatabaseBackup::Step step) {
            leftBehind = folder.entryList({".*"}, QDir::Files | QDir::Hidden);
            return step != DatabaseBackup::Step::ReplaceBackup;
        });
        QVERIFY(!interrupted.copy(db.path(), folder.filePath("02.01.2024_ZLV.mdb")));
        QCOMPARE(leftBehind.size(), 1);
        const QStringList others =
            u"01.01.2024_ZLV.mdb .01.01.2024_ZLV.mdb.AbCxYz .01.01.2024_ZLV.mdb.AbCxY.zlv-tmp "
            ".01.01.2024_Alt.mdb.AbCxYz.zlv-tmp x.01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp "
            ".01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp.txt Notiz.zlv-tmp"_s.split(' ');
        for (const QString& name : leftBehind + others +
                                       QStringList{".01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp",
                                                   ".01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp-journal"})
            QVERIFY(TestDatabase::writeFile(folder.filePath(name), "Inhalt"));
        DatabaseBackup backup;

        QVERIFY2(backup.copy(db.path(), folder.filePath("02.01.2024_ZLV.mdb")),
                 qPrintable(backup.lastError()));

        QStringList expected = others + QStringList{"02.01.2024_ZLV.mdb", "ZLV.mdb"};
        expected.sort();
        QCOMPARE(filesIn(db.folder()), expected);
    }

    // The check leaves the file as it was and tells why it is damaged or could not be checked.
    void checkTellsIntactDamagedOrUnchecked_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<DatabaseBackup::Condition>("condition");
        QTest::addColumn<QString>("message"); // %1: the database's path
        using C = DatabaseBackup::Condition;
        QTest::newRow("intact") << u"intact"_s << C::Intact << QString();
        QTest::newRow("damaged page")
            << u"damaged"_s << C::Damaged << u"Die Datenbank '%1' ist beschädigt ("_s;
        QTest::newRow("no database at all")
            << u"text"_s << C::Damaged << u"Die Datenbank '%1' ist beschädigt (file is not a database)."_s;
        QTest::newRow("missing")
            << u"missing"_s << C::Unchecked
            << u"Die Datenbank '%1' konnte nicht geprüft werden: Die Datenbankdatei kann "
               "nicht geöffnet werden"_s;
        QTest::newRow("in use elsewhere")
            << u"locked"_s << C::Unchecked
            << u"Die Datenbank '%1' konnte nicht geprüft werden: Die Datenbank ist gesperrt,"_s;
    }
    void checkTellsIntactDamagedOrUnchecked() {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        TestDatabase db;
        QVERIFY(setup != "damaged" || db.damageBookings());
        QVERIFY(setup != "text" || TestDatabase::writeFile(db.path(), QByteArray(4096, 'x')));
        QVERIFY(setup != "missing" || QFile::remove(db.path()));
        if (setup == "locked")
            db.exec("BEGIN EXCLUSIVE");
        const QString before = TestDatabase::fileState(db.path());
        DatabaseBackup backup;

        QTEST(backup.check(db.path()), "condition");

        QVERIFY2(message.isEmpty()
                     ? backup.lastError().isEmpty()
                     : backup.lastError().startsWith(message.arg(QDir::toNativeSeparators(db.path()))),
                 qPrintable(backup.lastError()));
        QCOMPARE(TestDatabase::fileState(db.path()), before);
    }

    // A typed pattern has * and ? as its only wildcards and ignores letter case, umlauts included; it
    // matches and folds alike on its own and in the file, where a number is matched by its decimal text.
    void typedPatternMatchesOnItsOwnAndInTheFile_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<bool>("expected");
        const auto row = [](const char* pattern, const QVariant& text, bool expected) {
            QTest::addRow("%s %s", pattern, qPrintable(text.isNull() ? "null" : text.toString()))
                << QString::fromUtf8(pattern) << text << expected;
        };
        row("*", u""_s, true);
        row("", u"a"_s, false);
        row("*bau*", u"Müller Bau GmbH"_s, true);
        row("bau*", u"Müller Bau"_s, false);
        row("ÄRZTE", u"ärzte"_s, true);
        row("arzte", u"ärzte"_s, false);
        row("M?ller", u"Müller"_s, true);
        row("M?ller", u"Mller"_s, false);
        row("100%", u"100%"_s, true);
        row("100%", u"1000"_s, false);
        row("a_b", u"axb"_s, false);
        row("*ab*ab", u"xabyabab"_s, true);
        row("*ab*abc", u"xabyabab"_s, false);
        row("*12*", qint64(112), true);
        row("*", QVariant(), false);
    }
    void typedPatternMatchesOnItsOwnAndInTheFile() {
        QFETCH(QString, pattern);
        QFETCH(QVariant, text);
        QFETCH(bool, expected);
        QVERIFY(text.isNull() || PatternMatcher::matches(pattern, text.toString()) == expected);
        QCOMPARE(m_db.scalar("SELECT COUNT(*) WHERE ? LIKE ?", {text, pattern}), QString::number(expected));
        QCOMPARE(m_db.scalar("SELECT fold(?)", {pattern}), SameName::fold(pattern));
    }
};

QTEST_GUILESS_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
