#include "Mnemonics.h"
#include "AppController.h"
#include "AppTestWindows.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"

#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

// Alt with a letter reaches one control only, in every window of the program and on every page of its tabs.
class MnemonicsTest : public QObject {
    Q_OBJECT

private slots:
    void noTwoControlsShareAMnemonic() {
        TestDatabase db;
        db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
        const QDir program(db.folder());
        Settings settings(program.filePath("TalbrinZlv.ini"));
        ScriptedDialogs dialogs;
        AppController app(program.path(), dialogs, settings);
        QVERIFY(app.start());
        settle();
        QStringList collisions;
        const auto check = [&collisions](QWidget* window) {
            QVERIFY(window);
            collisions += mnemonicCollisions(*window);
        };
        check(app.startMenu());
        app.openPresets();
        check(app.presets());
        app.openCompanyRegister();
        check(app.companyRegister());
        app.openAboutBox();
        check(app.aboutBox());
        app.openProjectManager();
        settle();
        check(app.projectManager());
        check(loadFirstProject(app));
        app.workspace()->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
        emit app.workspace()->printRequested();
        check(app.printSettings());
        app.openExport();
        check(app.exportScreen());
        QCOMPARE(collisions.join(QLatin1Char('\n')), QString());
    }
};

QTEST_MAIN(MnemonicsTest)
#include "MnemonicsTest.moc"
