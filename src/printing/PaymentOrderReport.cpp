#include "PaymentOrderReport.h"

#include "PrintEngine.h"
#include "Reports.h"

namespace {
const QString kFontName = QStringLiteral("Arial");
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kHeadingFill = 0xE0E0E0;
constexpr quint32 kLineColour = 0x9C6E3A;
constexpr int kLeft = 150;
constexpr int kLineHeight = 50;
const QList<int> kColumnWidths{640, 1160};

QString footerLine(const ReportFooter& footer, int page, int pages) {
    const QString four(4, QLatin1Char(' '));
    return footer.authority + four + footer.department + four + footer.postcode + QLatin1Char(' ') +
           footer.town + QString(16, QLatin1Char(' ')) +
           QStringLiteral("Seite %1 von %2").arg(page).arg(pages);
}

// The letterhead's lines: each given value on a line of its own, postcode and town together, district and
// region named so.
QStringList letterhead(const ListSnapshot& snapshot) {
    QStringList lines;
    QString place;
    for (const QString& name : PaymentOrderReport::letterheadValues()) {
        const QString text = snapshot.value(name).trimmed();
        if (name == u"PLZ" || name == u"Ort") {
            place = (place + QLatin1Char(' ') + text).trimmed();
            if (name == u"Ort" && !place.isEmpty())
                lines.append(place);
            continue;
        }
        if (text.isEmpty())
            continue;
        lines.append(name == u"Landkreis" || name == u"Bezirk" ? name + QLatin1Char(' ') + text : text);
    }
    return lines;
}

void printPage(PrintEngine& engine, const ListSnapshot& snapshot, const QStringList& order,
               const ReportFooter& footer, int page, int pages) {
    const PrintEngine::PageSize size = engine.GetPageSize();
    const int middle = int(size.width / 2);
    engine.SetFont(kFontName, 10, false, false, false);
    engine.PrintText(footerLine(footer, page, pages), middle, int(size.height) - 100,
                     PrintEngine::CentredOnX);
    int top = 10;
    engine.SetFont(kFontName, 11, true, false, false);
    for (const QString& line : letterhead(snapshot)) {
        engine.PrintText(line, middle, top, PrintEngine::CentredOnX);
        top += kLineHeight;
    }
    top += 40;
    engine.SetFont(kFontName, 16, true, false, false);
    if (snapshot.kind == ListSnapshot::Kind::WithholdingStatement) {
        engine.PrintText(QStringLiteral("Abrechnung über den Steuerabzug bei Bauleistungen"), middle, top,
                         PrintEngine::CentredOnX);
        top += 90;
        engine.SetFont(kFontName, 10, false, false, false);
        engine.PrintText(QStringLiteral("(§48a Abs. 2 EStG)"), middle, top, PrintEngine::CentredOnX);
        top += 90;
    } else {
        engine.PrintText(QStringLiteral("Auszahlungsanordnung"), middle, top, PrintEngine::CentredOnX);
        top += 120;
    }

    engine.SetTableOption1(false);
    engine.SetTableOption2(false);
    engine.SetTableColor1(kWhite);
    engine.SetTableColor2(kLineColour);
    engine.SetTableStyle(0);
    engine.SetTableFrame(true);
    engine.SetFont(kFontName, 10, true, false, false);
    engine.StartTable(QStringLiteral("L Angabe|L Inhalt"), kLeft, top, engine.GetTextHeight() + 40, 0,
                      kHeadingFill, kColumnWidths, false, true, true);
    engine.SetFont(kFontName, 10, false, false, false);
    for (int field = 0; field < snapshot.headings.size(); ++field)
        engine.AddTableRow(QStringLiteral("L ") + snapshot.headings.at(field) + QStringLiteral("|L ") +
                               order.value(field),
                           engine.GetTextHeight() + 40, kWhite, false, true, true);
}
} // namespace

const QStringList& PaymentOrderReport::letterheadValues() {
    static const QStringList names{QStringLiteral("Behörde"),   QStringLiteral("Abteilung"),
                                   QStringLiteral("PLZ"),       QStringLiteral("Ort"),
                                   QStringLiteral("Landkreis"), QStringLiteral("Bezirk")};
    return names;
}

void PaymentOrderReport::build(PrintEngine& engine, const ListSnapshot& snapshot,
                               const ReportFooter& footer) {
    const int pages = int(qMax<qsizetype>(1, snapshot.rows.size()));
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) {
            engine.EndTable();
            engine.NewPage();
        }
        printPage(engine, snapshot, snapshot.rows.value(page - 1), footer, page, pages);
    }
}
