#include "OrderTermsOperation.h"

#include "CompanyRepository.h"
#include "EstimateRepository.h"
#include "Journal.h"
#include "MasterWrite.h"
#include "OrderTermsRepository.h"
#include "Percent.h"
#include "RetentionProposal.h"

#include <algorithm>

namespace {

constexpr int kPerformanceLimit = 500;
constexpr int kDefectsLimit = 300;
constexpr int kWhole = 10000;
constexpr int kMostYears = 30;

const QStringList kForms = {QString(), QStringLiteral("Einbehalt"), QStringLiteral("Bürgschaft")};

QString beyondVob(const QString& what, int limit, const QString& of, int given) {
    return QStringLiteral("Nach VOB/B darf die Sicherheit für %1 höchstens %2 % %3 betragen, nicht %4 % "
                          "(§17 Abs. 1 VOB/B mit §9c Abs. 2 VOB/A).")
        .arg(what, percentText(limit), of, percentText(given));
}

bool isOrder(const QList<EstimateRow>& rows, int runningNumber) {
    return std::any_of(rows.cbegin(), rows.cend(), [&](const EstimateRow& row) {
        return row.runningNumber == runningNumber && RetentionProposal::isMainOrder(row.orderKind);
    });
}

} // namespace

QString OrderTermsOperation::refusal(const OrderTerms& terms) {
    for (const std::optional<int>& percent :
         {terms.performancePercent, terms.defectsPercent, terms.discountPercent}) {
        if (percent && (*percent < 0 || *percent > kWhole))
            return QStringLiteral("Ein Satz liegt zwischen 0 und 100 %.");
    }
    const int performance = terms.performancePercent.value_or(0);
    const int defects = terms.defectsPercent.value_or(0);
    if (terms.vob && performance > kPerformanceLimit)
        return beyondVob(QStringLiteral("die Vertragserfüllung"), kPerformanceLimit,
                         QStringLiteral("der Auftragssumme"), performance);
    if (terms.vob && defects > kDefectsLimit)
        return beyondVob(QStringLiteral("Mängelansprüche"), kDefectsLimit,
                         QStringLiteral("der Abrechnungssumme"), defects);
    if (!kForms.contains(terms.performanceForm) || !kForms.contains(terms.defectsForm))
        return QStringLiteral("Eine Sicherheit wird als „Einbehalt“ oder als „Bürgschaft“ gestellt.");
    if ((performance > 0 && terms.performanceForm.isEmpty()) || (defects > 0 && terms.defectsForm.isEmpty()))
        return QStringLiteral(
            "Bitte wählen Sie, ob die Sicherheit einbehalten oder durch Bürgschaft gestellt "
            "wird.");
    if (terms.defectsYears && (*terms.defectsYears < 1 || *terms.defectsYears > kMostYears))
        return QStringLiteral("Die Sicherheit für Mängelansprüche wird nach 1 bis %1 Jahren zurückgegeben.")
            .arg(kMostYears);
    if (terms.discountPercent.value_or(0) > 0 && terms.discountDays.value_or(0) <= 0)
        return QStringLiteral("Skonto braucht die Tage, in denen es gezogen werden darf.");
    if (terms.discountDays.value_or(0) > 0 && terms.discountPercent.value_or(0) <= 0)
        return QStringLiteral("Skonto braucht seinen Satz.");
    if (terms.discountDays && *terms.discountDays < 0)
        return QStringLiteral("Skonto wird in Tagen ab Eingang der Rechnung gezogen.");
    if (terms.daysToPay && *terms.daysToPay != 30 && *terms.daysToPay != 60)
        return QStringLiteral("Die Zahlungsfrist beträgt 30 oder 60 Tage; leer gilt die der VOB/B.");
    return {};
}

Outcome OrderTermsOperation::save(const QString& company, OrderTerms terms) {
    const QString refused = refusal(terms);
    if (!refused.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refused);
    terms.projectId = terms.projectId.trimmed();
    MasterWrite write(m_session);
    Database& db = write.database();
    bool ok = write.begin() && Journal(db).label(task());
    const std::optional<Company> found = ok ? CompanyRepository(db).findByName(company, &ok) : std::nullopt;
    if (ok && !found)
        return Outcome::failed(Outcome::Kind::NameGone,
                               QStringLiteral("Die Firma „%1“ ist nicht im Firmenregister.").arg(company));
    const QList<EstimateRow> rows =
        ok ? EstimateRepository(db).forProjectAndCompany(terms.projectId, company, &ok)
           : QList<EstimateRow>();
    if (ok && !isOrder(rows, terms.runningNumber))
        return Outcome::failed(Outcome::Kind::Gone,
                               QStringLiteral("Zahlungsbedingungen gehören zu einem Auftrag („Auftrag vom“); "
                                              "die Zeile Nr. %1 ist keiner oder nicht mehr da.")
                                   .arg(terms.runningNumber));
    OrderTermsRepository repository(db);
    std::optional<OrderTerms> before;
    if (ok) {
        terms.companyId = found->id;
        before = repository.find(terms.projectId, terms.companyId, terms.runningNumber, &ok);
    }
    if (!ok)
        return write.finish(false);
    if (before) {
        terms.id = before->id;
        return write.finish(repository.update(terms), terms.id);
    }
    const std::optional<qint64> id = repository.add(terms);
    return write.finish(id.has_value(), id);
}
