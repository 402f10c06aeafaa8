#include "Reports.h"
#include "AuthorityDetails.h"
#include "PaymentOrderReport.h"
#include "PrintExportFixture.h"
#include "QPainterPrintEngine.h"
#include "Settings.h"

#include <algorithm>
#include <memory>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Kind = ListSnapshot::Kind;

// A print engine that writes down the texts, tables and rows it is given, page by page.
class RecordingEngine : public QPainterPrintEngine {
public:
    QList<QStringList> pages{{}};
    bool portrait = false;
    int fontSize = 10;

    void SetOrientation(int orientation) override { portrait = orientation == Portrait; }
    PageSize GetPageSize() const override {
        return portrait ? PageSize{0, 0, 2970, 2100} : PageSize{0, 0, 2100, 2970};
    }
    int GetTextHeight() const override { return fontSize * 4; }
    void SetFont(const QString&, int size, bool, bool, bool) override { fontSize = size; }
    void PrintText(const QString& text, int, int, int) override { pages.last() << "PrintText: " + text; }
    void StartTable(const QString&, int, int, int, int, quint32, const QList<int>&, bool, bool,
                    bool) override {
        pages.last() << "StartTable";
    }
    void AddTableRow(const QString& row, int height, quint32 fill, bool, bool, bool) override {
        pages.last() << QString("AddTableRow %1 %2: %3").arg(height).arg(fill, 6, 16, QChar('0')).arg(row);
    }
    void EndTable() override { pages.last() << "EndTable"; }
    void NewPage() override { pages.append(QStringList()); }

    QStringList calls(const QString& prefix, int page) const { return pages.at(page).filter(prefix); }
    // The texts printed on a page: footer, title and heading lines.
    QStringList printed(int page) const {
        return calls("PrintText: ", page).replaceInStrings("PrintText: ", "");
    }
};

class ReportsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    std::unique_ptr<RecordingEngine> build(const ListSnapshot& snapshot) const {
        Settings settings(m_dir.filePath("zlv.ini"));
        settings.setValue(AuthorityDetails::name, "Landratsamt Wernholm");
        settings.setValue(AuthorityDetails::department, "Bauamt");
        settings.setValue(AuthorityDetails::postcode, "97070");
        settings.setValue(SettingKey<QString>{"FRMAUSGABE", "NameOrt", {}}, "Würzburg");
        auto engine = std::make_unique<RecordingEngine>();
        engine->SetOrientation(portrait(snapshot.kind) ? PrintEngine::Portrait : PrintEngine::Landscape);
        buildReport(*engine, snapshot, ReportFooter::fromSettings(settings));
        return engine;
    }

    static bool portrait(Kind kind) {
        return kind == Kind::CompanyList || kind == Kind::PaymentOrder || kind == Kind::WithholdingStatement;
    }

    // Two payment orders, the second without a bank account and confirmed in one step.
    static ListSnapshot paymentOrders() {
        ListSnapshot s;
        s.kind = Kind::PaymentOrder;
        s.values = {{"Behörde", "Landratsamt Wernholm"},
                    {"Abteilung", "Bauamt"},
                    {"PLZ", "97070"},
                    {"Ort", "Würzburg"},
                    {"Landkreis", "Wernholm"},
                    {"Bezirk", "Unterfranken"}};
        s.headings = {"Projekt",
                      "Lfd. Nr.",
                      "Zahlungsempfänger",
                      "Anschrift",
                      "IBAN",
                      "BIC",
                      "Kontoinhaber",
                      "Betrag",
                      "Rechnungsnummer",
                      "Rechnungsdatum",
                      "Zahlungsart",
                      "Kostengruppe",
                      "Bemerkungen",
                      "Sachlich richtig",
                      "Rechnerisch richtig",
                      "Angeordnet"};
        s.rows = {{"1 - Neubau Grundschule", "007", "Zimmerei Östreicher", "Hauptstraße 5, 97070 Würzburg",
                   "DE89 3704 0044 0532 0130 00", "COBADEFFXXX", "Zimmerei Östreicher GmbH", "1.234,50 Euro",
                   "R-2024-17", "15.01.2024", "Schlußzahlung", "300 Bauwerk", "Dachstuhl",
                   "meier, 02.02.2024 09:15", "schulz, 03.02.2024 10:30", "huber, 05.02.2024 11:45"},
                  {"2 - Turnhalle", "012", "Elektro Nord", "nicht im Firmenverzeichnis",
                   "keine Bankverbindung gespeichert", "", "", "-99,00 Euro", "G-5", "01.03.2024",
                   "Abschlagszahlung", "400 Technik", "Storno zu Nr. 11: doppelt", "",
                   "schulz, 04.03.2024 08:00", "huber, 04.03.2024 09:00"}};
        return s;
    }

    static ListSnapshot list(Kind kind, int rows) {
        return PrintExport::list(
            kind, rows,
            QString(
                "Projekt|Neubau Grundschule|Gesamtsumme|123.456,78|Teilsumme|4.321,00|Firma|Zimmerei "
                "Östreicher|Gewerk|Rohbau|Kostengruppe|300 Bauwerk|Summe Kostenberechnung Architekt|1.000,00|"
                "Summe Aufträge, Kostenanschläge|950,00|Sitz|Sitz: 97070 Würzburg|Suchtext|*|Anzahl|"
                "Anzahl Firmen: %1|Zeitraum|nächste 7 Tage|Stichtag|02.06.2025|Basiszinssatz|1,27 %")
                .arg(rows)
                .split('|'));
    }

    // Runs the report as the print dispatch does, into a PDF file.
    static PrintEngine::Outcome writePdf(QPainterPrintEngine& engine, const ListSnapshot& s,
                                         const QString& path) {
        engine.SelectPrinter(QPainterPrintEngine::pdfTargetName());
        engine.SetOrientation(portrait(s.kind) ? PrintEngine::Portrait : PrintEngine::Landscape);
        engine.SetPaperSize(PrintEngine::PaperA4);
        engine.SetPrintDirect(true);
        engine.setPdfFilePath(path);
        buildReport(engine, s, {"Landratsamt Wernholm", "Bauamt", "97070", "Würzburg"});
        engine.EndTable();
        engine.EndDocument();
        return engine.ShowDocument();
    }

    struct Word {
        QString text;
        QRectF box;
    };
    // The words of the first page with their boxes in points.
    static QList<Word> words(const QString& path) {
        static const QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                             "yMax=\"([\\d.]+)\">([^<]*)</word>");
        QList<Word> found;
        for (auto match = word.globalMatch(PrintExport::run("pdftotext", {"-bbox", "-l", "1", path, "-"}));
             match.hasNext();) {
            const QRegularExpressionMatch m = match.next();
            found.append({m.captured(5).replace("&amp;", "&"),
                          QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                 QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
        }
        return found;
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
            << int(Kind::CostReport) << 22 << QList<int>{15, 7} << totals.arg("022");
        QTest::newRow("cost report, 43") << int(Kind::CostReport) << 43 << QList<int>{21, 15, 7} << "";
        QTest::newRow("company list") << int(Kind::CompanyList) << 31 << QList<int>{30, 1} << "";
        QTest::newRow("journal") << int(Kind::Journal) << 25 << QList<int>{24, 1} << "";
    }

    // Every page repeats the frame with the footer and "Seite p von P" and holds its share of the rows in
    // order; a page's table is closed last on it, the last page's left open for the caller.
    void pageBreaks() {
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(QList<int>, rowsOnPages);
        QFETCH(QString, last);
        const auto engine = build(PrintExport::list(Kind(kind), rows, {"Projekt", "Schule"}));
        QCOMPARE(engine->pages.size(), rowsOnPages.size());
        int row = 0;
        for (int page = 0; page < rowsOnPages.size(); ++page) {
            const QStringList rowCalls = engine->calls("AddTableRow", page);
            QCOMPARE(rowCalls.size(), rowsOnPages.at(page));
            for (const QString& call : rowCalls)
                QVERIFY2(call.contains(QString("Firma %1|").arg(++row, 3, 10, QChar('0'))), qPrintable(call));
            const QString footer = engine->printed(page).first();
            QVERIFY2(footer.startsWith("Landratsamt Wernholm    Bauamt    97070 Würzburg  ") &&
                         footer.endsWith(QString("Seite %1 von %2").arg(page + 1).arg(rowsOnPages.size())),
                     qPrintable(footer));
            QCOMPARE(engine->printed(page).mid(1), engine->printed(0).mid(1));
            QCOMPARE(engine->calls("StartTable", page).size(), 1);
            const bool closed = page + 1 < rowsOnPages.size();
            QCOMPARE(engine->pages.at(page).last() == "EndTable", closed);
        }
        QVERIFY2(engine->pages.last().last().startsWith(last), qPrintable(engine->pages.last().last()));
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
        QCOMPARE(build(PrintExport::list(Kind(kind), 0, values))->printed(0).mid(1), lines);
    }
    void reports_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("pages");
        QTest::newRow("payments") << int(Kind::Payments) << 20 << "2, 842 x 595 pts (A4)";
        QTest::newRow("company") << int(Kind::CompanyEstimates) << 5 << "1, 842 x 595 pts (A4)";
        QTest::newRow("evaluation") << int(Kind::Evaluation) << 18 << "2, 842 x 595 pts (A4)";
        QTest::newRow("cost report") << int(Kind::CostReport) << 22 << "2, 842 x 595 pts (A4)";
        QTest::newRow("company list") << int(Kind::CompanyList) << 31 << "2, 595 x 842 pts (A4)";
        QTest::newRow("journal") << int(Kind::Journal) << 25 << "2, 842 x 595 pts (A4)";
        QTest::newRow("sign-offs") << int(Kind::SignOffs) << 25 << "2, 842 x 595 pts (A4)";
        QTest::newRow("withholding tax") << int(Kind::Withholdings) << 25 << "2, 842 x 595 pts (A4)";
        QTest::newRow("due") << int(Kind::Due) << 25 << "2, 842 x 595 pts (A4)";
    }

    // The file reads back as the golden file named as the report's proposed file, in Arial's stand-in,
    // its first ink at the margins and none nearer than 5 mm to the right and bottom edges. With
    // ZLV_WRITE_GOLDEN set the text is written as the new golden file instead.
    void reports() {
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(QString, pages);
        const QString path = m_dir.filePath("report.pdf");
        QPainterPrintEngine engine;
        QCOMPARE(writePdf(engine, list(Kind(kind), rows), path), PrintEngine::Outcome::Done);
        QCOMPARE(PrintExport::pdfInfo(path, "Pages") + ", " + PrintExport::pdfInfo(path, "Page size"), pages);
        QVERIFY(PrintExport::run("pdffonts", {path}).contains("LiberationSans"));
        const QList<double> edges = PrintExport::blankEdges(path);
        const double margin = QPainterPrintEngine::defaultMargin();
        QVERIFY2(edges[0] >= margin - 0.5 && edges[0] <= margin + 1 && edges[1] >= margin - 0.5 &&
                     edges[1] <= margin + 2 && edges[2] >= 4.6 && edges[3] >= 4.6,
                 qPrintable(QDebug::toString(edges)));
        const QString name = proposedPdfFileName(Kind(kind));
        QFile file(QString(QT_TESTCASE_SOURCEDIR) + "/golden/" + name.chopped(4) + ".txt");
        if (qEnvironmentVariableIsSet("ZLV_WRITE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(PrintExport::pdfText(path).toUtf8());
            return;
        }
        QVERIFY2(name.endsWith(".pdf") && file.open(QIODevice::ReadOnly),
                 qPrintable("no golden file " + name));
        QCOMPARE(PrintExport::pdfText(path), QString::fromUtf8(file.readAll()));
    }

    // One order a page: the letterhead, the title and a row of each field with its value, the page count
    // over the batch at the foot.
    void paymentOrderPages() {
        const ListSnapshot s = paymentOrders();
        const auto engine = build(s);
        QCOMPARE(engine->pages.size(), 2);
        for (int page = 0; page < 2; ++page) {
            QCOMPARE(engine->printed(page),
                     (QStringList{"Landratsamt Wernholm    Bauamt    97070 Würzburg                Seite " +
                                      QString::number(page + 1) + " von 2",
                                  "Landratsamt Wernholm", "Bauamt", "97070 Würzburg", "Landkreis Wernholm",
                                  "Bezirk Unterfranken", "Auszahlungsanordnung"}));
            QStringList rows;
            for (int field = 0; field < s.headings.size(); ++field)
                rows << "AddTableRow 80 ffffff: L " + s.headings.at(field) + "|L " +
                            s.rows.at(page).at(field);
            QCOMPARE(engine->calls("AddTableRow", page), rows);
        }
        QCOMPARE(engine->calls("EndTable", 0).size(), 1);
        QCOMPARE(proposedPdfFileName(Kind::PaymentOrder), QString("Auszahlungsanordnung.pdf"));
    }

    // The PDF read back holds every field of the order with its value, on A4 upright, one order a page.
    void paymentOrderPdf() {
        const QString path = m_dir.filePath("order.pdf");
        QPainterPrintEngine engine;
        const ListSnapshot s = paymentOrders();
        QCOMPARE(writePdf(engine, s, path), PrintEngine::Outcome::Done);
        QCOMPARE(PrintExport::pdfInfo(path, "Pages") + ", " + PrintExport::pdfInfo(path, "Page size"),
                 QString("2, 595 x 842 pts (A4)"));
        const QStringList pages = PrintExport::pdfText(path).split('\f');
        for (int page = 0; page < 2; ++page) {
            const QString text = pages.value(page).simplified();
            for (const QString& expected :
                 s.headings + s.rows.at(page) + QStringList{"Auszahlungsanordnung", "Landratsamt Wernholm"})
                QVERIFY2(text.contains(expected.simplified()), qPrintable(expected + " not in: " + text));
        }
    }

    void cellTextsAreKeptWhole_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("cut");
        QTest::newRow("smaller font") << 1 << "Elektro Kühn & Söhne GmbH" << 1 << false;
        QTest::newRow("two lines") << 1 << "Garten- und Landschaftsbau Müller GmbH" << 2 << false;
        QTest::newRow("long invoice number") << 5 << "R-2024/000815-ABCD-17" << 2 << false;
        QTest::newRow("cut")
            << 1
            << "Bauunternehmung Hochbau Nord Gesellschaft mit beschränkter Haftung und Compagnie "
               "Kommanditgesellschaft"
            << 2 << true;
    }

    // A text wider than its cell is drawn smaller, then on two lines, and only then cut with "…"; it
    // stays between its neighbours' texts, in its row.
    void cellTextsAreKeptWhole() {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(int, lines);
        QFETCH(bool, cut);
        ListSnapshot s = list(Kind::Payments, 1);
        s.rows[0][column] = text;
        const QString path = m_dir.filePath("long.pdf");
        QPainterPrintEngine engine;
        QCOMPARE(writePdf(engine, s, path), PrintEngine::Outcome::Done);
        const QList<Word> all = words(path);
        const auto find = [&](const QString& word) {
            const auto found =
                std::find_if(all.begin(), all.end(), [&](const Word& w) { return w.text == word; });
            return found == all.end() ? QRectF() : found->box;
        };
        const QRectF left = find(s.rows[0][column - 1].section(' ', -1));
        const QRectF right = find(s.rows[0][column + 1].section(' ', 0, 0));
        QVERIFY(!left.isNull() && !right.isNull());
        QString joined;
        QList<qreal> tops;
        for (const Word& w : all) {
            if (w.box.left() < left.right() || w.box.right() > right.left() ||
                qAbs(w.box.center().y() - left.center().y()) > 10)
                continue;
            joined += w.text;
            if (std::none_of(tops.begin(), tops.end(),
                             [&](qreal top) { return qAbs(top - w.box.top()) < 2; }))
                tops.append(w.box.top());
        }
        const QString whole = QString(text).remove(' ');
        QCOMPARE(tops.size(), lines);
        QCOMPARE(joined.endsWith("…"), cut);
        QVERIFY2(cut ? whole.startsWith(joined.chopped(1)) && joined.size() > 30 : joined == whole,
                 qPrintable(joined));
    }

    void amountsAreRightAligned_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::addColumn<int>("textColumn");
        QTest::newRow("short and long") << int(Kind::Payments) << 8 << "1,00"
                                        << "1.234.567,89" << 5;
        // The cost report's last four rows are its totals, in bold: the same text is wider there.
        QTest::newRow("plain and bold") << int(Kind::CostReport) << 4 << "Gesamtsumme"
                                        << "Gesamtsumme" << 1;
    }

    // Amounts stand at the right edge of their column whatever their length and font; texts start at the
    // left.
    void amountsAreRightAligned() {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QFETCH(int, textColumn);
        ListSnapshot s = list(Kind(kind), 5);
        s.rows[0][column] = upper;
        s.rows[1][column] = lower;
        s.rows[0][textColumn] = "A-1";
        s.rows[1][textColumn] = "B-123456";
        const QString path = m_dir.filePath("aligned.pdf");
        QPainterPrintEngine engine;
        QCOMPARE(writePdf(engine, s, path), PrintEngine::Outcome::Done);
        QHash<QString, QRectF> boxes;
        QList<QRectF> amounts;
        for (const Word& w : words(path)) {
            boxes.insert(w.text, w.box);
            if (w.text == upper || w.text == lower)
                amounts.append(w.box);
        }
        QCOMPARE(amounts.size(), 2);
        const QRectF small = amounts.first();
        const QRectF large = amounts.last();
        QVERIFY2(qAbs(small.right() - large.right()) < 1 &&
                     (upper == lower || large.left() < small.left() - 10),
                 qPrintable(QString("%1-%2 / %3-%4")
                                .arg(small.left())
                                .arg(small.right())
                                .arg(large.left())
                                .arg(large.right())));
        QVERIFY(qAbs(boxes.value("A-1").left() - boxes.value("B-123456").left()) < 1);
    }

    void failedRunLeavesTheEarlierFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fileLimit");
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<QString>("message");
        const QString unwritable = "Zelvora.pdf“ kann nicht geschrieben werden ";
        QTest::newRow("file as folder")
            << "kein Ordner/Zelvora.pdf" << 0 << 0
            << "kein Ordner/" + unwritable + "(Ein Teil des Pfades ist kein Ordner)";
        QTest::newRow("refused") << "/sys/Zelvora.pdf" << 0 << 0
                                 << "/sys/" + unwritable + "(Zugriff verweigert)";
        QTest::newRow("full disk")
            << "Zelvora.pdf" << 64 * 1024 << 0
            << "Zelvora.pdf“ konnte nicht vollständig geschrieben werden (Die Datei ist zu groß)";
        QTest::newRow("cancelled") << "Zelvora.pdf" << 0 << 3 << "";
    }

    // A run that fails or is cancelled on the progress (which sees each page with the page count) says
    // why in German and leaves what stood under the file's name, with no temporary file beside it.
    void failedRunLeavesTheEarlierFile() {
        QFETCH(QString, name);
        QFETCH(int, fileLimit);
        QFETCH(int, stopAfter);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const QString path = name.startsWith('/') ? name : folder.filePath(name);
        for (const char* earlier : {"kein Ordner", "Zelvora.pdf"}) {
            QFile file(folder.filePath(earlier));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("earlier") == 7);
        }
        QPainterPrintEngine engine;
        QStringList seen;
        engine.setProgressHook([&](int page, int pages) {
            seen << QString("%1/%2").arg(page).arg(pages);
            return stopAfter == 0 || page < stopAfter;
        });
        {
            const PrintExport::FullDisk disk(fileLimit ? rlim_t(fileLimit) : RLIM_INFINITY);
            QCOMPARE(writePdf(engine, list(Kind::Payments, fileLimit ? 400 : 60), path),
                     stopAfter ? PrintEngine::Outcome::Cancelled : PrintEngine::Outcome::Failed);
        }
        QVERIFY2(engine.failureText().contains(message), qPrintable(engine.failureText()));
        if (stopAfter)
            QCOMPARE(seen, (QStringList{"1/4", "2/4", "3/4"}));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"kein Ordner", "Zelvora.pdf"}));
        QFile earlier(folder.filePath("Zelvora.pdf"));
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), "earlier");
    }
};

QTEST_MAIN(ReportsTest)
#include "ReportsTest.moc"
