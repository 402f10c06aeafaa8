// Runs against an X server of its own (Xvfb): real windows of helper processes and the real Zlv.
#include "ProgramFolderSetting.h"
#include "RunningProgram.h"
#include "UpdaterWindow.h"
#include "X11Windows.h"
#include "XvfbServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
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

bool showsAll(const QString& display, const QStringList& wanted) {
    const QStringList titles = titlesOn(display);
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const QString& title) { return titles.contains(title); });
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

// A helper process with one window titled title; answer is empty (it ends when asked to close),
// "--stays-open" or "--hides".
struct TestWindow {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();

    TestWindow(const QString& display, const QString& title, const QString& answer = QString()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(TEST_WINDOW_PATH), QStringList{title, answer});
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

Q_DECLARE_METATYPE(RunningProgram::Result)

class X11Test : public QObject {
    Q_OBJECT
public:
    explicit X11Test(const QString& display) : m_display(display) {}

private slots:
    void onlyWindowsTitledLikeTheProgramAreAskedToClose_data();
    void onlyWindowsTitledLikeTheProgramAreAskedToClose();
    void windowManagersClientListIsWalked();
    void withoutDisplayNothingIsLookedFor();
    void runningZlvEndsWhenItsStartMenuIsAskedToClose();

private:
    QProcessEnvironment userEnvironment(const QString& home) const;
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

// Starts Zlv_Update for the user whose home is home; true when it opens its browse dialog by itself.
bool X11Test::updaterBrowsesAtStart(const QString& home) {
    QProcess updater;
    updater.setProcessEnvironment(userEnvironment(home));
    updater.start(QStringLiteral(ZLV_UPDATE_PATH));
    const bool browses =
        QTest::qWaitFor([&] { return showsAll(m_display, {UpdaterWindow::caption()}); }, 10000) &&
        QTest::qWaitFor([&] { return showsAll(m_display, {UpdaterWindow::browseTitle()}); }, 2000);
    updater.kill();
    updater.waitForFinished(5000);
    return browses;
}

void X11Test::onlyWindowsTitledLikeTheProgramAreAskedToClose_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<RunningProgram::Result>("result");
    QTest::newRow("window ends") << QString() << RunningProgram::Result::Closed;
    QTest::newRow("window hides") << QStringLiteral("--hides") << RunningProgram::Result::Closed;
    QTest::newRow("window stays open") << QStringLiteral("--stays-open") << RunningProgram::Result::StillOpen;
}

void X11Test::onlyWindowsTitledLikeTheProgramAreAskedToClose() {
    QFETCH(QString, answer);
    QFETCH(RunningProgram::Result, result);
    const QString title = QStringLiteral("Talbrin Zelvora Test");
    TestWindow program(m_display, title, answer);
    TestWindow inside(m_display, QStringLiteral("X Talbrin Zelvora"));
    TestWindow lowerCase(m_display, QStringLiteral("talbrin zelvora"));
    QTRY_VERIFY_WITH_TIMEOUT(
        showsAll(m_display, {title, QStringLiteral("X Talbrin Zelvora"), QStringLiteral("talbrin zelvora")}),
        10000);
    X11RunningProgram closer(std::chrono::milliseconds(1500), m_display);
    QElapsedTimer timer;
    timer.start();

    QCOMPARE(closer.close(), result);

    QCOMPARE(closer.askedTitles(), QStringList{title});
    QTRY_VERIFY(program.askedToClose());
    QCOMPARE(titlesOn(m_display).contains(title), result == RunningProgram::Result::StillOpen);
    QVERIFY(result == RunningProgram::Result::Closed || timer.elapsed() >= 1400);
    QCOMPARE(inside.process->state(), QProcess::Running);
    QCOMPARE(lowerCase.process->state(), QProcess::Running);
    QVERIFY(!inside.askedToClose() && !lowerCase.askedToClose());
}

void X11Test::windowManagersClientListIsWalked() {
    const QString listedTitle = QStringLiteral("Talbrin Zelvora Verwaltet");
    const QString unlistedTitle = QStringLiteral("Talbrin Zelvora Ohne Verwaltung");
    TestWindow listed(m_display, listedTitle);
    TestWindow unlisted(m_display, unlistedTitle);
    QTRY_VERIFY_WITH_TIMEOUT(showsAll(m_display, {listedTitle, unlistedTitle}), 10000);
    std::uint32_t listedId = 0;
    for (const X11Windows::Window& window : X11Windows::open(m_display)->topLevelWindows()) {
        if (window.title == listedTitle)
            listedId = window.id;
    }
    FakeWindowManager manager(m_display);
    QVERIFY(manager.isValid());
    manager.list({listedId});
    QCOMPARE(titlesOn(m_display).count(unlistedTitle), 1);
    manager.nameCheckWindow();
    QCOMPARE(titlesOn(m_display), QStringList{listedTitle});
    X11RunningProgram closer(std::chrono::seconds(5), m_display);
    QElapsedTimer timer;
    timer.start();

    QCOMPARE(closer.close(), RunningProgram::Result::Closed);

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

void X11Test::runningZlvEndsWhenItsStartMenuIsAskedToClose() {
    QTemporaryDir home;
    const QString installation = home.filePath(QStringLiteral("installation"));
    QVERIFY(QDir().mkpath(installation));
    QVERIFY(QFile::copy(QStringLiteral(ZLV_PATH), installation + QStringLiteral("/Zlv")));
    QCOMPARE(QProcess::execute(QStringLiteral(MAKEDB_PATH), {installation + QStringLiteral("/ZLV.mdb")}), 0);
    QProcess zlv;
    zlv.setProcessEnvironment(userEnvironment(home.path()));
    zlv.setProcessChannelMode(QProcess::ForwardedChannels);
    zlv.start(installation + QStringLiteral("/Zlv"));
    const auto startMenu = [&] {
        const QStringList titles = titlesOn(m_display);
        const auto found = std::find_if(titles.begin(), titles.end(), [](const QString& title) {
            return title.startsWith(QStringLiteral("Talbrin Zelvora V")) &&
                   title.endsWith(QStringLiteral("Startmenü"));
        });
        return found == titles.end() ? QString() : *found;
    };
    QTRY_VERIFY_WITH_TIMEOUT(!startMenu().isEmpty(), 20000);
    const QString shown = startMenu();
    X11RunningProgram closer(std::chrono::seconds(10), m_display);

    QCOMPARE(closer.close(), RunningProgram::Result::Closed);

    QVERIFY(closer.askedTitles().contains(shown));
    QVERIFY(zlv.state() == QProcess::NotRunning || zlv.waitForFinished(10000));
    QCOMPARE(zlv.exitStatus(), QProcess::NormalExit);
    QCOMPARE(zlv.exitCode(), 0);
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
    qputenv("DISPLAY", server.display());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    X11Test test(QString::fromLatin1(server.display()));
    return QTest::qExec(&test, argc, argv);
}

#include "X11Test.moc"
