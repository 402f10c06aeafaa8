#include "DayNumber.h"

#include <cmath>
#include <limits>

namespace {
const QDate kEpoch(1899, 12, 30);
// About the year 10000: a stored real beyond it is no date.
constexpr double kLargestDayNumber = 3.0e6;
} // namespace

int DayNumber::fromDate(const QDate& date) {
    return static_cast<int>(kEpoch.daysTo(date));
}

QDate DayNumber::toDate(int dayNumber) {
    return kEpoch.addDays(dayNumber);
}

QString DayNumber::format(int dayNumber) {
    return toDate(dayNumber).toString(QStringLiteral("dd.MM.yyyy"));
}

std::optional<int> DayNumber::parseStored(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 whole = trimmed.toLongLong(&ok);
    if (ok)
        return fromStoredInteger(whole);
    const double value = trimmed.toDouble(&ok);
    return ok ? fromStoredReal(value) : std::nullopt;
}

std::optional<int> DayNumber::fromStoredReal(double value) {
    if (!std::isfinite(value) || std::fabs(value) > kLargestDayNumber)
        return std::nullopt;
    return static_cast<int>(std::floor(value));
}

std::optional<int> DayNumber::fromStoredInteger(qint64 value) {
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

QString DayNumber::format(const std::optional<int>& dayNumber) {
    return dayNumber ? format(*dayNumber) : QString();
}
