#include "Reports.h"

#include "AuthorityDetails.h"
#include "PrintEngine.h"
#include "ReportLayout.h"

namespace {

const QString kFontName = QStringLiteral("Arial");
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kHeadingFill = 0xE0E0E0;

void setFont(PrintEngine& engine, const ReportFont& font) {
    engine.SetFont(kFontName, font.size, font.bold, font.italic, false);
}

int pageCount(qsizetype rows, int rowsPerPage) {
    return qMax(1, int((rows + rowsPerPage - 1) / rowsPerPage));
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

void printFrame(PrintEngine& engine, const ReportLayout& layout, const ReportFooter& footer, int page,
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

void buildReport(PrintEngine& engine, const ListSnapshot& snapshot, const ReportFooter& footer) {
    const ReportLayout layout = ReportLayout::forSnapshot(snapshot);
    const qsizetype rows = snapshot.rows.size();
    const int pages = pageCount(rows, layout.rowsPerPage);
    qsizetype next = 0;
    for (int page = 1; page <= pages; ++page) {
        printFrame(engine, layout, footer, page, pages);
        if (!layout.totalsRow)
            setFont(engine, layout.row.font);
        const qsizetype end = qMin(rows, next + layout.rowsPerPage);
        for (; next < end; ++next) {
            const QStringList& cells = snapshot.rows.at(next);
            if (!layout.totalsRow) {
                addRow(engine, layout.row, cells, layout.columns);
                continue;
            }
            const ReportRowFormat& format = next == rows - 1 ? *layout.totalsRow : layout.row;
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
    }
    return QStringLiteral("Zelvora.pdf");
}
