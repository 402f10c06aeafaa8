#pragma once

#include "Outcome.h"

class Session;

// Deletes a company from the register; the bookings and estimate rows naming it stay.
class RemoveCompany {
public:
    explicit RemoveCompany(Session& session) : m_session(session) {}

    Outcome run(qint64 id);

private:
    Session& m_session;
};
