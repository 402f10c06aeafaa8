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
        const std::optional<qint64> id = steps.add(next(highest));
        if (!id || !transaction.commit())
            return false;
        added = id;
        return true;
    });
    return added;
}
