#pragma once

#include "BankAccount.h"
#include "Outcome.h"

#include <QString>

class Session;

// Adds, changes and removes a bank account of a company, each in a transaction of its own that the journal
// records as "Bankverbindung". An IBAN or BIC that fails its check writes nothing; the outcome says why.
class BankAccountOperation {
public:
    explicit BankAccountOperation(Session& session) : m_session(session) {}

    // What the journal names the changes by.
    static QString task() { return QStringLiteral("Bankverbindung"); }

    // Adds account to the company account.companyId, its IBAN and BIC as stored (without blanks, in
    // capitals); the outcome carries the account's number.
    Outcome add(const BankAccount& account);
    // Stores changed over the account as loaded (before), unless another workstation changed or removed
    // it meanwhile.
    Outcome change(const BankAccount& before, const BankAccount& changed);
    Outcome remove(qint64 id);

private:
    Session& m_session;
};
