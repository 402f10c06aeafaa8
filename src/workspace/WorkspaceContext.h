#pragma once

#include "AsLoaded.h"
#include "ProjectLedger.h"

#include <optional>
#include <QString>

class Dialogs;
class Session;
class Settings;

// What every tab of the workspace works with: the session, the project, the dialogs and the settings,
// and the booking that waits, taken back, in the entry fields. A waiting booking stays in the file until
// its correction is booked, and every list and sum leaves it out meanwhile.
struct WorkspaceContext {
    Session& session;
    Dialogs& dialogs;
    Settings& settings;
    QString projectId;
    QString projectName;
    std::optional<qint64> waitingBookingId;
    // Likewise the estimate row (its rowid) taken back on the company tab.
    std::optional<qint64> waitingEstimateRowId;
    // The waiting booking and estimate row as they were stored when taken back: each is replaced only
    // when no other workstation changed it since.
    AsLoaded waitingBooking;
    AsLoaded waitingEstimateRow;
    // The project's readings.
    ProjectLedger ledger{session};
};
