#include "DatabaseBackup.h"

#include <filesystem>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sqlite3.h>
#include <system_error>

namespace {

constexpr int kBusyTimeoutMs = 3000;
constexpr int kBackupRetries = 60;
constexpr int kBackupRetryPauseMs = 50;

// One raw connection, closed when it goes out of scope.
class RawConnection {
public:
    RawConnection(const QString& path, int flags) {
        m_result = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
        if (m_db)
            sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    }
    ~RawConnection() { sqlite3_close_v2(m_db); }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool isOpen() const { return m_result == SQLITE_OK; }
    sqlite3* get() const { return m_db; }
    QString errorText() const {
        return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(m_result));
    }

private:
    sqlite3* m_db = nullptr;
    int m_result = SQLITE_ERROR;
};

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdU16String());
}

// Copies the whole source database into target in one step, so that the copy is one consistent state.
QString copyDatabase(const QString& sourcePath, const QString& targetPath) {
    RawConnection source(sourcePath, SQLITE_OPEN_READONLY);
    if (!source.isOpen())
        return QStringLiteral("Die Datenbank '%1' kann nicht gelesen werden (%2).")
            .arg(QDir::toNativeSeparators(sourcePath), source.errorText());
    RawConnection target(targetPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!target.isOpen())
        return target.errorText();
    sqlite3_backup* backup = sqlite3_backup_init(target.get(), "main", source.get(), "main");
    if (!backup)
        return target.errorText();
    int result = SQLITE_OK;
    for (int attempt = 0; attempt < kBackupRetries; ++attempt) {
        result = sqlite3_backup_step(backup, -1);
        if (result != SQLITE_BUSY && result != SQLITE_LOCKED)
            break;
        sqlite3_sleep(kBackupRetryPauseMs);
    }
    const int finished = sqlite3_backup_finish(backup);
    if (result != SQLITE_DONE)
        return QString::fromUtf8(sqlite3_errstr(result));
    if (finished != SQLITE_OK)
        return target.errorText();
    return QString();
}

} // namespace

QString DatabaseBackup::backupFileName(const QDate& day, const QString& databaseFileName) {
    return day.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('_') + databaseFileName;
}

bool DatabaseBackup::copy(const QString& databasePath, const QString& backupPath) {
    const QString failed = QStringLiteral("Die Sicherungskopie konnte nicht geschrieben werden: ");
    if (!stepAllowed(Step::Copy)) {
        m_lastError = failed + QStringLiteral("Das Kopieren der Datenbank wurde abgebrochen.");
        return false;
    }
    const QFileInfo backupInfo(backupPath);
    QTemporaryFile scratch(
        backupInfo.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(backupInfo.fileName())));
    if (!scratch.open()) {
        m_lastError =
            failed + QStringLiteral("Im Ordner '%1' kann keine Datei angelegt werden (%2).")
                         .arg(QDir::toNativeSeparators(backupInfo.absolutePath()), scratch.errorString());
        return false;
    }
    scratch.close();
    const QString copyError = copyDatabase(databasePath, scratch.fileName());
    if (!copyError.isEmpty()) {
        QFile::remove(scratch.fileName() + QStringLiteral("-journal"));
        m_lastError = failed + copyError;
        return false;
    }
    if (!stepAllowed(Step::ReplaceBackup)) {
        m_lastError =
            failed + QStringLiteral("Die bisherige Sicherungskopie '%1' konnte nicht ersetzt werden.")
                         .arg(QDir::toNativeSeparators(backupPath));
        return false;
    }
    std::error_code error;
    std::filesystem::rename(toPath(scratch.fileName()), toPath(backupInfo.absoluteFilePath()), error);
    if (error) {
        m_lastError =
            failed + QStringLiteral("Die bisherige Sicherungskopie '%1' konnte nicht ersetzt werden (%2).")
                         .arg(QDir::toNativeSeparators(backupPath), QString::fromLocal8Bit(error.message()));
        return false;
    }
    scratch.setAutoRemove(false);
    m_lastError.clear();
    return true;
}

bool DatabaseBackup::compact(const QString& databasePath) {
    const QString failed = QStringLiteral("Die Datenbank konnte nicht komprimiert werden: ");
    if (!stepAllowed(Step::Compact)) {
        m_lastError = failed + QStringLiteral("Das Komprimieren wurde abgebrochen.");
        return false;
    }
    RawConnection connection(databasePath, SQLITE_OPEN_READWRITE);
    if (!connection.isOpen()) {
        m_lastError = failed + connection.errorText();
        return false;
    }
    if (sqlite3_exec(connection.get(), "VACUUM", nullptr, nullptr, nullptr) != SQLITE_OK) {
        m_lastError = failed + connection.errorText();
        return false;
    }
    m_lastError.clear();
    return true;
}

bool DatabaseBackup::stepAllowed(Step step) {
    return !m_hook || m_hook(step);
}
