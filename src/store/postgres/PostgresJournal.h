#pragma once

#include <QString>
#include <QStringList>

// The journal's statements on a server: functions that record every change of every table under the
// login that made it, whoever writes and with whatever tool, in the same transaction; the guard that
// keeps the journal from being changed or shortened by anyone but its owner; the program's own entries.
class PostgresJournal {
public:
    // Serialises the writers of the journal until their transactions end, so the chain stays one line.
    static QString lockStatement();
    static QStringList functions();
    // What table carries for the journal: its triggers, or the guard on the journal itself.
    static QStringList tableStatements(const QString& table);
    static QStringList droppingStatements(const QString& table);
    // A trigger every journaled table carries once it is complete.
    static QString triggerName();
    static QString entryStatement();
};
