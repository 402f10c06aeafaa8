#pragma once

#include "OrderTerms.h"
#include "Outcome.h"

#include <QString>

class Session;

// Stores the payment terms of a company's order in a transaction of its own that the journal records as
// "Zahlungsbedingung"; terms that break a rule of securities or deadlines write nothing, and the outcome
// says why.
class OrderTermsOperation {
public:
    explicit OrderTermsOperation(Session& session) : m_session(session) {}

    static QString task() { return QStringLiteral("Zahlungsbedingung"); }

    // The German reason why terms cannot be stored; empty when they can. Under VOB/B the security for
    // performance is at most 5 % of the order sum, for defects at most 3 % of the final sum (§17 Abs. 1
    // VOB/B with §9c Abs. 2 VOB/A).
    static QString refusal(const OrderTerms& terms);
    // Stores terms for the company's order numbered terms.runningNumber in terms.projectId, replacing the
    // terms it had; refused when that estimate row is no order ("Auftrag vom").
    Outcome save(const QString& company, OrderTerms terms);

private:
    Session& m_session;
};
