#include "ExemptionRepository.h"

#include "Database.h"
#include "StoredValue.h"

namespace {

const QString kSelect = QStringLiteral(
    "SELECT ID, FirmaID, Nummer, Finanzamt, GueltigVon, GueltigBis, GeprueftAm FROM tblFreistellung ");
const QString kOrder = QStringLiteral(" ORDER BY GueltigBis DESC NULLS LAST, ID");

Exemption build(const Database::Row& row) {
    return {row.rowNumber(0), row.rowNumber(1), row.text(2),   row.text(3),
            row.integer(4),   row.integer(5),   row.integer(6)};
}

QVariantList fields(const Exemption& exemption) {
    return {exemption.companyId,
            StoredValue::bind(exemption.number.trimmed()),
            StoredValue::bind(exemption.taxOffice.trimmed()),
            StoredValue::bind(exemption.validFrom),
            StoredValue::bind(exemption.validTo),
            StoredValue::bind(exemption.checkedOn)};
}

} // namespace

QList<Exemption> ExemptionRepository::forCompany(qint64 companyId, bool* ok) const {
    return StoredValue::rows<Exemption>(m_db, kSelect + QStringLiteral("WHERE FirmaID = ?") + kOrder,
                                        {companyId}, ok, build);
}

QList<Exemption> ExemptionRepository::forCompanyNamed(const QString& name, bool* ok) const {
    return StoredValue::rows<Exemption>(
        m_db,
        kSelect +
            QStringLiteral("WHERE FirmaID = (SELECT ID FROM tblFirma WHERE fold(Name) = fold(?) "
                           "ORDER BY Name COLLATE GERMAN NULLS FIRST, ID LIMIT 1)") +
            kOrder,
        {name}, ok, build);
}

QList<std::pair<qint64, int>> ExemptionRepository::endingBy(int lastDay, bool* ok) const {
    return StoredValue::rows<std::pair<qint64, int>>(
        m_db,
        QStringLiteral("SELECT FirmaID, max(GueltigBis) FROM tblFreistellung GROUP BY FirmaID "
                       "HAVING max(GueltigBis) <= ? ORDER BY FirmaID"),
        {lastDay}, ok, [](const Database::Row& row) {
            return std::pair{row.rowNumber(0), row.integer(1).value_or(0)};
        });
}

std::optional<Exemption> ExemptionRepository::find(qint64 id, bool* ok) const {
    const QList<Exemption> rows =
        StoredValue::rows<Exemption>(m_db, kSelect + QStringLiteral("WHERE ID = ?"), {id}, ok, build);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<qint64> ExemptionRepository::add(const Exemption& exemption) {
    return m_db.insert(QStringLiteral("INSERT INTO tblFreistellung (FirmaID, Nummer, Finanzamt, GueltigVon, "
                                      "GueltigBis, GeprueftAm) VALUES (?, ?, ?, ?, ?, ?) RETURNING ID"),
                       fields(exemption));
}

bool ExemptionRepository::update(const Exemption& exemption) {
    QVariantList values = fields(exemption);
    values.append(exemption.id);
    return m_db.changeRow(QStringLiteral("UPDATE tblFreistellung SET FirmaID = ?, Nummer = ?, Finanzamt = ?, "
                                         "GueltigVon = ?, GueltigBis = ?, GeprueftAm = ? WHERE ID = ?"),
                          values);
}

bool ExemptionRepository::remove(qint64 id) {
    return m_db.changeRow(QStringLiteral("DELETE FROM tblFreistellung WHERE ID = ?"), {id});
}

bool ExemptionRepository::removeForCompany(qint64 companyId) {
    return m_db.exec(QStringLiteral("DELETE FROM tblFreistellung WHERE FirmaID = ?"), {companyId});
}
