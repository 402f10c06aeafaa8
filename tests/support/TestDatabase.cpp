#include "TestDatabase.h"

#include "Schema.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUrlQuery>

namespace {

// Schemas on the server set up and emptied again, for the next test.
QStringList& spareSchemas() {
    static QStringList schemas;
    return schemas;
}

// A connection to the server's database with the libpq environment's defaults, for creating and
// dropping the schemas of the tests.
QSqlDatabase serverAdministration() {
    const QString name = QStringLiteral("zlv-test-administration");
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    if (!db.open())
        qWarning("cannot reach the test server: %s", qPrintable(db.lastError().text()));
    return db;
}

QString serverLocation(const QString& schema) {
    QUrlQuery query;
    for (const auto& [parameter, variable] :
         {std::pair{"host", "PGHOST"}, {"port", "PGPORT"}, {"user", "PGUSER"}}) {
        if (qEnvironmentVariableIsSet(variable))
            query.addQueryItem(QLatin1String(parameter), qEnvironmentVariable(variable));
    }
    query.addQueryItem(QStringLiteral("options"), QStringLiteral("-csearch_path=") + schema);
    const QString database =
        qEnvironmentVariable("PGDATABASE", qEnvironmentVariable("PGUSER", qEnvironmentVariable("USER")));
    return QStringLiteral("postgresql:///") + database + u'?' + query.toString(QUrl::FullyEncoded);
}

// SQLite's group_concat(), with its texts of numbers ("10.0"), for the tests' checks that read the same on
// both engines.
const char* const kAsOnTheFile[] = {
    "CREATE FUNCTION zt_text(anyelement) RETURNS text LANGUAGE sql IMMUTABLE AS "
    "$$SELECT CASE WHEN pg_typeof($1) = 'double precision'::regtype AND $1::text ~ '^-?[0-9]+$' "
    "THEN $1::text || '.0' ELSE $1::text END$$",
    "CREATE FUNCTION zt_concat(text, anyelement, text) RETURNS text LANGUAGE sql IMMUTABLE AS "
    "$$SELECT CASE WHEN $2 IS NULL THEN $1 WHEN $1 IS NULL THEN zt_text($2) ELSE $1 || $3 || zt_text($2) "
    "END$$",
    "CREATE FUNCTION zt_concat(text, anyelement) RETURNS text LANGUAGE sql IMMUTABLE AS "
    "$$SELECT zt_concat($1, $2, ',')$$",
    "CREATE AGGREGATE group_concat(anyelement, text) (SFUNC = zt_concat, STYPE = text)",
    "CREATE AGGREGATE group_concat(anyelement) (SFUNC = zt_concat, STYPE = text)",
};

} // namespace

TestDatabase::Engine TestDatabase::requestedEngine() {
    return qEnvironmentVariable("ZLV_TEST_ENGINE") == QLatin1String("server") ? Engine::Server : Engine::File;
}

TestDatabase::~TestDatabase() {
    m_db.reset();
    if (!onServer())
        return;
    // A schema whose tables the test left as they were serves the next test, emptied and with its presets.
    QSqlQuery query(serverAdministration());
    QStringList tables = Schema::allTableNames();
    tables.replaceInStrings(QRegularExpression(QStringLiteral("^")), m_schema + u'.');
    QStringList presets;
    for (const auto& [table, field, names] :
         {std::tuple{"tblGewerk", "Gewerk", Schema::presetTrades()},
          {"tblKostengruppe", "Kostengruppe", Schema::presetCostGroups()}}) {
        QStringList values;
        for (QString name : names)
            values += QStringLiteral("('%1')").arg(name.replace(u'\'', QStringLiteral("''")));
        presets += QStringLiteral("INSERT INTO %1.%2 (%3) VALUES %4")
                       .arg(m_schema, QLatin1String(table), QLatin1String(field), values.join(u','));
    }
    // Emptied as a new database is set up, the journal included, which no trigger may see.
    if (m_reusable && query.exec(QStringLiteral("SET session_replication_role = replica")) &&
        query.exec(QStringLiteral("TRUNCATE %1 RESTART IDENTITY").arg(tables.join(u','))) &&
        query.exec(presets.join(u';')) &&
        query.exec(QStringLiteral("SET session_replication_role = origin"))) {
        spareSchemas().append(m_schema);
        return;
    }
    query.exec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_schema));
}

TestDatabase::TestDatabase(Engine engine, bool setUp) {
    QString message;
    if (engine == Engine::Server && setUp && !spareSchemas().isEmpty()) {
        m_schema = spareSchemas().takeLast();
        m_location = serverLocation(m_schema);
        m_reusable = true;
        m_db = Database::open(path(), nullptr, &message);
        if (!m_db)
            qWarning("cannot open test database: %s", qPrintable(message));
        return;
    }
    if (engine == Engine::Server) {
        static int count = 0;
        m_schema = QStringLiteral("zt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++count);
        QSqlQuery create(serverAdministration());
        if (!create.exec(QStringLiteral("CREATE SCHEMA %1").arg(m_schema))) {
            qWarning("cannot create a schema on the test server: %s", qPrintable(create.lastError().text()));
            return;
        }
        m_location = serverLocation(m_schema);
    }
    if (!setUp)
        return;
    if (!Database::create(path(), &message)) {
        qWarning("cannot create test database: %s", qPrintable(message));
        return;
    }
    m_db = Database::open(path(), nullptr, &message);
    if (!m_db)
        qWarning("cannot open test database: %s", qPrintable(message));
    m_reusable = onServer();
    for (const char* statement : kAsOnTheFile) {
        if (m_db && onServer() && !m_db->exec(QLatin1String(statement)))
            qWarning("cannot install the functions of the checks: %s", qPrintable(m_db->lastError()));
    }
}

QString TestDatabase::path() const {
    return onServer() ? m_location : m_dir.filePath(QStringLiteral("ZLV.mdb"));
}

void TestDatabase::exec(const QString& sql, const QVariantList& values) {
    static const QRegularExpression changesSchema(QStringLiteral("^\\s*(CREATE|DROP|ALTER)\\b"),
                                                  QRegularExpression::CaseInsensitiveOption);
    if (changesSchema.match(sql).hasMatch())
        m_reusable = false;
    if (!m_db->exec(sql, values))
        QFAIL(qPrintable(m_db->lastError()));
    // Rows given their numbers by a test: the next new row gets the next number, as after a transfer.
    if (onServer() && sql.startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive) &&
        !m_db->resetIdentities())
        QFAIL(qPrintable(m_db->lastError()));
}

QString TestDatabase::scalar(const QString& sql, const QVariantList& values) {
    QSqlQuery query(m_db->connection());
    if (!m_db->run(query, sql, values) || !query.next())
        return QStringLiteral("<no row: %1>").arg(m_db->lastError());
    return Database::text(query, 0);
}

void TestDatabase::clearPresets() {
    exec(QStringLiteral("DELETE FROM tblGewerk"));
    exec(QStringLiteral("DELETE FROM tblKostengruppe"));
}

void TestDatabase::execElsewhere(const QString& sql) {
    QString error;
    if (!runElsewhere(sql, &error))
        QFAIL(qPrintable(error));
}

bool TestDatabase::runElsewhere(const QString& sql, QString* error) {
    m_reusable = false;
    QProcess tool;
    if (onServer())
        tool.start(QStringLiteral("psql"), {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", path(), "-c", sql});
    else
        tool.start(QStringLiteral("sqlite3"), {"-bail", path(), sql});
    const bool ran =
        tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    *error = tool.program() + QStringLiteral(": ") + QString::fromUtf8(tool.readAllStandardError());
    return ran;
}

bool TestDatabase::reopen() {
    m_db.reset();
    QString message;
    m_db = Database::open(path(), nullptr, &message);
    if (!m_db)
        qWarning("cannot reopen test database: %s", qPrintable(message));
    return m_db != nullptr;
}

bool TestDatabase::damageBookings() {
    m_db.reset();
    return damageBookings(path()) && reopen();
}

bool TestDatabase::damageBookings(const QString& path) {
    qint64 pageSize = 0;
    qint64 rootPage = 0;
    {
        const std::unique_ptr<Database> db = Database::open(path);
        QSqlQuery query(db ? db->connection() : QSqlDatabase());
        if (!db ||
            !db->exec(QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
                "INSERT INTO tblBuchung (ProjektID, Bemerkungen) "
                "SELECT '1', hex(zeroblob(100)) FROM n")) ||
            !db->run(query, QStringLiteral("SELECT (SELECT page_size FROM pragma_page_size), rootpage FROM "
                                           "sqlite_master WHERE name = 'tblBuchung'")) ||
            !query.next())
            return false;
        pageSize = query.value(0).toLongLong();
        rootPage = query.value(1).toLongLong();
    }
    QFile file(path);
    if (pageSize <= 0 || rootPage <= 1 || !file.open(QIODevice::ReadWrite) ||
        !file.seek((rootPage - 1) * pageSize))
        return false;
    // An interior or leaf page starts with its kind; 0x00 is none of them.
    const bool written = file.write(QByteArray(8, '\0')) == 8;
    file.close();
    return written;
}

bool TestDatabase::writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString TestDatabase::fileState(const QString& path) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const QFileInfo info(path);
    return QStringLiteral("exists=%1 sha1=%2 modified=%3 folder=%4")
        .arg(info.exists())
        .arg(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex()),
             info.lastModified().toString(Qt::ISODateWithMs),
             info.absoluteDir().entryList(QDir::Files | QDir::Hidden).join(u','));
}
