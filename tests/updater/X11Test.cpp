// Runs against an X server of its own (Xvfb) with real windows of helper processes.
#include "RunningProgram.h"
#include "X11Windows.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <memory>

Q_DECLARE_METATYPE(RunningProgram::Result)

namespace {
using Result = RunningProgram::Result;

QStringList titlesOnDisplay() {
    QStringList titles;
    if (const std::unique_ptr<X11Windows> windows = X11Windows::open())
        for (const X11Windows::Window& window : windows->topLevelWindows())
            titles << window.title;
    return titles;
}

bool showsAll(const QStringList& wanted) {
    const QStringList titles = titlesOnDisplay();
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const QString& title) { return titles.contains(title); });
}

// A helper process with one window; answer is empty (it ends when asked to close), "--stays-open" or
// "--hides".
struct TestWindow {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QByteArray output;

    explicit TestWindow(const QString& title, const QString& answer = QString()) {
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(TEST_WINDOW_PATH), QStringList{title, answer});
    }
    ~TestWindow() {
        process->kill();
        process->waitForFinished(5000);
    }
    bool askedToClose() {
        output += process->readAllStandardOutput();
        return output.contains("asked to close");
    }
};
} // namespace

class X11Test : public QObject {
    Q_OBJECT
private slots:
    void onlyWindowsTitledLikeTheProgramAreAskedToClose_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<Result>("result");
        QTest::newRow("window ends") << QString() << Result::Closed;
        QTest::newRow("window hides") << QStringLiteral("--hides") << Result::Closed;
        QTest::newRow("window stays open") << QStringLiteral("--stays-open") << Result::StillOpen;
    }

    void onlyWindowsTitledLikeTheProgramAreAskedToClose() {
        QFETCH(QString, answer);
        QFETCH(Result, result);
        const QStringList titles{"Talbrin Zelvora Test", "X Talbrin Zelvora", "talbrin zelvora"};
        TestWindow program(titles[0], answer), inside(titles[1]), lowerCase(titles[2]);
        QTRY_VERIFY_WITH_TIMEOUT(showsAll(titles), 10000);
        X11RunningProgram closer(std::chrono::milliseconds(1500));

        QCOMPARE(closer.close(), result);

        QCOMPARE(closer.askedTitles(), QStringList{titles[0]});
        QTRY_VERIFY(program.askedToClose());
        QCOMPARE(titlesOnDisplay().contains(titles[0]), result == Result::StillOpen);
        QVERIFY(!inside.askedToClose() && !lowerCase.askedToClose());
    }
};

int main(int argc, char** argv) {
    // An X server of its own: Xvfb names its display once it listens and ends with its last client.
    FILE* xvfb =
        popen("exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -terminate 2>/dev/null", "r");
    char number[16] = {};
    if (!xvfb || !std::fgets(number, sizeof number, xvfb)) {
        std::fprintf(stderr, "No Xvfb X server could be started (package xvfb).\n");
        return 1;
    }
    qputenv("DISPLAY", ':' + QByteArray(number).trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    X11Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "X11Test.moc"
