#pragma once

#include <QString>

// The changes of many rows of one table collected into one journal entry (a name carried into its
// copies): how many rows, their project when all share one, and the changed fields' values before and
// after, as JSON objects (a field whose rows held several values before lists them).
struct JournalSummary {
    QString table;
    qint64 rows = 0;
    QString projectId;
    QString oldValues;
    QString newValues;
};
