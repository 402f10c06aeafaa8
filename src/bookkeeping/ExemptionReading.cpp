#include "ExemptionReading.h"

#include "Database.h"
#include "ExemptionRepository.h"
#include "ExemptionStatus.h"
#include "Session.h"

Reading<QList<Exemption>> ExemptionReading::forCompany(Session& session, qint64 companyId) {
    bool ok = true;
    Database& db = session.database();
    QList<Exemption> exemptions = ExemptionRepository(db).forCompany(companyId, &ok);
    return {std::move(exemptions), ok, ok ? QString() : db.lastError()};
}

Reading<QHash<qint64, int>> ExemptionReading::endingSoon(Session& session, int today) {
    bool ok = true;
    Database& db = session.database();
    QHash<qint64, int> ending;
    for (const auto& [company, lastDay] :
         ExemptionRepository(db).endingBy(today + ExemptionStatus::kWarningDays, &ok))
        ending.insert(company, lastDay);
    return {std::move(ending), ok, ok ? QString() : db.lastError()};
}
