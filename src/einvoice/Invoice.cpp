#include "Invoice.h"

#include <QHash>
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

QString Invoice::unitName(const QString& code) {
    // UN/ECE Recommendation 20 and 21, the units met on building invoices.
    static const QHash<QString, QString> names = {
        {QStringLiteral("C62"), QStringLiteral("Stück")},
        {QStringLiteral("H87"), QStringLiteral("Stück")},
        {QStringLiteral("EA"), QStringLiteral("Stück")},
        {QStringLiteral("XPP"), QStringLiteral("Stück")},
        {QStringLiteral("PR"), QStringLiteral("Paar")},
        {QStringLiteral("SET"), QStringLiteral("Satz")},
        {QStringLiteral("LS"), QStringLiteral("pauschal")},
        {QStringLiteral("MIN"), QStringLiteral("Minuten")},
        {QStringLiteral("HUR"), QStringLiteral("Stunden")},
        {QStringLiteral("DAY"), QStringLiteral("Tage")},
        {QStringLiteral("WEE"), QStringLiteral("Wochen")},
        {QStringLiteral("MON"), QStringLiteral("Monate")},
        {QStringLiteral("ANN"), QStringLiteral("Jahre")},
        {QStringLiteral("MMT"), QStringLiteral("mm")},
        {QStringLiteral("CMT"), QStringLiteral("cm")},
        {QStringLiteral("MTR"), QStringLiteral("m")},
        {QStringLiteral("KMT"), QStringLiteral("km")},
        {QStringLiteral("MTK"), QStringLiteral("m²")},
        {QStringLiteral("MTQ"), QStringLiteral("m³")},
        {QStringLiteral("LTR"), QStringLiteral("Liter")},
        {QStringLiteral("GRM"), QStringLiteral("g")},
        {QStringLiteral("KGM"), QStringLiteral("kg")},
        {QStringLiteral("TNE"), QStringLiteral("t")},
        {QStringLiteral("KWH"), QStringLiteral("kWh")},
        {QStringLiteral("KWT"), QStringLiteral("kW")},
        {QStringLiteral("P1"), QStringLiteral("Prozent")},
    };
    return names.value(code, code);
}

QString Invoice::vatCategoryName(const QString& code) {
    // UNTDID 5305 as EN 16931 uses it.
    static const QHash<QString, QString> names = {
        {QStringLiteral("S"), QStringLiteral("Regelsatz")},
        {QStringLiteral("Z"), QStringLiteral("Nullsatz")},
        {QStringLiteral("E"), QStringLiteral("steuerbefreit")},
        {QStringLiteral("AE"), QStringLiteral("Steuerschuld des Leistungsempfängers (Reverse Charge)")},
        {QStringLiteral("K"), QStringLiteral("innergemeinschaftliche Lieferung")},
        {QStringLiteral("G"), QStringLiteral("Ausfuhr in ein Land außerhalb der EU")},
        {QStringLiteral("O"), QStringLiteral("nicht umsatzsteuerbar")},
        {QStringLiteral("L"), QStringLiteral("Kanarische Inseln (IGIC)")},
        {QStringLiteral("M"), QStringLiteral("Ceuta und Melilla (IPSI)")},
    };
    return names.value(code, code.isEmpty() ? QString() : QStringLiteral("Kategorie ") + code);
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
