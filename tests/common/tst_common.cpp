#include "DayNumber.h"
#include "Money.h"
#include "Settings.h"

#include <QTemporaryDir>
#include <QTest>

// Day numbers, German amounts and the settings store.
class TestCommon : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dayNumbers_data();
    void dayNumbers();
    void storedDayTexts_data();
    void storedDayTexts();
    void germanAmounts_data();
    void germanAmounts();
    void storedAmounts_data();
    void storedAmounts();
    void sumsDoNotDrift();
    void settingsDefaultsAndCase();
    void settingsSurviveReopen();
};

void TestCommon::dayNumbers_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("dayNumber");
    QTest::addColumn<QString>("shown");
    QTest::newRow("1 January 2005") << QDate(2005, 1, 1) << 38353 << "01.01.2005";
    QTest::newRow("31 December 2005") << QDate(2005, 12, 31) << 38717 << "31.12.2005";
    QTest::newRow("1 January 2000") << QDate(2000, 1, 1) << 36526 << "01.01.2000";
    QTest::newRow("epoch") << QDate(1899, 12, 30) << 0 << "30.12.1899";
    QTest::newRow("leap day") << QDate(2024, 2, 29) << 45351 << "29.02.2024";
}

void TestCommon::dayNumbers() {
    QFETCH(QDate, date);
    QFETCH(int, dayNumber);
    QFETCH(QString, shown);
    QCOMPARE(DayNumber::fromDate(date), dayNumber);
    QCOMPARE(DayNumber::toDate(dayNumber), date);
    QCOMPARE(DayNumber::format(dayNumber), shown);
}

void TestCommon::storedDayTexts_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("integer text") << "38353" << "01.01.2005";
    QTest::newRow("real text") << "38717.0" << "31.12.2005";
    QTest::newRow("empty is an empty cell, not 30.12.1899") << "" << "";
    QTest::newRow("blank") << "  " << "";
    QTest::newRow("foreign text") << "gestern" << "";
}

void TestCommon::storedDayTexts() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(DayNumber::formatStored(stored), shown);
}

void TestCommon::germanAmounts_data() {
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

void TestCommon::germanAmounts() {
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

void TestCommon::storedAmounts_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("real text") << "1234.5" << true << qint64(123450);
    QTest::newRow("binary fraction") << "0.1" << true << qint64(10);
    QTest::newRow("just below a cent boundary") << "19.99" << true << qint64(1999);
    QTest::newRow("integer") << "12" << true << qint64(1200);
    QTest::newRow("german comma from an old file") << "12,5" << true << qint64(1250);
    QTest::newRow("negative") << "-0.01" << true << qint64(-1);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("foreign text") << "n/a" << false << qint64(0);
    QTest::newRow("infinite") << "inf" << false << qint64(0);
}

void TestCommon::storedAmounts() {
    QFETCH(QString, stored);
    QFETCH(bool, valid);
    QFETCH(qint64, cents);
    const std::optional<Money> amount = Money::parseStored(stored);
    QCOMPARE(amount.has_value(), valid);
    if (valid)
        QCOMPARE(amount->cents(), cents);
}

void TestCommon::sumsDoNotDrift() {
    Money sum;
    for (int i = 0; i < 100000; ++i)
        sum += *Money::parseStored(QStringLiteral("0.1"));
    QCOMPARE(sum.toGerman(), QStringLiteral("10.000,00"));
    QCOMPARE((Money::fromCents(5) - Money::fromCents(7)).toGerman(), QStringLiteral("-0,02"));
}

void TestCommon::settingsDefaultsAndCase() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TalbrinZlv.ini"));
    const SettingKey<QString> folder{QStringLiteral("Setting"), QStringLiteral("PfadZurDAtenbank"),
                                     QStringLiteral("leer")};
    const SettingKey<int> width{QStringLiteral("frmAusgabe"), QStringLiteral("PFensterWidth"), 10275};
    {
        Settings settings(file);
        QCOMPARE(settings.value(folder), QStringLiteral("leer"));
        QCOMPARE(settings.value(width), 10275);
        settings.setValue(folder, QStringLiteral("/daten/"));
        settings.setValue(SettingKey<QString>{QStringLiteral("FRMAUSGABE"), QStringLiteral("PFensterWidth"), {}},
                          QString());
    }
    Settings reopened(file);
    QCOMPARE(reopened.value(folder), QStringLiteral("/daten/"));
    const SettingKey<QString> otherCase{QStringLiteral("setting"), QStringLiteral("PfadZurDAtenbank"), {}};
    QCOMPARE(reopened.value(otherCase), QStringLiteral("/daten/"));
    // An empty stored number reads as the default, and the section found ignoring case is reused.
    QCOMPARE(reopened.value(width), 10275);
    reopened.setValue(width, 9000);
    QCOMPARE(reopened.value(width), 9000);
}

void TestCommon::settingsSurviveReopen() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TalbrinZlv.ini"));
    const SettingKey<QString> authority{QStringLiteral("frmAusgabe"), QStringLiteral("NameBehörde"), {}};
    {
        Settings settings(file);
        settings.setValue(authority, QStringLiteral("Landratsamt Wernholm, \"Bauamt\"; Zi. 3"));
        QVERIFY(settings.sync());
    }
    Settings reopened(file);
    QCOMPARE(reopened.value(authority), QStringLiteral("Landratsamt Wernholm, \"Bauamt\"; Zi. 3"));
}

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
