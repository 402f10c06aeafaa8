#pragma once

#include <QString>

// A failure as the store tells it: its kind, by which the program decides, and its German text.
struct StoreFailure {
    // What a statement's failure was: the file busy beyond the busy timeout, the row meant by a change
    // gone, the database file deleted or moved away (the server's connection lost), or anything else.
    // Changed: the row was changed by another workstation since it was loaded; NameGone: a name the row
    // refers to (its company) is no longer stored.
    // OutcomeUnknown: the connection broke during a COMMIT and whether it was kept cannot be found out.
    enum class Kind { None, Busy, RowGone, FileGone, Changed, NameGone, OutcomeUnknown, Other };
    // Why the data could not be opened.
    enum class Opening {
        None,
        Missing,
        NotReadable,
        ReadOnly,
        NotADatabase,
        ForeignSchema,
        Locked,
        // A server: not reachable, the login refused (or a password needed), the database missing, no
        // permission, or the database empty and waiting to be set up.
        Unreachable,
        LoginRefused,
        PasswordNeeded,
        DatabaseMissing,
        NoPermission,
        Empty,
        Other
    };

    Kind kind = Kind::Other;
    QString germanText;
};
