#include "Database.h"

#include "DayNumber.h"
#include "GermanCollation.h"
#include "PatternMatcher.h"
#include "Schema.h"

#include <atomic>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <sqlite3.h>

namespace {

// Stamped into files the program creates ("ZLV1"); never required of a file that is opened.
constexpr int kApplicationId = 0x5A4C5631;
constexpr int kUserVersion = 1;

QString nextConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("zlv-store-%1").arg(++counter);
}

QString refusal(const QString& filePath, const QString& reason) {
    return QStringLiteral("Die Datenbank '%1' kann nicht geöffnet werden:\n%2")
        .arg(QDir::toNativeSeparators(filePath), reason);
}

QString engineText(const QSqlError& error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

int primaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : SQLITE_ERROR;
}

// Write protection as the user sees it: the engine's write check, or no write bit at all (a file set
// read-only, which an administrator's account could otherwise still write).
bool isWriteProtected(const QFileInfo& info) {
    const QFileDevice::Permissions writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & writeBits);
}

QString failurePrefix(const QString& sql) {
    const QStringView start = QStringView(sql).trimmed().left(6);
    if (start.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0 ||
        start.compare(QLatin1String("PRAGMA"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Die Daten konnten nicht gelesen werden");
    if (start.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Der Datensatz konnte nicht gelöscht werden");
    return QStringLiteral("Der Datensatz konnte nicht gespeichert werden");
}

} // namespace

Database::Database(QString filePath, QString connectionName)
    : m_filePath(std::move(filePath)), m_connectionName(std::move(connectionName)) {}

Database::~Database() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            if (m_inTransaction)
                rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

std::unique_ptr<Database> Database::open(const QString& filePath, OpenFailure* failure,
                                         QString* germanMessage, int busyTimeoutMs) {
    const auto refuse = [&](OpenFailure kind, const QString& reason) {
        if (failure)
            *failure = kind;
        if (germanMessage)
            *germanMessage = refusal(filePath, reason);
        return std::unique_ptr<Database>();
    };
    if (failure)
        *failure = OpenFailure::None;

    const QFileInfo info(filePath);
    if (!info.exists())
        return refuse(OpenFailure::Missing, QStringLiteral("Die Datei ist nicht vorhanden."));
    if (info.isDir())
        return refuse(OpenFailure::NotADatabase,
                      QStringLiteral("Der Pfad bezeichnet einen Ordner, keine Datei."));
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(OpenFailure::NotReadable,
                      QStringLiteral("Die Datei kann nicht gelesen werden (%1).").arg(file.errorString()));
    const QByteArray header = file.read(16);
    file.close();
    if (header != QByteArray("SQLite format 3\0", 16))
        return refuse(OpenFailure::NotADatabase,
                      QStringLiteral("Die Datei ist keine Zelvora-Datenbank (sie hat nicht das Format einer "
                                     "SQLite-Datenbank)."));
    if (isWriteProtected(info))
        return refuse(OpenFailure::ReadOnly, QStringLiteral("Die Datei ist schreibgeschützt."));
    if (isWriteProtected(QFileInfo(info.absolutePath())))
        return refuse(OpenFailure::ReadOnly,
                      QStringLiteral("Der Ordner der Datei ist schreibgeschützt; Änderungen können nicht "
                                     "sicher gespeichert werden."));

    std::unique_ptr<Database> db(new Database(info.absoluteFilePath(), nextConnectionName()));
    const QString uri = QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                        QStringLiteral("?mode=rw");
    const QString options = QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
    QString reason;
    if (!db->connect(uri, options, &reason))
        return refuse(OpenFailure::Other, reason);
    const OpenFailure schemaFailure = db->checkSchema(&reason);
    if (schemaFailure != OpenFailure::None)
        return refuse(schemaFailure, reason);
    if (!db->configure(&reason))
        return refuse(OpenFailure::Other, reason);
    return db;
}

bool Database::connect(const QString& databaseName, const QString& options, QString* engineText) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!db.isValid()) {
        *engineText = QStringLiteral("Der Datenbanktreiber QSQLITE ist nicht verfügbar.");
        return false;
    }
    db.setDatabaseName(databaseName);
    db.setConnectOptions(options);
    if (!db.open()) {
        *engineText =
            QStringLiteral("Die Datei kann nicht geöffnet werden (%1).").arg(::engineText(db.lastError()));
        return false;
    }
    if (!handle()) {
        *engineText = QStringLiteral("Der Datenbanktreiber liefert keine SQLite-Verbindung.");
        return false;
    }
    return true;
}

namespace {

Database::OpenFailure classify(const QSqlError& error, QString* reason) {
    switch (primaryCode(error)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        *reason = QStringLiteral("Die Datei ist gesperrt, weil ein anderes Programm gerade mit ihr arbeitet. "
                                 "Bitte versuchen Sie es später noch einmal.");
        return Database::OpenFailure::Locked;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        *reason = QStringLiteral("Die Datei ist keine Zelvora-Datenbank (sie ist beschädigt oder keine "
                                 "SQLite-Datenbank: %1).")
                      .arg(engineText(error));
        return Database::OpenFailure::NotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
        *reason = QStringLiteral("Die Datei kann nicht gelesen werden (%1).").arg(engineText(error));
        return Database::OpenFailure::NotReadable;
    default:
        *reason = engineText(error);
        return Database::OpenFailure::Other;
    }
}

} // namespace

Database::OpenFailure Database::checkSchema(QString* reason) {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)")))
        return classify(query.lastError(), reason);
    for (const QString& table : Schema::tableNames()) {
        query.bindValue(0, table);
        if (!query.exec())
            return classify(query.lastError(), reason);
        QStringList present;
        while (query.next())
            present += query.value(0).toString();
        if (query.lastError().isValid())
            return classify(query.lastError(), reason);
        query.finish();
        if (present.isEmpty()) {
            *reason =
                QStringLiteral("Die Datei ist keine Zelvora-Datenbank (es fehlt die Tabelle %1).").arg(table);
            return OpenFailure::ForeignSchema;
        }
        for (const QString& field : Schema::fieldNames(table)) {
            if (!present.contains(field, Qt::CaseInsensitive)) {
                *reason = QStringLiteral("Die Datei ist keine Zelvora-Datenbank (in der Tabelle %1 fehlt das "
                                         "Feld %2).")
                              .arg(table, field);
                return OpenFailure::ForeignSchema;
            }
        }
    }
    return OpenFailure::None;
}

bool Database::configure(QString* germanMessage) {
    if (!PatternMatcher::registerOn(handle()) || !GermanCollation::registerOn(handle())) {
        *germanMessage = QStringLiteral("Die Suchfunktionen konnten nicht eingerichtet werden.");
        return false;
    }
    for (const QString& statement : Schema::indexStatements()) {
        if (!exec(statement)) {
            *germanMessage = m_lastError;
            return false;
        }
    }
    return true;
}

bool Database::create(const QString& filePath, QString* germanMessage) {
    const auto refuse = [&](const QString& reason) {
        if (germanMessage)
            *germanMessage = QStringLiteral("Die Datenbank '%1' kann nicht angelegt werden:\n%2")
                                 .arg(QDir::toNativeSeparators(filePath), reason);
        return false;
    };
    if (QFileInfo::exists(filePath))
        return refuse(QStringLiteral("Die Datei ist bereits vorhanden."));

    QString reason;
    bool created = false;
    {
        Database db(QFileInfo(filePath).absoluteFilePath(), nextConnectionName());
        if (db.connect(db.m_filePath, QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kDefaultBusyTimeoutMs),
                       &reason)) {
            created = db.beginTransaction();
            QStringList statements = {QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId),
                                      QStringLiteral("PRAGMA user_version = %1").arg(kUserVersion)};
            statements += Schema::createStatements();
            for (const QString& statement : std::as_const(statements))
                created = created && db.exec(statement);
            for (const QString& trade : Schema::presetTrades())
                created =
                    created && db.exec(QStringLiteral("INSERT INTO tblGewerk (Gewerk) VALUES (?)"), {trade});
            for (const QString& costGroup : Schema::presetCostGroups())
                created = created &&
                          db.exec(QStringLiteral("INSERT INTO tblKostengruppe (Kostengruppe) VALUES (?)"),
                                  {costGroup});
            created = created && db.commit();
            if (!created)
                reason = db.lastError();
        }
    }
    if (!created) {
        QFile::remove(filePath);
        QFile::remove(filePath + QStringLiteral("-journal"));
        return refuse(reason);
    }
    return true;
}

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(m_connectionName, false);
}

sqlite3* Database::handle() const {
    const QSqlDatabase db = connection();
    if (!db.isValid() || !db.driver())
        return nullptr;
    QVariant value = db.driver()->handle();
    if (!value.isValid() || qstrcmp(value.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3**>(value.data());
}

bool Database::run(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        recordFailure(sql, engineText(query.lastError()));
        return false;
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values.at(i));
    if (!query.exec()) {
        recordFailure(sql, engineText(query.lastError()));
        return false;
    }
    return true;
}

bool Database::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection());
    return run(query, sql, values);
}

std::optional<qint64> Database::insert(const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection());
    if (!run(query, sql, values))
        return std::nullopt;
    return query.lastInsertId().toLongLong();
}

bool Database::changeRow(const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection());
    if (!run(query, sql, values))
        return false;
    if (query.numRowsAffected() > 0)
        return true;
    m_lastError = failurePrefix(sql) + QStringLiteral(": Der Datensatz ist nicht mehr vorhanden.");
    return false;
}

QString Database::text(const QSqlQuery& query, int column) {
    const QVariant value = query.value(column);
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

namespace {

bool bindValue(sqlite3_stmt* statement, int index, const QVariant& value) {
    if (value.isNull())
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble()) == SQLITE_OK;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, index, bytes.constData(), static_cast<int>(bytes.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}

QString columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, column)) : QString();
}

} // namespace

bool Database::read(const QString& sql, const QVariantList& values,
                    const std::function<void(const Row&)>& visit) {
    sqlite3* db = handle();
    if (!db) {
        recordFailure(sql, QStringLiteral("Die Datenbank ist nicht geöffnet."));
        return false;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare16_v2(db, sql.utf16(), static_cast<int>(sql.size() * 2), &statement, nullptr) !=
        SQLITE_OK) {
        recordFailure(sql, QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_finalize(statement);
        return false;
    }
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (!bindValue(statement, static_cast<int>(i + 1), values.at(i))) {
            recordFailure(sql, QString::fromUtf8(sqlite3_errmsg(db)));
            sqlite3_finalize(statement);
            return false;
        }
    }
    const Row row(statement);
    int result = SQLITE_ROW;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW)
        visit(row);
    if (result != SQLITE_DONE)
        recordFailure(sql, QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_finalize(statement);
    return result == SQLITE_DONE;
}

QString Database::Row::text(int column) const {
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return QString::number(sqlite3_column_double(m_statement, column), 'g',
                               QLocale::FloatingPointShortest);
    default:
        return columnText(m_statement, column);
    }
}

std::optional<int> Database::Row::integer(int column) const {
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_INTEGER:
        return DayNumber::fromStoredInteger(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return DayNumber::fromStoredReal(sqlite3_column_double(m_statement, column));
    default:
        return DayNumber::parseStored(columnText(m_statement, column));
    }
}

qint64 Database::Row::rowNumber(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

std::optional<Money> Database::Row::amount(int column) const {
    switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_INTEGER:
        return Money::fromStoredInteger(sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return Money::fromStoredReal(sqlite3_column_double(m_statement, column));
    default:
        return Money::parseStored(columnText(m_statement, column));
    }
}

bool Database::beginTransaction() {
    if (m_inTransaction) {
        m_lastError =
            QStringLiteral("Die Änderung konnte nicht begonnen werden: Eine andere Änderung ist noch "
                           "nicht abgeschlossen.");
        return false;
    }
    if (!exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    m_inTransaction = true;
    return true;
}

bool Database::commit() {
    if (!m_inTransaction)
        return false;
    if (!exec(QStringLiteral("COMMIT")))
        return false;
    m_inTransaction = false;
    return true;
}

bool Database::rollback() {
    if (!m_inTransaction)
        return false;
    m_inTransaction = false;
    return exec(QStringLiteral("ROLLBACK"));
}

void Database::recordFailure(const QString& what, const QString& engineText) {
    m_lastError = failurePrefix(what) + QStringLiteral(": ") + engineText;
}
