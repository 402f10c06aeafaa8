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
        QString name;
        QString definition;
    };
    static QList<Index> indexes();
    // The six table names and, for each, the fields the program needs.
    static QStringList tableNames();
    static QStringList fieldNames(const QString& table);
    // What a field holds: the row's number, a whole number (running number, day), an amount, a text.
    enum class FieldKind { Key, Integer, Amount, Text };
    static FieldKind fieldKind(const QString& table, const QString& field);
    // Preset trades and cost groups of a new file.
    static QStringList presetTrades();
    static QStringList presetCostGroups();
};
