#include "NameCascade.h"

#include "CompanyRepository.h"
#include "Database.h"
#include "NameEntryRepository.h"
#include "ProjectRepository.h"
#include "StoredValue.h"
#include "Transaction.h"

namespace {

// Runs statement, whose %1 names the table, on the bookings and on the estimate rows.
bool runForBothCopyTables(Database& db, const QString& statement, const QVariantList& values) {
    return db.exec(statement.arg(QStringLiteral("tblBuchung")), values) &&
           db.exec(statement.arg(QStringLiteral("tblNachtrag")), values);
}

} // namespace

bool NameCascade::changeProject(const Project& changed, const QString& oldName) {
    Transaction transaction(m_db);
    if (!transaction.isActive() || !ProjectRepository(m_db).update(changed))
        return false;
    if (!oldName.isEmpty() &&
        !runForBothCopyTables(m_db,
                              QStringLiteral("UPDATE %1 SET Projekt = ? WHERE ProjektID = ? "
                                             "AND fold(Projekt) = fold(?)"),
                              {StoredValue::bind(changed.name), QString::number(changed.id), oldName}))
        return false;
    return transaction.commit();
}

bool NameCascade::changeCompany(const Company& changed, const QString& oldName) {
    Transaction transaction(m_db);
    if (!transaction.isActive() || !CompanyRepository(m_db).update(changed))
        return false;
    if (!oldName.isEmpty() &&
        !runForBothCopyTables(m_db,
                              QStringLiteral("UPDATE %1 SET Firma = ?, Gewerk = ?, Kostengruppe = ? "
                                             "WHERE fold(Firma) = fold(?)"),
                              {StoredValue::bind(changed.name), StoredValue::bind(changed.trade),
                               StoredValue::bind(changed.costGroup), oldName}))
        return false;
    return transaction.commit();
}

bool NameCascade::changeTrade(const NameEntry& changed, const QString& oldName) {
    Transaction transaction(m_db);
    if (!transaction.isActive() ||
        !NameEntryRepository(m_db, NameEntryRepository::Table::Trades).update(changed))
        return false;
    const QVariantList values = {StoredValue::bind(changed.name), oldName};
    if (!oldName.isEmpty() &&
        !(m_db.exec(QStringLiteral("UPDATE tblFirma SET GewerkID = ? WHERE GewerkID = ? COLLATE BINARY"),
                    values) &&
          runForBothCopyTables(
              m_db, QStringLiteral("UPDATE %1 SET Gewerk = ? WHERE Gewerk = ? COLLATE BINARY"), values)))
        return false;
    return transaction.commit();
}

bool NameCascade::changeCostGroup(const NameEntry& changed, const QString& oldName) {
    Transaction transaction(m_db);
    if (!transaction.isActive() ||
        !NameEntryRepository(m_db, NameEntryRepository::Table::CostGroups).update(changed))
        return false;
    const QVariantList values = {StoredValue::bind(changed.name), oldName};
    if (!oldName.isEmpty() &&
        !(m_db.exec(QStringLiteral(
                        "UPDATE tblFirma SET KostengruppeID = ? WHERE KostengruppeID = ? COLLATE BINARY"),
                    values) &&
          runForBothCopyTables(
              m_db, QStringLiteral("UPDATE %1 SET Kostengruppe = ? WHERE Kostengruppe = ? COLLATE BINARY"),
              values)))
        return false;
    return transaction.commit();
}
