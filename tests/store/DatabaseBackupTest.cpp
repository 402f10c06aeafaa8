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

class DatabaseBackupTest : public QObject {
    Q_OBJECT

private slots:
    void backupWithTheDatabasesRightsAndCompactionKeepEveryBookingWhicheverStepFails_data();
    void backupWithTheDatabasesRightsAndCompactionKeepEveryBookingWhicheverStepFails();
    void missingDatabaseLeavesNothingBehind();
    void halfWrittenChangeOfACrashIsRolledBackBeforeTheCopy();
    void leftoverScratchFilesOfTheDatabaseAreRemovedAndNothingElse();
    void checkTellsIntactDamagedOrUnchecked_data();
    void checkTellsIntactDamagedOrUnchecked();
};

void DatabaseBackupTest::backupWithTheDatabasesRightsAndCompactionKeepEveryBookingWhicheverStepFails_data() {
    using Step = DatabaseBackup::Step;
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("message");
    const QString notCopied = QStringLiteral("Die Sicherungskopie konnte nicht geschrieben werden: ");
    QTest::newRow("nothing fails") << -1 << QString();
    QTest::newRow("copy") << int(Step::Copy) << notCopied;
    QTest::newRow("replace backup") << int(Step::ReplaceBackup) << notCopied;
    QTest::newRow("compact") << int(Step::Compact)
                             << QStringLiteral("Die Datenbank konnte nicht komprimiert werden: ");
}

void DatabaseBackupTest::backupWithTheDatabasesRightsAndCompactionKeepEveryBookingWhicheverStepFails() {
    QFETCH(int, failing);
    QFETCH(QString, message);
    TestDatabase db;
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
    QVERIFY(QFile::setPermissions(backupPath, QFileDevice::ReadOwner));
    const QFileDevice::Permissions rights = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(db.path(), rights));
    const QString oldBackup = TestDatabase::fileState(backupPath);

    DatabaseBackup backup;
    backup.setStepHook([&](DatabaseBackup::Step step) { return int(step) != failing; });
    QSqlQuery reading(db.db().connection());
    QVERIFY(db.db().run(reading, QStringLiteral("SELECT ID FROM tblBuchung")) && reading.next());

    const bool copied = backup.copy(db.path(), backupPath);
    reading.finish();
    const bool compacted = copied && backup.compact(db.path());

    QCOMPARE(compacted, message.isEmpty());
    QCOMPARE(copied, !message.startsWith(QStringLiteral("Die Sicherungskopie")));
    QVERIFY2(backup.lastError().startsWith(message), qPrintable(backup.lastError()));
    QCOMPARE(backup.lastError().isEmpty(), message.isEmpty());
    QVERIFY(!compacted || QFileInfo(db.path()).size() < sizeBefore);
    verifyAllBookings(db.path());
    if (copied) {
        verifyAllBookings(backupPath);
        QCOMPARE(QFileInfo(backupPath).permissions() &
                     ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
                 rights);
    } else {
        QCOMPARE(TestDatabase::fileState(backupPath), oldBackup);
    }
    QCOMPARE(QDir(db.folder()).entryList(QDir::Files | QDir::Hidden), (QStringList{backupName, "ZLV.mdb"}));
}

void DatabaseBackupTest::missingDatabaseLeavesNothingBehind() {
    QTemporaryDir dir;
    DatabaseBackup backup;

    QVERIFY(!backup.copy(dir.filePath(QStringLiteral("ZLV.mdb")),
                         dir.filePath(QStringLiteral("01.01.2024_ZLV.mdb"))));

    QVERIFY2(backup.lastError().contains(QStringLiteral("kann nicht gelesen werden")),
             qPrintable(backup.lastError()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void DatabaseBackupTest::halfWrittenChangeOfACrashIsRolledBackBeforeTheCopy() {
    TestDatabase db;
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
    QVERIFY2(backup.copy(crashedPath, backupPath), qPrintable(backup.lastError()));

    verifyAllBookings(backupPath);
    verifyAllBookings(crashedPath);
    QCOMPARE(QDir(crashed.path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("01.01.2024_ZLV.mdb"), QStringLiteral("ZLV.mdb")}));
}

void DatabaseBackupTest::leftoverScratchFilesOfTheDatabaseAreRemovedAndNothingElse() {
    TestDatabase db;
    const QDir folder(db.folder());
    const QString backupPath = folder.filePath(QStringLiteral("02.01.2024_ZLV.mdb"));
    QStringList leftBehind;
    DatabaseBackup interrupted;
    interrupted.setStepHook([&](DatabaseBackup::Step step) {
        leftBehind = folder.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
        return step != DatabaseBackup::Step::ReplaceBackup;
    });
    QVERIFY(!interrupted.copy(db.path(), backupPath));
    QCOMPARE(leftBehind.size(), 1);
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
    for (const QString& name : leftBehind + scratchOfEarlierDays + others)
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

void DatabaseBackupTest::checkTellsIntactDamagedOrUnchecked_data() {
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
           "geöffnet werden";
    QTest::newRow("in use elsewhere") << "locked" << C::Unchecked
                                      << "Die Datenbank '%1' konnte nicht geprüft werden: Die Datenbank ist "
                                         "gesperrt,";
}

void DatabaseBackupTest::checkTellsIntactDamagedOrUnchecked() {
    QFETCH(QString, setup);
    QFETCH(DatabaseBackup::Condition, condition);
    QFETCH(QString, message);
    TestDatabase db;
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
}

QTEST_GUILESS_MAIN(DatabaseBackupTest)
#include "DatabaseBackupTest.moc"
