#include "ExemptionStatus.h"

#include "DayNumber.h"

#include <algorithm>

namespace {
// The last day covered from day on, following certificates that begin at the latest on the day after the
// one before ends; nullopt when none is valid on day.
std::optional<int> coveredUntil(const QList<Exemption>& exemptions, int day) {
    std::optional<int> until;
    for (bool extended = true; extended;) {
        extended = false;
        for (const Exemption& exemption : exemptions) {
            if (!exemption.validFrom || !exemption.validTo)
                continue;
            const int reach = until ? *until + 1 : day;
            if (*exemption.validFrom <= reach && *exemption.validTo >= reach) {
                until = *exemption.validTo;
                extended = true;
            }
        }
    }
    return until;
}
} // namespace

ExemptionStatus ExemptionStatus::of(const QList<Exemption>& exemptions, int today) {
    if (const std::optional<int> until = coveredUntil(exemptions, today)) {
        if (*until - today <= kWarningDays)
            return {
                Kind::Expiring, until,
                QStringLiteral("Freistellungsbescheinigung läuft am %1 ab").arg(DayNumber::format(*until))};
        return {Kind::Valid, until,
                QStringLiteral("Freistellungsbescheinigung gültig bis %1").arg(DayNumber::format(*until))};
    }
    std::optional<int> ended;
    std::optional<int> begins;
    for (const Exemption& exemption : exemptions) {
        if (exemption.validTo && *exemption.validTo < today)
            ended = std::max(ended.value_or(*exemption.validTo), *exemption.validTo);
        if (exemption.validFrom && *exemption.validFrom > today)
            begins = std::min(begins.value_or(*exemption.validFrom), *exemption.validFrom);
    }
    if (begins)
        return {Kind::Expired, begins,
                QStringLiteral("Keine gültige Freistellungsbescheinigung: die nächste gilt ab %1")
                    .arg(DayNumber::format(*begins))};
    if (ended)
        return {Kind::Expired, ended,
                QStringLiteral("Freistellungsbescheinigung abgelaufen am %1").arg(DayNumber::format(*ended))};
    return {Kind::None, std::nullopt,
            exemptions.isEmpty() ? QStringLiteral("Keine Freistellungsbescheinigung")
                                 : QStringLiteral("Keine gültige Freistellungsbescheinigung")};
}

QString ExemptionStatus::colour() const {
    switch (kind) {
    case Kind::Expiring:
        return QStringLiteral("#c06000");
    case Kind::Expired:
        return QStringLiteral("#c00000");
    case Kind::None:
    case Kind::Valid:
        break;
    }
    return QString();
}
