#include "SqliteFile.h"

#include "Database.h"
#include "SqliteFailure.h"
#include "SqliteLibrary.h"
#include "SqliteStatement.h"

#include <QDir>

namespace {

constexpr int kBackupRetries = 60;
constexpr int kBackupRetryPauseMs = 50;

// One raw connection, closed when it goes out of scope.
class RawConnection {
public:
    RawConnection(const QString& path, int flags) {
        if (SqliteLibrary::get() == nullptr)
            return;
        m_result = sqlite().sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
        if (m_db)
            sqlite().sqlite3_busy_timeout(m_db, Database::defaultBusyTimeoutMs());
    }
    ~RawConnection() {
        if (m_db)
            sqlite().sqlite3_close_v2(m_db);
    }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool isOpen() const { return m_result == SQLITE_OK; }
    sqlite3* get() const { return m_db; }
    // The last failure on this connection, in German.
    QString failure() const {
        if (SqliteLibrary::get() == nullptr)
            return QStringLiteral("SQLite ist auf diesem Rechner nicht installiert (libsqlite3.so.0).");
        if (!m_db)
            return SqliteFailure::germanText(m_result, QString::fromUtf8(sqlite().sqlite3_errstr(m_result)));
        return SqliteFailure::germanText(sqlite().sqlite3_extended_errcode(m_db),
                                         QString::fromUtf8(sqlite().sqlite3_errmsg(m_db)));
    }

private:
    sqlite3* m_db = nullptr;
    int m_result = SQLITE_ERROR;
};

} // namespace

SqliteFile::Condition SqliteFile::quickCheck(const QString& path, QString* finding) {
    // Opened for writing for the same reason as the source of a copy.
    RawConnection connection(path, SQLITE_OPEN_READWRITE);
    if (!connection.isOpen()) {
        *finding = connection.failure();
        return Condition::Unchecked;
    }
    SqliteStatement check(connection.get(), QStringLiteral("PRAGMA quick_check(1)"));
    if (check.isPrepared() && check.next()) {
        const QString result = check.text(0);
        if (result == QLatin1String("ok"))
            return Condition::Intact;
        *finding = result;
        return Condition::Damaged;
    }
    if (SqliteFailure::isDamage(check.resultCode())) {
        *finding = check.engineWords();
        return Condition::Damaged;
    }
    *finding = SqliteFailure::germanText(check.resultCode(), check.engineWords());
    return Condition::Unchecked;
}

QString SqliteFile::copy(const QString& sourcePath, const QString& targetPath) {
    // Opened for writing, though nothing is written to it, so that the engine can roll back the journal
    // of a workstation that crashed while writing before it reads; never created anew.
    RawConnection source(sourcePath, SQLITE_OPEN_READWRITE);
    if (!source.isOpen())
        return QStringLiteral("Die Datenbank '%1' kann nicht gelesen werden: %2")
            .arg(QDir::toNativeSeparators(sourcePath), source.failure());
    RawConnection target(targetPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!target.isOpen())
        return target.failure();
    sqlite3_backup* backup = sqlite().sqlite3_backup_init(target.get(), "main", source.get(), "main");
    if (!backup)
        return target.failure();
    int result = SQLITE_OK;
    for (int attempt = 0; attempt < kBackupRetries; ++attempt) {
        result = sqlite().sqlite3_backup_step(backup, -1);
        if (result != SQLITE_BUSY && result != SQLITE_LOCKED)
            break;
        sqlite().sqlite3_sleep(kBackupRetryPauseMs);
    }
    const int finished = sqlite().sqlite3_backup_finish(backup);
    if (result != SQLITE_DONE)
        return SqliteFailure::germanText(result, QString::fromUtf8(sqlite().sqlite3_errstr(result)));
    if (finished != SQLITE_OK)
        return target.failure();
    return QString();
}

QString SqliteFile::compact(const QString& path) {
    RawConnection connection(path, SQLITE_OPEN_READWRITE);
    if (!connection.isOpen())
        return connection.failure();
    if (sqlite().sqlite3_exec(connection.get(), "VACUUM", nullptr, nullptr, nullptr) != SQLITE_OK)
        return connection.failure();
    return QString();
}

QString SqliteFile::journalPath(const QString& path) {
    return path + QStringLiteral("-journal");
}
