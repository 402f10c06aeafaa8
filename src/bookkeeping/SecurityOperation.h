#pragma once

#include "Money.h"
#include "Outcome.h"
#include "Security.h"

#include <optional>
#include <QString>

class Session;

// Adds, changes and removes a security a company gave (a guarantee, or a retention recorded as one), each
// in a transaction of its own that the journal records as "Sicherheit", and releases what was retained in
// cash by a booking of its own ("Rückhalt") linked to what it releases.
class SecurityOperation {
public:
    explicit SecurityOperation(Session& session) : m_session(session) {}

    static QString task() { return QStringLiteral("Sicherheit"); }
    // The German reason why security cannot be stored; empty when it can.
    static QString refusal(const Security& security);
    // The day a security for defects goes back: acceptance plus the years the order agrees
    // (§17 Abs. 8 Nr. 2 VOB/B), the same day of the month or, where that day is missing, the last one.
    static int returnDay(int acceptedOn, int years);

    // Adds security for the company (by its name in the register); the outcome carries its number.
    Outcome add(const QString& company, Security security);
    // Stores changed over the security as loaded (before), unless another workstation changed or removed
    // it meanwhile.
    Outcome change(const Security& before, Security changed);
    Outcome remove(qint64 id);
    // Books the release of amount retained in cash from the company for kind on day: a booking "Rückhalt"
    // whose payment retains -amount and pays amount out, linked to securityId where it releases a
    // recorded security. Refused beyond what is retained. The outcome carries the booking's ID.
    Outcome release(const QString& projectId, const QString& company, const QString& kind, Money amount,
                    int day, std::optional<qint64> securityId = std::nullopt);

private:
    Session& m_session;
};
