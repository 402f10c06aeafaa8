#pragma once

#include "BankAccount.h"

#include <optional>
#include <QList>

class Database;

// Reads and writes tblBankverbindung, the bank accounts of the companies. Failure reporting as
// ProjectRepository.
class BankAccountRepository {
public:
    explicit BankAccountRepository(Database& database) : m_db(database) {}

    // The company's accounts in order of entry.
    QList<BankAccount> forCompany(qint64 companyId, bool* ok = nullptr) const;
    // The accounts of the first company (by name order) whose name equals name, ignoring case.
    QList<BankAccount> forCompanyNamed(const QString& name, bool* ok = nullptr) const;
    std::optional<BankAccount> find(qint64 id, bool* ok = nullptr) const;
    // The account as stored (Database::rowStamp): null when it is gone, nullopt when unreadable.
    std::optional<QString> stamp(qint64 id) const;
    std::optional<qint64> add(const BankAccount& account);
    // Stores every field of the row account.id.
    bool update(const BankAccount& account);
    bool remove(qint64 id);
    // Within the caller's transaction: removes every account of the company.
    bool removeForCompany(qint64 companyId);

private:
    Database& m_db;
};
