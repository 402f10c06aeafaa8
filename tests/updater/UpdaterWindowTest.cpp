#include "UpdaterWindow.h"
#include "FileOperations.h"
#include "RunningProgram.h"
#include "UpdateFolders.h"
#include "UpdaterDialogs.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QtTest>

namespace {
// Answers the updater's question with answer and a file dialog with file (once), and records every dialog
// shown: its text, or for a file dialog its folder and filter.
struct ScriptedUpdaterDialogs : UpdaterDialogs {
    struct Shown {
        QString text;
        Icon icon;
        QString folder, filter;
    };
    bool answer = false;
    QString file;
    QList<Shown> shown;

    void inform(QWidget*, const QString&, const QString& text, Icon icon) override {
        shown.append({text, icon, {}, {}});
    }
    bool askYesNo(QWidget*, const QString&, const QString& text) override {
        shown.append({text, Icon::Question, {}, {}});
        return answer;
    }
    QString chooseFile(QWidget*, const QString&, const QString& folder, const QString& filter) override {
        shown.append({{}, Icon::Information, folder, filter});
        return std::exchange(file, QString());
    }
};

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
const QString kFailure = QStringLiteral("kann eine Aktualisierung nicht durchgeführt werden!");
} // namespace

// <target> in a row stands for the installation, <source> for the update folder, <browse> for a folder
// typed and then replaced by browsing to the installation's Zlv; after | comes what is spoilt first.
class UpdaterWindowTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsTellTheOutcome_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("button");
        QTest::addColumn<Result>("program"); // NoDisplay answers the question with goOn
        QTest::addColumn<bool>("goOn");
        QTest::addColumn<QString>("message");
        QTest::addColumn<Icon>("icon");
        QTest::addColumn<bool>("installed");
        const QString start = QStringLiteral("Command1"), target = QStringLiteral("<target>");
        QTest::newRow("update") << target << start << Result::Closed << false << kDone << Icon::Information
                                << true;
        QTest::newRow("chosen by browsing") << QStringLiteral("<browse>") << start << Result::Closed << false
                                            << kDone << Icon::Information << true;
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
                                    << Result::Closed << false
                                    << QStringLiteral("wurde nicht durchgeführt!\n\nDie Datei „")
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
            << QStringLiteral("liegen die neuen Dateien „Zlv“ und „zlv.html“ nicht") << Icon::Warning
            << false;
    }

    void buttonsTellTheOutcome() {
        QFETCH(QString, folder);
        QFETCH(QString, button);
        QFETCH(Result, program);
        QFETCH(bool, goOn);
        QFETCH(QString, message);
        QFETCH(Icon, icon);
        QFETCH(bool, installed);
        UpdateFolders folders;
        ScriptedUpdaterDialogs dialogs;
        FakeRunningProgram running;
        FileOperations files;
        UpdaterWindow window(folders.source(), dialogs, running, files);
        const QString spoilt = folder.section(QLatin1Char('|'), 1);
        const QString blocker = folders.path(QStringLiteral("installation/.zlv.html.neu"));
        QVERIFY(spoilt != QLatin1String("with a folder .zlv.html.neu") || QDir().mkpath(blocker + "/inhalt"));
        QVERIFY(spoilt != QLatin1String("without update/zlv.html") ||
                QFile::remove(folders.path(QStringLiteral("update/zlv.html"))));
        const bool browse = folder == QLatin1String("<browse>");
        folder = browse ? QString()
                        : folder.section(QLatin1Char('|'), 0, 0)
                              .replace(QStringLiteral("<target>"), folders.target())
                              .replace(QStringLiteral("<source>"), folders.source());
        running.result = program;
        dialogs.answer = goOn;
        window.show();
        window.start(folder);
        auto* field = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
        QCOMPARE(field->text(), folder);
        QCOMPARE(dialogs.shown.size(), int(folder.isEmpty()));
        if (browse) {
            QCOMPARE(dialogs.shown[0].filter, QStringLiteral("Talbrin Zelvora (Zlv)"));
            field->setText(QStringLiteral("/opt/zlv"));
            dialogs.file = folders.path(QStringLiteral("installation/Zlv"));
            QTest::mouseClick(window.findChild<QAbstractButton*>(QStringLiteral("Command3")), Qt::LeftButton);
            QCOMPARE(dialogs.shown[1].folder, QStringLiteral("/opt/zlv"));
        }
        dialogs.shown.clear();

        QTest::mouseClick(window.findChild<QAbstractButton*>(button), Qt::LeftButton);

        QCOMPARE(running.calls, int(icon != Icon::Warning && button == QLatin1String("Command1")));
        QVERIFY2(dialogs.shown.constLast().text.contains(message),
                 qPrintable(dialogs.shown.constLast().text));
        QCOMPARE(dialogs.shown.constLast().icon, icon);
        QVERIFY(QDir(blocker).removeRecursively() &&
                (!spoilt.startsWith("without") || folders.write("update/zlv.html", "neu")));
        QCOMPARE(folders.state(), installed ? UpdateFolders::newState() : UpdateFolders::oldState());
        QCOMPARE(window.isVisible(), !installed && button == QLatin1String("Command1"));
    }
};

QTEST_MAIN(UpdaterWindowTest)
#include "UpdaterWindowTest.moc"
