#include "ProjectManager.h"
#include "ScreenFixture.h"

#include <QDateEdit>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

// The project manager driven through its widgets, checked against its list and the database file.
class ProjectManagerTest : public QObject {
    Q_OBJECT
    using Fixture = DatabaseScreen<ProjectManager>;

private slots:
    // Buttons acting on a selection do nothing without one; a project is added once and can be loaded.
    void addsOnceAndLoadsTheSelectedProject() {
        Fixture f;
        f.open();
        QSignalSpy loads(f.screen.get(), &ProjectManager::projectLoadRequested);
        QCOMPARE(f.column("lvwProjekte", -1), "ProjektNr.,Projektbezeichnung,Datum,");
        for (const char* button : {"cmdBearbeiten", "cmdLoeschen", "cmdProjektLaden", "cmdHinzufuegen"})
            f.click(button);
        QVERIFY(loads.isEmpty() && f.dialogs.shown.isEmpty() && f.rows("tblProjekt", "ID").isEmpty());
        f.find<QDateEdit>("dtpStart")->setDate(QDate(2005, 1, 1));
        f.type("txtName", "O'Neill-Halle", "cmdHinzufuegen");
        f.click("cmdHinzufuegen");
        QCOMPARE(f.text("txtName"), QString());
        QCOMPARE(f.column("lvwProjekte", 1) + '|' + f.column("lvwProjekte", 2), "O'Neill-Halle|01.01.2005");
        QCOMPARE(f.rows("tblProjekt", "ID||'|'||ProjektName||'|'||Datumwert"), "1|O'Neill-Halle|38353");
        f.select("lvwProjekte", 0, "1", "cmdProjektLaden");
        QCOMPARE(QList<QVariantList>(loads), QList<QVariantList>({{"1", "O'Neill-Halle"}}));
        f.click("cmdBeenden");
        QVERIFY(!f.screen->isVisible());
    }

    // Matches the number or the name anywhere; the list is newest first, projects without date last.
    void searchMatchesNumberOrName_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("numbers");
        QTest::newRow("number and name") << u"12"_s << "112,12,3";
        QTest::newRow("apostrophe") << u"o'n"_s << "5";
        QTest::newRow("wildcard") << u"Hal*2"_s << "3";
        QTest::newRow("percent is a plain character") << u"%"_s << "";
        QTest::newRow("cleared") << u""_s << "112,12,5,3,1,7";
    }
    void searchMatchesNumberOrName() {
        QFETCH(QString, typed);
        Fixture f;
        f.db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Schule', 38000), "
                  "(3, 'Halle 12b', 38100), (5, 'O''Neill', 38150), (7, 'Ohne Datum', NULL), "
                  "(12, 'Rathaus', 38200), (112, 'Bad', 38717)");
        f.open();
        f.type("txtSuche", "1");
        f.type("txtSuche", typed);
        QTEST(f.column("lvwProjekte", 0), "numbers");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void unreadableFileShowsMessageAndDisablesActions() {
        Fixture f;
        QVERIFY(QFile::remove(f.db.path()));
        f.open();
        QVERIFY(!f.screen->hasDatabase() && !f.find<QWidget>("cmdHinzufuegen")->isEnabled());
        QCOMPARE(f.dialogs.shown.value(0).title, "Ladefehler!");
    }
};

QTEST_MAIN(ProjectManagerTest)
#include "ProjectManagerTest.moc"
