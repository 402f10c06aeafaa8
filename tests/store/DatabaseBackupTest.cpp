#include "DatabaseBackup.h"
#include "BookingRepository.h"
#include "Database.h"
#include "StoreFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

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

QStringList filesIn(const QString& folder) {
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    return files;
}

} // namespace

Q_DECLARE_METATYPE(DatabaseBackup::Condition)

class DatabaseBackupTest : public QObject {
    Q_OBJECT

private slots:
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
        const QStringList others = {"01.01.2024_ZLV.mdb",
                                    ".01.01.2024_ZLV.mdb.AbCxYz",
                                    ".01.01.2024_ZLV.mdb.AbCxY.zlv-tmp",
                                    ".01.01.2024_Alt.mdb.AbCxYz.zlv-tmp",
                                    "x.01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp",
                                    ".01.01.2024_ZLV.mdb.AbCxYz.zlv-tmp.txt",
                                    "Notiz.zlv-tmp"};
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
};

QTEST_GUILESS_MAIN(DatabaseBackupTest)
#include "DatabaseBackupTest.moc"
