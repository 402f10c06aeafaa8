#pragma once

#include "Outcome.h"

#include <QString>

class Session;

// Deletes a project and its budget; its bookings and estimate rows stay.
class RemoveProject {
public:
    explicit RemoveProject(Session& session) : m_session(session) {}

    Outcome run(qint64 id);
    // What the journal names the removal's changes by, so that restoring the project finds them all.
    static QString task() { return QStringLiteral("Projekt löschen"); }

private:
    Session& m_session;
};
