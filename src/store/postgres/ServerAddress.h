#pragma once

#include <QString>
#include <QStringList>

// A PostgreSQL server and database as the ini names it: "postgresql://server.bauamt.local/zlv", with
// port, user and libpq's parameters ("?sslmode=require", "?host=/run/postgresql") allowed. Without a
// user the clerk's login name is used. A password never comes from the ini: libpq's password file
// serves, or the password the clerk typed, kept in memory for the running program only.
class ServerAddress {
public:
    static bool isServerLocation(const QString& location);
    static ServerAddress parse(const QString& location);
    // Keeps the password for every later connection to the server and database of location.
    static void rememberPassword(const QString& location, const QString& user, const QString& password);

    bool isValid() const { return m_problem.isEmpty(); }
    // Why the location names no server, in German.
    QString problem() const { return m_problem; }
    // For the user: "zlv auf server.bauamt.local".
    QString place() const;

    QString host;
    int port = -1;
    QString database;
    QString user;
    QString password;
    // The whole address as libpq's connection string ("host='server' dbname='zlv' sslmode='require'"),
    // without the password.
    QString connectionString() const;
    // The other libpq parameters, as "key='value'".
    QStringList options;

private:
    QString m_problem;
};
