#include "PrintBenchmarks.h"

#include "Measurement.h"
#include "QPainterPrintEngine.h"
#include "ReportLayout.h"
#include "Reports.h"

#include <algorithm>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsView>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

namespace {

constexpr qreal kTenthsPerInch = 254.0;
constexpr qreal kPadding = 10.0;

const ReportFooter kFooter{QStringLiteral("Landratsamt Wernholm"), QStringLiteral("Bauamt"),
                           QStringLiteral("97070"), QStringLiteral("Würzburg")};

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

Qt::Alignment alignmentOf(const QString& code) {
    if (code.startsWith(QLatin1Char('m')))
        return Qt::AlignHCenter;
    if (code.startsWith(QLatin1Char('R')) || code.startsWith(QLatin1Char('r')))
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

QFont arial(const ReportFont& font) {
    return QFont(QStringLiteral("Arial"), font.size, font.bold ? QFont::Bold : QFont::Normal, font.italic);
}

// The plain way to the same pages: QPainter on QPdfWriter, each text and line drawn where the report
// puts it, with no engine, no recording and no cell notation.
bool paintPlainly(const ListSnapshot& snapshot, const QString& path) {
    const ReportLayout layout = ReportLayout::forSnapshot(snapshot);
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const qreal k = writer.logicalDpiX() / kTenthsPerInch;
    const qreal pageWidth = 2970 * k;
    const qreal pageHeight = 2100 * k;
    auto centred = [&](const QString& text, const ReportFont& font, qreal top) {
        painter.setFont(arial(font));
        painter.drawText(QRectF(0, top * k, pageWidth, pageHeight), Qt::AlignHCenter | Qt::AlignTop, text);
    };
    qreal tableWidth = 0;
    for (int width : layout.columnWidths)
        tableWidth += width * k;
    auto lines = [&](const QRectF& row) {
        painter.drawRect(row);
        qreal x = row.left();
        for (int column = 0; column + 1 < layout.columnWidths.size(); ++column) {
            x += layout.columnWidths.at(column) * k;
            painter.drawLine(QPointF(x, row.top()), QPointF(x, row.bottom()));
        }
    };
    const QColor colour(0x3A, 0x6E, 0x9C);
    const QStringList headings = layout.tableHeading.split(QLatin1Char('|'));
    const qsizetype rows = snapshot.rows.size();
    const int pages = int(qMax<qsizetype>(1, (rows + layout.rowsPerPage - 1) / layout.rowsPerPage));
    qsizetype next = 0;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        const QString four(4, QLatin1Char(' '));
        centred(kFooter.authority + four + kFooter.department + four + kFooter.postcode + QLatin1Char(' ') +
                    kFooter.town + QString(layout.pageLabelBlanks, QLatin1Char(' ')) +
                    QStringLiteral("Seite %1 von %2").arg(page).arg(pages),
                {10, false, false}, 2000);
        centred(layout.title, {14, true, false}, 10);
        for (const ReportHeadingLine& line : layout.headingLines)
            centred(line.text, line.font, line.top);
        const QFont headingFont = arial(layout.headingFont);
        painter.setFont(headingFont);
        const qreal headingHeight =
            QFontMetricsF(headingFont, &writer).height() + layout.headingHeightAddition * k;
        QRectF row(layout.left * k, layout.top * k, tableWidth, headingHeight);
        painter.fillRect(row, QColor(0xE0, 0xE0, 0xE0));
        qreal x = row.left();
        for (int column = 0; column < headings.size(); ++column) {
            const qreal width = layout.columnWidths.at(column) * k;
            painter.setPen(Qt::black);
            painter.drawText(QRectF(x + kPadding * k, row.top(), width - 2 * kPadding * k, row.height()),
                             Qt::AlignCenter | Qt::TextWordWrap, headings.at(column).mid(2));
            x += width;
        }
        painter.setPen(QPen(colour, 2 * k));
        lines(row);
        const QFont rowFont = arial(layout.row.font);
        painter.setFont(rowFont);
        const qreal rowHeight = QFontMetricsF(rowFont, &writer).height() + layout.row.heightAddition * k;
        const qreal tableTop = row.top();
        const qsizetype end = qMin(rows, next + layout.rowsPerPage);
        for (; next < end; ++next) {
            row = QRectF(row.left(), row.bottom(), tableWidth, rowHeight);
            painter.fillRect(row, Qt::white);
            painter.setPen(Qt::black);
            x = row.left();
            for (int i = 0; i < layout.columns.size(); ++i) {
                const qreal width = layout.columnWidths.at(i) * k;
                painter.drawText(QRectF(x + kPadding * k, row.top(), width - 2 * kPadding * k, row.height()),
                                 int(alignmentOf(layout.row.codes.at(i)) | Qt::AlignVCenter),
                                 snapshot.rows.at(next).value(layout.columns.at(i)));
                x += width;
            }
            painter.setPen(QPen(colour, 2 * k));
            lines(row);
        }
        painter.setPen(QPen(colour, 5 * k));
        painter.drawRect(QRectF(row.left(), tableTop, tableWidth, row.bottom() - tableTop));
    }
    return painter.end();
}

// The smallest and largest of the timed runs, the warm-up (the first) left out.
QString range(const QList<double>& times) {
    if (times.size() < 2)
        return QStringLiteral("?");
    const auto [least, most] = std::minmax_element(times.begin() + 1, times.end());
    return QStringLiteral("%1 to %2 ms").arg(*least, 0, 'f', 0).arg(*most, 0, 'f', 0);
}

QString megabytes(double mb) {
    return mb < 0 ? QStringLiteral("?") : QString::number(mb, 'f', 0) + QStringLiteral(" MB");
}

} // namespace

PrintBenchmarks::PrintBenchmarks(ListSnapshot bookings, QString snapshotError, QString workFolder, int runs)
    : m_bookings(std::move(bookings)), m_snapshotError(std::move(snapshotError)),
      m_workFolder(std::move(workFolder)), m_runs(runs) {}

double PrintBenchmarks::oursPdfMs(const QString& path, int* pages) const {
    QElapsedTimer timer;
    timer.start();
    QPainterPrintEngine engine;
    engine.SelectPrinter(QPainterPrintEngine::pdfTargetName());
    engine.SetOrientation(PrintEngine::Landscape);
    engine.SetPaperSize(PrintEngine::PaperA4);
    engine.SetPrintDirect(true);
    engine.setPdfFilePath(path);
    buildReport(engine, m_bookings, kFooter);
    engine.EndTable();
    engine.EndDocument();
    if (engine.ShowDocument() != PrintEngine::Outcome::Done)
        return -1;
    *pages = engine.pageCount();
    return msSince(timer);
}

double PrintBenchmarks::baselinePdfMs(const QString& path) const {
    return Measurement::timed([&] { return paintPlainly(m_bookings, path); });
}

BenchTable::Row PrintBenchmarks::pdfFile() {
    BenchTable::Row row;
    row.name = QStringLiteral("p. payments report to PDF (%1 bookings)").arg(m_bookings.rows.size());
    row.limit = kPdfLimit;
    if (!m_snapshotError.isEmpty()) {
        row.error = m_snapshotError;
        return row;
    }
    const QString ours = QDir(m_workFolder).filePath(QStringLiteral("Zelvora.pdf"));
    const QString plain = QDir(m_workFolder).filePath(QStringLiteral("plain.pdf"));
    int pages = 0;
    QList<double> oursTimes;
    QList<double> plainTimes;
    const auto kept = [](QList<double>& times, double ms) {
        times.append(ms);
        return ms;
    };
    const Measurement::Outcome outcome =
        Measurement::compare(m_runs, {nullptr, [&] { return kept(oursTimes, oursPdfMs(ours, &pages)); }},
                             {nullptr, [&] { return kept(plainTimes, baselinePdfMs(plain)); }});
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    m_pdfMs = row.error.isEmpty() ? row.oursMs : -1;
    const double oursPeak = Measurement::peakMb([&] { return oursPdfMs(ours, &pages) >= 0; });
    const double plainPeak = Measurement::peakMb([&] { return baselinePdfMs(plain) >= 0; });
    row.note =
        QStringLiteral("%1 pages; files %2 and %3 KB; peak memory ours %4, plain %5; timed runs ours %6, "
                       "plain %7")
            .arg(pages)
            .arg(QFileInfo(ours).size() / 1024)
            .arg(QFileInfo(plain).size() / 1024)
            .arg(megabytes(oursPeak), megabytes(plainPeak), range(oursTimes), range(plainTimes));
    return row;
}

BenchTable::Row PrintBenchmarks::preview() {
    BenchTable::Row row;
    row.name = QStringLiteral("q. payments report, preview's first page");
    row.limit = kPreviewLimit;
    if (!m_snapshotError.isEmpty() || m_pdfMs < 0) {
        row.error = m_snapshotError.isEmpty() ? QStringLiteral("needs p's PDF figure") : m_snapshotError;
        return row;
    }
    int previewPages = 0;
    QString failure;
    auto run = [&]() -> double {
        QElapsedTimer timer;
        timer.start();
        double shownMs = -1;
        QPainterPrintEngine engine;
        engine.setPreviewPresenter([&](QPrintPreviewDialog& dialog) {
            dialog.show();
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            auto* view = widget ? widget->findChild<QGraphicsView*>() : nullptr;
            if (view == nullptr) {
                failure = QStringLiteral("no preview widget");
                return;
            }
            QElapsedTimer wait;
            wait.start();
            while (widget->pageCount() == 0 && wait.elapsed() < 60000)
                QApplication::processEvents();
            view->viewport()->repaint();
            shownMs = msSince(timer);
            previewPages = widget->pageCount();
            dialog.close();
        });
        engine.SelectPrinter(QPainterPrintEngine::pdfTargetName());
        engine.SetOrientation(PrintEngine::Landscape);
        engine.SetPaperSize(PrintEngine::PaperA4);
        engine.SetPrintDirect(false);
        buildReport(engine, m_bookings, kFooter);
        engine.EndTable();
        engine.EndDocument();
        if (engine.ShowDocument() != PrintEngine::Outcome::Done || previewPages != engine.pageCount())
            return -1;
        return shownMs;
    };
    const Measurement::Outcome outcome = Measurement::alone(m_runs, {nullptr, run});
    row.oursMs = outcome.oursMs;
    row.baselineMs = m_pdfMs;
    row.error = outcome.error.isEmpty() ? QString() : outcome.error + QLatin1Char(' ') + failure;
    const double peak = Measurement::peakMb([&] { return run() >= 0; });
    row.note = QStringLiteral("%1 pages in the preview; baseline: p's PDF median; peak memory %2")
                   .arg(previewPages)
                   .arg(megabytes(peak));
    return row;
}
