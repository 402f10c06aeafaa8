#include "CompanyRepository.h"

#include "Database.h"
#include "PatternMatcher.h"
#include "StoredValue.h"

namespace {

const QString kSelect =
    QStringLiteral("SELECT ID, Name, \"Straße\", PLZ, Ort, Telefon1, Telefon2, Mobil, eMail, "
                   "Ansprechpartner, GewerkID, KostengruppeID FROM tblFirma ");
const QString kByName = QStringLiteral(" ORDER BY Name COLLATE GERMAN NULLS FIRST, ID");

Company build(const Database::Row& row) {
    Company company;
    company.id = row.rowNumber(0);
    company.name = row.text(1);
    company.street = row.text(2);
    company.postcode = row.text(3);
    company.town = row.text(4);
    company.phone = row.text(5);
    company.fax = row.text(6);
    company.mobile = row.text(7);
    company.email = row.text(8);
    company.contact = row.text(9);
    company.trade = row.text(10);
    company.costGroup = row.text(11);
    return company;
}

QList<Company> read(Database& db, const QString& sql, const QVariantList& values, bool* ok) {
    return StoredValue::rows<Company>(db, sql, values, ok, build);
}

QVariantList fields(const Company& company) {
    return {StoredValue::bind(company.name),     StoredValue::bind(company.street),
            StoredValue::bind(company.postcode), StoredValue::bind(company.town),
            StoredValue::bind(company.phone),    StoredValue::bind(company.fax),
            StoredValue::bind(company.mobile),   StoredValue::bind(company.email),
            StoredValue::bind(company.contact),  StoredValue::bind(company.trade),
            StoredValue::bind(company.costGroup)};
}

} // namespace

QList<Company> CompanyRepository::byId(bool* ok) const {
    return read(m_db, kSelect + QStringLiteral("ORDER BY ID"), {}, ok);
}

QList<Company> CompanyRepository::byName(bool* ok) const {
    return read(m_db, kSelect + kByName, {}, ok);
}

QStringList CompanyRepository::namesByName(bool* ok) const {
    QStringList names;
    const bool read = m_db.read(QStringLiteral("SELECT Name FROM tblFirma") + kByName, {},
                                [&names](const Database::Row& row) { names.append(row.text(0)); });
    if (ok)
        *ok = read;
    return names;
}

QList<Company> CompanyRepository::search(const QString& userText, SearchFrom from, bool* ok) const {
    const QString pattern = from == SearchFrom::Anywhere ? PatternMatcher::anywhere(userText)
                                                         : PatternMatcher::fromLeft(userText);
    return read(m_db,
                kSelect + QStringLiteral(
                              "WHERE matches(?, GewerkID) OR matches(?, KostengruppeID) OR matches(?, Name) "
                              "OR matches(?, PLZ) OR matches(?, Ort) ORDER BY ID"),
                {pattern, pattern, pattern, pattern, pattern}, ok);
}

QList<Company> CompanyRepository::searchByName(const QString& userText, bool* ok) const {
    const QString pattern = PatternMatcher::anywhere(userText);
    return read(
        m_db,
        kSelect +
            QStringLiteral("WHERE matches(?, Name) OR matches(?, GewerkID) OR matches(?, KostengruppeID) "
                           "OR matches(?, Ort) OR matches(?, PLZ)") +
            kByName,
        {pattern, pattern, pattern, pattern, pattern}, ok);
}

std::optional<Company> CompanyRepository::find(qint64 id, bool* ok) const {
    const QList<Company> rows = read(m_db, kSelect + QStringLiteral("WHERE ID = ?"), {id}, ok);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<Company> CompanyRepository::findByName(const QString& name, bool* ok) const {
    const QList<Company> rows = read(
        m_db, kSelect + QStringLiteral("WHERE fold(Name) = fold(?)") + kByName + QStringLiteral(" LIMIT 1"),
        {name}, ok);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<QString> CompanyRepository::stamp(qint64 id) const {
    return m_db.rowStamp(QStringLiteral("tblFirma"), QStringLiteral("ID"), id);
}

std::optional<qint64> CompanyRepository::add(const Company& company) {
    return m_db.insert(
        QStringLiteral("INSERT INTO tblFirma (Name, \"Straße\", PLZ, Ort, Telefon1, Telefon2, Mobil, "
                       "eMail, Ansprechpartner, GewerkID, KostengruppeID) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING ID"),
        fields(company));
}

bool CompanyRepository::update(const Company& company) {
    QVariantList values = fields(company);
    values.append(company.id);
    return m_db.changeRow(
        QStringLiteral("UPDATE tblFirma SET Name = ?, \"Straße\" = ?, PLZ = ?, Ort = ?, "
                       "Telefon1 = ?, Telefon2 = ?, Mobil = ?, eMail = ?, Ansprechpartner = ?, "
                       "GewerkID = ?, KostengruppeID = ? WHERE ID = ?"),
        values);
}

bool CompanyRepository::remove(qint64 id) {
    return m_db.changeRow(QStringLiteral("DELETE FROM tblFirma WHERE ID = ?"), {id});
}
