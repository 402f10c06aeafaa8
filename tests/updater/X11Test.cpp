// Runs against an X server of its own (Xvfb): real windows of helper processes, the real Zlv, and the
// updater's window itself shown on that display.
#include "FileOperations.h"
#include "ProgramFolderSetting.h"
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
#include <xcb/xcb.h>

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

// Waits until the X server has handled every request sent so far.
void roundTrip(xcb_connection_t* connection) {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
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

// Plays a window manager on the display: a check window named on the root window and a client list.
// A check window that does not name itself too is one that a window manager left behind when it ended.
class FakeWindowManager {
public:
    explicit FakeWindowManager(const QString& display)
        : m_connection(xcb_connect(display.toLatin1().constData(), nullptr)) {
        if (!isValid())
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_check = atom("_NET_SUPPORTING_WM_CHECK");
        m_clientList = atom("_NET_CLIENT_LIST");
        m_checkWindow = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_checkWindow, m_root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, m_check, XCB_ATOM_WINDOW, 32, 1,
                            &m_checkWindow);
        roundTrip(m_connection);
    }
    ~FakeWindowManager() {
        if (isValid()) {
            xcb_delete_property(m_connection, m_root, m_check);
            xcb_delete_property(m_connection, m_root, m_clientList);
            xcb_destroy_window(m_connection, m_checkWindow);
            roundTrip(m_connection);
        }
        xcb_disconnect(m_connection);
    }
    bool isValid() const { return !xcb_connection_has_error(m_connection); }
    void list(const QList<std::uint32_t>& windows) {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, m_clientList, XCB_ATOM_WINDOW, 32,
                            std::uint32_t(windows.size()), windows.constData());
        roundTrip(m_connection);
    }
    void nameCheckWindow() {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_checkWindow, m_check, XCB_ATOM_WINDOW, 32,
                            1, &m_checkWindow);
        roundTrip(m_connection);
    }

private:
    xcb_atom_t atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_check = 0;
    xcb_atom_t m_clientList = 0;
    xcb_window_t m_checkWindow = 0;
};

// A helper process with one window titled title.
struct TestWindow {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();

    enum class Answer { Ends, StaysOpen, Hides };

    TestWindow(const QString& display, const QString& title, Answer answer = Answer::Ends) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList arguments{title};
        if (answer == Answer::StaysOpen)
            arguments << QStringLiteral("--stays-open");
        if (answer == Answer::Hides)
            arguments << QStringLiteral("--hides");
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
    void hiddenWindowCountsAsClosed();
    void windowManagersClientListIsWalked();
    void withoutDisplayNothingIsLookedFor();
    void updaterWindowClosesTheProgramButNotItself();
    void runningZlvEndsWhenItsStartMenuIsAskedToClose();

private:
    QProcessEnvironment userEnvironment(const QString& home) const;
    // Starts Zlv_Update for the user whose home is home and waits for its window; true when it then
    // opens its browse dialog by itself.
    bool updaterBrowsesAtStart(const QString& home);

    QString m_display;
};

QProcessEnvironment X11Test::userEnvironment(const QString& home) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("TMPDIR"), home);
    return environment;
}

bool X11Test::updaterBrowsesAtStart(const QString& home) {
    QProcess updater;
    updater.setProcessEnvironment(userEnvironment(home));
    updater.start(QStringLiteral(ZLV_UPDATE_PATH));
    const bool shown = waitForTitles(m_display, {UpdaterWindow::caption()});
    const bool browses = shown && waitForTitles(m_display, {UpdaterWindow::browseTitle()}, 2000);
    updater.kill();
    updater.waitForFinished(5000);
    if (!shown)
        qWarning("Zlv_Update showed no window");
    return browses;
}

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
    TestWindow stubborn(m_display, QStringLiteral("Talbrin Zelvora Stur"), TestWindow::Answer::StaysOpen);
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

void X11Test::hiddenWindowCountsAsClosed() {
    TestWindow hiding(m_display, QStringLiteral("Talbrin Zelvora Versteckt"), TestWindow::Answer::Hides);
    QVERIFY(waitForTitles(m_display, {QStringLiteral("Talbrin Zelvora Versteckt")}));
    QCOMPARE(X11RunningProgram(std::chrono::seconds(5), m_display).close(), RunningProgram::Result::Closed);
    QTRY_VERIFY(hiding.askedToClose());
    QCOMPARE(hiding.process->state(), QProcess::Running);
    QVERIFY(!titlesOn(m_display).contains(QStringLiteral("Talbrin Zelvora Versteckt")));
}

void X11Test::windowManagersClientListIsWalked() {
    TestWindow listed(m_display, QStringLiteral("Talbrin Zelvora Verwaltet"));
    TestWindow unlisted(m_display, QStringLiteral("Talbrin Zelvora Ohne Verwaltung"));
    QVERIFY(waitForTitles(m_display, {QStringLiteral("Talbrin Zelvora Verwaltet"),
                                      QStringLiteral("Talbrin Zelvora Ohne Verwaltung")}));
    std::uint32_t listedId = 0;
    for (const X11Windows::Window& window : X11Windows::open(m_display)->topLevelWindows()) {
        if (window.title == QStringLiteral("Talbrin Zelvora Verwaltet"))
            listedId = window.id;
    }
    QVERIFY(listedId != 0);

    FakeWindowManager manager(m_display);
    QVERIFY(manager.isValid());
    manager.list({listedId});
    // A check window that does not name itself is one a window manager left behind.
    QCOMPARE(titlesOn(m_display).count(QStringLiteral("Talbrin Zelvora Ohne Verwaltung")), 1);
    manager.nameCheckWindow();
    QCOMPARE(titlesOn(m_display), QStringList{QStringLiteral("Talbrin Zelvora Verwaltet")});

    // The managed window ends while the window manager's list still names it: it counts as gone.
    X11RunningProgram closer(std::chrono::seconds(5), m_display);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(closer.close(), RunningProgram::Result::Closed);
    QCOMPARE(closer.askedTitles(), QStringList{QStringLiteral("Talbrin Zelvora Verwaltet")});
    QVERIFY(timer.elapsed() < 3000);
    QTRY_COMPARE(listed.process->state(), QProcess::NotRunning);
    QCOMPARE(unlisted.process->state(), QProcess::Running);
    QVERIFY(!unlisted.askedToClose());
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

    QProcess zlv;
    zlv.setProcessEnvironment(userEnvironment(home.path()));
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
    // Zlv recorded its folder where the updater looks for it: the updater started for this user fills
    // its folder field without asking, the one started for a user without settings asks at once.
    QCOMPARE(ProgramFolderSetting::read(home.filePath(QStringLiteral("config/TalbrinZlv/TalbrinZlv.ini"))),
             installation);
    QVERIFY(!updaterBrowsesAtStart(home.path()));
    QTemporaryDir newUser;
    QVERIFY(updaterBrowsesAtStart(newUser.path()));
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
