#pragma once

#include <QString>

// Where the data live, as the ini names them: a database file's path, or a PostgreSQL server's address
// ("postgresql://server.bauamt.local/zlv").
class DataLocation {
public:
    // True when location names a server rather than a file.
    static bool isServer(const QString& location);
    // For a server: "zlv auf server.bauamt.local", and the user it logs in as.
    static QString placeOf(const QString& location);
    static QString userOf(const QString& location);
    // Keeps a password typed for the server of location, in memory only, for every later connection.
    static void rememberLogin(const QString& location, const QString& user, const QString& password);
};
