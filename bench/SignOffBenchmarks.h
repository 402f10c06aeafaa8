#pragma once

#include "BenchTable.h"

#include <QList>
#include <QString>

// The sign-off on the large database (200,000 bookings, their states arrived as ordered, 2,000 of them
// set back to waiting): the list "Anordnungen" of what waits for the login's next step against a plain
// query of the waiting rows, and 500 bookings ordered in one step against a plain UPDATE of their states.
class SignOffBenchmarks {
public:
    SignOffBenchmarks(QString largeFile, QString workFolder, int runs)
        : m_largeFile(std::move(largeFile)), m_workFolder(std::move(workFolder)), m_runs(runs) {}

    // A: both lines.
    QList<BenchTable::Row> measure();

private:
    // The copy of the large database the benchmarks write into, with its waiting bookings; the time the
    // states took to arrive goes into arrivalMs.
    QString prepared(QString* error, double* arrivalMs);
    BenchTable::Row waiting(const QString& location);
    BenchTable::Row ordering(const QString& location);

    QString m_largeFile;
    QString m_workFolder;
    int m_runs;
};
