#include "ProcessorSeparation.h"

#include <memory>
#include <QProcess>
#include <QTest>

namespace {

QList<int> processorsOf(pid_t process) {
    cpu_set_t set;
    CPU_ZERO(&set);
    QList<int> processors;
    if (sched_getaffinity(process, sizeof set, &set) != 0)
        return processors;
    for (int processor = 0; processor < CPU_SETSIZE; ++processor) {
        if (CPU_ISSET(processor, &set))
            processors.append(processor);
    }
    return processors;
}

std::unique_ptr<QProcess> sleeper() {
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral("sleep"), {QStringLiteral("60")});
    return process->waitForStarted() ? std::move(process) : nullptr;
}

} // namespace

// The benchmark's measuring thread and a local server's processes on processors of their own, while the
// object lives, and each back where it was after.
class ProcessorSeparationTest : public QObject {
    Q_OBJECT
private slots:
    void movesOnlyWhatItMay_data();
    void movesOnlyWhatItMay();
};

void ProcessorSeparationTest::movesOnlyWhatItMay_data() {
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<bool>("oneHasEnded");
    QTest::addColumn<bool>("moved");
    QTest::newRow("the server's processes") << QStringLiteral("sleep") << false << true;
    QTest::newRow("a process of another name") << QStringLiteral("postgres") << false << false;
    QTest::newRow("a process that has ended") << QStringLiteral("sleep") << true << false;
}

void ProcessorSeparationTest::movesOnlyWhatItMay() {
    QFETCH(QString, expectedName);
    QFETCH(bool, oneHasEnded);
    QFETCH(bool, moved);
    const QList<int> threadBefore = processorsOf(0);
    QVERIFY(!threadBefore.isEmpty());
    const bool separable = moved && threadBefore.size() > 1;
    const std::unique_ptr<QProcess> first = sleeper();
    const std::unique_ptr<QProcess> second = sleeper();
    QVERIFY(first && second);
    const pid_t firstId = static_cast<pid_t>(first->processId());
    const pid_t secondId = static_cast<pid_t>(second->processId());
    // Where the second sleeper is moved, the first's processors must come back.
    if (oneHasEnded) {
        second->kill();
        QVERIFY(second->waitForFinished());
    }
    const QList<int> firstBefore = processorsOf(firstId);
    {
        const ProcessorSeparation separation({firstId, secondId}, expectedName);
        QCOMPARE(separation.applied(), separable);
        if (separable) {
            QCOMPARE(processorsOf(firstId), QList<int>{threadBefore.last()});
            QCOMPARE(processorsOf(secondId), QList<int>{threadBefore.last()});
            QCOMPARE(processorsOf(0), QList<int>{threadBefore.first()});
            QVERIFY(
                separation.description().contains(QStringLiteral("processor %1").arg(threadBefore.last())));
        } else {
            QCOMPARE(processorsOf(firstId), firstBefore);
            QCOMPARE(processorsOf(0), threadBefore);
            QVERIFY(separation.description().startsWith(QStringLiteral("not separated")));
        }
    }
    QCOMPARE(processorsOf(firstId), firstBefore);
    QCOMPARE(processorsOf(0), threadBefore);
    first->kill();
    first->waitForFinished();
    if (!oneHasEnded) {
        second->kill();
        second->waitForFinished();
    }
}

QTEST_GUILESS_MAIN(ProcessorSeparationTest)
#include "ProcessorSeparationTest.moc"
