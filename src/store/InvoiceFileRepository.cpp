#include "InvoiceFileRepository.h"

#include "Database.h"

#include <QCryptographicHash>
#include <QRegularExpression>

QString InvoiceFileRepository::checksumOf(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

bool InvoiceFileRepository::add(qint64 bookingId, const QString& projectId, const QString& fileName,
                                const QByteArray& bytes) {
    return m_db
        .insert(QStringLiteral("INSERT INTO tblRechnungsdatei (BuchungID, ProjektID, Dateiname, "
                               "Pruefsumme, Inhalt) VALUES (?, ?, ?, ?, ?) RETURNING ID"),
                {bookingId, projectId, fileName, checksumOf(bytes), bytes})
        .has_value();
}

QSet<qint64> InvoiceFileRepository::bookingsWithFile(const QString& projectId, bool* ok) const {
    QSet<qint64> ids;
    const bool read = m_db.read(
        QStringLiteral("SELECT BuchungID FROM tblRechnungsdatei WHERE ProjektID = ? AND BuchungID IS "
                       "NOT NULL"),
        {projectId}, [&](const Database::Row& row) { ids.insert(row.rowNumber(0)); });
    if (ok)
        *ok = read;
    return ids;
}

namespace {
std::optional<InvoiceFileRepository::InvoiceFile> readOne(Database& db, const QString& condition,
                                                          const QVariant& value, bool withBytes, bool* ok) {
    std::optional<InvoiceFileRepository::InvoiceFile> found;
    const bool read = db.read(
        QStringLiteral(
            "SELECT ID, BuchungID, Dateiname, Pruefsumme%1 FROM tblRechnungsdatei WHERE %2 ORDER BY ID "
            "LIMIT 1")
            .arg(withBytes ? QStringLiteral(", Inhalt") : QString(), condition),
        {value}, [&](const Database::Row& row) {
            found = InvoiceFileRepository::InvoiceFile{
                row.rowNumber(0), row.isNull(1) ? std::nullopt : std::optional<qint64>(row.rowNumber(1)),
                row.text(2), row.text(3), withBytes ? row.bytes(4) : QByteArray()};
        });
    if (ok)
        *ok = read;
    return found;
}
} // namespace

std::optional<InvoiceFileRepository::InvoiceFile> InvoiceFileRepository::forBooking(qint64 bookingId,
                                                                                    bool* ok) const {
    return readOne(m_db, QStringLiteral("BuchungID = ?"), bookingId, true, ok);
}

std::optional<InvoiceFileRepository::InvoiceFile> InvoiceFileRepository::withChecksum(const QString& checksum,
                                                                                      bool* ok) const {
    return readOne(m_db, QStringLiteral("Pruefsumme = ?"), checksum, false, ok);
}

bool InvoiceFileRepository::moveToBooking(qint64 fromBookingId, qint64 toBookingId) {
    return m_db.exec(QStringLiteral("UPDATE tblRechnungsdatei SET BuchungID = ? WHERE BuchungID = ?"),
                     {toBookingId, fromBookingId});
}

bool InvoiceFileRepository::removeForBooking(qint64 bookingId) {
    return m_db.exec(QStringLiteral("DELETE FROM tblRechnungsdatei WHERE BuchungID = ?"), {bookingId});
}

bool InvoiceFileRepository::detachFromBooking(qint64 bookingId) {
    return m_db.exec(QStringLiteral("UPDATE tblRechnungsdatei SET BuchungID = NULL WHERE BuchungID = ?"),
                     {bookingId});
}

bool InvoiceFileRepository::attachToBooking(qint64 fileId, qint64 bookingId) {
    return m_db.exec(
        QStringLiteral("UPDATE tblRechnungsdatei SET BuchungID = ? WHERE ID = ? AND BuchungID IS NULL"),
        {bookingId, fileId});
}

QString InvoiceFileRepository::normalisedVatNumber(const QString& vatNumber) {
    static const QRegularExpression separators(QStringLiteral("[\\s.\\-/]"));
    return QString(vatNumber).remove(separators).toUpper();
}

std::optional<qint64> InvoiceFileRepository::companyWithVatNumber(const QString& vatNumber, bool* ok) const {
    std::optional<qint64> company;
    const bool read = m_db.read(
        QStringLiteral("SELECT FirmaID FROM tblUStIdNr WHERE UStIdNr = ? ORDER BY ID DESC "
                       "LIMIT 1"),
        {normalisedVatNumber(vatNumber)}, [&](const Database::Row& row) { company = row.rowNumber(0); });
    if (ok)
        *ok = read;
    return company;
}

bool InvoiceFileRepository::rememberVatNumber(const QString& vatNumber, qint64 companyId) {
    const QString number = normalisedVatNumber(vatNumber);
    if (number.isEmpty())
        return true;
    return m_db.exec(QStringLiteral("DELETE FROM tblUStIdNr WHERE UStIdNr = ?"), {number}) &&
           m_db.insert(QStringLiteral("INSERT INTO tblUStIdNr (UStIdNr, FirmaID) VALUES (?, ?) RETURNING ID"),
                       {number, companyId})
               .has_value();
}
