#include "EstimateOperation.h"

#include "CompanyRepository.h"
#include "Database.h"
#include "EstimateRepository.h"
#include "OrderTermsRepository.h"
#include "RetentionProposal.h"
#include "SameName.h"
#include "Session.h"
#include "Transaction.h"

namespace {

// Within the transaction that removes the estimate row original: its order's payment terms go with it,
// or pass to replacement when that is the corrected order of the same company.
bool carryTerms(Database& db, const EstimateRow& original, const EstimateRow* replacement) {
    if (!original.runningNumber || !RetentionProposal::isMainOrder(original.orderKind))
        return true;
    bool ok = true;
    const std::optional<Company> company = CompanyRepository(db).findByName(original.company, &ok);
    if (!ok || !company)
        return ok;
    OrderTermsRepository terms(db);
    const QString projectId = original.projectId.trimmed();
    if (replacement && replacement->runningNumber && RetentionProposal::isMainOrder(replacement->orderKind) &&
        SameName::equal(replacement->company, original.company) &&
        replacement->projectId.trimmed() == projectId)
        return terms.renumber(projectId, company->id, *original.runningNumber, *replacement->runningNumber);
    return terms.removeFor(projectId, company->id, *original.runningNumber);
}

bool removeTerms(Database& db, qint64 rowId) {
    bool ok = true;
    const std::optional<EstimateRow> row = EstimateRepository(db).find(rowId, &ok);
    return ok && (!row || carryTerms(db, *row, nullptr));
}

} // namespace

Outcome EstimateOperation::book(EstimateRow& row, const std::optional<AsLoaded>& replacing) {
    Database& db = m_session.database();
    EstimateRepository estimates(db);
    EstimateRow stored;
    bool originalRefused = false;
    const bool booked = db.retryOnceWhenBusy([&] {
        stored = row;
        originalRefused = false;
        Transaction transaction(db);
        if (!transaction.isActive())
            return false;
        if (replacing && !replacing->m_stamp.isNull() &&
            !estimates.stillAsLoaded(replacing->m_id, replacing->m_stamp)) {
            originalRefused = true;
            return false;
        }
        std::optional<EstimateRow> original;
        bool read = true;
        if (replacing)
            original = estimates.find(replacing->m_id, &read);
        if (replacing && (!read || !estimates.remove(replacing->m_id))) {
            originalRefused = true;
            return false;
        }
        if (!estimates.addNumbered(stored))
            return false;
        if (original && !carryTerms(db, *original, &stored))
            return false;
        return transaction.commit(
            [&] { return estimates.storedAs(stored.rowId, *stored.runningNumber, stored.company); });
    });
    if (!booked) {
        const Outcome failure = Outcome::ofStore(db);
        if (failure.kind() == Outcome::Kind::Gone && !originalRefused)
            return Outcome::failed(Outcome::Kind::Other, failure.text());
        return failure;
    }
    row = stored;
    m_session.wrote();
    return Outcome::done(stored.rowId);
}

std::optional<Loaded<EstimateRow>> EstimateOperation::takeBack(qint64 rowId, Outcome* failure) {
    EstimateRepository estimates(m_session.database());
    const std::optional<QString> stamp = estimates.stamp(rowId);
    bool ok = true;
    const std::optional<EstimateRow> row = stamp ? estimates.find(rowId, &ok) : std::nullopt;
    if (!row || !stamp) {
        if (failure)
            *failure = !stamp || !ok ? Outcome::ofStore(m_session.database())
                                     : Outcome::failed(Outcome::Kind::Gone, QString());
        return std::nullopt;
    }
    return Loaded<EstimateRow>{*row, AsLoaded(*stamp, rowId)};
}

Outcome EstimateOperation::remove(qint64 rowId) {
    Database& db = m_session.database();
    Transaction transaction(db);
    if (!transaction.isActive() || !removeTerms(db, rowId) || !EstimateRepository(db).remove(rowId) ||
        !transaction.commit())
        return Outcome::ofStore(db);
    m_session.wrote();
    return Outcome::done();
}
