#include "Database.h"

#include "Schema.h"
#include "SqliteEngine.h"
#include "SqliteFailure.h"
#include "SqliteFile.h"
#include "SqliteStatement.h"
#include "SystemErrorText.h"

#include <atomic>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>

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
        return refuse(
            OpenFailure::NotReadable,
            QStringLiteral("Die Datei kann nicht gelesen werden (%1).").arg(SystemErrorText::of(file)));
    const QByteArray header = file.read(SqliteEngine::kHeaderLength);
    file.close();
    if (!SqliteEngine::isDatabaseHeader(header))
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
    QString reason;
    if (!db->connect(true, busyTimeoutMs, &reason))
        return refuse(OpenFailure::Other, reason);
    const OpenFailure schemaFailure = db->checkSchema(&reason);
    if (schemaFailure != OpenFailure::None)
        return refuse(schemaFailure, reason);
    const OpenFailure configureFailure = db->configure(&reason);
    if (configureFailure != OpenFailure::None)
        return refuse(configureFailure, reason);
    return db;
}

int Database::defaultBusyTimeoutMs() {
    static const int timeout = [] {
        bool ok = false;
        const int override = qEnvironmentVariableIntValue("ZLV_BUSY_TIMEOUT_MS", &ok);
        return ok && override > 0 ? override : 10000;
    }();
    return timeout;
}

bool Database::connect(bool existing, int busyTimeoutMs, QString* germanText) {
    QSqlDatabase db = QSqlDatabase::addDatabase(SqliteEngine::driverName(), m_connectionName);
    if (!db.isValid()) {
        *germanText =
            QStringLiteral("Der Datenbanktreiber %1 ist nicht verfügbar.").arg(SqliteEngine::driverName());
        return false;
    }
    SqliteEngine::configure(db, m_filePath, existing, busyTimeoutMs);
    if (!db.open()) {
        *germanText = SqliteFailure::germanText(SqliteEngine::resultCode(db.lastError()),
                                                SqliteEngine::engineWords(db.lastError()));
        return false;
    }
    if (!handle()) {
        *germanText = QStringLiteral("Der Datenbanktreiber liefert keine SQLite-Verbindung.");
        return false;
    }
    return true;
}

Database::OpenFailure Database::checkSchema(QString* reason) {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(SqliteEngine::fieldListQuery()))
        return SqliteEngine::classifyOpenFailure(query.lastError(), reason);
    for (const QString& table : Schema::tableNames()) {
        query.bindValue(0, table);
        if (!query.exec())
            return SqliteEngine::classifyOpenFailure(query.lastError(), reason);
        QStringList present;
        while (query.next())
            present += query.value(0).toString();
        if (query.lastError().isValid())
            return SqliteEngine::classifyOpenFailure(query.lastError(), reason);
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

Database::OpenFailure Database::configure(QString* reason) {
    if (!SqliteEngine::installFunctions(handle())) {
        *reason = QStringLiteral("Die Suchfunktionen konnten nicht eingerichtet werden.");
        return OpenFailure::Other;
    }
    // Only a file that lacks an index is written to, so that opening a file that other programs are
    // writing to waits for no one.
    QStringList present;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(SqliteEngine::indexListQuery()))
        return SqliteEngine::classifyOpenFailure(query.lastError(), reason);
    while (query.next())
        present += query.value(0).toString();
    if (query.lastError().isValid())
        return SqliteEngine::classifyOpenFailure(query.lastError(), reason);
    query.finish();
    QStringList missing;
    for (const Schema::Index& index : Schema::indexes()) {
        if (!present.contains(index.name, Qt::CaseInsensitive))
            missing += Schema::indexStatement(index);
    }
    if (missing.isEmpty())
        return OpenFailure::None;
    bool added = beginTransaction();
    for (const QString& statement : std::as_const(missing))
        added = added && exec(statement);
    added = added && commit();
    if (added)
        return OpenFailure::None;
    rollback();
    *reason = m_lastReason;
    return m_lastFailure == Failure::Busy ? OpenFailure::Locked : OpenFailure::Other;
}

bool Database::onCurrentFile(const QString& what) {
    sqlite3* db = handle();
    if (db && !SqliteEngine::fileHasMoved(db))
        return true;
    if (!m_inTransaction && QFileInfo::exists(m_filePath)) {
        QString reason;
        if (reconnect(&reason))
            return true;
        recordFailure(what, reason);
        return false;
    }
    recordFailure(
        what,
        QStringLiteral("Die Datenbankdatei ist nicht mehr vorhanden: '%1'. Sie wurde gelöscht, "
                       "umbenannt oder verschoben. Sobald sie wieder an ihrem Platz ist, können Sie "
                       "weiterarbeiten.")
            .arg(QDir::toNativeSeparators(m_filePath)),
        Failure::FileGone);
    return false;
}

bool Database::reconnect(QString* reason) {
    QSqlDatabase db = connection();
    db.close();
    if (!db.open()) {
        *reason = SqliteFailure::germanText(SqliteEngine::resultCode(db.lastError()),
                                            SqliteEngine::engineWords(db.lastError()));
        return false;
    }
    if (handle() && checkSchema(reason) == OpenFailure::None && configure(reason) == OpenFailure::None)
        return true;
    db.close();
    return false;
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
        if (db.connect(false, defaultBusyTimeoutMs(), &reason)) {
            created = db.beginTransaction();
            QStringList statements = SqliteEngine::stampStatements(kApplicationId, kUserVersion);
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
        QFile::remove(SqliteFile::journalPath(filePath));
        return refuse(reason);
    }
    return true;
}

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(m_connectionName, false);
}

sqlite3* Database::handle() const {
    return SqliteEngine::handle(connection());
}

bool Database::run(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    if (!onCurrentFile(sql))
        return false;
    query.setForwardOnly(true);
    if (!query.prepare(sql)) {
        recordFailure(sql, query.lastError());
        return false;
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values.at(i));
    if (!query.exec()) {
        recordFailure(sql, query.lastError());
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
    recordFailure(sql, QStringLiteral("Der Datensatz ist nicht mehr vorhanden."), Failure::RowGone);
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

bool Database::read(const QString& sql, const QVariantList& values,
                    const std::function<void(const Row&)>& visit) {
    if (!onCurrentFile(sql))
        return false;
    sqlite3* db = handle();
    if (!db) {
        recordFailure(sql, QStringLiteral("Die Datenbank ist nicht geöffnet."));
        return false;
    }
    SqliteStatement statement(db, sql);
    if (!statement.isPrepared() || !statement.bind(values)) {
        recordFailure(sql, statement.resultCode(), statement.engineWords());
        return false;
    }
    const Row row(statement);
    while (statement.next())
        visit(row);
    if (statement.failed()) {
        recordFailure(sql, statement.resultCode(), statement.engineWords());
        return false;
    }
    return true;
}

QString Database::Row::text(int column) const {
    return m_statement.text(column);
}

std::optional<int> Database::Row::integer(int column) const {
    return m_statement.wholeNumber(column);
}

qint64 Database::Row::rowNumber(int column) const {
    return m_statement.rowNumber(column);
}

std::optional<Money> Database::Row::amount(int column) const {
    return m_statement.amount(column);
}

std::optional<Money> Database::Row::amount(int column, QString& unreadable) const {
    const std::optional<Money> amount = m_statement.amount(column);
    if (!amount && !m_statement.isNull(column))
        unreadable = m_statement.text(column);
    return amount;
}

bool Database::beginTransaction() {
    if (m_inTransaction) {
        m_lastError =
            QStringLiteral("Die Änderung konnte nicht begonnen werden: Eine andere Änderung ist noch "
                           "nicht abgeschlossen.");
        m_lastReason = m_lastError;
        m_lastFailure = Failure::Other;
        return false;
    }
    if (!exec(SqliteEngine::beginWriteStatement()))
        return false;
    m_inTransaction = true;
    return true;
}

bool Database::commit() {
    if (!m_inTransaction)
        return false;
    if (exec(QStringLiteral("COMMIT"))) {
        m_inTransaction = false;
        return true;
    }
    // A refused COMMIT may leave the transaction open (another program still reads the file, a deferred
    // constraint fails): nothing of it is kept, and the file is not left locked.
    const QString failure = m_lastError;
    const QString reason = m_lastReason;
    const Failure kind = m_lastFailure;
    rollback();
    m_lastError = failure;
    m_lastReason = reason;
    m_lastFailure = kind;
    return false;
}

bool Database::rollback() {
    if (!m_inTransaction)
        return false;
    m_inTransaction = false;
    return exec(QStringLiteral("ROLLBACK"));
}

bool Database::retryOnceWhenBusy(const std::function<bool()>& write) {
    return write() || (!m_inTransaction && m_lastFailure == Failure::Busy && write());
}

void Database::recordFailure(const QString& what, const QString& germanText, Failure failure) {
    m_lastReason = germanText;
    m_lastError = failurePrefix(what) + QStringLiteral(": ") + germanText;
    m_lastFailure = failure;
}

void Database::recordFailure(const QString& what, int code, const QString& engineWords) {
    recordFailure(what, SqliteFailure::germanText(code, engineWords),
                  SqliteFailure::isBusy(code)       ? Failure::Busy
                  : SqliteFailure::isFileGone(code) ? Failure::FileGone
                                                    : Failure::Other);
}

void Database::recordFailure(const QString& what, const QSqlError& error) {
    recordFailure(what, SqliteEngine::resultCode(error), SqliteEngine::engineWords(error));
}
