#pragma once

#include "AsLoaded.h"
#include "NameEntry.h"
#include "NameList.h"
#include "Outcome.h"

class Session;

// Saves a trade or a cost group from the presets: a new one, or a rename of a loaded one carried into the
// companies, bookings and estimate rows that hold the old name exactly.
class SaveNameEntry {
public:
    SaveNameEntry(Session& session, NameList list) : m_session(session), m_list(list) {}

    // The outcome carries the number the new entry got.
    Outcome add(const QString& name);
    Outcome change(const NameEntry& changed, const QString& oldName, const AsLoaded& loaded);

private:
    Session& m_session;
    NameList m_list;
};
