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
#include <QTreeView>

// The export screen as the program opens it from the workspace: not on the entry tab, beside the
// workspace on the others, writing the list of the tab shown at the moment of export, and closed with the
// workspace.
class ExportFromWorkspaceTest : public QObject {
    Q_OBJECT

    static void click(QWidget* window, const QString& name) {
        auto* button = window ? window->findChild<QAbstractButton*>(name) : nullptr;
        QVERIFY2(button, qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }
    static void showTab(QWidget* workspace, int tab) {
        workspace->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(tab);
    }

private slots:
    void exportBesideTheWorkspace() {
        TestDatabase db;
        db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
        db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
                "Zahlungsart, Betrag) VALUES (1, '1', 'Neubau Kita', 'Hochbau Nord', 'Rohbau', '300', 45306, "
                "'Rückhalt', 1234.5)");
        const QDir program(db.folder());
        Settings settings(program.filePath("TalbrinZlv.ini"));
        ScriptedDialogs dialogs;
        auto app = std::make_unique<AppController>(program.path(), dialogs, settings);
        QVERIFY(app->start());
        settle();
        click(app->startMenu(), "cmdProjekt");
        QWidget* workspace = loadFirstProject(*app);

        click(workspace, "tbrExport");
        QVERIFY(!app->exportScreen());
        QCOMPARE(visibleWindows(), QStringList{"frmAusgabe"});

        showTab(workspace, 1);
        click(workspace, "cmdExport");
        QCOMPARE(visibleWindows(), (QStringList{"frmAusgabe", "frmExport"}));
        showTab(workspace, 4);
        dialogs.files.enqueue(program.filePath("bericht.csv"));
        click(app->exportScreen(), "Command1");
        QFile written(program.filePath("bericht.csv"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().split('\n').mid(0, 2),
                 (QList<QByteArray>{"Kostenbericht   -  Projekt: Neubau Kita\r", "\r"}));
        QVERIFY2(dialogs.lastText().contains("/Kostenbericht|"), qPrintable(dialogs.lastText()));
        QVERIFY(!app->exportScreen());

        // On the entry tab "&Exportieren" closes the screen without a dialog.
        click(workspace, "tbrExport");
        const qsizetype shown = dialogs.shown.size();
        showTab(workspace, 0);
        click(app->exportScreen(), "Command1");
        QCOMPARE(dialogs.shown.size(), shown);
        QVERIFY(!app->exportScreen());

        showTab(workspace, 3);
        click(workspace, "tbrExport");
        QVERIFY(app->exportScreen());
        click(workspace, "tbrProjektmanager");
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        QVERIFY(!app->exportScreen());
        app.reset();
        settle();
    }
};

QTEST_MAIN(ExportFromWorkspaceTest)
#include "ExportFromWorkspaceTest.moc"
