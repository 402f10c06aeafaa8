#include "StartMenu.h"
#include "AppController.h"
#include "Database.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "ZlvVersion.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

namespace {
QList<QWidget*> visibleWindows() {
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            windows.append(widget);
    }
    return windows;
}

QWidget* visibleWindow(const QString& name) {
    for (QWidget* widget : visibleWindows()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

template <typename T> T* child(QWidget* parent, const QString& name) {
    return parent ? parent->findChild<T*>(name) : nullptr;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
} // namespace

// The start menu and the hand-overs between the screens, driven through the real widgets.
class StartMenuTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void titleShowsVersionWithoutTheThirdNumber();
    void toolbarButtons_data();
    void toolbarButtons();
    void projectButtonOpensProjectManagerAndClosesTheOthers();
    void returningFromProjectManagerShowsPlainTitle();
    void quitClosesEveryWindow();
    void helpAndAboutBox();
    void backupButtonStartsTheBackup();
    void cancelledDatabaseChoiceOpensNothing();
    void unusableDatabaseEndsTheProgramAfterTheStartMenuShows_data();
    void unusableDatabaseEndsTheProgramAfterTheStartMenuShows();

private:
    void clickToolButton(const QString& key);
    StartMenu* startApp();

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<AppController> m_app;
};

void StartMenuTest::init() {
    m_program = std::make_unique<QTemporaryDir>();
    m_settingsDir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<Settings>(m_settingsDir->filePath(QStringLiteral("TalbrinZlv.ini")));
    m_dialogs = std::make_unique<ScriptedDialogs>();
    QVERIFY(Database::create(m_program->filePath(QStringLiteral("ZLV.mdb"))));
    m_app = std::make_unique<AppController>(m_program->path(), *m_dialogs, *m_settings);
}

void StartMenuTest::cleanup() {
    m_app.reset();
    settle();
    QCOMPARE(visibleWindows().size(), 0);
}

StartMenu* StartMenuTest::startApp() {
    if (!m_app->start())
        return nullptr;
    return m_app->startMenu();
}

void StartMenuTest::clickToolButton(const QString& key) {
    auto* button = child<QToolButton>(m_app->startMenu(), key);
    QVERIFY2(button, qPrintable(key));
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}

void StartMenuTest::titleShowsVersionWithoutTheThirdNumber() {
    StartMenu* menu = startApp();
    QVERIFY(menu);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->objectName(), QStringLiteral("frmMenü"));
    QCOMPARE(menu->windowTitle(), QStringLiteral("Talbrin Zelvora V%1.%2.%3  -  Startmenü")
                                      .arg(ZLV_VERSION_MAJOR)
                                      .arg(ZLV_VERSION_MINOR)
                                      .arg(ZLV_VERSION_TWEAK));
    QCOMPARE(menu->databaseFilePath(), m_program->filePath(QStringLiteral("ZLV.mdb")));
    QVERIFY(m_dialogs->shown.isEmpty());
}

void StartMenuTest::toolbarButtons_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("presets") << 0 << "tbrEinstellungen"
                             << " Einstellungen "
                             << "Voreinstellungen";
    QTest::newRow("company") << 1 << "tbrFirma"
                             << " Firma anlegen "
                             << "Firma anlegen";
    QTest::newRow("backup") << 2 << "tbrDBSicherung2"
                            << "DB sichern"
                            << "Datenbank sichern  (Nur sofort nach Start möglich)";
    QTest::newRow("info") << 3 << "tbrInfo"
                          << "Info"
                          << "Info";
    QTest::newRow("help") << 4 << "tbrHilfe"
                          << "Hilfe"
                          << "Hilfe";
    QTest::newRow("quit") << 5 << "tbrBeenden"
                          << "Beenden"
                          << "Beenden";
}

void StartMenuTest::toolbarButtons() {
    QFETCH(int, position);
    QFETCH(QString, key);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);

    StartMenu* menu = startApp();
    QVERIFY(menu);
    QList<QToolButton*> buttons;
    for (QToolButton* button : menu->findChildren<QToolButton*>()) {
        if (button->objectName().startsWith(QLatin1String("tbr")))
            buttons.append(button);
    }
    QCOMPARE(buttons.size(), 6);
    std::sort(buttons.begin(), buttons.end(), [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
    QToolButton* button = buttons.at(position);
    QCOMPARE(button->objectName(), key);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), tooltip);
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(!button->icon().isNull());
    QVERIFY(!button->accessibleName().isEmpty());
}

void StartMenuTest::projectButtonOpensProjectManagerAndClosesTheOthers() {
    QVERIFY(startApp());
    clickToolButton(QStringLiteral("tbrEinstellungen"));
    clickToolButton(QStringLiteral("tbrFirma"));
    clickToolButton(QStringLiteral("tbrFirma"));
    QVERIFY(visibleWindow(QStringLiteral("frmVoreinstellung")));
    QVERIFY(visibleWindow(QStringLiteral("frmFirma")));
    QCOMPARE(visibleWindows().size(), 3);

    QTest::mouseClick(child<QPushButton>(m_app->startMenu(), QStringLiteral("cmdProjekt")), Qt::LeftButton);
    settle();

    QVERIFY(visibleWindow(QStringLiteral("frmProjekt")));
    QCOMPARE(visibleWindows().size(), 1);
    QVERIFY(!m_app->startMenu());
    QVERIFY(!m_app->presets());
    QVERIFY(!m_app->companyRegister());
}

void StartMenuTest::returningFromProjectManagerShowsPlainTitle() {
    QVERIFY(startApp());
    QTest::mouseClick(child<QPushButton>(m_app->startMenu(), QStringLiteral("cmdProjekt")), Qt::LeftButton);
    settle();
    QWidget* manager = visibleWindow(QStringLiteral("frmProjekt"));
    QVERIFY(manager);

    QTest::mouseClick(child<QToolButton>(manager, QStringLiteral("cmdBeenden")), Qt::LeftButton);
    settle();

    QWidget* menu = visibleWindow(QStringLiteral("frmMenü"));
    QVERIFY(menu);
    QCOMPARE(menu->windowTitle(), QStringLiteral("Talbrin Zelvora  - Startmenü "));
    QCOMPARE(visibleWindows().size(), 1);
    QVERIFY(!m_app->projectManager());
}

void StartMenuTest::quitClosesEveryWindow() {
    QVERIFY(startApp());
    clickToolButton(QStringLiteral("tbrEinstellungen"));
    clickToolButton(QStringLiteral("tbrFirma"));
    clickToolButton(QStringLiteral("tbrInfo"));
    QCOMPARE(visibleWindows().size(), 4);

    clickToolButton(QStringLiteral("tbrBeenden"));
    QCOMPARE(visibleWindows().size(), 0);
}

void StartMenuTest::helpAndAboutBox() {
    QVERIFY(startApp());
    clickToolButton(QStringLiteral("tbrHilfe"));
    QVERIFY2(!visibleWindow(QStringLiteral("frmHilfe")), "no help file: nothing opens");
    QVERIFY(m_dialogs->shown.isEmpty());

    QFile help(m_program->filePath(QStringLiteral("zlv.html")));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.write("<html><body><h1>Startmenü</h1></body></html>");
    help.close();
    clickToolButton(QStringLiteral("tbrHilfe"));
    QWidget* helpWindow = visibleWindow(QStringLiteral("frmHilfe"));
    QVERIFY(helpWindow);
    QVERIFY(helpWindow->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("Startmenü")));

    clickToolButton(QStringLiteral("tbrInfo"));
    QWidget* about = visibleWindow(QStringLiteral("frmInfo"));
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QStringLiteral("Info"));
    auto* ok = child<QPushButton>(about, QStringLiteral("cmdOK"));
    QVERIFY(ok);
    QCOMPARE(ok->text(), QStringLiteral("&OK"));
    QTest::mouseClick(ok, Qt::LeftButton);
    settle();
    QVERIFY(!visibleWindow(QStringLiteral("frmInfo")));

    m_app->startMenu()->close();
    settle();
    QCOMPARE(visibleWindows().size(), 0);
}

void StartMenuTest::backupButtonStartsTheBackup() {
    QVERIFY(startApp());
    clickToolButton(QStringLiteral("tbrDBSicherung2"));
    const QString copy =
        QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral("_ZLV.mdb");
    QVERIFY(QFile::exists(m_program->filePath(copy)));
    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown.at(0).title, QStringLiteral("Datensicherung"));
    QCOMPARE(m_dialogs->shown.at(0).icon, Dialogs::Icon::Information);
}

void StartMenuTest::cancelledDatabaseChoiceOpensNothing() {
    QVERIFY(QFile::remove(m_program->filePath(QStringLiteral("ZLV.mdb"))));
    QVERIFY(!startApp());
    QCOMPARE(visibleWindows().size(), 0);
    QCOMPARE(m_dialogs->shown.size(), 2);
}

void StartMenuTest::unusableDatabaseEndsTheProgramAfterTheStartMenuShows_data() {
    QTest::addColumn<bool>("openPresetsAtOnce");

    QTest::newRow("checked once events are processed") << false;
    QTest::newRow("checked before the presets open") << true;
}

void StartMenuTest::unusableDatabaseEndsTheProgramAfterTheStartMenuShows() {
    QFETCH(bool, openPresetsAtOnce);

    const QString dbPath = m_program->filePath(QStringLiteral("ZLV.mdb"));
    QFile file(dbPath);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Dies ist keine Datenbank.\n");
    file.close();
    const QString iniPath = m_program->filePath(QStringLiteral("PfadZurDatenbank.ini"));
    const QByteArray iniContent = (m_program->path() + QStringLiteral("/\n")).toUtf8();
    QFile ini(iniPath);
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(iniContent);
    ini.close();
    const QByteArray before = readFile(dbPath);

    StartMenu* menu = startApp();
    QVERIFY(menu);
    QVERIFY(menu->isVisible());
    QVERIFY(m_dialogs->shown.isEmpty());

    if (openPresetsAtOnce) {
        m_app->openPresets();
        QCOMPARE(m_dialogs->shown.size(), 1);
        QVERIFY(!m_app->presets());
    }
    settle();
    // The start menu closed by the check is deleted on the next round of events.
    settle();

    QCOMPARE(m_dialogs->shown.size(), 1);
    QCOMPARE(m_dialogs->shown.at(0).title, QStringLiteral("Ladefehler!"));
    QCOMPARE(m_dialogs->shown.at(0).icon, Dialogs::Icon::Critical);
    QVERIFY2(m_dialogs->lastText().contains(QStringLiteral("ZLV.mdb")), qPrintable(m_dialogs->lastText()));
    QCOMPARE(visibleWindows().size(), 0);
    QVERIFY(!m_app->startMenu());
    QVERIFY(m_app->databaseFilePath().isEmpty());
    QCOMPARE(readFile(dbPath), before);
    QCOMPARE(readFile(iniPath), iniContent);
}

QTEST_MAIN(StartMenuTest)
#include "StartMenuTest.moc"
