#pragma once

#include <QDate>
#include <QString>
#include <variant>

// The backup of the data at a location, as where they live allows it: a dated copy of the database file
// in its folder, checked before and compacted after (DatabaseBackup), or a dump of the database on a
// server into a file the user chooses (ServerDump).
class DataBackup {
public:
    struct FileCopy {};
    struct Dump {
        QString location;
        // For the user: "zlv auf server.bauamt.local".
        QString place;
        // "05.12.2026_zlv.dump": the day and the database's name.
        QString fileName(const QDate& day) const;
    };
    static std::variant<FileCopy, Dump> at(const QString& location);
};
