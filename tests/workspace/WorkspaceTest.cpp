#include "DateField.h"
#include "ReportListView.h"
#include "Twips.h"
#include "WorkspaceFixture.h"

#include <algorithm>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>

class WorkspaceTest : public QObject {
    Q_OBJECT
    using Fixture = WorkspaceFixture;

    static void row(const char* name, const QStringList& cells) {
        QTestData& data = QTest::newRow(name);
        for (const QString& cell : cells)
            data << cell;
    }

private slots:
    void bookingIsNumberedListedAndTotalledInCents() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Betrag) VALUES "
                  "(1, '1', 'Schule', 'Hochbau Nord', 100), (2, '1', 'Schule', 'Hochbau Nord', 100), "
                  "(5, '1', 'Schule', 'Hochbau Nord', 100), (9, '2', 'Schule', 'Andere Firma', 7)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        QCOMPARE(f.text("txtGewerk") + '|' + f.text("txtKostengruppe"), "Rohbau|300 Bauwerk");
        QCOMPARE(f.find<QLabel>("lblSitz")->text(), "Sitz: 97070 Würzburg");
        QCOMPARE(f.find<QLabel>("lblAnschrift")->text(),
                 "Straße:  Am Hang 1\nTelefon: 0931-1   Fax: \nMobil:   \neMail:   \nAnspr:   ");
        f.type("txtRechnungsNr", "R-17");
        f.type("txtBemerkungen", "Rest");
        f.book("Hochbau Nord", "Schlußzahlung", "1234,5");
        QCOMPARE(
            f.stored("PID || ':' || Betrag || ':' || Gewerk || ':' || Kostengruppe || ':' || RechnungsNr")
                .section(',', -1),
            "6:1234.5:Rohbau:300 Bauwerk:R-17");
        QCOMPARE(f.text("txtBetrag") + f.text("txtRechnungsNr") + f.text("txtBemerkungen") +
                     f.find<QComboBox>("cboZahlungsart")->currentText(),
                 QString());
        QCOMPARE(f.find<QComboBox>("cboFirma")->currentText(), "Hochbau Nord");
        for (const char* amount : {"0,5", "0,1", "0,2"})
            f.book("Hochbau Nord", "Rückhalt", amount);
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column(0), "001,002,005,006,007,008,009");
        QCOMPARE(f.column(8, "ListView1", '|'), "100,00|100,00|100,00|1.234,50|0,50|0,10|0,20");
        QCOMPARE(f.total() + '|' + f.status(), "1.535,30|Buchungen: 7");
        QCOMPARE(f.items("cboAuswertungFirma"), QStringList{"Hochbau Nord"});
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void incompleteEntryIsRefused_data() {
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("detail");
        const QString missing = "Bitte geben Sie alle notwendigen Daten ein!";
        row("no kind", {"Hochbau Nord", "", "5", missing});
        row("no amount", {"Hochbau Nord", "Rückhalt", "", missing});
        row("partial amount", {"Hochbau Nord", "Rückhalt", "-", "keine vollständige Zahl"});
        row("no trade", {"Ohne Gewerk", "Rückhalt", "5", "Gewerk"});
    }
    void incompleteEntryIsRefused() {
        QFETCH(QString, company);
        QFETCH(QString, kind);
        QFETCH(QString, amount);
        QFETCH(QString, detail);
        Fixture f;
        f.open();
        f.book(company, kind, amount);
        QCOMPARE(f.stored("ID"), QString());
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, "Buchung abgebrochen");
        QCOMPARE(f.dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QVERIFY(f.dialogs.lastText().startsWith("Angaben unvollständig!\n"));
        QVERIFY2(f.dialogs.lastText().contains(detail), qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.text("txtBetrag"), amount);
    }

    void failedWriteKeepsTheEntry() {
        Fixture f;
        f.db.exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON tblBuchung BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
        f.open();
        f.type("txtBemerkungen", "Wichtig");
        f.book("Hochbau Nord", "Rückhalt", "12,34");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.dialogs.lastText().contains("gesperrt"));
        QCOMPARE(f.text("txtBetrag") + '|' + f.text("txtBemerkungen") + '|' +
                     f.find<QComboBox>("cboZahlungsart")->currentText(),
                 "12,34|Wichtig|Rückhalt");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.status(), "Buchungen: 0");
    }

    void awkwardNamesAreSearchedAndBookedAsThemselves() {
        Fixture f;
        f.open();
        f.type("txtSuchen", "o'neill & co_%");
        QCOMPARE(f.items("cboFirma"), QStringList{"O'Neill & Co_%"});
        f.type("txtRechnungsNr", "R'1*?%_");
        f.book("O'Neill & Co_%", "Eigene Art", "7");
        QCOMPARE(f.stored("Firma || '|' || RechnungsNr || '|' || Zahlungsart"),
                 "O'Neill & Co_%|R'1*?%_|Eigene Art");
        f.type("txtSuchen", "_");
        QCOMPARE(f.items("cboFirma"), QStringList{"O'Neill & Co_%"});
        f.type("txtSuchen", "kein Treffer");
        QCOMPARE(f.items("cboFirma"), QStringList{QString()});
        QCOMPARE(f.find<QLabel>("lblAnzahlFirmen")->text() + f.text("txtGewerk"), QString());
    }

    void headingsSortByValue_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<int>("heading");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<bool>("againAndRefilled");
        const auto down = Qt::DescendingOrder;
        const auto up = Qt::AscendingOrder;
        const QString none;
        QTest::newRow("booking amounts")
            << 1 << none << 8 << 8 << "69.002,34|9.887,45|100,00" << down << false;
        QTest::newRow("booking numbers") << 1 << none << 0 << 0 << "1000|999|009" << down << false;
        QTest::newRow("booking dates")
            << 1 << none << 3 << 3 << "01.01.2024|15.03.2023|21.08.1924" << down << false;
        QTest::newRow("bookings refilled") << 1 << none << -1 << 0 << "009|999|1000" << up << false;
        QTest::newRow("booking spare column") << 1 << none << 10 << 0 << "009|999|1000" << up << false;
        QTest::newRow("estimates refilled") << 2 << none << -1 << 0 << "10|9" << down << false;
        QTest::newRow("estimate spare column") << 2 << none << 7 << 0 << "9|10" << up << false;
        QTest::newRow("estimate dates descending, refilled")
            << 2 << none << 1 << 1 << "01.01.2024|21.08.1924" << down << true;
        QTest::newRow("estimate amounts") << 2 << none << 2 << 2 << "9.887,45|69.002,34" << up << false;
        QTest::newRow("evaluation amounts")
            << 3 << "optKostengruppe" << 7 << 7 << "69.002,34|9.887,45|100,00" << down << false;
        QTest::newRow("cost report payments")
            << 4 << none << 8 << 8 << "69.002,34|9.887,45|100,00|78.989,79" << down << false;
    }
    void headingsSortByValue() {
        QFETCH(int, tab);
        QFETCH(QString, option);
        QFETCH(int, clicked);
        QFETCH(int, heading);
        QFETCH(Qt::SortOrder, order);
        QFETCH(bool, againAndRefilled);
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Kostengruppe, AnweisungVom, Betrag) VALUES "
                  "(9, '1', 'Hochbau Nord', '300', 45292, 9887.45), "
                  "(999, '1', 'O''Neill & Co_%', '300', 9000, 69002.34), "
                  "(1000, '1', 'Ohne Gewerk', '300', 45000, 100)");
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektDatum, ArchitektKosten) VALUES "
                  "(9, '1', 'Hochbau Nord', 45292, 9887.45), (10, '1', 'Hochbau Nord', 9000, 69002.34)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.showTab(tab);
        if (!option.isEmpty())
            f.click(option);
        const QString list = "ListView" + QString::number(tab);
        if (clicked >= 0)
            f.clickHeading(clicked, list);
        if (againAndRefilled) {
            f.clickHeading(clicked, list);
            f.screen->List2Fuellen();
        }
        QTEST(f.column(heading, list, '|'), "expected");
        QCOMPARE(f.list(list)->header()->sortIndicatorSection(), heading);
        QCOMPARE(f.list(list)->header()->sortIndicatorOrder(), order);
    }

    void deleteAsksAndRemovesTheSelectedBooking() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom, Betrag) VALUES "
                  "(7, '1', 'A', 45300, 1), (7, '1', 'A', 45300, 2)");
        f.open();
        f.showTab(Workspace::BookingsTabIndex);
        for (const auto& [row, answer, left] : {std::tuple{1, Dialogs::Answer::No, "1.0,2.0"},
                                                {1, Dialogs::Answer::Yes, "1.0"},
                                                {0, Dialogs::Answer::Yes, ""}}) {
            f.selectRow(row);
            f.dialogs.answers.enqueue(answer);
            f.click("cmdBuchungLoeschen");
            QCOMPARE(f.stored("Betrag"), left);
        }
        QCOMPARE(f.dialogs.shown.first().title + '|' + f.dialogs.shown.first().text,
                 "Buchung löschen|LfdNr. '007' löschen?          ");
        QCOMPARE(f.dialogs.shown.first().defaultButton, Dialogs::Answer::No);
        QCOMPARE(f.column(0) + '|' + f.status() + '|' + f.total(), "|Buchungen: 0|0,00");
    }

    void takenBackBookingStaysUntilReplaced() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
            "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) VALUES "
            "(1, '1', 'Schule', 'Hochbau Nord', 'Rohbau', '300 Bauwerk', 45300, 45290, 'R1', 'Rückhalt', "
            "'x', 1234.5), "
            "(2, '1', 'Schule', 'Hochbau Nord', 'Rohbau', '300 Bauwerk', 45301, 45291, 'R2', 'Rückhalt', "
            "'y', 10)");
        f.open();
        f.takeBack(false);
        QCOMPARE(f.dialogs.shown.last().title, "Buchung bearbeiten");
        QCOMPARE(f.dialogs.lastText(),
                 "LfdNr. '001'  -  'Hochbau Nord' bearbeiten? \nBuchungsdaten werden in die "
                 "Eingabefelder (Register Eingabe) kopiert\nund dann aus dieser Liste "
                 "entfernt. ");
        QCOMPARE(f.find<QTabWidget>("SSTab1")->currentIndex(), int(Workspace::EntryTabIndex));
        QCOMPARE(f.text("txtBetrag") + '|' + f.text("txtRechnungsNr") + '|' +
                     f.find<QComboBox>("cboZahlungsart")->currentText() + '|' +
                     f.find<QDateEdit>("dtpAnweisung")->date().toString("dd.MM.yyyy"),
                 "1.234,50|R1|Rückhalt|09.01.2024");
        QVERIFY(!f.find<QLabel>("lblBearbeitungsmodus")->isHidden());
        QCOMPARE(f.stored("PID"), "1,2");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column(0) + '|' + f.total(), "002|10,00");

        f.dialogs.answers.enqueue(Dialogs::Answer::No);
        f.reopen();
        QVERIFY(f.dialogs.lastText().contains("Soll die korrigierte Buchung jetzt gebucht werden?"));
        QCOMPARE(f.stored("PID || Betrag"), "11234.5,210.0");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column(0), "001,002");

        f.takeBack(false);
        f.type("txtBetrag", "1000");
        f.click("cmdBuchen");
        QCOMPARE(f.stored("PID || ':' || Betrag || ':' || RechnungsNr"), "2:10.0:R2,3:1000.0:R1");
        QVERIFY(f.find<QLabel>("lblBearbeitungsmodus")->isHidden());

        f.takeBack(false);
        f.type("txtBetrag", "11");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.takeBack(false);
        QCOMPARE(f.stored("PID || ':' || Betrag"), "3:1000.0,4:11.0");
    }

    void filterListsHoldEachValueOnce() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe) VALUES "
            "(1, '1', 'Schule', 'Zimmerei', 'Dach', '300'), (2, '1', 'Schule', 'ZIMMEREI', 'dach', '300'), "
            "(3, '1', 'Schule', 'Öl Meier', 'Heizung', ''), (4, '2', 'Schule', 'Fremd', 'Fremd', 'Fremd')");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "check1", {}}, "0");
        f.open();
        f.activate();
        QCOMPARE(f.items("cboAuswertungFirma"), (QStringList{"Öl Meier", "Zimmerei"}));
        QCOMPARE(f.items("cboFirmaFirma"), (QStringList{"", "Öl Meier", "Zimmerei"}));
        QCOMPARE(f.items("cboAuswertungGewerk"), (QStringList{"Dach", "Heizung"}));
        QCOMPARE(f.items("cboAuswertungKostengruppe"), QStringList{"300"});
        f.click("chkAlleFirmen");
        QCOMPARE(f.items("cboFirmaFirma"),
                 (QStringList{"", "Hochbau Nord", "O'Neill & Co_%", "Ohne Gewerk"}));
    }

    void windowSettingsAreKeptAndKeptOnScreen() {
        Fixture f;
        Workspace& w = f.open();
        QCOMPARE(w.focusWidget() ? w.focusWidget()->objectName() : QString(), "cboFirma");
        const QRect room = w.screen()->availableGeometry();
        QCOMPARE(w.size(), room.size() * 0.9);
        QCOMPARE(w.frameGeometry().center(), room.center());
        QVERIFY(f.find<QAbstractButton>("chkAlleFirmen")->isChecked());
        QCOMPARE(
            f.items("cboZahlungsart").mid(0, 4) + f.items("cboZahlungsart").mid(32),
            (QStringList{"", "Schlußzahlung", "Rückhalt", "1. Abschlagszahlung", "30. Abschlagszahlung"}));
        QCOMPARE(f.items("cboAuftragsart").mid(0, 3) + f.items("cboAuftragsart").mid(31),
                 (QStringList{"", "Auftrag vom", "1. Nachtr. Auftrag", "30. Nachtr. Auftrag"}));

        const SettingKey<QString> widths{"frmAusgabe", "LvW1", {}};
        f.settings->setValue(widths, "001482002716");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "PFensterWidth", {}}, "8000");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "check1", {}}, "0");
        f.settings->sync();
        f.screen.reset();
        f.open();
        QCOMPARE(f.screen->width(), Twips::toPixelsX(9200, *f.screen));
        QCOMPARE(f.list()->columnWidth(1), Twips::toPixelsX(2716, *f.screen));
        QCOMPARE(f.list()->columnWidth(2), Twips::toPixelsX(2717, *f.screen));
        QVERIFY(f.list()->isColumnHidden(11) && f.list()->isColumnHidden(12) && f.list()->isColumnHidden(13));
        QVERIFY(!f.find<QAbstractButton>("chkAlleFirmen")->isChecked());
        f.list()->setColumnWidth(0, Twips::toPixelsX(3000, *f.screen));
        f.screen->close();
        QCOMPARE(f.settings->value(widths).left(12), "003000002716");
        QCOMPARE(f.settings->value(widths).size(), 66);

        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "PFensterLeft", {}}, "900000");
        f.settings->sync();
        f.screen.reset();
        f.open();
        QVERIFY(f.screen->screen()->availableGeometry().contains(f.screen->frameGeometry().center()));
    }

    void windowKeepsItsSizeWhenDetailsAppear() {
        Fixture f;
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "PFensterWidth", {}}, "9200");
        f.db.exec(
            "UPDATE tblFirma SET \"Straße\" = 'Lange Straße der Handwerker und Bauleute 123', "
            "Telefon2 = '0931-123456789', Mobil = '0171-123456789', Ansprechpartner = 'Frau Dr. Müller', "
            "eMail = 'buchhaltung.abteilung@hochbau-nord-und-sued-und-west.example.de'");
        Workspace& w = f.open();
        const auto settled = [&w] {
            for (int turn = 0; turn < 5; ++turn)
                QCoreApplication::processEvents();
            return w.size();
        };
        const QSize opened = settled();
        f.chooseCompany("Hochbau Nord");
        QCOMPARE(settled(), opened);
    }

    void projectManagerAndQuitAreTheTwoWaysOut() {
        Fixture f;
        f.open();
        QSignalSpy closings(f.screen.get(), &Workspace::closing);
        f.click("cmdProjektmanager");
        f.open();
        QSignalSpy quits(f.screen.get(), &Workspace::closing);
        f.click("tbrBeenden");
        QCOMPARE(closings.count() * 10 + quits.count(), 11);
        QCOMPARE(closings.first().first().toBool(), false);
        QCOMPARE(quits.first().first().toBool(), true);
    }

    void tabsShareTheProjectsBookingsAndTheStatusShowsTheListInView() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
            "Betrag) VALUES (1, '1', 'Schule', 'Hochbau Nord', 'Rohbau', '300', 45300, 100), "
            "(2, '1', 'Schule', 'Hochbau Nord', 'Rohbau', '300', 45301, 0.5), "
            "(3, '1', 'Schule', 'Zimmerei', 'Dach', '300', 45302, 7)");
        f.open();
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.status(), "Buchungen: 2");
        f.showTab(Workspace::CostReportTabIndex);
        QCOMPARE(f.column(2, "ListView4", '|') + f.column(8, "ListView4", '|'),
                 "Rohbau|Dach|Summen:100,50|7,00|107,50");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.total() + '|' + f.screen->snapshot().value("Gesamtsumme"), "107,50|107,50");
        QCOMPARE(f.status(), "Buchungen: 3");
        f.activate();
        QCOMPARE(f.status(), "Buchungen: 3");
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.status(), "Buchungen: 2");
        f.showTab(Workspace::EntryTabIndex);
        f.activate();
        QCOMPARE(f.status(), "Buchungen: 3");
    }

    void snapshotsCarryTheSeatOfTheirCompany() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma) VALUES (1, '1', 'O''Neill & Co_%')");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.showTab(Workspace::CompanyTabIndex);
        f.find<QComboBox>("cboFirmaFirma")->setCurrentText("O'Neill & Co_%");
        f.showTab(Workspace::EvaluationTabIndex);
        f.click("optFirma");
        for (const int tab : {Workspace::CompanyTabIndex, Workspace::EvaluationTabIndex}) {
            f.showTab(tab);
            QCOMPARE(f.screen->snapshot().value("Sitz"), "Sitz: 40210 Düsseldorf");
        }
        f.showTab(Workspace::BookingsTabIndex);
        const ListSnapshot bookings = f.screen->snapshot();
        QVERIFY(std::none_of(bookings.values.begin(), bookings.values.end(),
                             [](const auto& value) { return value.first == "Sitz"; }));
    }

    void returnKeepsTheEvaluationsChoice_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("picker");
        row("company", {"optFirma", "cboAuswertungFirma"});
        row("trade", {"optGewerk", "cboAuswertungGewerk"});
        row("cost group", {"optKostengruppe", "cboAuswertungKostengruppe"});
        row("year", {"optJahr", ""});
    }
    void returnKeepsTheEvaluationsChoice() {
        QFETCH(QString, option);
        QFETCH(QString, picker);
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Kostengruppe, AnweisungVom, Betrag) "
            "VALUES (1, '1', 'A', 'Dach', '300', 45292, 1), (2, '1', 'B', 'Elektro', '400', 45658, 2), "
            "(3, '1', 'B', 'Elektro', '400', 45659, 3)");
        f.open();
        f.showTab(Workspace::EvaluationTabIndex);
        if (picker.isEmpty())
            f.find<QDateEdit>("dtpJahr")->setDate(QDate(2025, 6, 1));
        else
            f.choose(picker, f.items(picker).value(1));
        f.clickHeading(7, "ListView3");
        const QList<QStringList> rows = f.screen->snapshot().rows;
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.first().at(7), "3,00");
        f.activate();
        QVERIFY(f.find<QAbstractButton>(option)->isChecked());
        QCOMPARE(f.screen->snapshot().rows, rows);
    }

    void enterBooks_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        for (const char* field : {"cboFirma", "dtpAnweisung", "dtpRechnung", "txtRechnungsNr",
                                  "cboZahlungsart", "txtBetrag", "txtBemerkungen", "cmdBuchen"})
            QTest::newRow(field) << int(Workspace::EntryTabIndex) << field << "1|0";
        QTest::newRow("txtSuchen") << int(Workspace::EntryTabIndex) << "txtSuchen"
                                   << "0|0";
        for (const char* field : {"dtpArchitektDatum", "txtArchitektBetrag", "cboAuftragsart",
                                  "dtpAuftragDatum", "txtAuftragBetrag", "cmdNachtragBuchen"})
            QTest::newRow(field) << int(Workspace::CompanyTabIndex) << field << "0|1";
        QTest::newRow("ListView2") << int(Workspace::CompanyTabIndex) << "ListView2"
                                   << "0|0";
    }
    void enterBooks() {
        QFETCH(int, tab);
        QFETCH(QString, field);
        Fixture f;
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        f.type("txtBetrag", "5");
        f.showTab(tab);
        f.type("txtAuftragBetrag", "7");
        f.find<QWidget>(field)->setFocus();
        QTest::keyClick(f.find<QWidget>(field), Qt::Key_Return);
        QTEST(f.db.scalar(
                  "SELECT (SELECT count(*) FROM tblBuchung) || '|' || (SELECT count(*) FROM tblNachtrag)"),
              "stored");
    }

    void waitingRowCanBeKeptByCancellingTheLeave_data() {
        QTest::addColumn<bool>("estimate");
        QTest::newRow("booking") << false;
        QTest::newRow("estimate row") << true;
    }
    void waitingRowCanBeKeptByCancellingTheLeave() {
        QFETCH(bool, estimate);
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Betrag) VALUES "
                  "(1, '1', 'Hochbau Nord', 'Rohbau', 50)");
        f.db.exec(
            "INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragArt, NachtragDatum, ArchitektDatum, "
            "ArchitektKosten, NachtragKosten) VALUES (1, '1', 'Hochbau Nord', 'Auftrag vom', 45300, 45300, "
            "100, 80)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.takeBack(estimate);
        f.showTab(Workspace::CostReportTabIndex);
        QCOMPARE(f.column(4, "ListView4") + '|' + f.column(5, "ListView4") + '|' + f.column(8, "ListView4"),
                 estimate ? " ,0,00| ,0,00|50,00,50,00" : "0,00|0,00|0,00");
        QSignalSpy closings(f.screen.get(), &Workspace::closing);
        f.dialogs.answers.enqueue(Dialogs::Answer::Cancel);
        f.click("tbrBeenden");
        QCOMPARE(f.dialogs.shown.last().kind, ScriptedDialogs::Shown::Kind::AskWithCancel);
        QVERIFY(f.screen->isVisible());
        QCOMPARE(closings.count(), 0);
        QVERIFY(
            !f.find<QLabel>(estimate ? "lblNachtragBearbeitungsmodus" : "lblBearbeitungsmodus")->isHidden());
    }

    void silentButtonsSaySo_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("said");
        const QString noBooking = "Bitte wählen Sie zuerst eine Buchung in der Liste.";
        const QString noRow = "Bitte wählen Sie zuerst einen Eintrag in der Liste.";
        const QString noReport =
            "Das Register „Eingabe“ hat keinen Bericht. Bitte wählen Sie das Register der "
            "Liste, die gedruckt werden soll.";
        const int bookings = Workspace::BookingsTabIndex, company = Workspace::CompanyTabIndex;
        QTest::newRow("Buchung bearbeiten") << bookings << "cmdBuchungBearbeiten" << noBooking;
        QTest::newRow("Buchung löschen") << bookings << "cmdBuchungLoeschen" << noBooking;
        QTest::newRow("Bearbeiten") << company << "cmdNachtragBearbeiten" << noRow;
        QTest::newRow("Löschen") << company << "cmdNachtragLoeschen" << noRow;
        QTest::newRow("Drucken") << int(Workspace::EntryTabIndex) << "tbrDrucken" << noReport;
        QTest::newRow("Druckvorschau") << int(Workspace::EntryTabIndex) << "cmdDruckvorschau" << noReport;
        QTest::newRow("Export")
            << int(Workspace::EntryTabIndex) << "tbrExport"
            << "Das Register „Eingabe“ hat keine Liste. Bitte wählen Sie das Register der "
               "Liste, die exportiert werden soll.";
    }
    void silentButtonsSaySo() {
        QFETCH(int, tab);
        QFETCH(QString, button);
        Fixture f;
        f.open();
        f.showTab(tab);
        f.click(button);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.last().kind, ScriptedDialogs::Shown::Kind::Inform);
        QTEST(f.dialogs.lastText(), "said");
    }

    void unreadableDateIsKeptOnCorrection_data() {
        for (const char* column : {"table", "field", "column", "stored", "notice"})
            QTest::addColumn<QString>(column);
        const QString unreadable = "Gespeichertes Datum nicht lesbar: ";
        row("booking, text", {"tblBuchung", "dtpAnweisung", "AnweisungVom", "'abc'", unreadable + "abc"});
        row("booking, year 5881510",
            {"tblBuchung", "dtpRechnung", "RechnungVom", "2147483647", unreadable + "2147483647"});
        row("booking, empty", {"tblBuchung", "dtpRechnung", "RechnungVom", "NULL", ""});
        row("estimate row, text",
            {"tblNachtrag", "dtpArchitektDatum", "ArchitektDatum", "'31.02.'", unreadable + "31.02."});
        row("estimate row, year 5881510",
            {"tblNachtrag", "dtpAuftragDatum", "NachtragDatum", "2147483647", unreadable + "2147483647"});
    }
    void unreadableDateIsKeptOnCorrection() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        QFETCH(QString, notice);
        const bool estimate = table == "tblNachtrag";
        for (const bool dateSet : {false, true}) {
            Fixture f;
            f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, AnweisungVom, RechnungVom, "
                      "Zahlungsart, "
                      "Betrag) VALUES (1, '1', 'Hochbau Nord', 'Rohbau', 45000, 45000, 'Rückhalt', 5)");
            f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektDatum, NachtragDatum, "
                      "NachtragKosten) "
                      "VALUES (1, '1', 'Hochbau Nord', 45000, 45000, 8)");
            f.db.exec(QStringLiteral("UPDATE %1 SET %2 = %3").arg(table, column, stored));
            const QString before = f.db.scalar(QStringLiteral("SELECT quote(%1) FROM %2").arg(column, table));
            f.open();
            f.chooseCompany("Hochbau Nord");
            f.takeBack(estimate);
            auto* date = f.find<DateField>(field);
            QVERIFY(date->isEmpty());
            QCOMPARE(date->notice()->isHidden() ? QString() : date->notice()->text(), notice);
            if (dateSet)
                date->setDate(QDate(2024, 3, 15));
            f.click(estimate ? "cmdNachtragBuchen" : "cmdBuchen");
            QCOMPARE(
                f.db.scalar(QStringLiteral("SELECT count(*) || ':' || quote(%1) FROM %2").arg(column, table)),
                "1:" + (dateSet ? "45366" : before));
            QVERIFY(date->notice()->isHidden());
        }
    }

    void foreignAmountsAreCountedOrNamed_data() {
        QTest::addColumn<QString>("projectId");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("listed");
        QTest::newRow("German notation")
            << "1" << QVariant("1.234,50") << "1.334,50" << QString() << QString();
        QTest::newRow("project number with blanks")
            << " 1 " << QVariant(5) << "105,00" << QString() << QString();
        QTest::newRow("text") << "1" << QVariant("abc") << "100,00"
                              << "1 Buchung mit unlesbarem Betrag wird nicht mitgezählt; 1 Eintrag der "
                                 "Kostenberechnung und Aufträge mit unlesbarem Betrag wird nicht mitgezählt"
                              << "LfdNr. 002  B: „abc“\nNr. 1  B, Auftrag: „abc“";
        QTest::newRow("beyond any amount") << "1" << QVariant(1e308) << "100,00"
                                           << "1 Buchung mit unlesbarem Betrag wird nicht mitgezählt"
                                           << "LfdNr. 002  B: „1e+308“";
    }
    void foreignAmountsAreCountedOrNamed() {
        QFETCH(QString, projectId);
        QFETCH(QVariant, stored);
        QFETCH(QString, total);
        QFETCH(QString, notice);
        QFETCH(QString, listed);
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, '1', 'A', 100), (2, ?, "
                  "'B', ?)",
                  {projectId, stored});
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (1, ?, 'B', ?)",
                  {projectId, stored.typeId() == QMetaType::Double ? QVariant(7) : stored});
        f.open();
        f.activate();
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column(0) + ' ' + f.total(), "001,002 " + total);
        auto* note = f.find<QPushButton>("cmdUnlesbareBetraege");
        QCOMPARE(note->isVisible(), !notice.isEmpty());
        QCOMPARE(note->text().left(notice.size()), notice);
        QCOMPARE(f.dialogs.shown.size(), notice.isEmpty() ? 0 : 1);
        QVERIFY2(f.dialogs.lastText().contains(listed), qPrintable(f.dialogs.lastText()));
        if (!notice.isEmpty()) {
            f.click("cmdUnlesbareBetraege");
            QCOMPARE(f.dialogs.shown.size(), 2);
        }
    }

    void listsKeepTheirRowsWhileTheFileIsGone_data() {
        QTest::addColumn<int>("tab");
        for (const int tab : {Workspace::BookingsTabIndex, Workspace::CompanyTabIndex,
                              Workspace::EvaluationTabIndex, Workspace::CostReportTabIndex})
            QTest::addRow("tab %d", tab) << tab;
    }
    void listsKeepTheirRowsWhileTheFileIsGone() {
        QFETCH(int, tab);
        Fixture f;
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (1, '1', 'Hochbau "
                  "Nord', 80)");
        f.open();
        f.book("Hochbau Nord", "Schlußzahlung", "100");
        f.showTab(tab);
        auto* view = qobject_cast<ReportListView*>(f.list("ListView" + QString::number(tab)));
        const int rows = view->model()->rowCount();
        const QString status = f.status();
        QVERIFY(rows > 0 && !view->isOutdated());
        QFile file(f.db.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        file.close();
        QVERIFY(QFile::remove(f.db.path()));

        f.showTab(Workspace::EntryTabIndex);
        f.book("Hochbau Nord", "Schlußzahlung", "7");
        QVERIFY2(f.dialogs.lastText().contains("Die Datenbankdatei ist nicht mehr vorhanden"),
                 qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.text("txtBetrag"), "7");
        f.showTab(tab);
        QCOMPARE(view->model()->rowCount(), rows);
        QCOMPARE(f.status(), status);
        QVERIFY(view->isOutdated() && view->findChild<QLabel*>("lblNichtAktuell")->isVisible());

        QVERIFY(TestDatabase::writeFile(f.db.path(), content));
        f.showTab(Workspace::EntryTabIndex);
        f.click("cmdBuchen");
        QCOMPARE(f.stored("Betrag"), "100.0,7.0");
        f.showTab(Workspace::EntryTabIndex);
        f.showTab(tab);
        QVERIFY(!view->isOutdated());
    }

    void correctionOfAVanishedOriginalAsksBeforeBookingAsNew_data() {
        QTest::addColumn<bool>("estimate");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("booking, booked as new") << false << Dialogs::Answer::Yes << "1";
        QTest::newRow("booking kept in the entry") << false << Dialogs::Answer::No << "0";
        QTest::newRow("estimate row, booked as new") << true << Dialogs::Answer::Yes << "1";
        QTest::newRow("estimate row kept in the entry") << true << Dialogs::Answer::No << "0";
    }
    void correctionOfAVanishedOriginalAsksBeforeBookingAsNew() {
        QFETCH(bool, estimate);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QString, stored);
        Fixture f;
        const QString table = estimate ? "tblNachtrag" : "tblBuchung";
        f.db.exec("INSERT INTO " + table +
                  " (ProjektID, Firma, Gewerk) VALUES ('1', 'Hochbau Nord', 'Rohbau')");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.takeBack(estimate);
        f.db.exec("DELETE FROM " + table);
        const QString amountField = estimate ? "txtAuftragBetrag" : "txtBetrag";
        f.type(amountField, "12");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        f.dialogs.answers.enqueue(answer);
        f.click(estimate ? "cmdNachtragBuchen" : "cmdBuchen");
        QCOMPARE(f.dialogs.shown.last().title, "Original nicht mehr vorhanden");
        QCOMPARE(f.dialogs.shown.last().defaultButton, Dialogs::Answer::No);
        QCOMPARE(f.db.scalar("SELECT count(*) FROM " + table), stored);
        QCOMPARE(f.text(amountField), stored == "1" ? "" : "12");
    }
};

QTEST_MAIN(WorkspaceTest)
#include "WorkspaceTest.moc"
