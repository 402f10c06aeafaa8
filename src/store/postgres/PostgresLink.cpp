#include "PostgresLink.h"

#include "PostgresSignOff.h"

#include "DayNumber.h"
#include "Dialogs.h"
#include "Libpq.h"
#include "PostgresRoles.h"
#include "RepeatedTexts.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QSysInfo>
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

} // namespace

PGconn* PostgresLink::handle(const QSqlDatabase& db) {
    if (!db.isValid() || !db.driver() || Libpq::get() == nullptr)
        return nullptr;
    QVariant value = db.driver()->handle();
    // Qt names the type by its struct: "pg_conn*".
    if (!value.isValid() ||
        (qstrcmp(value.typeName(), "PGconn*") != 0 && qstrcmp(value.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn**>(value.data());
}

namespace {

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

// Values as the server reads them, as text; a null value stands for NULL.
struct Parameters {
    explicit Parameters(const QVariantList& values) {
        texts.reserve(values.size());
        for (const QVariant& value : values) {
            texts += value.isNull() ? QByteArray() : parameterText(value);
            pointers.push_back(value.isNull() ? nullptr : texts.constLast().constData());
        }
    }
    QList<QByteArray> texts;
    std::vector<const char*> pointers;
};

// A row of a result the server sent as text, read by the type of each column.
class ResultRow : public DatabaseRow {
public:
    explicit ResultRow(const PGresult* result) : m_result(result) {}
    void moveTo(int row) const { m_row = row; }
    int columnCount() const override { return pq().PQnfields(m_result); }
    QString text(int column) const override {
        if (isNull(column))
            return QString();
        const QString stored = raw(column);
        return isReal(column) ? QString::number(stored.toDouble(), 'g', QLocale::FloatingPointShortest)
                              : stored;
    }
    QString text(int column, RepeatedTexts& repeated) const override {
        if (isNull(column) || isReal(column))
            return text(column);
        return repeated.fromUtf8(QByteArrayView(pq().PQgetvalue(m_result, m_row, column),
                                                pq().PQgetlength(m_result, m_row, column)));
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
    QByteArray utf8(int column) const override {
        if (isNull(column))
            return QByteArray();
        if (isReal(column))
            return text(column).toUtf8();
        return QByteArray::fromRawData(pq().PQgetvalue(m_result, m_row, column),
                                       pq().PQgetlength(m_result, m_row, column));
    }
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

PostgresLink::PostgresLink(ServerAddress address) : m_address(std::move(address)) {}

QString PostgresLink::place() const {
    return m_address.place();
}
QString PostgresLink::driverName() const {
    return QStringLiteral("QPSQL");
}
void PostgresLink::configure(QSqlDatabase& db, bool) const {
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

void PostgresLink::loadClient() const {
    Libpq::get();
}

bool PostgresLink::prepare(const QSqlDatabase& db) {
    // A new connection has none of the statements prepared on the one before.
    m_prepared = Prepared();
    PGconn* connection = handle(db);
    if (connection == nullptr)
        return false;
    // The journal names the workstation each change came from; the server alone knows only its address.
    // A project's list is sorted in memory rather than on disk: the server's default room for a sort
    // (4 MB) holds fewer than 20,000 bookings, 64 MB some 200,000. A larger room set for the server is
    // kept. One exchange with the server (a new connection's first run of a statement), the workstation's
    // name bound as a parameter.
    static const QByteArray settings =
        QByteArrayLiteral("SELECT set_config('zlv.arbeitsplatz', $1, false), CASE WHEN "
                          "pg_size_bytes(current_setting('work_mem')) < pg_size_bytes('") +
        kSortRoom + QByteArrayLiteral("') THEN set_config('work_mem', '") + kSortRoom +
        QByteArrayLiteral("', false) END");
    const QByteArray workstation = QSysInfo::machineHostName().toUtf8();
    PGresult* result = execute(connection, settings, {workstation.constData()});
    const bool set = pq().PQresultStatus(result) == PGRES_TUPLES_OK;
    pq().PQclear(result);
    return set;
}

bool PostgresLink::setJournalTask(const QSqlDatabase& db, const QString& task, bool collecting,
                                  StoreFailure* failure) {
    return run(
        db, QStringLiteral("SELECT set_config('zlv.vorgang', ?, true), set_config('zlv.sammeln', ?, true)"),
        {task, collecting ? QStringLiteral("ja") : QString()}, [](const DatabaseRow&) {}, nullptr, failure);
}
bool PostgresLink::stillThere(const QSqlDatabase& db) const {
    PGconn* connection = handle(db);
    return connection && pq().PQstatus(connection) == CONNECTION_OK;
}

StoreFailure::Opening PostgresLink::obstacle(QString* reason) const {
    if (m_address.isValid())
        return StoreFailure::Opening::None;
    *reason = m_address.problem();
    return StoreFailure::Opening::Other;
}

std::optional<QString> PostgresLink::creationObstacle() const {
    if (m_address.isValid())
        return std::nullopt;
    return m_address.problem();
}

QString PostgresLink::refusal(const QString& reason, bool creating) const {
    return (creating ? QStringLiteral("Die Datenbank %1 kann nicht eingerichtet werden:\n%2")
                     : QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden:\n%2"))
        .arg(m_address.place(), reason);
}

std::optional<QString> PostgresLink::emptyRefusal() const {
    return QStringLiteral("Die Datenbank ist leer; sie ist noch nicht für Zelvora eingerichtet.");
}

QString PostgresLink::schemaRefusal(const QString& reason) const {
    return QString(reason).replace(QStringLiteral("Die Datei ist"), QStringLiteral("Sie ist"));
}

QString PostgresLink::goneText() const {
    return QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen (%1). Die begonnene Änderung "
                          "wurde nicht gespeichert.")
        .arg(place());
}

StoreFailure PostgresLink::fault(const QSqlError& error, const QSqlDatabase& db) const {
    // A server that ended the connection without a word (a crash, a network gone) leaves it broken.
    const bool lost =
        error.type() != QSqlError::ConnectionError && error.nativeErrorCode().isEmpty() && !stillThere(db);
    return faultOf(lost ? QSqlError(error.driverText(), error.databaseText(), QSqlError::ConnectionError)
                        : error);
}

StoreFailure PostgresLink::faultOf(const QSqlError& error) const {
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
    const auto told = [&words](StoreFailure::Kind kind, const QString& german) {
        return StoreFailure{kind, withWords(german, words)};
    };
    const QString server = m_address.place();
    if (const std::optional<QString> lacking =
            is({"42501"}) ? PostgresRoles::lackingRight(words) : std::nullopt)
        return told(StoreFailure::Kind::Other, *lacking);
    if (is({"40P01"}))
        return told(StoreFailure::Kind::Busy,
                    QStringLiteral("Zwei Arbeitsplätze haben gleichzeitig dieselben Daten geändert und "
                                   "sich gegenseitig blockiert (Verklemmung); die Änderung wurde nicht "
                                   "gespeichert."));
    if (is({"40001", "55P03"}))
        return told(StoreFailure::Kind::Busy,
                    QStringLiteral("Ein anderer Arbeitsplatz hat gleichzeitig dieselben Daten geändert; "
                                   "die Änderung wurde nicht gespeichert."));
    if (is({"23505"}))
        return told(StoreFailure::Kind::Other,
                    QStringLiteral("Ein Wert, der nur einmal vorkommen darf (etwa die laufende Nummer einer "
                                   "Buchung im Projekt), ist schon vergeben; es wurde nichts gespeichert."));
    if (is({"57014"}))
        return told(StoreFailure::Kind::Other,
                    QStringLiteral("Der Datenbankserver hat die Anfrage nach zu langer Laufzeit "
                                   "abgebrochen."));
    // A rule of the sign-off refused the change: its German text is the whole message.
    if (state == PostgresSignOff::refusalState())
        return {StoreFailure::Kind::Other,
                error.databaseText().section(u'\n', 0, 0).section(QStringLiteral(":  "), 1).trimmed()};
    if (is({"42501"}))
        return told(StoreFailure::Kind::Other,
                    QStringLiteral("Sie haben auf dem Datenbankserver keine Berechtigung dafür."));
    if (is({"28000", "28P01"}))
        return told(StoreFailure::Kind::Other,
                    QStringLiteral("Der Datenbankserver %1 hat die Anmeldung abgelehnt.").arg(server));
    if (state.startsWith(QLatin1String("53")))
        return told(StoreFailure::Kind::Other,
                    is({"53100"})
                        ? QStringLiteral("Auf dem Datenbankserver ist kein Speicherplatz mehr frei.")
                        : QStringLiteral("Dem Datenbankserver fehlen die Mittel (Speicher, "
                                         "Verbindungen), die Anfrage auszuführen."));
    if (is({"57P01", "57P02"}))
        return told(StoreFailure::Kind::FileGone,
                    QStringLiteral("Verbindung unterbrochen: Der Datenbankserver %1 wurde heruntergefahren "
                                   "oder hat die Verbindung beendet.")
                        .arg(server));
    if (is({"57P03"}))
        return told(StoreFailure::Kind::FileGone,
                    QStringLiteral("Der Datenbankserver %1 startet gerade oder wird heruntergefahren; er "
                                   "nimmt noch keine Anfragen an.")
                        .arg(server));
    if (is({"08001", "08004"}))
        return told(StoreFailure::Kind::FileGone,
                    QStringLiteral("Der Datenbankserver %1 ist nicht erreichbar.").arg(server));
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
        error.type() == QSqlError::ConnectionError)
        return told(StoreFailure::Kind::FileGone,
                    QStringLiteral("Verbindung unterbrochen: Die Verbindung zum Datenbankserver %1 ist "
                                   "abgebrochen.")
                        .arg(server));
    return told(StoreFailure::Kind::Other, QStringLiteral("Der Datenbankserver meldet einen Fehler."));
}
StoreFailure::Opening PostgresLink::openFailure(const QSqlError& error, QString* reason) const {
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
        return StoreFailure::Opening::PasswordNeeded;
    }
    if (says({"password authentication failed", "Passwort-Authentifizierung", "pg_hba.conf", "role \"",
              "Rolle »", "authentication failed", "Authentifizierung"})) {
        *reason = withWords(
            QStringLiteral("Der Server %1 hat die Anmeldung als %2 abgelehnt.").arg(server, m_address.user),
            words);
        return StoreFailure::Opening::LoginRefused;
    }
    if (says({"does not exist", "existiert nicht"})) {
        *reason = withWords(QStringLiteral("Auf dem Server %1 gibt es die Datenbank %2 nicht.")
                                .arg(server, m_address.database),
                            words);
        return StoreFailure::Opening::DatabaseMissing;
    }
    if (says({"permission denied", "keine Berechtigung", "Zugriff verweigert"})) {
        *reason =
            withWords(QStringLiteral("Sie haben keine Berechtigung für die Datenbank %1 auf dem Server %2.")
                          .arg(m_address.database, server),
                      words);
        return StoreFailure::Opening::NoPermission;
    }
    if (error.nativeErrorCode() == QLatin1String("42501")) {
        *reason = faultOf(error).germanText;
        return StoreFailure::Opening::NoPermission;
    }
    if (error.type() == QSqlError::ConnectionError || words.isEmpty()) {
        *reason = withWords(QStringLiteral("Der Server %1 ist nicht erreichbar.").arg(server), words);
        return StoreFailure::Opening::Unreachable;
    }
    *reason = faultOf(error).germanText;
    return StoreFailure::Opening::Other;
}
bool PostgresLink::read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                        const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const {
    return run(db, sql, values, visit, nullptr, failure);
}

bool PostgresLink::change(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                          qint64* changed, StoreFailure* failure) const {
    return run(
        db, sql, values, [](const DatabaseRow&) {}, changed, failure);
}

bool PostgresLink::run(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                       const std::function<void(const DatabaseRow&)>& visit, qint64* changed,
                       StoreFailure* failure) const {
    PGconn* connection = handle(db);
    if (!connection) {
        *failure = {StoreFailure::Kind::FileGone, QStringLiteral("Die Datenbank ist nicht geöffnet.")};
        return false;
    }
    // One round trip: the statement and its values together, the values as text.
    const QByteArray statement = numberedPlaceholders(sql).toUtf8();
    const Parameters parameters(values);
    PGresult* result = execute(connection, statement, parameters.pointers);
    const ExecStatusType status = pq().PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        *failure = faultOf(result, connection);
        pq().PQclear(result);
        return false;
    }
    const ResultRow row(result);
    for (int i = 0, count = pq().PQntuples(result); i < count; ++i) {
        row.moveTo(i);
        visit(row);
    }
    if (changed)
        *changed = QByteArray(pq().PQcmdTuples(result)).toLongLong();
    pq().PQclear(result);
    return true;
}
bool PostgresLink::stream(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                          const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const {
    PGconn* connection = handle(db);
    if (!connection) {
        *failure = {StoreFailure::Kind::FileGone, QStringLiteral("Die Datenbank ist nicht geöffnet.")};
        return false;
    }
    const QByteArray statement = numberedPlaceholders(sql).toUtf8();
    const Parameters parameters(values);
    // Row by row as the server sends them: the client holds one row, and works on it while the server
    // reads the next.
    if (!pq().PQsendQueryParams(connection, statement.constData(), int(parameters.pointers.size()), nullptr,
                                parameters.pointers.data(), nullptr, nullptr, 0)) {
        *failure = faultOf(QSqlError(QString(), QString::fromUtf8(pq().PQerrorMessage(connection)).trimmed(),
                                     QSqlError::ConnectionError));
        return false;
    }
    pq().PQsetSingleRowMode(connection);
    bool read = true;
    // Every result is collected, so that the connection is free for the next statement.
    while (PGresult* result = pq().PQgetResult(connection)) {
        const ExecStatusType status = pq().PQresultStatus(result);
        if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK && read) {
            *failure = faultOf(result, connection);
            read = false;
        }
        // One row each, and none in the last result; all of them should libpq not have taken single rows.
        const ResultRow row(result);
        for (int i = 0, count = read ? pq().PQntuples(result) : 0; i < count; ++i) {
            row.moveTo(i);
            visit(row);
        }
        pq().PQclear(result);
    }
    return read;
}

StoreFailure PostgresLink::faultOf(const PGresult* result, PGconn* connection) const {
    return faultOf(QSqlError(QString(), QString::fromUtf8(pq().PQresultErrorMessage(result)).trimmed(),
                             pq().PQstatus(connection) == CONNECTION_OK ? QSqlError::StatementError
                                                                        : QSqlError::ConnectionError,
                             QString::fromLatin1(pq().PQresultErrorField(result, PG_DIAG_SQLSTATE))));
}

PGresult* PostgresLink::execute(PGconn* connection, const QByteArray& statement,
                                const std::vector<const char*>& values) const {
    const int count = int(values.size());
    QByteArray name = m_prepared.names.value(statement);
    if (name.isEmpty() && !m_prepared.runOnce.contains(statement)) {
        if (m_prepared.runOnce.size() >= kMostPrepared)
            m_prepared.runOnce.clear();
        m_prepared.runOnce.insert(statement);
        return pq().PQexecParams(connection, statement.constData(), count, nullptr, values.data(), nullptr,
                                 nullptr, 0);
    }
    if (name.isEmpty()) {
        if (m_prepared.order.size() >= kMostPrepared) {
            const QByteArray oldest = m_prepared.order.dequeue();
            pq().PQclear(pq().PQexec(connection, "DEALLOCATE " + m_prepared.names.take(oldest)));
        }
        name = "zlv_" + QByteArray::number(m_prepared.next++);
        PGresult* prepared =
            pq().PQprepare(connection, name.constData(), statement.constData(), count, nullptr);
        if (pq().PQresultStatus(prepared) != PGRES_COMMAND_OK)
            return prepared;
        pq().PQclear(prepared);
        m_prepared.names.insert(statement, name);
        m_prepared.order.enqueue(statement);
    }
    PGresult* result =
        pq().PQexecPrepared(connection, name.constData(), count, values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = pq().PQresultStatus(result);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        // Prepared again next time: the statement may be gone from the server, or its plan outdated.
        m_prepared.names.remove(statement);
        m_prepared.order.removeOne(statement);
        pq().PQclear(pq().PQexec(connection, "DEALLOCATE " + name));
    }
    return result;
}

PostgresLink::DumpCommand PostgresLink::dumpCommand(const ServerAddress& address) {
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
