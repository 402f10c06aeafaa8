#include "BackupCommand.h"

#include "DatabaseBackup.h"
#include "DatabaseLocation.h"
#include "Dialogs.h"
#include "ServerDump.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>

namespace {
const QString kBackupTitle = QStringLiteral("Datensicherung");
}

BackupCommand::BackupCommand(const QString& programFolder, Dialogs& dialogs)
    : m_programFolder(programFolder), m_dialogs(dialogs) {}

BackupCommand::Result BackupCommand::run(QWidget* parent, const QString& location, const QDate& day) {
    const std::variant<DataBackup::FileCopy, DataBackup::Dump> backup = DataBackup::at(location);
    if (const auto* dump = std::get_if<DataBackup::Dump>(&backup))
        return runDump(parent, *dump, day);
    return run(parent, day);
}

BackupCommand::Result BackupCommand::runDump(QWidget* parent, const DataBackup::Dump& server,
                                             const QDate& day) {
    m_backupName = server.fileName(day);
    const QString path = m_dialogs.chooseFileToSave(parent, QStringLiteral("Sicherung der Datenbank"),
                                                    m_backupName, QStringLiteral("Sicherungen (*.dump)"));
    if (path.isEmpty())
        return Result::Declined;
    ServerDump dump(server.location, path);
    if (!dump.start())
        return fail(parent, dump.reason());
    // The window keeps answering while pg_dump runs; a dump that hangs is cancelled here.
    QProgressDialog progress(parent);
    progress.setObjectName(QStringLiteral("frmSicherung"));
    progress.setWindowTitle(kBackupTitle);
    progress.setLabelText(QStringLiteral("Die Datenbank %1 wird gesichert …").arg(server.place));
    progress.setCancelButtonText(QStringLiteral("Abbrechen"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setRange(0, 0);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    QObject::connect(&progress, &QProgressDialog::canceled, &dump, &ServerDump::cancel);
    QEventLoop waiting;
    QObject::connect(&dump, &ServerDump::finished, &waiting, &QEventLoop::quit);
    progress.show();
    if (dump.outcome() == ServerDump::Outcome::Running)
        waiting.exec();
    progress.hide();
    if (dump.outcome() == ServerDump::Outcome::Cancelled) {
        m_dialogs.inform(parent, kBackupTitle,
                         QStringLiteral("Die Sicherung wurde abgebrochen; es wurde keine Datei geschrieben."),
                         Dialogs::Icon::Information);
        return Result::Declined;
    }
    if (dump.outcome() != ServerDump::Outcome::Done)
        return fail(parent, dump.reason());
    m_dialogs.inform(parent, kBackupTitle,
                     QStringLiteral("Die Datenbank %1 wurde in die Datei\n%2\ngesichert.")
                         .arg(server.place, QDir::toNativeSeparators(path)),
                     Dialogs::Icon::Information);
    return Result::Done;
}

BackupCommand::Result BackupCommand::run(QWidget* parent, const QDate& day) {
    DatabaseBackup backup;
    return run(parent, backup, day);
}

BackupCommand::Result BackupCommand::run(QWidget* parent, DatabaseBackup& backup, const QDate& day) {
    m_backupName.clear();
    const QString folder = DatabaseLocation::configuredFolder(m_programFolder, false);
    const QString shownFolder = QDir::toNativeSeparators(folder);
    const QString databasePath = DatabaseLocation::findDatabaseFile(folder);
    if (databasePath.isEmpty()) {
        return fail(parent, QStringLiteral("Die Datenbank 'ZLV.mdb' wurde im Datenbankordner \n'%1'\n"
                                           "nicht gefunden. Es wurde keine Sicherung angelegt.")
                                .arg(shownFolder));
    }

    m_backupName = DatabaseBackup::backupFileName(day, QFileInfo(databasePath).fileName());
    const QString backupPath = QDir(folder).filePath(m_backupName);
    const DatabaseBackup::Condition condition = backup.check(databasePath);
    if (condition == DatabaseBackup::Condition::Unchecked)
        return fail(parent, backup.lastError());
    const bool damaged = condition == DatabaseBackup::Condition::Damaged;
    if (damaged) {
        const auto answer =
            m_dialogs.ask(parent, kBackupTitle,
                          backup.lastError() +
                              QStringLiteral("\n\nEine Sicherungskopie enthält denselben Schaden. Soll die "
                                             "beschädigte Datenbank trotzdem gesichert werden?"),
                          Dialogs::Icon::Warning, Dialogs::Answer::No);
        if (answer == Dialogs::Answer::No)
            return Result::Declined;
    }
    if (QFileInfo::exists(backupPath)) {
        const auto answer =
            m_dialogs.ask(parent, QStringLiteral("Sicherung der Datenbank "),
                          QStringLiteral("Eine Sicherungsdatei  '") + m_backupName +
                              QStringLiteral("'  ist bereits vorhanden.") + QLatin1Char('\n') +
                              QStringLiteral("Sicherungsdatei überschreiben?"),
                          Dialogs::Icon::Warning, Dialogs::Answer::No);
        if (answer == Dialogs::Answer::No)
            return Result::Declined;
    }

    if (!backup.copy(databasePath, backupPath))
        return fail(parent, backup.lastError());

    const QString saved = QStringLiteral("Die Datenbank 'ZLV.mdb' wurde unter dem Dateinamen") +
                          QLatin1Char('\n') + QLatin1Char('\'') + m_backupName + QLatin1Char('\'') +
                          QLatin1Char('\n') + QStringLiteral("im Datenbankordner ") + QLatin1Char('\n') +
                          QLatin1Char('\'') + shownFolder + QLatin1Char('\'') + QLatin1Char('\n') +
                          QStringLiteral("gespeichert.          ");
    // A damaged file is left as it is for whoever repairs it: no compaction.
    if (damaged) {
        m_dialogs.inform(parent, kBackupTitle,
                         QStringLiteral("Achtung: Die Datenbank ist beschädigt, die Sicherungskopie enthält "
                                        "denselben Schaden.\n\n") +
                             saved + QStringLiteral("\n\nDie Datenbank wurde nicht komprimiert."),
                         Dialogs::Icon::Warning);
        return Result::Done;
    }
    m_dialogs.inform(parent, kBackupTitle, saved, Dialogs::Icon::Information);

    if (!backup.compact(databasePath))
        return fail(parent, backup.lastError());
    return Result::Done;
}

BackupCommand::Result BackupCommand::fail(QWidget* parent, const QString& text) {
    const QString shown = text.isEmpty() ? QStringLiteral("Die Datensicherung ist fehlgeschlagen.") : text;
    m_dialogs.inform(parent, kBackupTitle, shown, Dialogs::Icon::Critical);
    return Result::Failed;
}
