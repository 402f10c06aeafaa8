#pragma once

#include "Money.h"

#include <QString>

#include <optional>

// When a booked invoice falls due, when its discount runs out and what interest a late payment owes, after
// VOB/B §16: pure rules on day numbers and cents, without store or screen.
namespace PaymentDue {

// The days a payment of this kind may take after the invoice was received: 21 for an instalment
// (§16 Abs. 1 Nr. 3 VOB/B), 30 for the final payment and the release of a retention (§16 Abs. 3 Nr. 1),
// or the days the order agrees for those (60 where it says so). Any other kind counts as an instalment.
int daysToPay(const QString& paymentKind, std::optional<int> orderDays);

int dueOn(int receivedOn, int days);

// Late from the day after the due date.
bool overdue(int dueOn, int today);

// The last day a discount may be taken: receipt plus the agreed days; none without agreed days.
std::optional<int> discountLastDay(int receivedOn, std::optional<int> discountDays);

// Interest owed on amount from the 31st day after receipt until paidOrToday (§16 Abs. 5 Nr. 3 VOB/B):
// base rate plus 9 points a year, a year always of 365 days, rounded to the cent once at the end, half
// away from zero. A total rate below 0 owes nothing. Rates are hundredths of a percent (1,27 % = 127).
Money interest(Money amount, int receivedOn, int paidOrToday, int baseRateHundredths);

// The days before interest starts, counted from receipt.
inline constexpr int InterestFreeDays = 30;
// The points above the base rate, in hundredths of a percent.
inline constexpr int InterestPointsAboveBase = 900;

} // namespace PaymentDue
