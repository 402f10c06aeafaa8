#include "TestDatabase.h"

#include <memory>
#include <QProcess>
#include <QTest>

// Several workstations booking into one file at once lose no booking and share out the running numbers.
class ConcurrentBookingTest : public QObject {
    Q_OBJECT

private slots:
    void fourWorkstationsLoseNoBooking() {
        TestDatabase file;
        QVERIFY(file.isValid());
        std::vector<std::unique_ptr<QProcess>> workstations;
        for (int i = 0; i < 4; ++i) {
            workstations.push_back(std::make_unique<QProcess>());
            workstations.back()->start(QStringLiteral(ZLV_BOOK_MANY), {file.path(), QStringLiteral("200")});
        }
        for (const auto& workstation : workstations) {
            QVERIFY(workstation->waitForFinished(240000));
            QVERIFY2(workstation->exitStatus() == QProcess::NormalExit && workstation->exitCode() == 0,
                     workstation->readAllStandardError().constData());
        }
        QCOMPARE(
            file.scalar(QStringLiteral("SELECT COUNT(*) || ' ' || COUNT(DISTINCT PID) || ' ' || MIN(PID) || "
                                       "' ' || MAX(PID) || ' ' || COUNT(DISTINCT Firma) FROM tblBuchung")),
            QStringLiteral("800 800 1 800 4"));
    }
};

QTEST_GUILESS_MAIN(ConcurrentBookingTest)
#include "ConcurrentBookingTest.moc"
