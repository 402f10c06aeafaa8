#include "Reports.h"

#include "AuthorityDetails.h"
#include "PaymentOrderReport.h"
#include "PrintEngine.h"
#include "ReportLayout.h"

namespace {

const QString kFontName = QStringLiteral("Arial");
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kHeadingFill = 0xE0E0E0;

void setFont(PrintEngine& engine, const ReportFont& font) {
    engine.SetFont(kFontName, font.size, font.bold, font.italic, false);
}

// Rows the totals rows keep above them on their page, when the list has that many.
constexpr qsizetype kRowsAboveTotals = 3;

// The number of rows on each page: the report's rows per page, the last page the rest. Totals rows never
// stand alone: the page before gives up rows until the last page holds kRowsAboveTotals rows above them.
// The page count stays the same.
QList<qsizetype> rowsOnPages(qsizetype rows, const ReportLayout& layout) {
    const qsizetype perPage = layout.rowsPerPage;
    QList<qsizetype> pages(qMax<qsizetype>(1, (rows + perPage - 1) / perPage), perPage);
    pages.last() = rows - perPage * (pages.size() - 1);
    const qsizetype wanted = qMin<qsizetype>(kRowsAboveTotals + layout.totalsRows, perPage);
    if (layout.totalsRow && pages.size() > 1 && pages.last() < wanted) {
        pages[pages.size() - 2] -= wanted - pages.last();
        pages.last() = wanted;
    }
    return pages;
}

QString footerText(const ReportFooter& footer, int blanks, int page, int pages) {
    const QString four(4, QLatin1Char(' '));
    return footer.authority + four + footer.department + four + footer.postcode + QLatin1Char(' ') +
           footer.town + QString(blanks, QLatin1Char(' ')) + QStringLiteral("Seite ") +
           QString::number(page) + QStringLiteral(" von ") + QString::number(pages);
}

QString rowText(const QStringList& cells, const QList<int>& columns, const QStringList& codes) {
    QString text;
    for (int i = 0; i < columns.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('|');
        text += codes.value(i) + cells.value(columns.at(i));
    }
    return text;
}

void addRow(PrintEngine& engine, const ReportRowFormat& format, const QStringList& cells,
            const QList<int>& columns) {
    engine.AddTableRow(rowText(cells, columns, format.codes), engine.GetTextHeight() + format.heightAddition,
                       format.fill, false, true, true);
}

void printHeadings(PrintEngine& engine, const ReportLayout& layout, const ReportFooter& footer, int page,
                   int pages) {
    const PrintEngine::PageSize size = engine.GetPageSize();
    const int middle = int(size.width / 2);
    setFont(engine, {10, false, false});
    engine.PrintText(footerText(footer, layout.pageLabelBlanks, page, pages), middle, int(size.height) - 100,
                     PrintEngine::CentredOnX);
    engine.SetTableOption1(false);
    engine.SetTableOption2(false);
    engine.SetTableColor1(kWhite);
    engine.SetTableColor2(layout.colour);
    setFont(engine, {14, true, false});
    engine.PrintText(layout.title, middle, 10, PrintEngine::CentredOnX);
    for (const ReportHeadingLine& line : layout.headingLines) {
        setFont(engine, line.font);
        engine.PrintText(line.text, middle, line.top, PrintEngine::CentredOnX);
    }
}

void printFrame(PrintEngine& engine, const ReportLayout& layout, const ReportFooter& footer, int page,
                int pages) {
    printHeadings(engine, layout, footer, page, pages);
    setFont(engine, layout.headingFont);
    engine.SetTableStyle(0);
    engine.SetTableFrame(true);
    engine.StartTable(layout.tableHeading, layout.left, layout.top,
                      engine.GetTextHeight() + layout.headingHeightAddition, 0, kHeadingFill,
                      layout.columnWidths, false, true, true);
}

} // namespace

ReportFooter ReportFooter::fromSettings(const Settings& settings) {
    return {settings.value(AuthorityDetails::name), settings.value(AuthorityDetails::department),
            settings.value(AuthorityDetails::postcode), settings.value(AuthorityDetails::town)};
}

// One page: the headings and footer of the reports, below them the pictures side by side.
void buildChartPage(PrintEngine& engine, const ReportLayout& layout, const ListSnapshot& snapshot,
                    const ReportFooter& footer) {
    printHeadings(engine, layout, footer, 1, 1);
    const PrintEngine::PageSize size = engine.GetPageSize();
    const int count = int(snapshot.pictures.size());
    if (count == 0)
        return;
    constexpr int gap = 60;
    const int width = (int(size.width) - 2 * layout.left - (count - 1) * gap) / count;
    const int height = int(size.height) - layout.top - 200;
    for (int i = 0; i < count; ++i)
        engine.PrintPicture(snapshot.pictures.at(i), layout.left + i * (width + gap), layout.top, width,
                            height);
}

void buildReport(PrintEngine& engine, const ListSnapshot& snapshot, const ReportFooter& footer) {
    if (snapshot.kind == ListSnapshot::Kind::PaymentOrder ||
        snapshot.kind == ListSnapshot::Kind::WithholdingStatement)
        return PaymentOrderReport::build(engine, snapshot, footer);
    const ReportLayout layout = ReportLayout::forSnapshot(snapshot);
    if (snapshot.kind == ListSnapshot::Kind::Charts)
        return buildChartPage(engine, layout, snapshot, footer);
    const qsizetype rows = snapshot.rows.size();
    const QList<qsizetype> pageRows = rowsOnPages(rows, layout);
    const int pages = int(pageRows.size());
    qsizetype next = 0;
    for (int page = 1; page <= pages; ++page) {
        printFrame(engine, layout, footer, page, pages);
        if (!layout.totalsRow)
            setFont(engine, layout.row.font);
        const qsizetype end = next + pageRows.at(page - 1);
        for (; next < end; ++next) {
            const QStringList& cells = snapshot.rows.at(next);
            if (!layout.totalsRow) {
                addRow(engine, layout.row, cells, layout.columns);
                continue;
            }
            const ReportRowFormat& format = next >= rows - layout.totalsRows ? *layout.totalsRow : layout.row;
            setFont(engine, format.font);
            addRow(engine, format, cells, layout.columns);
        }
        if (next < rows) {
            engine.EndTable();
            engine.NewPage();
        }
    }
}

QString proposedPdfFileName(ListSnapshot::Kind kind) {
    switch (kind) {
    case ListSnapshot::Kind::Payments:
        return QStringLiteral("Zelvora.pdf");
    case ListSnapshot::Kind::CompanyEstimates:
        return QStringLiteral("Firma.pdf");
    case ListSnapshot::Kind::Evaluation:
        return QStringLiteral("Auswertung_Filter.pdf");
    case ListSnapshot::Kind::CostReport:
        return QStringLiteral("Kostenbericht.pdf");
    case ListSnapshot::Kind::CompanyList:
        return QStringLiteral("Firmenliste.pdf");
    case ListSnapshot::Kind::Charts:
        return QStringLiteral("Diagramme.pdf");
    case ListSnapshot::Kind::Invoice:
        return QStringLiteral("E-Rechnung.pdf");
    case ListSnapshot::Kind::Journal:
        return QStringLiteral("Aenderungsprotokoll.pdf");
    case ListSnapshot::Kind::SignOffs:
        return QStringLiteral("Anordnungen.pdf");
    case ListSnapshot::Kind::PaymentOrder:
        return QStringLiteral("Auszahlungsanordnung.pdf");
    case ListSnapshot::Kind::Withholdings:
        return QStringLiteral("Bauabzugsteuer.pdf");
    case ListSnapshot::Kind::WithholdingStatement:
        return QStringLiteral("Bauabzugsteuer_Abrechnung.pdf");
    case ListSnapshot::Kind::Due:
        return QStringLiteral("Faelligkeiten.pdf");
    case ListSnapshot::Kind::Securities:
        return QStringLiteral("Sicherheiten.pdf");
    }
    return QStringLiteral("Zelvora.pdf");
}
