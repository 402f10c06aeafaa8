#include "CompanySeat.h"

#include "Company.h"
#include "ProjectLedger.h"

QString CompanySeat::line(const Company& company) {
    return QStringLiteral("Sitz: ") + company.postcode + QLatin1Char(' ') + company.town;
}

QString CompanySeat::lookUp(const ProjectLedger& ledger, const QString& name) {
    if (name.isEmpty())
        return QString();
    const std::optional<Company> company = ledger.company(name);
    return company ? line(*company) : QString();
}
