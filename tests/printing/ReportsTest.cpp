#include "Reports.h"
#include "AuthorityDetails.h"
#include "PrintEngine.h"
#include "PrintExportFixture.h"
#include "Settings.h"

#include <QTemporaryDir>
#include <QTest>

using Kind = ListSnapshot::Kind;

// A print engine that writes down the texts, tables and rows it is given, page by page.
class RecordingEngine : public PrintEngine {
public:
    QList<QStringList> pages{{}};
    bool portrait = false;
    int fontSize = 10;

    QString SelectPrinter(const QString& name) override { return name; }
    void SetOrientation(int orientation) override { portrait = orientation == Portrait; }
    void SetDraftQuality(int) override {}
    int SetPaperSize(int code) override { return code; }
    void SetPrintDirect(bool) override {}
    PageSize GetPageSize() const override {
        return portrait ? PageSize{0, 0, 2970, 2100} : PageSize{0, 0, 2100, 2970};
    }
    int GetTextHeight() const override { return fontSize * 4; }
    void SetFont(const QString&, int size, bool, bool, bool) override { fontSize = size; }
    void PrintText(const QString& text, int, int, int) override { pages.last() << "PrintText: " + text; }
    void SetTableOption1(bool) override {}
    void SetTableOption2(bool) override {}
    void SetTableColor1(quint32) override {}
    void SetTableColor2(quint32) override {}
    void SetTableStyle(int) override {}
    void SetTableFrame(bool) override {}
    void StartTable(const QString&, int, int, int, int, quint32, const QList<int>&, bool, bool,
                    bool) override {
        pages.last() << "StartTable";
    }
    void AddTableRow(const QString& row, int height, quint32 fill, bool, bool, bool) override {
        pages.last() << QString("AddTableRow %1 %2: %3").arg(height).arg(fill, 6, 16, QChar('0')).arg(row);
    }
    void EndTable() override { pages.last() << "EndTable"; }
    void NewPage() override { pages.append(QStringList()); }
    void EndDocument() override {}
    Outcome ShowDocument() override { return Outcome::Done; }
    void CloseEngine() override {}
    QString failureText() const override { return QString(); }

    QStringList calls(const QString& prefix, int page) const { return pages.at(page).filter(prefix); }
    // The texts printed on a page: footer, title and heading lines.
    QStringList printed(int page) const {
        return calls("PrintText: ", page).replaceInStrings("PrintText: ", "");
    }
};

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

private slots:
    void pageBreaks_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("rowsOnPages");
        QTest::addColumn<QString>("last");
        QTest::newRow("payments") << int(Kind::Payments) << 20 << QList<int>{19, 1} << "";
        QTest::newRow("payments, one full page") << int(Kind::Payments) << 19 << QList<int>{19} << "";
        QTest::newRow("payments, three pages") << int(Kind::Payments) << 39 << QList<int>{19, 19, 1} << "";
        QTest::newRow("company") << int(Kind::CompanyEstimates) << 19 << QList<int>{18, 1} << "";
        QTest::newRow("evaluation") << int(Kind::Evaluation) << 18 << QList<int>{17, 1} << "";
        const QString totals = "AddTableRow 47 e0e0e0: L %1|";
        QTest::newRow("cost report, totals on the page")
            << int(Kind::CostReport) << 21 << QList<int>{21} << totals.arg("021");
        QTest::newRow("cost report, totals with three rows")
            << int(Kind::CostReport) << 22 << QList<int>{18, 4} << totals.arg("022");
        QTest::newRow("cost report, 43") << int(Kind::CostReport) << 43 << QList<int>{21, 18, 4} << "";
        QTest::newRow("company list") << int(Kind::CompanyList) << 31 << QList<int>{30, 1} << "";
    }

    // Every page repeats the frame with the footer and "Seite p von P" and holds its share of the rows in
    // order; a page's table is closed last on it, the last page's left open for the caller.
    void pageBreaks() {
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsOnPages);
        QFETCH(QString, last);
        const RecordingEngine engine = build(PrintExport::list(Kind(kind), rows, {"Projekt", "Schule"}));
        QCOMPARE(engine.pages.size(), rowsOnPages.size());
        int row = 0;
        for (int page = 0; page < rowsOnPages.size(); ++page) {
            const QStringList rowCalls = engine.calls("AddTableRow", page);
            QCOMPARE(rowCalls.size(), rowsOnPages.at(page));
            for (const QString& call : rowCalls)
                QVERIFY2(call.contains(QString("Firma %1|").arg(++row, 3, 10, QChar('0'))), qPrintable(call));
            const QString footer = engine.printed(page).first();
            QVERIFY2(footer.startsWith("Landratsamt Wernholm    Bauamt    97070 Würzburg  ") &&
                         footer.endsWith(QString("Seite %1 von %2").arg(page + 1).arg(rowsOnPages.size())),
                     qPrintable(footer));
            QCOMPARE(engine.printed(page).mid(1), engine.printed(0).mid(1));
            QCOMPARE(engine.calls("StartTable", page).size(), 1);
            const bool closed = page + 1 < rowsOnPages.size();
            QCOMPARE(engine.pages.at(page).last() == "EndTable", closed);
        }
        QVERIFY2(engine.pages.last().last().startsWith(last), qPrintable(engine.pages.last().last()));
    }

    void headingLines_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("lines");
        const QStringList top{"Übersicht über die Ausgaben", "Projekt: Schule"};
        const QStringList evaluation{"Projekt", "Schule", "Teilsumme", "5,00"};
        const QString sum = "Teilsumme: 5,00 Euro";
        QTest::newRow("evaluation by trade")
            << int(Kind::Evaluation) << evaluation + QStringList{"Gewerk", "Dach", "Kostengruppe", "4"}
            << top + QStringList{"Gewerk: Dach", sum};
        QTest::newRow("evaluation by cost group")
            << int(Kind::Evaluation)
            << evaluation + QStringList{"Kostengruppe", "400", "Jahr der Anweisung", "2024"}
            << top + QStringList{"Kostengruppe: 400", sum};
        QTest::newRow("evaluation by year")
            << int(Kind::Evaluation) << evaluation + QStringList{"Jahr der Anweisung", "2024"}
            << top + QStringList{"Jahr der Anweisung: 2024", sum};
        QTest::newRow("evaluation without criterion")
            << int(Kind::Evaluation) << evaluation << top + QStringList{sum};
        QTest::newRow("company list without filter")
            << int(Kind::CompanyList) << QStringList{"Suchtext", "", "Anzahl", "Anzahl Firmen: 3"}
            << QStringList{"Firmenliste", "Auszug aus der Firmenliste:    Gesetzter Filter = 'Kein Filter'",
                           "Anzahl Firmen: 3"};
    }
    void headingLines() {
        QFETCH(int, kind);
        QFETCH(QStringList, values);
        QFETCH(QStringList, lines);
        QCOMPARE(build(PrintExport::list(Kind(kind), 0, values)).printed(0).mid(1), lines);
    }
};

QTEST_GUILESS_MAIN(ReportsTest)
#include "ReportsTest.moc"
