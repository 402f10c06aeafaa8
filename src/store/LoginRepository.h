#pragma once

#include "Right.h"

#include <QSet>

class Database;

// The logins of a server database and the rights they hold; on the file there are none, and every
// right is held.
class LoginRepository {
public:
    explicit LoginRepository(Database& database) : m_db(database) {}

    // The rights the connection's login holds; empty with *ok false when they cannot be read.
    QSet<Right> held(bool* ok = nullptr) const;

private:
    Database& m_db;
};
