#include "BookingOperation.h"
#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "JournalCheck.h"
#include "SaveCompany.h"
#include "Session.h"
#include "TestDatabase.h"

#include <memory>
#include <QProcess>
#include <QTest>

namespace {

using Workstations = std::vector<std::unique_ptr<QProcess>>;

Workstations start(int count, const QStringList& arguments) {
    Workstations workstations;
    for (int i = 0; i < count; ++i) {
        workstations.push_back(std::make_unique<QProcess>());
        workstations.back()->start(QStringLiteral(ZLV_BOOK_MANY), arguments);
    }
    return workstations;
}

// Waits for each to end well; returns what each printed.
QStringList finished(const Workstations& workstations) {
    QStringList printed;
    for (const auto& workstation : workstations) {
        if (!workstation->waitForFinished(240000) || workstation->exitStatus() != QProcess::NormalExit ||
            workstation->exitCode() != 0)
            return {QString::fromUtf8(workstation->readAllStandardError())};
        printed += QString::fromUtf8(workstation->readAllStandardOutput()).trimmed();
    }
    return printed;
}

} // namespace

// Several workstations booking into one database at once lose no booking and share out the running numbers.
class ConcurrentBookingTest : public QObject {
    Q_OBJECT

private slots:
    void fourWorkstationsLoseNoBooking() {
        TestDatabase file;
        QVERIFY(file.isValid());
        const QStringList printed = finished(start(4, {file.path(), QStringLiteral("200")}));
        QVERIFY2(printed.size() == 4, qPrintable(printed.join(u'\n')));
        QCOMPARE(
            file.scalar(QStringLiteral("SELECT COUNT(*) || ' ' || COUNT(DISTINCT PID) || ' ' || MIN(PID) || "
                                       "' ' || MAX(PID) || ' ' || COUNT(DISTINCT Firma) FROM tblBuchung")),
            QStringLiteral("800 800 1 800 4"));
        // One entry per booking, in one unbroken chain.
        QCOMPARE(
            file.scalar(QStringLiteral("SELECT COUNT(*) FROM tblProtokoll WHERE Tabelle = 'tblBuchung' AND "
                                       "Aktion = 'Neu'")),
            QStringLiteral("800"));
        const JournalCheck::Result chain = JournalCheck::run(file.db());
        QVERIFY2(chain.whole, qPrintable(chain.text));
    }

    // A company renamed while two workstations book for it: every booking stored follows the rename, and a
    // booking after it is refused instead of being stored under the old name.
    void companyRenamedWhileTwoBook() {
        TestDatabase file;
        file.exec(QStringLiteral("INSERT INTO tblFirma (Name) VALUES ('Alt Bau')"));
        const Workstations workstations =
            start(2, {file.path(), QStringLiteral("2000"), QStringLiteral("Alt Bau")});
        QTRY_VERIFY_WITH_TIMEOUT(file.scalar(QStringLiteral("SELECT COUNT(*) FROM tblBuchung")).toInt() >= 20,
                                 60000);
        Company renamed = *CompanyRepository(file.db()).findByName(QStringLiteral("Alt Bau"));
        renamed.name = QStringLiteral("Neu Bau");
        const Outcome outcome =
            SaveCompany(*Session::open(file.path())).change(renamed, QStringLiteral("Alt Bau"), AsLoaded());
        QVERIFY2(outcome.ok(), qPrintable(outcome.text()));
        const QStringList printed = finished(workstations);
        QVERIFY2(printed.size() == 2, qPrintable(printed.join(u'\n')));
        QCOMPARE(file.scalar(QStringLiteral("SELECT COUNT(*) || ' ' || COUNT(DISTINCT PID) FROM tblBuchung "
                                            "WHERE Firma = 'Neu Bau'")),
                 QStringLiteral("%1 %1").arg(printed.at(0).toInt() + printed.at(1).toInt()));
        QCOMPARE(file.scalar(QStringLiteral("SELECT COUNT(*) FROM tblBuchung WHERE Firma <> 'Neu Bau'")),
                 QStringLiteral("0"));
    }

    // Two workstations correct the same booking: the first correction replaces it; the second finds it
    // gone and stores nothing, until its clerk books the entry as new.
    void twoWorkstationsCorrectTheSameBooking() {
        TestDatabase file;
        const std::unique_ptr<Session> here = Session::open(file.path());
        const std::unique_ptr<Session> there = Session::open(file.path());
        QVERIFY(here && there);
        Booking original;
        original.projectId = QStringLiteral("1");
        original.company = QStringLiteral("A");
        QVERIFY(BookingRepository(file.db()).book(original));
        const auto first = BookingOperation(*here).takeBack(original.id);
        const auto second = BookingOperation(*there).takeBack(original.id);
        QVERIFY(first && second);
        Booking corrected = original;
        corrected.amount = Money::fromCents(100);
        QVERIFY(BookingOperation(*here).book(corrected, first->asLoaded).ok());
        corrected.amount = Money::fromCents(200);
        QCOMPARE(BookingOperation(*there).book(corrected, second->asLoaded).kind(), Outcome::Kind::Gone);
        QCOMPARE(file.scalar(QStringLiteral("SELECT COUNT(*) || ' ' || MAX(PID) FROM tblBuchung")),
                 QStringLiteral("1 1"));
        QVERIFY(BookingOperation(*there).book(corrected).ok());
        QCOMPARE(file.scalar(QStringLiteral("SELECT COUNT(*) || ' ' || MAX(PID) FROM tblBuchung")),
                 QStringLiteral("2 2"));
    }
};

QTEST_GUILESS_MAIN(ConcurrentBookingTest)
#include "ConcurrentBookingTest.moc"
