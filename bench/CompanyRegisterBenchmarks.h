#pragma once

#include "BenchTable.h"

#include <QString>

// Benchmarks of the company register screen on the large database: filling the list of all companies
// and one search keystroke, each against a plain SQLite query that builds the same texts and sorts them
// by name in German order, as the register does once it is active.
class CompanyRegisterBenchmarks {
public:
    CompanyRegisterBenchmarks(QString largeFile, int runs)
        : m_largeFile(std::move(largeFile)), m_runs(runs) {}

    BenchTable::Row listFill();
    BenchTable::Row searchKeystroke();

    static constexpr const char* kSearchText = "er";

private:
    QString m_largeFile;
    int m_runs;
};
