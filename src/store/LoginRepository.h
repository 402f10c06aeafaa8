#pragma once

#include "Right.h"

#include <QList>
#include <QSet>
#include <QString>

class Database;

// The logins of a server database and the rights they hold; on the file there are none, and every
// right is held. Writes belong in a transaction of the caller; roles are the server's, so each write
// counts for every database whose roles it names.
class LoginRepository {
public:
    struct Login {
        QString name;
        QSet<Right> rights;
        // Cannot log in (NOLOGIN).
        bool locked = false;
    };

    explicit LoginRepository(Database& database) : m_db(database) {}

    static QList<Right> allRights();
    // The rights the connection's login holds; empty with *ok false when they cannot be read.
    QSet<Right> held(bool* ok = nullptr) const;
    // The logins holding a right of this database, and those given one that cannot log in, by name.
    QList<Login> logins(bool* ok = nullptr) const;
    // Whether the connection's login may create and change logins on the server (CREATEROLE).
    bool mayCreateLogins() const;
    // Whether a role (a login or a group) of this name is on the server.
    bool exists(const QString& name, bool* ok = nullptr) const;
    // The name the connection logged in with.
    QString ownName() const;
    // Whether name holds right, directly or through another role.
    bool holds(const QString& name, Right right, bool* ok = nullptr) const;

    // Creates a login with password, of which only its SCRAM verifier reaches the server; *hashed false
    // when the verifier could not be computed here (nothing was sent then).
    bool add(const QString& name, const QString& password, bool* hashed);
    bool grant(const QString& name, Right right);
    bool takeBack(const QString& name, Right right);
    bool lock(const QString& name, bool locked);

private:
    // The database's name, which the roles of its rights begin with.
    QString databaseName() const;

    Database& m_db;
};
