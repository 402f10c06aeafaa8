#include "CompanyRegister.h"
#include "ScreenFixture.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

// The company register driven through its widgets, checked against its list and the database file.
using namespace Qt::StringLiterals;

class CompanyRegisterTest : public QObject {
    Q_OBJECT
    using Fixture = ScreenFixture<CompanyRegister>;

private:
    void fill(TestDatabase& db) {
        db.clearPresets();
        db.exec("INSERT INTO tblGewerk (Gewerk) VALUES ('Rohbau'), ('Elektro')");
        db.exec("INSERT INTO tblKostengruppe (Kostengruppe) VALUES ('300'), ('400')");
        const QList<QStringList> companies{{"1", "Hochbau Nord", "97070", "Würzburg", "Rohbau", "300"},
                                           {"2", "O'Neill Bau", "40210", "Düsseldorf", "Elektro", "400"},
                                           {"3", "Putz 4you", "80331", "München", "Rohbau", "300"},
                                           {"4", "Zimmerei", "14467", "Potsdam", "Rohbau", "300"}};
        for (const QStringList& c : companies)
            db.exec(
                QStringLiteral("INSERT INTO tblFirma (ID, Name, PLZ, Ort, GewerkID, KostengruppeID, Mobil) "
                               "VALUES (?, ?, ?, ?, ?, ?, '0170')"),
                {c[0], c[1], c[2], c[3], c[4], c[5]});
    }
    void addBooking(TestDatabase& db, const QString& project, const QString& company) {
        for (const QString table : {"tblBuchung", "tblNachtrag"})
            db.exec(QStringLiteral(
                        "INSERT INTO %1 (ProjektID, Firma, Gewerk, Kostengruppe) VALUES (?, ?, 'Alt', 'Alt')")
                        .arg(table),
                    {project, company});
    }
    QString rows(TestDatabase& db, const QString& table) {
        return db.scalar(
            QStringLiteral("SELECT group_concat(ProjektID || ':' || Firma || ':' || Gewerk || ':' || "
                           "Kostengruppe, ',') FROM (SELECT * FROM %1 ORDER BY rowid)")
                .arg(table));
    }
    QString count(CompanyRegister& screen) {
        QStringList texts;
        for (QLabel* label : screen.findChild<QStatusBar*>("StatusBar1")->findChildren<QLabel*>())
            texts.append(label->text());
        return texts.join('|');
    }

private slots:
    void listsAllCompaniesWithCount() {
        Fixture f;
        fill(f.db);
        ScreenDriver ui = f.open();
        QCOMPARE(f.screen->windowTitle(), "Firma anlegen");
        QCOMPARE(ui.headings("ListView1"), QStringList({"LfdNr.", "Firma", "Ort", "Gewerk", "Kostengruppe"}));
        QCOMPARE(ui.column("ListView1", 2).first(), "97070 Würzburg");
        QCOMPARE(ui.column("ListView1", 0), QStringList({"1", "2", "3", "4"}));
        QCOMPARE(count(*f.screen), "|Anzahl Firmen: 4");
        QCOMPARE(ui.find<QComboBox>("Combo1")->currentText(), "Elektro");
    }

    void search_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fromLeft");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("4 anywhere") << "4" << false << QStringList({"2", "3", "4"});
        QTest::newRow("4 from left") << "4" << true << QStringList({"2"});
        QTest::newRow("apostrophe") << "o'n" << false << QStringList({"2"});
        QTest::newRow("wildcard") << "h*nord" << true << QStringList({"1"});
        QTest::newRow("mobile is not searched") << "0170" << false << QStringList();
        QTest::newRow("cleared") << "" << true << QStringList({"1", "2", "3", "4"});
    }
    void search() {
        QFETCH(QString, typed);
        QFETCH(bool, fromLeft);
        QFETCH(QStringList, numbers);
        Fixture f;
        fill(f.db);
        ScreenDriver ui = f.open();
        ui.type("Text10", "4");
        ui.click(fromLeft ? "Option2" : "Option1");
        ui.type("Text10", typed);
        QStringList shown = ui.column("ListView1", 0);
        shown.sort();
        QCOMPARE(shown, numbers);
        QCOMPARE(count(*f.screen), u"|Anzahl Firmen: %1"_s.arg(numbers.size()));
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void renameCarriesNameTradeAndCostGroupIgnoringCase() {
        Fixture f;
        fill(f.db);
        addBooking(f.db, "1", "HOCHBAU NORD");
        addBooking(f.db, "2", "hochbau nord");
        addBooking(f.db, "2", "Hochbau Süd");
        ScreenDriver ui = f.open();
        QVERIFY(ui.select("ListView1", 0, "1"));
        ui.click("Command4");
        QCOMPARE(ui.text("Text3"), "Würzburg");
        QCOMPARE(ui.find<QComboBox>("Combo1")->currentText(), "Rohbau");
        QVERIFY(ui.select("ListView1", 0, "2"));
        ui.type("Text1", "Hochbau Nord GmbH");
        ui.find<QComboBox>("Combo1")->setCurrentText("Elektro");
        ui.click("Command2");

        QCOMPARE(ui.text("Text1") + ui.text("Text3"), QString());
        QCOMPARE(
            f.db.scalar(
                QStringLiteral("SELECT group_concat(Name || ':' || GewerkID || ':' || Mobil, ',') FROM "
                               "(SELECT * FROM tblFirma ORDER BY ID)")),
            QStringLiteral("Hochbau Nord GmbH:Elektro:0170,O'Neill Bau:Elektro:0170,Putz 4you:Rohbau:0170,"
                           "Zimmerei:Rohbau:0170"));
        QCOMPARE(ui.column("ListView1", 1).first(), "Hochbau Nord GmbH");
        const QString expected = QStringLiteral(
            "1:Hochbau Nord GmbH:Elektro:300,2:Hochbau Nord GmbH:Elektro:300,2:Hochbau Süd:Alt:Alt");
        QCOMPARE(rows(f.db, "tblBuchung"), expected);
        QCOMPARE(rows(f.db, "tblNachtrag"), expected);
    }

    void addStoresNewCompanyAndIgnoresEmptyName() {
        Fixture f;
        fill(f.db);
        ScreenDriver ui = f.open();
        ui.type("Text4", "Hauptstraße 1");
        ui.click("Command2");
        QCOMPARE(ui.text("Text4"), "Hauptstraße 1");
        ui.type("Text1", "Hochbau Nord");
        ui.click("Command2");
        QCOMPARE(
            f.db.scalar(QStringLiteral("SELECT Name || ':' || \"Straße\" || ':' || GewerkID FROM tblFirma "
                                       "WHERE ID = 5")),
            "Hochbau Nord:Hauptstraße 1:Elektro");
        QCOMPARE(count(*f.screen), "|Anzahl Firmen: 5");
    }

    void saveAfterLoadedCompanyWasDeletedStoresNothing() {
        Fixture f;
        fill(f.db);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        ScreenDriver ui = f.open();
        QVERIFY(ui.select("ListView1", 0, "1"));
        ui.click("Command4");
        ui.click("Command3");
        ui.type("Text1", "Neu");
        QVERIFY(ui.select("ListView1", 0, "2"));
        ui.click("Command2");
        QCOMPARE(ui.text("Text1"), "Neu");
        QCOMPARE(f.db.scalar("SELECT group_concat(Name, ',') FROM tblFirma"),
                 "O'Neill Bau,Putz 4you,Zimmerei");
    }

    void deleteAsks_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void deleteAsks() {
        QFETCH(bool, yes);
        Fixture f;
        fill(f.db);
        addBooking(f.db, "1", "Zimmerei");
        f.dialogs.answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        ScreenDriver ui = f.open();
        ui.click("Command3");
        QVERIFY(f.dialogs.shown.isEmpty());
        QVERIFY(ui.select("ListView1", 1, "Zimmerei"));
        ui.click("Command3");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, "Firma löschen");
        QCOMPARE(f.dialogs.shown.first().text, "Nr. '4' löschen?          ");
        QVERIFY(f.dialogs.shown.first().icon == Dialogs::Icon::Question);
        QVERIFY(f.dialogs.shown.first().defaultButton == Dialogs::Answer::Yes);
        QCOMPARE(f.db.scalar("SELECT count(*) FROM tblFirma"), yes ? "3" : "4");
        QCOMPARE(count(*f.screen), yes ? "|Anzahl Firmen: 3" : "|Anzahl Firmen: 4");
        QCOMPARE(rows(f.db, "tblBuchung"), "1:Zimmerei:Alt:Alt");
    }

    void failedRenameKeepsFields() {
        Fixture f;
        fill(f.db);
        addBooking(f.db, "1", "Hochbau Nord");
        f.db.exec(QStringLiteral(
            "CREATE TRIGGER refuse BEFORE UPDATE ON tblBuchung BEGIN SELECT RAISE(ABORT, 'x'); END"));
        ScreenDriver ui = f.open();
        QVERIFY(ui.select("ListView1", 0, "1"));
        ui.click("Command4");
        ui.type("Text1", "Hochbau Nord GmbH");
        ui.click("Command2");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.dialogs.shown.first().icon == Dialogs::Icon::Warning);
        QCOMPARE(ui.text("Text1"), "Hochbau Nord GmbH");
        QCOMPARE(ui.text("Text2"), "97070");
        QCOMPARE(f.db.scalar("SELECT Name FROM tblFirma WHERE ID = 1"), "Hochbau Nord");
        QCOMPARE(rows(f.db, "tblBuchung"), "1:Hochbau Nord:Alt:Alt");
    }

    void headingSortsOnceAsTextAndActivationKeepsNameOrder() {
        Fixture f;
        fill(f.db);
        f.db.exec("INSERT INTO tblFirma (ID, Name) VALUES (10, 'Aufzug')");
        ScreenDriver ui = f.open();
        QHeaderView* header = ui.find<QTreeView>("ListView1")->header();
        auto clickHeading = [header](int column) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        };
        clickHeading(0);
        QCOMPARE(ui.column("ListView1", 0), QStringList({"4", "3", "2", "10", "1"}));
        clickHeading(0);
        QCOMPARE(ui.column("ListView1", 0), QStringList({"1", "10", "2", "3", "4"}));
        clickHeading(1);
        QCOMPARE(ui.column("ListView1", 1).first(), "Zimmerei");
        ui.type("Text10", "x");
        ui.type("Text10", QString());
        QCOMPARE(ui.column("ListView1", 0), QStringList({"1", "2", "3", "4", "10"}));

        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(f.screen.get(), &activate);
        QCOMPARE(ui.column("ListView1", 0), QStringList({"4", "3", "2", "1", "10"}));
        ui.type("Text1", "Bagger");
        ui.click("Command2");
        QCOMPARE(ui.column("ListView1", 1).last(), "Aufzug");
        QCOMPARE(ui.column("ListView1", 1).at(4), "Bagger");
    }

    void activationSortsNamesAsGermanTextIgnoringCaseAcrossRenames() {
        Fixture f;
        f.db.clearPresets();
        for (const QString name : {"Zimmerei", "Öl Meier", "2er Bau", "abbruch", "Oberbau", "10er Bau"})
            f.db.exec("INSERT INTO tblFirma (Name) VALUES (?)", {name});
        ScreenDriver ui = f.open();
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(f.screen.get(), &activate);
        QCOMPARE(ui.column("ListView1", 1),
                 QStringList({"10er Bau", "2er Bau", "abbruch", "Oberbau", "Öl Meier", "Zimmerei"}));

        QVERIFY(ui.select("ListView1", 1, "Zimmerei"));
        ui.click("Command4");
        ui.type("Text1", "Aachen Bau");
        ui.click("Command2");
        QCOMPARE(ui.column("ListView1", 1),
                 QStringList({"10er Bau", "2er Bau", "Aachen Bau", "abbruch", "Oberbau", "Öl Meier"}));
        QCOMPARE(ui.column("ListView1", 0).at(2), "1");
        ui.type("Text10", "bau");
        QCOMPARE(ui.column("ListView1", 1), QStringList({"10er Bau", "2er Bau", "Aachen Bau", "Oberbau"}));
    }

    void iconButtonsRequestPreviewAndClose() {
        Fixture f;
        ScreenDriver ui = f.open();
        QSignalSpy previews(f.screen.get(), &CompanyRegister::printPreviewRequested);
        QCOMPARE(ui.find<QWidget>("Command7")->accessibleName(), "Druckvorschau");
        ui.click("Command7");
        QCOMPARE(previews.count(), 1);
        ui.click("Command8");
        QVERIFY(!f.screen->isVisible());
    }
};

QTEST_MAIN(CompanyRegisterTest)
#include "CompanyRegisterTest.moc"
