#include "Money.h"

#include <QTest>

// Amounts in whole cents: German notation typed and shown, stored field texts, sums.
class MoneyTest : public QObject {
    Q_OBJECT

private slots:
    void germanAmounts_data();
    void germanAmounts();
    void storedAmounts_data();
    void storedAmounts();
    void storedNumbers_data();
    void storedNumbers();
    void sumsDoNotDrift();
};

void MoneyTest::germanAmounts_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("shown");
    QTest::newRow("thousands and cents") << "1.234,50" << true << qint64(123450) << "1.234,50";
    QTest::newRow("no thousands point, one decimal") << "1234,5" << true << qint64(123450) << "1.234,50";
    QTest::newRow("negative") << "-5.000,00" << true << qint64(-500000) << "-5.000,00";
    QTest::newRow("whole euros") << "12" << true << qint64(1200) << "12,00";
    QTest::newRow("cents only") << ",05" << true << qint64(5) << "0,05";
    QTest::newRow("millions") << "1.000.000" << true << qint64(100000000) << "1.000.000,00";
    QTest::newRow("3 whole digits") << "123,00" << true << qint64(12300) << "123,00";
    QTest::newRow("6 whole digits") << "123.456,00" << true << qint64(12345600) << "123.456,00";
    QTest::newRow("9 whole digits") << "123.456.789,00" << true << qint64(12345678900) << "123.456.789,00";
    QTest::newRow("9 whole digits without points")
        << "123456789" << true << qint64(12345678900) << "123.456.789,00";
    QTest::newRow("negative 3 whole digits") << "-123" << true << qint64(-12300) << "-123,00";
    QTest::newRow("surrounding blanks") << " 7,1 " << true << qint64(710) << "7,10";
    QTest::newRow("letters") << "12a" << false << qint64(0) << "";
    QTest::newRow("word") << "zwölf" << false << qint64(0) << "";
    QTest::newRow("several commas") << "1,2,3" << false << qint64(0) << "";
    QTest::newRow("three decimals") << "1,234" << false << qint64(0) << "";
    QTest::newRow("bad grouping") << "12.34,00" << false << qint64(0) << "";
    QTest::newRow("english notation") << "1,234.50" << false << qint64(0) << "";
    QTest::newRow("empty") << "" << false << qint64(0) << "";
    QTest::newRow("sign only") << "-" << false << qint64(0) << "";
}

void MoneyTest::germanAmounts() {
    QFETCH(QString, typed);
    QFETCH(bool, valid);
    QFETCH(qint64, cents);
    QFETCH(QString, shown);
    const std::optional<Money> amount = Money::parseGerman(typed);
    QCOMPARE(amount.has_value(), valid);
    if (valid) {
        QCOMPARE(amount->cents(), cents);
        QCOMPARE(amount->toGerman(), shown);
    }
}

void MoneyTest::storedAmounts_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("real text") << "1234.5" << true << qint64(123450);
    QTest::newRow("binary fraction") << "0.1" << true << qint64(10);
    QTest::newRow("just below a cent boundary") << "19.99" << true << qint64(1999);
    QTest::newRow("integer") << "12" << true << qint64(1200);
    QTest::newRow("german comma from an old file") << "12,5" << true << qint64(1250);
    QTest::newRow("german notation typed into the file") << " 1.234,50" << true << qint64(123450);
    QTest::newRow("negative") << "-0.01" << true << qint64(-1);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("foreign text") << "n/a" << false << qint64(0);
    QTest::newRow("infinite") << "inf" << false << qint64(0);
}

void MoneyTest::storedAmounts() {
    QFETCH(QString, stored);
    QFETCH(bool, valid);
    QFETCH(qint64, cents);
    const std::optional<Money> amount = Money::parseStored(stored);
    QCOMPARE(amount.has_value(), valid);
    if (valid)
        QCOMPARE(amount->cents(), cents);
}

// A QVariant of type double stands for a REAL field, one of type qint64 for an INTEGER field (a foreign
// file's Betrag declared NUMERIC or INTEGER holds 12 as the integer 12).
void MoneyTest::storedNumbers_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<std::optional<qint64>>("cents");
    QTest::newRow("real") << QVariant(1234.5) << std::optional<qint64>(123450);
    QTest::newRow("real half a cent rounds away from zero") << QVariant(-0.125) << std::optional<qint64>(-13);
    QTest::newRow("real negative") << QVariant(-5000.0) << std::optional<qint64>(-500000);
    QTest::newRow("real at the limit") << QVariant(9.0e13) << std::optional<qint64>(9000000000000000);
    QTest::newRow("real beyond the limit") << QVariant(9.0e13 + 1) << std::optional<qint64>();
    QTest::newRow("real infinite") << QVariant(qInf()) << std::optional<qint64>();
    QTest::newRow("integer is whole euros") << QVariant(qint64(12)) << std::optional<qint64>(1200);
    QTest::newRow("integer negative") << QVariant(qint64(-12)) << std::optional<qint64>(-1200);
    QTest::newRow("integer at the limit")
        << QVariant(qint64(90000000000000)) << std::optional<qint64>(9000000000000000);
    QTest::newRow("integer beyond the limit") << QVariant(qint64(90000000000001)) << std::optional<qint64>();
    QTest::newRow("integer below the limit") << QVariant(qint64(-90000000000001)) << std::optional<qint64>();
}

void MoneyTest::storedNumbers() {
    QFETCH(QVariant, stored);
    QFETCH(std::optional<qint64>, cents);
    const std::optional<Money> read = stored.typeId() == QMetaType::Double
                                          ? Money::fromStoredReal(stored.toDouble())
                                          : Money::fromStoredInteger(stored.toLongLong());
    QCOMPARE(read.has_value(), cents.has_value());
    if (read)
        QCOMPARE(read->cents(), *cents);
}

void MoneyTest::sumsDoNotDrift() {
    Money sum;
    for (int i = 0; i < 100000; ++i)
        sum += *Money::parseStored(QStringLiteral("0.1"));
    QCOMPARE(sum.toGerman(), QStringLiteral("10.000,00"));
    QCOMPARE((Money::fromCents(5) - Money::fromCents(7)).toGerman(), QStringLiteral("-0,02"));
}

QTEST_GUILESS_MAIN(MoneyTest)
#include "MoneyTest.moc"
