#include "CompanyTab.h"
#include "WorkspaceFixture.h"

class CompanyTabTest : public QObject {
    Q_OBJECT

    struct Fixture : WorkspaceFixture {
        explicit Fixture(const QString& bookings = {}) {
            if (!bookings.isEmpty())
                db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES " + bookings);
            open();
            showTab(Workspace::CompanyTabIndex);
            choose("cboFirmaFirma", "Hochbau Nord");
        }
        CompanyTab& tab() { return *screen->findChild<CompanyTab*>(); }
        QString column(int column) { return WorkspaceFixture::column(column, "ListView2"); }
        bool waiting() { return !find<QLabel>("lblNachtragBearbeitungsmodus")->isHidden(); }
        void selectNumber(const QString& number) {
            selectRow(column(0).split(',').indexOf(number), "ListView2");
        }
        void takeBackNumber(const QString& number, Dialogs::Answer answer = Dialogs::Answer::Yes) {
            selectNumber(number);
            dialogs.answers.enqueue(answer);
            click("cmdNachtragBearbeiten");
        }
    };

private slots:
    void rowsAreNumberedPerProjectAndCompanyAndSummedInCents() {
        Fixture f("(1, '1', 'A', 1000), (2, '1', 'B', 234.5), (3, '2', 'A', 7)");
        f.estimate(7, "O'Neill & Co__", "Auftrag vom", 1, 1);
        f.estimate(4, "Hochbau Nord", "Auftrag vom", 1, 1, 45000, 45001, "2");
        f.estimate(5, "O'Neill & Co_%", "Auftrag vom", 1, 1);
        f.estimate(9, "Ohne Gewerk", "Auftrag vom", "zehn", "zehn");
        f.find<QDateEdit>("dtpArchitektDatum")->setDate(QDate(2023, 3, 1));
        f.find<QDateEdit>("dtpAuftragDatum")->setDate(QDate(2023, 4, 2));
        for (const char* amount : {"0,1", "0,2", "0,5"})
            f.bookEstimate("Auftrag vom", amount, amount);
        f.bookEstimate("2. Nachtr. Auftrag", "1.234,5", "");
        QCOMPARE(f.estimates("NID || '|' || ProjektID || '|' || Projekt || '|' || Firma || '|' || Gewerk || "
                             "'|' || Kostengruppe || '|' || ArchitektDatum || '|' || NachtragDatum || '|' || "
                             "NachtragArt || '|' || ArchitektKosten || '|' || ifnull(NachtragKosten, 'null')")
                     .section(',', -1),
                 "4|1|Schule|Hochbau Nord|Rohbau|300 Bauwerk|44986|45018|2. Nachtr. Auftrag|1234.5|null");
        QCOMPARE(f.text("txtArchitektBetrag") + f.text("txtAuftragBetrag"), QString());
        QCOMPARE(f.find<QComboBox>("cboAuftragsart")->currentText(), "2. Nachtr. Auftrag");
        QCOMPARE(f.find<QDateEdit>("dtpAuftragDatum")->date(), QDate(2023, 4, 2));
        QCOMPARE(f.rows("ListView2").first(),
                 "4|01.03.2023|1.234,50||02.04.2023| 2. Nachtr. Auftrag|||44986|45018");
        QCOMPARE(f.sums(), "1.235,30|0,80");
        f.choose("cboFirmaFirma", "O'Neill & Co_%");
        f.bookEstimate("Auftrag vom", "", "1");
        QCOMPARE(f.column(0), "6,5");
        f.choose("cboFirmaFirma", "Ohne Gewerk");
        QCOMPARE(f.column(0) + '|' + f.sums(), "9|0,00|0,00");
        f.db.exec("DELETE FROM tblNachtrag WHERE Firma = 'Ohne Gewerk'");
        f.choose("cboFirmaFirma", "Ohne Gewerk");
        QCOMPARE(f.column(0) + '|' + f.sums() + '|' + f.text("txtGesamtmassnahme"), "|||1.234,50");
    }

    void incompleteEntryIsRefused_data() {
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("architect");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("detail");
        const QString noTrade = "eine Firma, bei der ein Gewerk eingetragen ist";
        QTest::newRow("no company") << ""
                                    << "5"
                                    << "5" << noTrade;
        QTest::newRow("no trade") << "Ohne Gewerk"
                                  << "5"
                                  << "5" << noTrade;
        QTest::newRow("partial architect amount") << "Hochbau Nord"
                                                  << "-"
                                                  << "5"
                                                  << "Der Betrag \"-\" ist keine vollständige Zahl";
        QTest::newRow("partial order amount") << "Hochbau Nord"
                                              << ""
                                              << ","
                                              << "Der Betrag \",\" ist keine vollständige Zahl";
    }
    void incompleteEntryIsRefused() {
        QFETCH(QString, company);
        QFETCH(QString, architect);
        QFETCH(QString, order);
        QFETCH(QString, detail);
        Fixture f;
        f.choose("cboFirmaFirma", company);
        f.bookEstimate("Auftrag vom", architect, order);
        QCOMPARE(f.estimates("NID"), QString());
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, "Buchung abgebrochen");
        QVERIFY2(f.dialogs.lastText().contains(detail), qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.text("txtArchitektBetrag") + '|' + f.text("txtAuftragBetrag"), architect + '|' + order);
    }

    void takenBackMainOrderWaitsAndIsBookedBackInItsPlace() {
        Fixture f;
        f.bookEstimate("Auftrag vom", "50", "1.000");
        f.bookEstimate("1. Nachtr. Auftrag", "", "20");
        QCOMPARE(f.column(5), " 1. Nachtr. Auftrag, Auftrag vom");
        f.takeBackNumber("1");
        QCOMPARE(f.dialogs.shown.first().title + '|' + f.dialogs.shown.first().text,
                 "Buchung bearbeiten oder ändern|Buchung Nr. '1' bearbeiten?          ");
        QVERIFY(f.waiting());
        QCOMPARE(f.find<QComboBox>("cboAuftragsart")->currentText(), "Auftrag vom");
        QCOMPARE(f.text("txtArchitektBetrag") + '|' + f.text("txtAuftragBetrag"), "50,00|1.000,00");
        QCOMPARE(f.column(0) + '|' + f.sums(), "2|0,00|20,00");
        QCOMPARE(f.estimates("NID"), "1,2");

        f.tab().setCompanies({"", "O'Neill & Co_%", "Hochbau Nord"});
        QCOMPARE(f.tab().company() + '|' + f.text("txtFirmaGewerk"), "Hochbau Nord|Rohbau");
        f.click("cmdNachtragBuchen");
        QCOMPARE(f.estimates("Firma || ':' || NachtragArt || ':' || NachtragKosten"),
                 "Hochbau Nord:1. Nachtr. Auftrag:20.0,Hochbau Nord:Auftrag vom:1000.0");
        QVERIFY(!f.waiting());
        f.bookEstimate("2. Nachtr. Auftrag", "", "5");
        QCOMPARE(f.column(0) + '|' + QString::number(f.dialogs.shown.size()), "4,3,2|1");
    }

    void undatedRowIsTakenBackOrDeletedAlone_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("stored");
        const auto yes = Dialogs::Answer::Yes;
        const QString all = "1:Auftrag vom:44000,1:1. Nachtr. Auftrag:-,1:2. Nachtr. Auftrag:-";
        QTest::newRow("taken back")
            << "cmdNachtragBearbeiten" << yes
            << "1:Auftrag vom:44000,1:2. Nachtr. Auftrag:-,2:1. Nachtr. Auftrag:44986";
        QTest::newRow("deleted") << "cmdNachtragLoeschen" << yes
                                 << "1:Auftrag vom:44000,1:2. Nachtr. Auftrag:-";
        QTest::newRow("take back answered No") << "cmdNachtragBearbeiten" << Dialogs::Answer::No << all;
        QTest::newRow("delete answered No") << "cmdNachtragLoeschen" << Dialogs::Answer::No << all;
    }
    void undatedRowIsTakenBackOrDeletedAlone() {
        QFETCH(QString, button);
        QFETCH(Dialogs::Answer, answer);
        Fixture f;
        f.estimate(1, "Hochbau Nord", "Auftrag vom", 10, 10, 44000, 44000);
        f.estimate(1, "Hochbau Nord", "1. Nachtr. Auftrag", 20, 20, QVariant(), QVariant());
        f.estimate(1, "Hochbau Nord", "2. Nachtr. Auftrag", 30, 30, QVariant(), QVariant());
        f.choose("cboFirmaFirma", "Hochbau Nord");
        QCOMPARE(f.column(1), "18.06.2020,,");
        f.selectRow(1, "ListView2");
        f.dialogs.answers.enqueue(answer);
        f.click(button);
        QCOMPARE(f.dialogs.shown.first().defaultButton,
                 button.endsWith("Loeschen") ? Dialogs::Answer::No : Dialogs::Answer::Yes);
        f.find<QDateEdit>("dtpArchitektDatum")->setDate(QDate(2023, 3, 1));
        f.click("cmdNachtragBuchen");
        QTEST(f.estimates("NID || ':' || NachtragArt || ':' || ifnull(ArchitektDatum, '-')"), "stored");
        QVERIFY(!f.waiting());
    }

    void waitingRowIsBookedOrKeptWhenAsked_data() {
        QTest::addColumn<QString>("leaving");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("another row, No")
            << "cmdNachtragBearbeiten" << Dialogs::Answer::No << "Auftrag vom:1000.0,1. Nachtr. Auftrag:20.0";
        QTest::newRow("another row, Yes")
            << "cmdNachtragBearbeiten" << Dialogs::Answer::Yes << "1. Nachtr. Auftrag:20.0,Auftrag vom:1.5";
        QTest::newRow("leaving, No") << "cmdProjektmanager" << Dialogs::Answer::No
                                     << "Auftrag vom:1000.0,1. Nachtr. Auftrag:20.0";
        QTest::newRow("leaving, Yes")
            << "cmdProjektmanager" << Dialogs::Answer::Yes << "1. Nachtr. Auftrag:20.0,Auftrag vom:1.5";
    }
    void waitingRowIsBookedOrKeptWhenAsked() {
        QFETCH(QString, leaving);
        QFETCH(Dialogs::Answer, answer);
        Fixture f;
        f.bookEstimate("Auftrag vom", "", "1.000");
        f.bookEstimate("1. Nachtr. Auftrag", "", "20");
        f.takeBackNumber("1");
        f.type("txtAuftragBetrag", "1,5");
        f.selectNumber("2");
        f.dialogs.answers.enqueue(answer);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click(leaving);
        QCOMPARE(f.dialogs.shown.at(1).title, "Buchung bearbeiten oder ändern");
        QVERIFY(f.dialogs.shown.at(1).text.contains("jetzt gebucht werden?"));
        QTEST(f.estimates("NachtragArt || ':' || NachtragKosten"), "stored");
        if (leaving == "cmdNachtragBearbeiten")
            QCOMPARE(f.column(5) + '|' + f.text("txtAuftragBetrag"), " Auftrag vom|20,00");
    }

    void failedWriteKeepsEntryAndWaitingRow() {
        Fixture f;
        f.bookEstimate("Auftrag vom", "", "1.000");
        f.takeBackNumber("1");
        f.db.exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON tblNachtrag BEGIN SELECT RAISE(ABORT, 'voll'); END");
        f.type("txtAuftragBetrag", "2");
        f.click("cmdNachtragBuchen");
        QCOMPARE(f.dialogs.shown.last().title, "Buchung nicht gespeichert");
        QCOMPARE(f.estimates("NachtragKosten") + '|' + f.column(0) + '|' + f.text("txtAuftragBetrag"),
                 "1000.0||2");
        QVERIFY(f.waiting());
    }

    void fieldsAreNamedForScreenReaders() {
        Fixture f;
        QCOMPARE(f.find<QWidget>("txtAuftragSumme")->accessibleName(), "Summe Aufträge, Kostenanschläge");
        for (const QString name : {"dtpArchitektDatum", "txtArchitektBetrag", "cboAuftragsart",
                                   "dtpAuftragDatum", "txtAuftragBetrag", "txtGesamtmassnahme"}) {
            const QList<QLabel*> labels = f.tab().findChildren<QLabel*>();
            QVERIFY2(std::any_of(labels.begin(), labels.end(),
                                 [&](QLabel* label) { return label->buddy() == f.find<QWidget>(name); }),
                     qPrintable(name));
        }
    }
};

QTEST_MAIN(CompanyTabTest)
#include "CompanyTabTest.moc"
