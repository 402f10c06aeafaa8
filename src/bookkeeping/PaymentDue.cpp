#include "PaymentDue.h"

#include <algorithm>

namespace PaymentDue {

namespace {

bool isKind(const QString& paymentKind, const QString& kind) {
    return paymentKind.trimmed().compare(kind, Qt::CaseInsensitive) == 0;
}

} // namespace

int daysToPay(const QString& paymentKind, std::optional<int> orderDays) {
    const bool settles = isKind(paymentKind, QStringLiteral(u"Schlußzahlung")) ||
                         isKind(paymentKind, QStringLiteral(u"Schlusszahlung")) ||
                         isKind(paymentKind, QStringLiteral(u"Rückhalt"));
    if (!settles)
        return 21;
    if (orderDays && *orderDays > 0)
        return *orderDays;
    return 30;
}

int dueOn(int receivedOn, int days) {
    return receivedOn + days;
}

bool overdue(int dueOn, int today) {
    return today > dueOn;
}

std::optional<int> discountLastDay(int receivedOn, std::optional<int> discountDays) {
    if (!discountDays || *discountDays < 0)
        return std::nullopt;
    return receivedOn + *discountDays;
}

Money interest(Money amount, int receivedOn, int paidOrToday, int baseRateHundredths) {
    const qint64 days = std::max(0, paidOrToday - (receivedOn + InterestFreeDays));
    const qint64 rate = std::max(0, baseRateHundredths + InterestPointsAboveBase);
    // amount * rate * days / divisor, split so that no product leaves 64 bits even for 10^12 cents over
    // a century: the amount is taken apart into whole divisors and a rest below one.
    constexpr qint64 divisor = 100LL * 100LL * 365LL;
    const qint64 cents = amount.cents();
    const qint64 magnitude = cents < 0 ? -cents : cents;
    const qint64 factor = rate * days;
    const qint64 wholes = magnitude / divisor;
    const qint64 rest = magnitude % divisor;
    qint64 result = wholes * factor + (rest * factor) / divisor;
    const qint64 remainder = (rest * factor) % divisor;
    if (2 * remainder >= divisor)
        ++result;
    return Money::fromCents(cents < 0 ? -result : result);
}

} // namespace PaymentDue
