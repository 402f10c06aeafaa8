#pragma once

#include "Schema.h"
#include "StoreFailure.h"

#include <optional>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QString>
#include <QStringList>

class Database;
class Dialect;
class Link;

// The program's tables in a database as opening and setting up see to them: checks that the six tables
// and their fields are there, adds what a database lacks, and sets up a new one with its presets.
class SchemaUpkeep {
public:
    // Whether opening counts the rows of the tables whose sums the database keeps, so that sums that
    // missed changes are counted anew at once; Later leaves that to countKeptSums().
    enum class Counting { Now, Later };

    // notices: where what opening found for the user goes.
    SchemaUpkeep(Database& db, const Link& link, const Dialect& dialect, QStringList& notices);

    // How much of the catalogue a look reads: First only the fields of the six tables, the tables there
    // and those the login may not read; Whole also the indexes, triggers and rights that complete() adds.
    enum class Look { First, Whole };

    // The names of the tables the database holds.
    QStringList tables(bool* ok);
    // ForeignSchema, with the reason, when a table or field of the six is missing.
    StoreFailure::Opening check(QString* reason, Look look = Look::Whole);
    // After check(): true when what it read shows nothing that complete() would refuse or must create
    // before the data can be used (a table the login may not read, a table missing), so that complete()
    // may come later.
    bool mayCompleteLater();
    // Refuses a login that may not read the data; adds, as the database's owner, the tables, indexes
    // and triggers it lacks; what cannot be added without refusing the data goes into the notices.
    StoreFailure::Opening complete(QString* reason, Counting counting = Counting::Now);
    // The sums the database keeps, counted anew as the owner when they missed changes.
    void countKeptSums();
    // True when the stored rows allow the unique index; otherwise a notice names the rows against it.
    bool noDuplicates(const Schema::Index& index);
    // Creates tables, indexes and presets in one transaction.
    bool setUp(QString* reason);

private:
    // What opening looks at, read from the database's catalogue in one statement.
    struct Catalogue {
        QStringList tables;
        // The fields by the table's name in lower case.
        QHash<QString, QStringList> fields;
        QStringList indexes;
        QStringList unreadable;
        QStringList incomplete;
        // A role of the rights, a grant of them or the function telling them is missing.
        bool rightsIncomplete = false;
        // The triggers in place and active, as "table.trigger" in lower case.
        QSet<QString> triggers;
    };
    const Catalogue* catalogue(Look look = Look::Whole);
    // The role that owns the database and whether this login may act as it; false when unreadable.
    bool readOwner();
    // Runs statements in one transaction as the owner.
    bool createAsOwner(const QStringList& statements);
    // Runs statements in one transaction as the login itself.
    bool runTogether(const QStringList& statements);
    // Creates the roles of the rights that are missing and grants them what they allow; what cannot be
    // done goes into the notices. openOnce: who can do it instead, where this login may not.
    void completeRights(bool mayCreate, const QString& openOnce);

    Database& m_db;
    const Link& m_link;
    const Dialect& m_dialect;
    QStringList& m_notices;
    std::optional<Catalogue> m_catalogue;
    Look m_catalogueLook = Look::Whole;
    QSqlError m_catalogueError;
    QString m_owner;
    bool m_mayCreate = true;
};
