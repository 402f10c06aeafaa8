#include "SecurityRepository.h"

#include "Database.h"
#include "StoredValue.h"

namespace {

const QString kSelect = QStringLiteral("SELECT ID, ProjektID, FirmaID, Art, Form, Betrag, Buerge, UrkundeNr, "
                                       "ErhaltenAm, RueckgabeAm, ZurueckAm FROM tblSicherheit ");

Security build(const Database::Row& row) {
    Security security;
    security.id = row.rowNumber(0);
    security.projectId = row.text(1);
    security.companyId = row.rowNumber(2);
    security.kind = row.text(3);
    security.form = row.text(4);
    security.amount = row.amount(5);
    security.guarantor = row.text(6);
    security.documentNumber = row.text(7);
    security.receivedOn = row.integer(8);
    security.returnDueOn = row.integer(9);
    security.returnedOn = row.integer(10);
    return security;
}

QVariantList fields(const Security& security) {
    return {StoredValue::bind(security.projectId.trimmed()),
            security.companyId,
            StoredValue::bind(security.kind),
            StoredValue::bind(security.form),
            StoredValue::bind(security.amount),
            StoredValue::bind(security.guarantor),
            StoredValue::bind(security.documentNumber),
            StoredValue::bind(security.receivedOn),
            StoredValue::bind(security.returnDueOn),
            StoredValue::bind(security.returnedOn)};
}

} // namespace

QList<Security> SecurityRepository::forProject(const QString& projectId, bool* ok) const {
    return StoredValue::rows<Security>(m_db, kSelect + QStringLiteral("WHERE ProjektID = ? ORDER BY ID"),
                                       {projectId.trimmed()}, ok, build);
}

std::optional<Security> SecurityRepository::find(qint64 id, bool* ok) const {
    const QList<Security> rows =
        StoredValue::rows<Security>(m_db, kSelect + QStringLiteral("WHERE ID = ?"), {id}, ok, build);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<QString> SecurityRepository::stamp(qint64 id) const {
    return m_db.rowStamp(QStringLiteral("tblSicherheit"), QStringLiteral("ID"), id);
}

std::optional<qint64> SecurityRepository::add(const Security& security) {
    return m_db.insert(
        QStringLiteral("INSERT INTO tblSicherheit (ProjektID, FirmaID, Art, Form, Betrag, Buerge, "
                       "UrkundeNr, ErhaltenAm, RueckgabeAm, ZurueckAm) VALUES (?, ?, ?, ?, ?, ?, ?, "
                       "?, ?, ?) RETURNING ID"),
        fields(security));
}

bool SecurityRepository::update(const Security& security) {
    QVariantList values = fields(security);
    values.append(security.id);
    return m_db.changeRow(
        QStringLiteral("UPDATE tblSicherheit SET ProjektID = ?, FirmaID = ?, Art = ?, Form = ?, "
                       "Betrag = ?, Buerge = ?, UrkundeNr = ?, ErhaltenAm = ?, RueckgabeAm = ?, "
                       "ZurueckAm = ? WHERE ID = ?"),
        values);
}

bool SecurityRepository::remove(qint64 id) {
    return m_db.changeRow(QStringLiteral("DELETE FROM tblSicherheit WHERE ID = ?"), {id});
}
