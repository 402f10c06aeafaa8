#pragma once

#include "BenchTable.h"

#include <QString>

// The import of an older installation's large Access file into a new database file.
class ImportBenchmark {
public:
    ImportBenchmark(QString accessFile, QString workFolder, int runs)
        : m_accessFile(std::move(accessFile)), m_workFolder(std::move(workFolder)), m_runs(runs) {}

    // AccessImport::run into a new file, against a plain loop that reads the same rows through libmdb
    // and inserts them with prepared statements in one transaction into the same set-up tables.
    BenchTable::Row accessImport();

private:
    QString m_accessFile;
    QString m_workFolder;
    int m_runs;
};
