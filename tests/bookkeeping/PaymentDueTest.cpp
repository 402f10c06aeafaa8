#include "PaymentDue.h"
#include "DayNumber.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

int day(int y, int m, int d) {
    return DayNumber::fromDate(QDate(y, m, d));
}

} // namespace

// Due dates, the discount's last day and interest each side of their limits, across a year's end and in
// a leap year, to the cent.
class PaymentDueTest : public QObject {
    Q_OBJECT

private slots:
    void dueDates_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("orderDays");
        QTest::addColumn<int>("received");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("due");
        QTest::newRow("instalment 21")
            << u"1. Abschlagszahlung"_s << 0 << day(2025, 12, 1) << 21 << day(2025, 12, 22);
        QTest::newRow("instalment over the year's end")
            << u"12. Abschlagszahlung"_s << 0 << day(2025, 12, 20) << 21 << day(2026, 1, 10);
        QTest::newRow("instalment keeps 21 whatever the order")
            << u"2. Abschlagszahlung"_s << 60 << day(2025, 3, 3) << 21 << day(2025, 3, 24);
        QTest::newRow("other text is an instalment")
            << u"Teilrechnung"_s << 60 << day(2025, 3, 3) << 21 << day(2025, 3, 24);
        QTest::newRow("empty kind is an instalment")
            << QString() << 0 << day(2025, 3, 3) << 21 << day(2025, 3, 24);
        QTest::newRow("final 30 over the year's end")
            << u"Schlußzahlung"_s << 0 << day(2025, 12, 15) << 30 << day(2026, 1, 14);
        QTest::newRow("final in a leap year")
            << u"Schlußzahlung"_s << 0 << day(2024, 2, 10) << 30 << day(2024, 3, 11);
        QTest::newRow("final spelt otherwise")
            << u" SCHLUSSZAHLUNG"_s << 0 << day(2025, 6, 1) << 30 << day(2025, 7, 1);
        QTest::newRow("final with the order's 60")
            << u"Schlußzahlung"_s << 60 << day(2025, 11, 1) << 60 << day(2025, 12, 31);
        QTest::newRow("release like a final payment")
            << u"Rückhalt"_s << 0 << day(2025, 5, 2) << 30 << day(2025, 6, 1);
        QTest::newRow("the help's final payment")
            << u"Schlußzahlung"_s << 0 << day(2025, 3, 3) << 30 << day(2025, 4, 2);
        QTest::newRow("the help's instalment")
            << u"1. Abschlagszahlung"_s << 0 << day(2025, 3, 3) << 21 << day(2025, 3, 24);
        QTest::newRow("the help's 60 days")
            << u"Schlußzahlung"_s << 60 << day(2025, 3, 3) << 60 << day(2025, 5, 2);
        QTest::newRow("release with the order's 60")
            << u"Rückhalt"_s << 60 << day(2025, 5, 2) << 60 << day(2025, 7, 1);
    }
    void dueDates() {
        QFETCH(QString, kind);
        QFETCH(int, orderDays);
        QFETCH(int, received);
        QFETCH(int, days);
        QFETCH(int, due);
        const int taken =
            PaymentDue::daysToPay(kind, orderDays > 0 ? std::optional<int>(orderDays) : std::nullopt);
        QCOMPARE(taken, days);
        QCOMPARE(PaymentDue::dueOn(received, taken), due);
        QVERIFY(!PaymentDue::overdue(due, due - 1));
        QVERIFY(!PaymentDue::overdue(due, due));
        QVERIFY(PaymentDue::overdue(due, due + 1));
    }

    void discountLastDay_data() {
        QTest::addColumn<int>("received");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("lastDay");
        QTest::newRow("none agreed") << day(2025, 4, 1) << -1 << -1;
        QTest::newRow("same day") << day(2025, 4, 1) << 0 << day(2025, 4, 1);
        QTest::newRow("ten days") << day(2025, 4, 1) << 10 << day(2025, 4, 11);
        QTest::newRow("over the year's end") << day(2025, 12, 28) << 14 << day(2026, 1, 11);
        QTest::newRow("over the 29th of February") << day(2024, 2, 25) << 7 << day(2024, 3, 3);
    }
    void discountLastDay() {
        QFETCH(int, received);
        QFETCH(int, days);
        QFETCH(int, lastDay);
        const auto found =
            PaymentDue::discountLastDay(received, days >= 0 ? std::optional<int>(days) : std::nullopt);
        QCOMPARE(found.value_or(-1), lastDay);
    }

    void interest_data() {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<int>("received");
        QTest::addColumn<int>("paid");
        QTest::addColumn<int>("baseRate");
        QTest::addColumn<qint64>("owed");
        const int r = day(2025, 3, 3);
        QTest::newRow("paid before receipt") << 10'000'000LL << r << r - 5 << 127 << 0LL;
        QTest::newRow("30th day free") << 10'000'000LL << r << r + 30 << 127 << 0LL;
        QTest::newRow("31st day owes one day") << 10'000'000LL << r << r + 31 << 127 << 2'814LL;
        QTest::newRow("thirty days late") << 10'000'000LL << r << r + 60 << 127 << 84'411LL;
        QTest::newRow("over the year's end")
            << 10'000'000LL << day(2025, 12, 1) << day(2026, 1, 2) << 127 << 5'627LL;
        QTest::newRow("leap year counts 365 days")
            << 10'000'000LL << day(2024, 2, 1) << day(2024, 4, 1) << 127 << 84'411LL;
        QTest::newRow("negative base rate") << 5'000'000LL << r << r + 40 << -88 << 11'123LL;
        QTest::newRow("rate below 0 owes nothing") << 5'000'000LL << r << r + 40 << -1'000LL << 0LL;
        QTest::newRow("half a cent up") << 1'825LL << r << r + 31 << 100 << 1LL;
        QTest::newRow("just under half a cent") << 1'824LL << r << r + 31 << 100 << 0LL;
        QTest::newRow("credit note half away from zero") << -1'825LL << r << r + 31 << 100 << -1LL;
        QTest::newRow("the help's example")
            << 4'850'000LL << day(2025, 3, 3) << day(2025, 5, 15) << 227 << 64'393LL;
        QTest::newRow("ten billion euros for a century")
            << 1'000'000'000'000LL << r << r + 30 + 36'500 << 1'100 << 20'000'000'000'000LL;
    }
    void interest() {
        QFETCH(qint64, cents);
        QFETCH(int, received);
        QFETCH(int, paid);
        QFETCH(int, baseRate);
        QFETCH(qint64, owed);
        QCOMPARE(PaymentDue::interest(Money::fromCents(cents), received, paid, baseRate).cents(), owed);
    }
};

QTEST_GUILESS_MAIN(PaymentDueTest)
#include "PaymentDueTest.moc"
