#pragma once

#include <optional>
#include <QString>

// A running number (PID of a booking, NID of an estimate row) as every list, question and report shows it.
class RunningNumberText {
public:
    static QString of(std::optional<int> number);
};
