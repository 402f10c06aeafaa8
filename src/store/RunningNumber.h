#pragma once

// The running number of a booking within its project (PID) or of an estimate row (NID): the highest
// number the database holds plus one, read in the transaction that adds the row, under the lock of its
// project.
class RunningNumber {
public:
    static int next(int highestSeen) { return highestSeen + 1; }
};
