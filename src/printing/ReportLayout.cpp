#include "ReportLayout.h"

namespace {

const ReportFont kLineFont{10, true, false};
const ReportFont kSumFont{12, true, false};
const ReportFont kRowFont{9, false, false};
const QString kEuro = QStringLiteral(" Euro");

ReportHeadingLine projectLine(const ListSnapshot& snapshot) {
    return {QStringLiteral("Projekt: ") + snapshot.value(QStringLiteral("Projekt")), 80, kLineFont};
}

ReportLayout payments(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 19;
    layout.pageLabelBlanks = 16;
    layout.title = QStringLiteral("Zelvora, gesamte Maßnahme");
    layout.headingLines = {
        projectLine(snapshot),
        {QStringLiteral("Gesamtsumme: ") + snapshot.value(QStringLiteral("Gesamtsumme")) + kEuro, 140,
         kLineFont}};
    layout.tableHeading =
        QStringLiteral("m LfdNr:|m Firma|m Gewerk|m Anweisung vom|m Rechnung vom|m Rechnungs Nr.|"
                       "m Zahlungsart|m Kostengruppe|m Betrag in Euro|m Bemerkungen");
    layout.left = 50;
    layout.top = 210;
    layout.columnWidths = {130, 300, 300, 190, 190, 180, 350, 450, 220, 450};
    layout.columns = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    layout.row = {kRowFont, 40, 0xFFFFFF, {"m ", "L", "L", "R", "R", "L", "L", "L", "R", "L"}};
    return layout;
}

ReportLayout companyEstimates(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 18;
    layout.pageLabelBlanks = 14;
    layout.title = QStringLiteral("Kostenberechnung, Nachtragsübersicht, Aufträge");
    layout.headingLines = {projectLine(snapshot),
                           {QStringLiteral("Firma: ") + snapshot.value(QStringLiteral("Firma")) +
                                QStringLiteral("  ") + snapshot.value(QStringLiteral("Sitz")) +
                                QStringLiteral("    Gewerk: ") + snapshot.value(QStringLiteral("Gewerk")) +
                                QStringLiteral("    Kostengruppe: ") +
                                snapshot.value(QStringLiteral("Kostengruppe")),
                            150, kLineFont},
                           {QStringLiteral("Summe Kostenberechnung Architekt: ") +
                                snapshot.value(QStringLiteral("Summe Kostenberechnung Architekt")) + kEuro +
                                QStringLiteral("       Summe Aufträge, Kostenanschläge: ") +
                                snapshot.value(QStringLiteral("Summe Aufträge, Kostenanschläge")) + kEuro,
                            210, kSumFont}};
    layout.tableHeading =
        QStringLiteral("m LfdNr:|m Datum (Architekt)|m Betrag (Architekt)||m Datum (Aufträge)|"
                       "m Auftragsart|m Betrag (Aufträge)");
    layout.left = 150;
    layout.top = 290;
    layout.columnWidths = {130, 300, 300, 500, 300, 450, 300};
    layout.columns = {0, 1, 2, 3, 4, 5, 6};
    layout.row = {kRowFont, 40, 0xFFFFFF, {"m ", "L", "R", "R", "L", "L", "R"}};
    return layout;
}

std::optional<QString> valueIfGiven(const ListSnapshot& snapshot, const QString& name) {
    for (const auto& [key, text] : snapshot.values)
        if (key == name)
            return text;
    return std::nullopt;
}

// The evaluation's criterion line: the one criterion the snapshot names, in the order company, trade,
// cost group, year; empty when none is chosen.
QString criterionLine(const ListSnapshot& snapshot) {
    if (const auto company = valueIfGiven(snapshot, QStringLiteral("Firma")))
        return QStringLiteral("Firma: ") + *company + QStringLiteral("   ") +
               snapshot.value(QStringLiteral("Sitz"));
    for (const QString& name :
         {QStringLiteral("Gewerk"), QStringLiteral("Kostengruppe"), QStringLiteral("Jahr der Anweisung")}) {
        if (const auto text = valueIfGiven(snapshot, name))
            return name + QStringLiteral(": ") + *text;
    }
    return QString();
}

ReportLayout evaluation(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 17;
    layout.pageLabelBlanks = 17;
    layout.title = QStringLiteral("Übersicht über die Ausgaben");
    layout.headingLines = {projectLine(snapshot)};
    QString criterion = criterionLine(snapshot);
    if (const auto state = valueIfGiven(snapshot, QStringLiteral("Status")))
        criterion +=
            (criterion.isEmpty() ? QString() : QStringLiteral("   ")) + QStringLiteral("Status: ") + *state;
    if (!criterion.isEmpty())
        layout.headingLines.append({criterion, 140, kLineFont});
    layout.headingLines.append(
        {QStringLiteral("Teilsumme: ") + snapshot.value(QStringLiteral("Teilsumme")) + kEuro, 200, kSumFont});
    layout.tableHeading =
        QStringLiteral("m LfdNr:|m Firma|m Gewerk|m Anweisung vom|m Rechnung vom|m Zahlungsart|"
                       "m Kostengruppe|m Betrag in Euro");
    layout.left = 50;
    layout.top = 280;
    layout.columnWidths = {130, 400, 400, 200, 200, 450, 550, 300};
    layout.columns = {0, 1, 2, 3, 4, 5, 6, 7};
    layout.row = {kRowFont, 40, 0xFFFFFF, {"m ", "L", "L", "R", "R", "L", "L", "R"}};
    return layout;
}

ReportLayout costReport(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 21;
    layout.pageLabelBlanks = 17;
    layout.colour = 0x00C000;
    layout.title = QStringLiteral("Kostenbericht");
    layout.headingLines = {
        projectLine(snapshot),
        {QStringLiteral("Kostenbericht in Euro, alle Angaben incl. MwSt."), 130, {8, false, false}}};
    const QString twoReturns(2, QChar(13));
    layout.tableHeading =
        QStringLiteral("m LNr:|m Firma|m Gewerk|m Kosten- gruppe|m Kostenberechnung Architekt|"
                       "m Kostenanschlag Vergabesumme|m Nachträge|m Kosten- feststellung|"
                       "m Abrechnung Summe|m Abweichung") +
        twoReturns + QStringLiteral("Euro|m Abweichung") + twoReturns + QStringLiteral("%");
    layout.headingHeightAddition = 80;
    layout.left = 40;
    layout.top = 170;
    layout.columnWidths = {105, 340, 300, 130, 320, 320, 300, 260, 260, 220, 200};
    layout.columns = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    layout.row = {{8, false, false}, 40, 0xFFFFFF, {"m ", "L", "L", "L", "R", "R", "R", "R", "R", "R", "R"}};
    layout.totalsRow = ReportRowFormat{
        {8, true, false}, 15, 0xE0E0E0, {"L ", "L", "R", "R", "r", "r", "r", "r", "r", "r", "r"}};
    layout.totalsRows = 4;
    return layout;
}

ReportLayout companyList(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 30;
    layout.pageLabelBlanks = 17;
    layout.title = QStringLiteral("Firmenliste");
    const QString search = snapshot.value(QStringLiteral("Suchtext"));
    layout.headingLines = {{QStringLiteral("Auszug aus der Firmenliste:    Gesetzter Filter = '") +
                                (search.isEmpty() ? QStringLiteral("Kein Filter") : search) +
                                QLatin1Char('\''),
                            80, kLineFont},
                           {snapshot.value(QStringLiteral("Anzahl")), 140, kLineFont}};
    layout.tableHeading = QStringLiteral("m Firma|m Ort|m Gewerk|m Kostengruppe");
    layout.headingFont = {10, true, true};
    layout.left = 50;
    layout.top = 280;
    layout.columnWidths = {500, 480, 450, 480};
    layout.columns = {1, 2, 3, 4};
    layout.row = {kRowFont, 40, 0xFFFFFF, {"L", "L", "L", "L"}};
    return layout;
}

// The page of both charts: the frame of the cost report, the charts in place of its table.
ReportLayout charts(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.pageLabelBlanks = 17;
    layout.colour = 0x00C000;
    layout.title = QStringLiteral("Diagramme");
    layout.headingLines = {
        projectLine(snapshot),
        {QStringLiteral("Kostenbericht und Mittelabfluss in Euro, alle Angaben incl. MwSt."),
         130,
         {8, false, false}}};
    layout.left = 40;
    layout.top = 200;
    return layout;
}

// A heading value in lines no longer than the page is wide, broken between words; a value longer than
// kMostLines lines is cut there.
QStringList wrapped(const QString& text) {
    constexpr qsizetype kLongest = 115;
    constexpr qsizetype kMostLines = 3;
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > kLongest) {
            lines.append(line);
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word.left(kLongest);
    }
    lines.append(line);
    if (lines.size() > kMostLines) {
        lines.resize(kMostLines);
        lines.last() = lines.last().left(kLongest - 1) + QChar(0x2026);
    }
    return lines;
}

// An e-invoice as read: its heading values above, its lines and totals in the table, as many rows on a
// page as fit below the headings on A4 and on Letter paper, in tenths of a millimetre.
ReportLayout invoice(const ListSnapshot& snapshot) {
    constexpr int kPageHeight = 2794;
    constexpr int kFooterSpace = 260;
    constexpr int kLineHeight = 45;
    constexpr int kRowHeight = 65;
    ReportLayout layout;
    layout.pageLabelBlanks = 16;
    layout.title = QStringLiteral("E-Rechnung");
    int top = 70;
    for (const auto& [name, text] : snapshot.values) {
        for (const QString& line : wrapped(name + QStringLiteral(": ") + text.simplified())) {
            layout.headingLines.append({line, top, {9, false, false}});
            top += kLineHeight;
        }
    }
    layout.tableHeading =
        QStringLiteral("m Pos.|m Bezeichnung|m Menge|m Einheit|m Einzelpreis|m USt %|m Betrag netto");
    layout.left = 100;
    layout.top = top + 20;
    // Below the table's heading row.
    layout.rowsPerPage = qMax(5, (kPageHeight - kFooterSpace - layout.top - kRowHeight) / kRowHeight);
    layout.columnWidths = {160, 650, 200, 150, 260, 140, 300};
    layout.columns = {0, 1, 2, 3, 4, 5, 6};
    layout.row = {kRowFont, 30, 0xFFFFFF, {"L", "L", "R", "L", "R", "R", "R"}};
    return layout;
}

// The change journal's entries, one line per changed field, with the filter they were chosen by.
ReportLayout journal(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 24;
    layout.pageLabelBlanks = 16;
    layout.title = QStringLiteral("Änderungsprotokoll");
    layout.headingLines = {
        {QStringLiteral("Filter: ") + snapshot.value(QStringLiteral("Filter")), 80, kLineFont}};
    layout.tableHeading = QStringLiteral("m Nr.|m Zeit|m Benutzer|m Arbeitsplatz|m Tabelle|m Zeile|m Projekt|"
                                         "m Aktion|m Vorgang|m Anzahl|m Feld|m Alt|m Neu");
    layout.left = 40;
    layout.top = 160;
    layout.columnWidths = {110, 260, 180, 180, 170, 100, 100, 170, 170, 90, 200, 440, 440};
    layout.columns = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    layout.row = {
        {8, false, false}, 30, 0xFFFFFF, {"R", "L", "L", "L", "L", "R", "R", "L", "L", "R", "L", "L", "L"}};
    return layout;
}

// The bookings waiting for the login's next step of the sign-off, across projects.
ReportLayout signOffs(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 24;
    layout.pageLabelBlanks = 16;
    layout.title = QStringLiteral("Anordnungen");
    const QString login = snapshot.value(QStringLiteral("Benutzer"));
    layout.headingLines = {
        {QStringLiteral("Buchungen, die auf Feststellung oder Anordnung ") +
             (login.isEmpty() ? QString() : QStringLiteral("durch ") + login + QLatin1Char(' ')) +
             QStringLiteral("warten"),
         80, kLineFont}};
    layout.tableHeading = QStringLiteral("m Projekt|m Nr.|m Firma|m Rechnungs Nr.|m Rechnung vom|"
                                         "m Betrag in Euro|m Status|m Erfasst von|m Erfasst am|"
                                         "m Festgestellt von");
    layout.left = 40;
    layout.top = 160;
    layout.columnWidths = {450, 110, 450, 220, 200, 250, 260, 250, 200, 250};
    layout.columns = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    layout.row = {{8, false, false}, 30, 0xFFFFFF, {"L", "R", "L", "L", "R", "R", "L", "L", "R", "L"}};
    return layout;
}

// The construction withholding tax per month and tax office, with the payments under each.
ReportLayout withholdings(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 24;
    layout.pageLabelBlanks = 16;
    layout.title = QStringLiteral("Bauabzugsteuer");
    layout.headingLines = {{QStringLiteral("Steuerabzug bei Bauleistungen (§48 EStG) im Jahr ") +
                                snapshot.value(QStringLiteral("Jahr")) +
                                QStringLiteral("  -  einbehalten: ") +
                                snapshot.value(QStringLiteral("Summe")) + QStringLiteral(" Euro"),
                            80, kLineFont}};
    layout.tableHeading =
        QStringLiteral("m Monat|m Finanzamt|m Fällig am|m Projekt|m Nr.|m Firma|m Rechnung vom|"
                       "m Rechnungsbetrag|m Zahlung am|m Brutto|m Einbehalten");
    layout.left = 40;
    layout.top = 160;
    layout.columnWidths = {170, 330, 200, 400, 110, 420, 200, 250, 200, 250, 250};
    layout.columns = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    layout.row = {{8, false, false}, 30, 0xFFFFFF, {"L", "L", "R", "L", "R", "L", "R", "R", "R", "R", "R"}};
    return layout;
}

// The received invoices waiting for payment, by due day, with the filter and the day they were looked at.
ReportLayout due(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 24;
    layout.pageLabelBlanks = 16;
    layout.title = QStringLiteral("Fälligkeiten");
    layout.headingLines = {
        {QStringLiteral("Offene Rechnungen  -  ") + snapshot.value(QStringLiteral("Projekt")) +
             QStringLiteral("  -  Zeitraum: ") + snapshot.value(QStringLiteral("Zeitraum")) +
             QStringLiteral("  -  Stand ") + snapshot.value(QStringLiteral("Stichtag")) +
             QStringLiteral("  -  Basiszinssatz ") + snapshot.value(QStringLiteral("Basiszinssatz")),
         80, kLineFont}};
    layout.tableHeading =
        QStringLiteral("m Projekt|m Nr.|m Firma|m Rechnungs Nr.|m Zahlungsart|m Eingang|"
                       "m Fällig am|m Tage|m Skonto bis|m Skonto|m Zinsen|m Betrag in Euro");
    layout.left = 40;
    layout.top = 160;
    layout.columnWidths = {360, 100, 360, 200, 300, 190, 190, 100, 190, 200, 190, 240};
    layout.columns = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    layout.row = {
        {8, false, false}, 30, 0xFFFFFF, {"L", "R", "L", "L", "L", "R", "R", "R", "R", "R", "R", "R"}};
    return layout;
}

// A project's securities per company and kind, with the filter shown.
ReportLayout securities(const ListSnapshot& snapshot) {
    ReportLayout layout;
    layout.rowsPerPage = 24;
    layout.pageLabelBlanks = 16;
    layout.title = QStringLiteral("Sicherheiten");
    layout.headingLines = {
        projectLine(snapshot),
        {QStringLiteral("Anzeigen: ") + snapshot.value(QStringLiteral("Filter")), 130, kLineFont}};
    layout.tableHeading = QStringLiteral("m Firma|m Art|m Vereinbart|m Einbehalten|m Form|m Betrag|m Bürge|"
                                         "m Urkunde-Nr.|m Erhalten am|m Rückgabe am|m Zurück am|m Hinweis");
    layout.left = 40;
    layout.top = 200;
    layout.columnWidths = {420, 250, 220, 220, 180, 220, 330, 220, 180, 180, 180, 300};
    layout.columns = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    layout.row = {
        {8, false, false}, 30, 0xFFFFFF, {"L", "L", "R", "R", "L", "R", "L", "L", "R", "R", "R", "L"}};
    return layout;
}

} // namespace

ReportLayout ReportLayout::forSnapshot(const ListSnapshot& snapshot) {
    switch (snapshot.kind) {
    case ListSnapshot::Kind::Payments:
        return payments(snapshot);
    case ListSnapshot::Kind::CompanyEstimates:
        return companyEstimates(snapshot);
    case ListSnapshot::Kind::Evaluation:
        return evaluation(snapshot);
    case ListSnapshot::Kind::CostReport:
        return costReport(snapshot);
    case ListSnapshot::Kind::CompanyList:
        return companyList(snapshot);
    case ListSnapshot::Kind::Charts:
        return charts(snapshot);
    case ListSnapshot::Kind::Invoice:
        return invoice(snapshot);
    case ListSnapshot::Kind::Journal:
        return journal(snapshot);
    case ListSnapshot::Kind::SignOffs:
        return signOffs(snapshot);
    case ListSnapshot::Kind::Withholdings:
        return withholdings(snapshot);
    case ListSnapshot::Kind::Due:
        return due(snapshot);
    case ListSnapshot::Kind::Securities:
        return securities(snapshot);
    case ListSnapshot::Kind::PaymentOrder:
    case ListSnapshot::Kind::WithholdingStatement:
        // Laid out order by order by PaymentOrderReport.
        break;
    }
    return payments(snapshot);
}
