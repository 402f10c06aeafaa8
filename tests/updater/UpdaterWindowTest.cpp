#include "UpdaterWindow.h"
#include "FileOperations.h"
#include "InstalledFiles.h"
#include "RunningProgram.h"
#include "ScriptedUpdaterDialogs.h"
#include "UpdateFolders.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

namespace {
using Icon = UpdaterDialogs::Icon;
using Result = RunningProgram::Result;

class FakeRunningProgram : public RunningProgram {
public:
    Result result = Result::Closed;
    int calls = 0;
    Result close() override {
        ++calls;
        return result;
    }
};

const QString kDone = QStringLiteral("Das Update wurde erfolgreich durchgeführt.");
const QString kFailure = QStringLiteral("Wenn die Talbrin Zelvora geöffnet ist, kann eine "
                                        "Aktualisierung nicht durchgeführt werden!\n"
                                        "Beenden Sie bitte die Talbrin Zelvora und führen Sie das "
                                        "Update noch einmal aus.\n\n"
                                        "Die Akualisierung wurde nicht durchgeführt!");

struct Fixture {
    UpdateFolders folders;
    ScriptedUpdaterDialogs dialogs;
    FakeRunningProgram program;
    FileOperations files;
    UpdaterWindow window{folders.source(), dialogs, program, files};

    QLineEdit* folderField() { return window.findChild<QLineEdit*>(QStringLiteral("Text1")); }
    void click(const QString& button) {
        QTest::mouseClick(window.findChild<QAbstractButton*>(button), Qt::LeftButton);
    }
    void startWith(const QString& folder) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.start(folder);
    }
    bool holdsOldProgram() const {
        return UpdateFolders::contents(folders.targetFile(InstalledFiles::program())) ==
               UpdateFolders::oldProgram();
    }
};
} // namespace

class UpdaterWindowTest : public QObject {
    Q_OBJECT
private slots:
    void recordedFolderIsProposedBesideTheWholeWarning();
    void withoutRecordedFolderTheChosenProgramsFolderIsUpdated();
    void buttonsTellTheOutcome_data();
    void buttonsTellTheOutcome();
    void unusableFolderIsRefusedBeforeTheProgramIsClosed_data();
    void unusableFolderIsRefusedBeforeTheProgramIsClosed();
};

void UpdaterWindowTest::recordedFolderIsProposedBesideTheWholeWarning() {
    Fixture f;

    f.startWith(f.folders.target());
    QCoreApplication::processEvents();

    QCOMPARE(f.folderField()->text(), f.folders.target());
    QVERIFY(f.dialogs.shown.isEmpty());
    auto* warning = f.window.findChild<QLabel*>(QStringLiteral("Label3"));
    QVERIFY(warning->height() >= warning->heightForWidth(warning->width()));
}

void UpdaterWindowTest::withoutRecordedFolderTheChosenProgramsFolderIsUpdated() {
    Fixture f;
    f.startWith(QString());
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown[0].filter, QStringLiteral("Talbrin Zelvora (Zlv)"));
    QCOMPARE(f.folderField()->text(), QString());

    f.folderField()->setText(QStringLiteral("/opt/zlv"));
    f.dialogs.files.enqueue(f.folders.targetFile(InstalledFiles::program()));
    f.click(QStringLiteral("Command3"));
    QCOMPARE(f.dialogs.shown[1].folder, QStringLiteral("/opt/zlv"));
    f.click(QStringLiteral("Command1"));

    QCOMPARE(f.dialogs.lastText(), kDone);
    QVERIFY(f.folders.holdsNewPairWithoutSources());
}

void UpdaterWindowTest::buttonsTellTheOutcome_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<Result>("program");
    QTest::addColumn<bool>("goOn");
    QTest::addColumn<bool>("copyBlocked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("staysOpen");
    const QString start = QStringLiteral("Command1");
    const QString blocked = kFailure + QStringLiteral("\n\nDie Datei „");
    QTest::newRow("update") << start << Result::Closed << false << false << kDone << Icon::Information << true
                            << false;
    QTest::newRow("cancel") << QStringLiteral("Command2") << Result::Closed << false << false
                            << QStringLiteral("Das Update wurde nicht durchgeführt.") << Icon::Information
                            << false << false;
    QTest::newRow("program still open")
        << start << Result::StillOpen << false << false << kFailure << Icon::Critical << false << true;
    QTest::newRow("no display, go on")
        << start << Result::NoDisplay << true << false << kDone << Icon::Information << true << false;
    QTest::newRow("no display, stop")
        << start << Result::NoDisplay << false << false << QStringLiteral("Ohne X11-Anzeige")
        << Icon::Question << false << true;
    QTest::newRow("copy fails") << start << Result::Closed << false << true << blocked << Icon::Critical
                                << false << true;
}

void UpdaterWindowTest::buttonsTellTheOutcome() {
    QFETCH(QString, button);
    QFETCH(Result, program);
    QFETCH(bool, goOn);
    QFETCH(bool, copyBlocked);
    QFETCH(QString, message);
    QFETCH(Icon, icon);
    QFETCH(bool, installed);
    QFETCH(bool, staysOpen);
    Fixture f;
    f.program.result = program;
    f.dialogs.answers.enqueue(goOn);
    const QString blocker = f.folders.targetFile(QStringLiteral(".zlv.html.neu"));
    if (copyBlocked)
        QVERIFY(QDir().mkpath(blocker + QStringLiteral("/inhalt")));
    f.startWith(f.folders.target());

    f.click(button);

    QCOMPARE(f.program.calls, int(button == QLatin1String("Command1")));
    QVERIFY2(f.dialogs.lastText().startsWith(message), qPrintable(f.dialogs.lastText()));
    QCOMPARE(f.dialogs.shown.constLast().icon, icon);
    QVERIFY(!copyBlocked || QDir(blocker).removeRecursively());
    QVERIFY(installed ? f.folders.holdsNewPairWithoutSources() : f.folders.holdsOldPairAndSources());
    QCOMPARE(f.window.isVisible(), staysOpen);
}

void UpdaterWindowTest::unusableFolderIsRefusedBeforeTheProgramIsClosed_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("message");
    const QString notFound = QStringLiteral("wurde die Talbrin Zelvora nicht gefunden");
    QTest::newRow("empty") << QString() << QStringLiteral("Bitte geben Sie den Ordner an");
    QTest::newRow("blanks") << QStringLiteral("   ") << QStringLiteral("Bitte geben Sie den Ordner an");
    QTest::newRow("no such folder") << QStringLiteral("/gibt/es/nicht") << notFound;
    QTest::newRow("folder without Zlv") << QStringLiteral("<target>/..") << notFound;
    QTest::newRow("the update folder itself")
        << QStringLiteral("<source>/") << QStringLiteral("ist der Ordner der Aktualisierung selbst");
    QTest::newRow("update folder without the new help page")
        << QStringLiteral("<target>")
        << QStringLiteral("liegen die neuen Dateien „Zlv“ und „zlv.html“ nicht");
}

void UpdaterWindowTest::unusableFolderIsRefusedBeforeTheProgramIsClosed() {
    QFETCH(QString, folder);
    QFETCH(QString, message);
    Fixture f;
    folder.replace(QStringLiteral("<target>"), f.folders.target())
        .replace(QStringLiteral("<source>"), f.folders.source());
    if (folder == f.folders.target())
        QVERIFY(QFile::remove(f.folders.sourceFile(InstalledFiles::help())));
    f.startWith(folder);
    f.folderField()->setText(folder);
    f.dialogs.shown.clear();

    f.click(QStringLiteral("Command1"));

    QCOMPARE(f.program.calls, 0);
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY2(f.dialogs.lastText().contains(message), qPrintable(f.dialogs.lastText()));
    QCOMPARE(f.dialogs.shown[0].icon, Icon::Warning);
    QVERIFY(f.holdsOldProgram());
    QVERIFY(f.window.isVisible());
}

QTEST_MAIN(UpdaterWindowTest)
#include "UpdaterWindowTest.moc"
