#include "BankAccountRepository.h"

#include "Database.h"
#include "StoredValue.h"

namespace {

const QString kSelect = QStringLiteral("SELECT ID, FirmaID, IBAN, BIC, Kontoinhaber FROM tblBankverbindung ");

BankAccount build(const Database::Row& row) {
    return {row.rowNumber(0), row.rowNumber(1), row.text(2), row.text(3), row.text(4)};
}

QVariantList fields(const BankAccount& account) {
    return {account.companyId, StoredValue::bind(account.iban), StoredValue::bind(account.bic),
            StoredValue::bind(account.holder)};
}

} // namespace

QList<BankAccount> BankAccountRepository::forCompany(qint64 companyId, bool* ok) const {
    return StoredValue::rows<BankAccount>(m_db, kSelect + QStringLiteral("WHERE FirmaID = ? ORDER BY ID"),
                                          {companyId}, ok, build);
}

QList<BankAccount> BankAccountRepository::forCompanyNamed(const QString& name, bool* ok) const {
    return StoredValue::rows<BankAccount>(
        m_db,
        kSelect + QStringLiteral("WHERE FirmaID = (SELECT ID FROM tblFirma WHERE fold(Name) = fold(?) "
                                 "ORDER BY Name COLLATE GERMAN NULLS FIRST, ID LIMIT 1) ORDER BY ID"),
        {name}, ok, build);
}

std::optional<BankAccount> BankAccountRepository::find(qint64 id, bool* ok) const {
    const QList<BankAccount> rows =
        StoredValue::rows<BankAccount>(m_db, kSelect + QStringLiteral("WHERE ID = ?"), {id}, ok, build);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<QString> BankAccountRepository::stamp(qint64 id) const {
    return m_db.rowStamp(QStringLiteral("tblBankverbindung"), QStringLiteral("ID"), id);
}

std::optional<qint64> BankAccountRepository::add(const BankAccount& account) {
    return m_db.insert(QStringLiteral("INSERT INTO tblBankverbindung (FirmaID, IBAN, BIC, Kontoinhaber) "
                                      "VALUES (?, ?, ?, ?) RETURNING ID"),
                       fields(account));
}

bool BankAccountRepository::update(const BankAccount& account) {
    QVariantList values = fields(account);
    values.append(account.id);
    return m_db.changeRow(QStringLiteral("UPDATE tblBankverbindung SET FirmaID = ?, IBAN = ?, BIC = ?, "
                                         "Kontoinhaber = ? WHERE ID = ?"),
                          values);
}

bool BankAccountRepository::remove(qint64 id) {
    return m_db.changeRow(QStringLiteral("DELETE FROM tblBankverbindung WHERE ID = ?"), {id});
}

bool BankAccountRepository::removeForCompany(qint64 companyId) {
    return m_db.exec(QStringLiteral("DELETE FROM tblBankverbindung WHERE FirmaID = ?"), {companyId});
}
