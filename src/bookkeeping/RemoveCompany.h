#pragma once

#include "Outcome.h"

#include <QString>

class Session;

// Deletes a company from the register with its bank accounts and exemption certificates; the bookings and
// estimate rows naming it stay.
class RemoveCompany {
public:
    explicit RemoveCompany(Session& session) : m_session(session) {}

    Outcome run(qint64 id);
    // What the journal names the removal's changes by, so that restoring the company finds its accounts
    // and certificates.
    static QString task() { return QStringLiteral("Firma löschen"); }

private:
    Session& m_session;
};
