#include "SingleInstance.h"

#include <QTemporaryDir>
#include <QTest>

// Only one instance of the program holds the lock at a time.
class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void secondInstanceIsRefusedUntilTheFirstReleases() {
        QTemporaryDir dir;
        SingleInstance first(dir.filePath(QStringLiteral("zlv.lock")));
        SingleInstance second(dir.filePath(QStringLiteral("zlv.lock")));
        QVERIFY(first.acquire());
        QVERIFY(!second.acquire());
        QVERIFY(!second.isHeld());
        first.release();
        QVERIFY(second.acquire());
        QVERIFY(!first.acquire());
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
