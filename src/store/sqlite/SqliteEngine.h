#pragma once

#include "Database.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlError;
struct sqlite3;

// What Database needs to know of SQLite: how a QSQLITE connection to a file is set up and given the
// program's functions and collation, the statements only SQLite speaks, and how its failures are told.
class SqliteEngine {
public:
    static constexpr int kHeaderLength = 16;

    static QString driverName();
    // firstBytes: the first kHeaderLength bytes of a file.
    static bool isDatabaseHeader(const QByteArray& firstBytes);
    // Points db at the file. An existing file is opened for reading and writing and never created anew;
    // busyTimeoutMs is how long a statement waits for a file that another program holds.
    static void configure(QSqlDatabase& db, const QString& absolutePath, bool existing, int busyTimeoutMs);
    static sqlite3* handle(const QSqlDatabase& db);
    // Installs like(), fold() and the collation GERMAN on the connection.
    static bool installFunctions(sqlite3* connection);

    // The names of the fields of the table bound to its one parameter, one row each.
    static QString fieldListQuery();
    // The names of the file's indexes, one row each.
    static QString indexListQuery();
    // True when the file the connection has open is no longer at its path: deleted, moved away, or
    // replaced by another file.
    static bool fileHasMoved(sqlite3* connection);
    // Marks a new file as the program's own.
    static QStringList stampStatements(int applicationId, int userVersion);
    // Begins a transaction that holds the write lock at once, so that a second writer waits for it
    // instead of failing halfway.
    static QString beginWriteStatement();

    // The engine's words for a failure, and its result code.
    static QString engineWords(const QSqlError& error);
    static int resultCode(const QSqlError& error);
    // The kind of an open refused by the engine, and the German reason.
    static Database::OpenFailure classifyOpenFailure(const QSqlError& error, QString* reason);
};
