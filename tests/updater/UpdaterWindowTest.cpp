#include "UpdaterWindow.h"
#include "FileOperations.h"
#include "RunningProgram.h"
#include "ScriptedUpdaterDialogs.h"
#include "UpdateFolders.h"

#include <QAbstractButton>
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
};
} // namespace

class UpdaterWindowTest : public QObject {
    Q_OBJECT
private slots:
    void withoutRecordedFolderTheChosenProgramsFolderIsUpdated();
    void buttonsTellTheOutcome_data();
    void buttonsTellTheOutcome();
};

void UpdaterWindowTest::withoutRecordedFolderTheChosenProgramsFolderIsUpdated() {
    Fixture f;
    f.startWith(QString());
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.dialogs.shown[0].filter, QStringLiteral("Talbrin Zelvora (Zlv)"));
    QCOMPARE(f.folderField()->text(), QString());

    f.folderField()->setText(QStringLiteral("/opt/zlv"));
    f.dialogs.files.enqueue(f.folders.path(QStringLiteral("installation/Zlv")));
    f.click(QStringLiteral("Command3"));
    QCOMPARE(f.dialogs.shown[1].folder, QStringLiteral("/opt/zlv"));
    f.click(QStringLiteral("Command1"));

    QCOMPARE(f.dialogs.lastText(), kDone);
    QCOMPARE(f.folders.state(), UpdateFolders::newState());
}

void UpdaterWindowTest::buttonsTellTheOutcome_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Result>("program"); // NoDisplay answers the question with goOn
    QTest::addColumn<bool>("goOn");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<bool>("installed");
    const QString start = QStringLiteral("Command1");
    const QString target = QStringLiteral("<target>");
    QTest::newRow("update") << target << start << Result::Closed << false << kDone << Icon::Information
                            << true;
    QTest::newRow("cancel") << target << QStringLiteral("Command2") << Result::Closed << false
                            << QStringLiteral("Das Update wurde nicht durchgeführt.") << Icon::Information
                            << false;
    QTest::newRow("program still open")
        << target << start << Result::StillOpen << false << kFailure << Icon::Critical << false;
    QTest::newRow("no display, go on")
        << target << start << Result::NoDisplay << true << kDone << Icon::Information << true;
    QTest::newRow("no display, stop") << target << start << Result::NoDisplay << false
                                      << QStringLiteral("Ohne X11-Anzeige") << Icon::Question << false;
    QTest::newRow("copy fails") << QStringLiteral("<target>|with a folder .zlv.html.neu") << start
                                << Result::Closed << false << kFailure + QStringLiteral("\n\nDie Datei „")
                                << Icon::Critical << false;
    QTest::newRow("blanks") << QStringLiteral("   ") << start << Result::Closed << false
                            << QStringLiteral("Bitte geben Sie den Ordner an") << Icon::Warning << false;
    QTest::newRow("folder without Zlv")
        << QStringLiteral("<target>/..") << start << Result::Closed << false
        << QStringLiteral("wurde die Talbrin Zelvora nicht gefunden") << Icon::Warning << false;
    QTest::newRow("the update folder itself")
        << QStringLiteral("<source>/") << start << Result::Closed << false
        << QStringLiteral("ist der Ordner der Aktualisierung selbst") << Icon::Warning << false;
    QTest::newRow("update folder without the new help page")
        << QStringLiteral("<target>|without update/zlv.html") << start << Result::Closed << false
        << QStringLiteral("liegen die neuen Dateien „Zlv“ und „zlv.html“ nicht") << Icon::Warning << false;
}

void UpdaterWindowTest::buttonsTellTheOutcome() {
    QFETCH(QString, folder);
    QFETCH(QString, button);
    QFETCH(Result, program);
    QFETCH(bool, goOn);
    QFETCH(QString, message);
    QFETCH(Icon, icon);
    QFETCH(bool, installed);
    Fixture f;
    const QString given = folder.section(QLatin1Char('|'), 1);
    const QString blocker = f.folders.path(QStringLiteral("installation/.zlv.html.neu"));
    QVERIFY(given != QLatin1String("with a folder .zlv.html.neu") || QDir().mkpath(blocker + "/inhalt"));
    const bool withoutHelp = given == QLatin1String("without update/zlv.html");
    QVERIFY(!withoutHelp || QFile::remove(f.folders.path(QStringLiteral("update/zlv.html"))));
    folder = folder.section(QLatin1Char('|'), 0, 0)
                 .replace(QStringLiteral("<target>"), f.folders.target())
                 .replace(QStringLiteral("<source>"), f.folders.source());
    f.program.result = program;
    f.dialogs.answers.enqueue(goOn);
    f.startWith(folder);
    QCOMPARE(f.folderField()->text(), folder);
    f.dialogs.shown.clear();

    f.click(button);

    const bool checked = icon != Icon::Warning && button == QLatin1String("Command1");
    QCOMPARE(f.program.calls, int(checked));
    QVERIFY2(f.dialogs.lastText().contains(message), qPrintable(f.dialogs.lastText()));
    QCOMPARE(f.dialogs.shown.constLast().icon, icon);
    QVERIFY(QDir(blocker).removeRecursively() && (!withoutHelp || f.folders.write("update/zlv.html", "neu")));
    QCOMPARE(f.folders.state(), installed ? UpdateFolders::newState() : UpdateFolders::oldState());
    QCOMPARE(f.window.isVisible(), !installed && button == QLatin1String("Command1"));
}

QTEST_MAIN(UpdaterWindowTest)
#include "UpdaterWindowTest.moc"
