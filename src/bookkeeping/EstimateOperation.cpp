#include "EstimateOperation.h"

#include "Database.h"
#include "EstimateRepository.h"
#include "Session.h"
#include "Transaction.h"

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
        if (replacing && ((!replacing->m_stamp.isNull() &&
                           !estimates.stillAsLoaded(replacing->m_id, replacing->m_stamp)) ||
                          !estimates.remove(replacing->m_id))) {
            originalRefused = true;
            return false;
        }
        return estimates.addNumbered(stored) && transaction.commit([&] {
            return estimates.storedAs(stored.rowId, *stored.runningNumber, stored.company);
        });
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
    if (!EstimateRepository(db).remove(rowId))
        return Outcome::ofStore(db);
    m_session.wrote();
    return Outcome::done();
}
