#pragma once

#include <QStringList>

// What a file keeps of the sign-off by itself, for every program that writes it (the sqlite3 tool too):
// a new booking's row in tblFreigabe, its removal with the booking, a state that moves only one step
// forward, and an ordered booking that is neither changed nor deleted. Plain persistent triggers that need
// no function of the program; rights and the four-eyes rule are the program's on a file.
class SqliteSignOff {
public:
    static QStringList statements();
    static QStringList droppingStatements();
};
