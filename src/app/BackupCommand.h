#pragma once

#include "DataBackup.h"

#include <QDate>
#include <QString>

class DatabaseBackup;
class Dialogs;
class QWidget;

// The start menu's database backup: a dated copy of the database file in its folder, confirmed to the
// user, followed by the compaction of the database file. A database found damaged is copied only when
// the user agrees, is said to be damaged in the notice, and is not compacted.
class BackupCommand {
public:
    enum class Result { Done, Declined, Failed };

    BackupCommand(const QString& programFolder, Dialogs& dialogs);

    // The backup of the data at location, as DataBackup chooses it for the given day.
    Result run(QWidget* parent, const QString& location, const QDate& day = QDate::currentDate());
    // The backup of the database file; backup performs the copy and the compaction.
    Result run(QWidget* parent, DatabaseBackup& backup, const QDate& day = QDate::currentDate());
    Result run(QWidget* parent, const QDate& day = QDate::currentDate());

    // The name of the last backup copy formed, without folder.
    QString backupName() const { return m_backupName; }

private:
    // A dated dump of the whole database into a file the user chooses, when this workstation has pg_dump;
    // otherwise the notice that the server's backup is the administrator's task. While pg_dump runs, a
    // window ("frmSicherung") lets the user cancel it; a file chosen keeps its former content unless the
    // dump is complete.
    Result runDump(QWidget* parent, const DataBackup::Dump& dump, const QDate& day);
    Result fail(QWidget* parent, const QString& text);

    QString m_programFolder;
    Dialogs& m_dialogs;
    QString m_backupName;
};
