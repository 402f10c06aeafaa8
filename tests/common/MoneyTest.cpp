#include "Money.h"

#include <QTest>

class MoneyTest : public QObject {
    Q_OBJECT

private slots:
    void typedAmountIsReadAndShownInGermanNotation_data();
    void typedAmountIsReadAndShownInGermanNotation();
    void storedAmountIsReadToTheCent_data();
    void storedAmountIsReadToTheCent();
    void sumsDoNotDrift();
};

void MoneyTest::typedAmountIsReadAndShownInGermanNotation_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // empty: refused
    QTest::newRow("thousands and cents") << "1.234,50"
                                         << "1.234,50";
    QTest::newRow("one decimal") << "1234,5"
                                 << "1.234,50";
    QTest::newRow("negative") << "-5.000,00"
                              << "-5.000,00";
    QTest::newRow("cents only") << ",05"
                                << "0,05";
    QTest::newRow("negative, 3 whole digits") << "-123"
                                              << "-123,00";
    QTest::newRow("9 whole digits") << "123456789"
                                    << "123.456.789,00";
    QTest::newRow("surrounding blanks") << " 7,1 "
                                        << "7,10";
    QTest::newRow("letters") << "12a"
                             << "";
    QTest::newRow("three decimals") << "1,234"
                                    << "";
    QTest::newRow("bad grouping") << "12.34,00"
                                  << "";
    QTest::newRow("english notation") << "1,234.50"
                                      << "";
    QTest::newRow("sign only") << "-"
                               << "";
}

void MoneyTest::typedAmountIsReadAndShownInGermanNotation() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    const std::optional<Money> amount = Money::parseGerman(typed);
    QCOMPARE(amount ? amount->toGerman() : QString(), shown);
}

// A QVariant of type double stands for a REAL field, one of type qint64 for an INTEGER field, a QString for
// the text of a field.
void MoneyTest::storedAmountIsReadToTheCent_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<std::optional<qint64>>("cents");
    QTest::newRow("real text") << QVariant("1234.5") << std::optional<qint64>(123450);
    QTest::newRow("just below a cent boundary") << QVariant("19.99") << std::optional<qint64>(1999);
    QTest::newRow("german comma from an old file") << QVariant("12,5") << std::optional<qint64>(1250);
    QTest::newRow("german notation typed into the file")
        << QVariant(" 1.234,50") << std::optional<qint64>(123450);
    QTest::newRow("foreign text") << QVariant("n/a") << std::optional<qint64>();
    QTest::newRow("infinite text") << QVariant("1e308") << std::optional<qint64>();
    QTest::newRow("empty") << QVariant("") << std::optional<qint64>();
    QTest::newRow("half a cent rounds away from zero") << QVariant(-0.125) << std::optional<qint64>(-13);
    QTest::newRow("real at the limit") << QVariant(9.0e13) << std::optional<qint64>(9000000000000000);
    QTest::newRow("real beyond the limit") << QVariant(9.0e13 + 1) << std::optional<qint64>();
    QTest::newRow("real infinite") << QVariant(qInf()) << std::optional<qint64>();
    QTest::newRow("integer is whole euros") << QVariant(qint64(-12)) << std::optional<qint64>(-1200);
    QTest::newRow("integer beyond the limit") << QVariant(qint64(90000000000001)) << std::optional<qint64>();
    QTest::newRow("integer below the limit") << QVariant(qint64(-90000000000001)) << std::optional<qint64>();
}

void MoneyTest::storedAmountIsReadToTheCent() {
    QFETCH(QVariant, stored);
    QFETCH(std::optional<qint64>, cents);
    const std::optional<Money> read =
        stored.typeId() == QMetaType::QString  ? Money::parseStored(stored.toString())
        : stored.typeId() == QMetaType::Double ? Money::fromStoredReal(stored.toDouble())
                                               : Money::fromStoredInteger(stored.toLongLong());
    QCOMPARE(read ? std::optional<qint64>(read->cents()) : std::nullopt, cents);
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
