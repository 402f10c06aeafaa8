#include "PostgresJournal.h"

#include "Schema.h"

namespace {

const QString kCollecting = QStringLiteral("coalesce(current_setting('zlv.sammeln', true), '') <> ''");

QString quoted(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

std::optional<Schema::Journaled> journaled(const QString& table) {
    for (const Schema::Journaled& each : Schema::journaled()) {
        if (each.table.compare(table, Qt::CaseInsensitive) == 0)
            return each;
    }
    return std::nullopt;
}

// The row's fields as the journal keeps them: stored bytes by their size and hash.
QString values(const Schema::Journaled& table, const QString& row) {
    QStringList pairs;
    for (const Schema::Field& field : table.fields) {
        const QString value = row + Schema::column(field.name);
        pairs << quoted(field.name)
              << (field.kind == Schema::FieldKind::Bytes
                      ? QStringLiteral(
                            "CASE WHEN %1 IS NULL THEN NULL ELSE octet_length(%1) || ' Bytes, SHA-256 ' "
                            "|| encode(sha256(%1), 'hex') END")
                            .arg(value)
                      : value);
    }
    return QStringLiteral("jsonb_build_object(%1)").arg(pairs.join(QStringLiteral(", ")));
}

QString project(const Schema::Journaled& table, const QString& row) {
    return table.project.isEmpty() ? QStringLiteral("NULL")
                                   : QStringLiteral("trim(%1%2::text)").arg(row, table.project);
}

QString function(const QString& body, const QString& name, const QString& arguments = QString(),
                 const QString& returns = QStringLiteral("trigger"), const QString& settings = QString()) {
    // With the rights of the journal's owner, so that a login needs none on the journal to be recorded.
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION %1(%2) RETURNS %3 LANGUAGE plpgsql SECURITY DEFINER SET "
               "search_path FROM CURRENT%5 AS $$%4$$")
        .arg(name, arguments, returns, body, settings);
}

// The statement trigger's function of a table whose master names a name change carries into many rows:
// when the program says it collects, the rows that changed only those names, each name to one new
// value, are one entry; any other change of the statement is recorded row by row all the same.
QString collectingFunction(const Schema::Journaled& table, const QString& name) {
    QStringList others;
    QStringList ambiguous;
    QStringList before;
    QStringList after;
    for (const Schema::Field& field : table.fields) {
        const QString column = Schema::column(field.name);
        if (!table.cascaded.contains(field.name)) {
            others += column;
            continue;
        }
        const QString changed = QStringLiteral("FILTER (WHERE o.%1 IS DISTINCT FROM n.%1)").arg(column);
        ambiguous += QStringLiteral("count(DISTINCT n.%1) %2 > 1").arg(column, changed);
        before << quoted(field.name)
               << QStringLiteral("CASE WHEN count(DISTINCT o.%1) %2 = 1 THEN to_jsonb(min(o.%1) %2) ELSE "
                                 "to_jsonb(array_agg(DISTINCT o.%1) %2) END")
                      .arg(column, changed);
        after << quoted(field.name) << QStringLiteral("to_jsonb(min(n.%1) %2)").arg(column, changed);
    }
    const auto tuple = [&](const QString& row) {
        QStringList fields;
        for (const QString& other : std::as_const(others))
            fields += row + other;
        return u'(' + fields.join(QStringLiteral(", ")) + u')';
    };
    const QString key = table.key;
    const QString body =
        QStringLiteral("DECLARE z bigint; alle bigint; anders bigint; mehrdeutig boolean; p text; a jsonb; n "
                       "jsonb; r record; "
                       "BEGIN IF NOT %1 THEN RETURN NULL; END IF; SELECT count(*) INTO alle FROM neue; "
                       "SELECT count(*), count(*) FILTER (WHERE %2 IS DISTINCT FROM %3), %4, "
                       "CASE WHEN count(DISTINCT %5) = 1 THEN min(%5) END, "
                       "jsonb_strip_nulls(jsonb_build_object(%6)), jsonb_strip_nulls(jsonb_build_object(%7)) "
                       "INTO z, anders, mehrdeutig, p, a, n FROM alte o JOIN neue n ON o.%8 = n.%8; "
                       "IF z = alle AND anders = 0 AND NOT mehrdeutig THEN "
                       "IF a <> '{}'::jsonb THEN PERFORM zlv_protokoll_eintragen(%9, NULL, p, "
                       "'Namensänderung', z, a, n); "
                       "END IF; RETURN NULL; END IF; "
                       "FOR r IN SELECT o.%8::text AS ok, n.%8::text AS nk, %10 AS op, %11 AS np, "
                       "CASE WHEN o.%8 IS NULL THEN NULL ELSE %12 END AS a, CASE WHEN n.%8 IS NULL THEN NULL "
                       "ELSE %13 END AS b "
                       "FROM alte o FULL JOIN neue n ON o.%8 = n.%8 LOOP "
                       "PERFORM zlv_protokoll_zeile(%9, coalesce(r.nk, r.ok), coalesce(r.np, r.op), r.a, "
                       "r.b); END LOOP; "
                       "RETURN NULL; END")
            .arg(
                kCollecting, tuple(QStringLiteral("o.")), tuple(QStringLiteral("n.")),
                ambiguous.join(QStringLiteral(" OR ")),
                table.project.isEmpty() ? QStringLiteral("NULL::text") : project(table, QStringLiteral("n.")),
                before.join(QStringLiteral(", ")), after.join(QStringLiteral(", ")), key, quoted(table.table))
            .arg(project(table, QStringLiteral("o.")), project(table, QStringLiteral("n.")),
                 values(table, QStringLiteral("o.")), values(table, QStringLiteral("n.")));
    return function(body, name);
}

} // namespace

QString PostgresJournal::lockStatement() {
    return QStringLiteral("SELECT pg_advisory_xact_lock(5926, 0)");
}

QString PostgresJournal::triggerName() {
    return QStringLiteral("zlv_protokoll");
}

QStringList PostgresJournal::functions() {
    QStringList content;
    for (const QString& field : Schema::journalContent())
        content += field.toLower();
    const QString entry = QStringLiteral(
        "DECLARE zeit text; benutzer text := session_user; arbeitsplatz text; vorgang text; "
        "vorgaenger text; inhalt text; "
        "BEGIN PERFORM pg_advisory_xact_lock(5926, 0); "
        "zeit := to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'); "
        "arbeitsplatz := coalesce(nullif(current_setting('zlv.arbeitsplatz', true), ''), "
        "host(inet_client_addr()), 'Server'); "
        "vorgang := coalesce(current_setting('zlv.vorgang', true), ''); "
        "SELECT Hash INTO vorgaenger FROM tblProtokoll ORDER BY ID DESC LIMIT 1; "
        "vorgaenger := coalesce(vorgaenger, ''); "
        "inhalt := concat_ws(chr(31), zeit, benutzer, arbeitsplatz, coalesce(tabelle, ''), coalesce(zeile, "
        "''), "
        "coalesce(projekt, ''), coalesce(aktion, ''), vorgang, coalesce(anzahl::text, ''), "
        "coalesce(alt::text, ''), coalesce(neu::text, ''), vorgaenger); "
        "INSERT INTO tblProtokoll (Zeit, Benutzer, Arbeitsplatz, Tabelle, Zeile, ProjektID, Aktion, Vorgang, "
        "Anzahl, Alt, Neu, Vorgaenger, Hash) VALUES (zeit, benutzer, arbeitsplatz, tabelle, zeile, projekt, "
        "aktion, vorgang, anzahl, alt::text, neu::text, vorgaenger, "
        "encode(sha256(convert_to(inhalt, 'UTF8')), 'hex')); END");
    const QString row =
        QStringLiteral("DECLARE a jsonb := alt; n jsonb := neu; "
                       "BEGIN IF alt IS NOT NULL AND neu IS NOT NULL THEN "
                       "SELECT jsonb_object_agg(o.key, o.value), jsonb_object_agg(o.key, w.value) INTO a, n "
                       "FROM jsonb_each(alt) o JOIN jsonb_each(neu) w ON w.key = o.key WHERE o.value IS "
                       "DISTINCT FROM w.value; "
                       "IF a IS NULL THEN RETURN; END IF; END IF; "
                       "PERFORM zlv_protokoll_eintragen(tabelle, zeile, projekt, CASE WHEN alt IS NULL THEN "
                       "'Neu' WHEN neu IS "
                       "NULL THEN 'Gelöscht' ELSE 'Geändert' END, 1, a, n); END");
    const QString guard = QStringLiteral("BEGIN RAISE EXCEPTION 'Das Änderungsprotokoll kann nur ergänzt, "
                                         "nicht geändert oder gekürzt werden.' "
                                         "USING ERRCODE = 'insufficient_privilege'; END");
    // The predecessor is found through the journal's key whatever its statistics say: a connection plans
    // the lookup once, and a plan made while the journal was small (a new database, one just transferred)
    // would read the whole journal for every entry while it grows.
    return {function(entry, QStringLiteral("zlv_protokoll_eintragen"),
                     QStringLiteral("tabelle text, zeile text, projekt text, aktion text, anzahl bigint, alt "
                                    "jsonb, neu jsonb"),
                     QStringLiteral("void"), QStringLiteral(" SET enable_seqscan = off")),
            function(row, QStringLiteral("zlv_protokoll_zeile"),
                     QStringLiteral("tabelle text, zeile text, projekt text, alt jsonb, neu jsonb"),
                     QStringLiteral("void")),
            function(guard, QStringLiteral("zlv_protokoll_schutz"))};
}

QStringList PostgresJournal::tableStatements(const QString& tableName) {
    if (tableName.compare(Schema::journal().name, Qt::CaseInsensitive) == 0)
        return {
            // Read by every login, written only through the journal's functions.
            QStringLiteral("REVOKE INSERT, UPDATE, DELETE, TRUNCATE ON %1 FROM PUBLIC").arg(tableName),
            QStringLiteral("CREATE OR REPLACE TRIGGER %1 BEFORE UPDATE OR DELETE ON %2 FOR EACH ROW EXECUTE "
                           "FUNCTION zlv_protokoll_schutz()")
                .arg(triggerName(), tableName),
            QStringLiteral("CREATE OR REPLACE TRIGGER zlv_protokoll_leeren BEFORE TRUNCATE ON %1 FOR EACH "
                           "STATEMENT EXECUTE FUNCTION zlv_protokoll_schutz()")
                .arg(tableName)};
    const std::optional<Schema::Journaled> found = journaled(tableName);
    if (!found)
        return {};
    const Schema::Journaled& table = *found;
    const QString stem = QStringLiteral("zlv_protokoll_") + table.table.toLower();
    const QString name = quoted(table.table);
    const QString key = table.key;
    const QString row =
        QStringLiteral(
            "BEGIN IF TG_OP = 'INSERT' THEN PERFORM zlv_protokoll_zeile(%1, NEW.%2::text, %3, NULL, %4); "
            "ELSIF TG_OP = 'DELETE' THEN PERFORM zlv_protokoll_zeile(%1, OLD.%2::text, %5, %6, NULL); "
            "ELSIF TG_OP = 'UPDATE' THEN PERFORM zlv_protokoll_zeile(%1, NEW.%2::text, %3, %6, %4); "
            "ELSE PERFORM zlv_protokoll_eintragen(%1, NULL, NULL, 'Geleert', (SELECT count(*) FROM %7), "
            "NULL, NULL); "
            "END IF; RETURN NULL; END")
            .arg(name, key, project(table, QStringLiteral("NEW.")), values(table, QStringLiteral("NEW.")),
                 project(table, QStringLiteral("OLD.")), values(table, QStringLiteral("OLD.")), table.table);
    QStringList statements = {
        function(row, stem),
        QStringLiteral("CREATE OR REPLACE TRIGGER %1 AFTER %4 ON %2 FOR EACH ROW EXECUTE FUNCTION "
                       "%3()")
            .arg(triggerName(), table.table, stem,
                 table.followsRow ? QStringLiteral("UPDATE") : QStringLiteral("INSERT OR DELETE")),
        QStringLiteral(
            "CREATE OR REPLACE TRIGGER zlv_protokoll_leeren BEFORE TRUNCATE ON %1 FOR EACH STATEMENT "
            "EXECUTE FUNCTION %2()")
            .arg(table.table, stem),
    };
    if (table.followsRow)
        return statements;
    if (table.cascaded.isEmpty()) {
        statements +=
            QStringLiteral("CREATE OR REPLACE TRIGGER zlv_protokoll_aendern AFTER UPDATE ON %1 FOR EACH "
                           "ROW EXECUTE FUNCTION %2()")
                .arg(table.table, stem);
        return statements;
    }
    statements << QStringLiteral(
                      "CREATE OR REPLACE TRIGGER zlv_protokoll_aendern AFTER UPDATE ON %1 FOR EACH ROW "
                      "WHEN (NOT %2) EXECUTE FUNCTION %3()")
                      .arg(table.table, kCollecting, stem)
               << collectingFunction(table, stem + QStringLiteral("_sammeln"))
               << QStringLiteral(
                      "CREATE OR REPLACE TRIGGER zlv_protokoll_sammeln AFTER UPDATE ON %1 REFERENCING OLD "
                      "TABLE AS alte NEW TABLE AS neue FOR EACH STATEMENT EXECUTE FUNCTION %2_sammeln()")
                      .arg(table.table, stem);
    return statements;
}

QStringList PostgresJournal::droppingStatements(const QString& table) {
    QStringList statements;
    for (const QString& trigger :
         {triggerName(), QStringLiteral("zlv_protokoll_leeren"), QStringLiteral("zlv_protokoll_aendern"),
          QStringLiteral("zlv_protokoll_sammeln")})
        statements += QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(trigger, table);
    return statements;
}

QString PostgresJournal::entryStatement() {
    return QStringLiteral(
        "SELECT zlv_protokoll_eintragen(?, ?, ?, ?, ?, CAST(? AS jsonb), CAST(? AS jsonb))");
}
