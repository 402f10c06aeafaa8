#pragma once

#include "Database.h"

#include <memory>
#include <optional>
#include <QString>
#include <QTemporaryDir>

// The database that data brought in from elsewhere are written into: a new file, grown in a folder of
// its own beside its place (which only this program may enter, so that nothing planted there can
// redirect it or what the engine keeps beside it) and put in place only when complete; or an empty
// database on a server, written where it is within one transaction.
class NewDatabase {
public:
    // target: a new database file, which must not exist unless it is replaceable (then it takes that
    // file's place), or an empty database on a server. Null, with the German message, when it cannot
    // be made ready.
    static std::unique_ptr<NewDatabase> prepare(const QString& target, const QString& replaceable,
                                                QString* germanMessage);

    Database& database() { return *m_db; }
    // True when the new file takes the place of replaceable, which must make room before putInPlace().
    bool replaces() const { return m_replaces; }
    // The folder of the new file; nullopt for a database on a server.
    std::optional<QString> folder() const;
    // Closes the database and puts a new file at its place; false when it cannot be put there.
    bool putInPlace();

private:
    NewDatabase() = default;

    QString m_target;
    std::optional<QTemporaryDir> m_work;
    QString m_growing;
    bool m_replaces = false;
    std::unique_ptr<Database> m_db;
};
