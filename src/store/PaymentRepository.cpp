#include "PaymentRepository.h"

#include "Database.h"
#include "SameName.h"
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
    QList<std::pair<int, int>> agreed;
    const Database::Statement question = agreedDiscountsQuestion(projectId);
    const bool read = m_db.read(question.sql, question.values, [&](const DatabaseRow& row) {
        if (const std::optional<std::pair<int, int>> discount = agreedDiscount(row, 0, company))
            agreed.append(*discount);
    });
    if (ok)
        *ok = read;
    return agreed;
}

Database::Statement PaymentRepository::agreedDiscountsQuestion(const QString& projectId) {
    // The names are compared by the program (the same-name rule), which spares the server planning the
    // comparison on every booking.
    return {QStringLiteral("SELECT z.SkontoProzent, z.SkontoTage, f.Name FROM tblZahlungsbedingung z JOIN "
                           "tblFirma f ON f.ID = z.FirmaID WHERE z.ProjektID = ? AND z.SkontoProzent IS NOT "
                           "NULL AND z.SkontoTage IS NOT NULL"),
            {projectId.trimmed()}};
}

std::optional<std::pair<int, int>> PaymentRepository::agreedDiscount(const DatabaseRow& row, int first,
                                                                     const QString& company) {
    if (!SameName::equal(row.text(first + 2), company))
        return std::nullopt;
    return std::pair{hundredths(row, first).value_or(0), row.integer(first + 1).value_or(0)};
}

Database::Statement PaymentRepository::addition(const Payment& payment) {
    QVariantList values = fields(payment);
    values.removeFirst();
    return {QStringLiteral("INSERT INTO tblZahlung (%1) VALUES (%2, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(kColumns, Database::newRow()),
            values};
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
