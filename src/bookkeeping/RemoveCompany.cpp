#include "RemoveCompany.h"

#include "BankAccountRepository.h"
#include "CompanyRepository.h"
#include "ExemptionRepository.h"
#include "Journal.h"
#include "MasterWrite.h"

Outcome RemoveCompany::run(qint64 id) {
    MasterWrite write(m_session);
    Database& db = write.database();
    return write.finish(write.begin() && Journal(db).label(task()) &&
                        ExemptionRepository(db).removeForCompany(id) &&
                        BankAccountRepository(db).removeForCompany(id) && CompanyRepository(db).remove(id));
}
