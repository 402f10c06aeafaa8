#include "DatabaseBackup.h"

#include "SqliteFile.h"
#include "SystemErrorText.h"

#include <filesystem>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <system_error>

namespace {

// The file mode bits; the "user" bits describe the running user, not the file.
constexpr QFileDevice::Permissions kFileModeBits =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
    QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
    QFileDevice::ExeOther;

// Marks the backup's scratch files: ".05.12.2026_ZLV.mdb.AbCxYz.zlv-tmp", and the engine's journal of one.
const QString kScratchSuffix = QStringLiteral(".zlv-tmp");

QString scratchTemplate(const QFileInfo& backup) {
    return backup.absoluteDir().filePath(QLatin1Char('.') + backup.fileName() + QStringLiteral(".XXXXXX") +
                                         kScratchSuffix);
}

// Removes the scratch files that interrupted backups of the database left in folder; nothing else matches.
void removeLeftoverScratch(const QDir& folder, const QString& databaseFileName) {
    const QRegularExpression ownName(
        QStringLiteral(R"(^\.\d{2}\.\d{2}\.\d{4}_%1\.[A-Za-z0-9]{6}%2(%3)?$)")
            .arg(QRegularExpression::escape(databaseFileName), QRegularExpression::escape(kScratchSuffix),
                 QRegularExpression::escape(SqliteFile::journalPath(QString()))));
    const QStringList candidates =
        folder.entryList({QStringLiteral(".*") + kScratchSuffix + QLatin1Char('*')},
                         QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        if (ownName.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
    }
}

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QDir::toNativeSeparators(path).toStdU16String());
}

} // namespace

QString DatabaseBackup::backupFileName(const QDate& day, const QString& databaseFileName) {
    return day.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('_') + databaseFileName;
}

DatabaseBackup::Condition DatabaseBackup::check(const QString& databasePath) {
    QString finding;
    const QString shownPath = QDir::toNativeSeparators(databasePath);
    switch (SqliteFile::quickCheck(databasePath, &finding)) {
    case SqliteFile::Condition::Intact:
        m_lastError.clear();
        return Condition::Intact;
    case SqliteFile::Condition::Damaged:
        m_lastError =
            QStringLiteral("Die Datenbank '%1' ist beschädigt (%2).").arg(shownPath, finding.simplified());
        return Condition::Damaged;
    case SqliteFile::Condition::Unchecked:
        break;
    }
    m_lastError =
        QStringLiteral("Die Datenbank '%1' konnte nicht geprüft werden: %2").arg(shownPath, finding);
    return Condition::Unchecked;
}

bool DatabaseBackup::copy(const QString& databasePath, const QString& backupPath) {
    const QString failed = QStringLiteral("Die Sicherungskopie konnte nicht geschrieben werden: ");
    if (!stepAllowed(Step::Copy)) {
        m_lastError = failed + QStringLiteral("Das Kopieren der Datenbank wurde abgebrochen.");
        return false;
    }
    const QFileInfo backupInfo(backupPath);
    removeLeftoverScratch(backupInfo.absoluteDir(), QFileInfo(databasePath).fileName());
    QTemporaryFile scratch(scratchTemplate(backupInfo));
    if (!scratch.open()) {
        m_lastError = failed + QStringLiteral("Im Ordner '%1' kann keine Datei angelegt werden (%2).")
                                   .arg(QDir::toNativeSeparators(backupInfo.absolutePath()),
                                        SystemErrorText::of(scratch));
        return false;
    }
    scratch.close();
    const QString copyError = SqliteFile::copy(databasePath, scratch.fileName());
    if (!copyError.isEmpty()) {
        QFile::remove(SqliteFile::journalPath(scratch.fileName()));
        m_lastError = failed + copyError;
        return false;
    }
    // Whoever may read the database on a shared folder may read its backup. A share that keeps rights of
    // its own refuses this, and the copy is complete all the same.
    QFile::setPermissions(scratch.fileName(), QFileInfo(databasePath).permissions() & kFileModeBits);
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
                         .arg(QDir::toNativeSeparators(backupPath), SystemErrorText::of(error));
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
    const QString compactError = SqliteFile::compact(databasePath);
    if (!compactError.isEmpty()) {
        m_lastError = failed + compactError;
        return false;
    }
    m_lastError.clear();
    return true;
}

bool DatabaseBackup::stepAllowed(Step step) {
    return !m_hook || m_hook(step);
}
