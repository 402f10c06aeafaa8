#include "RetentionRepository.h"

#include "Database.h"
#include "StoredValue.h"

#include <algorithm>

namespace {

const QString kSelect = QStringLiteral(
    "SELECT b.ID, b.Firma, b.Zahlungsart, b.AnweisungVom, b.Betrag, z.Brutto, z.Einbehalt, z.EinbehaltArt, "
    "z.SicherheitID, b.Projekt, b.Gewerk, b.Kostengruppe FROM tblBuchung b ");

RetentionRepository::Paid build(const Database::Row& row) {
    RetentionRepository::Paid paid;
    paid.bookingId = row.rowNumber(0);
    paid.company = row.text(1);
    paid.paymentKind = row.text(2);
    paid.instructedOn = row.integer(3);
    paid.gross = row.isNull(5) ? row.amount(4).value_or(Money()) : row.amount(5).value_or(Money());
    paid.retention = row.amount(6).value_or(Money());
    paid.retentionKind = row.text(7);
    if (!row.isNull(8))
        paid.securityId = row.rowNumber(8);
    paid.project = row.text(9);
    paid.trade = row.text(10);
    paid.costGroup = row.text(11);
    return paid;
}

} // namespace

QList<RetentionRepository::Paid> RetentionRepository::ofCompany(const QString& projectId,
                                                                const QString& company, bool* ok) const {
    // The company's spellings are found among the names of the project's index, then its rows are read
    // through that index: the project's other rows are never read. Sorted here, as an order in the
    // statement would lead the engine to the project's rows in ID order instead.
    QList<Paid> paid = StoredValue::rows<Paid>(
        m_db,
        kSelect + QStringLiteral("LEFT JOIN tblZahlung z ON z.BuchungID = b.ID WHERE trim(b.ProjektID) = ? "
                                 "AND b.Firma IN (SELECT Firma FROM tblBuchung WHERE trim(ProjektID) = ? AND "
                                 "fold(Firma) = fold(?) GROUP BY Firma)"),
        {projectId.trimmed(), projectId.trimmed(), company}, ok, build);
    std::sort(paid.begin(), paid.end(),
              [](const Paid& a, const Paid& b) { return a.bookingId < b.bookingId; });
    return paid;
}

QList<RetentionRepository::Paid> RetentionRepository::retainedInProject(const QString& projectId,
                                                                        bool* ok) const {
    return StoredValue::rows<Paid>(
        m_db,
        kSelect + QStringLiteral("JOIN tblZahlung z ON z.BuchungID = b.ID WHERE z.ProjektID = ? AND "
                                 "z.Einbehalt IS NOT NULL AND z.Einbehalt <> 0 ORDER BY b.ID"),
        {projectId.trimmed()}, ok, build);
}
