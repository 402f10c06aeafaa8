#pragma once

#include <QString>
#include <QStringList>

// The sign-off as the server keeps it for every login, psql included: the right of a login
// (zlv_recht), a new booking's row in tblFreigabe written by the server under the session user, each
// change of a state checked (one step forward at a time, the right it needs, the four-eyes rule of
// tblEinstellung) with who and when taken from the server's session and clock, and an ordered booking
// that is neither changed nor deleted. The functions run with their owner's rights (SECURITY DEFINER),
// as the journal's do; refusals carry the state ZL001 and a German text.
class PostgresSignOff {
public:
    static QString refusalState();
    static QStringList statements();
    // Sets aside what would give rows brought in at once a state of their own, for a bulk load.
    static QStringList droppingStatements();
};
