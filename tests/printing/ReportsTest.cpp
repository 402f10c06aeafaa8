#include "Reports.h"
#include "RecordingEngine.h"
#include "Settings.h"

#include <QTemporaryDir>
#include <QTest>

// The five reports built against a recording engine: the page frame repeated on every page, the rows
// per page, the row texts with their cell codes, the footer and the heading lines.
using HeadingValues = QList<QPair<QString, QString>>;

class ReportsTest : public QObject {
    Q_OBJECT

    static ListSnapshot payments(int rows) {
        ListSnapshot snapshot;
        snapshot.kind = ListSnapshot::Kind::Payments;
        for (int i = 1; i <= rows; ++i)
            snapshot.rows.append({QString("%1").arg(i, 3, 10, QChar('0')), "Hochbau Nord", "Rohbau",
                                  "01.02.2024", "15.01.2024", "R-1", "Schlußzahlung", "300 Bauwerk",
                                  "1.234,50", "Rest", "45323", "hidden"});
        snapshot.values = {{"Projekt", "Neubau Schule"}, {"Gesamtsumme", "23.455,50"}};
        return snapshot;
    }

    static ListSnapshot costReport(int rows) {
        ListSnapshot snapshot;
        snapshot.kind = ListSnapshot::Kind::CostReport;
        for (int i = 1; i <= rows; ++i)
            snapshot.rows.append({QString::number(i), "Firma", "Gewerk", "300", "1,00", "2,00", "3,00",
                                  "4,00", "5,00", "6,00", "7 %"});
        snapshot.values = {{"Projekt", "Schule"}};
        return snapshot;
    }

    static ReportFooter footer() { return {"Landratsamt Wernholm", "Bauamt", "97070", "Würzburg"}; }

    static QString text(const QString& call) { return call.section(": ", 1); }

    static RecordingEngine build(const ListSnapshot& snapshot, const ReportFooter& details = footer()) {
        RecordingEngine engine;
        if (snapshot.kind == ListSnapshot::Kind::CompanyList)
            engine.SetOrientation(PrintEngine::Portrait);
        engine.calls.clear();
        buildReport(engine, snapshot, details);
        return engine;
    }

    // The texts printed on page (footer, title, heading lines), in order.
    static QStringList printed(const RecordingEngine& engine, int page) {
        QStringList texts;
        for (const QString& call : engine.callsStartingWith("PrintText", page))
            texts << text(call);
        return texts;
    }

private slots:
    // An empty list still gives one whole page: footer "Seite 1 von 1", title, heading lines and the table
    // heading row, in the frame's order, and no rows. The table stays open for the caller.
    void emptyListGivesOnePageWithTheWholeFrame() {
        const RecordingEngine engine = build(payments(0));
        const QStringList expected{
            "SetFont Arial 10 000",
            "PrintText 1485,2000 mode 6: Landratsamt Wernholm    Bauamt    97070 Würzburg                "
            "Seite 1 von 1",
            "TableOption1 0",
            "TableOption2 0",
            "TableColor1 ffffff",
            "TableColor2 9c6e3a",
            "SetFont Arial 14 100",
            "PrintText 1485,10 mode 6: Zelvora, gesamte Maßnahme",
            "SetFont Arial 10 100",
            "PrintText 1485,80 mode 6: Projekt: Neubau Schule",
            "SetFont Arial 10 100",
            "PrintText 1485,140 mode 6: Gesamtsumme: 23.455,50 Euro",
            "SetFont Arial 8 110",
            "SetTableStyle 0",
            "SetTableFrame 1",
            "StartTable 50,210 height 92 0 fill e0e0e0 widths 130 300 300 190 190 180 350 450 220 450 011: "
            "m LfdNr:|m Firma|m Gewerk|m Anweisung vom|m Rechnung vom|m Rechnungs Nr.|m Zahlungsart|"
            "m Kostengruppe|m Betrag in Euro|m Bemerkungen",
            "SetFont Arial 9 000"};
        QCOMPARE(engine.calls, expected);
    }

    // The rows of a page follow the frame; each row is the printed columns with their codes, the first as
    // "m " and the further ones behind "|"; columns beyond the report's are left out.
    void rowsCarryTheirCellCodes() {
        const RecordingEngine engine = build(payments(1));
        QCOMPARE(engine.callsStartingWith("AddTableRow"),
                 QStringList{"AddTableRow height 76 fill ffffff 011: m 001|LHochbau Nord|LRohbau|R01.02.2024|"
                             "R15.01.2024|LR-1|LSchlußzahlung|L300 Bauwerk|R1.234,50|LRest"});
    }

    void rowsPerPage_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("rowsOnPages");
        const int payments = int(ListSnapshot::Kind::Payments);
        QTest::newRow("payments 19") << payments << 19 << QList<int>{19};
        QTest::newRow("payments 20") << payments << 20 << QList<int>{19, 1};
        QTest::newRow("payments 38") << payments << 38 << QList<int>{19, 19};
        QTest::newRow("payments 39") << payments << 39 << QList<int>{19, 19, 1};
        QTest::newRow("company 18") << int(ListSnapshot::Kind::CompanyEstimates) << 18 << QList<int>{18};
        QTest::newRow("company 19") << int(ListSnapshot::Kind::CompanyEstimates) << 19 << QList<int>{18, 1};
        QTest::newRow("evaluation 17") << int(ListSnapshot::Kind::Evaluation) << 17 << QList<int>{17};
        QTest::newRow("evaluation 18") << int(ListSnapshot::Kind::Evaluation) << 18 << QList<int>{17, 1};
        QTest::newRow("cost report 21") << int(ListSnapshot::Kind::CostReport) << 21 << QList<int>{21};
        QTest::newRow("cost report 22") << int(ListSnapshot::Kind::CostReport) << 22 << QList<int>{18, 4};
        QTest::newRow("company list 30") << int(ListSnapshot::Kind::CompanyList) << 30 << QList<int>{30};
        QTest::newRow("company list 31") << int(ListSnapshot::Kind::CompanyList) << 31 << QList<int>{30, 1};
    }

    // Every page repeats the frame with "Seite p von P"; the rows run on in order across the pages; each
    // page's table is closed before the next page, the last one is left open for the caller.
    void rowsPerPage() {
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsOnPages);
        ListSnapshot snapshot = payments(rows);
        snapshot.kind = ListSnapshot::Kind(kind);
        const RecordingEngine engine = build(snapshot);
        QCOMPARE(engine.pages().size(), rowsOnPages.size());
        int row = 0;
        for (int page = 0; page < rowsOnPages.size(); ++page) {
            const QStringList rowCalls = engine.callsStartingWith("AddTableRow", page);
            QCOMPARE(rowCalls.size(), rowsOnPages.at(page));
            for (const QString& call : rowCalls) {
                ++row;
                const QString number = QString("%1").arg(row, 3, 10, QChar('0'));
                if (snapshot.kind != ListSnapshot::Kind::CompanyList)
                    QVERIFY2(text(call).contains(" " + number + "|"), qPrintable(call));
            }
            QVERIFY(printed(engine, page)
                        .first()
                        .endsWith(QString("Seite %1 von %2").arg(page + 1).arg(rowsOnPages.size())));
            QCOMPARE(engine.callsStartingWith("StartTable", page).size(), 1);
            QCOMPARE(engine.callsStartingWith("EndTable", page).size(),
                     page + 1 < rowsOnPages.size() ? 1 : 0);
            if (page > 0)
                QCOMPARE(printed(engine, page).mid(1), printed(engine, 0).mid(1));
        }
        QCOMPARE(row, rows);
        // The table of a page is closed as the last thing on it.
        for (int page = 0; page + 1 < rowsOnPages.size(); ++page)
            QCOMPARE(engine.pages().at(page).last(), "EndTable");
    }

    // Details never entered: the footer begins with the blanks that separate the empty values.
    void footerWithoutAuthorityDetails() {
        const RecordingEngine engine = build(payments(0), ReportFooter());
        QCOMPARE(printed(engine, 0).first(), QString(9, ' ') + QString(16, ' ') + "Seite 1 von 1");
    }

    void footerFromTheSettings() {
        QTemporaryDir dir;
        Settings settings(dir.filePath("zlv.ini"));
        settings.setValue(SettingKey<QString>{"frmAusgabe", "NameBehörde", {}}, "Stadt");
        settings.setValue(SettingKey<QString>{"FRMAUSGABE", "NameOrt", {}}, "Ort");
        settings.setValue(SettingKey<QString>{"frmAusgabe", "NameLandkreis", {}}, "Kreis");
        const ReportFooter read = ReportFooter::fromSettings(settings);
        QCOMPARE(read.authority + '|' + read.department + '|' + read.postcode + '|' + read.town,
                 "Stadt|||Ort");
    }

    void headingLines_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<HeadingValues>("values");
        QTest::addColumn<QStringList>("lines");
        using Values = HeadingValues;
        const QString sitz = "Sitz: 97070 Würzburg";
        QTest::newRow("company") << int(ListSnapshot::Kind::CompanyEstimates)
                                 << Values{{"Projekt", "Schule"},
                                           {"Gesamtsumme", "9,00"},
                                           {"Firma", "Aal"},
                                           {"Gewerk", "Dach"},
                                           {"Kostengruppe", "300"},
                                           {"Summe Kostenberechnung Architekt", "1,00"},
                                           {"Summe Aufträge, Kostenanschläge", "2,00"},
                                           {"Sitz", sitz}}
                                 << QStringList{"Kostenberechnung, Nachtragsübersicht, Aufträge",
                                                "Projekt: Schule",
                                                "Firma: Aal  Sitz: 97070 Würzburg    Gewerk: Dach    "
                                                "Kostengruppe: 300",
                                                "Summe Kostenberechnung Architekt: 1,00 Euro       "
                                                "Summe Aufträge, Kostenanschläge: 2,00 Euro"};
        const QStringList evaluationTop{"Übersicht über die Ausgaben", "Projekt: Schule"};
        const Values evaluation{{"Projekt", "Schule"}, {"Teilsumme", "5,00"}};
        QTest::newRow("evaluation by company")
            << int(ListSnapshot::Kind::Evaluation) << (evaluation + Values{{"Firma", "Aal"}, {"Sitz", sitz}})
            << (evaluationTop + QStringList{"Firma: Aal   Sitz: 97070 Würzburg", "Teilsumme: 5,00 Euro"});
        QTest::newRow("evaluation by trade")
            << int(ListSnapshot::Kind::Evaluation)
            << (evaluation + Values{{"Gewerk", "Dach"}, {"Sitz", sitz}})
            << (evaluationTop + QStringList{"Gewerk: Dach", "Teilsumme: 5,00 Euro"});
        QTest::newRow("evaluation by cost group")
            << int(ListSnapshot::Kind::Evaluation) << (evaluation + Values{{"Kostengruppe", "400"}})
            << (evaluationTop + QStringList{"Kostengruppe: 400", "Teilsumme: 5,00 Euro"});
        QTest::newRow("evaluation by year")
            << int(ListSnapshot::Kind::Evaluation) << (evaluation + Values{{"Jahr der Anweisung", "2024"}})
            << (evaluationTop + QStringList{"Jahr der Anweisung: 2024", "Teilsumme: 5,00 Euro"});
        QTest::newRow("evaluation without criterion")
            << int(ListSnapshot::Kind::Evaluation) << evaluation
            << (evaluationTop + QStringList{"Teilsumme: 5,00 Euro"});
        QTest::newRow("cost report") << int(ListSnapshot::Kind::CostReport) << Values{{"Projekt", "Schule"}}
                                     << QStringList{"Kostenbericht", "Projekt: Schule",
                                                    "Kostenbericht in Euro, alle Angaben incl. MwSt."};
        QTest::newRow("company list without filter")
            << int(ListSnapshot::Kind::CompanyList)
            << Values{{"Suchtext", ""}, {"Anzahl", "Anzahl Firmen: 3"}}
            << QStringList{"Firmenliste", "Auszug aus der Firmenliste:    Gesetzter Filter = 'Kein Filter'",
                           "Anzahl Firmen: 3"};
        QTest::newRow("company list with a search text")
            << int(ListSnapshot::Kind::CompanyList)
            << Values{{"Suchtext", "Ho*'s "}, {"Anzahl", "Anzahl Firmen: 1"}}
            << QStringList{"Firmenliste", "Auszug aus der Firmenliste:    Gesetzter Filter = 'Ho*'s '",
                           "Anzahl Firmen: 1"};
    }

    // Title and heading lines of each report, filled from the snapshot's values.
    void headingLines() {
        QFETCH(int, kind);
        QFETCH(HeadingValues, values);
        QFETCH(QStringList, lines);
        ListSnapshot snapshot;
        snapshot.kind = ListSnapshot::Kind(kind);
        snapshot.values = values;
        QCOMPARE(printed(build(snapshot), 0).mid(1), lines);
    }

    // Positions, fonts, colours and heading text of the reports other than the payments.
    void frameValues_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("company") << int(ListSnapshot::Kind::CompanyEstimates)
                                 << QStringList{
                                        "PrintText 1485,2000 mode 6: Landratsamt Wernholm    Bauamt    97070 "
                                        "Würzburg              Seite 1 von 1",
                                        "TableColor2 9c6e3a",
                                        "PrintText 1485,150",
                                        "SetFont Arial 12 100",
                                        "PrintText 1485,210",
                                        "StartTable 150,290 height 92 0 fill e0e0e0 widths 130 300 300 500 "
                                        "300 450 300 011: m LfdNr:|m Datum (Architekt)|m Betrag "
                                        "(Architekt)||m Datum (Aufträge)|m Auftragsart|m Betrag (Aufträge)",
                                        "SetFont Arial 9 000"};
        QTest::newRow("evaluation")
            << int(ListSnapshot::Kind::Evaluation)
            << QStringList{"PrintText 1485,2000 mode 6: Landratsamt Wernholm    Bauamt    "
                           "97070 Würzburg                 Seite 1 von 1",
                           "PrintText 1485,200",
                           "StartTable 50,280 height 92 0 fill e0e0e0 widths 130 400 400 200 "
                           "200 450 550 300 011: m LfdNr:|m Firma|m Gewerk|m Anweisung "
                           "vom|m Rechnung vom|m Zahlungsart|m Kostengruppe|m Betrag in Euro"};
        QTest::newRow("cost report") << int(ListSnapshot::Kind::CostReport)
                                     << QStringList{
                                            "TableColor2 00c000", "SetFont Arial 8 000", "PrintText 1485,130",
                                            "StartTable 40,170 height 112 0 fill e0e0e0 widths 105 340 300 "
                                            "130 320 320 300 260 260 220 200 011: m LNr:|m Firma|m Gewerk|m "
                                            "Kosten- gruppe|m Kostenberechnung Architekt|m Kostenanschlag "
                                            "Vergabesumme|m Nachträge|m Kosten- feststellung|m Abrechnung "
                                            "Summe|m Abweichung\r\rEuro|m Abweichung\r\r%"};
        QTest::newRow("company list")
            << int(ListSnapshot::Kind::CompanyList)
            << QStringList{
                   "PrintText 1050,2870 mode 6: Landratsamt Wernholm    Bauamt    97070 Würzburg        "
                   "         Seite 1 von 1",
                   "PrintText 1050,10", "SetFont Arial 10 110",
                   "StartTable 50,280 height 100 0 fill e0e0e0 widths 500 480 450 480 011: m Firma|m Ort|m "
                   "Gewerk|m Kostengruppe",
                   "SetFont Arial 9 000"};
    }

    void frameValues() {
        QFETCH(int, kind);
        QFETCH(QStringList, calls);
        ListSnapshot snapshot;
        snapshot.kind = ListSnapshot::Kind(kind);
        const RecordingEngine engine = build(snapshot);
        qsizetype from = 0;
        for (const QString& call : calls) {
            qsizetype at = from;
            while (at < engine.calls.size() && !engine.calls.at(at).startsWith(call))
                ++at;
            QVERIFY2(at < engine.calls.size(), qPrintable("missing in order: " + call));
            from = at + 1;
        }
    }

    // The company list prints the register's columns 1 to 4, each with "L", the number left out.
    void companyListRows() {
        ListSnapshot snapshot;
        snapshot.kind = ListSnapshot::Kind::CompanyList;
        snapshot.rows = {{"12", "Hochbau Nord", "Würzburg", "Rohbau", "300 Bauwerk"}};
        QCOMPARE(build(snapshot).callsStartingWith("AddTableRow"),
                 QStringList{
                     "AddTableRow height 76 fill ffffff 011: LHochbau Nord|LWürzburg|LRohbau|L300 Bauwerk"});
    }

    // The company list prints the spacer column of the company tab as it stands.
    void companyEstimateRows() {
        ListSnapshot snapshot;
        snapshot.kind = ListSnapshot::Kind::CompanyEstimates;
        snapshot.rows = {{"1", "01.02.2024", "100,00", "", "03.04.2024", "Hauptauftrag", "90,00", "x"}};
        QCOMPARE(text(build(snapshot).callsStartingWith("AddTableRow").value(0)),
                 "m 1|L01.02.2024|R100,00|R|L03.04.2024|LHauptauftrag|R90,00");
    }

    void costReportTotals_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("rowsOnPages");
        QTest::newRow("one row") << 1 << QList<int>{1};
        QTest::newRow("21 rows") << 21 << QList<int>{21};
        QTest::newRow("22 rows") << 22 << QList<int>{18, 4};
        QTest::newRow("24 rows") << 24 << QList<int>{20, 4};
        QTest::newRow("25 rows") << 25 << QList<int>{21, 4};
        QTest::newRow("43 rows") << 43 << QList<int>{21, 18, 4};
    }

    // The cost report's last row is its totals row: bold, lower, on grey, with its own codes; every row
    // sets its font first. The totals row never stands alone: its page holds three rows above it, which
    // the page before gives up.
    void costReportTotals() {
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsOnPages);
        const RecordingEngine engine = build(costReport(rows));
        QCOMPARE(engine.pages().size(), rowsOnPages.size());
        for (int page = 0; page < rowsOnPages.size(); ++page)
            QCOMPARE(engine.callsStartingWith("AddTableRow", page).size(), rowsOnPages.at(page));
        const QStringList page = engine.pages().last();
        const qsizetype last = page.size() - 1;
        QCOMPARE(page.at(last - 1), "SetFont Arial 8 100");
        QCOMPARE(page.at(last),
                 QString("AddTableRow height 47 fill e0e0e0 011: L %1|LFirma|RGewerk|R300|r1,00|"
                         "r2,00|r3,00|r4,00|r5,00|r6,00|r7 %")
                     .arg(rows));
        const QStringList rowCalls = engine.callsStartingWith("AddTableRow");
        for (int row = 0; row + 1 < rowCalls.size(); ++row)
            QCOMPARE(rowCalls.at(row),
                     QString("AddTableRow height 72 fill ffffff 011: m %1|LFirma|LGewerk|L300|"
                             "R1,00|R2,00|R3,00|R4,00|R5,00|R6,00|R7 %")
                         .arg(row + 1));
        QCOMPARE(engine.callsStartingWith("SetFont Arial 8 000").size() -
                     engine.callsStartingWith("PrintText 1485,130").size(),
                 rows - 1);
    }

    void proposedFileNames() {
        QCOMPARE(QStringList({proposedPdfFileName(ListSnapshot::Kind::Payments),
                              proposedPdfFileName(ListSnapshot::Kind::CompanyEstimates),
                              proposedPdfFileName(ListSnapshot::Kind::Evaluation),
                              proposedPdfFileName(ListSnapshot::Kind::CostReport),
                              proposedPdfFileName(ListSnapshot::Kind::CompanyList)}),
                 QStringList({"Zelvora.pdf", "Firma.pdf", "Auswertung_Filter.pdf", "Kostenbericht.pdf",
                              "Firmenliste.pdf"}));
    }
};

QTEST_GUILESS_MAIN(ReportsTest)
#include "ReportsTest.moc"
