#pragma once

#include <QString>
#include <QtGlobal>

// A row of tblBankverbindung: an account a company is paid into. The IBAN is stored without blanks, in
// capitals.
struct BankAccount {
    qint64 id = 0;        // ID
    qint64 companyId = 0; // FirmaID: tblFirma.ID
    QString iban;         // IBAN
    QString bic;          // BIC
    QString holder;       // Kontoinhaber
};
Q_DECLARE_TYPEINFO(BankAccount, Q_RELOCATABLE_TYPE);
