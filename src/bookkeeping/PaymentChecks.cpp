#include "PaymentChecks.h"

#include "DayNumber.h"
#include "PaymentDue.h"
#include "Percent.h"
#include "RetentionProposal.h"

namespace {

QString euros(Money amount) {
    return amount.toGerman() + QStringLiteral(" €");
}

bool taken(const std::optional<Money>& amount) {
    return amount && amount->cents() != 0;
}

Money orNothing(const std::optional<Money>& amount) {
    return amount.value_or(Money());
}

} // namespace

QStringList PaymentChecks::retentionKinds() {
    return {QStringLiteral("Vertragserfüllung"), QStringLiteral("Mängelansprüche")};
}

std::optional<Money> PaymentChecks::paidOut(const Payment& payment) {
    if (!payment.gross)
        return std::nullopt;
    return *payment.gross - orNothing(payment.retention) - orNothing(payment.withholding) -
           orNothing(payment.discount);
}

std::optional<QString> PaymentChecks::refusal(const Booking& booking, const Payment& payment,
                                              const QList<AgreedDiscount>& agreed) {
    const bool deducted = taken(payment.retention) || taken(payment.withholding) || taken(payment.discount);
    if (!payment.gross) {
        if (deducted)
            return QStringLiteral("Für Abzüge fehlt der Bruttobetrag.");
        return std::nullopt;
    }
    const bool release = booking.paymentKind.trimmed().compare(releaseKind(), Qt::CaseInsensitive) == 0;
    if (orNothing(payment.withholding) < Money() || orNothing(payment.discount) < Money())
        return QStringLiteral("Bauabzug und Skonto können nicht negativ sein.");
    if (!release && orNothing(payment.retention) < Money())
        return QStringLiteral("Ein negativer Einbehalt gibt einen Rückhalt frei: dafür ist die Zahlungsart "
                              "„Rückhalt“ zu wählen.");
    if (release && orNothing(payment.retention) > Money())
        return QStringLiteral("Bei einem Rückhalt wird nichts einbehalten: der Einbehalt ist der "
                              "freigegebene Betrag mit Minuszeichen.");
    if (taken(payment.retention) && !retentionKinds().contains(payment.retentionKind))
        return QStringLiteral("Bitte geben Sie an, wofür einbehalten wird: „Vertragserfüllung“ oder "
                              "„Mängelansprüche“.");
    if (taken(payment.withholding) && payment.taxOffice.trimmed().isEmpty())
        return QStringLiteral("Bitte geben Sie das Finanzamt an, an das der Bauabzug geht.");
    if (!release && taken(payment.retention)) {
        const QString tooMuch =
            RetentionProposal::refusal(booking.paymentKind, *payment.gross, *payment.retention);
        if (!tooMuch.isEmpty())
            return tooMuch;
    }
    if (const std::optional<QString> discount = discountRefusal(booking, payment, agreed))
        return discount;
    const Money out = *paidOut(payment);
    if (!booking.amount || *booking.amount != out)
        return QStringLiteral("Der Betrag %1 ist nicht der Auszahlungsbetrag: Brutto %2 abzüglich Einbehalt, "
                              "Bauabzug und Skonto ergibt %3.")
            .arg(booking.amount ? euros(*booking.amount) : QStringLiteral("(fehlt)"), euros(*payment.gross),
                 euros(out));
    return std::nullopt;
}

std::optional<QString> PaymentChecks::discountRefusal(const Booking& booking, const Payment& payment,
                                                      const QList<AgreedDiscount>& agreed) {
    if (!taken(payment.discount))
        return std::nullopt;
    if (!payment.discountPercent || !payment.discountDays)
        return QStringLiteral("Skonto braucht den vereinbarten Prozentsatz und die Frist in Tagen.");
    if (!agreed.contains(AgreedDiscount{*payment.discountPercent, *payment.discountDays}))
        return QStringLiteral("Skonto von %1 % in %2 Tagen ist weder im Auftrag noch in der Rechnung "
                              "vereinbart.")
            .arg(percentText(*payment.discountPercent))
            .arg(*payment.discountDays);
    if (!payment.receivedOn)
        return QStringLiteral("Skonto rechnet vom Eingang der Rechnung an: bitte geben Sie den Eingang an.");
    const int lastDay = *discountLastDay(payment);
    if (!booking.instructedOn || *booking.instructedOn > lastDay)
        return QStringLiteral("Skonto ist nur bis zum %1 möglich; angewiesen am %2.")
            .arg(DayNumber::format(lastDay),
                 booking.instructedOn ? DayNumber::format(*booking.instructedOn) : QStringLiteral("(fehlt)"));
    if (!payment.invoiceAmount || *payment.invoiceAmount != *payment.gross)
        return QStringLiteral("Skonto gibt es nur auf den vollen Rechnungsbetrag (%1); angewiesen werden "
                              "brutto %2.")
            .arg(payment.invoiceAmount ? euros(*payment.invoiceAmount) : QStringLiteral("fehlt"),
                 euros(*payment.gross));
    const Money due = percentOf(*payment.gross, *payment.discountPercent);
    if (*payment.discount != due)
        return QStringLiteral("Skonto von %1 % auf %2 sind %3, nicht %4.")
            .arg(percentText(*payment.discountPercent), euros(*payment.gross), euros(due),
                 euros(*payment.discount));
    return std::nullopt;
}

std::optional<int> PaymentChecks::discountLastDay(const Payment& payment) {
    if (!taken(payment.discount) || !payment.receivedOn)
        return std::nullopt;
    return PaymentDue::discountLastDay(*payment.receivedOn, payment.discountDays);
}

std::optional<QString> PaymentChecks::latePayment(const Payment& payment, int day) {
    const std::optional<int> lastDay = discountLastDay(payment);
    if (!lastDay || day <= *lastDay)
        return std::nullopt;
    return QStringLiteral("Skonto ist nur bis zum %1 möglich; bezahlt am %2. Bitte korrigieren Sie die "
                          "Buchung ohne Skonto (Storno).")
        .arg(DayNumber::format(*lastDay), DayNumber::format(day));
}
