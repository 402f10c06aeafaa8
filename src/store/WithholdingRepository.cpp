#include "WithholdingRepository.h"

#include "BookingRepository.h"
#include "Database.h"
#include "StoredValue.h"

std::optional<Money> WithholdingRepository::grossPaid(const QString& company, int firstDay, int lastDay,
                                                      qint64 excluded) const {
    Money sum;
    const bool read = m_db.read(
        QStringLiteral("SELECT z.Brutto, b.Betrag FROM tblBuchung b LEFT JOIN tblZahlung z ON "
                       "z.BuchungID = b.ID WHERE %1 AND b.AnweisungVom >= ? AND b.AnweisungVom <= ? "
                       "AND b.ID <> ?")
            .arg(m_db.companyCondition(QStringLiteral("tblBuchung"), QStringLiteral("b"))),
        {company, firstDay, lastDay, excluded}, [&](const Database::Row& row) {
            sum += (row.isNull(0) ? row.amount(1) : row.amount(0)).value_or(Money());
        });
    if (!read)
        return std::nullopt;
    return sum;
}

QList<WithheldPayment> WithholdingRepository::withheld(int firstDay, int lastDay, bool* ok) const {
    return StoredValue::rows<WithheldPayment>(
        m_db,
        QStringLiteral("SELECT %1, z.Rechnungsbetrag, z.Brutto, z.Bauabzug, z.Finanzamt FROM tblZahlung z "
                       "JOIN tblBuchung b ON b.ID = z.BuchungID WHERE (z.Bauabzug > 0 OR z.Bauabzug < 0) AND "
                       "b.AnweisungVom >= ? AND b.AnweisungVom <= ? ORDER BY b.AnweisungVom, b.ID")
            .arg(BookingRepository::columns(QStringLiteral("b"))),
        {firstDay, lastDay}, ok, [](const Database::Row& row) {
            constexpr int first = 13;
            return WithheldPayment{BookingRepository::built(row, 0), row.amount(first), row.amount(first + 1),
                                   row.amount(first + 2).value_or(Money()), row.text(first + 3)};
        });
}
