#pragma once

#include <optional>
#include <QString>
#include <QStringList>

class QSqlDatabase;

// The rights of a server database as group roles named after it (the database's name, '_', the right's
// word), so that two databases on one server never share them: the statements that create them, grant
// each what it allows, and read which of them a login holds.
class PostgresRoles {
public:
    // One row per right the session's login holds, its word in the first column.
    static QString heldRightsQuery();
    // One row when a role, a grant of the program's tables or the function telling a right is missing.
    static QString incompleteQuery();
    // Creates the roles that are missing, "lesen" within each of the others, and gives every role it
    // created to the database's owner or else to the login itself. Needs the server's CREATEROLE where a
    // role is missing; does nothing otherwise.
    static QStringList roleStatements(bool toOwner);
    // Run as the owner of the tables: what each role allows, and the function zlv_recht(word).
    static QStringList grantStatements();
    // The German text of a refusal for lack of a right, from the server's words: the right the table
    // named in them needs, or the words themselves where the database's own checks said it in German;
    // nullopt where they name no right.
    static std::optional<QString> lackingRight(const QString& words);

    // The logins of the database, one row each: name, whether locked ("t"), the words of the rights held
    // apart by commas. Logins that hold a right, and roles that cannot log in but were given one.
    static QString loginsQuery();
    // One row: whether the session's login may create and change logins ("t").
    static QString mayCreateRolesQuery();
    // The statements of a login's administration; names are quoted here, never spliced as they are.
    static QString quotedName(const QString& name);
    static QString addLoginStatement(const QString& name, const QString& verifier);
    static QString lockStatement(const QString& name, bool locked);
    // database: the database's name, whose roles are meant.
    static QString grantStatement(const QString& database, const QString& word, const QString& name);
    static QString takeBackStatement(const QString& database, const QString& word, const QString& name);
    // A row when a role of the bound name is on the server.
    static QString roleExistsQuery();
    // One row: whether name holds the right of word ("t"), bound: word, name.
    static QString holdsQuery();
    // The SCRAM verifier of password for name, computed on this side of the connection, so that the
    // password itself never travels; nullopt where the connection cannot compute it.
    static std::optional<QString> verifier(const QSqlDatabase& db, const QString& name,
                                           const QString& password);
};
