#include "PaymentRepository.h"

#include "Database.h"
#include "StoredValue.h"

namespace {

const QString kColumns = QStringLiteral(
    "BuchungID, ProjektID, Eingang, Frist, Rechnungsbetrag, Brutto, Einbehalt, EinbehaltArt, Bauabzug, "
    "Finanzamt, SkontoProzent, SkontoTage, Skonto, SicherheitID");

// A percentage is stored like an amount (2,5 % as 2.5), so its hundredths read as cents.
std::optional<int> hundredths(const DatabaseRow& row, int column) {
    const std::optional<Money> stored = row.amount(column);
    if (!stored)
        return std::nullopt;
    return static_cast<int>(stored->cents());
}

Payment build(const DatabaseRow& row) {
    Payment payment;
    payment.bookingId = row.rowNumber(0);
    payment.projectId = row.text(1);
    payment.receivedOn = row.integer(2);
    payment.daysToPay = row.integer(3);
    payment.invoiceAmount = row.amount(4);
    payment.gross = row.amount(5);
    payment.retention = row.amount(6);
    payment.retentionKind = row.text(7);
    payment.withholding = row.amount(8);
    payment.taxOffice = row.text(9);
    payment.discountPercent = hundredths(row, 10);
    payment.discountDays = row.integer(11);
    payment.discount = row.amount(12);
    if (!row.isNull(13))
        payment.securityId = row.rowNumber(13);
    return payment;
}

QVariantList fields(const Payment& payment) {
    const std::optional<Money> percent =
        payment.discountPercent ? std::optional(Money::fromCents(*payment.discountPercent)) : std::nullopt;
    return {payment.bookingId,
            StoredValue::bind(payment.projectId.trimmed()),
            StoredValue::bind(payment.receivedOn),
            StoredValue::bind(payment.daysToPay),
            StoredValue::bind(payment.invoiceAmount),
            StoredValue::bind(payment.gross),
            StoredValue::bind(payment.retention),
            StoredValue::bind(payment.retentionKind),
            StoredValue::bind(payment.withholding),
            StoredValue::bind(payment.taxOffice),
            StoredValue::bind(percent),
            StoredValue::bind(payment.discountDays),
            StoredValue::bind(payment.discount),
            payment.securityId ? QVariant(*payment.securityId) : QVariant(QMetaType(QMetaType::LongLong))};
}

} // namespace

std::optional<Payment> PaymentRepository::find(qint64 bookingId, bool* ok) const {
    const QList<Payment> rows = StoredValue::rows<Payment>(
        m_db, QStringLiteral("SELECT %1 FROM tblZahlung WHERE BuchungID = ?").arg(kColumns), {bookingId}, ok,
        build);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QList<Payment> PaymentRepository::forProject(const QString& projectId, bool* ok) const {
    return StoredValue::rows<Payment>(
        m_db,
        QStringLiteral("SELECT %1 FROM tblZahlung WHERE ProjektID = ? ORDER BY BuchungID").arg(kColumns),
        {projectId.trimmed()}, ok, build);
}

QList<std::pair<int, int>> PaymentRepository::agreedDiscounts(const QString& projectId,
                                                              const QString& company, bool* ok) const {
    return StoredValue::rows<std::pair<int, int>>(
        m_db,
        QStringLiteral(
            "SELECT z.SkontoProzent, z.SkontoTage FROM tblZahlungsbedingung z JOIN tblFirma f ON f.ID "
            "= z.FirmaID WHERE z.ProjektID = ? AND fold(f.Name) = fold(?) AND z.SkontoProzent IS NOT "
            "NULL AND z.SkontoTage IS NOT NULL ORDER BY z.ID"),
        {projectId.trimmed(), company}, ok, [](const DatabaseRow& row) {
            return std::pair{hundredths(row, 0).value_or(0), row.integer(1).value_or(0)};
        });
}

bool PaymentRepository::add(const Payment& payment) {
    return m_db.exec(
        QStringLiteral("INSERT INTO tblZahlung (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(kColumns),
        fields(payment));
}

bool PaymentRepository::remove(qint64 bookingId) {
    return m_db.exec(QStringLiteral("DELETE FROM tblZahlung WHERE BuchungID = ?"), {bookingId});
}
