#include "EstimateRepository.h"

#include "Database.h"
#include "RunningNumber.h"
#include "StoredValue.h"
#include "Transaction.h"

#include <algorithm>

namespace {

const QString kSelect = QStringLiteral("SELECT rowid, NID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                                       "ArchitektDatum, ArchitektKosten, NachtragDatum, NachtragArt, "
                                       "NachtragKosten FROM tblNachtrag ");

EstimateRow build(const Database::Row& field) {
    EstimateRow row;
    row.rowId = field.rowNumber(0);
    row.runningNumber = field.integer(1);
    row.projectId = field.text(2);
    row.project = field.text(3);
    row.company = field.text(4);
    row.trade = field.text(5);
    row.costGroup = field.text(6);
    row.architectDate = field.integer(7);
    row.architectCost = field.amount(8, row.unreadableArchitectCost);
    row.orderDate = field.integer(9);
    if (!row.architectDate)
        row.architectDateText = field.text(7);
    if (!row.orderDate)
        row.orderDateText = field.text(9);
    row.orderKind = field.text(10);
    row.orderCost = field.amount(11, row.unreadableOrderCost);
    return row;
}

QList<EstimateRow> read(Database& db, const QString& sql, const QVariantList& values, bool* ok) {
    return StoredValue::rows<EstimateRow>(db, sql, values, ok, build);
}

} // namespace

QList<EstimateRow> EstimateRepository::all(bool* ok) const {
    return read(m_db, kSelect + QStringLiteral("ORDER BY rowid"), {}, ok);
}

QList<EstimateRow> EstimateRepository::forProjectAndCompany(const QString& projectId, const QString& company,
                                                            bool* ok) const {
    return read(
        m_db,
        kSelect + QStringLiteral(
                      "WHERE trim(ProjektID) = ? AND fold(Firma) = fold(?) ORDER BY NID NULLS FIRST, rowid"),
        {projectId, company}, ok);
}

QList<EstimateRow> EstimateRepository::forProject(const QString& projectId, bool* ok) const {
    return read(m_db, kSelect + QStringLiteral("WHERE trim(ProjektID) = ? ORDER BY NID NULLS FIRST, rowid"),
                {projectId}, ok);
}

int EstimateRepository::highestRunningNumber(const QString& projectId, const QString& company,
                                             bool* ok) const {
    const QList<int> highest = StoredValue::rows<int>(
        m_db,
        QStringLiteral("SELECT MAX(CAST(NID AS INTEGER)) FROM tblNachtrag WHERE trim(ProjektID) = ? "
                       "AND fold(Firma) = fold(?)"),
        {projectId, company}, ok, [](const Database::Row& row) { return row.integer(0).value_or(0); });
    return highest.isEmpty() ? 0 : std::max(0, highest.first());
}

std::optional<bool> EstimateRepository::holdsRunningNumber(const QString& projectId, const QString& company,
                                                           int runningNumber) const {
    bool held = false;
    if (!m_db.read(QStringLiteral("SELECT 1 FROM tblNachtrag WHERE trim(ProjektID) = ? AND fold(Firma) = "
                                  "fold(?) AND NID = ? LIMIT 1"),
                   {projectId, company, runningNumber}, [&](const Database::Row&) { held = true; }))
        return std::nullopt;
    return held;
}

std::optional<EstimateRow> EstimateRepository::find(const QString& projectId, int runningNumber,
                                                    std::optional<int> architectDate,
                                                    std::optional<int> orderDate, bool* ok) const {
    const QList<EstimateRow> rows =
        read(m_db,
             kSelect + QStringLiteral(
                           "WHERE trim(ProjektID) = ? AND NID = ? AND ArchitektDatum IS NOT DISTINCT FROM ? "
                           "AND NachtragDatum IS NOT DISTINCT FROM ? ORDER BY rowid LIMIT 1"),
             {projectId, runningNumber, StoredValue::bind(architectDate), StoredValue::bind(orderDate)}, ok);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<qint64> EstimateRepository::add(const EstimateRow& row) {
    return m_db.insert(
        QStringLiteral("INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                       "ArchitektDatum, ArchitektKosten, NachtragDatum, NachtragArt, NachtragKosten) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING rowid"),
        {StoredValue::bind(row.runningNumber), StoredValue::bind(row.projectId),
         StoredValue::bind(row.project), StoredValue::bind(row.company), StoredValue::bind(row.trade),
         StoredValue::bind(row.costGroup), StoredValue::bindDay(row.architectDate, row.architectDateText),
         StoredValue::bind(row.architectCost), StoredValue::bindDay(row.orderDate, row.orderDateText),
         StoredValue::bind(row.orderKind), StoredValue::bind(row.orderCost)});
}

bool EstimateRepository::remove(qint64 rowId) {
    return m_db.changeRow(QStringLiteral("DELETE FROM tblNachtrag WHERE rowid = ?"), {rowId});
}

std::optional<EstimateRow> EstimateRepository::find(qint64 rowId, bool* ok) const {
    const QList<EstimateRow> rows = read(m_db, kSelect + QStringLiteral("WHERE rowid = ?"), {rowId}, ok);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

bool EstimateRepository::book(EstimateRow& row) {
    EstimateRow stored = row;
    const bool booked = m_db.retryOnceWhenBusy([&] {
        stored = row;
        Transaction transaction(m_db);
        return transaction.isActive() && addNumbered(stored) && transaction.commit([&] {
            return storedAs(stored.rowId, *stored.runningNumber, stored.company);
        });
    });
    if (booked)
        row = stored;
    return booked;
}

bool EstimateRepository::addNumbered(EstimateRow& row) {
    if (!m_db.lockProject(row.projectId))
        return false;
    bool ok = true;
    const int highest = highestRunningNumber(row.projectId, row.company, &ok);
    if (!ok)
        return false;
    EstimateRow stored = row;
    stored.runningNumber = RunningNumber::next(highest);
    const std::optional<qint64> rowId = add(stored);
    if (!rowId)
        return false;
    stored.rowId = *rowId;
    row = stored;
    return true;
}

std::optional<bool> EstimateRepository::storedAs(qint64 rowId, int runningNumber,
                                                 const QString& company) const {
    bool ok = true;
    const std::optional<EstimateRow> found = find(rowId, &ok);
    if (!ok)
        return std::nullopt;
    return found && found->runningNumber == runningNumber && found->company == company;
}

std::optional<QString> EstimateRepository::stamp(qint64 rowId) {
    return m_db.rowStamp(QStringLiteral("tblNachtrag"), QStringLiteral("rowid"), rowId);
}

bool EstimateRepository::stillAsLoaded(qint64 rowId, const QString& stamp) {
    return m_db.stillAsLoaded(QStringLiteral("tblNachtrag"), QStringLiteral("rowid"), rowId, stamp);
}

QList<EstimateRow> EstimateRepository::withUnreadableAmount(const QString& projectId, bool* ok) const {
    QList<EstimateRow> rows = read(
        m_db,
        kSelect + QStringLiteral("WHERE trim(ProjektID) = ? AND (%1 OR abs(ArchitektKosten) >= 1e13 OR %2 OR "
                                 "abs(NachtragKosten) >= 1e13) ORDER BY NID NULLS FIRST, rowid")
                      .arg(m_db.foreignNumberCondition(QStringLiteral("ArchitektKosten")),
                           m_db.foreignNumberCondition(QStringLiteral("NachtragKosten"))),
        {projectId}, ok);
    rows.removeIf([](const EstimateRow& row) {
        return row.unreadableArchitectCost.isEmpty() && row.unreadableOrderCost.isEmpty();
    });
    return rows;
}
