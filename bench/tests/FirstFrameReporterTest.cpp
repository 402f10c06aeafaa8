#include "FirstFrameReporter.h"

#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A child widget that remembers whether it has been painted.
class PaintedMark : public QWidget {
public:
    using QWidget::QWidget;
    bool painted = false;

protected:
    void paintEvent(QPaintEvent*) override { painted = true; }
};

// A window with one child that paints itself after the window's own paint event.
class MarkedWindow : public QMainWindow {
public:
    MarkedWindow() {
        mark = new PaintedMark(this);
        setCentralWidget(mark);
        resize(200, 100);
    }
    PaintedMark* mark;
};

} // namespace

// The start-up benchmark's end mark: the first painted frame of a window, and a confirmation when asked.
class FirstFrameReporterTest : public QObject {
    Q_OBJECT
private slots:
    void readyAfterTheWholeFirstFrame();
    void notReadyOnTheShowEvent();
    void confirmation_data();
    void confirmation();
    void otherWindowClassesIgnored();
    void readyOnce();
};

void FirstFrameReporterTest::readyAfterTheWholeFirstFrame() {
    FirstFrameReporter reporter("QMainWindow", false);
    qApp->installEventFilter(&reporter);
    MarkedWindow window;
    bool childPaintedAtReady = false;
    connect(&reporter, &FirstFrameReporter::ready, this, [&] { childPaintedAtReady = window.mark->painted; });
    QSignalSpy ready(&reporter, &FirstFrameReporter::ready);
    window.show();
    QTRY_COMPARE(ready.count(), 1);
    QVERIFY(childPaintedAtReady);
    qApp->removeEventFilter(&reporter);
}

void FirstFrameReporterTest::notReadyOnTheShowEvent() {
    FirstFrameReporter reporter("QMainWindow", false);
    qApp->installEventFilter(&reporter);
    MarkedWindow window;
    window.show();
    QVERIFY(window.isVisible());
    QVERIFY(!reporter.isReady());
    QVERIFY(!window.mark->painted);
    QTRY_VERIFY(reporter.isReady());
    qApp->removeEventFilter(&reporter);
}

void FirstFrameReporterTest::confirmation_data() {
    QTest::addColumn<bool>("confirmBeforeFrame");
    QTest::newRow("confirmed before the first frame") << true;
    QTest::newRow("confirmed after the first frame") << false;
}

void FirstFrameReporterTest::confirmation() {
    QFETCH(bool, confirmBeforeFrame);
    FirstFrameReporter reporter("QMainWindow", true);
    qApp->installEventFilter(&reporter);
    QSignalSpy ready(&reporter, &FirstFrameReporter::ready);
    MarkedWindow window;
    if (confirmBeforeFrame)
        reporter.confirm();
    QVERIFY(!reporter.isReady());
    window.show();
    QTRY_VERIFY(reporter.hasFramed());
    if (!confirmBeforeFrame) {
        QTest::qWait(20);
        QCOMPARE(ready.count(), 0);
        reporter.confirm();
    }
    QCOMPARE(ready.count(), 1);
    qApp->removeEventFilter(&reporter);
}

void FirstFrameReporterTest::otherWindowClassesIgnored() {
    FirstFrameReporter reporter("QMainWindow", false);
    qApp->installEventFilter(&reporter);
    QWidget plain;
    plain.resize(100, 100);
    auto* child = new MarkedWindow;
    child->setParent(&plain, Qt::Widget);
    new QVBoxLayout(&plain);
    plain.layout()->addWidget(child);
    plain.show();
    QTRY_VERIFY(child->mark->painted);
    QTest::qWait(20);
    QVERIFY(!reporter.isReady());
    MarkedWindow window;
    window.show();
    QTRY_VERIFY(reporter.isReady());
    qApp->removeEventFilter(&reporter);
}

void FirstFrameReporterTest::readyOnce() {
    FirstFrameReporter reporter("QMainWindow", true);
    qApp->installEventFilter(&reporter);
    QSignalSpy ready(&reporter, &FirstFrameReporter::ready);
    MarkedWindow window;
    window.show();
    QTRY_VERIFY(reporter.hasFramed());
    reporter.confirm();
    window.mark->painted = false;
    window.update();
    QTRY_VERIFY(window.mark->painted);
    reporter.confirm();
    QTest::qWait(20);
    QCOMPARE(ready.count(), 1);
    qApp->removeEventFilter(&reporter);
}

QTEST_MAIN(FirstFrameReporterTest)
#include "FirstFrameReporterTest.moc"
