#include "CompanySeat.h"

#include "Company.h"
#include "CompanyRepository.h"

QString CompanySeat::line(const Company& company) {
    return QStringLiteral("Sitz: ") + company.postcode + QLatin1Char(' ') + company.town;
}

QString CompanySeat::lookUp(Database& db, const QString& name) {
    if (name.isEmpty())
        return QString();
    const std::optional<Company> company = CompanyRepository(db).findByName(name);
    return company ? line(*company) : QString();
}
