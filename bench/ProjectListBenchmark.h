#pragma once

#include "BenchTable.h"

#include <QString>

// The project manager's list on the large database (300 projects, 200,000 bookings, 40,000 estimate
// rows) with its budget figures, against one grouped SQL query over projects, budgets, bookings and
// estimate rows that builds the same texts, and against an absolute limit.
class ProjectListBenchmark {
public:
    ProjectListBenchmark(QString largeFile, int runs) : m_largeFile(std::move(largeFile)), m_runs(runs) {}

    // u. A median above kLimitMs fails the line whatever the ratio.
    BenchTable::Row listFill();
    static constexpr double kLimitMs = 100;

private:
    QString m_largeFile;
    int m_runs;
};
