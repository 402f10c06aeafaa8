#include "ExportFormat.h"

#include <QRegularExpression>
#include <QStringList>

namespace {
using Kind = ListSnapshot::Kind;

const QString kLineEnd = QStringLiteral("\r\n");

// The column headings of each kind: they name the list's columns written, from the first on.
QStringList columnHeadings(Kind kind) {
    switch (kind) {
    case Kind::Payments:
        return {QStringLiteral("Nr.:"),         QStringLiteral("Firma"),
                QStringLiteral("Gewerk"),       QStringLiteral("Anweisung vom"),
                QStringLiteral("Rechnung vom"), QStringLiteral("Rechnungs-Nr.:"),
                QStringLiteral("Zahlungsart"),  QStringLiteral("Kostengruppe"),
                QStringLiteral("Betrag"),       QStringLiteral("Bemerkungen")};
    case Kind::CompanyEstimates:
        return {QStringLiteral("LNr.:"),
                QStringLiteral("Architekt Datum"),
                QStringLiteral("Architekt Betrag"),
                QStringLiteral(" xxx "),
                QStringLiteral("Aufträge Datum"),
                QStringLiteral("Aufträge Art"),
                QStringLiteral("Aufträge Betrag")};
    case Kind::Evaluation:
        return {QStringLiteral("LNr.:"),        QStringLiteral("Firma"),
                QStringLiteral("Gewerk"),       QStringLiteral("Anweisung vom"),
                QStringLiteral("Rechnung vom"), QStringLiteral("Zahlungsart"),
                QStringLiteral("Kostengruppe"), QStringLiteral("Angew. Betrag")};
    case Kind::CostReport:
        return {QStringLiteral("LNr.:"),
                QStringLiteral("Firma"),
                QStringLiteral("Gewerk"),
                QStringLiteral("Kostengruppe"),
                QStringLiteral("Kostenberechnung"),
                QStringLiteral("Kostenanschlag"),
                QStringLiteral("Nachträge"),
                QStringLiteral("Kostenfeststellung"),
                QStringLiteral("Abrechnungssumme"),
                QStringLiteral("Abweichung Euro"),
                QStringLiteral("Abweichung %")};
    case Kind::Journal:
        return {QStringLiteral("Nr."),          QStringLiteral("Zeit"),    QStringLiteral("Benutzer"),
                QStringLiteral("Arbeitsplatz"), QStringLiteral("Tabelle"), QStringLiteral("Zeile"),
                QStringLiteral("Projekt"),      QStringLiteral("Aktion"),  QStringLiteral("Vorgang"),
                QStringLiteral("Anzahl"),       QStringLiteral("Feld"),    QStringLiteral("Alt"),
                QStringLiteral("Neu")};
    case Kind::SignOffs:
        return {QStringLiteral("Projekt"),      QStringLiteral("Nr."),
                QStringLiteral("Firma"),        QStringLiteral("Rechnungs-Nr."),
                QStringLiteral("Rechnung vom"), QStringLiteral("Betrag"),
                QStringLiteral("Status"),       QStringLiteral("Erfasst von"),
                QStringLiteral("Erfasst am"),   QStringLiteral("Festgestellt von")};
    case Kind::Withholdings:
        return {QStringLiteral("Monat"),        QStringLiteral("Finanzamt"),
                QStringLiteral("Fällig am"),    QStringLiteral("Projekt"),
                QStringLiteral("Nr."),          QStringLiteral("Firma"),
                QStringLiteral("Rechnung vom"), QStringLiteral("Rechnungsbetrag"),
                QStringLiteral("Zahlung am"),   QStringLiteral("Brutto"),
                QStringLiteral("Einbehalten")};
    case Kind::Due:
        return {QStringLiteral("Projekt"),       QStringLiteral("Nr."),         QStringLiteral("Firma"),
                QStringLiteral("Rechnungs-Nr."), QStringLiteral("Zahlungsart"), QStringLiteral("Eingang"),
                QStringLiteral("Fällig am"),     QStringLiteral("Tage"),        QStringLiteral("Skonto bis"),
                QStringLiteral("Skonto"),        QStringLiteral("Zinsen"),      QStringLiteral("Betrag")};
    case Kind::Securities:
        return {QStringLiteral("Firma"),       QStringLiteral("Art"),         QStringLiteral("Vereinbart"),
                QStringLiteral("Einbehalten"), QStringLiteral("Form"),        QStringLiteral("Betrag"),
                QStringLiteral("Bürge"),       QStringLiteral("Urkunde-Nr."), QStringLiteral("Erhalten am"),
                QStringLiteral("Rückgabe am"), QStringLiteral("Zurück am"),   QStringLiteral("Hinweis")};
    case Kind::CompanyList:
    case Kind::Charts:
    case Kind::Invoice:
    case Kind::PaymentOrder:
    case Kind::WithholdingStatement:
        break;
    }
    return {};
}

// The evaluation's criterion line, from the first criterion the snapshot names; empty when it names none.
QString criterionLine(const ListSnapshot& snapshot) {
    for (const char* criterion : {"Firma", "Gewerk", "Kostengruppe", "Jahr der Anweisung"}) {
        const QString name = QString::fromLatin1(criterion);
        for (const auto& [key, value] : snapshot.values) {
            if (key == name)
                return name + QStringLiteral(": ") + value;
        }
    }
    return QString();
}

// The lines above the column headings; an empty text stands for the empty line.
QStringList titleLines(const ListSnapshot& snapshot) {
    const QString project = snapshot.value(QStringLiteral("Projekt"));
    switch (snapshot.kind) {
    case Kind::Payments:
        return {QStringLiteral("Zelvora, gesamte Maßnahme  -  Projekt: ") + project +
                    QStringLiteral("  -  Gesamtsumme: ") + snapshot.value(QStringLiteral("Gesamtsumme")) +
                    QStringLiteral(" Euro"),
                QString()};
    case Kind::CompanyEstimates:
        return {QStringLiteral("Kostenberechnung, Aufträge, Kostenanschläge  -  Projekt: ") + project +
                    QStringLiteral("  -  Gesamtsumme: ") + snapshot.value(QStringLiteral("Gesamtsumme")) +
                    QStringLiteral(" Euro"),
                QStringLiteral("Firma: ") + snapshot.value(QStringLiteral("Firma")) +
                    QStringLiteral(" - Gewerk: ") + snapshot.value(QStringLiteral("Gewerk")) +
                    QStringLiteral(" - Kostengruppe: ") + snapshot.value(QStringLiteral("Kostengruppe")),
                QString()};
    case Kind::Evaluation: {
        QStringList lines{QStringLiteral("Auswertung / Filter  -  Projekt: ") + project +
                          QStringLiteral("  -  Teilsumme: ") + snapshot.value(QStringLiteral("Teilsumme")) +
                          QStringLiteral(" Euro")};
        QString criterion = criterionLine(snapshot);
        for (const auto& [key, value] : snapshot.values)
            if (key == u"Status")
                criterion += (criterion.isEmpty() ? QString() : QStringLiteral(" - ")) +
                             QStringLiteral("Status: ") + value;
        if (!criterion.isEmpty())
            lines.append(criterion);
        lines.append(QString());
        return lines;
    }
    case Kind::CostReport:
        return {QStringLiteral("Kostenbericht   -  Projekt: ") + project, QString()};
    case Kind::Journal:
        return {QStringLiteral("Änderungsprotokoll  -  Filter: ") + snapshot.value(QStringLiteral("Filter")),
                QString()};
    case Kind::SignOffs:
        return {QStringLiteral("Anordnungen  -  Buchungen, die auf Feststellung oder Anordnung durch ") +
                    snapshot.value(QStringLiteral("Benutzer")) + QStringLiteral(" warten"),
                QString()};
    case Kind::Withholdings:
        return {QStringLiteral("Bauabzugsteuer  -  Jahr: ") + snapshot.value(QStringLiteral("Jahr")) +
                    QStringLiteral("  -  einbehalten: ") + snapshot.value(QStringLiteral("Summe")) +
                    QStringLiteral(" Euro"),
                QString()};
    case Kind::Due:
        return {QStringLiteral("Fälligkeiten  -  ") + snapshot.value(QStringLiteral("Projekt")) +
                    QStringLiteral("  -  Zeitraum: ") + snapshot.value(QStringLiteral("Zeitraum")) +
                    QStringLiteral("  -  Stand ") + snapshot.value(QStringLiteral("Stichtag")),
                QString()};
    case Kind::Securities:
        return {QStringLiteral("Sicherheiten  -  Projekt: ") + project + QStringLiteral("  -  Anzeigen: ") +
                    snapshot.value(QStringLiteral("Filter")),
                QString()};
    case Kind::CompanyList:
    case Kind::Charts:
    case Kind::Invoice:
    case Kind::PaymentOrder:
    case Kind::WithholdingStatement:
        break;
    }
    return {};
}

// The columns of each kind that hold numbers the program wrote itself (amounts, the cost report's
// percentages), counted from the first column written.
QList<int> numberColumns(Kind kind) {
    switch (kind) {
    case Kind::Payments:
        return {8};
    case Kind::CompanyEstimates:
        return {2, 6};
    case Kind::Evaluation:
        return {7};
    case Kind::CostReport:
        return {4, 5, 6, 7, 8, 9, 10};
    case Kind::Journal:
        return {11, 12};
    case Kind::SignOffs:
        return {5};
    case Kind::Withholdings:
        return {7, 9, 10};
    case Kind::Due:
        return {7, 9, 10, 11};
    case Kind::Securities:
        return {2, 3, 5};
    case Kind::CompanyList:
    case Kind::Charts:
    case Kind::Invoice:
    case Kind::PaymentOrder:
    case Kind::WithholdingStatement:
        break;
    }
    return {};
}

// A number as the program writes it in German notation ("-1.234,50", "-35,31").
bool isGermanNumber(const QString& value) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]{1,3}(\\.[0-9]{3})*(,[0-9]+)?$"));
    return number.match(value).hasMatch();
}

// A spreadsheet program reads a value beginning with one of these as a formula.
bool startsLikeFormula(QStringView value) {
    if (value.isEmpty())
        return false;
    const char16_t first = value.front().unicode();
    return first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' ||
           first == u'\r';
}

bool needsQuotes(QStringView value, QStringView separator) {
    if (separator.size() != 1)
        return (!separator.isEmpty() && value.contains(separator)) || value.contains(QLatin1Char('"')) ||
               value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'));
    const char16_t own = separator.front().unicode();
    for (const QChar character : value) {
        const char16_t c = character.unicode();
        if (c == own || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

void appendField(QString& text, const QString& value, const QString& separator) {
    if (!needsQuotes(value, separator)) {
        text += value;
        return;
    }
    text += QLatin1Char('"');
    for (const QChar character : value) {
        if (character == QLatin1Char('"'))
            text += character;
        text += character;
    }
    text += QLatin1Char('"');
}

void appendLine(QString& text, const QStringList& values, qsizetype count, const QString& separator,
                const QList<int>& numbers = {}) {
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            text += separator;
        if (i >= values.size())
            continue;
        const QString& value = values.at(i);
        if (startsLikeFormula(value) && !(numbers.contains(int(i)) && isGermanNumber(value)))
            appendField(text, QLatin1Char('\'') + value, separator);
        else
            appendField(text, value, separator);
    }
    text += kLineEnd;
}
} // namespace

bool ExportFormat::isExported(ListSnapshot::Kind kind) {
    return !proposedFileName(kind).isEmpty();
}

QString ExportFormat::proposedFileName(ListSnapshot::Kind kind) {
    switch (kind) {
    case Kind::Payments:
        return QStringLiteral("Zelvora");
    case Kind::CompanyEstimates:
        return QStringLiteral("Firma");
    case Kind::Evaluation:
        return QStringLiteral("Auswertung_Filter");
    case Kind::CostReport:
        return QStringLiteral("Kostenbericht");
    case Kind::Journal:
        return QStringLiteral("Aenderungsprotokoll");
    case Kind::SignOffs:
        return QStringLiteral("Anordnungen");
    case Kind::Withholdings:
        return QStringLiteral("Bauabzugsteuer");
    case Kind::Due:
        return QStringLiteral("Faelligkeiten");
    case Kind::Securities:
        return QStringLiteral("Sicherheiten");
    case Kind::CompanyList:
    case Kind::Charts:
    case Kind::Invoice:
    case Kind::PaymentOrder:
    case Kind::WithholdingStatement:
        break;
    }
    return QString();
}

QString ExportFormat::field(const QString& value, const QString& separator) {
    QString text;
    appendField(text, value, separator);
    return text;
}

QString ExportFormat::text(const ListSnapshot& snapshot, const QString& separator) {
    QString text;
    // Room for the rows as long as the first one, so that the text rarely grows in steps.
    if (!snapshot.rows.isEmpty()) {
        qsizetype first = 0;
        for (const QString& value : snapshot.rows.constFirst())
            first += value.size() + separator.size();
        text.reserve((first + kLineEnd.size()) * (snapshot.rows.size() + 1) + 512);
    }
    for (const QString& line : titleLines(snapshot)) {
        appendField(text, line, separator);
        text += kLineEnd;
    }
    const QStringList headings = columnHeadings(snapshot.kind);
    appendLine(text, headings, headings.size(), separator);
    const QList<int> numbers = numberColumns(snapshot.kind);
    for (const QStringList& row : snapshot.rows)
        appendLine(text, row, headings.size(), separator, numbers);
    return text;
}
