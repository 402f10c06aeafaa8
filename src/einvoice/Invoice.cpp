#include "Invoice.h"

#include <QRegularExpression>

QString Invoice::typeName(const QString& code) {
    static const QList<QPair<QString, QString>> names = {
        {QStringLiteral("326"), QStringLiteral("Teilrechnung")},
        {QStringLiteral("380"), QStringLiteral("Rechnung")},
        {QStringLiteral("381"), QStringLiteral("Gutschrift")},
        {QStringLiteral("384"), QStringLiteral("Korrigierte Rechnung")},
        {QStringLiteral("386"), QStringLiteral("Vorauszahlungsrechnung")},
        {QStringLiteral("389"), QStringLiteral("Selbst ausgestellte Rechnung (Gutschriftsverfahren)")},
        {QStringLiteral("875"), QStringLiteral("Abschlagsrechnung (Bau)")},
        {QStringLiteral("876"), QStringLiteral("Teilschlussrechnung (Bau)")},
        {QStringLiteral("877"), QStringLiteral("Schlussrechnung (Bau)")},
    };
    for (const auto& [known, name] : names)
        if (known == code)
            return name;
    return QStringLiteral("Rechnungsart ") + code;
}

Money Invoice::bookingAmount() const {
    const Money due = amountDue.value_or(InvoiceAmount()).toMoney();
    return isCreditNote() ? -due : due;
}

bool Invoice::totalsAddUp() const {
    if (!amountDue || !grossTotal)
        return false;
    const InvoiceAmount zero;
    return *amountDue == *grossTotal - prepaid.value_or(zero) + rounding.value_or(zero);
}

QList<InvoiceDiscount> Invoice::discountsIn(const QString& paymentTerms) {
    QList<InvoiceDiscount> discounts;
    static const QRegularExpression segment(QStringLiteral(
        "#SKONTO#TAGE=(\\d+)#PROZENT=(-?\\d+(?:\\.\\d+)?)#(?:BASISBETRAG=(-?\\d+(?:\\.\\d+)?)#)?"));
    for (auto it = segment.globalMatch(paymentTerms); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const std::optional<InvoiceAmount> percent = InvoiceAmount::parse(match.captured(2));
        if (!percent)
            continue;
        InvoiceDiscount discount{match.captured(1).toInt(), *percent, std::nullopt};
        if (match.hasCaptured(3))
            discount.basis = InvoiceAmount::parse(match.captured(3));
        discounts.append(discount);
    }
    return discounts;
}
