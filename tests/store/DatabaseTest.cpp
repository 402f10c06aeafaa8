#include "Database.h"
#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "ProjectRepository.h"
#include "Schema.h"
#include "TestDatabase.h"
#include "Transaction.h"

#include <cstdio>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// Creating, opening and refusing database files.
class DatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void newFile_data();
    void newFile();
    void refusesFile_data();
    void refusesFile();
    void acceptsExtraTablesAndFields();
    void acceptsNamesInAnyLetterCase_data();
    void acceptsNamesInAnyLetterCase();
    void engineFailures_data();
    void engineFailures();
    void failedCommitRollsBack_data();
    void failedCommitRollsBack();
    void fileDeletedOrReplacedWhileOpen_data();
    void fileDeletedOrReplacedWhileOpen();
};

void DatabaseTest::newFile_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QString& sql, const char* expected) {
        QTest::newRow(name) << sql << QString::fromUtf8(expected);
    };
    const auto table = [&](const char* name, const char* expected) {
        row(name,
            QStringLiteral("SELECT group_concat(name) FROM pragma_table_info('%1')").arg(QLatin1String(name)),
            expected);
    };
    table("tblProjekt", "ID,ProjektName,Datumwert");
    table("tblFirma", "ID,Name,Straße,PLZ,Ort,Telefon1,Telefon2,Mobil,eMail,Ansprechpartner,GewerkID,"
                      "KostengruppeID");
    table("tblGewerk", "ID,Gewerk");
    table("tblKostengruppe", "ID,Kostengruppe");
    table("tblBuchung", "ID,PID,ProjektID,Projekt,Firma,Gewerk,Kostengruppe,AnweisungVom,RechnungVom,"
                        "RechnungsNr,Zahlungsart,Bemerkungen,Betrag");
    table("tblNachtrag", "NID,ProjektID,Projekt,Firma,Gewerk,Kostengruppe,ArchitektDatum,ArchitektKosten,"
                         "NachtragDatum,NachtragArt,NachtragKosten");
    row("journal", QStringLiteral("PRAGMA journal_mode"), "delete");
    row("cost group presets",
        QStringLiteral(
            "SELECT COUNT(*) || '/' || SUM(Kostengruppe = '320 Gründung, Unterbau') FROM tblKostengruppe"),
        "60/1");
    row("trade presets",
        QStringLiteral("SELECT COUNT(*) >= 30 AND SUM(Gewerk = 'Gas-, Wasser- und Entwässerungsanlagen') = 1 "
                       "FROM tblGewerk"),
        "1");
    row("null read as empty", QStringLiteral("SELECT NULL"), "");
    row("whole real without fraction", QStringLiteral("SELECT 38353.0"), "38353");
}

void DatabaseTest::newFile() {
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    TestDatabase db;
    QCOMPARE(db.scalar(sql), expected);
}

void DatabaseTest::refusesFile_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<Database::OpenFailure>("failure");
    QTest::addColumn<QString>("reason");
    using F = Database::OpenFailure;
    const auto row = [](const char* name, const char* setup, F failure, const char* reason) {
        QTest::newRow(name) << QString::fromLatin1(setup) << failure << QString::fromUtf8(reason);
    };
    row("text file", "text", F::NotADatabase, "keine Zelvora-Datenbank");
    row("empty file", "empty", F::NotADatabase, "keine Zelvora-Datenbank");
    row("table missing", "DROP TABLE tblNachtrag", F::ForeignSchema, "es fehlt die Tabelle tblNachtrag");
    row("field missing", "ALTER TABLE tblFirma DROP COLUMN PLZ", F::ForeignSchema,
        "in der Tabelle tblFirma fehlt das Feld PLZ");
    row("read-only file", "read-only", F::ReadOnly, "schreibgeschützt");
    row("read-only folder", "read-only folder", F::ReadOnly, "schreibgeschützt");
    row("locked file", "locked", F::Locked, "ist gesperrt");
    row("locked while an index is added", "DROP INDEX ixBuchungFirma;BEGIN IMMEDIATE", F::Locked,
        "ist gesperrt");
    row("missing file", "missing", F::Missing, "nicht vorhanden");
}

void DatabaseTest::refusesFile() {
    QFETCH(QString, setup);
    QFETCH(Database::OpenFailure, failure);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZLV.mdb"));
    std::unique_ptr<Database> holder;
    if (setup == QLatin1String("text") || setup == QLatin1String("empty")) {
        QVERIFY(TestDatabase::writeFile(path,
                                        setup == QLatin1String("text") ? "Standard Jet DB\nnur Text\n" : ""));
    } else if (setup != QLatin1String("missing")) {
        QVERIFY(Database::create(path) && (holder = Database::open(path)));
        for (const QString& statement : setup.split(QLatin1Char(';')))
            QVERIFY(!statement.front().isUpper() || holder->exec(statement));
        if (setup == QLatin1String("locked"))
            QVERIFY(holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));
        else if (!setup.endsWith(QLatin1String("BEGIN IMMEDIATE")))
            holder.reset();
    }
    if (setup == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    if (setup == QLatin1String("read-only folder"))
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString before = TestDatabase::fileState(path);

    Database::OpenFailure kind = Database::OpenFailure::None;
    QString message;
    const std::unique_ptr<Database> db = Database::open(path, &kind, &message, 100);
    const QString after = TestDatabase::fileState(path);
    holder.reset();
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QVERIFY(!db);
    QCOMPARE(kind, failure);
    QVERIFY2(message.startsWith(QStringLiteral("Die Datenbank '%1' kann nicht geöffnet werden:\n")
                                    .arg(QDir::toNativeSeparators(path))) &&
                 message.contains(reason) && !message.contains(QStringLiteral("Datensatz")),
             qPrintable(message));
    QCOMPARE(after, before);
}

// Also: creating over an existing file is refused and keeps it.
void DatabaseTest::acceptsExtraTablesAndFields() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Bauamt #1 Ü?%")));
    const QString path = dir.filePath(QStringLiteral("Bauamt #1 Ü?%/ZLV.mdb"));
    QVERIFY(Database::create(path));
    {
        const std::unique_ptr<Database> db = Database::open(path);
        QVERIFY(db && db->exec(QStringLiteral("ALTER TABLE tblProjekt ADD COLUMN Bauleiter TEXT")) &&
                db->exec(QStringLiteral("CREATE TABLE tblNotiz (Text TEXT)")) &&
                db->exec(QStringLiteral("DROP INDEX ixBuchungProjektID")) &&
                db->exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('Rathaus')")));
    }
    QString message;
    QVERIFY(!Database::create(path, &message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
    const std::unique_ptr<Database> db = Database::open(path, nullptr, &message);
    QVERIFY2(db, qPrintable(message));
    QSqlQuery query(db->connection());
    QVERIFY(db->run(query,
                    QStringLiteral("SELECT ProjektName, (SELECT COUNT(*) FROM sqlite_master WHERE name = "
                                   "'ixBuchungProjektID') FROM tblProjekt WHERE ProjektName LIKE ?"),
                    {QStringLiteral("*RAT*")}));
    QVERIFY(query.next());
    QCOMPARE(Database::text(query, 0) + Database::text(query, 1), QStringLiteral("Rathaus1"));
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("ZLV.mdb")});
}

void DatabaseTest::acceptsNamesInAnyLetterCase_data() {
    QTest::addColumn<bool>("upper");
    QTest::newRow("lower case") << false;
    QTest::newRow("upper case") << true;
}

// A foreign file may spell its tables and fields in another letter case ("tblprojekt", "PROJEKTNAME"); it
// opens and is read and written as any other.
void DatabaseTest::acceptsNamesInAnyLetterCase() {
    QFETCH(bool, upper);
    TestDatabase file;
    for (const QString& table : Schema::tableNames())
        file.exec(QStringLiteral("DROP TABLE %1").arg(table));
    for (const QString& statement : Schema::tableStatements()) {
        QString spelled = statement;
        for (QChar& c : spelled) {
            if (c.unicode() < 0x80)
                c = upper ? c.toUpper() : c.toLower();
        }
        file.exec(spelled);
    }
    QVERIFY(file.scalar(QStringLiteral("SELECT group_concat(name) FROM pragma_table_info('tblFirma')"))
                .contains(upper ? QStringLiteral("STRAßE,PLZ") : QStringLiteral("straße,plz")));
    QVERIFY(file.reopen());

    Company company;
    company.name = QStringLiteral("Dach GmbH");
    company.street = QStringLiteral("Am Weg 1");
    const std::optional<qint64> id = CompanyRepository(file.db()).add(company);
    QVERIFY2(id, qPrintable(file.db().lastError()));
    QCOMPARE(CompanyRepository(file.db()).find(*id)->street, company.street);
    QVERIFY(ProjectRepository(file.db()).add(QStringLiteral("Rathaus"), 45292));
    QCOMPARE(ProjectRepository(file.db()).all().first().startDay, std::optional<int>(45292));
}

// What the engine reports reaches the user as a German sentence, through both ways of running SQL, the
// engine's words kept in parentheses.
void DatabaseTest::engineFailures_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* setup, bool reading, const char* expected) {
        QTest::newRow(name) << QString::fromLatin1(setup) << reading << QString::fromUtf8(expected);
    };
    const char* busy = "Die Datenbank ist gesperrt, weil ein anderes Programm oder ein anderer Arbeitsplatz "
                       "gerade mit ihr arbeitet. Bitte versuchen Sie es in einem Augenblick noch einmal "
                       "(database is locked).";
    row("in use elsewhere, storing", "locked", false,
        QByteArray("Der Datensatz konnte nicht gespeichert werden: ").append(busy).data());
    row("in use elsewhere, reading a list", "locked", true,
        QByteArray("Die Daten konnten nicht gelesen werden: ").append(busy).data());
    row("damaged, reading a list", "damaged", true,
        "Die Daten konnten nicht gelesen werden: Die Datenbank ist beschädigt (database disk image is "
        "malformed).");
}

void DatabaseTest::engineFailures() {
    QFETCH(QString, setup);
    QFETCH(bool, reading);
    QFETCH(QString, expected);
    TestDatabase file;
    if (setup == QLatin1String("damaged"))
        QVERIFY(file.damageBookings());
    const std::unique_ptr<Database> db = Database::open(file.path(), nullptr, nullptr, 100);
    QVERIFY(db);
    if (setup == QLatin1String("locked"))
        file.exec(QStringLiteral("BEGIN EXCLUSIVE"));

    bool ok = true;
    if (reading)
        BookingRepository(*db).forProject(QStringLiteral("1"), &ok);
    else
        ok = db->exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID, Bemerkungen) VALUES ('1', ?)"),
                      {QStringLiteral("x")});
    QVERIFY(!ok);
    QCOMPARE(db->lastError(), expected);
    if (setup == QLatin1String("locked"))
        file.exec(QStringLiteral("ROLLBACK"));
}

// A COMMIT that the engine refuses leaves nothing of the transaction in the file and the file free for the
// next write.
void DatabaseTest::failedCommitRollsBack_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("reason");
    QTest::newRow("deferred foreign key") << "foreign key"
                                          << "FOREIGN KEY constraint failed";
    QTest::newRow("another program reads the file") << "reader"
                                                    << "Die Datenbank ist gesperrt,";
}

void DatabaseTest::failedCommitRollsBack() {
    QFETCH(QString, cause);
    QFETCH(QString, reason);
    TestDatabase file;
    const std::unique_ptr<Database> db = Database::open(file.path(), nullptr, nullptr, 100);
    QVERIFY(db);
    const QString projects = QStringLiteral("SELECT COUNT(*) FROM tblProjekt");
    if (cause == QLatin1String("foreign key")) {
        QVERIFY(db->exec(QStringLiteral("PRAGMA foreign_keys = ON")));
        QVERIFY(db->exec(QStringLiteral("CREATE TABLE tblPruefung (ProjektID INTEGER REFERENCES "
                                        "tblProjekt (ID) DEFERRABLE INITIALLY DEFERRED)")));
    } else {
        file.exec(QStringLiteral("BEGIN"));
        QCOMPARE(file.scalar(projects), QStringLiteral("0"));
    }

    {
        Transaction transaction(*db);
        QVERIFY(transaction.isActive());
        QVERIFY(db->exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('Rathaus')")));
        if (cause == QLatin1String("foreign key"))
            QVERIFY(db->exec(QStringLiteral("INSERT INTO tblPruefung (ProjektID) VALUES (99)")));
        QVERIFY(!transaction.commit());
        QVERIFY2(db->lastError().contains(reason), qPrintable(db->lastError()));
        QVERIFY(!db->inTransaction());
        QSqlQuery query(db->connection());
        QVERIFY(db->run(query, projects) && query.next());
        QCOMPARE(Database::text(query, 0), QStringLiteral("0"));
    }
    if (cause == QLatin1String("reader"))
        file.exec(QStringLiteral("ROLLBACK"));

    Transaction later(*db);
    QVERIFY2(later.isActive(), qPrintable(db->lastError()));
    QVERIFY(db->exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('Schule')")));
    QVERIFY2(later.commit(), qPrintable(db->lastError()));
    QVERIFY(file.reopen());
    QCOMPARE(file.scalar(QStringLiteral("SELECT group_concat(ProjektName) FROM tblProjekt")),
             QStringLiteral("Schule"));
}

// The file deleted while the program has it open refuses a booking in plain words, and reading it no
// longer shows the vanished data; once a file is at its place again (put back, or another one moved
// there), the next action works on it without the file being opened anew.
void DatabaseTest::fileDeletedOrReplacedWhileOpen_data() {
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<int>("bookingsAfter");
    QTest::newRow("deleted, then put back") << true << 2;
    QTest::newRow("replaced by another file") << false << 3;
}

void DatabaseTest::fileDeletedOrReplacedWhileOpen() {
    QFETCH(bool, deleted);
    QFETCH(int, bookingsAfter);
    TestDatabase file;
    const QString other = file.folder() + QStringLiteral("/other.mdb");
    file.exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', 1)"));
    QVERIFY(QFile::copy(file.path(), other));
    if (!deleted)
        QVERIFY(
            Database::open(other)->exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID) VALUES ('1')")));
    BookingRepository bookings(file.db());
    Booking booking;
    booking.projectId = QStringLiteral("1");
    bool ok = true;
    if (deleted) {
        QVERIFY(QFile::remove(file.path()));
        QVERIFY(!bookings.book(booking));
        QVERIFY2(
            file.db().lastError().contains(QStringLiteral("Die Datenbankdatei ist nicht mehr vorhanden")),
            qPrintable(file.db().lastError()));
        QVERIFY(bookings.forProject(QStringLiteral("1"), &ok).isEmpty() && !ok);
    }
    QVERIFY(std::rename(qPrintable(other), qPrintable(file.path())) == 0);
    QVERIFY2(bookings.book(booking), qPrintable(file.db().lastError()));
    QCOMPARE(bookings.forProject(QStringLiteral("1"), &ok).size(), bookingsAfter);
}

QTEST_GUILESS_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
