#pragma once

#include "Outcome.h"

class Session;

// Deletes a project and its budget; its bookings and estimate rows stay.
class RemoveProject {
public:
    explicit RemoveProject(Session& session) : m_session(session) {}

    Outcome run(qint64 id);

private:
    Session& m_session;
};
