#include "DayNumber.h"

#include <QTest>

// Day numbers: dates as whole days since 30.12.1899, shown with a four-digit year, and the stored values
// they are read from.
class DayNumberTest : public QObject {
    Q_OBJECT

private slots:
    void dayNumbers_data();
    void dayNumbers();
    void storedTexts_data();
    void storedTexts();
    void storedNumbers_data();
    void storedNumbers();
};

void DayNumberTest::dayNumbers_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("dayNumber");
    QTest::addColumn<QString>("shown");
    QTest::newRow("1 January 2005") << QDate(2005, 1, 1) << 38353 << "01.01.2005";
    QTest::newRow("31 December 2005") << QDate(2005, 12, 31) << 38717 << "31.12.2005";
    QTest::newRow("1 January 2000") << QDate(2000, 1, 1) << 36526 << "01.01.2000";
    QTest::newRow("1 January 2024") << QDate(2024, 1, 1) << 45292 << "01.01.2024";
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

void DayNumberTest::storedTexts_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, const char* stored, const char* shown) {
        QTest::newRow(name) << QString::fromLatin1(stored) << QString::fromLatin1(shown);
    };
    row("integer text", "38353", "01.01.2005");
    row("real text", "38717.0", "31.12.2005");
    row("fraction is a time of day", "45292.75", "01.01.2024");
    row("fraction just below the next day", "45292.9999", "01.01.2024");
    row("surrounding blanks", " 45292 ", "01.01.2024");
    row("empty is an empty cell, not 30.12.1899", "", "");
    row("blank", "  ", "");
    row("foreign text", "gestern", "");
    row("infinite", "inf", "");
    row("beyond any date", "4000000.5", "");
}

void DayNumberTest::storedTexts() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(DayNumber::format(DayNumber::parseStored(stored)), shown);
}

// A QVariant of type double stands for a REAL field, one of type qint64 for an INTEGER field.
void DayNumberTest::storedNumbers_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<std::optional<int>>("expected");
    QTest::newRow("real with a fraction") << QVariant(45292.75) << std::optional<int>(45292);
    QTest::newRow("whole real") << QVariant(38353.0) << std::optional<int>(38353);
    QTest::newRow("real at the limit") << QVariant(3.0e6) << std::optional<int>(3000000);
    QTest::newRow("real beyond any date") << QVariant(3.0e6 + 1) << std::optional<int>();
    QTest::newRow("real not a number") << QVariant(qQNaN()) << std::optional<int>();
    QTest::newRow("integer") << QVariant(qint64(45292)) << std::optional<int>(45292);
    QTest::newRow("largest integer") << QVariant(qint64(2147483647)) << std::optional<int>(2147483647);
    QTest::newRow("integer beyond int") << QVariant(qint64(2147483648)) << std::optional<int>();
    QTest::newRow("integer below int") << QVariant(qint64(-2147483649)) << std::optional<int>();
}

void DayNumberTest::storedNumbers() {
    QFETCH(QVariant, stored);
    QFETCH(std::optional<int>, expected);
    const std::optional<int> read = stored.typeId() == QMetaType::Double
                                        ? DayNumber::fromStoredReal(stored.toDouble())
                                        : DayNumber::fromStoredInteger(stored.toLongLong());
    QCOMPARE(read, expected);
}

QTEST_GUILESS_MAIN(DayNumberTest)
#include "DayNumberTest.moc"
