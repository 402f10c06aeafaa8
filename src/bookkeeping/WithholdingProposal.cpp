#include "WithholdingProposal.h"

#include "Database.h"
#include "DayNumber.h"
#include "ExemptionRepository.h"
#include "Percent.h"
#include "Session.h"
#include "WithholdingRepository.h"

#include <algorithm>

namespace {
QString euros(Money amount) {
    return amount.toGerman() + QStringLiteral(" €");
}
} // namespace

Withholding WithholdingProposal::decide(const QList<Exemption>& exemptions, int paymentDay, Money paidInYear,
                                        Money gross) {
    const QString taxOffice = exemptions.isEmpty() ? QString() : exemptions.first().taxOffice;
    const auto valid = std::find_if(exemptions.cbegin(), exemptions.cend(), [&](const Exemption& exemption) {
        return exemption.validOn(paymentDay);
    });
    if (valid != exemptions.cend())
        return {Money(), valid->taxOffice,
                QStringLiteral("Freistellungsbescheinigung Nr. %1 des Finanzamts %2 gültig bis %3: kein "
                               "Steuerabzug (§48b EStG).")
                    .arg(valid->number, valid->taxOffice, DayNumber::format(valid->validTo))};
    if (gross <= Money())
        return {Money(), taxOffice, QStringLiteral("Keine Zahlung an die Firma: kein Steuerabzug.")};
    const int year = DayNumber::toDate(paymentDay).year();
    const Money total = paidInYear + gross;
    if (total <= kFreeLimit)
        return {Money(), taxOffice,
                QStringLiteral("Zahlungen an die Firma %1 mit dieser %2, nicht über %3: kein Steuerabzug "
                               "(§48 Abs. 2 Nr. 1 EStG).")
                    .arg(QString::number(year), euros(total), euros(kFreeLimit))};
    return {percentOf(gross, kRate), taxOffice,
            QStringLiteral("Keine am %1 gültige Freistellungsbescheinigung und Zahlungen an die Firma %2 mit "
                           "dieser %3, über %4: 15 % Bauabzugsteuer (§48 EStG).")
                .arg(DayNumber::format(paymentDay), QString::number(year), euros(total), euros(kFreeLimit))};
}

Withholding WithholdingProposal::propose(Session& session, const QString& company, int paymentDay,
                                         Money gross, qint64 excludeBookingId) {
    Database& db = session.database();
    bool ok = true;
    const QList<Exemption> exemptions = ExemptionRepository(db).forCompanyNamed(company, &ok);
    std::optional<Money> paid = Money();
    const bool exempt = std::any_of(exemptions.cbegin(), exemptions.cend(), [&](const Exemption& exemption) {
        return exemption.validOn(paymentDay);
    });
    if (ok && !exempt && gross > Money()) {
        const int year = DayNumber::toDate(paymentDay).year();
        paid =
            WithholdingRepository(db).grossPaid(company, DayNumber::fromDate(QDate(year, 1, 1)),
                                                DayNumber::fromDate(QDate(year, 12, 31)), excludeBookingId);
    }
    if (!ok || !paid)
        return {Money(), QString(),
                QStringLiteral("Ob Bauabzugsteuer einzubehalten ist, ließ sich nicht prüfen: %1")
                    .arg(db.lastError())};
    return decide(exemptions, paymentDay, *paid, gross);
}
