#include "StartupRuns.h"

#include <algorithm>

QList<StartupRuns::Times> StartupRuns::runs() const {
    QList<Times> runs;
    for (qsizetype first = 0; first + m_startsPerRun <= m_starts.size(); first += m_startsPerRun) {
        Times fastest = m_starts.at(first);
        for (qsizetype i = first + 1; i < first + m_startsPerRun; ++i) {
            const Times& start = m_starts.at(i);
            fastest.oursMs = std::min(fastest.oursMs, start.oursMs);
            fastest.baselineMs = std::min(fastest.baselineMs, start.baselineMs);
            fastest.againMs = std::min(fastest.againMs, start.againMs);
        }
        runs.append(fastest);
    }
    return runs;
}

QList<double> StartupRuns::ratios(const QList<Times>& times) {
    QList<double> ratios;
    for (const Times& entry : times)
        ratios.append(entry.oursMs / entry.baselineMs);
    return ratios;
}

QList<double> StartupRuns::noiseRatios(const QList<Times>& times) {
    QList<double> ratios;
    for (const Times& entry : times)
        ratios.append(entry.againMs / entry.baselineMs);
    return ratios;
}
