#pragma once

#include <optional>
#include <QString>
#include <QtGlobal>

class Database;

// What an operation of the office's work came to: done (with the identity it gave, where it gave one), or
// not done, with the kind of failure and the German text the user reads.
class Outcome {
public:
    enum class Kind {
        Done,
        // Other workstations held the file beyond the busy timeout.
        Busy,
        // The row meant is no longer stored.
        Gone,
        // Another workstation changed the row since it was loaded.
        Changed,
        // A name the row refers to (its company) is no longer stored.
        NameGone,
        // The database file was deleted or moved away.
        FileGone,
        // The connection broke during the commit and whether the change was kept is not known.
        Unknown,
        // The user's entry does not allow the work (a rule of the office); nothing was written.
        Refused,
        Other
    };

    static Outcome done(std::optional<qint64> identity = std::nullopt);
    static Outcome failed(Kind kind, const QString& germanText);
    // The last failure of the store, as the store words it.
    static Outcome ofStore(const Database& db);

    bool ok() const { return m_kind == Kind::Done; }
    Kind kind() const { return m_kind; }
    QString text() const { return m_text; }
    std::optional<qint64> identity() const { return m_identity; }

private:
    Kind m_kind = Kind::Done;
    QString m_text;
    std::optional<qint64> m_identity;
};
