#pragma once

#include "AsLoaded.h"
#include "Money.h"
#include "Outcome.h"
#include "Project.h"

#include <optional>

class Session;

// Saves a project from the project manager: a new one, or a change of a loaded one with its name carried
// into its bookings and estimate rows; its budget (none removes it) in the same transaction.
class SaveProject {
public:
    explicit SaveProject(Session& session) : m_session(session) {}

    // The outcome carries the number the new project got.
    Outcome add(const QString& name, std::optional<int> startDay, const std::optional<Money>& budget);
    // oldName: the name as loaded, which the copies are looked up by.
    Outcome change(const Project& changed, const QString& oldName, const std::optional<Money>& budget,
                   const AsLoaded& loaded);

private:
    Session& m_session;
};
