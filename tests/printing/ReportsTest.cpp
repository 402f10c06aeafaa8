#include "Reports.h"
#include "AuthorityDetails.h"
#include "PrintExportFixture.h"
#include "RecordingEngine.h"
#include "Settings.h"

#include <QTemporaryDir>
#include <QTest>

using Kind = ListSnapshot::Kind;

class ReportsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    RecordingEngine build(const ListSnapshot& snapshot) const {
        Settings settings(m_dir.filePath("zlv.ini"));
        settings.setValue(AuthorityDetails::name, "Landratsamt Wernholm");
        settings.setValue(AuthorityDetails::department, "Bauamt");
        settings.setValue(AuthorityDetails::postcode, "97070");
        settings.setValue(SettingKey<QString>{"FRMAUSGABE", "NameOrt", {}}, "Würzburg");
        RecordingEngine engine;
        engine.SetOrientation(snapshot.kind == Kind::CompanyList ? PrintEngine::Portrait
                                                                 : PrintEngine::Landscape);
        buildReport(engine, snapshot, ReportFooter::fromSettings(settings));
        return engine;
    }

    // The texts printed on a page: footer, title and heading lines.
    static QStringList printed(const RecordingEngine& engine, int page) {
        QStringList texts = engine.callsStartingWith("PrintText", page);
        for (QString& text : texts)
            text = text.section(": ", 1);
        return texts;
    }

    static void layout(const char* tag, Kind kind, int rows, const QList<int>& pages,
                       const QStringList& frame, const QString& end = QString()) {
        QTest::newRow(tag) << int(kind) << rows << pages << frame << end;
    }
    static void heading(const char* tag, Kind kind, const QStringList& values, const QStringList& lines) {
        QTest::newRow(tag) << int(kind) << values << lines;
    }

private slots:
    void layouts_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("rowsOnPages");
        QTest::addColumn<QStringList>("frame");
        QTest::addColumn<QString>("end");
        const QString footer = "Landratsamt Wernholm    Bauamt    97070 Würzburg";
        layout(
            "payments", Kind::Payments, 20, {19, 1},
            {"SetFont Arial 10 0 0 0",
             "PrintText 1485 2000 6: " + footer + QString(16, ' ') + "Seite 1 von 2", "TableOption1 0",
             "TableOption2 0", "TableColor1 ffffff", "TableColor2 9c6e3a", "SetFont Arial 14 1 0 0",
             "PrintText 1485 10 6: Zelvora, gesamte Maßnahme", "SetFont Arial 10 1 0 0",
             "PrintText 1485 80 6: Projekt: Schule", "SetFont Arial 10 1 0 0",
             "PrintText 1485 140 6: Gesamtsumme: 9,00 Euro", "SetFont Arial 8 1 1 0", "SetTableStyle 0",
             "SetTableFrame 1",
             "StartTable 50 210 92 0 e0e0e0 130,300,300,190,190,180,350,450,220,450 0 1 1: m LfdNr:|m "
             "Firma|m "
             "Gewerk|m Anweisung vom|m Rechnung vom|m Rechnungs Nr.|m Zahlungsart|m Kostengruppe|m Betrag in "
             "Euro|m Bemerkungen",
             "SetFont Arial 9 0 0 0",
             "AddTableRow 76 ffffff 0 1 1: m 001|LFirma 001|LRohbau|R01.02.2024|R15.01.2024|LR-1|"
             "LSchlußzahlung|L300 Bauwerk|R1.234,50|LRest"},
            "SetFont Arial 9 0 0 0 / AddTableRow 76 ffffff 0 1 1: m 020|");
        layout("payments, one full page", Kind::Payments, 19, {19}, {});
        layout("payments, three pages", Kind::Payments, 39, {19, 19, 1}, {});
        layout("company", Kind::CompanyEstimates, 19, {18, 1},
               {"PrintText 1485 2000 6: " + footer + QString(14, ' ') + "Seite 1 von 2", "PrintText 1485 150",
                "SetFont Arial 12 1 0 0", "PrintText 1485 210",
                "StartTable 150 290 92 0 e0e0e0 130,300,300,500,300,450,300 0 1 1: m LfdNr:|m Datum "
                "(Architekt)|m "
                "Betrag (Architekt)||m Datum (Aufträge)|m Auftragsart|m Betrag (Aufträge)",
                "AddTableRow 76 ffffff 0 1 1: m 001|LFirma "
                "001|RRohbau|R01.02.2024|L15.01.2024|LR-1|RSchlußzahlung"});
        layout("evaluation", Kind::Evaluation, 18, {17, 1},
               {"PrintText 1485 2000 6: " + footer + QString(17, ' ') + "Seite 1 von 2", "PrintText 1485 200",
                "StartTable 50 280 92 0 e0e0e0 130,400,400,200,200,450,550,300 0 1 1: m LfdNr:|m Firma|m "
                "Gewerk|m "
                "Anweisung vom|m Rechnung vom|m Zahlungsart|m Kostengruppe|m Betrag in Euro",
                "AddTableRow 76 ffffff 0 1 1: m 001|LFirma 001|LRohbau|R01.02.2024|R15.01.2024|LR-1|"
                "LSchlußzahlung|R300 Bauwerk"});
        const QString totals =
            "SetFont Arial 8 1 0 0 / AddTableRow 47 e0e0e0 0 1 1: L %1|LFirma %1|RRohbau|"
            "R01.02.2024|r15.01.2024|rR-1|rSchlußzahlung|r300 Bauwerk|r1.234,50|rRest|r45323";
        layout(
            "cost report, totals on the page", Kind::CostReport, 21, {21},
            {"TableColor2 00c000", "SetFont Arial 8 0 0 0", "PrintText 1485 130",
             "StartTable 40 170 112 0 e0e0e0 105,340,300,130,320,320,300,260,260,220,200 0 1 1: m LNr:|m "
             "Firma|m Gewerk|m Kosten- gruppe|m Kostenberechnung Architekt|m Kostenanschlag Vergabesumme|m "
             "Nachträge|m Kosten- feststellung|m Abrechnung Summe|m Abweichung\r\rEuro|m Abweichung\r\r%",
             "SetFont Arial 8 0 0 0",
             "AddTableRow 72 ffffff 0 1 1: m 001|LFirma 001|LRohbau|L01.02.2024|R15.01.2024|RR-1|"
             "RSchlußzahlung|R300 Bauwerk|R1.234,50|RRest|R45323"},
            totals.arg("021"));
        layout("cost report, totals with three rows", Kind::CostReport, 22, {18, 4}, {}, totals.arg("022"));
        layout("cost report, 24", Kind::CostReport, 24, {20, 4}, {});
        layout("cost report, 43", Kind::CostReport, 43, {21, 18, 4}, {});
        layout("company list", Kind::CompanyList, 31, {30, 1},
               {"PrintText 1050 2870 6: " + footer + QString(17, ' ') + "Seite 1 von 2", "PrintText 1050 10",
                "SetFont Arial 10 1 1 0",
                "StartTable 50 280 100 0 e0e0e0 500,480,450,480 0 1 1: m Firma|m Ort|m Gewerk|m Kostengruppe",
                "SetFont Arial 9 0 0 0",
                "AddTableRow 76 ffffff 0 1 1: LFirma 001|LRohbau|L01.02.2024|L15.01.2024"});
    }

    // Every page repeats the frame with "Seite p von P" and holds its share of the rows in order; a
    // page's table is closed last on it, the last page's left open for the caller.
    void layouts() {
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsOnPages);
        QFETCH(QStringList, frame);
        QFETCH(QString, end);
        const RecordingEngine engine =
            build(PrintExport::list(Kind(kind), rows, {"Projekt", "Schule", "Gesamtsumme", "9,00"}));
        QCOMPARE(engine.pages().size(), rowsOnPages.size());
        int row = 0;
        for (int page = 0; page < rowsOnPages.size(); ++page) {
            const QStringList rowCalls = engine.callsStartingWith("AddTableRow", page);
            QCOMPARE(rowCalls.size(), rowsOnPages.at(page));
            for (const QString& call : rowCalls)
                QVERIFY2(call.contains(QString("Firma %1|").arg(++row, 3, 10, QChar('0'))), qPrintable(call));
            const QString label = QString("Seite %1 von %2").arg(page + 1).arg(rowsOnPages.size());
            QVERIFY(printed(engine, page).first().endsWith(label));
            QCOMPARE(printed(engine, page).mid(1), printed(engine, 0).mid(1));
            QCOMPARE(engine.callsStartingWith("StartTable", page).size(), 1);
            const bool closed = page + 1 < rowsOnPages.size();
            QCOMPARE(engine.pages().at(page).filter("EndTable").size(), closed ? 1 : 0);
            QVERIFY(!closed || engine.pages().at(page).last() == "EndTable");
        }
        qsizetype from = 0;
        for (const QString& call : frame) {
            while (from < engine.calls.size() && !engine.calls.at(from).startsWith(call))
                ++from;
            QVERIFY2(from++ < engine.calls.size(), qPrintable("missing in order: " + call));
        }
        const QString last = engine.calls.mid(engine.calls.size() - 2).join(" / ");
        QVERIFY2(last.startsWith(end), qPrintable(last));
    }

    void headingLines_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("lines");
        const QString sitz = "Sitz: 97070 Würzburg";
        heading(
            "company", Kind::CompanyEstimates,
            {"Projekt", "Schule", "Firma", "Aal", "Gewerk", "Dach", "Kostengruppe", "300",
             "Summe Kostenberechnung Architekt", "1,00", "Summe Aufträge, Kostenanschläge", "2,00", "Sitz",
             sitz},
            {"Kostenberechnung, Nachtragsübersicht, Aufträge", "Projekt: Schule",
             "Firma: Aal  Sitz: 97070 Würzburg    Gewerk: Dach    Kostengruppe: 300",
             "Summe Kostenberechnung Architekt: 1,00 Euro       Summe Aufträge, Kostenanschläge: 2,00 Euro"});
        const QStringList top{"Übersicht über die Ausgaben", "Projekt: Schule"};
        const QStringList evaluation{"Projekt", "Schule", "Teilsumme", "5,00"};
        heading("evaluation by company", Kind::Evaluation,
                evaluation + QStringList{"Firma", "Aal", "Gewerk", "D", "Sitz", sitz},
                top + QStringList{"Firma: Aal   Sitz: 97070 Würzburg", "Teilsumme: 5,00 Euro"});
        heading("evaluation by trade", Kind::Evaluation,
                evaluation + QStringList{"Gewerk", "Dach", "Kostengruppe", "4"},
                top + QStringList{"Gewerk: Dach", "Teilsumme: 5,00 Euro"});
        heading("evaluation by cost group", Kind::Evaluation,
                evaluation + QStringList{"Kostengruppe", "400", "Jahr der Anweisung", "2024"},
                top + QStringList{"Kostengruppe: 400", "Teilsumme: 5,00 Euro"});
        heading("evaluation by year", Kind::Evaluation,
                evaluation + QStringList{"Jahr der Anweisung", "2024"},
                top + QStringList{"Jahr der Anweisung: 2024", "Teilsumme: 5,00 Euro"});
        heading("evaluation without criterion", Kind::Evaluation, evaluation,
                top + QStringList{"Teilsumme: 5,00 Euro"});
        heading("cost report", Kind::CostReport, {"Projekt", "Schule"},
                {"Kostenbericht", "Projekt: Schule", "Kostenbericht in Euro, alle Angaben incl. MwSt."});
        heading("company list without filter", Kind::CompanyList,
                {"Suchtext", "", "Anzahl", "Anzahl Firmen: 3"},
                {"Firmenliste", "Auszug aus der Firmenliste:    Gesetzter Filter = 'Kein Filter'",
                 "Anzahl Firmen: 3"});
        heading("company list with a search text", Kind::CompanyList,
                {"Suchtext", "Ho*'s ", "Anzahl", "Anzahl Firmen: 1"},
                {"Firmenliste", "Auszug aus der Firmenliste:    Gesetzter Filter = 'Ho*'s '",
                 "Anzahl Firmen: 1"});
    }
    void headingLines() {
        QFETCH(int, kind);
        QFETCH(QStringList, values);
        QFETCH(QStringList, lines);
        QCOMPARE(printed(build(PrintExport::list(Kind(kind), 0, values)), 0).mid(1), lines);
    }

    void proposedPdfFileNames() {
        QStringList names;
        for (Kind kind :
             {Kind::Payments, Kind::CompanyEstimates, Kind::Evaluation, Kind::CostReport, Kind::CompanyList})
            names << proposedPdfFileName(kind);
        QCOMPARE(names, (QStringList{"Zelvora.pdf", "Firma.pdf", "Auswertung_Filter.pdf", "Kostenbericht.pdf",
                                     "Firmenliste.pdf"}));
    }
};

QTEST_GUILESS_MAIN(ReportsTest)
#include "ReportsTest.moc"
