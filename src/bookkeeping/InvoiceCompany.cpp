#include "InvoiceCompany.h"

#include "CompanyRepository.h"
#include "Session.h"

Outcome InvoiceCompany::create(const Company& company) {
    const std::optional<qint64> id = CompanyRepository(m_session.database()).add(company);
    if (!id)
        return Outcome::ofStore(m_session.database());
    m_session.wrote();
    return Outcome::done(id);
}
