#pragma once

#include <QList>

// The running number of a booking within its project (PID) or of an estimate row (NID): the highest
// number seen at the last refill plus one.
class RunningNumber {
public:
    static int next(const QList<int>& seen);
    static int next(int highestSeen) { return highestSeen + 1; }
};
