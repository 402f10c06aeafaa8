#include "AppController.h"
#include "AppTestWindows.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTest>

// The export screen as the program opens it from the workspace: not on the entry tab, beside the
// workspace on the others, writing the list of the tab shown at the moment of export, and closed with the
// workspace.
class ExportFromWorkspaceTest : public QObject {
    Q_OBJECT

    static void click(QWidget* window, const QString& name) {
        QTest::mouseClick(window->findChild<QAbstractButton*>(name), Qt::LeftButton);
        settle();
    }

private slots:
    void exportBesideTheWorkspace() {
        TestDatabase db;
        db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
        const QDir program(db.folder());
        Settings settings(program.filePath("TalbrinZlv.ini"));
        ScriptedDialogs dialogs;
        auto app = std::make_unique<AppController>(program.path(), dialogs, settings);
        QVERIFY(app->start());
        settle();
        click(app->startMenu(), "cmdProjekt");
        QWidget* workspace = loadFirstProject(*app);
        auto* tabs = workspace->findChild<QTabWidget*>("SSTab1");

        click(workspace, "tbrExport");
        QCOMPARE(visibleWindows(), QStringList{"frmAusgabe"});
        tabs->setCurrentIndex(1);
        click(workspace, "cmdExport");
        QCOMPARE(visibleWindows(), (QStringList{"frmAusgabe", "frmExport"}));
        tabs->setCurrentIndex(4);
        dialogs.files.enqueue(program.filePath("bericht.csv"));
        click(app->exportScreen(), "Command1");
        QFile written(program.filePath("bericht.csv"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("Kostenbericht   -  Projekt: Neubau Kita\r\n\r\n"));
        QVERIFY2(dialogs.lastText().contains("/Kostenbericht|"), qPrintable(dialogs.lastText()));
        QVERIFY(!app->exportScreen());

        click(workspace, "tbrExport");
        const qsizetype shown = dialogs.shown.size();
        tabs->setCurrentIndex(0);
        click(app->exportScreen(), "Command1");
        QCOMPARE(dialogs.shown.size(), shown);
        QVERIFY(!app->exportScreen());

        tabs->setCurrentIndex(3);
        click(workspace, "tbrExport");
        click(workspace, "tbrProjektmanager");
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        QVERIFY(!app->exportScreen());
        app.reset();
        settle();
    }
};

QTEST_MAIN(ExportFromWorkspaceTest)
#include "ExportFromWorkspaceTest.moc"
