// Runs against an X server of its own (Xvfb) with real windows of helper processes.
#include "RunningProgram.h"
#include "X11Windows.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <memory>
#include <xcb/xcb.h>

Q_DECLARE_METATYPE(RunningProgram::Result)

namespace {
using Result = RunningProgram::Result;

QString display() {
    return QString::fromLatin1(qgetenv("DISPLAY"));
}

QStringList titlesOnDisplay() {
    QStringList titles;
    if (const std::unique_ptr<X11Windows> windows = X11Windows::open(display()))
        for (const X11Windows::Window& window : windows->topLevelWindows())
            titles << window.title;
    return titles;
}

bool showsAll(const QStringList& wanted) {
    const QStringList titles = titlesOnDisplay();
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const QString& title) { return titles.contains(title); });
}

// Sets a window-list property as a window manager does and waits until the X server has handled it.
void setWindowProperty(xcb_connection_t* connection, xcb_window_t window, const char* name,
                       xcb_window_t value) {
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(qstrlen(name)), name), nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom->atom, XCB_ATOM_WINDOW, 32, 1,
                        &value);
    std::free(atom);
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
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
        X11RunningProgram closer(std::chrono::milliseconds(1500), display());

        QCOMPARE(closer.close(), result);

        QCOMPARE(closer.askedTitles(), QStringList{titles[0]});
        QTRY_VERIFY(program.askedToClose());
        QCOMPARE(titlesOnDisplay().contains(titles[0]), result == Result::StillOpen);
        QVERIFY(!inside.askedToClose() && !lowerCase.askedToClose());
    }

    // Under a window manager only the windows it lists count, as long as its check window names itself.
    void windowManagersClientListIsWalked() {
        const QStringList titles{"Talbrin Zelvora Verwaltet", "Talbrin Zelvora Ohne Verwaltung"};
        TestWindow listed(titles[0]), unlisted(titles[1]);
        QTRY_VERIFY_WITH_TIMEOUT(showsAll(titles), 10000);
        std::uint32_t listedId = 0;
        for (const X11Windows::Window& window : X11Windows::open(display())->topLevelWindows())
            listedId = window.title == titles[0] ? window.id : listedId;
        xcb_connection_t* manager = xcb_connect(qgetenv("DISPLAY").constData(), nullptr);
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(manager)).data->root;
        const xcb_window_t check = xcb_generate_id(manager);
        xcb_create_window(manager, XCB_COPY_FROM_PARENT, check, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        setWindowProperty(manager, root, "_NET_SUPPORTING_WM_CHECK", check);
        setWindowProperty(manager, root, "_NET_CLIENT_LIST", listedId);
        QCOMPARE(titlesOnDisplay().count(titles[1]), 1);
        setWindowProperty(manager, check, "_NET_SUPPORTING_WM_CHECK", check);

        QCOMPARE(X11RunningProgram(std::chrono::seconds(5), display()).close(), Result::Closed);

        QTRY_COMPARE(listed.process->state(), QProcess::NotRunning);
        QVERIFY(!unlisted.askedToClose());
        xcb_disconnect(manager);
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
