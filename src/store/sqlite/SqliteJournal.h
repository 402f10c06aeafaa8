#pragma once

#include <QString>
#include <QStringList>

// The journal's statements on a file: the triggers that record each change of the program's connection
// (temporary, so they live on that connection alone and use its JournalFunctions), the guard that keeps
// the journal from being changed or shortened, and the program's own entries.
class SqliteJournal {
public:
    static QStringList connectionTriggers();
    static QStringList droppingTriggers();
    static QStringList guard();
    // An entry of the program's own; the values: table, row, project, action, count, old and new values.
    static QString entryStatement();
};
