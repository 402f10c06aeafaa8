#include "SqliteEngine.h"

#include "GermanCollation.h"
#include "PatternFunctions.h"
#include "SqliteFailure.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <QVariant>
#include <sqlite3.h>

QString SqliteEngine::driverName() {
    return QStringLiteral("QSQLITE");
}

bool SqliteEngine::isDatabaseHeader(const QByteArray& firstBytes) {
    return firstBytes == QByteArray("SQLite format 3\0", kHeaderLength);
}

void SqliteEngine::configure(QSqlDatabase& db, const QString& absolutePath, bool existing,
                             int busyTimeoutMs) {
    const QString timeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    if (existing) {
        db.setDatabaseName(QUrl::fromLocalFile(absolutePath).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;") + timeout);
    } else {
        db.setDatabaseName(absolutePath);
        db.setConnectOptions(timeout);
    }
}

sqlite3* SqliteEngine::handle(const QSqlDatabase& db) {
    if (!db.isValid() || !db.driver())
        return nullptr;
    QVariant value = db.driver()->handle();
    if (!value.isValid() || qstrcmp(value.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3**>(value.data());
}

bool SqliteEngine::installFunctions(sqlite3* connection) {
    return PatternFunctions::registerOn(connection) && GermanCollation::registerOn(connection);
}

QString SqliteEngine::fieldListQuery() {
    return QStringLiteral("SELECT name FROM pragma_table_info(?)");
}

QString SqliteEngine::indexListQuery() {
    return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'");
}

bool SqliteEngine::fileHasMoved(sqlite3* connection) {
    int moved = 0;
    return sqlite3_file_control(connection, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
           moved != 0;
}

QStringList SqliteEngine::stampStatements(int applicationId, int userVersion) {
    return {QStringLiteral("PRAGMA application_id = %1").arg(applicationId),
            QStringLiteral("PRAGMA user_version = %1").arg(userVersion)};
}

QString SqliteEngine::beginWriteStatement() {
    return QStringLiteral("BEGIN IMMEDIATE");
}

QString SqliteEngine::engineWords(const QSqlError& error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

int SqliteEngine::resultCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : SQLITE_ERROR;
}

Database::OpenFailure SqliteEngine::classifyOpenFailure(const QSqlError& error, QString* reason) {
    const int code = resultCode(error);
    const QString german = SqliteFailure::germanText(code, engineWords(error));
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        *reason = german;
        return Database::OpenFailure::Locked;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        *reason = QStringLiteral("Die Datei ist keine Zelvora-Datenbank: ") + german;
        return Database::OpenFailure::NotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
        *reason = german;
        return Database::OpenFailure::NotReadable;
    default:
        *reason = german;
        return Database::OpenFailure::Other;
    }
}
