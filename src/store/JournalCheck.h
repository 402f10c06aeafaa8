#pragma once

#include <optional>
#include <QString>

class Database;

// Checks the journal's whole chain: each entry's hash over its content and the hash before it, and that
// each entry follows the one before. Names the first entry that does not fit: changed afterwards,
// inserted, or following a gap where entries were removed.
class JournalCheck {
public:
    struct Result {
        bool whole = false;
        qint64 entries = 0;
        // The journal's number (ID) of the first entry that does not fit.
        std::optional<qint64> firstBroken;
        // What was found, in German.
        QString text;
    };
    static Result run(Database& db);
};
