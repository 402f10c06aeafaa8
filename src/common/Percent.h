#pragma once

#include "Money.h"

#include <optional>
#include <QString>

// Percentages held as whole hundredths of a percent (2 % = 200, 2,5 % = 250) and what they come to.

// hundredths/100 percent of amount, rounded to the cent half away from zero, computed in integers.
Money percentOf(Money amount, int hundredths);
// A percentage as typed: "2", "2,5", "2,50", "2,5 %", "2.5"; nullopt for more than two decimals, a
// negative value or text.
std::optional<int> parsePercent(const QString& text);
// "2,50" for 250.
QString percentText(int hundredths);
