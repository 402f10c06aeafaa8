#include "WindowPlacement.h"
#include "ProgramFolderFixture.h"
#include "QtDialogs.h"
#include "TestDatabase.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {
// The offscreen screen of this test: a small laptop screen.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 600;
} // namespace

// Windows come up fully inside the available area of their screen.
class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void fittedGeometry_data() {
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<bool>("placed");
        QTest::addColumn<QPoint>("frameTopLeft");
        QTest::addColumn<QRect>("expected"); // client geometry; the frame is 2, 30, 2, 2
        const QRect screen(0, 0, 1600, 1000);
        const QRect belowPanel(0, 40, 1600, 960);
        QTest::newRow("fits, centred")
            << QSize(800, 600) << QSize() << screen << false << QPoint() << QRect(400, 214, 800, 600);
        QTest::newRow("too wide and too tall")
            << QSize(2000, 1200) << QSize() << screen << false << QPoint() << QRect(2, 30, 1596, 968);
        QTest::newRow("past the bottom right, moved back")
            << QSize(600, 400) << QSize() << screen << true << QPoint(1200, 800) << QRect(998, 598, 600, 400);
        QTest::newRow("above the panel, moved down")
            << QSize(600, 400) << QSize() << belowPanel << true << QPoint(-30, 0) << QRect(2, 70, 600, 400);
        QTest::newRow("second screen to the right")
            << QSize(800, 600) << QSize() << QRect(1600, 0, 1280, 1024) << false << QPoint()
            << QRect(1840, 226, 800, 600);
        QTest::newRow("minimum wider than the screen") << QSize(2000, 300) << QSize(1800, 0) << screen << true
                                                       << QPoint(300, 300) << QRect(2, 330, 1800, 300);
    }

    void fittedGeometry() {
        QFETCH(QSize, wanted);
        QFETCH(QSize, minimum);
        QFETCH(QRect, available);
        QFETCH(bool, placed);
        QFETCH(QPoint, frameTopLeft);
        QFETCH(QRect, expected);
        QCOMPARE(WindowPlacement::fittedGeometry(wanted, minimum, QMargins(2, 30, 2, 2), available,
                                                 placed ? std::optional<QPoint>(frameTopLeft) : std::nullopt),
                 expected);
    }

    void windowComesUpInsideTheScreen_data() {
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QPoint>("movedTo");
        QTest::addColumn<bool>("shownFirst");
        QTest::newRow("wider and taller") << QSize(1400, 900) << QPoint() << false;
        QTest::newRow("moved past the bottom right") << QSize(500, 300) << QPoint(900, 500) << false;
        QTest::newRow("shown, then moved past the bottom right")
            << QSize(400, 300) << QPoint(800, 450) << true;
    }

    void windowComesUpInsideTheScreen() {
        QFETCH(QSize, wanted);
        QFETCH(QPoint, movedTo);
        QFETCH(bool, shownFirst);
        QWidget window;
        if (shownFirst) {
            window.resize(wanted);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
        if (!movedTo.isNull())
            window.move(movedTo);

        WindowPlacement::fitIntoScreen(window, wanted);
        window.show();

        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        QVERIFY(window.width() >= qMin(wanted.width(), kScreenWidth - 60));
        QVERIFY(movedTo.isNull() || (window.frameGeometry().right() >= kScreenWidth - 40 &&
                                     window.frameGeometry().bottom() >= kScreenHeight - 40));
    }

    // A server's login, asked for right after the start menu is shown (before the window system has
    // placed it), comes up over the start menu, in the middle of the screen, not at the screen's corner.
    void loginComesUpOverTheStartMenu() {
        ProgramFolder folder;
        const std::unique_ptr<AppController> app = folder.app();
        QVERIFY(app->start());
        QRect login;
        QTimer::singleShot(0, app.get(), [&login] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                login = dialog->frameGeometry();
                dialog->reject();
            }
        });
        QString user = QStringLiteral("kasse");
        QString password;

        QVERIFY(!QtDialogs().askLogin(app->startMenu(), QStringLiteral("db.bauamt/zlv"), user, password));

        QVERIFY(QTest::qWaitForWindowExposed(app->startMenu()));
        const QPoint screenCentre = app->startMenu()->screen()->availableGeometry().center();
        for (const QRect& window : {app->startMenu()->frameGeometry(), login}) {
            const QPoint offset = window.center() - screenCentre;
            // The frame is estimated before the first show: a few pixels off at most.
            QVERIFY2(offset.manhattanLength() <= 20,
                     qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
        }
    }
};

int main(int argc, char** argv) {
    // The offscreen platform reads its screens, and whether windows get a frame, from a file.
    QTemporaryDir configFolder;
    const QString config = configFolder.filePath(QStringLiteral("screens.json"));
    if (!TestDatabase::writeFile(config,
                                 QStringLiteral("{\"windowFrameMargins\": true, \"screens\": [{\"name\": "
                                                "\"Bildschirm\", \"x\": 0, \"y\": 0, \"width\": %1, "
                                                "\"height\": %2, \"logicalDpi\": 96}]}")
                                     .arg(kScreenWidth)
                                     .arg(kScreenHeight)
                                     .toUtf8()))
        return 1;
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    QApplication app(argc, argv);
    WindowPlacementTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowPlacementTest.moc"
