#include "ProjectManager.h"
#include "ScreenFixture.h"

#include "DayNumber.h"

#include <QAccessible>
#include <QDateEdit>
#include <QSignalSpy>
#include <QTest>

// The project manager driven through its widgets, checked against its list and the database file.
using namespace Qt::StringLiterals;

class ProjectManagerTest : public QObject {
    Q_OBJECT
    using Fixture = ScreenFixture<ProjectManager>;

private:
    void addProject(TestDatabase& db, int id, const QString& name, const QVariant& day) {
        db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (?, ?, ?)", {id, name, day});
    }
    void addBooking(TestDatabase& db, const QString& projectId, const QString& projectName) {
        db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma) VALUES (1, ?, ?, 'F')",
                {projectId, projectName});
        db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma) VALUES (1, ?, ?, 'F')",
                {projectId, projectName});
    }
    QString copies(TestDatabase& db, const QString& table) {
        return db.scalar(
            QStringLiteral("SELECT group_concat(ProjektID || ':' || Projekt, ',') FROM (SELECT * FROM %1 "
                           "ORDER BY rowid)")
                .arg(table));
    }

private slots:
    void listsNewestFirstWithHeadings() {
        Fixture f;
        addProject(f.db, 1, "Schule", 38353);
        addProject(f.db, 2, "Turnhalle", 38717);
        addProject(f.db, 3, "Ohne Datum", QVariant());
        ScreenDriver ui = f.open();
        QCOMPARE(f.screen->objectName(), "frmProjekt");
        QCOMPARE(f.screen->windowTitle(), "Projektmanager");
        QCOMPARE(ui.headings("lvwProjekte"),
                 QStringList({"ProjektNr.", "Projektbezeichnung", "Datum", QString()}));
        QCOMPARE(ui.column("lvwProjekte", 0), QStringList({"2", "1", "3"}));
        QCOMPARE(ui.column("lvwProjekte", 2), QStringList({"31.12.2005", "01.01.2005", QString()}));
        QCOMPARE(QAccessible::queryAccessibleInterface(ui.find<QWidget>("txtName"))->text(QAccessible::Name),
                 "Projektbezeichnung (Baustelle)");
        QCOMPARE(ui.find<QDateEdit>("dtpStart")->date(), QDate::currentDate());
    }

    void addsProjectWithNameAndStartDate() {
        Fixture f;
        ScreenDriver ui = f.open();
        ui.find<QDateEdit>("dtpStart")->setDate(QDate(2005, 1, 1));
        ui.type("txtName", "O'Neill-Halle");
        ui.click("cmdHinzufuegen");
        QCOMPARE(ui.text("txtName"), QString());
        QCOMPARE(ui.column("lvwProjekte", 1), QStringList({"O'Neill-Halle"}));
        QCOMPARE(ui.column("lvwProjekte", 2), QStringList({"01.01.2005"}));
        QCOMPARE(f.db.scalar("SELECT ProjektName || '|' || Datumwert FROM tblProjekt"),
                 "O'Neill-Halle|38353");

        ui.click("cmdHinzufuegen");
        QCOMPARE(f.db.scalar("SELECT count(*) FROM tblProjekt"), "1");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void renameCarriesNameIntoCopiesOfThatProjectOnly() {
        Fixture f;
        addProject(f.db, 1, "Altbau", 38353);
        addProject(f.db, 2, "Altbau", 38300);
        addBooking(f.db, "1", "altbau");
        addBooking(f.db, "1", "ALTBAU");
        addBooking(f.db, "1", "Anbau");
        addBooking(f.db, "2", "Altbau");
        ScreenDriver ui = f.open();
        QVERIFY(ui.select("lvwProjekte", 0, "1"));
        ui.click("cmdBearbeiten");
        QCOMPARE(ui.text("txtName"), "Altbau");
        QCOMPARE(ui.find<QDateEdit>("dtpStart")->date(), QDate(2005, 1, 1));
        ui.type("txtName", "Neubau");
        ui.click("cmdHinzufuegen");

        QCOMPARE(ui.column("lvwProjekte", 1), QStringList({"Neubau", "Altbau"}));
        const QString expected = "1:Neubau,1:Neubau,1:Anbau,2:Altbau";
        QCOMPARE(copies(f.db, "tblBuchung"), expected);
        QCOMPARE(copies(f.db, "tblNachtrag"), expected);
    }

    void changeIsStoredOnTheLoadedProjectWhateverIsSelected() {
        Fixture f;
        addProject(f.db, 1, "Altbau", 38353);
        addProject(f.db, 2, "Schule", 38300);
        addBooking(f.db, "1", "Altbau");
        addBooking(f.db, "2", "Schule");
        ScreenDriver ui = f.open();
        QVERIFY(ui.select("lvwProjekte", 0, "1"));
        ui.click("cmdBearbeiten");
        QVERIFY(ui.select("lvwProjekte", 0, "2"));
        ui.type("txtName", "Neubau");
        ui.click("cmdHinzufuegen");

        QCOMPARE(f.db.scalar("SELECT group_concat(ProjektName, ',') FROM tblProjekt"), "Neubau,Schule");
        QCOMPARE(copies(f.db, "tblBuchung"), "1:Neubau,2:Schule");
    }

    void failedRenameKeepsEntryAndEditMode() {
        Fixture f;
        addProject(f.db, 1, "Altbau", 38353);
        addBooking(f.db, "1", "Altbau");
        f.db.exec(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE UPDATE ON tblBuchung BEGIN SELECT RAISE(ABORT, 'x'); END"));
        ScreenDriver ui = f.open();
        QVERIFY(ui.select("lvwProjekte", 0, "1"));
        ui.click("cmdBearbeiten");
        ui.type("txtName", "Neubau");
        ui.click("cmdHinzufuegen");

        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.dialogs.shown.first().kind == ScriptedDialogs::Shown::Kind::Inform);
        QVERIFY(!f.dialogs.lastText().isEmpty());
        QCOMPARE(ui.text("txtName"), "Neubau");
        QCOMPARE(f.db.scalar("SELECT ProjektName FROM tblProjekt"), "Altbau");
        QCOMPARE(copies(f.db, "tblBuchung"), "1:Altbau");

        f.db.exec("DROP TRIGGER refuse");
        ui.click("cmdHinzufuegen");
        QCOMPARE(f.db.scalar("SELECT group_concat(ProjektName, ',') FROM tblProjekt"), "Neubau");
        QCOMPARE(copies(f.db, "tblBuchung"), "1:Neubau");
    }

    void searchMatchesNumberOrName_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("number and name") << "12" << QStringList({"112", "12", "3"});
        QTest::newRow("apostrophe") << "o'n" << QStringList({"5"});
        QTest::newRow("wildcard") << "Hal*2" << QStringList({"3"});
        QTest::newRow("percent is a plain character") << "%" << QStringList();
        QTest::newRow("cleared") << "" << QStringList({"112", "12", "5", "3", "1"});
    }
    void searchMatchesNumberOrName() {
        QFETCH(QString, typed);
        QFETCH(QStringList, numbers);
        Fixture f;
        addProject(f.db, 1, "Schule", 38000);
        addProject(f.db, 3, "Halle 12b", 38100);
        addProject(f.db, 5, "O'Neill", 38150);
        addProject(f.db, 12, "Rathaus", 38200);
        addProject(f.db, 112, "Bad", 38300);
        ScreenDriver ui = f.open();
        ui.type("txtSuche", "1");
        ui.type("txtSuche", typed);
        QCOMPARE(ui.column("lvwProjekte", 0), numbers);
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void deleteAsksAndKeepsBookings_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void deleteAsksAndKeepsBookings() {
        QFETCH(bool, yes);
        Fixture f;
        addProject(f.db, 1, "Altbau", 38353);
        addProject(f.db, 2, "Altbau", 38300);
        addBooking(f.db, "2", "Altbau");
        f.dialogs.answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        ScreenDriver ui = f.open();
        QVERIFY(ui.select("lvwProjekte", 0, "2"));
        ui.click("cmdLoeschen");

        QCOMPARE(f.dialogs.shown.size(), 1);
        const ScriptedDialogs::Shown& question = f.dialogs.shown.first();
        QCOMPARE(question.title, "Projekt löschen? ");
        QCOMPARE(question.text, "Projekt 'Altbau' löschen?          ");
        QVERIFY(question.icon == Dialogs::Icon::Critical);
        QVERIFY(question.defaultButton == Dialogs::Answer::No);
        const QStringList left = yes ? QStringList({"1"}) : QStringList({"1", "2"});
        QCOMPARE(ui.column("lvwProjekte", 0), left);
        QCOMPARE(f.db.scalar(QStringLiteral(
                     "SELECT group_concat(ID, ',') FROM (SELECT ID FROM tblProjekt ORDER BY ID)")),
                 left.join(','));
        QCOMPARE(copies(f.db, "tblBuchung"), "2:Altbau");
    }

    void actionsWithoutSelectionDoNothing() {
        Fixture f;
        addProject(f.db, 1, "Altbau", 38353);
        ScreenDriver ui = f.open();
        QSignalSpy loads(f.screen.get(), &ProjectManager::projectLoadRequested);
        for (const char* button : {"cmdBearbeiten", "cmdLoeschen", "cmdProjektLaden"})
            ui.click(QLatin1String(button));
        QCOMPARE(loads.count(), 0);
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(ui.text("txtName"), QString());
        QVERIFY(f.screen->isVisible());
    }

    void loadHandsOverNumberAndName() {
        Fixture f;
        addProject(f.db, 7, "Altbau", 38353);
        ScreenDriver ui = f.open();
        QSignalSpy loads(f.screen.get(), &ProjectManager::projectLoadRequested);
        QSignalSpy closes(f.screen.get(), &ProjectManager::closeRequested);
        QVERIFY(ui.select("lvwProjekte", 0, "7"));
        ui.click("cmdProjektLaden");
        QCOMPARE(loads.count(), 1);
        QCOMPARE(loads.first(), QVariantList({"7", "Altbau"}));
        QVERIFY(f.screen->isVisible());

        ui.click("cmdBeenden");
        QCOMPARE(closes.count(), 1);
        QVERIFY(!f.screen->isVisible());
    }

    void unreadableFileShowsMessageAndDisablesActions() {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        ProjectManager screen(dir.filePath("ZLV.mdb"), dialogs);
        QVERIFY(!screen.hasDatabase());
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.first().title, "Ladefehler!");
        QVERIFY(dialogs.shown.first().icon == Dialogs::Icon::Critical);
        QVERIFY(!ScreenDriver(screen).find<QWidget>("cmdHinzufuegen")->isEnabled());
    }
};

QTEST_MAIN(ProjectManagerTest)
#include "ProjectManagerTest.moc"
