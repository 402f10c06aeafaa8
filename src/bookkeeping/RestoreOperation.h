#pragma once

#include "Outcome.h"

#include <QString>

class Session;

// Restores what a deletion recorded in the journal removed: a booking, an estimate row, a company, a trade,
// a cost group, or a project with its bookings and estimate rows (and an e-invoice file kept with a
// deleted booking), each with its identity, in one transaction that the journal records as one entry of
// its own.
class RestoreOperation {
public:
    explicit RestoreOperation(Session& session) : m_session(session) {}

    // Whether the journal's entry entryId is a deletion that can be restored now (the row is not stored
    // again meanwhile). A booking replaced by its correction was not deleted.
    bool restorable(qint64 entryId);
    // Restores the deletion of entryId. A running number taken meanwhile is replaced by the project's next;
    // notice then tells the user which number the restored row got, and names a company, trade, cost group
    // or project the row refers to that is gone meanwhile (the row keeps the name). Refused, with the
    // reason, when the entry is no such deletion or the row is stored again.
    Outcome restore(qint64 entryId, QString* notice = nullptr);

private:
    Session& m_session;
};
