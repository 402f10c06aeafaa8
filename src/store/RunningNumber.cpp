#include "RunningNumber.h"

#include "Database.h"
#include "Transaction.h"

std::optional<qint64> RunningNumber::book(Database& db, const QString& projectId,
                                          std::optional<qint64> replacing, bool* originalGone,
                                          const Steps& steps) {
    if (originalGone)
        *originalGone = false;
    std::optional<qint64> added;
    db.retryOnceWhenBusy([&] {
        added.reset();
        Transaction transaction(db);
        if (!transaction.isActive())
            return false;
        if ((steps.check && !steps.check()) || (replacing && !steps.remove(*replacing))) {
            if (originalGone)
                *originalGone = db.lastFailure() == Database::Failure::RowGone;
            return false;
        }
        if (!db.lockProject(projectId))
            return false;
        bool ok = true;
        const int highest = steps.highest(&ok);
        if (!ok)
            return false;
        const int number = next(highest);
        const std::optional<qint64> id = steps.add(number);
        if (!id)
            return false;
        // The new row's identity is known before the COMMIT: a lost answer is asked for by it.
        std::function<std::optional<bool>()> stored;
        if (steps.stored)
            stored = [&] { return steps.stored(*id, number); };
        if (!transaction.commit(stored))
            return false;
        added = id;
        return true;
    });
    return added;
}
