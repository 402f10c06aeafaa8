#include "CompanyRegister.h"
#include "ScreenFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>

// The company register driven through its widgets, checked against its list and the database file.
class CompanyRegisterTest : public QObject {
    Q_OBJECT

    // Two trades, two cost groups and four companies numbered 1 to 4.
    struct Fixture : ScreenFixture<CompanyRegister> {
        Fixture() {
            db.clearPresets();
            db.exec("INSERT INTO tblGewerk (Gewerk) VALUES ('Rohbau'), ('Elektro')");
            db.exec("INSERT INTO tblKostengruppe (Kostengruppe) VALUES ('300'), ('400')");
            db.exec("INSERT INTO tblFirma (Name, PLZ, Ort, GewerkID, KostengruppeID, Mobil) VALUES "
                    "('Hochbau Nord', '97070', 'Würzburg', 'Rohbau', '300', '0170'), "
                    "('O''Neill Bau', '40210', 'Düsseldorf', 'Elektro', '400', '0170'), "
                    "('Putz 4you', '80331', 'München', 'Rohbau', '300', '0170'), "
                    "('Zimmerei', '14467', 'Potsdam', 'Rohbau', '300', '0170')");
        }
        QString copies() {
            return bookings(
                "ProjektID || ':' || Firma || ':' || ifnull(Gewerk, '') || ':' || ifnull(Kostengruppe, '')");
        }
        QString count() const {
            return screen->findChild<QStatusBar*>("StatusBar1")->findChildren<QLabel*>().constLast()->text();
        }
    };

private slots:
    void search_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fromLeft");
        QTest::addColumn<QString>("numbers");
        QTest::newRow("4 anywhere") << "4" << false << "2,3,4";
        QTest::newRow("4 from left") << "4" << true << "2";
        QTest::newRow("apostrophe") << "o'n" << false << "2";
        QTest::newRow("wildcard") << "h*nord" << true << "1";
        QTest::newRow("no hit: mobile is not searched") << "0170" << false << "";
        QTest::newRow("cleared") << "" << true << "1,2,3,4";
    }
    void search() {
        QFETCH(QString, typed);
        QFETCH(bool, fromLeft);
        QFETCH(QString, numbers);
        Fixture f;
        ScreenDriver ui = f.open();
        ui.type("Text10", typed);
        ui.click(fromLeft ? "Option2" : "Option1");
        QCOMPARE(ui.column("ListView1", 0), numbers);
        QCOMPARE(f.count(),
                 "Anzahl Firmen: " + QString::number(numbers.split(',', Qt::SkipEmptyParts).size()));
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // Company 1 is loaded, 2 is selected when saving: 1 and its copies in any letter case take the new
    // name, trade and cost group, in every project. The first save is refused by the database: fields,
    // edit mode and rows stay as they were.
    void renameCascadesIgnoringCase() {
        Fixture f;
        f.bookings("ProjektID, Firma", {{1, "HOCHBAU NORD"}, {2, "hochbau nord"}, {2, "Hochbau Süd"}});
        f.refuseWrites();
        ScreenDriver ui = f.open();
        ui.select("ListView1", 0, "1", "Command4");
        QCOMPARE(ui.text("Text3") + '|' + ui.find<QComboBox>("Combo1")->currentText(), "Würzburg|Rohbau");
        ui.select("ListView1", 0, "2");
        ui.find<QComboBox>("Combo1")->setCurrentText("Elektro");
        ui.type("Text1", "Hochbau Nord GmbH", "Command2");
        const QString companies = ",O'Neill Bau:Elektro,Putz 4you:Rohbau,Zimmerei:Rohbau";
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(ui.text("Text1") + '|' + ui.text("Text2"), "Hochbau Nord GmbH|97070");
        QCOMPARE(f.rows("tblFirma", "Name || ':' || GewerkID"), "Hochbau Nord:Rohbau" + companies);
        QCOMPARE(f.copies(), "1:HOCHBAU NORD::,2:hochbau nord::,2:Hochbau Süd::");
        f.refuseWrites(false);
        ui.click("Command2");
        QCOMPARE(ui.text("Text1") + ui.text("Text3"), QString());
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(ui.column("ListView1", 1).startsWith("Hochbau Nord GmbH,O'Neill Bau,"));
        QCOMPARE(f.rows("tblFirma", "Name || ':' || GewerkID"), "Hochbau Nord GmbH:Elektro" + companies);
        QCOMPARE(f.copies(),
                 "1:Hochbau Nord GmbH:Elektro:300,2:Hochbau Nord GmbH:Elektro:300,2:Hochbau Süd::");
    }

    // A new company needs a name and takes the chosen trade; the icon buttons ask for the preview and close.
    void saveNeedsName() {
        Fixture f;
        ScreenDriver ui = f.open();
        QCOMPARE(ui.column("ListView1", -1), "LfdNr.,Firma,Ort,Gewerk,Kostengruppe");
        QVERIFY(ui.column("ListView1", 2).startsWith("97070 Würzburg,"));
        ui.type("Text4", "Hauptstraße 1", "Command2");
        QCOMPARE(ui.text("Text4") + '|' + f.count(), "Hauptstraße 1|Anzahl Firmen: 4");
        ui.type("Text1", "Bagger Nord", "Command2");
        QCOMPARE(f.rows("tblFirma", "Name || ':' || \"Straße\" || ':' || GewerkID").section(',', -1),
                 "Bagger Nord:Hauptstraße 1:Elektro");
        QCOMPARE(f.count(), "Anzahl Firmen: 5");
        QSignalSpy previews(f.screen.get(), &CompanyRegister::printPreviewRequested);
        ui.click("Command7");
        ui.click("Command8");
        QVERIFY(previews.count() == 1 && !f.screen->isVisible());
    }

    // A company shows exactly its stored trade and cost group, also an empty one or one no longer in the
    // presets, whatever company was loaded before; saving a change of the street keeps them, in the
    // company and in its copies, and the lists lose the extra entry again.
    void storedTradeAndCostGroupStayAsStored_data() {
        QTest::addColumn<QString>("trade");
        QTest::addColumn<QString>("costGroup");
        QTest::newRow("in the lists") << "Elektro"
                                      << "400";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no longer in the lists") << "Gerüstbau"
                                                << "999 Sonstiges";
        QTest::newRow("other letter case") << "ROHBAU"
                                           << "300";
    }
    void storedTradeAndCostGroupStayAsStored() {
        QFETCH(QString, trade);
        QFETCH(QString, costGroup);
        Fixture f;
        f.db.exec("UPDATE tblFirma SET GewerkID = ?, KostengruppeID = ? WHERE ID = 4",
                  {trade.isEmpty() ? QVariant() : trade, costGroup.isEmpty() ? QVariant() : costGroup});
        f.bookings("ProjektID, Firma, Gewerk, Kostengruppe", {{1, "Zimmerei", "Alt", "Alt"}});
        ScreenDriver ui = f.open();
        auto* trades = ui.find<QComboBox>("Combo1");
        auto* costGroups = ui.find<QComboBox>("Combo2");
        ui.select("ListView1", 0, "2", "Command4");
        QCOMPARE(trades->currentText() + '|' + costGroups->currentText(), "Elektro|400");
        ui.select("ListView1", 0, "4", "Command4");
        QCOMPARE(trades->currentText() + '|' + costGroups->currentText(), trade + '|' + costGroup);
        ui.type("Text4", "Am Hang 2", "Command2");
        QCOMPARE(f.rows("tblFirma",
                        "\"Straße\" || '|' || ifnull(GewerkID, '') || '|' || ifnull(KostengruppeID, '')")
                     .section(',', -1),
                 "Am Hang 2|" + trade + '|' + costGroup);
        QCOMPARE(f.copies(), "1:Zimmerei:" + trade + ':' + costGroup);
        QCOMPARE(trades->count() + costGroups->count(), 4);
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void deleteAsks_data() { Fixture::answerRows("3|Anzahl Firmen: 3", "4|Anzahl Firmen: 4"); }
    void deleteAsks() {
        Fixture f;
        f.bookings("ProjektID, Firma", {{1, "Zimmerei"}});
        QFETCH(Dialogs::Answer, answer);
        f.dialogs.answers.enqueue(answer);
        ScreenDriver ui = f.open();
        ui.click("Command3");
        QVERIFY(f.dialogs.shown.isEmpty());
        ui.select("ListView1", 1, "Zimmerei", "Command3");
        QCOMPARE(f.shown(), "Firma löschen|Nr. '4' löschen?          ");
        QVERIFY(f.asked(Dialogs::Icon::Question, Dialogs::Answer::Yes));
        QTEST(f.db.scalar("SELECT count(*) FROM tblFirma") + '|' + f.count(), "left");
        QCOMPARE(f.copies(), "1:Zimmerei::");
    }

    // A heading click sorts once, numbers by value; activating the window keeps the list sorted by name,
    // German order ignoring case, through changes and searches.
    void headingSortsOnceAndActivationKeepsNameOrder() {
        Fixture f;
        f.db.exec("DELETE FROM tblFirma");
        f.db.exec("INSERT INTO tblFirma (ID, Name) VALUES (1, 'Zimmerei'), (2, 'Öl Meier'), (3, '2er Bau'), "
                  "(4, 'abbruch'), (5, 'Oberbau'), (10, '10er Bau')");
        ScreenDriver ui = f.open();
        ui.clickHeading("ListView1", 0);
        QCOMPARE(ui.column("ListView1", 0), "10,5,4,3,2,1");
        ui.clickHeading("ListView1", 0);
        QCOMPARE(ui.column("ListView1", 0), "1,2,3,4,5,10");
        ui.type("Text10", "x");
        ui.type("Text10", QString());
        QCOMPARE(ui.column("ListView1", 0), "1,2,3,4,5,10");

        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(f.screen.get(), &activate);
        QCOMPARE(ui.column("ListView1", 1), "10er Bau,2er Bau,abbruch,Oberbau,Öl Meier,Zimmerei");
        ui.select("ListView1", 1, "Zimmerei", "Command4");
        ui.type("Text1", "Aachen Bau", "Command2");
        QCOMPARE(ui.column("ListView1", 1), "10er Bau,2er Bau,Aachen Bau,abbruch,Oberbau,Öl Meier");
        QCOMPARE(ui.column("ListView1", 0), "10,3,1,4,5,2");
        ui.type("Text10", "bau");
        QCOMPARE(ui.column("ListView1", 1), "10er Bau,2er Bau,Aachen Bau,Oberbau");
    }
};

QTEST_MAIN(CompanyRegisterTest)
#include "CompanyRegisterTest.moc"
