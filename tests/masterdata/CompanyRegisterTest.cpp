#include "CompanyRegister.h"
#include "ScreenFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>

using namespace Qt::StringLiterals;

// The company register driven through its widgets, checked against its list and the database file.
class CompanyRegisterTest : public QObject {
    Q_OBJECT

    // Two trades, two cost groups and four companies numbered 1 to 4.
    struct Fixture : DatabaseScreen<CompanyRegister> {
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
        QString count() const {
            return find<QStatusBar>("StatusBar1")->findChildren<QLabel*>().constLast()->text();
        }
    };

private slots:
    void searchShowsTheHitsAndTheirCount_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fromLeft");
        QTest::addColumn<QString>("numbers");
        QTest::newRow("4 anywhere") << u"4"_s << false << "2,3,4";
        QTest::newRow("4 from left") << u"4"_s << true << "2";
        QTest::newRow("apostrophe") << u"o'n"_s << false << "2";
        QTest::newRow("wildcard") << u"h*nord"_s << true << "1";
        QTest::newRow("no hit: mobile is not searched") << u"0170"_s << false << "";
        QTest::newRow("cleared") << u""_s << true << "1,2,3,4";
    }
    void searchShowsTheHitsAndTheirCount() {
        QFETCH(QString, typed);
        QFETCH(bool, fromLeft);
        QFETCH(QString, numbers);
        Fixture f;
        f.open();
        f.type("Text10", typed, fromLeft ? "Option2" : "Option1");
        QCOMPARE(f.column("ListView1", 0), numbers);
        QCOMPARE(f.count(),
                 "Anzahl Firmen: " + QString::number(numbers.split(',', Qt::SkipEmptyParts).size()));
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // A new company needs a name and takes the chosen trade, and the count follows adding and deleting; the
    // icon buttons ask for the preview and close.
    void saveNeedsName() {
        Fixture f;
        f.open();
        QCOMPARE(f.column("ListView1", -1), "LfdNr.,Firma,Ort,Gewerk,Kostengruppe");
        QVERIFY(f.column("ListView1", 2).startsWith("97070 Würzburg,"));
        f.type("Text4", "Hauptstraße 1", "Command2");
        QCOMPARE(f.text("Text4") + '|' + f.count(), "Hauptstraße 1|Anzahl Firmen: 4");
        f.type("Text1", "Bagger Nord", "Command2");
        QCOMPARE(f.rows("tblFirma", "Name || ':' || \"Straße\" || ':' || GewerkID").section(',', -1),
                 "Bagger Nord:Hauptstraße 1:Elektro");
        QCOMPARE(f.count(), "Anzahl Firmen: 5");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.select("ListView1", 1, "Bagger Nord", "Command3");
        QCOMPARE(f.count(), "Anzahl Firmen: 4");
        QSignalSpy previews(f.screen.get(), &CompanyRegister::printPreviewRequested);
        f.click("Command7");
        f.click("Command8");
        QVERIFY(previews.count() == 1 && !f.screen->isVisible());
    }

    // A company shows exactly its stored trade and cost group, also an empty one or one no longer in the
    // presets, whatever company was loaded before; saving a change of the street keeps them, in the
    // company and in its copies, and the lists lose the extra entry again.
    void storedTradeAndCostGroupStayAsStored_data() {
        QTest::addColumn<QString>("trade");
        QTest::addColumn<QString>("costGroup");
        QTest::newRow("in the lists") << u"Elektro"_s << u"400"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("no longer in the lists") << u"Gerüstbau"_s << u"999 Sonstiges"_s;
        QTest::newRow("other letter case") << u"ROHBAU"_s << u"300"_s;
    }
    void storedTradeAndCostGroupStayAsStored() {
        QFETCH(QString, trade);
        QFETCH(QString, costGroup);
        Fixture f;
        f.db.exec("UPDATE tblFirma SET GewerkID = ?, KostengruppeID = ? WHERE ID = 4",
                  {trade.isEmpty() ? QVariant() : trade, costGroup.isEmpty() ? QVariant() : costGroup});
        f.bookings("ProjektID, Firma, Gewerk, Kostengruppe", {{1, "Zimmerei", "Alt", "Alt"}});
        f.open();
        auto* trades = f.find<QComboBox>("Combo1");
        auto* costGroups = f.find<QComboBox>("Combo2");
        f.select("ListView1", 0, "2", "Command4");
        QCOMPARE(trades->currentText() + '|' + costGroups->currentText(), "Elektro|400");
        f.select("ListView1", 0, "4", "Command4");
        QCOMPARE(trades->currentText() + '|' + costGroups->currentText(), trade + '|' + costGroup);
        f.type("Text4", "Am Hang 2", "Command2");
        QCOMPARE(f.rows("tblFirma",
                        "\"Straße\" || '|' || ifnull(GewerkID, '') || '|' || ifnull(KostengruppeID, '')")
                     .section(',', -1),
                 "Am Hang 2|" + trade + '|' + costGroup);
        QCOMPARE(f.bookings("Firma || ':' || ifnull(Gewerk, '') || ':' || ifnull(Kostengruppe, '')"),
                 "Zimmerei:" + trade + ':' + costGroup);
        QCOMPARE(trades->count() + costGroups->count(), 4);
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // A heading click sorts once, numbers by value; activating the window keeps the list sorted by name,
    // German order ignoring case, through changes and searches.
    void headingSortsOnceAndActivationKeepsNameOrder() {
        Fixture f;
        f.db.exec("DELETE FROM tblFirma");
        f.db.exec("INSERT INTO tblFirma (ID, Name) VALUES (1, 'Zimmerei'), (2, 'Öl Meier'), (3, '2er Bau'), "
                  "(4, 'abbruch'), (5, 'Oberbau'), (10, '10er Bau')");
        f.open();
        f.clickHeading("ListView1", 0);
        QCOMPARE(f.column("ListView1", 0), "10,5,4,3,2,1");
        f.clickHeading("ListView1", 0);
        QCOMPARE(f.column("ListView1", 0), "1,2,3,4,5,10");
        f.type("Text10", "x");
        f.type("Text10", QString());
        QCOMPARE(f.column("ListView1", 0), "1,2,3,4,5,10");

        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(f.screen.get(), &activate);
        QCOMPARE(f.column("ListView1", 1), "10er Bau,2er Bau,abbruch,Oberbau,Öl Meier,Zimmerei");
        f.select("ListView1", 1, "Zimmerei", "Command4");
        f.type("Text1", "Aachen Bau", "Command2");
        QCOMPARE(f.column("ListView1", 1), "10er Bau,2er Bau,Aachen Bau,abbruch,Oberbau,Öl Meier");
        QCOMPARE(f.column("ListView1", 0), "10,3,1,4,5,2");
        f.type("Text10", "bau");
        QCOMPARE(f.column("ListView1", 1), "10er Bau,2er Bau,Aachen Bau,Oberbau");
    }
};

QTEST_MAIN(CompanyRegisterTest)
#include "CompanyRegisterTest.moc"
