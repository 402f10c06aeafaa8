#include "RemoveCompany.h"

#include "CompanyRepository.h"
#include "MasterWrite.h"

Outcome RemoveCompany::run(qint64 id) {
    MasterWrite write(m_session);
    return write.finish(write.begin() && CompanyRepository(write.database()).remove(id));
}
