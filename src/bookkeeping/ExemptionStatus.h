#pragma once

#include "Exemption.h"

#include <QList>
#include <QString>

// How a company stands with its exemption certificates on a day, as the company register shows it: covered
// (certificates following one another without a gap count as one), running out within 30 days (orange),
// not covered although it had or will have one (red), or none at all.
struct ExemptionStatus {
    enum class Kind { None, Valid, Expiring, Expired };
    static constexpr int kWarningDays = 30;

    Kind kind = Kind::None;
    // The last day covered (Valid, Expiring) or the day the last certificate ended (Expired); the first
    // day of a certificate not yet valid.
    std::optional<int> day;
    QString text;

    static ExemptionStatus of(const QList<Exemption>& exemptions, int today);
    // The colour of the text: orange for Expiring, red for Expired, none otherwise.
    QString colour() const;
};
