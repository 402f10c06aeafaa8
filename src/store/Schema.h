#pragma once

#include <QStringList>

// The six tables of the database file, their indexes and the presets of a new file.
class Schema {
public:
    // CREATE TABLE and CREATE INDEX statements for a new file.
    static QStringList createStatements();
    // Indexes the queries need; "IF NOT EXISTS", so that they can be added to any file the program opens.
    static QStringList indexStatements();
    // The six table names and, for each, the fields the program needs.
    static QStringList tableNames();
    static QStringList fieldNames(const QString& table);
    // Preset trades and cost groups of a new file.
    static QStringList presetTrades();
    static QStringList presetCostGroups();
};
