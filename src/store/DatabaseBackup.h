#pragma once

#include <functional>
#include <QDate>
#include <QString>

// The dated backup copy of the database file and the compaction that follows it.
class DatabaseBackup {
public:
    enum class Step { Copy, ReplaceBackup, Compact };
    enum class Condition { Intact, Damaged, Unchecked };

    // "05.12.2026_Zlv.MDB": the day, "_", and the database file's name as the file system spells it.
    static QString backupFileName(const QDate& day, const QString& databaseFileName);

    // The engine's quick check of the database before it is copied, after rolling back a journal that a
    // crash left beside it. For a damaged database and one that could not be checked, lastError() says
    // so in German.
    Condition check(const QString& databasePath);
    // Writes a complete, consistent copy of the database at databasePath to backupPath, replacing a file
    // there only once the new copy is complete. Works while other connections hold the file open. The
    // copy gets the database file's permissions. Scratch files that interrupted backups of the database
    // left in the backup's folder are removed first.
    bool copy(const QString& databasePath, const QString& backupPath);
    // Compacts the file in place. A complete database lies at databasePath at every moment, also when
    // the compaction fails.
    bool compact(const QString& databasePath);

    // The German text of the last failure or damage found, naming what failed.
    QString lastError() const { return m_lastError; }

    // For tests: called before each step; returning false makes that step fail.
    void setStepHook(std::function<bool(Step)> hook) { m_hook = std::move(hook); }

private:
    bool stepAllowed(Step step);
    QString m_lastError;
    std::function<bool(Step)> m_hook;
};
