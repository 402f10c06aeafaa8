#pragma once

#include "BenchTable.h"

#include <QString>

// The change journal's list of one project among 1,000,000 entries, on the shown screen, against a plain
// query of the same entries that builds the same texts.
class JournalListBenchmark {
public:
    JournalListBenchmark(QString largeFile, QString workFolder, int runs)
        : m_largeFile(std::move(largeFile)), m_workFolder(std::move(workFolder)), m_runs(runs) {}

    // L.
    BenchTable::Row listFill();

    static constexpr int kEntries = 1'000'000;

private:
    QString m_largeFile;
    QString m_workFolder;
    int m_runs;
};
