#include "NameCascade.h"

#include "CompanyRepository.h"
#include "Database.h"
#include "Journal.h"
#include "NameEntryRepository.h"
#include "ProjectRepository.h"
#include "StoredValue.h"

namespace {

// Runs statement, whose %1 names the table, on the bookings and on the estimate rows; the journal
// records the rows of each table as one entry.
bool runForBothCopyTables(Database& db, const QString& statement, const QVariantList& values,
                          const QString& companies = QString()) {
    Journal journal(db);
    return journal.collect(QStringLiteral("Namensänderung")) &&
           (companies.isEmpty() || db.exec(companies, values)) &&
           db.exec(statement.arg(QStringLiteral("tblBuchung")), values) &&
           db.exec(statement.arg(QStringLiteral("tblNachtrag")), values) && journal.finishCollecting();
}

// A trade's or cost group's new name, carried into the companies, bookings and estimate rows that hold
// the old name exactly (upper and lower case count).
bool changeNameEntry(Database& db, NameEntryRepository::Table table, const NameEntry& changed,
                     const QString& oldName) {
    const bool trades = table == NameEntryRepository::Table::Trades;
    if (!NameEntryRepository(db, table).update(changed))
        return false;
    const QString companyField = trades ? QStringLiteral("GewerkID") : QStringLiteral("KostengruppeID");
    const QString copyField = trades ? QStringLiteral("Gewerk") : QStringLiteral("Kostengruppe");
    const QVariantList values = {StoredValue::bind(changed.name), oldName};
    const QString update = QStringLiteral("UPDATE %1 SET %2 = ? WHERE %2 = ? COLLATE %3")
                               .arg(QStringLiteral("%1"), QStringLiteral("%2"), db.exactCollation());
    return oldName.isEmpty() || runForBothCopyTables(db, update.arg(QStringLiteral("%1"), copyField), values,
                                                     update.arg(QStringLiteral("tblFirma"), companyField));
}

} // namespace

bool NameCascade::changeProject(const Project& changed, const QString& oldName) {
    return ProjectRepository(m_db).update(changed) &&
           (oldName.isEmpty() ||
            runForBothCopyTables(m_db,
                                 QStringLiteral("UPDATE %1 SET Projekt = ? WHERE trim(ProjektID) = ? "
                                                "AND fold(Projekt) = fold(?)"),
                                 {StoredValue::bind(changed.name), QString::number(changed.id), oldName}));
}

bool NameCascade::changeCompany(const Company& changed, const QString& oldName) {
    return CompanyRepository(m_db).update(changed) &&
           (oldName.isEmpty() ||
            runForBothCopyTables(m_db,
                                 QStringLiteral("UPDATE %1 SET Firma = ?, Gewerk = ?, Kostengruppe = ? "
                                                "WHERE fold(Firma) = fold(?)"),
                                 {StoredValue::bind(changed.name), StoredValue::bind(changed.trade),
                                  StoredValue::bind(changed.costGroup), oldName}));
}

bool NameCascade::changeTrade(const NameEntry& changed, const QString& oldName) {
    return changeNameEntry(m_db, NameEntryRepository::Table::Trades, changed, oldName);
}

bool NameCascade::changeCostGroup(const NameEntry& changed, const QString& oldName) {
    return changeNameEntry(m_db, NameEntryRepository::Table::CostGroups, changed, oldName);
}
