#include "UpdaterWindow.h"
#include "FileOperations.h"
#include "InstalledFiles.h"
#include "RunningProgram.h"
#include "ScriptedUpdaterDialogs.h"
#include "UpdateFolders.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {
using Icon = UpdaterDialogs::Icon;
using Kind = ScriptedUpdaterDialogs::Shown::Kind;

// Stands for a running Zlv: answers close() with a set result and counts the calls.
class FakeRunningProgram : public RunningProgram {
public:
    Result result = Result::Closed;
    int calls = 0;
    Result close() override {
        ++calls;
        return result;
    }
};

const QString kFailure = QStringLiteral(
    "Wenn die Talbrin Zelvora geöffnet ist, kann eine Aktualisierung nicht durchgeführt werden!\n"
    "Beenden Sie bitte die Talbrin Zelvora und führen Sie das Update noch einmal aus.\n\n"
    "Die Akualisierung wurde nicht durchgeführt!");

// The window of an update folder with its dialogs and the program it closes.
struct Fixture {
    UpdateFolders folders;
    ScriptedUpdaterDialogs dialogs;
    FakeRunningProgram program;
    FileOperations files;
    UpdaterWindow window{folders.source(), dialogs, program, files};

    QLineEdit* folderField() { return window.findChild<QLineEdit*>(QStringLiteral("Text1")); }
    void click(const char* button) {
        auto* widget = window.findChild<QAbstractButton*>(QLatin1String(button));
        QVERIFY(widget);
        QTest::mouseClick(widget, Qt::LeftButton);
    }
    // As the program does: the window is shown and laid out first, then started from the event loop.
    void startWith(const QString& folder) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.start(folder);
    }
};
} // namespace

class UpdaterWindowTest : public QObject {
    Q_OBJECT
private slots:
    void showsItsTextsAndTheRecordedFolder();
    void emptyRecordedFolderOpensTheBrowseDialogAtOnce();
    void browseKeepsTheFieldWhenCancelled();
    void eitherButtonTellsTheOutcomeAndEnds_data();
    void eitherButtonTellsTheOutcomeAndEnds();
    void unusableFolderFieldIsRefusedBeforeAnythingIsClosed_data();
    void unusableFolderFieldIsRefusedBeforeAnythingIsClosed();
    void updateFolderWithoutNewFilesIsRefused();
    void programStillOpenStopsTheUpdate();
    void withoutDisplayTheUserDecides_data();
    void withoutDisplayTheUserDecides();
    void failingCopyIsReportedAndLeavesEverything();
};

void UpdaterWindowTest::showsItsTextsAndTheRecordedFolder() {
    Fixture f;
    f.startWith(f.folders.target());
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Aktualisierung - Talbrin Zelvora "));
    QCOMPARE(f.window.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Die Talbrin Zelvora wurde im folgenden Ordner gefunden."));
    QCOMPARE(f.window.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
             QStringLiteral(
                 "Bitte beachten!\nFolgende Talbrin Programme werden für die Aktualisierung automatisch "
                 "geschlossen falls diese geöffnet oder aktiv sind! \n\n- Talbrin Zelvora"));
    QCOMPARE(f.window.findChild<QPushButton*>(QStringLiteral("Command1"))->text(),
             QStringLiteral("&Aktualisierung starten"));
    QCOMPARE(f.window.findChild<QPushButton*>(QStringLiteral("Command2"))->text(),
             QStringLiteral("A&bbrechen"));
    auto* browse = f.window.findChild<QToolButton*>(QStringLiteral("Command3"));
    QCOMPARE(browse->toolTip(), QStringLiteral("Ordner wählen"));
    QCOMPARE(browse->accessibleName(), QStringLiteral("Ordner wählen"));
    QCOMPARE(f.window.findChild<QLabel*>(QStringLiteral("Label1"))->buddy(), f.folderField());
    QCOMPARE(f.folderField()->text(), f.folders.target());
    QVERIFY(f.dialogs.shown.isEmpty());
    // The whole wrapped warning is visible, its first and last line included.
    auto* warning = f.window.findChild<QLabel*>(QStringLiteral("Label3"));
    QCoreApplication::processEvents();
    QVERIFY2(
        warning->height() >= warning->heightForWidth(warning->width()),
        qPrintable(
            QStringLiteral("%1 < %2").arg(warning->height()).arg(warning->heightForWidth(warning->width()))));
}

void UpdaterWindowTest::emptyRecordedFolderOpensTheBrowseDialogAtOnce() {
    Fixture f;
    f.dialogs.files.enqueue(f.folders.targetFile(InstalledFiles::program()));
    f.startWith(QString());
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown[0].kind, Kind::ChooseFile);
    QCOMPARE(f.dialogs.shown[0].filter, QStringLiteral("Talbrin Zelvora (Zlv)"));
    QCOMPARE(f.folderField()->text(), f.folders.target());

    f.click("Command1");
    QCOMPARE(f.dialogs.lastText(), QStringLiteral("Das Update wurde erfolgreich durchgeführt."));
    QVERIFY(f.folders.holdsNewPairWithoutSources());
}

void UpdaterWindowTest::browseKeepsTheFieldWhenCancelled() {
    Fixture f;
    f.startWith(QString());
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.folderField()->text(), QString());

    f.folderField()->setText(QStringLiteral("/opt/zlv"));
    f.click("Command3");
    QCOMPARE(f.dialogs.shown.size(), 2);
    QCOMPARE(f.dialogs.shown[1].folder, QStringLiteral("/opt/zlv"));
    QCOMPARE(f.folderField()->text(), QStringLiteral("/opt/zlv"));
}

void UpdaterWindowTest::eitherButtonTellsTheOutcomeAndEnds_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("closeCalls");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("installed");
    QTest::newRow("update") << QStringLiteral("Command1") << 1
                            << QStringLiteral("Das Update wurde erfolgreich durchgeführt.") << true;
    QTest::newRow("cancel") << QStringLiteral("Command2") << 0
                            << QStringLiteral("Das Update wurde nicht durchgeführt.") << false;
}

void UpdaterWindowTest::eitherButtonTellsTheOutcomeAndEnds() {
    QFETCH(QString, button);
    QFETCH(int, closeCalls);
    QFETCH(QString, message);
    QFETCH(bool, installed);
    Fixture f;
    f.startWith(f.folders.target());
    f.click(qPrintable(button));
    QCOMPARE(f.program.calls, closeCalls);
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown[0].kind, Kind::Inform);
    QCOMPARE(f.dialogs.shown[0].title, UpdaterWindow::caption());
    QCOMPARE(f.dialogs.shown[0].text, message);
    QCOMPARE(f.dialogs.shown[0].icon, Icon::Information);
    QVERIFY(installed ? f.folders.holdsNewPairWithoutSources() : f.folders.holdsOldPairAndSources());
    QVERIFY(!f.window.isVisible());
}

void UpdaterWindowTest::unusableFolderFieldIsRefusedBeforeAnythingIsClosed_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QString() << QStringLiteral("Bitte geben Sie den Ordner an");
    QTest::newRow("blanks") << QStringLiteral("   ") << QStringLiteral("Bitte geben Sie den Ordner an");
    QTest::newRow("no such folder") << QStringLiteral("/gibt/es/nicht")
                                    << QStringLiteral(
                                           "Im Ordner „/gibt/es/nicht“ wurde die Talbrin Zelvora nicht");
    QTest::newRow("folder without Zlv")
        << QStringLiteral("<root>") << QStringLiteral("wurde die Talbrin Zelvora nicht gefunden");
    QTest::newRow("the update folder itself")
        << QStringLiteral("<source>") << QStringLiteral("ist der Ordner der Aktualisierung selbst");
}

void UpdaterWindowTest::unusableFolderFieldIsRefusedBeforeAnythingIsClosed() {
    QFETCH(QString, folder);
    QFETCH(QString, message);
    Fixture f;
    folder.replace(QStringLiteral("<root>"), f.folders.target() + QStringLiteral("/.."));
    folder.replace(QStringLiteral("<source>"), f.folders.source() + QLatin1Char('/'));
    f.dialogs.files.enqueue(QString());
    f.startWith(folder);
    f.dialogs.shown.clear();
    f.folderField()->setText(folder);
    f.click("Command1");

    QCOMPARE(f.program.calls, 0);
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.lastText().contains(message), qPrintable(f.dialogs.lastText()));
    QCOMPARE(f.dialogs.shown[0].icon, Icon::Warning);
    QVERIFY(f.folders.holdsOldPairAndSources());
    QVERIFY(f.window.isVisible());
}

void UpdaterWindowTest::updateFolderWithoutNewFilesIsRefused() {
    Fixture f;
    QVERIFY(QFile::remove(f.folders.sourceFile(InstalledFiles::help())));
    f.startWith(f.folders.target());
    f.click("Command1");
    QCOMPARE(f.program.calls, 0);
    QVERIFY2(
        f.dialogs.lastText().contains(QStringLiteral("liegen die neuen Dateien „Zlv“ und „zlv.html“ nicht")),
        qPrintable(f.dialogs.lastText()));
    QCOMPARE(UpdateFolders::contents(f.folders.targetFile(InstalledFiles::program())),
             UpdateFolders::oldProgram());
    QCOMPARE(UpdateFolders::contents(f.folders.sourceFile(InstalledFiles::program())),
             UpdateFolders::newProgram());
}

void UpdaterWindowTest::programStillOpenStopsTheUpdate() {
    Fixture f;
    f.program.result = RunningProgram::Result::StillOpen;
    f.startWith(f.folders.target());
    f.click("Command1");
    QCOMPARE(f.program.calls, 1);
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.lastText(), kFailure);
    QCOMPARE(f.dialogs.shown[0].icon, Icon::Critical);
    QVERIFY(f.folders.holdsOldPairAndSources());
    QVERIFY(f.window.isVisible());
    QVERIFY(f.window.findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
}

void UpdaterWindowTest::withoutDisplayTheUserDecides_data() {
    QTest::addColumn<bool>("goOn");
    QTest::newRow("go on") << true;
    QTest::newRow("stop") << false;
}

void UpdaterWindowTest::withoutDisplayTheUserDecides() {
    QFETCH(bool, goOn);
    Fixture f;
    f.program.result = RunningProgram::Result::NoDisplay;
    f.dialogs.answers.enqueue(goOn);
    f.startWith(f.folders.target());
    f.click("Command1");
    QCOMPARE(f.dialogs.shown[0].kind, Kind::Ask);
    QVERIFY2(f.dialogs.shown[0].text.contains(QStringLiteral("Ohne X11-Anzeige kann nicht geprüft werden")),
             qPrintable(f.dialogs.shown[0].text));
    if (goOn) {
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Das Update wurde erfolgreich durchgeführt."));
        QVERIFY(f.folders.holdsNewPairWithoutSources());
    } else {
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.folders.holdsOldPairAndSources());
        QVERIFY(f.window.isVisible());
    }
}

void UpdaterWindowTest::failingCopyIsReportedAndLeavesEverything() {
    Fixture f;
    const QString blocker = f.folders.targetFile(QStringLiteral(".zlv.html.neu"));
    QVERIFY(QDir().mkpath(blocker + QStringLiteral("/inhalt")));
    f.startWith(f.folders.target());
    f.click("Command1");
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.lastText().startsWith(kFailure + QStringLiteral("\n\n")),
             qPrintable(f.dialogs.lastText()));
    QVERIFY2(f.dialogs.lastText().contains(QStringLiteral("kann nicht nach")),
             qPrintable(f.dialogs.lastText()));
    QCOMPARE(f.dialogs.shown[0].icon, Icon::Critical);
    QVERIFY(QDir(blocker).removeRecursively());
    QVERIFY(f.folders.holdsOldPairAndSources());
    QVERIFY(f.window.isVisible());
}

QTEST_MAIN(UpdaterWindowTest)
#include "UpdaterWindowTest.moc"
