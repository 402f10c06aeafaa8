#include "InvoicePresentation.h"

#include <QRegularExpression>

namespace {

QString amountText(const std::optional<InvoiceAmount>& amount) {
    return amount ? amount->toGerman() : QString();
}

QString partyLines(const InvoiceParty& party) {
    QStringList lines{party.name};
    if (!party.tradingName.isEmpty() && party.tradingName != party.name)
        lines.append(party.tradingName);
    for (const QString& line : {party.street, party.streetExtra})
        if (!line.isEmpty())
            lines.append(line);
    lines.append((party.postcode + u' ' + party.town).trimmed() +
                 (party.country.isEmpty() || party.country == QLatin1String("DE")
                      ? QString()
                      : QStringLiteral(" (") + party.country + u')'));
    if (!party.vatNumber.isEmpty())
        lines.append(QStringLiteral("USt-IdNr.: ") + party.vatNumber);
    if (!party.taxNumber.isEmpty())
        lines.append(QStringLiteral("Steuernummer: ") + party.taxNumber);
    QStringList contact;
    for (const QString& item : {party.contact, party.phone, party.email})
        if (!item.isEmpty())
            contact.append(item);
    if (!contact.isEmpty())
        lines.append(QStringLiteral("Kontakt: ") + contact.join(QStringLiteral(", ")));
    lines.removeAll(QString());
    return lines.join(u'\n');
}

QString escapedLines(const QString& text) {
    return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
}

// The totals as label and amount, in the order of the invoice.
QList<QPair<QString, QString>> totals(const Invoice& invoice) {
    QList<QPair<QString, QString>> rows;
    const auto add = [&rows](const QString& label, const std::optional<InvoiceAmount>& amount) {
        if (amount)
            rows.append({label, amount->toGerman()});
    };
    add(QStringLiteral("Summe der Positionen"), invoice.lineTotal);
    add(QStringLiteral("Nachlässe"), invoice.allowances);
    add(QStringLiteral("Zuschläge"), invoice.charges);
    add(QStringLiteral("Gesamtbetrag netto"), invoice.netTotal);
    for (const InvoiceVat& vat : invoice.vat)
        rows.append(
            {QStringLiteral("Umsatzsteuer %1 % (%2) auf %3")
                 .arg(amountText(vat.rate), Invoice::vatCategoryName(vat.category), amountText(vat.basis)),
             amountText(vat.amount)});
    add(QStringLiteral("Umsatzsteuer gesamt"), invoice.vatTotal);
    add(QStringLiteral("Gesamtbetrag brutto"), invoice.grossTotal);
    add(QStringLiteral("Vorausbezahlt"), invoice.prepaid);
    add(QStringLiteral("Rundung"), invoice.rounding);
    add(QStringLiteral("Zahlbetrag"), invoice.amountDue);
    return rows;
}

QString paymentText(const Invoice& invoice) {
    QStringList lines;
    if (invoice.dueDate.isValid())
        lines.append(QStringLiteral("Fällig am ") + InvoicePresentation::date(invoice.dueDate));
    for (const InvoiceDiscount& discount : invoice.discounts)
        lines.append(InvoicePresentation::discountText(invoice, discount));
    QString terms = invoice.paymentTerms;
    terms.remove(QRegularExpression(QStringLiteral("#SKONTO#[^\\n]*")));
    if (!terms.trimmed().isEmpty())
        lines.append(terms.trimmed());
    for (const InvoiceAccount& account : invoice.accounts)
        lines.append(QStringLiteral("Konto: IBAN ") + account.iban +
                     (account.bic.isEmpty() ? QString() : QStringLiteral(", BIC ") + account.bic) +
                     (account.name.isEmpty() ? QString() : QStringLiteral(", ") + account.name));
    return lines.join(u'\n');
}

} // namespace

QString InvoicePresentation::date(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QStringLiteral("(fehlt)");
}

QString InvoicePresentation::title(const Invoice& invoice) {
    return Invoice::typeName(invoice.typeCode) + u' ' + invoice.number + QStringLiteral(" vom ") +
           date(invoice.issueDate);
}

QString InvoicePresentation::discountText(const Invoice& invoice, const InvoiceDiscount& discount) {
    QString text = discount.percent.millionths() == 0
                       ? QStringLiteral("Zahlbar ohne Abzug innerhalb von %1 Tagen").arg(discount.days)
                       : QStringLiteral("%1 % Skonto bei Zahlung innerhalb von %2 Tagen")
                             .arg(discount.percent.toGerman())
                             .arg(discount.days);
    if (invoice.issueDate.isValid())
        text += QStringLiteral(" (bis ") + date(invoice.issueDate.addDays(discount.days)) + u')';
    if (discount.basis)
        text += QStringLiteral(" auf ") + discount.basis->toGerman() + QStringLiteral(" Euro");
    return text;
}

bool InvoicePresentation::bookable(const Invoice& invoice) {
    return invoice.currency == QLatin1String("EUR");
}

QList<InvoicePresentation::Check> InvoicePresentation::checksOf(const Invoice& invoice) {
    QList<Check> checks;
    if (invoice.totalsAddUp())
        checks.append(
            {true, QStringLiteral("Die Summen stimmen: Zahlbetrag = Brutto − Vorausbezahlt + Rundung.")});
    else
        checks.append(
            {false, QStringLiteral("Die Summen stimmen nicht: Der Zahlbetrag %1 ist nicht Brutto %2 − "
                                   "Vorausbezahlt %3 + Rundung %4.")
                        .arg(amountText(invoice.amountDue), amountText(invoice.grossTotal),
                             amountText(invoice.prepaid.value_or(InvoiceAmount())),
                             amountText(invoice.rounding.value_or(InvoiceAmount())))});
    if (bookable(invoice))
        checks.append({true, QStringLiteral("Währung: Euro.")});
    else
        checks.append(
            {false, QStringLiteral("Die Rechnung lautet auf die Währung „%1“, nicht auf Euro: Sie kann "
                                   "nicht gebucht werden.")
                        .arg(invoice.currency)});
    if (invoice.buyerReference.isEmpty())
        checks.append({false, QStringLiteral("Die Leitweg-ID fehlt.")});
    else
        checks.append({true, QStringLiteral("Leitweg-ID: ") + invoice.buyerReference});
    if (invoice.amountDue && invoice.amountDue->hasFractionOfCent())
        checks.append(
            {false, QStringLiteral("Der Zahlbetrag %1 hat mehr als zwei Nachkommastellen: Gebucht wird "
                                   "der auf den Cent gerundete Betrag %2.")
                        .arg(invoice.amountDue->toGerman(), invoice.amountDue->toMoney().toGerman())});
    return checks;
}

QStringList InvoicePresentation::lineHeadings() {
    return {QStringLiteral("Pos."),        QStringLiteral("Bezeichnung"), QStringLiteral("Menge"),
            QStringLiteral("Einheit"),     QStringLiteral("Einzelpreis"), QStringLiteral("USt %"),
            QStringLiteral("Betrag netto")};
}

QList<QStringList> InvoicePresentation::lineRows(const Invoice& invoice) {
    QList<QStringList> rows;
    rows.reserve(invoice.lines.size());
    for (const InvoiceLine& line : invoice.lines)
        rows.append({line.id, line.name, amountText(line.quantity), Invoice::unitName(line.unit),
                     amountText(line.price), amountText(line.vatRate), amountText(line.net)});
    return rows;
}

QString InvoicePresentation::html(const Invoice& invoice, const QList<Check>& checks, bool withLines) {
    QString html = QStringLiteral("<h2>") + title(invoice).toHtmlEscaped() + QStringLiteral("</h2>");
    html += QStringLiteral("<p>Art: ") + Invoice::typeName(invoice.typeCode).toHtmlEscaped() +
            QStringLiteral(" (") + invoice.typeCode.toHtmlEscaped() +
            QStringLiteral(")<br>Rechnungsnummer: ") + invoice.number.toHtmlEscaped() +
            QStringLiteral("<br>Rechnungsdatum: ") + date(invoice.issueDate) +
            QStringLiteral("<br>Leitweg-ID: ") + invoice.buyerReference.toHtmlEscaped() +
            (invoice.orderReference.isEmpty()
                 ? QString()
                 : QStringLiteral("<br>Bestellnummer: ") + invoice.orderReference.toHtmlEscaped()) +
            QStringLiteral("</p>");
    if (!invoice.notes.isEmpty())
        html += QStringLiteral("<h3>Bemerkungen zur Rechnung</h3><p>") +
                escapedLines(invoice.notes.join(u'\n')) + QStringLiteral("</p>");
    html += QStringLiteral("<h3>Prüfung</h3><ul>");
    for (const Check& check : checks)
        html += (check.passed ? QStringLiteral("<li>") : QStringLiteral("<li><b style=\"color:#b00000\">")) +
                check.text.toHtmlEscaped() +
                (check.passed ? QStringLiteral("</li>") : QStringLiteral("</b></li>"));
    html +=
        QStringLiteral("</ul><table width=\"100%\"><tr><td valign=\"top\"><h3>Verkäufer</h3>") +
        escapedLines(partyLines(invoice.seller)) + QStringLiteral("</td><td valign=\"top\"><h3>Käufer</h3>") +
        escapedLines(partyLines(invoice.buyer)) + QStringLiteral("</td></tr></table><h3>Zahlung</h3><p>") +
        escapedLines(paymentText(invoice)) + QStringLiteral("</p>");
    if (withLines) {
        html +=
            QStringLiteral("<h3>Positionen</h3><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
        for (const QString& heading : lineHeadings())
            html += QStringLiteral("<th>") + heading + QStringLiteral("</th>");
        html += QStringLiteral("</tr>");
        for (const QStringList& row : lineRows(invoice)) {
            html += QStringLiteral("<tr>");
            for (qsizetype i = 0; i < row.size(); ++i)
                html += (i < 2 || i == 3 ? QStringLiteral("<td>") : QStringLiteral("<td align=\"right\">")) +
                        row.at(i).toHtmlEscaped() + QStringLiteral("</td>");
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    html += QStringLiteral("<h3>Summen (Euro)</h3><table cellpadding=\"2\">");
    for (const auto& [label, amount] : totals(invoice))
        html += QStringLiteral("<tr><td>") + label.toHtmlEscaped() +
                QStringLiteral("</td><td align=\"right\">") + amount + QStringLiteral("</td></tr>");
    return html + QStringLiteral("</table>");
}

ListSnapshot InvoicePresentation::snapshot(const Invoice& invoice, const QList<Check>& checks) {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::Invoice;
    snapshot.headings = lineHeadings();
    snapshot.rightAligned = {2, 4, 5, 6};
    // Short heading lines, one for each piece, so that the page keeps its scale.
    const auto shortParty = [](const InvoiceParty& party) {
        QStringList parts{party.name, party.street, (party.postcode + u' ' + party.town).trimmed()};
        parts.removeAll(QString());
        return parts.join(QStringLiteral(", "));
    };
    // The checks above the lines, in the headings' font: the first thing read on every page.
    for (const Check& check : checks)
        snapshot.values.append({QStringLiteral("Prüfung"),
                                (check.passed ? QString() : QStringLiteral("Achtung: ")) + check.text});
    snapshot.values +=
        QList<QPair<QString, QString>>{{QStringLiteral("Rechnung"), title(invoice)},
                                       {QStringLiteral("Leitweg-ID"), invoice.buyerReference},
                                       {QStringLiteral("Verkäufer"), shortParty(invoice.seller)},
                                       {QStringLiteral("USt-IdNr. des Verkäufers"), invoice.seller.vatNumber},
                                       {QStringLiteral("Käufer"), shortParty(invoice.buyer)}};
    if (!invoice.orderReference.isEmpty())
        snapshot.values.append({QStringLiteral("Bestellnummer"), invoice.orderReference});
    for (const QString& line : paymentText(invoice).split(u'\n', Qt::SkipEmptyParts))
        snapshot.values.append({QStringLiteral("Zahlung"), line});
    for (const QString& note : invoice.notes)
        snapshot.values.append({QStringLiteral("Bemerkung"), note.simplified()});
    snapshot.rows = lineRows(invoice);
    for (const auto& [label, amount] : totals(invoice))
        snapshot.rows.append({QString(), label, QString(), QString(), QString(), QString(), amount});
    return snapshot;
}
