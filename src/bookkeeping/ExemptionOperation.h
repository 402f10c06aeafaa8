#pragma once

#include "Exemption.h"
#include "Outcome.h"

#include <QString>

class Session;

// Adds, changes and removes an exemption certificate of a company, each in a transaction of its own that
// the journal records as "Freistellungsbescheinigung". A certificate without number, tax office or both
// days of its validity, or ending before it begins, writes nothing; the outcome says why.
class ExemptionOperation {
public:
    explicit ExemptionOperation(Session& session) : m_session(session) {}

    static QString task() { return QStringLiteral("Freistellungsbescheinigung"); }
    // The German reason exemption cannot be stored; empty when it can.
    static QString refusal(const Exemption& exemption);

    // Adds exemption to the company exemption.companyId; the outcome carries the certificate's number.
    Outcome add(const Exemption& exemption);
    // Stores changed over the certificate as loaded (before), unless another workstation changed or
    // removed it meanwhile.
    Outcome change(const Exemption& before, const Exemption& changed);
    Outcome remove(qint64 id);

private:
    Session& m_session;
};
