#pragma once

#include "BankAccount.h"

#include <QList>
#include <QString>

class Session;

// Reads the bank accounts a company is paid into, in order of entry. When the store cannot be read the
// list is empty and failure, when given, holds the German reason (otherwise it is emptied).
class BankAccountReading {
public:
    // The accounts of the first company (by name order) whose name equals companyName, ignoring case.
    static QList<BankAccount> forCompany(Session& session, const QString& companyName,
                                         QString* failure = nullptr);
    // The accounts of the company tblFirma.ID companyId.
    static QList<BankAccount> forCompany(Session& session, qint64 companyId, QString* failure = nullptr);
};
