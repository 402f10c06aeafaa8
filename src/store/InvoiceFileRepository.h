#pragma once

#include <optional>
#include <QByteArray>
#include <QSet>
#include <QString>

class Database;

// Reads and writes tblRechnungsdatei, the original files of e-invoices kept with their bookings
// (byte for byte), and tblUStIdNr, the VAT numbers by which a company is found again. Failure
// reporting as ProjectRepository.
class InvoiceFileRepository {
public:
    struct InvoiceFile {
        qint64 id = 0;
        std::optional<qint64> bookingId;
        QString fileName;
        QString checksum;
        QByteArray bytes;
    };

    explicit InvoiceFileRepository(Database& database) : m_db(database) {}

    // The file's checksum as stored: SHA-256 in hex.
    static QString checksumOf(const QByteArray& bytes);
    // Keeps the file with the booking of the project.
    bool add(qint64 bookingId, const QString& projectId, const QString& fileName, const QByteArray& bytes);
    // The project's bookings that keep a file.
    QSet<qint64> bookingsWithFile(const QString& projectId, bool* ok = nullptr) const;
    std::optional<InvoiceFile> forBooking(qint64 bookingId, bool* ok = nullptr) const;
    // A file stored already with these bytes (its booking may be gone), without its bytes.
    std::optional<InvoiceFile> withChecksum(const QString& checksum, bool* ok = nullptr) const;
    // Hands the booking's file on to the booking that replaces it.
    bool moveToBooking(qint64 fromBookingId, qint64 toBookingId);
    // Removes the booking's file, or keeps it without a booking.
    bool removeForBooking(qint64 bookingId);
    bool detachFromBooking(qint64 bookingId);
    // Keeps the file fileId, detached from its booking, with the booking again; nothing when the file is
    // gone or kept with another booking.
    bool attachToBooking(qint64 fileId, qint64 bookingId);

    // The company (tblFirma.ID) an earlier e-invoice with this VAT number was booked for.
    std::optional<qint64> companyWithVatNumber(const QString& vatNumber, bool* ok = nullptr) const;
    bool rememberVatNumber(const QString& vatNumber, qint64 companyId);
    // A VAT number as compared: without blanks, dots and dashes, in capitals.
    static QString normalisedVatNumber(const QString& vatNumber);

private:
    Database& m_db;
};
