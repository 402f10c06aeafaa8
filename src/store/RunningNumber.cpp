#include "RunningNumber.h"

#include <algorithm>

int RunningNumber::next(const QList<int>& seen) {
    int highest = 0;
    for (int number : seen)
        highest = std::max(highest, number);
    return next(highest);
}
