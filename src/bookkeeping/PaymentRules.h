#pragma once

#include <optional>
#include <QString>

class Session;

// The base rate of interest that every workstation shares (tblEinstellung "Basiszinssatz" in hundredths of
// a percent, "BasiszinsAb" the day it applies from); unset, it counts as 0 with no day.
struct BaseRate {
    int hundredths = 0;
    std::optional<int> since;
    bool isSet = false;

    bool operator==(const BaseRate&) const = default;
};

// Reads the rules of payment the database keeps for every workstation.
class PaymentRules {
public:
    static QString baseRateSetting();
    static QString baseRateSinceSetting();
    // ok, when given, is false when the settings could not be read (the rate then counts as unset).
    static BaseRate baseRate(Session& session, bool* ok = nullptr);
    // "1,27 %" or "-0,88 %" for a rate in hundredths of a percent.
    static QString rateText(int hundredths);
    // A rate as typed: "1,27", "-0,88", "2", "1,27 %"; nullopt for more than two decimals, text, or a
    // rate beyond ±100 %.
    static std::optional<int> parseRate(const QString& text);
};
