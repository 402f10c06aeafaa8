#include "PaymentOrderSnapshot.h"

#include "AuthorityDetails.h"
#include "BankAccountReading.h"
#include "DayNumber.h"
#include "Iban.h"
#include "Registers.h"
#include "RunningNumberText.h"
#include "Settings.h"
#include "SignOffTexts.h"

namespace {
QString address(const std::optional<Company>& company) {
    if (!company)
        return QStringLiteral("nicht im Firmenverzeichnis");
    const QString place =
        (company->postcode.trimmed() + QLatin1Char(' ') + company->town.trimmed()).trimmed();
    QStringList parts;
    for (const QString& part : {company->street.trimmed(), place})
        if (!part.isEmpty())
            parts.append(part);
    return parts.join(QStringLiteral(", "));
}
} // namespace

ListSnapshot PaymentOrderSnapshot::of(Session& session, const Settings& settings,
                                      const QList<SignOffReading::Waiting>& orders, bool twoStep) {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::PaymentOrder;
    snapshot.values = {{QStringLiteral("Behörde"), settings.value(AuthorityDetails::name)},
                       {QStringLiteral("Abteilung"), settings.value(AuthorityDetails::department)},
                       {QStringLiteral("PLZ"), settings.value(AuthorityDetails::postcode)},
                       {QStringLiteral("Ort"), settings.value(AuthorityDetails::town)},
                       {QStringLiteral("Landkreis"), settings.value(AuthorityDetails::district)},
                       {QStringLiteral("Bezirk"), settings.value(AuthorityDetails::region)}};
    bool factually = twoStep;
    bool noted = false;
    for (const SignOffReading::Waiting& order : orders) {
        factually = factually || !order.signOff.factuallyBy.isEmpty();
        noted = noted || !order.signOff.note.isEmpty();
    }
    snapshot.headings = {
        QStringLiteral("Projekt"),        QStringLiteral("Lfd. Nr."),    QStringLiteral("Zahlungsempfänger"),
        QStringLiteral("Anschrift"),      QStringLiteral("IBAN"),        QStringLiteral("BIC"),
        QStringLiteral("Kontoinhaber"),   QStringLiteral("Betrag"),      QStringLiteral("Rechnungsnummer"),
        QStringLiteral("Rechnungsdatum"), QStringLiteral("Zahlungsart"), QStringLiteral("Kostengruppe"),
        QStringLiteral("Bemerkungen")};
    if (factually)
        snapshot.headings += QStringLiteral("Sachlich richtig");
    snapshot.headings += factually ? QStringLiteral("Rechnerisch richtig")
                                   : QStringLiteral("Sachlich und rechnerisch richtig");
    snapshot.headings += QStringLiteral("Angeordnet");
    if (noted)
        snapshot.headings += QStringLiteral("Hinweis");

    const Registers registers(session);
    for (const SignOffReading::Waiting& order : orders) {
        const Booking& booking = order.booking;
        const SignOff& signOff = order.signOff;
        const Reading<std::optional<Company>> company = registers.companyNamed(booking.company);
        QString failure = company.failure;
        const QList<BankAccount> accounts =
            company.value ? BankAccountReading::forCompany(session, company.value->id, &failure)
                          : QList<BankAccount>();
        QStringList row{booking.projectId + QStringLiteral(" - ") + booking.project,
                        RunningNumberText::of(booking.runningNumber),
                        booking.company,
                        address(company.value),
                        !failure.isEmpty()   ? QStringLiteral("nicht lesbar: ") + failure
                        : accounts.isEmpty() ? QStringLiteral("keine Bankverbindung gespeichert")
                                             : Iban::grouped(accounts.first().iban),
                        accounts.isEmpty() ? QString() : accounts.first().bic,
                        accounts.isEmpty() ? QString() : accounts.first().holder,
                        booking.amount ? booking.amount->toGerman() + QStringLiteral(" Euro")
                                       : booking.unreadableAmount,
                        booking.invoiceNumber,
                        DayNumber::format(booking.invoiceDate),
                        booking.paymentKind,
                        booking.costGroup,
                        booking.remarks};
        if (factually)
            row += SignOffTexts::byAndAt(signOff.factuallyBy, signOff.factuallyAt);
        row += SignOffTexts::byAndAt(signOff.confirmedBy, signOff.confirmedAt);
        row += SignOffTexts::byAndAt(signOff.orderedBy, signOff.orderedAt);
        if (noted)
            row += signOff.note;
        snapshot.rows.append(row);
    }
    return snapshot;
}
