#include "BenchTable.h"

#include <QTest>

// The result table: each line's ratio against its limit, written as the limit is given.
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
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("failures");
    QTest::newRow("below the limit") << 24.0 << 20.0 << QString()
                                     << "x                                       24.00      20.00   1.20x  "
                                        "1.25x  PASS"
                                     << 0;
    QTest::newRow("at the limit")
        << 25.0 << 20.0 << QString()
        << "x                                       25.00      20.00   1.25x  1.25x  PASS" << 0;
    QTest::newRow("above the limit") << 25.4 << 20.0 << QString()
                                     << "x                                       25.40      20.00   1.27x  "
                                        "1.25x  FAIL  <<<<<<"
                                     << 1;
    QTest::newRow("no baseline time") << 25.0 << 0.0 << QString()
                                      << "x                                       25.00       0.00   0.00x  "
                                         "1.25x  FAIL  <<<<<<"
                                      << 1;
    QTest::newRow("not measured")
        << 0.0 << 0.0 << QStringLiteral("ours failed")
        << "x                                           -          -       -  1.25x  "
           "ERROR: ours failed"
        << 1;
}

void BenchTableTest::line() {
    QFETCH(double, ours);
    QFETCH(double, baseline);
    QFETCH(QString, error);
    QFETCH(QString, expected);
    QFETCH(int, failures);
    BenchTable table;
    BenchTable::Row row;
    row.name = QStringLiteral("x");
    row.oursMs = ours;
    row.baselineMs = baseline;
    row.limit = 1.25;
    row.error = error;
    table.add(row);
    const QStringList lines = table.text().split(QLatin1Char('\n'));
    QCOMPARE(lines.value(2), expected);
    QCOMPARE(table.failures(), failures);
}

QTEST_MAIN(BenchTableTest)
#include "BenchTableTest.moc"
