#include "Presets.h"
#include "ScreenFixture.h"

#include "AuthorityDetails.h"
#include "Settings.h"

#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// The presets driven through their widgets, checked against their lists, the database and the settings.
using namespace Qt::StringLiterals;

class PresetsTest : public QObject {
    Q_OBJECT
    using Fixture = ScreenFixture<Presets>;

private:
    // Trades and cost groups with known numbers, and one company, booking and estimate row naming them.
    void fill(TestDatabase& db) {
        db.clearPresets();
        for (const auto& [id, name] :
             {std::pair{1, "Elektro"}, std::pair{2, "Dach"}, std::pair{10, "Heizung"}})
            db.exec("INSERT INTO tblGewerk (ID, Gewerk) VALUES (?, ?)", {id, QString::fromUtf8(name)});
        for (const auto& [id, name] : {std::pair{1, "300 Bauwerk"}, std::pair{2, "200 Erschließung"}})
            db.exec("INSERT INTO tblKostengruppe (ID, Kostengruppe) VALUES (?, ?)",
                    {id, QString::fromUtf8(name)});
        for (const char* trade : {"Elektro", "ELEKTRO", ""}) {
            db.exec("INSERT INTO tblFirma (Name, GewerkID, KostengruppeID) VALUES ('F', ?, '')",
                    {QLatin1String(trade)});
            db.exec("INSERT INTO tblBuchung (Firma, Gewerk, Kostengruppe) VALUES ('F', ?, '')",
                    {QLatin1String(trade)});
            db.exec("INSERT INTO tblNachtrag (Firma, Gewerk, Kostengruppe) VALUES ('F', ?, '')",
                    {QLatin1String(trade)});
        }
    }
    QString column(TestDatabase& db, const QString& table, const QString& field) {
        return db.scalar(
            u"SELECT group_concat(%2, ',') FROM (SELECT %2 FROM %1 ORDER BY rowid)"_s.arg(table, field));
    }

private slots:
    void listsAreSortedByName() {
        Fixture f;
        fill(f.db);
        Settings settings(m_dir.filePath("zlv.ini"));
        ScreenDriver ui = f.open(settings);
        QCOMPARE(f.screen->windowTitle(), "Voreinstellungen");
        QTabWidget* tabs = ui.find<QTabWidget>(QString());
        QCOMPARE(tabs->tabText(0) + '|' + tabs->tabText(1) + '|' + tabs->tabText(2),
                 "Gewerk|Kostenstelle|Eigene Daten");
        QCOMPARE(ui.headings("ListView2"), QStringList({"LfdNr.", "Gewerk"}));
        QCOMPARE(ui.headings("ListView1"), QStringList({"LfdNr.", "Kostenstelle"}));
        QCOMPARE(ui.column("ListView2", 0), QStringList({"2", "1", "10"}));
        QCOMPARE(ui.column("ListView1", 1), QStringList({"200 Erschließung", "300 Bauwerk"}));
    }

    void tradeRenameFollowsExactName() {
        Fixture f;
        fill(f.db);
        Settings settings(m_dir.filePath("zlv.ini"));
        ScreenDriver ui = f.open(settings);
        QVERIFY(ui.select("ListView2", 1, "Elektro"));
        ui.click("Command6");
        QCOMPARE(ui.text("Text2"), "Elektro");
        QVERIFY(ui.select("ListView2", 1, "Dach"));
        ui.type("Text2", "Elektroinstallation");
        ui.click("Command4");

        QCOMPARE(ui.text("Text2"), QString());
        QCOMPARE(ui.column("ListView2", 1), QStringList({"Dach", "Elektroinstallation", "Heizung"}));
        QCOMPARE(column(f.db, "tblGewerk", "Gewerk"), "Elektroinstallation,Dach,Heizung");
        const QString copies = "Elektroinstallation,ELEKTRO,";
        QCOMPARE(column(f.db, "tblFirma", "GewerkID"), copies);
        QCOMPARE(column(f.db, "tblBuchung", "Gewerk"), copies);
        QCOMPARE(column(f.db, "tblNachtrag", "Gewerk"), copies);
    }

    void eachTabKeepsItsOwnEditMode() {
        Fixture f;
        fill(f.db);
        Settings settings(m_dir.filePath("zlv.ini"));
        ScreenDriver ui = f.open(settings);
        QVERIFY(ui.select("ListView1", 0, "1"));
        ui.click("Command7");
        QCOMPARE(ui.text("Text1"), "300 Bauwerk");
        QVERIFY(ui.select("ListView2", 1, "Dach"));
        ui.type("Text2", "Fenster");
        ui.click("Command4");

        QCOMPARE(column(f.db, "tblGewerk", "Gewerk"), "Elektro,Dach,Heizung,Fenster");
        QCOMPARE(column(f.db, "tblFirma", "GewerkID"), "Elektro,ELEKTRO,");

        ui.type("Text1", "300 Bauwerk - Baukonstruktionen");
        ui.click("Command1");
        QCOMPARE(column(f.db, "tblKostengruppe", "Kostengruppe"),
                 "300 Bauwerk - Baukonstruktionen,200 Erschließung");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void deleteAsksAndLeavesCopies_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("left");
        QTest::newRow("trade yes") << "ListView2"
                                   << "Command5"
                                   << "Gewerk löschen" << true << "2,10";
        QTest::newRow("trade no") << "ListView2"
                                  << "Command5"
                                  << "Gewerk löschen" << false << "2,1,10";
        QTest::newRow("cost group yes") << "ListView1"
                                        << "Command2"
                                        << "Kostenstelle löschen" << true << "2";
    }
    void deleteAsksAndLeavesCopies() {
        QFETCH(QString, list);
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(bool, yes);
        QFETCH(QString, left);
        Fixture f;
        fill(f.db);
        f.dialogs.answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        Settings settings(m_dir.filePath("zlv.ini"));
        ScreenDriver ui = f.open(settings);
        QVERIFY(ui.select(list, 0, "1"));
        ui.click(button);

        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, title);
        QCOMPARE(f.dialogs.shown.first().text, "LfdNr: 1 löschen?          ");
        QVERIFY(f.dialogs.shown.first().icon == Dialogs::Icon::Question);
        QVERIFY(f.dialogs.shown.first().defaultButton == Dialogs::Answer::Yes);
        QCOMPARE(ui.column(list, 0).join(','), left);
        QCOMPARE(column(f.db, "tblFirma", "GewerkID"), "Elektro,ELEKTRO,");
    }

    void failedRenameKeepsEntry() {
        Fixture f;
        fill(f.db);
        f.db.exec(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE UPDATE ON tblBuchung BEGIN SELECT RAISE(ABORT, 'x'); END"));
        Settings settings(m_dir.filePath("zlv.ini"));
        ScreenDriver ui = f.open(settings);
        QVERIFY(ui.select("ListView2", 1, "Elektro"));
        ui.click("Command6");
        ui.type("Text2", "Strom");
        ui.click("Command4");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(ui.text("Text2"), "Strom");
        QCOMPARE(column(f.db, "tblGewerk", "Gewerk"), "Elektro,Dach,Heizung");
        QCOMPARE(column(f.db, "tblFirma", "GewerkID"), "Elektro,ELEKTRO,");
    }

    void authorityDetailsSurviveReopen() {
        Fixture f;
        const QString ini = m_dir.filePath("zlv.ini");
        const QStringList names{"Text3", "Text6", "Text7", "Text8", "Text4", "Text5"};
        const QStringList typed{"Landratsamt Wernholm", "Bauamt", "97000", "Wernholm", "Wernholm",
                                "Unterfranken"};
        {
            Settings settings(ini);
            ScreenDriver ui = f.open(settings);
            for (int i = 0; i < names.size(); ++i)
                ui.type(names[i], typed[i]);
            ui.click("Command3");
            QVERIFY(!f.screen->isVisible());
            f.screen.reset();
        }
        Settings reopened(ini);
        QCOMPARE(reopened.value(AuthorityDetails::name), "Landratsamt Wernholm");
        QCOMPARE(reopened.value(AuthorityDetails::region), "Unterfranken");
        ScreenDriver ui = f.open(reopened);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(ui.text(names[i]), typed[i]);
        QCOMPARE(ui.find<QLineEdit>("Text3")->toolTip(), "Z.B. Landratsamt Wernholm");

        ui.type("Text6", "Hochbau");
        f.screen->close();
        QCOMPARE(reopened.value(AuthorityDetails::department), "Bauamt");
        QCOMPARE(ui.text("Text6"), "Bauamt");
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(PresetsTest)
#include "PresetsTest.moc"
