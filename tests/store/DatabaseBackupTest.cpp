#include "DatabaseBackup.h"
#include "BookingRepository.h"
#include "Database.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>

Q_DECLARE_METATYPE(DatabaseBackup::Step)

namespace {

constexpr int kBookings = 400;

void fillBookings(TestDatabase& db) {
    BookingRepository bookings(db.db());
    QVERIFY(db.db().beginTransaction());
    for (int pid = 1; pid <= kBookings; ++pid) {
        Booking booking;
        booking.runningNumber = pid;
        booking.projectId = QStringLiteral("1");
        booking.company = QStringLiteral("Firma %1").arg(pid);
        booking.remarks = QString(200, QLatin1Char('x'));
        booking.amount = Money::fromCents(pid * 100 + 1);
        QVERIFY(bookings.add(booking));
    }
    QVERIFY(db.db().commit());
}

// Opens path as the program does and checks that every booking is there, intact.
void verifyAllBookings(const QString& path) {
    QString message;
    const std::unique_ptr<Database> db = Database::open(path, nullptr, &message);
    QVERIFY2(db, qPrintable(message));
    bool ok = false;
    const QList<Booking> rows = BookingRepository(*db).forProject(QStringLiteral("1"), &ok);
    QVERIFY(ok);
    QCOMPARE(rows.size(), kBookings);
    QCOMPARE(rows.last().amount, std::optional<Money>(Money::fromCents(kBookings * 100 + 1)));
    QSqlQuery query(db->connection());
    QVERIFY(db->run(query, QStringLiteral("PRAGMA integrity_check")));
    QVERIFY(query.next());
    QCOMPARE(Database::text(query, 0), QStringLiteral("ok"));
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The dated backup copy and the compaction, also when a step fails.
class DatabaseBackupTest : public QObject {
    Q_OBJECT

private slots:
    void backupFileName_data();
    void backupFileName();
    void copyWhileFileIsOpen();
    void compactWhileFileIsOpen();
    void failedStepKeepsEverything_data();
    void failedStepKeepsEverything();
};

void DatabaseBackupTest::backupFileName_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("spelling kept") << QDate(2026, 12, 5) << "Zlv.MDB"
                                   << "05.12.2026_Zlv.MDB";
    QTest::newRow("new year") << QDate(2024, 1, 1) << "ZLV.mdb"
                              << "01.01.2024_ZLV.mdb";
}

void DatabaseBackupTest::backupFileName() {
    QFETCH(QDate, day);
    QFETCH(QString, fileName);
    QFETCH(QString, expected);
    QCOMPARE(DatabaseBackup::backupFileName(day, fileName), expected);
}

void DatabaseBackupTest::copyWhileFileIsOpen() {
    TestDatabase db;
    QVERIFY(db.isValid());
    fillBookings(db);
    QSqlQuery reading(db.db().connection());
    QVERIFY(db.db().run(reading, QStringLiteral("SELECT ID FROM tblBuchung")));
    QVERIFY(reading.next());

    const QString backupPath = QDir(db.folder()).filePath(QStringLiteral("05.12.2026_ZLV.mdb"));
    QFile old(backupPath);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("alte Sicherung");
    old.close();
    DatabaseBackup backup;
    QVERIFY2(backup.copy(db.path(), backupPath), qPrintable(backup.lastError()));
    reading.finish();
    verifyAllBookings(backupPath);
    QCOMPARE(QDir(db.folder()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    db.exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('nach der Sicherung')"));
}

void DatabaseBackupTest::compactWhileFileIsOpen() {
    TestDatabase db;
    QVERIFY(db.isValid());
    fillBookings(db);
    db.exec(QStringLiteral(
        "INSERT INTO tblBuchung (ProjektID, Bemerkungen) SELECT '2', Bemerkungen FROM tblBuchung"));
    db.exec(QStringLiteral("DELETE FROM tblBuchung WHERE ProjektID = '2'"));
    const qint64 before = QFileInfo(db.path()).size();
    DatabaseBackup backup;
    QVERIFY2(backup.compact(db.path()), qPrintable(backup.lastError()));
    QVERIFY(QFileInfo(db.path()).size() < before);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblBuchung")), QString::number(kBookings));
    verifyAllBookings(db.path());
}

void DatabaseBackupTest::failedStepKeepsEverything_data() {
    QTest::addColumn<DatabaseBackup::Step>("failing");
    QTest::addColumn<QString>("message");
    QTest::newRow("copy") << DatabaseBackup::Step::Copy
                          << "Die Sicherungskopie konnte nicht geschrieben werden: ";
    QTest::newRow("replace backup") << DatabaseBackup::Step::ReplaceBackup
                                    << "Die Sicherungskopie konnte nicht geschrieben werden: ";
    QTest::newRow("compact") << DatabaseBackup::Step::Compact
                             << "Die Datenbank konnte nicht komprimiert werden: ";
}

void DatabaseBackupTest::failedStepKeepsEverything() {
    QFETCH(DatabaseBackup::Step, failing);
    QFETCH(QString, message);
    TestDatabase db;
    QVERIFY(db.isValid());
    fillBookings(db);
    const QString backupPath = QDir(db.folder()).filePath(QStringLiteral("01.01.2024_ZLV.mdb"));
    QFile old(backupPath);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("alte Sicherung vom Vortag");
    old.close();

    DatabaseBackup backup;
    QList<DatabaseBackup::Step> seen;
    backup.setStepHook([&](DatabaseBackup::Step step) {
        seen.append(step);
        return step != failing;
    });
    const bool copied = backup.copy(db.path(), backupPath);
    const bool compacted = copied && backup.compact(db.path());
    QVERIFY(!compacted);
    QCOMPARE(copied, failing == DatabaseBackup::Step::Compact);
    QCOMPARE(seen.last(), failing);
    QVERIFY2(backup.lastError().startsWith(message), qPrintable(backup.lastError()));

    verifyAllBookings(db.path());
    if (failing == DatabaseBackup::Step::Compact)
        verifyAllBookings(backupPath);
    else
        QCOMPARE(bytesOf(backupPath), QByteArray("alte Sicherung vom Vortag"));
    QCOMPARE(QDir(db.folder()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QStringLiteral("01.01.2024_ZLV.mdb"), QStringLiteral("ZLV.mdb")}));
}

QTEST_GUILESS_MAIN(DatabaseBackupTest)
#include "DatabaseBackupTest.moc"
