#include "DayNumber.h"

#include <QTest>

// Day numbers: dates as whole days since 30.12.1899, shown with a four-digit year.
class DayNumberTest : public QObject {
    Q_OBJECT

private slots:
    void dayNumbers_data();
    void dayNumbers();
    void storedDayTexts_data();
    void storedDayTexts();
};

void DayNumberTest::dayNumbers_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("dayNumber");
    QTest::addColumn<QString>("shown");
    QTest::newRow("1 January 2005") << QDate(2005, 1, 1) << 38353 << "01.01.2005";
    QTest::newRow("31 December 2005") << QDate(2005, 12, 31) << 38717 << "31.12.2005";
    QTest::newRow("1 January 2000") << QDate(2000, 1, 1) << 36526 << "01.01.2000";
    QTest::newRow("epoch") << QDate(1899, 12, 30) << 0 << "30.12.1899";
    QTest::newRow("leap day") << QDate(2024, 2, 29) << 45351 << "29.02.2024";
}

void DayNumberTest::dayNumbers() {
    QFETCH(QDate, date);
    QFETCH(int, dayNumber);
    QFETCH(QString, shown);
    QCOMPARE(DayNumber::fromDate(date), dayNumber);
    QCOMPARE(DayNumber::toDate(dayNumber), date);
    QCOMPARE(DayNumber::format(dayNumber), shown);
}

void DayNumberTest::storedDayTexts_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("integer text") << "38353"
                                  << "01.01.2005";
    QTest::newRow("real text") << "38717.0"
                               << "31.12.2005";
    QTest::newRow("empty is an empty cell, not 30.12.1899") << ""
                                                            << "";
    QTest::newRow("blank") << "  "
                           << "";
    QTest::newRow("foreign text") << "gestern"
                                  << "";
}

void DayNumberTest::storedDayTexts() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(DayNumber::formatStored(stored), shown);
}

QTEST_GUILESS_MAIN(DayNumberTest)
#include "DayNumberTest.moc"
