#include "PostgresRoles.h"

#include "Libpq.h"
#include "PostgresLink.h"
#include "Schema.h"

#include <QRegularExpression>

namespace {

const QString kRoleOf = QStringLiteral("current_database() || '_' || %1");

struct Grant {
    QString right;
    QString privileges;
    QStringList tables;
    // The privilege whose absence shows that the grants are to be applied again; empty: none.
    QString checked;
    // Whether a refusal to write one of the tables names this right.
    bool named = true;
};

QList<Grant> grants() {
    QStringList readable = Schema::allTableNames();
    readable << Schema::projectSums().name << QStringLiteral("tblFreigabe")
             << QStringLiteral("tblEinstellung") << QStringLiteral("tblBankverbindung")
             << QStringLiteral("tblFreistellung");
    readable.removeDuplicates();
    const QStringList copies = {QStringLiteral("tblBuchung"), QStringLiteral("tblNachtrag")};
    const QStringList signOff = {QStringLiteral("tblFreigabe")};
    const QString all = QStringLiteral("INSERT, UPDATE, DELETE");
    const QString insert = QStringLiteral("INSERT");
    const QString update = QStringLiteral("UPDATE");
    return {
        {QStringLiteral("lesen"), QStringLiteral("SELECT"), readable, QStringLiteral("SELECT"), false},
        {QStringLiteral("erfassen"), all,
         copies + QStringList{QStringLiteral("tblFirma"), QStringLiteral("tblRechnungsdatei"),
                              QStringLiteral("tblUStIdNr"), QStringLiteral("tblBankverbindung"),
                              QStringLiteral("tblZahlung"), QStringLiteral("tblZahlungsbedingung"),
                              QStringLiteral("tblSicherheit"), QStringLiteral("tblFreistellung")},
         insert},
        // A booking's state comes and goes with the booking by the server's own triggers; the steps and
        // the storno's link change it, each checked by the triggers.
        {QStringLiteral("erfassen"), update, signOff, update, false},
        {QStringLiteral("feststellen"), update, signOff, update},
        {QStringLiteral("anordnen"), update, signOff, update},
        {QStringLiteral("verwalten"),
         all,
         {QStringLiteral("tblProjekt"), QStringLiteral("tblGewerk"), QStringLiteral("tblKostengruppe"),
          QStringLiteral("tblBudget"), QStringLiteral("tblEinstellung")},
         insert},
        // The names a rename of a project, trade or cost group carries into the rows that copy them.
        {QStringLiteral("verwalten"), QStringLiteral("UPDATE (Projekt, Gewerk, Kostengruppe)"), copies, {}},
        {QStringLiteral("verwalten"),
         QStringLiteral("UPDATE (GewerkID, KostengruppeID)"),
         {QStringLiteral("tblFirma")},
         {}},
    };
}

QString literal(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The grants as rows (right, privileges, table, checked privilege) of a VALUES list.
QString grantRows() {
    QStringList rows;
    for (const Grant& grant : grants()) {
        for (const QString& table : grant.tables)
            rows += QStringLiteral("(%1, %2, %3, %4)")
                        .arg(literal(grant.right), literal(grant.privileges), literal(table),
                             grant.checked.isEmpty() ? QStringLiteral("NULL::text") : literal(grant.checked));
    }
    return QStringLiteral("(VALUES %1) AS g(r, p, t, c)").arg(rows.join(QStringLiteral(", ")));
}

QString words() {
    return QStringLiteral("ARRAY['lesen', 'erfassen', 'feststellen', 'anordnen', 'verwalten']");
}

// Whether the role of a right is there, as the server and the program tell it everywhere.
QString roleThere(const QString& word) {
    return QStringLiteral("EXISTS (SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = %1)")
        .arg(kRoleOf.arg(word));
}

} // namespace

QString PostgresRoles::heldRightsQuery() {
    return QStringLiteral(
               "SELECT r FROM unnest(%1) AS r WHERE %2 AND pg_catalog.pg_has_role(session_user, %3, "
               "'MEMBER')")
        .arg(words(), roleThere(QStringLiteral("r")), kRoleOf.arg(QStringLiteral("r")));
}

QString PostgresRoles::incompleteQuery() {
    return QStringLiteral(
               "SELECT 'Rechte' WHERE (SELECT count(*) FROM unnest(%1) AS r WHERE %2) < 5 OR "
               "to_regprocedure('zlv_recht(text)') IS NULL OR EXISTS (SELECT 1 FROM %3 WHERE g.c IS NOT "
               "NULL AND to_regclass(g.t) IS NOT NULL AND CASE WHEN %4 THEN NOT "
               "pg_catalog.has_table_privilege(%5, to_regclass(g.t), g.c) ELSE false END)")
        .arg(words(), roleThere(QStringLiteral("r")), grantRows(), roleThere(QStringLiteral("g.r")),
             kRoleOf.arg(QStringLiteral("g.r")));
}

QStringList PostgresRoles::roleStatements(bool toOwner) {
    const QString grantee = toOwner
                                ? QStringLiteral("(SELECT pg_catalog.pg_get_userbyid(datdba) FROM "
                                                 "pg_catalog.pg_database WHERE datname = current_database())")
                                : QStringLiteral("session_user");
    return {
        QStringLiteral(
            "DO $$DECLARE d text := current_database(); r text; made text[] := '{}'; BEGIN "
            "FOREACH r IN ARRAY %1 LOOP "
            "IF NOT EXISTS (SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = d || '_' || r) THEN "
            "EXECUTE format('CREATE ROLE %I NOLOGIN', d || '_' || r); made := made || r; END IF; END LOOP; "
            "FOREACH r IN ARRAY made LOOP "
            "IF r <> 'lesen' THEN EXECUTE format('GRANT %I TO %I', d || '_lesen', d || '_' || r); END IF; "
            "EXECUTE format('GRANT %I TO %I', d || '_' || r, %2); END LOOP; "
            "IF 'lesen' = ANY (made) THEN FOREACH r IN ARRAY %1 LOOP IF r <> 'lesen' AND NOT r = ANY "
            "(made) THEN EXECUTE format('GRANT %I TO %I', d || '_lesen', d || '_' || r); END IF; END LOOP; "
            "END IF; END$$")
            .arg(words(), grantee)};
}

QStringList PostgresRoles::grantStatements() {
    return {
        // A right is held by a login that is a member of its role, directly or through another role. The
        // sign-off's checks install the very same function.
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION zlv_recht(recht text) RETURNS boolean LANGUAGE sql STABLE "
            "SECURITY DEFINER SET search_path FROM CURRENT AS $$SELECT EXISTS (SELECT 1 FROM pg_roles "
            "WHERE rolname = current_database() || '_' || recht) AND pg_has_role(session_user, "
            "current_database() || '_' || recht, 'MEMBER')$$"),
        QStringLiteral(
            "DO $$DECLARE d text := current_database(); g record; s text; f regprocedure; BEGIN "
            "IF EXISTS (SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = d || '_lesen') THEN "
            "EXECUTE format('GRANT CONNECT ON DATABASE %I TO %I', d, d || '_lesen'); "
            "EXECUTE format('GRANT USAGE ON SCHEMA %I TO %I', current_schema(), d || '_lesen'); "
            "FOR f IN SELECT p.oid FROM pg_catalog.pg_proc p WHERE p.pronamespace = "
            "current_schema()::regnamespace "
            "AND p.prorettype <> 'trigger'::regtype AND pg_catalog.pg_has_role(p.proowner, 'USAGE') LOOP "
            "EXECUTE format('GRANT EXECUTE ON FUNCTION %s TO %I', f, d || '_lesen'); END LOOP; END IF; "
            "FOR g IN SELECT * FROM %1 LOOP "
            "IF to_regclass(g.t) IS NOT NULL AND EXISTS (SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = "
            "d || '_' || g.r) THEN "
            "EXECUTE format('GRANT %s ON %s TO %I', g.p, to_regclass(g.t), d || '_' || g.r); "
            "IF g.p LIKE '%INSERT%' THEN FOR s IN SELECT q.s FROM (SELECT pg_catalog.pg_get_serial_sequence("
            "to_regclass(g.t)::text, a.attname) AS s FROM pg_catalog.pg_attribute a WHERE a.attrelid = "
            "to_regclass(g.t) AND a.attnum > 0 AND NOT a.attisdropped) AS q WHERE q.s IS NOT NULL LOOP "
            "EXECUTE format('GRANT USAGE ON SEQUENCE %s TO %I', s, d || '_' || g.r); END LOOP; END IF; "
            "END IF; END LOOP; END$$")
            .arg(grantRows()),
    };
}

std::optional<QString> PostgresRoles::lackingRight(const QString& words) {
    // The checks of the sign-off refuse in German, naming the right themselves.
    if (words.contains(QStringLiteral("Recht „")))
        return words.section(u'\n', 0, 0);
    static const QRegularExpression table(QStringLiteral("(?:table|Tabelle) \"?(\\w+)"));
    const QString named = table.match(words).captured(1);
    QStringList needed;
    for (const Grant& grant : grants()) {
        if (grant.named && !grant.checked.isEmpty() && grant.tables.contains(named, Qt::CaseInsensitive) &&
            !needed.contains(grant.right))
            needed += grant.right;
    }
    if (needed.isEmpty())
        return std::nullopt;
    QStringList quoted;
    for (const QString& word : std::as_const(needed))
        quoted += QStringLiteral("„%1“").arg(word);
    return QStringLiteral("Dazu fehlt Ihnen das Recht %1; der Datenbankserver hat es abgelehnt.")
        .arg(quoted.join(QStringLiteral(" oder ")));
}

QString PostgresRoles::loginsQuery() {
    return QStringLiteral(
               "WITH k AS (SELECT p.oid, w.word FROM unnest(%1) WITH ORDINALITY AS w(word, n) JOIN "
               "pg_catalog.pg_roles p ON p.rolname = current_database() || '_' || w.word) "
               "SELECT r.rolname, NOT r.rolcanlogin, (SELECT string_agg(k.word, ',') FROM k WHERE "
               "pg_catalog.pg_has_role(r.oid, k.oid, 'MEMBER')) FROM pg_catalog.pg_roles r WHERE r.oid NOT "
               "IN "
               "(SELECT oid FROM k) AND r.rolname !~ '^pg_' AND ((r.rolcanlogin AND EXISTS (SELECT 1 FROM k "
               "WHERE pg_catalog.pg_has_role(r.oid, k.oid, 'MEMBER'))) OR EXISTS (SELECT 1 FROM "
               "pg_catalog.pg_auth_members m JOIN k ON m.roleid = k.oid WHERE m.member = r.oid)) ORDER BY "
               "r.rolname")
        .arg(words());
}

QString PostgresRoles::mayCreateRolesQuery() {
    return QStringLiteral(
        "SELECT rolcreaterole OR rolsuper FROM pg_catalog.pg_roles WHERE rolname = session_user");
}

QString PostgresRoles::quotedName(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString PostgresRoles::addLoginStatement(const QString& name, const QString& verifier) {
    return QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD %2").arg(quotedName(name), literal(verifier));
}

QString PostgresRoles::lockStatement(const QString& name, bool locked) {
    return QStringLiteral("ALTER ROLE %1 %2")
        .arg(quotedName(name), locked ? QStringLiteral("NOLOGIN") : QStringLiteral("LOGIN"));
}

QString PostgresRoles::grantStatement(const QString& database, const QString& word, const QString& name) {
    return QStringLiteral("GRANT %1 TO %2").arg(quotedName(database + u'_' + word), quotedName(name));
}

QString PostgresRoles::takeBackStatement(const QString& database, const QString& word, const QString& name) {
    return QStringLiteral("REVOKE %1 FROM %2").arg(quotedName(database + u'_' + word), quotedName(name));
}

QString PostgresRoles::roleExistsQuery() {
    return QStringLiteral("SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = ?");
}

QString PostgresRoles::holdsQuery() {
    return QStringLiteral(
        "SELECT EXISTS (SELECT 1 FROM pg_catalog.pg_roles p WHERE p.rolname = current_database() "
        "|| '_' || ? AND pg_catalog.pg_has_role(?::name, p.oid, 'MEMBER'))");
}

std::optional<QString> PostgresRoles::verifier(const QSqlDatabase& db, const QString& name,
                                               const QString& password) {
    PGconn* connection = PostgresLink::handle(db);
    if (!connection)
        return std::nullopt;
    const Libpq& pq = *Libpq::get();
    char* computed = pq.PQencryptPasswordConn(connection, password.toUtf8().constData(),
                                              name.toUtf8().constData(), "scram-sha-256");
    if (!computed)
        return std::nullopt;
    const QString text = QString::fromUtf8(computed);
    pq.PQfreemem(computed);
    return text;
}
