#include "NameCascade.h"

#include "BudgetRepository.h"
#include "CompanyRepository.h"
#include "Database.h"
#include "NameEntryRepository.h"
#include "ProjectRepository.h"
#include "StoredValue.h"
#include "Transaction.h"

#include <functional>

namespace {

// Runs statement, whose %1 names the table, on the bookings and on the estimate rows.
bool runForBothCopyTables(Database& db, const QString& statement, const QVariantList& values) {
    return db.exec(statement.arg(QStringLiteral("tblBuchung")), values) &&
           db.exec(statement.arg(QStringLiteral("tblNachtrag")), values);
}

// A trade's or cost group's new name, carried into the companies, bookings and estimate rows that hold
// the old name exactly (upper and lower case count).
bool changeNameEntry(Database& db, NameEntryRepository::Table table, const NameEntry& changed,
                     const QString& oldName,
                     const std::function<bool(const QString&, qint64)>& stillAsLoaded) {
    const bool trades = table == NameEntryRepository::Table::Trades;
    Transaction transaction(db);
    if (!transaction.isActive() ||
        !stillAsLoaded(trades ? QStringLiteral("tblGewerk") : QStringLiteral("tblKostengruppe"),
                       changed.id) ||
        !NameEntryRepository(db, table).update(changed))
        return false;
    const QString companyField = trades ? QStringLiteral("GewerkID") : QStringLiteral("KostengruppeID");
    const QString copyField = trades ? QStringLiteral("Gewerk") : QStringLiteral("Kostengruppe");
    const QVariantList values = {StoredValue::bind(changed.name), oldName};
    const QString update = QStringLiteral("UPDATE %1 SET %2 = ? WHERE %2 = ? COLLATE %3")
                               .arg(QStringLiteral("%1"), QStringLiteral("%2"), db.exactCollation());
    if (!oldName.isEmpty() &&
        !(db.exec(update.arg(QStringLiteral("tblFirma"), companyField), values) &&
          runForBothCopyTables(db, update.arg(QStringLiteral("%1"), copyField), values)))
        return false;
    return transaction.commit();
}

} // namespace

bool NameCascade::stillAsLoaded(const QString& table, qint64 id) {
    return m_loadedStamp.isNull() || m_db.stillAsLoaded(table, QStringLiteral("ID"), id, m_loadedStamp);
}

bool NameCascade::changeProject(const Project& changed, const QString& oldName) {
    return changeProject(changed, oldName, std::nullopt, false);
}

bool NameCascade::changeProject(const Project& changed, const QString& oldName,
                                const std::optional<Money>& budget) {
    return changeProject(changed, oldName, budget, true);
}

bool NameCascade::changeProject(const Project& changed, const QString& oldName,
                                const std::optional<Money>& budget, bool withBudget) {
    Transaction transaction(m_db);
    if (!transaction.isActive() ||
        (!m_loadedStamp.isNull() &&
         !m_db.stillAsLoaded(ProjectRepository(m_db).stamp(changed.id), m_loadedStamp)) ||
        !ProjectRepository(m_db).update(changed) ||
        (withBudget && !BudgetRepository(m_db).store(changed.id, budget)))
        return false;
    if (!oldName.isEmpty() &&
        !runForBothCopyTables(m_db,
                              QStringLiteral("UPDATE %1 SET Projekt = ? WHERE trim(ProjektID) = ? "
                                             "AND fold(Projekt) = fold(?)"),
                              {StoredValue::bind(changed.name), QString::number(changed.id), oldName}))
        return false;
    return transaction.commit();
}

bool NameCascade::changeCompany(const Company& changed, const QString& oldName) {
    Transaction transaction(m_db);
    if (!transaction.isActive() || !stillAsLoaded(QStringLiteral("tblFirma"), changed.id) ||
        !CompanyRepository(m_db).update(changed))
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
    return changeNameEntry(m_db, NameEntryRepository::Table::Trades, changed, oldName,
                           [this](const QString& table, qint64 id) { return stillAsLoaded(table, id); });
}

bool NameCascade::changeCostGroup(const NameEntry& changed, const QString& oldName) {
    return changeNameEntry(m_db, NameEntryRepository::Table::CostGroups, changed, oldName,
                           [this](const QString& table, qint64 id) { return stillAsLoaded(table, id); });
}
