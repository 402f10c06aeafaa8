#include "PostgresRoles.h"

QString PostgresRoles::heldRightsQuery() {
    return QStringLiteral(
        "SELECT r FROM unnest(ARRAY['lesen', 'erfassen', 'feststellen', 'anordnen', 'verwalten']) AS r "
        "WHERE EXISTS (SELECT 1 FROM pg_roles WHERE rolname = current_database() || '_' || r) "
        "AND pg_has_role(session_user, current_database() || '_' || r, 'MEMBER')");
}
