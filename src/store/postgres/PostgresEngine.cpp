#include "PostgresEngine.h"

#include "DayNumber.h"
#include "Dialogs.h"

#include "Libpq.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QStandardPaths>
#include <QVariant>

namespace {

QString engineWords(const QSqlError& error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

// The server's own words behind the German text, as details.
QString withWords(const QString& german, const QString& words) {
    return Dialogs::withDetails(german, words);
}

// Only called once handle() gave a connection, which needs libpq loaded.
const Libpq& pq() {
    return *Libpq::get();
}

PGconn* handle(const QSqlDatabase& db) {
    if (!db.isValid() || !db.driver() || Libpq::get() == nullptr)
        return nullptr;
    QVariant value = db.driver()->handle();
    // Qt names the type by its struct: "pg_conn*".
    if (!value.isValid() ||
        (qstrcmp(value.typeName(), "PGconn*") != 0 && qstrcmp(value.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn**>(value.data());
}

// "?" placeholders as the server numbers them ("$1"), outside quoted texts and names.
QString numberedPlaceholders(const QString& sql) {
    QString numbered;
    numbered.reserve(sql.size() + 16);
    QChar quote;
    int number = 0;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            numbered += u'$' + QString::number(++number);
            continue;
        }
        numbered += c;
    }
    return numbered;
}

QByteArray parameterText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? "true" : "false";
    case QMetaType::Double:
        return QByteArray::number(value.toDouble(), 'g', 17);
    case QMetaType::QByteArray:
        return "\\x" + value.toByteArray().toHex();
    default:
        return value.toString().toUtf8();
    }
}

// A row of a result the server sent as text, read by the type of each column.
class ResultRow : public Database::Row {
public:
    explicit ResultRow(const PGresult* result) : m_result(result) {}
    void moveTo(int row) const { m_row = row; }
    QString text(int column) const override {
        if (isNull(column))
            return QString();
        const QString stored = raw(column);
        return isReal(column) ? QString::number(stored.toDouble(), 'g', QLocale::FloatingPointShortest)
                              : stored;
    }
    bool isNull(int column) const override { return pq().PQgetisnull(m_result, m_row, column) != 0; }
    std::optional<int> integer(int column) const override {
        if (isNull(column))
            return std::nullopt;
        if (isReal(column))
            return DayNumber::fromStoredReal(raw(column).toDouble());
        bool whole = false;
        const qint64 number = raw(column).toLongLong(&whole);
        return whole ? DayNumber::fromStoredInteger(number) : DayNumber::parseStored(raw(column));
    }
    qint64 rowNumber(int column) const override { return raw(column).toLongLong(); }
    // The server sends bytea as text, in hex ("\\x" and two digits a byte) or, as the connection asks
    // for it, with octal escapes; libpq reads either.
    QByteArray bytes(int column) const override {
        size_t length = 0;
        unsigned char* data = pq().PQunescapeBytea(
            reinterpret_cast<const unsigned char*>(pq().PQgetvalue(m_result, m_row, column)), &length);
        if (!data)
            return QByteArray();
        const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(length));
        pq().PQfreemem(data);
        return bytes;
    }
    std::optional<Money> amount(int column) const override {
        if (isNull(column))
            return std::nullopt;
        if (isReal(column))
            return Money::fromStoredReal(raw(column).toDouble());
        bool whole = false;
        const qint64 number = raw(column).toLongLong(&whole);
        return whole ? Money::fromStoredInteger(number) : Money::parseStored(raw(column));
    }

private:
    static constexpr Oid kFloat4 = 700;
    static constexpr Oid kFloat8 = 701;
    bool isReal(int column) const {
        const Oid type = pq().PQftype(m_result, column);
        return type == kFloat4 || type == kFloat8;
    }
    QString raw(int column) const {
        return QString::fromUtf8(pq().PQgetvalue(m_result, m_row, column),
                                 pq().PQgetlength(m_result, m_row, column));
    }

    const PGresult* m_result;
    mutable int m_row = 0;
};

} // namespace

PostgresEngine::PostgresEngine(ServerAddress address) : m_address(std::move(address)) {}

QString PostgresEngine::place() const {
    return m_address.place();
}

QString PostgresEngine::driverName() const {
    return QStringLiteral("QPSQL");
}

void PostgresEngine::configure(QSqlDatabase& db, bool) const {
    if (!m_address.host.isEmpty())
        db.setHostName(m_address.host);
    if (m_address.port > 0)
        db.setPort(m_address.port);
    db.setDatabaseName(m_address.database);
    if (!m_address.user.isEmpty())
        db.setUserName(m_address.user);
    if (!m_address.password.isEmpty())
        db.setPassword(m_address.password);
    QStringList options = m_address.options;
    if (!options.filter(QRegularExpression(QStringLiteral("^connect_timeout="))).size())
        options += QStringLiteral("connect_timeout=10");
    if (!options.filter(QRegularExpression(QStringLiteral("^application_name="))).size())
        options += QStringLiteral("application_name=Zelvora");
    // A connection whose network went away is found dead within about a minute, also while it waits
    // for notifications only.
    if (!options.filter(QRegularExpression(QStringLiteral("^keepalives"))).size())
        options += {QStringLiteral("keepalives_idle=30"), QStringLiteral("keepalives_interval=10"),
                    QStringLiteral("keepalives_count=3")};
    db.setConnectOptions(options.join(u';'));
}

bool PostgresEngine::prepare(const QSqlDatabase& db) {
    return handle(db) != nullptr;
}

bool PostgresEngine::stillThere(const QSqlDatabase& db) const {
    PGconn* connection = handle(db);
    return connection && pq().PQstatus(connection) == CONNECTION_OK;
}

// The catalogue itself rather than information_schema, whose views cost a new connection several
// milliseconds per query while it checks the tables at the start.
QString PostgresEngine::fieldListQuery() const {
    return QStringLiteral(
        "SELECT a.attname FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_class c ON "
        "c.oid = a.attrelid WHERE c.relnamespace = (SELECT oid FROM pg_catalog.pg_namespace "
        "WHERE nspname = current_schema()) AND c.relkind IN ('r', 'p', 'v', 'f') AND "
        "lower(c.relname) = lower(?) AND a.attnum > 0 AND NOT a.attisdropped");
}

QString PostgresEngine::tableListQuery() const {
    return QStringLiteral("SELECT c.relname FROM pg_catalog.pg_class c WHERE c.relnamespace = (SELECT oid "
                          "FROM pg_catalog.pg_namespace WHERE nspname = current_schema()) AND c.relkind IN "
                          "('r', 'p', 'v', 'f') ORDER BY c.relname");
}

QString PostgresEngine::indexListQuery() const {
    return QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = current_schema()");
}

QString PostgresEngine::indexStatement(const Schema::Index& index) const {
    // "tblBuchung (trim(ProjektID), ID)": the server wants an expression in parentheses of its own.
    const qsizetype open = index.definition.indexOf(u'(');
    QStringList items;
    int depth = 0;
    QString item;
    for (const QChar c : QStringView(index.definition).mid(open + 1).chopped(1)) {
        if (c == u',' && depth == 0) {
            items += item.trimmed();
            item.clear();
            continue;
        }
        depth += c == u'(' ? 1 : c == u')' ? -1 : 0;
        item += c;
    }
    items += item.trimmed();
    for (QString& entry : items) {
        if (entry.contains(u'('))
            entry = u'(' + entry + u')';
    }
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
        .arg(index.unique() ? QStringLiteral("UNIQUE ") : QString(), index.name,
             index.definition.left(open).trimmed(), items.join(QStringLiteral(", ")));
}

QString PostgresEngine::changeCountQuery() const {
    return QString();
}

QString PostgresEngine::changeChannel() const {
    return QStringLiteral("zlv_changed");
}

QString PostgresEngine::sessionQuery() const {
    return QStringLiteral("SELECT pg_backend_pid()");
}

QString PostgresEngine::rowLockClause() const {
    // Other writers of the rows wait; readers never do.
    return QStringLiteral(" FOR UPDATE");
}

QString PostgresEngine::tableStatement(const QString& sqlite) const {
    QString statement = sqlite;
    statement.replace(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"),
                      QStringLiteral("integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    statement.replace(QStringLiteral(" REAL"), QStringLiteral(" double precision"));
    statement.replace(QStringLiteral(" BLOB"), QStringLiteral(" bytea"));
    statement.replace(QStringLiteral("CREATE TABLE tblNachtrag ("),
                      QStringLiteral("CREATE TABLE tblNachtrag (rowid bigint GENERATED BY DEFAULT AS "
                                     "IDENTITY PRIMARY KEY, "));
    return statement;
}

QStringList PostgresEngine::createStatements() const {
    QStringList statements = {
        // Letter case ignored for every letter, umlauts included, as on the file.
        QStringLiteral("CREATE FUNCTION fold(text) RETURNS text LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE "
                       "AS $$SELECT lower($1 COLLATE \"und-x-icu\")$$"),
        // The pattern keeps '*' and '?' as wildcards; '%', '_' and '\' stand for themselves.
        QStringLiteral("CREATE FUNCTION matches(text, text) RETURNS boolean LANGUAGE sql IMMUTABLE STRICT "
                       "PARALLEL SAFE AS $$SELECT fold($2) LIKE replace(replace(replace(replace(replace("
                       "fold($1), '\\', '\\\\'), '%', '\\%'), '_', '\\_'), '*', '%'), '?', '_')$$"),
        QStringLiteral("CREATE COLLATION german (provider = icu, locale = 'de-DE')"),
    };
    for (const QString& statement : Schema::tableStatements())
        statements += tableStatement(statement);
    for (const Schema::AddedTable& table : Schema::addedTables())
        statements += tableStatement(table.statement);
    for (const Schema::Index& index : Schema::indexes())
        statements += indexStatement(index);
    statements +=
        QStringLiteral("CREATE FUNCTION zlv_changed() RETURNS trigger LANGUAGE plpgsql AS "
                       "$$BEGIN PERFORM pg_notify('zlv_changed', pg_backend_pid()::text); RETURN NULL; "
                       "END$$");
    for (const QString& table : Schema::allTableNames())
        statements += tableCompletion(table);
    return statements;
}

namespace {

// The program's tables among the current schema's, as a condition on pg_class c.
QString ownTablesCondition() {
    QStringList names;
    for (const QString& table : Schema::allTableNames())
        names += u'\'' + table.toLower() + u'\'';
    return QStringLiteral("c.relnamespace = (SELECT oid FROM pg_catalog.pg_namespace WHERE nspname = "
                          "current_schema()) AND c.relkind IN ('r', 'p') AND lower(c.relname) IN (%1)")
        .arg(names.join(QStringLiteral(", ")));
}

} // namespace

QString PostgresEngine::unreadableTablesQuery() const {
    return QStringLiteral("SELECT c.relname FROM pg_catalog.pg_class c WHERE %1 AND NOT "
                          "has_table_privilege(c.oid, 'SELECT') ORDER BY c.relname")
        .arg(ownTablesCondition());
}

QString PostgresEngine::ownerQuery() const {
    return QStringLiteral("SELECT pg_catalog.pg_get_userbyid(datdba), pg_catalog.pg_has_role(datdba, "
                          "'MEMBER') FROM pg_catalog.pg_database WHERE datname = current_database()");
}

QString PostgresEngine::actAsStatement(const QString& role) const {
    return QStringLiteral("SET LOCAL ROLE \"%1\"").arg(QString(role).replace(u'"', QStringLiteral("\"\"")));
}

QStringList PostgresEngine::tableCompletion(const QString& table) const {
    // Every change is told to the other workstations once it is committed.
    return {QStringLiteral("CREATE TRIGGER zlv_changed AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON %1 "
                           "FOR EACH STATEMENT EXECUTE FUNCTION zlv_changed()")
                .arg(table)};
}

QString PostgresEngine::incompleteTablesQuery() const {
    return QStringLiteral("SELECT c.relname FROM pg_catalog.pg_class c WHERE %1 AND NOT EXISTS (SELECT 1 "
                          "FROM pg_catalog.pg_trigger t WHERE t.tgrelid = c.oid AND t.tgname = "
                          "'zlv_changed') ORDER BY c.relname")
        .arg(ownTablesCondition());
}

QString PostgresEngine::beginWriteStatement() const {
    return QStringLiteral("BEGIN");
}

QString PostgresEngine::projectLockStatement() const {
    return QStringLiteral("SELECT pg_advisory_xact_lock(5925, hashtext(trim(?)))");
}

QString PostgresEngine::foreignNumberCondition(const QString&) const {
    return QStringLiteral("false");
}

Engine::Fault PostgresEngine::fault(const QSqlError& error) const {
    // The server's state code (SQLSTATE) names the failure; its own words, in English as a rule, go
    // behind the details.
    const QString state = error.nativeErrorCode();
    const QString words = engineWords(error);
    const auto is = [&state](std::initializer_list<const char*> codes) {
        for (const char* code : codes) {
            if (state == QLatin1String(code))
                return true;
        }
        return false;
    };
    const auto told = [&words](Database::Failure kind, const QString& german) {
        return Fault{kind, withWords(german, words)};
    };
    const QString server = m_address.place();
    if (is({"40P01"}))
        return told(Database::Failure::Busy,
                    QStringLiteral("Zwei Arbeitsplätze haben gleichzeitig dieselben Daten geändert und "
                                   "sich gegenseitig blockiert (Verklemmung); die Änderung wurde nicht "
                                   "gespeichert."));
    if (is({"40001", "55P03"}))
        return told(Database::Failure::Busy,
                    QStringLiteral("Ein anderer Arbeitsplatz hat gleichzeitig dieselben Daten geändert; "
                                   "die Änderung wurde nicht gespeichert."));
    if (is({"23505"}))
        return told(Database::Failure::Other,
                    QStringLiteral("Ein Wert, der nur einmal vorkommen darf (etwa die laufende Nummer einer "
                                   "Buchung im Projekt), ist schon vergeben; es wurde nichts gespeichert."));
    if (is({"57014"}))
        return told(Database::Failure::Other,
                    QStringLiteral("Der Datenbankserver hat die Anfrage nach zu langer Laufzeit "
                                   "abgebrochen."));
    if (is({"42501"}))
        return told(Database::Failure::Other,
                    QStringLiteral("Sie haben auf dem Datenbankserver keine Berechtigung dafür."));
    if (is({"28000", "28P01"}))
        return told(Database::Failure::Other,
                    QStringLiteral("Der Datenbankserver %1 hat die Anmeldung abgelehnt.").arg(server));
    if (state.startsWith(QLatin1String("53")))
        return told(Database::Failure::Other,
                    is({"53100"})
                        ? QStringLiteral("Auf dem Datenbankserver ist kein Speicherplatz mehr frei.")
                        : QStringLiteral("Dem Datenbankserver fehlen die Mittel (Speicher, "
                                         "Verbindungen), die Anfrage auszuführen."));
    if (is({"57P01", "57P02"}))
        return told(Database::Failure::FileGone,
                    QStringLiteral("Verbindung unterbrochen: Der Datenbankserver %1 wurde heruntergefahren "
                                   "oder hat die Verbindung beendet.")
                        .arg(server));
    if (is({"57P03"}))
        return told(Database::Failure::FileGone,
                    QStringLiteral("Der Datenbankserver %1 startet gerade oder wird heruntergefahren; er "
                                   "nimmt noch keine Anfragen an.")
                        .arg(server));
    if (is({"08001", "08004"}))
        return told(Database::Failure::FileGone,
                    QStringLiteral("Der Datenbankserver %1 ist nicht erreichbar.").arg(server));
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
        error.type() == QSqlError::ConnectionError)
        return told(Database::Failure::FileGone,
                    QStringLiteral("Verbindung unterbrochen: Die Verbindung zum Datenbankserver %1 ist "
                                   "abgebrochen.")
                        .arg(server));
    return told(Database::Failure::Other, QStringLiteral("Der Datenbankserver meldet einen Fehler."));
}

Database::OpenFailure PostgresEngine::openFailure(const QSqlError& error, QString* reason) const {
    const QString words = engineWords(error);
    const auto says = [&](std::initializer_list<const char*> fragments) {
        for (const char* fragment : fragments) {
            if (words.contains(QLatin1String(fragment), Qt::CaseInsensitive))
                return true;
        }
        return false;
    };
    const QString server = m_address.host.isEmpty() ? QStringLiteral("localhost") : m_address.host;
    if (says({"no password supplied", "kein Passwort angegeben"})) {
        *reason = QStringLiteral("Der Server %1 verlangt ein Passwort.").arg(server);
        return Database::OpenFailure::PasswordNeeded;
    }
    if (says({"password authentication failed", "Passwort-Authentifizierung", "pg_hba.conf", "role \"",
              "Rolle »", "authentication failed", "Authentifizierung"})) {
        *reason = withWords(
            QStringLiteral("Der Server %1 hat die Anmeldung als %2 abgelehnt.").arg(server, m_address.user),
            words);
        return Database::OpenFailure::LoginRefused;
    }
    if (says({"does not exist", "existiert nicht"})) {
        *reason = withWords(QStringLiteral("Auf dem Server %1 gibt es die Datenbank %2 nicht.")
                                .arg(server, m_address.database),
                            words);
        return Database::OpenFailure::DatabaseMissing;
    }
    if (says({"permission denied", "keine Berechtigung", "Zugriff verweigert"})) {
        *reason =
            withWords(QStringLiteral("Sie haben keine Berechtigung für die Datenbank %1 auf dem Server %2.")
                          .arg(m_address.database, server),
                      words);
        return Database::OpenFailure::NoPermission;
    }
    if (error.nativeErrorCode() == QLatin1String("42501")) {
        *reason = fault(error).germanText;
        return Database::OpenFailure::NoPermission;
    }
    if (error.type() == QSqlError::ConnectionError || words.isEmpty()) {
        *reason = withWords(QStringLiteral("Der Server %1 ist nicht erreichbar.").arg(server), words);
        return Database::OpenFailure::Unreachable;
    }
    *reason = fault(error).germanText;
    return Database::OpenFailure::Other;
}

bool PostgresEngine::read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                          const std::function<void(const Database::Row&)>& visit, Fault* failure) const {
    PGconn* connection = handle(db);
    if (!connection) {
        *failure = {Database::Failure::FileGone, QStringLiteral("Die Datenbank ist nicht geöffnet.")};
        return false;
    }
    // One round trip: the statement and its values together, the values as text.
    const QByteArray statement = numberedPlaceholders(sql).toUtf8();
    QList<QByteArray> texts;
    std::vector<const char*> pointers;
    texts.reserve(values.size());
    for (const QVariant& value : values) {
        texts += value.isNull() ? QByteArray() : parameterText(value);
        pointers.push_back(value.isNull() ? nullptr : texts.constLast().constData());
    }
    PGresult* result = pq().PQexecParams(connection, statement.constData(), int(pointers.size()), nullptr,
                                         pointers.data(), nullptr, nullptr, 0);
    const ExecStatusType status = pq().PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const QString state = QString::fromLatin1(pq().PQresultErrorField(result, PG_DIAG_SQLSTATE));
        const QString words = QString::fromUtf8(pq().PQresultErrorMessage(result)).trimmed();
        pq().PQclear(result);
        *failure = fault(QSqlError(QString(), words,
                                   pq().PQstatus(connection) == CONNECTION_OK ? QSqlError::StatementError
                                                                              : QSqlError::ConnectionError,
                                   state));
        return false;
    }
    const ResultRow row(result);
    for (int i = 0, count = pq().PQntuples(result); i < count; ++i) {
        row.moveTo(i);
        visit(row);
    }
    pq().PQclear(result);
    return true;
}

bool PostgresEngine::bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                                const QList<QStringList>& rows, Fault* failure) const {
    PGconn* connection = handle(db);
    const auto failed = [&](const QString& words) {
        *failure = {Database::Failure::Other,
                    withWords(QStringLiteral("Der Datenbankserver hat die Zeilen nicht angenommen."), words)};
        return false;
    };
    if (!connection)
        return failed(QString());
    const QByteArray copy =
        QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(QStringLiteral(", "))).toUtf8();
    PGresult* started = pq().PQexec(connection, copy.constData());
    const bool copying = pq().PQresultStatus(started) == PGRES_COPY_IN;
    pq().PQclear(started);
    if (!copying)
        return failed(QString::fromUtf8(pq().PQerrorMessage(connection)));
    // The rows in COPY's text format: fields apart by tabs, \N for null, backslash escapes.
    QByteArray chunk;
    bool sent = true;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                chunk += '\t';
            if (row.at(i).isNull()) {
                chunk += "\\N";
                continue;
            }
            for (const char c : row.at(i).toUtf8()) {
                switch (c) {
                case '\\':
                    chunk += "\\\\";
                    break;
                case '\t':
                    chunk += "\\t";
                    break;
                case '\n':
                    chunk += "\\n";
                    break;
                case '\r':
                    chunk += "\\r";
                    break;
                default:
                    chunk += c;
                }
            }
        }
        chunk += '\n';
        if (chunk.size() > (1 << 20)) {
            sent = sent && pq().PQputCopyData(connection, chunk.constData(), int(chunk.size())) == 1;
            chunk.clear();
        }
    }
    sent = sent &&
           (chunk.isEmpty() || pq().PQputCopyData(connection, chunk.constData(), int(chunk.size())) == 1);
    if (pq().PQputCopyEnd(connection, sent ? nullptr : "abgebrochen") != 1)
        return failed(QString::fromUtf8(pq().PQerrorMessage(connection)));
    bool ok = sent;
    QString words;
    while (PGresult* result = pq().PQgetResult(connection)) {
        if (pq().PQresultStatus(result) != PGRES_COMMAND_OK) {
            ok = false;
            words = QString::fromUtf8(pq().PQresultErrorMessage(result)).trimmed();
        }
        pq().PQclear(result);
    }
    return ok || failed(words);
}

QStringList PostgresEngine::identityResetStatements() const {
    // Every numbering identity: ID of the tables that have one, the estimate rows' row number.
    QStringList numbered = Schema::tableNames();
    for (const Schema::AddedTable& table : Schema::addedTables()) {
        if (table.statement.contains(QStringLiteral("AUTOINCREMENT")))
            numbered += table.name;
    }
    QStringList statements;
    for (const QString& table : std::as_const(numbered)) {
        const QString key =
            table == QLatin1String("tblNachtrag") ? QStringLiteral("rowid") : QStringLiteral("ID");
        statements += QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                                     "COALESCE(MAX(%2), 0) + 1, false) FROM %1")
                          .arg(table.toLower(), key.toLower());
    }
    return statements;
}

PostgresEngine::DumpCommand PostgresEngine::dumpCommand(const ServerAddress& address) {
    DumpCommand command;
    command.program = QStandardPaths::findExecutable(QStringLiteral("pg_dump"));
    if (command.program.isEmpty()) {
        command.reason =
            QStringLiteral("Die Datenbank %1 liegt auf einem Datenbankserver. Ihre Sicherung ist Aufgabe "
                           "der Verwaltung des Servers; das Sicherungsprogramm pg_dump ist an diesem "
                           "Arbeitsplatz nicht installiert.")
                .arg(address.place());
        return command;
    }
    // The whole address as one connection string, each value quoted as libpq reads it: every
    // parameter reaches pg_dump as the program's own connection has it.
    command.arguments = {QStringLiteral("--format=custom"),
                         QStringLiteral("--dbname=") + address.connectionString(),
                         QStringLiteral("--no-password")};
    command.environment = QProcessEnvironment::systemEnvironment();
    if (!address.password.isEmpty())
        command.environment.insert(QStringLiteral("PGPASSWORD"), address.password);
    return command;
}
