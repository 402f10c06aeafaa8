#include "EstimateRepository.h"

#include "Database.h"
#include "RunningNumber.h"
#include "StoredValue.h"

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

bool EstimateRepository::book(EstimateRow& row, std::optional<qint64> replacing, bool* originalGone,
                              const QString& loadedStamp) {
    EstimateRow stored = row;
    const auto check = [&] {
        return !replacing || loadedStamp.isNull() ||
               m_db.stillAsLoaded(QStringLiteral("tblNachtrag"), QStringLiteral("rowid"), *replacing,
                                  loadedStamp);
    };
    const std::optional<qint64> rowId = RunningNumber::book(
        m_db, row.projectId, replacing, originalGone,
        {check, [this](qint64 rowId) { return remove(rowId); },
         [&](bool* ok) { return highestRunningNumber(row.projectId, row.company, ok); },
         [&](int number) {
             stored.runningNumber = number;
             return add(stored);
         },
         [this, &stored](qint64 rowId, int number) -> std::optional<bool> {
             bool ok = true;
             const std::optional<EstimateRow> found = find(rowId, &ok);
             if (!ok)
                 return std::nullopt;
             return found && found->runningNumber == number && found->company == stored.company;
         }});
    if (!rowId)
        return false;
    stored.rowId = *rowId;
    row = stored;
    return true;
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
