#include "SqliteEngine.h"

#include "GermanCollation.h"
#include "PatternFunctions.h"
#include "SqliteFailure.h"
#include "SqliteStatement.h"

#include <QDir>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <QVariant>
#include <sqlite3.h>

namespace {

// Stamped into files the program creates ("ZLV1"); never required of a file that is opened.
constexpr int kApplicationId = 0x5A4C5631;
constexpr int kUserVersion = 1;

int resultCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : SQLITE_ERROR;
}

QString engineWords(const QSqlError& error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

Engine::Fault faultOf(int code, const QString& words) {
    return {SqliteFailure::isBusy(code)       ? Database::Failure::Busy
            : SqliteFailure::isFileGone(code) ? Database::Failure::FileGone
                                              : Database::Failure::Other,
            SqliteFailure::germanText(code, words)};
}

// A row of a statement run straight on the engine.
class StatementRow : public Database::Row {
public:
    explicit StatementRow(const SqliteStatement& statement) : m_statement(statement) {}
    QString text(int column) const override { return m_statement.text(column); }
    bool isNull(int column) const override { return m_statement.isNull(column); }
    std::optional<int> integer(int column) const override { return m_statement.wholeNumber(column); }
    qint64 rowNumber(int column) const override { return m_statement.rowNumber(column); }
    std::optional<Money> amount(int column) const override { return m_statement.amount(column); }
    QByteArray bytes(int column) const override { return m_statement.bytes(column); }

private:
    const SqliteStatement& m_statement;
};

} // namespace

bool SqliteEngine::isDatabaseHeader(const QByteArray& firstBytes) {
    return firstBytes == QByteArray("SQLite format 3\0", kHeaderLength);
}

sqlite3* SqliteEngine::handle(const QSqlDatabase& db) {
    if (!db.isValid() || !db.driver())
        return nullptr;
    QVariant value = db.driver()->handle();
    if (!value.isValid() || qstrcmp(value.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3**>(value.data());
}

SqliteEngine::SqliteEngine(QString absolutePath, int busyTimeoutMs)
    : m_path(std::move(absolutePath)), m_busyTimeoutMs(busyTimeoutMs) {}

QString SqliteEngine::place() const {
    return QDir::toNativeSeparators(m_path);
}

QString SqliteEngine::driverName() const {
    return QStringLiteral("QSQLITE");
}

void SqliteEngine::configure(QSqlDatabase& db, bool existing) const {
    const QString timeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_busyTimeoutMs);
    if (existing) {
        db.setDatabaseName(QUrl::fromLocalFile(m_path).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;") + timeout);
    } else {
        db.setDatabaseName(m_path);
        db.setConnectOptions(timeout);
    }
}

bool SqliteEngine::prepare(const QSqlDatabase& db) {
    sqlite3* connection = handle(db);
    return PatternFunctions::registerOn(connection) && GermanCollation::registerOn(connection);
}

bool SqliteEngine::stillThere(const QSqlDatabase& db) const {
    sqlite3* connection = handle(db);
    int moved = 0;
    return connection &&
           !(sqlite3_file_control(connection, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
             moved != 0);
}

QString SqliteEngine::fieldListQuery() const {
    return QStringLiteral("SELECT name FROM pragma_table_info(?)");
}

QString SqliteEngine::tableListQuery() const {
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'");
}

QString SqliteEngine::indexListQuery() const {
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'");
}

QString SqliteEngine::indexStatement(const Schema::Index& index) const {
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3")
        .arg(index.unique() ? QStringLiteral("UNIQUE ") : QString(), index.name, index.definition);
}

QString SqliteEngine::changeCountQuery() const {
    return QStringLiteral("PRAGMA data_version");
}

QString SqliteEngine::changeChannel() const {
    return QString();
}

QString SqliteEngine::sessionQuery() const {
    return QString();
}

QString SqliteEngine::rowLockClause() const {
    // The writing transaction holds the whole file already.
    return QString();
}

QString SqliteEngine::tableStatement(const QString& statement) const {
    return statement;
}

QStringList SqliteEngine::createStatements() const {
    QStringList statements = {QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId),
                              QStringLiteral("PRAGMA user_version = %1").arg(kUserVersion)};
    statements += Schema::tableStatements();
    for (const Schema::AddedTable& table : Schema::addedTables())
        statements += table.statement;
    for (const Schema::Index& index : Schema::indexes())
        statements += indexStatement(index);
    return statements;
}

QString SqliteEngine::beginWriteStatement() const {
    return QStringLiteral("BEGIN IMMEDIATE");
}

QString SqliteEngine::projectLockStatement() const {
    return QString();
}

QString SqliteEngine::foreignNumberCondition(const QString& column) const {
    return QStringLiteral("typeof(%1) IN ('text', 'blob')").arg(column);
}

Engine::Fault SqliteEngine::fault(const QSqlError& error) const {
    return faultOf(resultCode(error), engineWords(error));
}

Database::OpenFailure SqliteEngine::openFailure(const QSqlError& error, QString* reason) const {
    const int code = resultCode(error);
    *reason = SqliteFailure::germanText(code, engineWords(error));
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Database::OpenFailure::Locked;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        *reason = QStringLiteral("Die Datei ist keine Zelvora-Datenbank: ") + *reason;
        return Database::OpenFailure::NotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
        return Database::OpenFailure::NotReadable;
    default:
        return Database::OpenFailure::Other;
    }
}

bool SqliteEngine::read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                        const std::function<void(const Database::Row&)>& visit, Fault* fault) const {
    sqlite3* connection = handle(db);
    if (!connection) {
        *fault = {Database::Failure::Other, QStringLiteral("Die Datenbank ist nicht geöffnet.")};
        return false;
    }
    SqliteStatement statement(connection, sql);
    if (!statement.isPrepared() || !statement.bind(values)) {
        *fault = faultOf(statement.resultCode(), statement.engineWords());
        return false;
    }
    const StatementRow row(statement);
    while (statement.next())
        visit(row);
    if (statement.failed()) {
        *fault = faultOf(statement.resultCode(), statement.engineWords());
        return false;
    }
    return true;
}

bool SqliteEngine::bulkInsert(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                              const QList<QStringList>& rows, Fault* failure) const {
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                            .arg(table, columns.join(QStringLiteral(", ")),
                                 QStringLiteral(", ?").repeated(columns.size() - 1));
    SqliteStatement statement(handle(db), sql);
    for (const QStringList& row : rows) {
        QVariantList values;
        for (const QString& value : row)
            values += value.isNull() ? QVariant() : QVariant(value);
        if (!statement.isPrepared() || !statement.bind(values) || (statement.next(), statement.failed())) {
            *failure = faultOf(statement.resultCode(), statement.engineWords());
            return false;
        }
        statement.reset();
    }
    return true;
}

QStringList SqliteEngine::identityResetStatements() const {
    return {};
}
