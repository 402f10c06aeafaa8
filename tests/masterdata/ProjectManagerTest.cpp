#include "ProjectManager.h"
#include "ScreenFixture.h"

#include <QDateEdit>
#include <QSignalSpy>

// The project manager driven through its widgets, checked against its list and the database file.
using namespace Qt::StringLiterals;

class ProjectManagerTest : public QObject {
    Q_OBJECT
    using Fixture = ScreenFixture<ProjectManager>;

private slots:
    // Buttons acting on a selection do nothing without one; a project is added once and can be loaded.
    void addsOnceAndLoadsTheSelectedProject() {
        Fixture f;
        ScreenDriver ui = f.open();
        QSignalSpy loads(f.screen.get(), &ProjectManager::projectLoadRequested);
        QCOMPARE(ui.column("lvwProjekte", -1), "ProjektNr.,Projektbezeichnung,Datum,");
        for (const char* button : {"cmdBearbeiten", "cmdLoeschen", "cmdProjektLaden", "cmdHinzufuegen"})
            ui.click(QLatin1String(button));
        QVERIFY(loads.isEmpty() && f.dialogs.shown.isEmpty() && f.rows("tblProjekt", "ID").isEmpty());
        ui.find<QDateEdit>("dtpStart")->setDate(QDate(2005, 1, 1));
        ui.type("txtName", "O'Neill-Halle", "cmdHinzufuegen");
        ui.click("cmdHinzufuegen");
        QCOMPARE(ui.text("txtName"), QString());
        QCOMPARE(ui.column("lvwProjekte", 1) + '|' + ui.column("lvwProjekte", 2), "O'Neill-Halle|01.01.2005");
        QCOMPARE(f.rows("tblProjekt", "ID||'|'||ProjektName||'|'||Datumwert"), "1|O'Neill-Halle|38353");
        ui.select("lvwProjekte", 0, "1", "cmdProjektLaden");
        QCOMPARE(QList<QVariantList>(loads), QList<QVariantList>({{"1", "O'Neill-Halle"}}));
        ui.click("cmdBeenden");
        QVERIFY(!f.screen->isVisible());
    }

    // Project 1 is loaded, project 2 of the same name is selected when saving: only 1 and its copies
    // change. The first save is refused by the database: entry, edit mode and rows stay as they were.
    void renameCascades() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1,'Altbau',2), (2,'Altbau',1)");
        f.bookings("ProjektID, Projekt", {{1, "altbau"}, {1, "ALTBAU"}, {1, "Anbau"}, {2, "Altbau"}});
        f.refuseWrites();
        ScreenDriver ui = f.open();
        ui.select("lvwProjekte", 0, "1", "cmdBearbeiten");
        QCOMPARE(ui.text("txtName"), "Altbau");
        ui.select("lvwProjekte", 0, "2");
        ui.type("txtName", "Neubau", "cmdHinzufuegen");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(ui.text("txtName"), "Neubau");
        QCOMPARE(f.rows("tblProjekt", "ProjektName"), "Altbau,Altbau");
        QCOMPARE(f.bookings("ProjektID || ':' || Projekt"), "1:altbau,1:ALTBAU,1:Anbau,2:Altbau");
        f.refuseWrites(false);
        ui.click("cmdHinzufuegen");
        QCOMPARE(ui.text("txtName") + '|' + ui.column("lvwProjekte", 1), "|Neubau,Altbau");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.rows("tblProjekt", "ID || ':' || ProjektName"), "1:Neubau,2:Altbau");
        QCOMPARE(f.bookings("ProjektID || ':' || Projekt"), "1:Neubau,1:Neubau,1:Anbau,2:Altbau");
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
        ScreenDriver ui = f.open();
        ui.type("txtSuche", "1");
        ui.type("txtSuche", typed);
        QTEST(ui.column("lvwProjekte", 0), "numbers");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void deleteAsksAndKeepsBookings_data() { Fixture::answerRows("1|1", "1,2|1,2"); }
    void deleteAsksAndKeepsBookings() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1,'Altbau',2), (2,'Altbau',1)");
        f.bookings("ProjektID, Projekt", {{2, "Altbau"}});
        QFETCH(Dialogs::Answer, answer);
        f.dialogs.answers.enqueue(answer);
        ScreenDriver ui = f.open();
        ui.select("lvwProjekte", 0, "2", "cmdLoeschen");
        QCOMPARE(f.shown(), "Projekt löschen? |Projekt 'Altbau' löschen?          ");
        QVERIFY(f.asked(Dialogs::Icon::Critical, Dialogs::Answer::No));
        QTEST(ui.column("lvwProjekte", 0) + '|' + f.rows("tblProjekt", "ID"), "left");
        QCOMPARE(f.bookings("ProjektID || ':' || Projekt"), "2:Altbau");
    }

    void unreadableFileShowsMessageAndDisablesActions() {
        Fixture f;
        QVERIFY(QFile::remove(f.db.path()));
        ScreenDriver ui = f.open();
        QVERIFY(!f.screen->hasDatabase() && !ui.find<QWidget>("cmdHinzufuegen")->isEnabled());
        QCOMPARE(f.shown().section('|', 0, 0), "Ladefehler!");
    }
};

QTEST_MAIN(ProjectManagerTest)
#include "ProjectManagerTest.moc"
