#include "Database.h"
#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "ProjectRepository.h"
#include "Schema.h"
#include "StoreFixture.h"
#include "Transaction.h"

#include <cstdio>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace StoreFixture;

// Creating, opening and refusing database files.
class DatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void newFileHoldsTheTablesAndPresets() {
        TestDatabase db;
        QCOMPARE(fields(db, "tblProjekt"), "ID,ProjektName,Datumwert");
        QCOMPARE(
            fields(db, "tblFirma"),
            "ID,Name,Straße,PLZ,Ort,Telefon1,Telefon2,Mobil,eMail,Ansprechpartner,GewerkID,KostengruppeID");
        QCOMPARE(fields(db, "tblGewerk") + '|' + fields(db, "tblKostengruppe"), "ID,Gewerk|ID,Kostengruppe");
        QCOMPARE(fields(db, "tblBuchung"), "ID,PID,ProjektID,Projekt,Firma,Gewerk,Kostengruppe,AnweisungVom,"
                                           "RechnungVom,RechnungsNr,Zahlungsart,Bemerkungen,Betrag");
        QCOMPARE(fields(db, "tblNachtrag"), "NID,ProjektID,Projekt,Firma,Gewerk,Kostengruppe,ArchitektDatum,"
                                            "ArchitektKosten,NachtragDatum,NachtragArt,NachtragKosten");
        QCOMPARE(journalMode(db), "delete");
        QCOMPARE(db.scalar("SELECT COUNT(*) || '/' || SUM(Kostengruppe = '320 Gründung, Unterbau') "
                           "FROM tblKostengruppe"),
                 "60/1");
        QCOMPARE(
            db.scalar("SELECT COUNT(*) >= 30 AND SUM(Gewerk = 'Gas-, Wasser- und Entwässerungsanlagen') = 1 "
                      "FROM tblGewerk"),
            "1");
        QCOMPARE(db.scalar("SELECT NULL") + '|' + db.scalar("SELECT 38353.0"), "|38353");
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
            QVERIFY(Database::create(path) && (holder = Database::open(path)));
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

    // A file with more tables and fields and without an index opens, also in a folder whose name holds
    // pattern characters; creating over it is refused and keeps it.
    void acceptsExtraTablesAndFields() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("Bauamt #1 Ü?%"));
        const QString path = dir.filePath("Bauamt #1 Ü?%/ZLV.mdb");
        QVERIFY(Database::create(path));
        {
            const std::unique_ptr<Database> db = Database::open(path);
            for (const char* statement :
                 {"ALTER TABLE tblProjekt ADD COLUMN Bauleiter TEXT", "CREATE TABLE tblNotiz (Text TEXT)",
                  "DROP INDEX ixBuchungProjektID", "INSERT INTO tblProjekt (ProjektName) VALUES ('Rathaus')"})
                QVERIFY(db->exec(statement));
        }
        QString message;
        QVERIFY(!Database::create(path, &message));
        QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
        const std::unique_ptr<Database> db = Database::open(path, nullptr, &message);
        QVERIFY2(db, qPrintable(message));
        QSqlQuery query(db->connection());
        QVERIFY(db->run(query,
                        "SELECT ProjektName || (SELECT COUNT(*) FROM sqlite_master WHERE name = "
                        "'ixBuchungProjektID') FROM tblProjekt WHERE ProjektName LIKE ?",
                        {u"*RAT*"_s}) &&
                query.next());
        QCOMPARE(Database::text(query, 0), "Rathaus1");
        QCOMPARE(QDir(dir.filePath("Bauamt #1 Ü?%")).entryList(QDir::Files), QStringList{"ZLV.mdb"});
    }

    // A foreign file may spell its tables and fields in another letter case ("tblprojekt", "PROJEKTNAME");
    // it opens and is read and written as any other.
    void acceptsNamesInAnyLetterCase_data() {
        QTest::addColumn<bool>("upper");
        QTest::newRow("lower case") << false;
        QTest::newRow("upper case") << true;
    }
    void acceptsNamesInAnyLetterCase() {
        QFETCH(bool, upper);
        TestDatabase file;
        for (const QString& table : Schema::tableNames())
            file.exec(u"DROP TABLE %1"_s.arg(table));
        for (QString statement : Schema::tableStatements()) {
            for (QChar& c : statement)
                c = c.unicode() >= 0x80 ? c : upper ? c.toUpper() : c.toLower();
            file.exec(statement);
        }
        QVERIFY(fields(file, "tblFirma").contains(upper ? "STRAßE,PLZ" : "straße,plz"));
        QVERIFY(file.reopen());

        Company company;
        company.name = "Dach GmbH";
        company.street = "Am Weg 1";
        const std::optional<qint64> id = CompanyRepository(file.db()).add(company);
        QVERIFY2(id, qPrintable(file.db().lastError()));
        QCOMPARE(CompanyRepository(file.db()).find(*id)->street, company.street);
        QVERIFY(ProjectRepository(file.db()).add("Rathaus", 45292));
        QCOMPARE(ProjectRepository(file.db()).all().first().startDay, std::optional<int>(45292));
    }

    // What the engine reports reaches the user as a German sentence, through both ways of running SQL, the
    // engine's words kept in parentheses.
    void engineFailures_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("reading");
        QTest::addColumn<QString>("expected");
        const QString busy =
            "Die Datenbank ist gesperrt, weil ein anderes Programm oder ein anderer Arbeitsplatz "
            "gerade mit ihr arbeitet. Bitte versuchen Sie es in einem Augenblick noch einmal "
            "(database is locked).";
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

    // A COMMIT that the engine refuses leaves nothing of the transaction in the file and the file free for
    // the next write.
    void failedCommitRollsBack_data() {
        QTest::addColumn<bool>("foreignKey");
        QTest::addColumn<QString>("reason");
        QTest::newRow("deferred foreign key") << true << u"FOREIGN KEY constraint failed"_s;
        QTest::newRow("another program reads the file") << false << u"Die Datenbank ist gesperrt,"_s;
    }
    void failedCommitRollsBack() {
        QFETCH(bool, foreignKey);
        QFETCH(QString, reason);
        TestDatabase file;
        const std::unique_ptr<Database> db = Database::open(file.path(), nullptr, nullptr, 100);
        QVERIFY(db);
        if (foreignKey) {
            QVERIFY(db->exec("PRAGMA foreign_keys = ON"));
            QVERIFY(db->exec("CREATE TABLE tblPruefung (ProjektID INTEGER REFERENCES tblProjekt (ID) "
                             "DEFERRABLE INITIALLY DEFERRED)"));
        } else {
            file.exec("BEGIN");
            QCOMPARE(file.scalar("SELECT COUNT(*) FROM tblProjekt"), "0");
        }
        {
            Transaction transaction(*db);
            QVERIFY(transaction.isActive());
            QVERIFY(db->exec("INSERT INTO tblProjekt (ProjektName) VALUES ('Rathaus')"));
            QVERIFY(!foreignKey || db->exec("INSERT INTO tblPruefung (ProjektID) VALUES (99)"));
            QVERIFY(!transaction.commit());
            QVERIFY2(db->lastError().contains(reason), qPrintable(db->lastError()));
            QVERIFY(!db->inTransaction());
            QSqlQuery query(db->connection());
            QVERIFY(db->run(query, "SELECT COUNT(*) FROM tblProjekt") && query.next());
            QCOMPARE(Database::text(query, 0), "0");
        }
        if (!foreignKey)
            file.exec("ROLLBACK");

        Transaction later(*db);
        QVERIFY2(later.isActive(), qPrintable(db->lastError()));
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
};

QTEST_GUILESS_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
