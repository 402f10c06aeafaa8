#include "DayNumber.h"

#include <QTest>

using namespace Qt::StringLiterals;

class DayNumberTest : public QObject {
    Q_OBJECT

private slots:
    void dayNumberCountsDaysSince30December1899_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("dayNumber");
        QTest::newRow("epoch") << QDate(1899, 12, 30) << 0;
        QTest::newRow("31 December 2005") << QDate(2005, 12, 31) << 38717;
        QTest::newRow("leap day") << QDate(2024, 2, 29) << 45351;
    }
    void dayNumberCountsDaysSince30December1899() {
        QFETCH(QDate, date);
        QFETCH(int, dayNumber);
        QCOMPARE(DayNumber::fromDate(date), dayNumber);
        QCOMPARE(DayNumber::format(dayNumber), date.toString(u"dd.MM.yyyy"_s));
    }

    // A QString is a field's text, a double a REAL field, a qint64 an INTEGER field.
    void storedDayIsReadAsADateOrAsNone_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("integer text") << QVariant("38353") << "01.01.2005";
        QTest::newRow("fraction is a time of day") << QVariant("45292.9999") << "01.01.2024";
        QTest::newRow("surrounding blanks") << QVariant(" 45292 ") << "01.01.2024";
        QTest::newRow("empty is no date, not 30.12.1899") << QVariant("") << "";
        QTest::newRow("foreign text") << QVariant("gestern") << "";
        QTest::newRow("real with a fraction") << QVariant(45292.75) << "01.01.2024";
        QTest::newRow("real beyond any date") << QVariant(3.0e6 + 1) << "";
        QTest::newRow("real not a number") << QVariant(qQNaN()) << "";
        QTest::newRow("integer beyond int") << QVariant(qint64(2147483648)) << "";
        QTest::newRow("integer below int") << QVariant(qint64(-2147483649)) << "";
    }
    void storedDayIsReadAsADateOrAsNone() {
        QFETCH(QVariant, stored);
        const std::optional<int> read =
            stored.typeId() == QMetaType::QString  ? DayNumber::parseStored(stored.toString())
            : stored.typeId() == QMetaType::Double ? DayNumber::fromStoredReal(stored.toDouble())
                                                   : DayNumber::fromStoredInteger(stored.toLongLong());
        QTEST(DayNumber::format(read), "shown");
    }
};

QTEST_GUILESS_MAIN(DayNumberTest)
#include "DayNumberTest.moc"
