#include "OrderTermsRepository.h"

#include "Database.h"
#include "StoredValue.h"

namespace {

const QString kSelect =
    QStringLiteral("SELECT ID, ProjektID, FirmaID, NID, VOB, ErfuellungProzent, ErfuellungForm, "
                   "MaengelProzent, MaengelForm, "
                   "MaengelJahre, SkontoProzent, SkontoTage, Frist FROM tblZahlungsbedingung ");

// A percentage is stored like an amount (2,5 % as 2.5), so its hundredths read and bind as cents.
std::optional<int> percent(const Database::Row& row, int column) {
    const std::optional<Money> read = row.amount(column);
    if (!read || read->cents() < 0 || read->cents() > 10000)
        return std::nullopt;
    return int(read->cents());
}

QVariant bindPercent(std::optional<int> hundredths) {
    return StoredValue::bind(hundredths ? std::optional<Money>(Money::fromCents(*hundredths)) : std::nullopt);
}

OrderTerms build(const Database::Row& row) {
    OrderTerms terms;
    terms.id = row.rowNumber(0);
    terms.projectId = row.text(1);
    terms.companyId = row.rowNumber(2);
    terms.runningNumber = row.integer(3).value_or(0);
    terms.vob = row.integer(4).value_or(1) != 0;
    terms.performancePercent = percent(row, 5);
    terms.performanceForm = row.text(6);
    terms.defectsPercent = percent(row, 7);
    terms.defectsForm = row.text(8);
    terms.defectsYears = row.integer(9);
    terms.discountPercent = percent(row, 10);
    terms.discountDays = row.integer(11);
    terms.daysToPay = row.integer(12);
    return terms;
}

QVariantList fields(const OrderTerms& terms) {
    return {StoredValue::bind(terms.projectId.trimmed()),
            terms.companyId,
            terms.runningNumber,
            terms.vob ? 1 : 0,
            bindPercent(terms.performancePercent),
            StoredValue::bind(terms.performanceForm),
            bindPercent(terms.defectsPercent),
            StoredValue::bind(terms.defectsForm),
            StoredValue::bind(terms.defectsYears),
            bindPercent(terms.discountPercent),
            StoredValue::bind(terms.discountDays),
            StoredValue::bind(terms.daysToPay)};
}

} // namespace

std::optional<OrderTerms> OrderTermsRepository::find(const QString& projectId, qint64 companyId,
                                                     int runningNumber, bool* ok) const {
    const QList<OrderTerms> rows = StoredValue::rows<OrderTerms>(
        m_db, kSelect + QStringLiteral("WHERE ProjektID = ? AND FirmaID = ? AND NID = ? ORDER BY ID LIMIT 1"),
        {projectId.trimmed(), companyId, runningNumber}, ok, build);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QList<OrderTerms> OrderTermsRepository::forProject(const QString& projectId, bool* ok) const {
    return StoredValue::rows<OrderTerms>(m_db, kSelect + QStringLiteral("WHERE ProjektID = ? ORDER BY ID"),
                                         {projectId.trimmed()}, ok, build);
}

std::optional<QString> OrderTermsRepository::stamp(qint64 id) const {
    return m_db.rowStamp(QStringLiteral("tblZahlungsbedingung"), QStringLiteral("ID"), id);
}

std::optional<qint64> OrderTermsRepository::add(const OrderTerms& terms) {
    return m_db.insert(
        QStringLiteral(
            "INSERT INTO tblZahlungsbedingung (ProjektID, FirmaID, NID, VOB, ErfuellungProzent, "
            "ErfuellungForm, MaengelProzent, MaengelForm, MaengelJahre, SkontoProzent, SkontoTage, "
            "Frist) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING ID"),
        fields(terms));
}

bool OrderTermsRepository::update(const OrderTerms& terms) {
    QVariantList values = fields(terms);
    values.append(terms.id);
    return m_db.changeRow(
        QStringLiteral("UPDATE tblZahlungsbedingung SET ProjektID = ?, FirmaID = ?, NID = ?, VOB = ?, "
                       "ErfuellungProzent = ?, ErfuellungForm = ?, MaengelProzent = ?, MaengelForm = ?, "
                       "MaengelJahre = ?, SkontoProzent = ?, SkontoTage = ?, Frist = ? WHERE ID = ?"),
        values);
}

bool OrderTermsRepository::removeFor(const QString& projectId, qint64 companyId, int runningNumber) {
    return m_db.exec(
        QStringLiteral("DELETE FROM tblZahlungsbedingung WHERE ProjektID = ? AND FirmaID = ? AND NID = ?"),
        {projectId.trimmed(), companyId, runningNumber});
}

bool OrderTermsRepository::renumber(const QString& projectId, qint64 companyId, int from, int to) {
    return m_db.exec(QStringLiteral("UPDATE tblZahlungsbedingung SET NID = ? WHERE ProjektID = ? AND "
                                    "FirmaID = ? AND NID = ?"),
                     {to, projectId.trimmed(), companyId, from});
}
