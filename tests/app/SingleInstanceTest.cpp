#include "SingleInstance.h"

#include <QTemporaryDir>
#include <QTest>

// Only one instance of the program holds the lock at a time.
class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void secondInstanceIsRefusedUntilTheFirstReleases() {
        QTemporaryDir dir;
        const QString lockPath = dir.filePath(QStringLiteral("zlv.lock"));
        SingleInstance first(lockPath);
        SingleInstance second(lockPath);

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
