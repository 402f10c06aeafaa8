#include "BankAccountReading.h"

#include "BankAccountRepository.h"
#include "Database.h"
#include "Session.h"

namespace {
QList<BankAccount> told(Database& db, QList<BankAccount> accounts, bool ok, QString* failure) {
    if (failure)
        *failure = ok ? QString() : db.lastError();
    return accounts;
}
} // namespace

QList<BankAccount> BankAccountReading::forCompany(Session& session, const QString& companyName,
                                                  QString* failure) {
    bool ok = true;
    Database& db = session.database();
    return told(db, BankAccountRepository(db).forCompanyNamed(companyName, &ok), ok, failure);
}

QList<BankAccount> BankAccountReading::forCompany(Session& session, qint64 companyId, QString* failure) {
    bool ok = true;
    Database& db = session.database();
    return told(db, BankAccountRepository(db).forCompany(companyId, &ok), ok, failure);
}
