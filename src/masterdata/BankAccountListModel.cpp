#include "BankAccountListModel.h"

#include "Iban.h"

BankAccountListModel::BankAccountListModel(QObject* parent)
    : TextTableModel({QStringLiteral("IBAN"), QStringLiteral("BIC"), QStringLiteral("Kontoinhaber")},
                     parent) {}

void BankAccountListModel::setAccounts(const QList<BankAccount>& accounts) {
    QList<Row> rows;
    rows.reserve(accounts.size());
    for (const BankAccount& account : accounts)
        rows.append({account.id, {Iban::grouped(account.iban), account.bic, account.holder}, {}, false});
    setRows(std::move(rows));
}
