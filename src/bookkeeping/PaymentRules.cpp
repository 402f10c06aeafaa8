#include "PaymentRules.h"

#include "DayNumber.h"
#include "Money.h"
#include "Session.h"
#include "SignOffRepository.h"

QString PaymentRules::baseRateSetting() {
    return QStringLiteral("Basiszinssatz");
}

QString PaymentRules::baseRateSinceSetting() {
    return QStringLiteral("BasiszinsAb");
}

BaseRate PaymentRules::baseRate(Session& session, bool* ok) {
    SignOffRepository settings(session.database());
    bool readRate = false;
    bool readSince = false;
    const std::optional<QString> rate = settings.setting(baseRateSetting(), &readRate);
    const std::optional<QString> since = settings.setting(baseRateSinceSetting(), &readSince);
    if (ok)
        *ok = readRate && readSince;
    BaseRate found;
    bool number = false;
    const int hundredths = rate ? rate->trimmed().toInt(&number) : 0;
    if (number) {
        found.hundredths = hundredths;
        found.isSet = true;
    }
    if (since)
        found.since = DayNumber::parseStored(*since);
    return found;
}

QString PaymentRules::rateText(int hundredths) {
    return Money::fromCents(hundredths).toGerman() + QStringLiteral(" %");
}

std::optional<int> PaymentRules::parseRate(const QString& text) {
    QString number = text.trimmed();
    if (number.endsWith(u'%'))
        number.chop(1);
    const std::optional<Money> parsed = Money::parseGerman(number);
    if (!parsed || parsed->cents() > 10000 || parsed->cents() < -10000)
        return std::nullopt;
    return int(parsed->cents());
}
