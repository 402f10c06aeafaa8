#pragma once

#include <functional>
#include <optional>
#include <QString>
#include <QtGlobal>

class Database;

// The running number of a booking within its project (PID) or of an estimate row (NID): the highest
// number the database holds plus one.
class RunningNumber {
public:
    static int next(int highestSeen) { return highestSeen + 1; }

    // Adds a numbered row in one transaction under the lock of its project: removes the row replacing
    // first when given (originalGone tells whether it was gone), takes the highest number so far and adds
    // the row with the next one. Tried once more when other workstations held the database too long.
    // Returns the new row's identity; nothing is changed when any step fails.
    // check, when given, runs first under the lock and ends the transaction when it answers false.
    // stored, when given, tells after a COMMIT whose answer the broken connection lost whether the row
    // with this identity and number is stored (nullopt: cannot be read either).
    struct Steps {
        std::function<bool()> check;
        std::function<bool(qint64)> remove;
        std::function<int(bool*)> highest;
        std::function<std::optional<qint64>(int number)> add;
        std::function<std::optional<bool>(qint64 id, int number)> stored = {};
    };
    static std::optional<qint64> book(Database& db, const QString& projectId, std::optional<qint64> replacing,
                                      bool* originalGone, const Steps& steps);
};
