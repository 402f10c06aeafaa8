#pragma once

#include <QList>
#include <QStringList>

// The six tables of the database file and the tables added beside them, declared as data, their indexes
// and the presets of a new file.
class Schema {
public:
    // What a field holds: the row's number, a whole number (running number, day), an amount, a text;
    // a text that is its row's key (Name); a whole number beyond 32 bits (Total: cents, counts).
    enum class FieldKind { Key, Integer, Amount, Text, Bytes, Name, Total };
    struct Field {
        QString name;
        FieldKind kind;
        // For a key: the database numbers new rows itself, rather than being given the number.
        bool numbered = true;
    };
    // A table as each engine's dialect declares it. A table without a key of its own is numbered by
    // the engine's row number.
    struct Table {
        QString name;
        QList<Field> fields;
    };
    // The six tables.
    static QList<Table> tables();
    // The field's name as a statement writes it: quoted when it holds more than plain letters ("Straße").
    static QString column(const QString& field);
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
        // For an index of only the rows whose amount the engine cannot add (Dialect::oddAmountCondition):
        // that amount field.
        QString oddAmountOf;
    };
    static QList<Index> indexes();
    // Tables the program keeps beside the six (for what an older database does not know yet): each is
    // created with a new database and, when missing, on opening; their indexes stand in indexes().
    static QList<Table> addedTables();
    static QList<Table> allTables();
    // The journal of every change (among the added tables): an entry's content fields in the order its
    // hash covers them, then the hash of the entry before it and its own.
    static Table journal();
    static QStringList journalContent();
    // A table whose changes the journal records: the field that identifies a row (rowid where the table
    // has no key of its own), the field naming the row's project (none where rows belong to no
    // project), and the copies of master names that a name change rewrites in many rows at once.
    struct Journaled {
        QString table;
        QString key;
        QString project;
        QList<Field> fields;
        QStringList cascaded;
        // A table whose rows come and go with a row of another table (the state of a booking, with the
        // booking): only their changes are recorded, and a change of only the fields filled in with the
        // row is none.
        bool followsRow = false;
        QStringList filledWithRow;
    };
    static QList<Journaled> journaled();
    // What the database keeps by itself beside the tables (never copied, always recounted): each
    // project's sums in cents of the amounts that the engine holds as numbers, its rows, and its rows
    // whose amount is no such number (a text another program wrote), keyed by the trimmed ProjektID.
    static Table projectSums();
    // A table whose amount field projectSums() keeps, with its three fields there.
    struct Summed {
        QString table;
        QString amount;
        QString cents;
        QString rows;
        QString odd;
    };
    static QList<Summed> summed();
    // The six table names and, for each, the fields the program needs.
    static QStringList tableNames();
    // The six and the added tables: everything a database of the program holds.
    static QStringList allTableNames();
    static QStringList fieldNames(const QString& table);
    static FieldKind fieldKind(const QString& table, const QString& field);
    // Preset trades and cost groups of a new file.
    static QStringList presetTrades();
    static QStringList presetCostGroups();
};
