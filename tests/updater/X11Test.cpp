// Runs against an X server of its own (Xvfb): real windows of helper processes, the real Zlv, and the
// updater's window itself shown on that display.
#include "FileOperations.h"
#include "RunningProgram.h"
#include "ScriptedUpdaterDialogs.h"
#include "UpdateFolders.h"
#include "UpdaterWindow.h"
#include "X11Windows.h"
#include "XvfbServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
QStringList titlesOn(const QString& display) {
    QStringList titles;
    const std::unique_ptr<X11Windows> windows = X11Windows::open(display);
    if (windows) {
        for (const X11Windows::Window& window : windows->topLevelWindows())
            titles << window.title;
    }
    return titles;
}

// Waits until a window with each of the titles is on the display.
bool waitForTitles(const QString& display, const QStringList& wanted, int milliseconds = 10000) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const QStringList titles = titlesOn(display);
        if (std::all_of(wanted.begin(), wanted.end(),
                        [&](const QString& title) { return titles.contains(title); }))
            return true;
        if (timer.elapsed() >= milliseconds)
            return false;
        QTest::qWait(50);
    }
}

// A helper process with one window titled title.
struct TestWindow {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();

    TestWindow(const QString& display, const QString& title, bool staysOpen = false) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{title};
        if (staysOpen)
            arguments << QStringLiteral("--stays-open");
        process->start(QStringLiteral(TEST_WINDOW_PATH), arguments);
    }
    ~TestWindow() {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    bool askedToClose() {
        output += process->readAllStandardOutput();
        return output.contains("asked to close");
    }
    QByteArray output;
};
} // namespace

class X11Test : public QObject {
    Q_OBJECT
public:
    explicit X11Test(const QString& display) : m_display(display) {}

private slots:
    void closesOnlyWindowsWhoseTitleBeginsWithTheProgramTitle();
    void windowThatStaysOpenStopsAfterTheWait();
    void withoutDisplayNothingIsLookedFor();
    void updaterWindowClosesTheProgramButNotItself();
    void runningZlvEndsWhenItsStartMenuIsAskedToClose();

private:
    QString m_display;
};

void X11Test::closesOnlyWindowsWhoseTitleBeginsWithTheProgramTitle() {
    TestWindow program(m_display, QStringLiteral("Talbrin Zelvora Test"));
    TestWindow inside(m_display, QStringLiteral("X Talbrin Zelvora"));
    TestWindow lowerCase(m_display, QStringLiteral("talbrin zelvora"));
    QVERIFY(
        waitForTitles(m_display, {QStringLiteral("Talbrin Zelvora Test"), QStringLiteral("X Talbrin Zelvora"),
                                  QStringLiteral("talbrin zelvora")}));

    X11RunningProgram closer(std::chrono::seconds(10), m_display);
    QCOMPARE(closer.close(), RunningProgram::Result::Closed);
    QCOMPARE(closer.askedTitles(), QStringList{QStringLiteral("Talbrin Zelvora Test")});
    QVERIFY(program.process->state() == QProcess::NotRunning || program.process->waitForFinished(5000));
    QCOMPARE(program.process->exitCode(), 0);
    QVERIFY(program.askedToClose());
    QVERIFY(!titlesOn(m_display).contains(QStringLiteral("Talbrin Zelvora Test")));

    QTest::qWait(200);
    QCOMPARE(inside.process->state(), QProcess::Running);
    QCOMPARE(lowerCase.process->state(), QProcess::Running);
    QVERIFY(!inside.askedToClose());
    QVERIFY(!lowerCase.askedToClose());
    QVERIFY2(
        waitForTitles(m_display, {QStringLiteral("X Talbrin Zelvora"), QStringLiteral("talbrin zelvora")}, 0),
        qPrintable(titlesOn(m_display).join(QStringLiteral(" | "))));
}

void X11Test::windowThatStaysOpenStopsAfterTheWait() {
    TestWindow stubborn(m_display, QStringLiteral("Talbrin Zelvora Stur"), true);
    QVERIFY(waitForTitles(m_display, {QStringLiteral("Talbrin Zelvora Stur")}));
    X11RunningProgram closer(std::chrono::milliseconds(1500), m_display);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(closer.close(), RunningProgram::Result::StillOpen);
    QVERIFY(timer.elapsed() >= 1400);
    QVERIFY(timer.elapsed() < 5000);
    QTRY_VERIFY(stubborn.askedToClose());
    QCOMPARE(stubborn.process->state(), QProcess::Running);
}

void X11Test::withoutDisplayNothingIsLookedFor() {
    QCOMPARE(X11RunningProgram(std::chrono::seconds(1), QStringLiteral(":59999")).close(),
             RunningProgram::Result::NoDisplay);
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    const RunningProgram::Result result = X11RunningProgram(std::chrono::seconds(1)).close();
    qputenv("DISPLAY", display);
    QCOMPARE(result, RunningProgram::Result::NoDisplay);
}

void X11Test::updaterWindowClosesTheProgramButNotItself() {
    UpdateFolders folders;
    QVERIFY(folders.isValid());
    ScriptedUpdaterDialogs dialogs;
    X11RunningProgram program(std::chrono::seconds(10), m_display);
    FileOperations files;
    UpdaterWindow window(folders.source(), dialogs, program, files);
    window.show();
    window.start(folders.target());
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TestWindow zlv(m_display, QStringLiteral("Talbrin Zelvora Test"));
    TestWindow other(m_display, QStringLiteral("X Talbrin Zelvora"));
    // The walk over the display sees the updater's own window.
    QVERIFY(waitForTitles(m_display, {UpdaterWindow::caption(), QStringLiteral("Talbrin Zelvora Test"),
                                      QStringLiteral("X Talbrin Zelvora")}));

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(program.askedTitles(), QStringList{QStringLiteral("Talbrin Zelvora Test")});
    QCOMPARE(dialogs.lastText(), QStringLiteral("Das Update wurde erfolgreich durchgeführt."));
    QVERIFY(zlv.process->state() == QProcess::NotRunning || zlv.process->waitForFinished(5000));
    QCOMPARE(other.process->state(), QProcess::Running);
    QVERIFY(folders.holdsNewPairWithoutSources());
}

void X11Test::runningZlvEndsWhenItsStartMenuIsAskedToClose() {
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QString installation = home.filePath(QStringLiteral("installation"));
    QVERIFY(QDir().mkpath(installation));
    QVERIFY(QFile::copy(QStringLiteral(ZLV_PATH), installation + QStringLiteral("/Zlv")));
    QCOMPARE(QProcess::execute(QStringLiteral(MAKEDB_PATH), {installation + QStringLiteral("/ZLV.mdb")}), 0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("TMPDIR"), home.path());
    QProcess zlv;
    zlv.setProcessEnvironment(environment);
    zlv.setProcessChannelMode(QProcess::ForwardedChannels);
    zlv.start(installation + QStringLiteral("/Zlv"));
    QVERIFY(zlv.waitForStarted());

    QElapsedTimer timer;
    timer.start();
    QString startMenu;
    while (startMenu.isEmpty() && timer.elapsed() < 20000 && zlv.state() == QProcess::Running) {
        for (const QString& title : titlesOn(m_display)) {
            if (title.startsWith(QStringLiteral("Talbrin Zelvora V")) &&
                title.endsWith(QStringLiteral("Startmenü")))
                startMenu = title;
        }
        QTest::qWait(100);
    }
    QVERIFY2(!startMenu.isEmpty(), qPrintable(titlesOn(m_display).join(QStringLiteral(" | "))));

    X11RunningProgram closer(std::chrono::seconds(10), m_display);
    QCOMPARE(closer.close(), RunningProgram::Result::Closed);
    QVERIFY(closer.askedTitles().contains(startMenu));
    QVERIFY(zlv.state() == QProcess::NotRunning || zlv.waitForFinished(10000));
    QCOMPARE(zlv.exitStatus(), QProcess::NormalExit);
    QCOMPARE(zlv.exitCode(), 0);
    // Zlv recorded its folder where the updater looks for it.
    QVERIFY(QFileInfo::exists(home.filePath(QStringLiteral("config/TalbrinZlv/TalbrinZlv.ini"))));
}

int main(int argc, char** argv) {
    XvfbServer server;
    if (!server.start()) {
        std::fprintf(stderr, "No Xvfb X server could be started (package xvfb).\n");
        return 1;
    }
    // This process shows the updater's window on that server, whatever display the environment has.
    qputenv("DISPLAY", server.display());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    X11Test test(QString::fromLatin1(server.display()));
    return QTest::qExec(&test, argc, argv);
}

#include "X11Test.moc"
