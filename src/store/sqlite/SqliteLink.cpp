#include "SqliteLink.h"

#include "GermanCollation.h"
#include "PatternFunctions.h"
#include "SqliteFailure.h"
#include "SqliteFile.h"
#include "SqliteLibrary.h"
#include "SqliteStatement.h"
#include "SystemErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <QVariant>

namespace {

constexpr int kHeaderLength = 16;

int resultCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : SQLITE_ERROR;
}

QString engineWords(const QSqlError& error) {
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

// Write protection as the user sees it: the engine's write check, or no write bit at all (a file set
// read-only, which an administrator's account could otherwise still write).
bool isWriteProtected(const QFileInfo& info) {
    const QFileDevice::Permissions writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & writeBits);
}

// A row of a statement run straight on the engine.
class StatementRow : public DatabaseRow {
public:
    explicit StatementRow(const SqliteStatement& statement) : m_statement(statement) {}
    int columnCount() const override { return m_statement.columnCount(); }
    QString text(int column) const override { return m_statement.text(column); }
    QString text(int column, RepeatedTexts& repeated) const override {
        return m_statement.text(column, repeated);
    }
    bool isNull(int column) const override { return m_statement.isNull(column); }
    std::optional<int> integer(int column) const override { return m_statement.wholeNumber(column); }
    qint64 rowNumber(int column) const override { return m_statement.rowNumber(column); }
    std::optional<Money> amount(int column) const override { return m_statement.amount(column); }
    QByteArray bytes(int column) const override { return m_statement.bytes(column); }

private:
    const SqliteStatement& m_statement;
};

} // namespace

sqlite3* SqliteLink::handle(const QSqlDatabase& db) {
    if (!db.isValid() || !db.driver() || SqliteLibrary::get() == nullptr)
        return nullptr;
    QVariant value = db.driver()->handle();
    if (!value.isValid() || qstrcmp(value.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3**>(value.data());
}

SqliteLink::SqliteLink(QString location, int busyTimeoutMs)
    : m_location(std::move(location)), m_path(QFileInfo(m_location).absoluteFilePath()),
      m_busyTimeoutMs(busyTimeoutMs) {}

QString SqliteLink::place() const {
    return QDir::toNativeSeparators(m_path);
}

void SqliteLink::loadClient() const {
    SqliteLibrary::get();
}

QString SqliteLink::driverName() const {
    return QStringLiteral("QSQLITE");
}

StoreFailure::Opening SqliteLink::obstacle(QString* reason) const {
    using Opening = StoreFailure::Opening;
    const auto refuse = [&](Opening kind, const QString& why) {
        *reason = why;
        return kind;
    };
    const QFileInfo info(m_location);
    if (!info.exists())
        return refuse(Opening::Missing, QStringLiteral("Die Datei ist nicht vorhanden."));
    if (info.isDir())
        return refuse(Opening::NotADatabase,
                      QStringLiteral("Der Pfad bezeichnet einen Ordner, keine Datei."));
    QFile file(m_location);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(
            Opening::NotReadable,
            QStringLiteral("Die Datei kann nicht gelesen werden (%1).").arg(SystemErrorText::of(file)));
    const QByteArray header = file.read(kHeaderLength);
    file.close();
    if (header != QByteArray("SQLite format 3\0", kHeaderLength))
        return refuse(Opening::NotADatabase,
                      QStringLiteral("Die Datei ist keine Zelvora-Datenbank (sie hat nicht das Format einer "
                                     "SQLite-Datenbank)."));
    if (isWriteProtected(info))
        return refuse(Opening::ReadOnly, QStringLiteral("Die Datei ist schreibgeschützt."));
    if (isWriteProtected(QFileInfo(info.absolutePath())))
        return refuse(Opening::ReadOnly,
                      QStringLiteral("Der Ordner der Datei ist schreibgeschützt; Änderungen können nicht "
                                     "sicher gespeichert werden."));
    return Opening::None;
}

std::optional<QString> SqliteLink::creationObstacle() const {
    if (QFileInfo::exists(m_location))
        return QStringLiteral("Die Datei ist bereits vorhanden.");
    return std::nullopt;
}

QString SqliteLink::refusal(const QString& reason, bool creating) const {
    return (creating ? QStringLiteral("Die Datenbank '%1' kann nicht angelegt werden:\n%2")
                     : QStringLiteral("Die Datenbank '%1' kann nicht geöffnet werden:\n%2"))
        .arg(QDir::toNativeSeparators(m_location), reason);
}

void SqliteLink::discard() const {
    QFile::remove(m_location);
    QFile::remove(SqliteFile::journalPath(m_location));
}

void SqliteLink::configure(QSqlDatabase& db, bool existing) const {
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

bool SqliteLink::prepare(const QSqlDatabase& db) {
    sqlite3* connection = handle(db);
    return PatternFunctions::registerOn(connection) && GermanCollation::registerOn(connection) &&
           m_journal.registerOn(connection);
}

bool SqliteLink::setJournalTask(const QSqlDatabase&, const QString& task, bool collecting, StoreFailure*) {
    m_journal.setTask(task, collecting);
    return true;
}

bool SqliteLink::stillThere(const QSqlDatabase& db) const {
    sqlite3* connection = handle(db);
    int moved = 0;
    return connection &&
           !(sqlite().sqlite3_file_control(connection, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK &&
             moved != 0);
}

bool SqliteLink::mayReopen() const {
    return QFileInfo::exists(place());
}

QString SqliteLink::goneText() const {
    return QStringLiteral("Die Datenbankdatei ist nicht mehr vorhanden: '%1'. Sie wurde gelöscht, "
                          "umbenannt oder verschoben. Sobald sie wieder an ihrem Platz ist, können Sie "
                          "weiterarbeiten.")
        .arg(place());
}

StoreFailure SqliteLink::fault(const QSqlError& error, const QSqlDatabase&) const {
    return SqliteFailure::of(resultCode(error), engineWords(error));
}

StoreFailure::Opening SqliteLink::openFailure(const QSqlError& error, QString* reason) const {
    const int code = resultCode(error);
    *reason = SqliteFailure::germanText(code, engineWords(error));
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreFailure::Opening::Locked;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        *reason = QStringLiteral("Die Datei ist keine Zelvora-Datenbank: ") + *reason;
        return StoreFailure::Opening::NotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
        return StoreFailure::Opening::NotReadable;
    default:
        return StoreFailure::Opening::Other;
    }
}

bool SqliteLink::read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                      const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const {
    sqlite3* connection = handle(db);
    if (!connection) {
        *failure = {StoreFailure::Kind::Other, QStringLiteral("Die Datenbank ist nicht geöffnet.")};
        return false;
    }
    SqliteStatement statement(connection, sql);
    if (!statement.isPrepared() || !statement.bind(values)) {
        *failure = SqliteFailure::of(statement.resultCode(), statement.engineWords());
        return false;
    }
    const StatementRow row(statement);
    while (statement.next())
        visit(row);
    if (statement.failed()) {
        *failure = SqliteFailure::of(statement.resultCode(), statement.engineWords());
        return false;
    }
    return true;
}

bool SqliteLink::change(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
                        qint64* changed, StoreFailure* failure) const {
    if (!read(
            db, sql, values, [](const DatabaseRow&) {}, failure))
        return false;
    if (changed)
        *changed = sqlite().sqlite3_changes64(handle(db));
    return true;
}
