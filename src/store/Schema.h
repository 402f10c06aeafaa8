#pragma once

#include <QList>
#include <QStringList>

// The six tables of the database file, their indexes and the presets of a new file.
class Schema {
public:
    // The CREATE TABLE statements of a new database, as SQLite reads them; a server engine translates
    // the types.
    static QStringList tableStatements();
    // An index the queries need: its name and what it is on ("tblBuchung (ProjektID, ID)").
    struct Index {
        Index(QString indexName, QString on, QString duplicatesQuery = QString())
            : name(std::move(indexName)), definition(std::move(on)), duplicates(std::move(duplicatesQuery)) {}
        QString name;
        QString definition;
        // For a unique index: the query of the rows that stand against it, each as its project and
        // running number and how often they occur. A unique index is created only where it finds none.
        QString duplicates;
        bool unique() const { return !duplicates.isEmpty(); }
    };
    static QList<Index> indexes();
    // Tables the program keeps beside the six (for what an older database does not know yet): each is
    // created with a new database and, when missing, on opening. Statements as SQLite reads them (BLOB
    // for bytes); their indexes stand in indexes().
    struct AddedTable {
        QString name;
        QString statement;
    };
    static QList<AddedTable> addedTables();
    // The six table names and, for each, the fields the program needs.
    static QStringList tableNames();
    // The six and the added tables: everything a database of the program holds.
    static QStringList allTableNames();
    static QStringList fieldNames(const QString& table);
    // What a field holds: the row's number, a whole number (running number, day), an amount, a text.
    enum class FieldKind { Key, Integer, Amount, Text, Bytes };
    static FieldKind fieldKind(const QString& table, const QString& field);
    // Preset trades and cost groups of a new file.
    static QStringList presetTrades();
    static QStringList presetCostGroups();
};
