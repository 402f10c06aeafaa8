#include "Mnemonics.h"
#include "AppTestWindows.h"
#include "ProgramFolderFixture.h"

#include <QTabWidget>
#include <QTest>

// Alt with a letter reaches one control only, in every window of the program and on every page of its tabs.
class MnemonicsTest : public QObject {
    Q_OBJECT

private slots:
    void noTwoControlsShareAMnemonic() {
        ProgramFolder f;
        f.data.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
        const std::unique_ptr<AppController> app = f.app();
        QVERIFY(app->start());
        settle();
        QStringList collisions = mnemonicCollisions(*app->startMenu());
        const auto check = [&collisions](QWidget* window) {
            QVERIFY(window);
            collisions += mnemonicCollisions(*window);
        };
        app->openPresets();
        check(app->presets());
        app->openCompanyRegister();
        check(app->companyRegister());
        app->openAboutBox();
        check(app->aboutBox());
        app->openProjectManager();
        settle();
        check(app->projectManager());
        check(loadFirstProject(*app));
        app->workspace()->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
        emit app->workspace()->printRequested();
        check(app->printSettings());
        app->openExport();
        check(app->exportScreen());
        QCOMPARE(collisions.join(QLatin1Char('\n')), QString());
    }
};

QTEST_MAIN(MnemonicsTest)
#include "MnemonicsTest.moc"
