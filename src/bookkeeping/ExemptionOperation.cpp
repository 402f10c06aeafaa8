#include "ExemptionOperation.h"

#include "CompanyRepository.h"
#include "Database.h"
#include "ExemptionRepository.h"
#include "Journal.h"
#include "MasterWrite.h"

#include <QStringList>

namespace {

QString dayText(const std::optional<int>& day) {
    return day ? QString::number(*day) : QString();
}

// The certificate's fields as one text, to tell whether it is still as loaded.
QString stampOf(const Exemption& exemption) {
    return QStringList{QString::number(exemption.companyId), exemption.number.trimmed(),
                       exemption.taxOffice.trimmed(),        dayText(exemption.validFrom),
                       dayText(exemption.validTo),           dayText(exemption.checkedOn)}
        .join(QChar(0x1f));
}

std::optional<QString> stampNow(Database& db, qint64 id) {
    bool ok = true;
    const std::optional<Exemption> now = ExemptionRepository(db).find(id, &ok);
    if (!ok)
        return std::nullopt;
    return now ? stampOf(*now) : QString();
}

} // namespace

QString ExemptionOperation::refusal(const Exemption& exemption) {
    if (exemption.number.trimmed().isEmpty())
        return QStringLiteral("Bitte geben Sie die Nummer der Freistellungsbescheinigung ein.");
    if (exemption.taxOffice.trimmed().isEmpty())
        return QStringLiteral("Bitte geben Sie das Finanzamt ein, das die Bescheinigung ausgestellt hat.");
    if (!exemption.validFrom || !exemption.validTo)
        return QStringLiteral("Bitte geben Sie an, von wann bis wann die Bescheinigung gilt.");
    if (*exemption.validTo < *exemption.validFrom)
        return QStringLiteral("Die Bescheinigung kann nicht enden, bevor sie gilt.");
    return QString();
}

Outcome ExemptionOperation::add(const Exemption& exemption) {
    if (const QString refused = refusal(exemption); !refused.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refused);
    MasterWrite write(m_session);
    Database& db = write.database();
    bool ok = write.begin() && Journal(db).label(task());
    // Read under a lock, so that the company is not removed before the certificate is stored.
    const std::optional<QString> company = ok ? CompanyRepository(db).stamp(exemption.companyId) : QString();
    ok = ok && company.has_value();
    if (ok && company->isNull())
        return Outcome::failed(Outcome::Kind::Gone,
                               QStringLiteral("Die Firma ist nicht mehr im Firmenregister: Sie wurde "
                                              "inzwischen an einem anderen Arbeitsplatz gelöscht."));
    std::optional<qint64> id;
    return write.finish(ok && (id = ExemptionRepository(db).add(exemption)), id);
}

Outcome ExemptionOperation::change(const Exemption& before, const Exemption& changed) {
    if (const QString refused = refusal(changed); !refused.isEmpty())
        return Outcome::failed(Outcome::Kind::Refused, refused);
    Exemption exemption = changed;
    exemption.id = before.id;
    exemption.companyId = before.companyId;
    MasterWrite write(m_session);
    Database& db = write.database();
    const bool ok = write.begin() && Journal(db).label(task()) &&
                    db.stillAsLoaded(stampNow(db, before.id), stampOf(before));
    return write.finish(ok && ExemptionRepository(db).update(exemption), exemption.id);
}

Outcome ExemptionOperation::remove(qint64 id) {
    MasterWrite write(m_session);
    Database& db = write.database();
    return write.finish(write.begin() && Journal(db).label(task()) && ExemptionRepository(db).remove(id), id);
}
