#include "DatabaseBackup.h"
#include "BookingRepository.h"
#include "Database.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kBookings = 400;

// Opens path as the program does and checks that every booking is there, intact.
void verifyAllBookings(const QString& path) {
    QString message;
    const std::unique_ptr<Database> db = Database::open(path, nullptr, &message);
    QVERIFY2(db, qPrintable(message));
    const QList<Booking> rows = BookingRepository(*db).forProject(QStringLiteral("1"));
    QCOMPARE(rows.size(), kBookings);
    QCOMPARE(rows.last().amount, std::optional<Money>(Money::fromCents(kBookings * 100 + 1)));
    QSqlQuery query(db->connection());
    QVERIFY(db->run(query, QStringLiteral("PRAGMA integrity_check")) && query.next());
    QCOMPARE(Database::text(query, 0), QStringLiteral("ok"));
}

} // namespace

// The dated backup copy of a database file and the compaction.
class DatabaseBackupTest : public QObject {
    Q_OBJECT

private slots:
    void copyAndCompact_data();
    void copyAndCompact();
    void missingDatabaseReadsGerman();
    void hotJournalIsRolledBack();
    void copyKeepsPermissions_data();
    void copyKeepsPermissions();
    void leftoverScratchFilesAreRemoved();
    void check_data();
    void check();
};

void DatabaseBackupTest::copyAndCompact_data() {
    QTest::addColumn<int>("failing");
    QTest::newRow("nothing fails") << -1;
    QTest::newRow("copy") << int(DatabaseBackup::Step::Copy);
    QTest::newRow("replace backup") << int(DatabaseBackup::Step::ReplaceBackup);
    QTest::newRow("compact") << int(DatabaseBackup::Step::Compact);
}

void DatabaseBackupTest::copyAndCompact() {
    QFETCH(int, failing);
    TestDatabase db;
    QVERIFY(db.isValid());
    const QString fill = QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) INSERT INTO tblBuchung "
        "(PID, ProjektID, Firma, Bemerkungen, Betrag) SELECT i, ?, 'Firma ' || i, hex(zeroblob(100)), i + "
        "0.01 FROM n");
    db.exec(fill, {kBookings, QStringLiteral("1")});
    db.exec(fill, {kBookings, QStringLiteral("2")});
    db.exec(QStringLiteral("DELETE FROM tblBuchung WHERE ProjektID = '2'"));
    const qint64 sizeBefore = QFileInfo(db.path()).size();
    const QString backupName = DatabaseBackup::backupFileName(QDate(2024, 1, 1), QStringLiteral("ZLV.mdb"));
    QCOMPARE(backupName, QStringLiteral("01.01.2024_ZLV.mdb"));
    const QString backupPath = QDir(db.folder()).filePath(backupName);
    QVERIFY(TestDatabase::writeFile(backupPath, "alte Sicherung vom Vortag"));
    const QString oldBackup = TestDatabase::fileState(backupPath);

    DatabaseBackup backup;
    backup.setStepHook([&](DatabaseBackup::Step step) { return int(step) != failing; });
    QSqlQuery reading(db.db().connection());
    QVERIFY(db.db().run(reading, QStringLiteral("SELECT ID FROM tblBuchung")) && reading.next());
    const bool copied = backup.copy(db.path(), backupPath);
    reading.finish();
    const bool compacted = copied && backup.compact(db.path());
    QCOMPARE(compacted, failing < 0);
    QCOMPARE(copied, failing < 0 || failing == int(DatabaseBackup::Step::Compact));
    const QString message = !copied ? QStringLiteral("Die Sicherungskopie konnte nicht geschrieben werden: ")
                            : !compacted ? QStringLiteral("Die Datenbank konnte nicht komprimiert werden: ")
                                         : QString();
    QVERIFY2(backup.lastError().startsWith(message), qPrintable(backup.lastError()));
    QVERIFY(!compacted || QFileInfo(db.path()).size() < sizeBefore);
    verifyAllBookings(db.path());
    if (copied)
        verifyAllBookings(backupPath);
    else
        QCOMPARE(TestDatabase::fileState(backupPath), oldBackup);
    QCOMPARE(QDir(db.folder()).entryList(QDir::Files | QDir::Hidden), (QStringList{backupName, "ZLV.mdb"}));
    db.exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('nach der Sicherung')"));
}

void DatabaseBackupTest::missingDatabaseReadsGerman() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("ZLV.mdb"));
    DatabaseBackup backup;
    QVERIFY(!backup.copy(missing, dir.filePath(QStringLiteral("01.01.2024_ZLV.mdb"))));
    QCOMPARE(
        backup.lastError(),
        QStringLiteral("Die Sicherungskopie konnte nicht geschrieben werden: Die Datenbank '%1' kann nicht "
                       "gelesen werden: Die Datenbankdatei kann nicht geöffnet werden (unable to open "
                       "database file).")
            .arg(QDir::toNativeSeparators(missing)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// A workstation that crashed while writing leaves the file half-changed and its journal beside it; the next
// backup rolls the change back and copies the state from before it.
void DatabaseBackupTest::hotJournalIsRolledBack() {
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                           "INSERT INTO tblBuchung (PID, ProjektID, Bemerkungen, Betrag) "
                           "SELECT i, '1', hex(zeroblob(200)), i + 0.01 FROM n"),
            {kBookings});
    QTemporaryDir crashed;
    const QString crashedPath = crashed.filePath(QStringLiteral("ZLV.mdb"));
    // A small cache makes the engine write changed pages into the file before the commit.
    db.exec(QStringLiteral("PRAGMA cache_size = 2"));
    QVERIFY(db.db().beginTransaction());
    db.exec(QStringLiteral("UPDATE tblBuchung SET Bemerkungen = 'halb geschrieben', Betrag = 0"));
    QVERIFY(QFile::copy(db.path(), crashedPath));
    QVERIFY(QFile::copy(db.path() + QStringLiteral("-journal"), crashedPath + QStringLiteral("-journal")));
    QVERIFY(db.db().rollback());
    QVERIFY(QFileInfo(crashedPath + QStringLiteral("-journal")).size() > 0);

    const QString backupPath = crashed.filePath(QStringLiteral("01.01.2024_ZLV.mdb"));
    DatabaseBackup backup;
    QCOMPARE(backup.check(crashedPath), DatabaseBackup::Condition::Intact);
    QVERIFY(!QFile::exists(crashedPath + QStringLiteral("-journal")));
    QVERIFY2(backup.copy(crashedPath, backupPath), qPrintable(backup.lastError()));
    QCOMPARE(backup.lastError(), QString());
    verifyAllBookings(backupPath);
    {
        const std::unique_ptr<Database> copy = Database::open(backupPath);
        QVERIFY(copy);
        QSqlQuery query(copy->connection());
        QVERIFY(copy->run(query, QStringLiteral("SELECT COUNT(*) FROM tblBuchung WHERE Betrag = 0 OR "
                                                "Bemerkungen = 'halb geschrieben'")) &&
                query.next());
        QCOMPARE(Database::text(query, 0), QStringLiteral("0"));
    }
    verifyAllBookings(crashedPath);
    QCOMPARE(QDir(crashed.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("01.01.2024_ZLV.mdb"), QStringLiteral("ZLV.mdb")}));
}

// Colleagues who may read the database on a shared folder may read its backup too, also when it replaces an
// older one.
void DatabaseBackupTest::copyKeepsPermissions_data() {
    using P = QFileDevice;
    QTest::addColumn<QFileDevice::Permissions>("permissions");
    QTest::addColumn<bool>("replacing");
    const QFileDevice::Permissions group = P::ReadOwner | P::WriteOwner | P::ReadGroup | P::WriteGroup;
    QTest::newRow("group may write") << group << false;
    QTest::newRow("group may write, replacing") << group << true;
    QTest::newRow("all may read") << (P::ReadOwner | P::WriteOwner | P::ReadGroup | P::ReadOther) << false;
    QTest::newRow("owner only") << (P::ReadOwner | P::WriteOwner) << true;
}

void DatabaseBackupTest::copyKeepsPermissions() {
    QFETCH(QFileDevice::Permissions, permissions);
    QFETCH(bool, replacing);
    TestDatabase db;
    QVERIFY(db.isValid());
    QVERIFY(QFile::setPermissions(db.path(), permissions));
    const QString backupPath = QDir(db.folder()).filePath(QStringLiteral("01.01.2024_ZLV.mdb"));
    if (replacing) {
        QVERIFY(TestDatabase::writeFile(backupPath, "alte Sicherung"));
        QVERIFY(QFile::setPermissions(backupPath, QFileDevice::ReadOwner));
    }
    DatabaseBackup backup;
    QVERIFY2(backup.copy(db.path(), backupPath), qPrintable(backup.lastError()));
    const QFileDevice::Permissions bits =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
        QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
        QFileDevice::ExeOther;
    QCOMPARE(QFileInfo(backupPath).permissions() & bits, permissions);
}

// A backup interrupted before its copy was complete leaves its scratch file behind; the next backup removes
// it, and every scratch file of an earlier day, but nothing else.
void DatabaseBackupTest::leftoverScratchFilesAreRemoved() {
    TestDatabase db;
    QVERIFY(db.isValid());
    const QDir folder(db.folder());
    const QString backupPath = folder.filePath(QStringLiteral("02.01.2024_ZLV.mdb"));
    QTemporaryDir saved;
    QStringList leftBehind;
    {
        DatabaseBackup interrupted;
        interrupted.setStepHook([&](DatabaseBackup::Step step) {
            if (step != DatabaseBackup::Step::ReplaceBackup)
                return true;
            leftBehind = folder.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
            for (const QString& name : std::as_const(leftBehind))
                QFile::copy(folder.filePath(name), saved.filePath(name));
            return false;
        });
        QVERIFY(!interrupted.copy(db.path(), backupPath));
    }
    QCOMPARE(leftBehind.size(), 1);
    QVERIFY(QFile::copy(saved.filePath(leftBehind.first()), folder.filePath(leftBehind.first())));
    const QStringList scratchOfEarlierDays = {QStringLiteral(".01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp"),
                                              QStringLiteral(".01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp-journal")};
    const QStringList others = {
        QStringLiteral("01.01.2024_ZLV.mdb"),
        QStringLiteral(".01.01.2024_ZLV.mdb.AbCxYz"),
        QStringLiteral(".01.01.2024_ZLV.mdb.AbCxY.zlv-tmp"),
        QStringLiteral(".01.01.2024_Alt.mdb.AbCxYz.zlv-tmp"),
        QStringLiteral("x.01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp"),
        QStringLiteral(".01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp.txt"),
        QStringLiteral("Notiz.zlv-tmp"),
    };
    for (const QString& name : scratchOfEarlierDays + others)
        QVERIFY(TestDatabase::writeFile(folder.filePath(name), "Inhalt"));

    DatabaseBackup backup;
    QVERIFY2(backup.copy(db.path(), backupPath), qPrintable(backup.lastError()));
    QStringList expected =
        others + QStringList{QStringLiteral("02.01.2024_ZLV.mdb"), QStringLiteral("ZLV.mdb")};
    expected.sort();
    QStringList found = folder.entryList(QDir::Files | QDir::Hidden);
    found.sort();
    QCOMPARE(found, expected);
}

Q_DECLARE_METATYPE(DatabaseBackup::Condition)

void DatabaseBackupTest::check_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<DatabaseBackup::Condition>("condition");
    QTest::addColumn<QString>("message"); // %1: the database's path
    using C = DatabaseBackup::Condition;
    QTest::newRow("intact") << "intact" << C::Intact << "";
    QTest::newRow("damaged page") << "damaged" << C::Damaged << "Die Datenbank '%1' ist beschädigt (";
    QTest::newRow("no database at all")
        << "text" << C::Damaged << "Die Datenbank '%1' ist beschädigt (file is not a database).";
    QTest::newRow("missing")
        << "missing" << C::Unchecked
        << "Die Datenbank '%1' konnte nicht geprüft werden: Die Datenbankdatei kann nicht "
           "geöffnet werden (unable to open database file).";
    QTest::newRow("in use elsewhere") << "locked" << C::Unchecked
                                      << "Die Datenbank '%1' konnte nicht geprüft werden: Die Datenbank ist "
                                         "gesperrt,";
}

void DatabaseBackupTest::check() {
    QFETCH(QString, setup);
    QFETCH(DatabaseBackup::Condition, condition);
    QFETCH(QString, message);
    TestDatabase db;
    QVERIFY(db.isValid());
    const QString path = db.path();
    if (setup == QLatin1String("damaged"))
        QVERIFY(db.damageBookings());
    if (setup == QLatin1String("text"))
        QVERIFY(TestDatabase::writeFile(path, QByteArray(4096, 'x')));
    if (setup == QLatin1String("missing"))
        QVERIFY(QFile::remove(path));
    if (setup == QLatin1String("locked"))
        db.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    const QString before = TestDatabase::fileState(path);

    DatabaseBackup backup;
    QCOMPARE(backup.check(path), condition);
    if (message.isEmpty())
        QCOMPARE(backup.lastError(), QString());
    else
        QVERIFY2(backup.lastError().startsWith(message.arg(QDir::toNativeSeparators(path))),
                 qPrintable(backup.lastError()));
    QCOMPARE(TestDatabase::fileState(path), before);
    if (setup == QLatin1String("locked"))
        db.exec(QStringLiteral("ROLLBACK"));
}

QTEST_GUILESS_MAIN(DatabaseBackupTest)
#include "DatabaseBackupTest.moc"
