#include "WithholdingScreen.h"
#include "AuthorityDetails.h"
#include "PrintExportFixture.h"
#include "QPainterPrintEngine.h"
#include "Reports.h"
#include "ScreenFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

// The window "Bauabzugsteuer": a year's amounts withheld per month and tax office with the payments under
// them, the list as printed, and the statement for a company read back from its PDF.
class WithholdingScreenTest : public QObject {
    Q_OBJECT

    // Four payments of 2024 with an amount withheld, one of 2023, and one without.
    struct Fixture : DatabaseScreen<WithholdingScreen> {
        Fixture() {
            settings.setValue(AuthorityDetails::name, "Landratsamt Wernholm");
            settings.setValue(AuthorityDetails::department, "Bauamt");
            settings.setValue(AuthorityDetails::postcode, "97070");
            settings.setValue(AuthorityDetails::town, "Würzburg");
            db.exec(
                "INSERT INTO tblFirma (Name, \"Straße\", PLZ, Ort) VALUES ('Hochbau Nord', 'Hafenstraße 3', "
                "'97080', 'Würzburg')");
            db.exec("INSERT INTO tblBuchung (ID, PID, ProjektID, Projekt, Firma, AnweisungVom, RechnungVom, "
                    "RechnungsNr, Betrag) VALUES "
                    "(1, 1, '1', 'Schule', 'Hochbau Nord', 45332, 45320, 'R-17', 5057.5), "
                    "(2, 2, '1', 'Schule', 'O''Neill Bau', 45323, 45310, 'A-1', 850), "
                    "(3, 3, '1', 'Schule', 'Hochbau Nord', 45336, 45330, 'R-18', 850), "
                    "(4, 1, '2', 'Turnhalle', 'hochbau nord', 45352, 45340, 'R-19', 1700), "
                    "(5, 4, '1', 'Schule', 'Hochbau Nord', 45200, 45190, 'R-9', 850), "
                    "(6, 5, '1', 'Schule', 'Hochbau Nord', 45333, 45320, 'R-20', 100)");
            db.exec(
                "INSERT INTO tblZahlung (BuchungID, ProjektID, Rechnungsbetrag, Brutto, Bauabzug, Finanzamt) "
                "VALUES (1, '1', 5950, 5950, 892.5, 'Würzburg'), (2, '1', 1000, 1000, 150, 'Düsseldorf'), "
                "(3, '1', 1000, 1000, 150, 'Würzburg'), (4, '2', 2000, 2000, 300, 'Würzburg'), "
                "(5, '1', 1000, 1000, 150, 'Würzburg'), (6, '1', 100, 100, 0, NULL)");
            open(settings);
            find<QSpinBox>("spnJahr")->setValue(2024);
        }
    };

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void monthsAndPayments() {
        Fixture f;
        QCOMPARE(f.WidgetDriver::rows("lvwBauabzugsteuer"),
                 (QStringList{
                     "02/2024|Düsseldorf|10.03.2024|||1 Zahlung|||||150,00",
                     "|||1 - Schule|002|O'Neill Bau|19.01.2024|1.000,00|01.02.2024|1.000,00|150,00",
                     "02/2024|Würzburg|10.03.2024|||2 Zahlungen|||||1.042,50",
                     "|||1 - Schule|001|Hochbau Nord|29.01.2024|5.950,00|10.02.2024|5.950,00|892,50",
                     "|||1 - Schule|003|Hochbau Nord|08.02.2024|1.000,00|14.02.2024|1.000,00|150,00",
                     "03/2024|Würzburg|10.04.2024|||1 Zahlung|||||300,00",
                     "|||2 - Turnhalle|001|hochbau nord|18.02.2024|2.000,00|01.03.2024|2.000,00|300,00"}));
        QCOMPARE(f.find<QLabel>("lblSumme")->text(),
                 "Einbehalten im Jahr 2024: 1.492,50 Euro aus 4 Zahlungen");
        const ListSnapshot printed = f.screen->snapshot();
        QCOMPARE(printed.kind, ListSnapshot::Kind::Withholdings);
        QCOMPARE(printed.value("Summe"), "1.492,50");
        QCOMPARE(printed.rows.size(), 7);
        QCOMPARE(printed.rows.at(3).join('|'), f.WidgetDriver::rows("lvwBauabzugsteuer").at(3));
        f.find<QSpinBox>("spnJahr")->setValue(2023);
        QCOMPARE(f.column("lvwBauabzugsteuer", 10), "150,00,150,00");
    }

    // The statement names the company with its address, the invoice, the payment day, the amount withheld,
    // the tax office and the authority; the PDF holds it under its title, A4 upright.
    void statementForTheCompany() {
        Fixture f;
        QVERIFY(!f.find<QPushButton>("cmdAbrechnung")->isEnabled());
        f.selectRow("lvwBauabzugsteuer", 2);
        QVERIFY(!f.find<QPushButton>("cmdAbrechnung")->isEnabled());
        QSignalSpy printed(f.screen.get(), &WithholdingScreen::statementPrintRequested);
        f.selectRow("lvwBauabzugsteuer", 3);
        f.click("cmdAbrechnung");
        QCOMPARE(printed.size(), 1);
        const auto statement = printed.first().first().value<ListSnapshot>();
        QCOMPARE(statement.kind, ListSnapshot::Kind::WithholdingStatement);

        const QString path = f.file("statement.pdf");
        QPainterPrintEngine engine;
        engine.SelectPrinter(QPainterPrintEngine::pdfTargetName());
        engine.SetOrientation(PrintEngine::Portrait);
        engine.SetPaperSize(PrintEngine::PaperA4);
        engine.SetPrintDirect(true);
        engine.setPdfFilePath(path);
        buildReport(engine, statement, ReportFooter::fromSettings(f.settings));
        engine.EndTable();
        engine.EndDocument();
        QCOMPARE(engine.ShowDocument(), PrintEngine::Outcome::Done);
        QCOMPARE(PrintExport::pdfInfo(path, "Pages") + ", " + PrintExport::pdfInfo(path, "Page size"),
                 QString("1, 595 x 842 pts (A4)"));
        QStringList lines;
        for (const QString& line : PrintExport::pdfText(path).split('\n'))
            if (!line.simplified().isEmpty())
                lines += line.simplified();
        QCOMPARE(lines.mid(0, 14),
                 (QStringList{"Landratsamt Wernholm", "Bauamt", "97070 Würzburg",
                              "Abrechnung über den Steuerabzug bei Bauleistungen", "(§48a Abs. 2 EStG)",
                              "Angabe Inhalt", "Leistender Hochbau Nord",
                              "Anschrift Hafenstraße 3, 97080 Würzburg", "Projekt 1 - Schule", "Lfd. Nr. 001",
                              "Rechnungsnummer R-17", "Rechnungsdatum 29.01.2024",
                              "Rechnungsbetrag 5.950,00 Euro", "Tag der Zahlung 10.02.2024"}));
        QCOMPARE(
            lines.mid(14, 4),
            (QStringList{"Bruttobetrag 5.950,00 Euro", "Steuerabzug (15 %) 892,50 Euro", "Finanzamt Würzburg",
                         "Leistungsempfänger Landratsamt Wernholm, Bauamt, 97070 Würzburg"}));
    }
};

QTEST_MAIN(WithholdingScreenTest)
#include "WithholdingScreenTest.moc"
