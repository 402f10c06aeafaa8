#pragma once

#include "BenchTable.h"
#include "LargeOfficeGenerator.h"

#include <QString>

// Benchmark r: the export of the big project's booking list (20,000 bookings) from the shown workspace,
// against a plain loop that writes the same lines with QFile.
class ExportBenchmark {
public:
    ExportBenchmark(QString largeFile, LargeOfficeGenerator::Facts facts, QString workFolder, int runs);

    BenchTable::Row bookingListExport();

    static constexpr double kLimit = 2.0;

private:
    QString m_largeFile;
    LargeOfficeGenerator::Facts m_facts;
    QString m_workFolder;
    int m_runs;
};
