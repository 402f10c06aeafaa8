#include "ProjectLedger.h"

#include "BudgetRepository.h"
#include "CompanyRepository.h"
#include "Database.h"
#include "EstimateRepository.h"
#include "NameEntryRepository.h"
#include "Session.h"

namespace {
QStringList namesOf(const QList<NameEntry>& entries) {
    QStringList names;
    names.reserve(entries.size());
    for (const NameEntry& entry : entries)
        names.append(entry.name);
    return names;
}
} // namespace

QString ProjectLedger::failureText() const {
    return m_session.database().lastError();
}

QList<Booking> ProjectLedger::bookings(const QString& projectId, bool* ok) const {
    return BookingRepository(m_session.database()).forProject(projectId, ok);
}

QList<Booking> ProjectLedger::bookingsWith(const QString& projectId, Field field, const QString& value,
                                           bool* ok) const {
    return BookingRepository(m_session.database()).withValue(projectId, field, value, ok);
}

QList<Booking> ProjectLedger::bookingsInstructedOnDays(const QString& projectId, int firstDay, int lastDay,
                                                       bool* ok) const {
    return BookingRepository(m_session.database()).instructedOnDays(projectId, firstDay, lastDay, ok);
}

std::optional<Booking> ProjectLedger::booking(qint64 id, bool* ok) const {
    return BookingRepository(m_session.database()).find(id, ok);
}

QStringList ProjectLedger::distinctValues(Field field, const QString& projectId, bool* ok) const {
    return BookingRepository(m_session.database()).distinctValues(field, projectId, ok);
}

QList<Booking> ProjectLedger::bookingsWithUnreadableAmount(const QString& projectId, bool* ok) const {
    return BookingRepository(m_session.database()).withUnreadableAmount(projectId, ok);
}

QList<EstimateRow> ProjectLedger::estimateRows(const QString& projectId, const QString& company,
                                               bool* ok) const {
    return EstimateRepository(m_session.database()).forProjectAndCompany(projectId, company, ok);
}

std::optional<EstimateRow> ProjectLedger::estimateRow(qint64 rowId, bool* ok) const {
    return EstimateRepository(m_session.database()).find(rowId, ok);
}

QList<EstimateRow> ProjectLedger::estimateRowsWithUnreadableAmount(const QString& projectId, bool* ok) const {
    return EstimateRepository(m_session.database()).withUnreadableAmount(projectId, ok);
}

ProjectLedger::CostInput ProjectLedger::costInput(const QString& projectId,
                                                  std::optional<qint64> leftOutBookingId,
                                                  std::optional<qint64> leftOutEstimateRowId,
                                                  bool* ok) const {
    Database& db = m_session.database();
    bool bookingsRead = true;
    bool estimatesRead = true;
    bool budgetRead = true;
    CostInput input;
    input.companies = BookingRepository(db).sumsByCompany(projectId, leftOutBookingId, &bookingsRead,
                                                          &input.byInstructionDay);
    input.budget = BudgetRepository(db).find(projectId.toLongLong(), &budgetRead);
    input.estimateRows = EstimateRepository(db).forProject(projectId, &estimatesRead);
    if (leftOutEstimateRowId)
        input.estimateRows.removeIf(
            [&](const EstimateRow& row) { return row.rowId == *leftOutEstimateRowId; });
    if (ok)
        *ok = bookingsRead && estimatesRead && budgetRead;
    return input;
}

QList<Company> ProjectLedger::companies(bool* ok) const {
    return CompanyRepository(m_session.database()).byName(ok);
}

QStringList ProjectLedger::companyNames(bool* ok) const {
    return CompanyRepository(m_session.database()).namesByName(ok);
}

QList<Company> ProjectLedger::companiesFound(const QString& userText, bool* ok) const {
    return CompanyRepository(m_session.database()).searchByName(userText, ok);
}

std::optional<Company> ProjectLedger::company(const QString& name, bool* ok) const {
    return CompanyRepository(m_session.database()).findByName(name, ok);
}

std::optional<Company> ProjectLedger::company(qint64 id, bool* ok) const {
    return CompanyRepository(m_session.database()).find(id, ok);
}

QStringList ProjectLedger::trades(bool* ok) const {
    return namesOf(NameEntryRepository(m_session.database(), NameEntryRepository::Table::Trades).byName(ok));
}

QStringList ProjectLedger::costGroups(bool* ok) const {
    return namesOf(
        NameEntryRepository(m_session.database(), NameEntryRepository::Table::CostGroups).byName(ok));
}

QSet<qint64> ProjectLedger::bookingsWithFile(const QString& projectId, bool* ok) const {
    return InvoiceFileRepository(m_session.database()).bookingsWithFile(projectId, ok);
}

std::optional<ProjectLedger::InvoiceFile> ProjectLedger::invoiceFile(qint64 bookingId, bool* ok) const {
    return InvoiceFileRepository(m_session.database()).forBooking(bookingId, ok);
}

std::optional<ProjectLedger::InvoiceFile> ProjectLedger::invoiceFileLike(const QByteArray& bytes,
                                                                         bool* ok) const {
    return InvoiceFileRepository(m_session.database())
        .withChecksum(InvoiceFileRepository::checksumOf(bytes), ok);
}

std::optional<qint64> ProjectLedger::companyWithVatNumber(const QString& vatNumber, bool* ok) const {
    return InvoiceFileRepository(m_session.database()).companyWithVatNumber(vatNumber, ok);
}
