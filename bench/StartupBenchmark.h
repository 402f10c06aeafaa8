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

    // Against the empty window; with baselineShowsText, against a window that shows one line of text,
    // so that both sides pay for setting up the fonts before they are shown.
    BenchTable::Row measure(bool baselineShowsText = false);

private:
    // Milliseconds until the child printed "shown", or -1 (error set) when it did not.
    double timeToFirstShow(const QString& program, const QStringList& arguments, QString* error) const;
    // A program folder holding only a fresh ZLV.mdb.
    bool freshProgramFolder(const QString& folder, QString* error) const;

    QString m_binFolder;
    QString m_workFolder;
    int m_runs;
};
