#include "SaveCompany.h"

#include "CompanyRepository.h"
#include "MasterWrite.h"
#include "NameCascade.h"

Outcome SaveCompany::add(const Company& company) {
    MasterWrite write(m_session);
    std::optional<qint64> id;
    const bool written = write.begin() && (id = CompanyRepository(write.database()).add(company));
    return write.finish(written, id);
}

Outcome SaveCompany::change(const Company& changed, const QString& oldName, const AsLoaded& loaded) {
    MasterWrite write(m_session);
    Database& db = write.database();
    const bool written = write.begin([&] { return CompanyRepository(db).stamp(changed.id); }, loaded) &&
                         NameCascade(db).changeCompany(changed, oldName);
    return write.finish(written, changed.id);
}
