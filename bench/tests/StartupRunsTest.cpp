#include "StartupRuns.h"

#include <QTest>

using Times = StartupRuns::Times;
Q_DECLARE_METATYPE(QList<Times>)

// The start-up benchmark's runs: each program's fastest start of a run, the runs apart from one another.
class StartupRunsTest : public QObject {
    Q_OBJECT
private slots:
    void fastestOfEachRun_data();
    void fastestOfEachRun();
    void ratiosOfEachEntry();
};

void StartupRunsTest::fastestOfEachRun_data() {
    QTest::addColumn<int>("perRun");
    QTest::addColumn<QList<Times>>("starts");
    QTest::addColumn<QList<Times>>("expected");
    QTest::newRow("each program's own fastest start")
        << 3 << QList<Times>{{12, 10, 11}, {11, 12, 9}, {13, 9, 10}} << QList<Times>{{11, 9, 9}};
    QTest::newRow("a slow start in one run is not the next run's")
        << 2 << QList<Times>{{30, 10, 10}, {31, 11, 12}, {12, 10, 10}, {11, 10, 11}}
        << QList<Times>{{30, 10, 10}, {11, 10, 10}};
    QTest::newRow("an unfinished run is left out")
        << 2 << QList<Times>{{12, 10, 10}, {11, 9, 9}, {5, 5, 5}} << QList<Times>{{11, 9, 9}};
    QTest::newRow("one start per run")
        << 1 << QList<Times>{{12, 10, 11}, {13, 10, 9}} << QList<Times>{{12, 10, 11}, {13, 10, 9}};
}

void StartupRunsTest::fastestOfEachRun() {
    QFETCH(int, perRun);
    QFETCH(QList<Times>, starts);
    QFETCH(QList<Times>, expected);
    StartupRuns runs(perRun);
    for (const Times& start : starts)
        runs.add(start);
    const QList<Times> found = runs.runs();
    QCOMPARE(found.size(), expected.size());
    for (qsizetype i = 0; i < found.size(); ++i) {
        QCOMPARE(found.at(i).oursMs, expected.at(i).oursMs);
        QCOMPARE(found.at(i).baselineMs, expected.at(i).baselineMs);
        QCOMPARE(found.at(i).againMs, expected.at(i).againMs);
    }
}

void StartupRunsTest::ratiosOfEachEntry() {
    const QList<Times> times{{12, 10, 11}, {9, 12, 6}};
    QCOMPARE(StartupRuns::ratios(times), (QList<double>{1.2, 0.75}));
    QCOMPARE(StartupRuns::noiseRatios(times), (QList<double>{1.1, 0.5}));
}

QTEST_APPLESS_MAIN(StartupRunsTest)
#include "StartupRunsTest.moc"
