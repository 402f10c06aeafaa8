#pragma once

#include "Schema.h"
#include "StoreFailure.h"

#include <QString>
#include <QStringList>

class Database;
class Dialect;
class Link;

// The program's tables in a database as opening and setting up see to them: checks that the six tables
// and their fields are there, adds what a database lacks, and sets up a new one with its presets.
class SchemaUpkeep {
public:
    // notices: where what opening found for the user goes.
    SchemaUpkeep(Database& db, const Link& link, const Dialect& dialect, QStringList& notices);

    // The names of the tables the database holds.
    QStringList tables(bool* ok);
    // ForeignSchema, with the reason, when a table or field of the six is missing.
    StoreFailure::Opening check(QString* reason);
    // Refuses a login that may not read the data; adds, as the database's owner, the tables, indexes
    // and triggers it lacks; what cannot be added without refusing the data goes into the notices.
    StoreFailure::Opening complete(QString* reason);
    // True when the stored rows allow the unique index; otherwise a notice names the rows against it.
    bool noDuplicates(const Schema::Index& index);
    // Creates tables, indexes and presets in one transaction.
    bool setUp(QString* reason);

private:
    Database& m_db;
    const Link& m_link;
    const Dialect& m_dialect;
    QStringList& m_notices;
};
