#pragma once

#include <QList>
#include <QStringList>

// The six tables of the database file, their indexes and the presets of a new file.
class Schema {
public:
    // CREATE TABLE and CREATE INDEX statements for a new file.
    static QStringList createStatements();
    // An index the queries need: its name and what it is on ("tblBuchung (ProjektID, ID)").
    struct Index {
        QString name;
        QString definition;
    };
    static QList<Index> indexes();
    // "IF NOT EXISTS", so that an index can be added to any file the program opens.
    static QString indexStatement(const Index& index);
    static QStringList indexStatements();
    // The six table names and, for each, the fields the program needs.
    static QStringList tableNames();
    static QStringList fieldNames(const QString& table);
    // Preset trades and cost groups of a new file.
    static QStringList presetTrades();
    static QStringList presetCostGroups();
};
