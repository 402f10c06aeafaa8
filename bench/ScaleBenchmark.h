#pragma once

#include "BenchTable.h"
#include "LargeOfficeGenerator.h"

#include <QList>
#include <QString>

// The same benchmarks on the large database and on one with ten times its bookings: each operation's
// time at both sizes and how much it grew, the opening of the big project against its plain read, and
// the memory its booking list keeps against the plain typed rows.
class ScaleBenchmark {
public:
    // One database with its facts; location is what the program opens (the file, or its copy on a
    // server), file the file itself.
    struct Size {
        QString file;
        QString location;
        LargeOfficeGenerator::Facts facts;
    };

    ScaleBenchmark(Size small, Size big, QString workFolder, int runs)
        : m_small(std::move(small)), m_big(std::move(big)), m_workFolder(std::move(workFolder)),
          m_runs(runs) {}

    // The lines of the letters chosen among a, g, k, l and u; all of them when letters is empty.
    QList<BenchTable::Row> measure(const QString& letters);

    static constexpr double kOpeningLimit = 2.0;
    static constexpr double kMemoryLimit = 2.0;

private:
    // Opening the big project until its booking list has been painted, against the plain read of its
    // typed rows; judged at the big size only.
    BenchTable::Row opening(const Size& size, bool judged) const;
    // The resident memory that the opened project keeps, against the plain typed rows kept.
    BenchTable::Row memory(const Size& size) const;
    // How much the program's time grew from the small to the big size, with the baseline's growth.
    BenchTable::Row growth(const QString& name, const BenchTable::Row& small, const BenchTable::Row& big,
                           double limit) const;

    Size m_small;
    Size m_big;
    QString m_workFolder;
    int m_runs;
};
