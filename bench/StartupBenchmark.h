#pragma once

#include "BenchTable.h"

#include <QString>
#include <QStringList>

// Times the program's start-up until the start menu is shown against a Qt program that shows one empty
// window: both as separate processes, from process start until the line "shown" arrives.
class StartupBenchmark {
public:
    StartupBenchmark(QString programFolder, QString workFolder, int runs)
        : m_binFolder(std::move(programFolder)), m_workFolder(std::move(workFolder)), m_runs(runs) {}

    BenchTable::Row measure();

private:
    // Milliseconds until the child printed "shown", or -1 (error set) when it did not.
    double timeToFirstShow(const QString& program, const QStringList& arguments, QString* error) const;
    // A program folder holding only a fresh ZLV.mdb.
    bool freshProgramFolder(const QString& folder, QString* error) const;

    QString m_binFolder;
    QString m_workFolder;
    int m_runs;
};
