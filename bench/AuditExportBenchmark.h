#pragma once

#include "BenchTable.h"

#include <QString>

// Benchmark P: the auditors' export of the whole large database (nine tables, index.xml and DTD) against
// the same tables' columns written by `sqlite3 -csv` (on the server `psql \copy ... TO ... CSV`).
class AuditExportBenchmark {
public:
    // location: the large file (copied first, since opening it adds the journal) or its server address.
    AuditExportBenchmark(QString location, QString workFolder, int runs);

    BenchTable::Row wholeDatabase();

    static constexpr double kLimit = 2.0;

private:
    QString m_location;
    QString m_workFolder;
    int m_runs;
};
