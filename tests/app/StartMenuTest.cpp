#include "AppTestWindows.h"
#include "Mnemonics.h"
#include "ProgramFolderFixture.h"

#include <QDate>
#include <QTest>

namespace {
void click(QWidget* window, const QString& name) {
    auto* button = window ? window->findChild<QAbstractButton*>(name) : nullptr;
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}
} // namespace

// The start menu and the hand-overs between the screens, driven through the real widgets.
class StartMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> f;
    std::unique_ptr<AppController> m_app;

private slots:
    void init() {
        f = std::make_unique<ProgramFolder>();
        m_app = f->app();
    }

    void cleanup() {
        m_app.reset();
        settle();
        QCOMPARE(visibleWindows(), QStringList());
    }

    void startMenuBacksUpThenHandsOverAndComesBackWhereItStoodUntilQuit() {
        QVERIFY(m_app->start());
        QCOMPARE(m_app->startMenu()->windowTitle(), QStringLiteral("Talbrin Zelvora V1.0.1  -  Startmenü"));
        click(m_app->startMenu(), QStringLiteral("tbrDBSicherung2"));
        QVERIFY(QFile::exists(f->filePath(QDate::currentDate().toString("dd.MM.yyyy") + "_ZLV.mdb")));
        m_app->startMenu()->move(150, 120);
        click(m_app->startMenu(), QStringLiteral("tbrEinstellungen"));
        click(m_app->startMenu(), QStringLiteral("tbrFirma"));
        QCOMPARE(visibleWindows(), (QStringList{"frmFirma", "frmMenü", "frmVoreinstellung"}));

        click(m_app->startMenu(), QStringLiteral("cmdProjekt"));
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        QVERIFY(!m_app->startMenu() && !m_app->presets() && !m_app->companyRegister());

        click(m_app->projectManager(), QStringLiteral("cmdBeenden"));
        QCOMPARE(visibleWindows(), QStringList{"frmMenü"});
        QCOMPARE(m_app->startMenu()->windowTitle(), QStringLiteral("Talbrin Zelvora  - Startmenü "));
        QCOMPARE(m_app->startMenu()->pos(), QPoint(150, 120));
        click(m_app->startMenu(), QStringLiteral("tbrEinstellungen"));
        click(m_app->startMenu(), QStringLiteral("tbrInfo"));
        QCOMPARE(visibleWindows().size(), 3);

        click(m_app->startMenu(), QStringLiteral("tbrBeenden"));

        QCOMPARE(visibleWindows(), QStringList());
    }

    void screenThatCannotOpenTheDatabaseIsNotShown_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("presets") << "tbrEinstellungen";
        QTest::newRow("company register") << "tbrFirma";
        QTest::newRow("project manager") << "cmdProjekt";
    }

    void screenThatCannotOpenTheDatabaseIsNotShown() {
        QFETCH(QString, button);
        QVERIFY(m_app->start());
        settle();
        QVERIFY(QFile::remove(f->data.path()) && TestDatabase::writeFile(f->data.path(), "keine Datenbank"));

        click(m_app->startMenu(), button);

        QCOMPARE(visibleWindows(), QStringList{"frmMenü"});
        QVERIFY(!m_app->presets() && !m_app->companyRegister() && !m_app->projectManager());
        QCOMPARE(f->dialogs.shown.size(), 1);
        QCOMPARE(f->dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
    }

    void cancelledDatabaseChoiceOpensNothing() {
        QVERIFY(QFile::remove(f->data.path()));

        QVERIFY(!m_app->start());

        QCOMPARE(f->dialogs.shown.size(), 2);
        QCOMPARE(visibleWindows(), QStringList());
    }

    void unusableDatabaseEndsTheProgramAfterTheStartMenuShows_data() {
        QTest::addColumn<bool>("openPresetsAtOnce");
        QTest::newRow("checked once events are processed") << false;
        QTest::newRow("checked before the presets open") << true;
    }

    void unusableDatabaseEndsTheProgramAfterTheStartMenuShows() {
        QFETCH(bool, openPresetsAtOnce);
        QVERIFY(QFile::remove(f->data.path()) && TestDatabase::writeFile(f->data.path(), "keine Datenbank"));
        const QByteArray ini = f->path().toUtf8() + "/\n";
        QVERIFY(TestDatabase::writeFile(f->ini(), ini));

        QVERIFY(m_app->start());
        QVERIFY(m_app->startMenu()->isVisible() && f->dialogs.shown.isEmpty());
        if (openPresetsAtOnce) {
            m_app->openPresets();
            QVERIFY(!m_app->presets());
        }
        settle();
        settle();

        QCOMPARE(f->dialogs.shown.size(), 1);
        QVERIFY2(f->dialogs.lastText().contains(QStringLiteral("ZLV.mdb")),
                 qPrintable(f->dialogs.lastText()));
        QCOMPARE(visibleWindows(), QStringList());
        QCOMPARE(ProgramFolder::read(f->data.path()), QByteArray("keine Datenbank"));
        QCOMPARE(ProgramFolder::read(f->ini()), ini);
    }

    void noTwoControlsShareAMnemonic() {
        f->data.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
        QVERIFY(m_app->start());
        settle();
        QStringList collisions = mnemonicCollisions(*m_app->startMenu());
        const auto check = [&collisions](QWidget* window) {
            QVERIFY(window);
            collisions += mnemonicCollisions(*window);
        };
        m_app->openPresets();
        check(m_app->presets());
        m_app->openCompanyRegister();
        check(m_app->companyRegister());
        m_app->openAboutBox();
        check(m_app->aboutBox());
        m_app->openProjectManager();
        settle();
        check(m_app->projectManager());
        check(loadFirstProject(*m_app));
        m_app->workspace()->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
        emit m_app->workspace()->printRequested();
        check(m_app->printSettings());
        m_app->openExport();
        check(m_app->exportScreen());
        QCOMPARE(collisions.join(QLatin1Char('\n')), QString());
    }
};

QTEST_MAIN(StartMenuTest)
#include "StartMenuTest.moc"
