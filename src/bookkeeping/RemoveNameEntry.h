#pragma once

#include "NameList.h"
#include "Outcome.h"

class Session;

// Deletes a trade or a cost group from the presets; the companies, bookings and estimate rows naming it
// stay.
class RemoveNameEntry {
public:
    RemoveNameEntry(Session& session, NameList list) : m_session(session), m_list(list) {}

    Outcome run(qint64 id);

private:
    Session& m_session;
    NameList m_list;
};
