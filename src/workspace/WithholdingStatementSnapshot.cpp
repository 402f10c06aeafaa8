#include "WithholdingStatementSnapshot.h"

#include "AuthorityDetails.h"
#include "DayNumber.h"
#include "Registers.h"
#include "RunningNumberText.h"
#include "Settings.h"

namespace {
QString euros(const std::optional<Money>& amount) {
    return amount ? amount->toGerman() + QStringLiteral(" Euro") : QString();
}

QString joined(const QStringList& parts) {
    QStringList given;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            given.append(part.trimmed());
    return given.join(QStringLiteral(", "));
}
} // namespace

ListSnapshot WithholdingStatementSnapshot::of(Session& session, const Settings& settings,
                                              const QList<WithheldPayment>& payments) {
    ListSnapshot snapshot;
    snapshot.kind = ListSnapshot::Kind::WithholdingStatement;
    const QString authority = settings.value(AuthorityDetails::name);
    const QString department = settings.value(AuthorityDetails::department);
    const QString place = (settings.value(AuthorityDetails::postcode) + QLatin1Char(' ') +
                           settings.value(AuthorityDetails::town))
                              .trimmed();
    snapshot.values = {{QStringLiteral("Behörde"), authority},
                       {QStringLiteral("Abteilung"), department},
                       {QStringLiteral("PLZ"), settings.value(AuthorityDetails::postcode)},
                       {QStringLiteral("Ort"), settings.value(AuthorityDetails::town)},
                       {QStringLiteral("Landkreis"), settings.value(AuthorityDetails::district)},
                       {QStringLiteral("Bezirk"), settings.value(AuthorityDetails::region)}};
    snapshot.headings = {QStringLiteral("Leistender"),      QStringLiteral("Anschrift"),
                         QStringLiteral("Projekt"),         QStringLiteral("Lfd. Nr."),
                         QStringLiteral("Rechnungsnummer"), QStringLiteral("Rechnungsdatum"),
                         QStringLiteral("Rechnungsbetrag"), QStringLiteral("Tag der Zahlung"),
                         QStringLiteral("Bruttobetrag"),    QStringLiteral("Steuerabzug (15 %)"),
                         QStringLiteral("Finanzamt"),       QStringLiteral("Leistungsempfänger")};
    const Registers registers(session);
    for (const WithheldPayment& payment : payments) {
        const Booking& booking = payment.booking;
        const Reading<std::optional<Company>> company = registers.companyNamed(booking.company);
        const QString address =
            !company.ok      ? QStringLiteral("nicht lesbar: ") + company.failure
            : !company.value ? QStringLiteral("nicht im Firmenverzeichnis")
                             : joined({company.value->street, company.value->postcode.trimmed() +
                                                                  QLatin1Char(' ') + company.value->town});
        snapshot.rows.append(
            {booking.company, address, booking.projectId + QStringLiteral(" - ") + booking.project,
             RunningNumberText::of(booking.runningNumber), booking.invoiceNumber,
             DayNumber::format(booking.invoiceDate),
             euros(payment.invoiceAmount ? payment.invoiceAmount : payment.gross),
             DayNumber::format(booking.instructedOn), euros(payment.gross), euros(payment.withheld),
             payment.taxOffice, joined({authority, department, place})});
    }
    return snapshot;
}
