#include "QPainterPrintEngine.h"
#include "Reports.h"

#include <algorithm>
#include <csignal>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>

// Real PDF files from the QPainter engine, read back with pdftotext and pdfinfo: one per report against
// its checked-in text, long texts kept inside their cells, and files that cannot be written.
class PdfReportTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static ReportFooter footer() { return {"Landratsamt Wernholm", "Bauamt", "97070", "Würzburg"}; }

    static QString number(int i) { return QString("%1").arg(i, 3, 10, QChar('0')); }

    static ListSnapshot snapshot(ListSnapshot::Kind kind, int rows) {
        ListSnapshot s;
        s.kind = kind;
        const QStringList companies{"Hochbau Nord GmbH", "Zimmerei Östreicher", "Elektro Kühn & Söhne"};
        for (int i = 1; i <= rows; ++i) {
            const QString company = companies.at(i % 3);
            const QString amount = QString("%1.%2,50").arg(i).arg(i % 10 * 111, 3, 10, QChar('0'));
            switch (kind) {
            case ListSnapshot::Kind::Payments:
                s.rows.append({number(i), company, "Rohbau", "01.02.2024", "15.01.2024",
                               QString("R-%1").arg(i), QString("%1. Abschlag").arg(i),
                               "300 Bauwerk - Baukonstruktionen", amount, "Rest laut Rechnung"});
                break;
            case ListSnapshot::Kind::CompanyEstimates:
                s.rows.append({number(i), "01.02.2024", amount, "", "03.04.2024",
                               i == 1 ? "Hauptauftrag" : QString("%1. Nachtrag").arg(i - 1), amount});
                break;
            case ListSnapshot::Kind::Evaluation:
                s.rows.append({number(i), company, "Rohbau", "01.02.2024", "15.01.2024", "Schlußzahlung",
                               "300 Bauwerk", amount});
                break;
            case ListSnapshot::Kind::CostReport:
                if (i == rows)
                    s.rows.append({"", "", "Summen:", "", "10.000,00", "9.500,00", "500,00", "10.000,00",
                                   "9.800,00", "-200,00", "-2,00 %"});
                else
                    s.rows.append({QString::number(i), company, "Rohbau", "300", "1.000,00", "950,00",
                                   "50,00", "1.000,00", "980,00", "-20,00", "-2,00 %"});
                break;
            case ListSnapshot::Kind::CompanyList:
                s.rows.append({QString::number(i), company, "Würzburg", "Rohbau", "300 Bauwerk"});
                break;
            }
        }
        switch (kind) {
        case ListSnapshot::Kind::Payments:
            s.values = {{"Projekt", "Neubau Grundschule"}, {"Gesamtsumme", "123.456,78"}};
            break;
        case ListSnapshot::Kind::CompanyEstimates:
            s.values = {{"Projekt", "Neubau Grundschule"},
                        {"Firma", "Hochbau Nord GmbH"},
                        {"Gewerk", "Rohbau"},
                        {"Kostengruppe", "300 Bauwerk"},
                        {"Summe Kostenberechnung Architekt", "1.000,00"},
                        {"Summe Aufträge, Kostenanschläge", "950,00"},
                        {"Sitz", "Sitz: 97070 Würzburg"}};
            break;
        case ListSnapshot::Kind::Evaluation:
            s.values = {
                {"Projekt", "Neubau Grundschule"}, {"Teilsumme", "4.321,00"}, {"Jahr der Anweisung", "2024"}};
            break;
        case ListSnapshot::Kind::CostReport:
            s.values = {{"Projekt", "Neubau Grundschule"}};
            break;
        case ListSnapshot::Kind::CompanyList:
            s.values = {{"Suchtext", "*"}, {"Anzahl", QString("Anzahl Firmen: %1").arg(rows)}};
            break;
        }
        return s;
    }

    // Runs the report as the print dispatch does, into a PDF file.
    static PrintEngine::Outcome writePdf(QPainterPrintEngine& engine, const ListSnapshot& s,
                                         const QString& path) {
        engine.SelectPrinter(QPainterPrintEngine::pdfTargetName());
        engine.SetOrientation(PrintEngine::Landscape);
        engine.SetPaperSize(PrintEngine::PaperA4);
        engine.SetPrintDirect(true);
        engine.setPdfFilePath(path);
        if (s.kind == ListSnapshot::Kind::CompanyList)
            engine.SetOrientation(PrintEngine::Portrait);
        buildReport(engine, s, footer());
        engine.EndTable();
        engine.EndDocument();
        return engine.ShowDocument();
    }

    static QString run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return QString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    static QString pdfInfo(const QString& path, const QString& field) {
        const QRegularExpression line("^" + field + ":\\s*(.*)$", QRegularExpression::MultilineOption);
        return line.match(run("pdfinfo", {path})).captured(1).trimmed();
    }

    static QString pdfText(const QString& path) { return run("pdftotext", {"-layout", path, "-"}); }

    struct Word {
        QString text;
        QRectF box;
    };

    // The words of the first page with their boxes in points, as pdftotext -bbox reads them.
    static QList<Word> words(const QString& path) {
        static const QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                             "yMax=\"([\\d.]+)\">([^<]*)</word>");
        QList<Word> found;
        for (auto match = word.globalMatch(run("pdftotext", {"-bbox", "-l", "1", path, "-"}));
             match.hasNext();) {
            const QRegularExpressionMatch m = match.next();
            QString text = m.captured(5);
            text.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
            found.append({text, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                       QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
        }
        return found;
    }

    static QStringList files(const QString& folder) {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden);
    }

private slots:
    void reportMatchesItsGoldenText_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("pages");
        QTest::addColumn<QString>("pageSize");
        const QString landscape = "842 x 595 pts (A4)";
        QTest::newRow("Zelvora") << int(ListSnapshot::Kind::Payments) << 20 << "2" << landscape;
        QTest::newRow("Firma") << int(ListSnapshot::Kind::CompanyEstimates) << 5 << "1" << landscape;
        QTest::newRow("Auswertung_Filter") << int(ListSnapshot::Kind::Evaluation) << 18 << "2" << landscape;
        QTest::newRow("Kostenbericht") << int(ListSnapshot::Kind::CostReport) << 22 << "2" << landscape;
        QTest::newRow("Firmenliste") << int(ListSnapshot::Kind::CompanyList) << 31 << "2"
                                     << "595 x 842 pts (A4)";
    }

    // The file reads back as the checked-in text, with its pages in the report's orientation. With
    // ZLV_WRITE_GOLDEN set the text is written as the new golden file instead.
    void reportMatchesItsGoldenText() {
        QFETCH(int, kind);
        QFETCH(int, rows);
        QFETCH(QString, pages);
        QFETCH(QString, pageSize);
        const QString name = QTest::currentDataTag();
        const QString path = m_dir.filePath(name + ".pdf");
        QPainterPrintEngine engine;
        QCOMPARE(writePdf(engine, snapshot(ListSnapshot::Kind(kind), rows), path),
                 PrintEngine::Outcome::Done);
        QCOMPARE(pdfInfo(path, "Pages"), pages);
        QCOMPARE(pdfInfo(path, "Page size"), pageSize);
        const QString text = pdfText(path);
        QVERIFY(!text.isEmpty());
        // ZLV_KEEP_PDF names a folder that keeps the files for a look at them.
        if (qEnvironmentVariableIsSet("ZLV_KEEP_PDF"))
            QFile::copy(path, QDir(qEnvironmentVariable("ZLV_KEEP_PDF")).filePath(name + ".pdf"));
        const QString golden = QString(QT_TESTCASE_SOURCEDIR) + "/golden/" + name + ".txt";
        QFile file(golden);
        if (qEnvironmentVariableIsSet("ZLV_WRITE_GOLDEN")) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text.toUtf8());
            return;
        }
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable("missing golden file " + golden));
        QCOMPARE(text, QString::fromUtf8(file.readAll()));
    }

    void cellTextsAreKeptWhole_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("cut");
        QTest::newRow("smaller font") << 1 << "Elektro Kühn & Söhne GmbH" << 1 << false;
        QTest::newRow("two lines") << 1 << "Garten- und Landschaftsbau Müller GmbH" << 2 << false;
        QTest::newRow("invoice number") << 5 << "R-2024/0815" << 1 << false;
        QTest::newRow("long invoice number") << 5 << "R-2024/000815-ABCD-17" << 2 << false;
        QTest::newRow("cut") << 1
                             << "Bauunternehmung Hochbau Nord Gesellschaft mit beschränkter Haftung und "
                                "Compagnie Kommanditgesellschaft"
                             << 2 << true;
    }

    // A text wider than its cell is drawn smaller, then on two lines, and only then cut with "…"; it
    // stays between its neighbours' texts, in its row.
    void cellTextsAreKeptWhole() {
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(int, lines);
        QFETCH(bool, cut);
        ListSnapshot s = snapshot(ListSnapshot::Kind::Payments, 1);
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

    void marksStayInsideTheMargins_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("left");
        const double standard = QPainterPrintEngine::defaultMargin();
        QTest::newRow("Zelvora") << int(ListSnapshot::Kind::Payments) << standard << standard;
        QTest::newRow("Firma") << int(ListSnapshot::Kind::CompanyEstimates) << standard << standard;
        QTest::newRow("Auswertung") << int(ListSnapshot::Kind::Evaluation) << standard << standard;
        QTest::newRow("Kostenbericht") << int(ListSnapshot::Kind::CostReport) << standard << standard;
        QTest::newRow("Firmenliste") << int(ListSnapshot::Kind::CompanyList) << standard << standard;
        QTest::newRow("Zelvora 30 25") << int(ListSnapshot::Kind::Payments) << 30.0 << 25.0;
        QTest::newRow("Firmenliste 40 10") << int(ListSnapshot::Kind::CompanyList) << 40.0 << 10.0;
    }

    // The margins move the page's content: its first ink stands at the top and left margins, and no ink
    // comes nearer than 5 mm to the right and bottom edges of the paper.
    void marksStayInsideTheMargins() {
        QFETCH(int, kind);
        QFETCH(double, top);
        QFETCH(double, left);
        const QString path = m_dir.filePath("margins.pdf");
        QPainterPrintEngine engine;
        engine.setMargins(top, left);
        QCOMPARE(writePdf(engine, snapshot(ListSnapshot::Kind(kind), 40), path), PrintEngine::Outcome::Done);
        QCOMPARE(QProcess::execute("pdftoppm", {"-r", "72", "-gray", "-png", "-singlefile", path,
                                                m_dir.filePath("margins")}),
                 0);
        const QImage page(m_dir.filePath("margins.png"));
        QRect ink;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 200)
                    ink |= QRect(x, y, 1, 1);
        const double mm = 72 / 25.4;
        const QString found = QString("ink from %1,%2 mm to %3,%4 mm from the right and bottom")
                                  .arg(ink.left() / mm)
                                  .arg(ink.top() / mm)
                                  .arg((page.width() - 1 - ink.right()) / mm)
                                  .arg((page.height() - 1 - ink.bottom()) / mm);
        QVERIFY2(ink.top() >= (top - 0.5) * mm && ink.top() <= (top + 2) * mm, qPrintable(found));
        QVERIFY2(ink.left() >= (left - 0.5) * mm && ink.left() <= (left + 1) * mm, qPrintable(found));
        QVERIFY2(page.width() - 1 - ink.right() >= 5 * mm - 1, qPrintable(found));
        QVERIFY2(page.height() - 1 - ink.bottom() >= 5 * mm - 1, qPrintable(found));
    }

    // A file that cannot be created is reported, naming it and saying why in German; nothing is left
    // under its name.
    void unwritableFileIsReported_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("file as folder")
            << m_dir.filePath("kein Ordner/Zelvora.pdf") << "(Ein Teil des Pfades ist kein Ordner)";
        QTest::newRow("refused") << "/sys/Zelvora.pdf"
                                 << "(Zugriff verweigert)";
    }
    void unwritableFileIsReported() {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QFile blocker(m_dir.filePath("kein Ordner"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QPainterPrintEngine engine;
        QCOMPARE(writePdf(engine, snapshot(ListSnapshot::Kind::Payments, 3), path),
                 PrintEngine::Outcome::Failed);
        QVERIFY2(engine.failureText().contains(QDir::toNativeSeparators(path) +
                                               "“ kann nicht geschrieben "
                                               "werden " +
                                               reason),
                 qPrintable(engine.failureText()));
        QVERIFY(!QFile::exists(path));
    }

    // A disk that fills while the file is written: the run fails, the earlier file of that name stays as
    // it was, and no temporary file is left beside it.
    void fullDiskLeavesTheEarlierFile() {
        QTemporaryDir folder;
        const QString path = folder.filePath("Zelvora.pdf");
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QPainterPrintEngine engine;
        const PrintEngine::Outcome outcome =
            writePdf(engine, snapshot(ListSnapshot::Kind::Payments, 400), path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(outcome, PrintEngine::Outcome::Failed);
        QVERIFY2(
            engine.failureText().contains("Zelvora.pdf“ konnte nicht vollständig geschrieben werden (Die "
                                          "Datei ist zu groß)"),
            qPrintable(engine.failureText()));
        QCOMPARE(files(folder.path()), QStringList{"Zelvora.pdf"});
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
    }

    // The progress hook sees every page with the page count before it is painted and can stop the run,
    // which leaves no file.
    void progressCanCancel() {
        const QString path = m_dir.filePath("cancelled.pdf");
        QPainterPrintEngine engine;
        QStringList seen;
        engine.setProgressHook([&](int page, int pages) {
            seen << QString("Seite %1 von %2").arg(page).arg(pages);
            return page < 3;
        });
        QCOMPARE(writePdf(engine, snapshot(ListSnapshot::Kind::Payments, 60), path),
                 PrintEngine::Outcome::Cancelled);
        QCOMPARE(seen, (QStringList{"Seite 1 von 4", "Seite 2 von 4", "Seite 3 von 4"}));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(files(m_dir.path()).filter("cancelled"), QStringList());
    }

    // The preview paints the same pages; the next document starts afresh.
    void previewShowsTheDocumentsPages() {
        QPainterPrintEngine engine;
        int previewPages = -1;
        engine.setPreviewPresenter([&](QPrintPreviewDialog& dialog) {
            auto* preview = dialog.findChild<QPrintPreviewWidget*>();
            QVERIFY(preview);
            preview->updatePreview();
            previewPages = preview->pageCount();
        });
        QCOMPARE(engine.SelectPrinter(QPainterPrintEngine::pdfTargetName()),
                 QPainterPrintEngine::pdfTargetName());
        engine.SetPrintDirect(false);
        buildReport(engine, snapshot(ListSnapshot::Kind::Evaluation, 35), footer());
        engine.EndTable();
        engine.EndDocument();
        QCOMPARE(engine.ShowDocument(), PrintEngine::Outcome::Done);
        QCOMPARE(previewPages, 3);
        buildReport(engine, snapshot(ListSnapshot::Kind::Evaluation, 1), footer());
        QCOMPARE(engine.pageCount(), 1);
    }

    void targets() {
        QPainterPrintEngine engine;
        QCOMPARE(engine.SelectPrinter("Kein solcher Drucker"), QString());
        QVERIFY(QPainterPrintEngine::printerNames().endsWith(QPainterPrintEngine::pdfTargetName()));
        QVERIFY(QPainterPrintEngine::printerNames().contains(QPainterPrintEngine::defaultPrinterName()));
        QCOMPARE(engine.SetPaperSize(PrintEngine::PaperA4), PrintEngine::PaperA4);
        QCOMPARE(engine.SetPaperSize(8), PrintEngine::PaperA4);
        QCOMPARE(engine.GetPageSize().width, 2970.f);
        engine.SetOrientation(PrintEngine::Portrait);
        QCOMPARE(engine.GetPageSize().height, 2970.f);
        engine.SetFont("Arial", 10, false, false, false);
        const int ten = engine.GetTextHeight();
        engine.SetFont("Arial", 20, false, false, false);
        QVERIFY2(ten > 35 && ten < 50 && engine.GetTextHeight() > ten * 19 / 10,
                 qPrintable(QString::number(ten)));
    }
};

QTEST_MAIN(PdfReportTest)
#include "PdfReportTest.moc"
