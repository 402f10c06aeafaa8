#pragma once

#include "Booking.h"
#include "BookingRepository.h"
#include "Company.h"
#include "EstimateRow.h"
#include "InvoiceFileRepository.h"

#include <optional>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

class Session;

// What the workspace reads of a project and of the register it books against, as typed rows: a reading
// that fails tells it through ok, and failureText() gives the German text to show.
class ProjectLedger {
public:
    using Field = BookingRepository::Field;
    using CompanySum = BookingRepository::CompanySum;
    using InvoiceFile = InvoiceFileRepository::InvoiceFile;
    // What the cost report is computed from.
    struct CostInput {
        QList<CompanySum> companies;
        QList<EstimateRow> estimateRows;
        std::optional<Money> budget;
        QHash<int, Money> byInstructionDay;
    };

    explicit ProjectLedger(Session& session) : m_session(session) {}

    // The German text of the last reading that failed.
    QString failureText() const;

    // The project's bookings in order of entry.
    QList<Booking> bookings(const QString& projectId, bool* ok = nullptr) const;
    // The project's bookings whose company, trade or cost group equals value ignoring case, by
    // instruction date.
    QList<Booking> bookingsWith(const QString& projectId, Field field, const QString& value,
                                bool* ok = nullptr) const;
    // The project's bookings instructed on a day from firstDay to lastDay (both included), by running number.
    QList<Booking> bookingsInstructedOnDays(const QString& projectId, int firstDay, int lastDay,
                                            bool* ok = nullptr) const;
    std::optional<Booking> booking(qint64 id, bool* ok = nullptr) const;
    // The distinct companies, trades or cost groups of the project's bookings, in German order.
    QStringList distinctValues(Field field, const QString& projectId, bool* ok = nullptr) const;
    QList<Booking> bookingsWithUnreadableAmount(const QString& projectId, bool* ok = nullptr) const;

    // The rows of one company in one project, by running number.
    QList<EstimateRow> estimateRows(const QString& projectId, const QString& company,
                                    bool* ok = nullptr) const;
    std::optional<EstimateRow> estimateRow(qint64 rowId, bool* ok = nullptr) const;
    QList<EstimateRow> estimateRowsWithUnreadableAmount(const QString& projectId, bool* ok = nullptr) const;

    // The cost report's figures, leaving out the booking and the estimate row that wait taken back.
    CostInput costInput(const QString& projectId, std::optional<qint64> leftOutBookingId,
                        std::optional<qint64> leftOutEstimateRowId, bool* ok = nullptr) const;

    // The register's companies by name.
    QList<Company> companies(bool* ok = nullptr) const;
    QStringList companyNames(bool* ok = nullptr) const;
    // The companies the search text of the entry tab finds.
    QList<Company> companiesFound(const QString& userText, bool* ok = nullptr) const;
    // The first company whose name equals name ignoring case.
    std::optional<Company> company(const QString& name, bool* ok = nullptr) const;
    std::optional<Company> company(qint64 id, bool* ok = nullptr) const;
    // The stored trades and cost groups by name.
    QStringList trades(bool* ok = nullptr) const;
    QStringList costGroups(bool* ok = nullptr) const;

    // The project's bookings that keep an e-invoice file.
    QSet<qint64> bookingsWithFile(const QString& projectId, bool* ok = nullptr) const;
    std::optional<InvoiceFile> invoiceFile(qint64 bookingId, bool* ok = nullptr) const;
    // A file stored already with these bytes (its booking may be gone), without its bytes.
    std::optional<InvoiceFile> invoiceFileLike(const QByteArray& bytes, bool* ok = nullptr) const;
    // The company an earlier e-invoice with this VAT number was booked for.
    std::optional<qint64> companyWithVatNumber(const QString& vatNumber, bool* ok = nullptr) const;

private:
    Session& m_session;
};
