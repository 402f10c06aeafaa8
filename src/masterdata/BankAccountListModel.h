#pragma once

#include "BankAccount.h"
#include "TextTableModel.h"

// The bank accounts of one company in the company register: IBAN in groups of four, BIC, account holder.
class BankAccountListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column { Iban, Bic, Holder };

    explicit BankAccountListModel(QObject* parent = nullptr);
    void setAccounts(const QList<BankAccount>& accounts);
};
