#include "BenchTable.h"

#include <QTest>

// The result table: each line's ratio against its limit, written as the limit is given; lines without a
// limit show their figures and never fail unless they could not be measured.
class BenchTableTest : public QObject {
    Q_OBJECT
private slots:
    void line_data();
    void line();
};

void BenchTableTest::line_data() {
    QTest::addColumn<double>("ours");
    QTest::addColumn<double>("baseline");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("reportOnly");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("failures");
    QTest::newRow("below the limit") << 24.0 << 20.0 << QString() << false
                                     << "x                                       24.00      20.00   1.20x  "
                                        "1.25x  PASS"
                                     << 0;
    QTest::newRow("at the limit")
        << 25.0 << 20.0 << QString() << false
        << "x                                       25.00      20.00   1.25x  1.25x  PASS" << 0;
    QTest::newRow("above the limit") << 25.4 << 20.0 << QString() << false
                                     << "x                                       25.40      20.00   1.27x  "
                                        "1.25x  FAIL  <<<<<<"
                                     << 1;
    QTest::newRow("no baseline time") << 25.0 << 0.0 << QString() << false
                                      << "x                                       25.00       0.00   0.00x  "
                                         "1.25x  FAIL  <<<<<<"
                                      << 1;
    QTest::newRow("not measured")
        << 0.0 << 0.0 << QStringLiteral("ours failed") << false
        << "x                                           -          -       -  1.25x  "
           "ERROR: ours failed"
        << 1;
    QTest::newRow("report only, no second figure")
        << 812.5 << 0.0 << QString() << true
        << "x                                      812.50          -       -      -  report only" << 0;
    QTest::newRow("report only, far beyond any limit")
        << 90.0 << 30.0 << QString() << true
        << "x                                       90.00      30.00   3.00x      -  report only" << 0;
    QTest::newRow("report only, not measured")
        << 0.0 << 0.0 << QStringLiteral("ours failed") << true
        << "x                                           -          -       -      -  ERROR: ours failed" << 1;
}

void BenchTableTest::line() {
    QFETCH(double, ours);
    QFETCH(double, baseline);
    QFETCH(QString, error);
    QFETCH(bool, reportOnly);
    QFETCH(QString, expected);
    QFETCH(int, failures);
    BenchTable table;
    BenchTable::Row row;
    row.name = QStringLiteral("x");
    row.oursMs = ours;
    row.baselineMs = baseline;
    row.limit = 1.25;
    row.error = error;
    row.reportOnly = reportOnly;
    table.add(row);
    const QStringList lines = table.text().split(QLatin1Char('\n'));
    QCOMPARE(lines.value(2), expected);
    QCOMPARE(table.failures(), failures);
}

QTEST_MAIN(BenchTableTest)
#include "BenchTableTest.moc"
