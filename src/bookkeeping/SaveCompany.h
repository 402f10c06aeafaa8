#pragma once

#include "AsLoaded.h"
#include "Company.h"
#include "Outcome.h"

class Session;

// Saves a company from the company register: a new one, or a change of a loaded one with its name, trade
// and cost group carried into the bookings and estimate rows of every project that name it.
class SaveCompany {
public:
    explicit SaveCompany(Session& session) : m_session(session) {}

    // The outcome carries the number the new company got.
    Outcome add(const Company& company);
    // oldName: the name as loaded, which the copies are looked up by (ignoring case).
    Outcome change(const Company& changed, const QString& oldName, const AsLoaded& loaded);

private:
    Session& m_session;
};
