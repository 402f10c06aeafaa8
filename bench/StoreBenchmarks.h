#pragma once

#include "BenchTable.h"
#include "LargeOfficeGenerator.h"

#include <QString>

// Benchmarks of the store on the large database: one project's bookings, the backup with compaction
// and the rename of a company with many bookings, each against plain SQLite.
class StoreBenchmarks {
public:
    StoreBenchmarks(QString largeFile, LargeOfficeGenerator::Facts facts, QString workFolder, int runs)
        : m_largeFile(std::move(largeFile)), m_facts(std::move(facts)), m_workFolder(std::move(workFolder)),
          m_runs(runs) {}

    BenchTable::Row projectBookings();
    BenchTable::Row backupWithCompaction();
    BenchTable::Row companyRename();

    // On the server: a second copy of the large database, the rename baseline's own.
    void setServerCopy(QString location) { m_serverCopy = std::move(location); }

private:
    QString workFile(const QString& name) const;
    // A fresh copy of the large file at target, replacing what is there.
    bool freshCopy(const QString& target) const;
    // b on the server: the program's dump against pg_dump's own.
    BenchTable::Row serverBackup();

    QString m_largeFile;
    LargeOfficeGenerator::Facts m_facts;
    QString m_workFolder;
    int m_runs;
    QString m_serverCopy;
};
