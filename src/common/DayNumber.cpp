#include "DayNumber.h"

#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
}

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
    const int whole = trimmed.toInt(&ok);
    if (ok)
        return whole;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 3.0e6)
        return std::nullopt;
    return static_cast<int>(std::floor(value));
}

QString DayNumber::formatStored(const QString& text) {
    return format(parseStored(text));
}

QString DayNumber::format(const std::optional<int>& dayNumber) {
    return dayNumber ? format(*dayNumber) : QString();
}
