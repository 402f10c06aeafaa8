#pragma once

// The running number of a booking within its project (PID) or of an estimate row (NID): the highest
// number the file holds plus one.
class RunningNumber {
public:
    static int next(int highestSeen) { return highestSeen + 1; }
};
