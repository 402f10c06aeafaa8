#pragma once

#include <QString>

// The rights of a server database as group roles named after it: the statements that read which of them
// a login holds.
class PostgresRoles {
public:
    // One row per right the session's login holds, its word in the first column.
    static QString heldRightsQuery();
};
