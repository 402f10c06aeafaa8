#pragma once

#include <QList>

// The starts of the start-up benchmark gathered into runs. Each start is one start of ours, one of the
// baseline and the baseline's second start right after it; a run's times are each program's fastest of
// its starts, as whatever else the machine does only ever slows a start.
class StartupRuns {
public:
    struct Times {
        double oursMs = 0;
        double baselineMs = 0;
        double againMs = 0;
    };

    explicit StartupRuns(int startsPerRun) : m_startsPerRun(startsPerRun) {}

    // The starts fill the runs in order.
    void add(const Times& start) { m_starts.append(start); }
    const QList<Times>& starts() const { return m_starts; }
    // The complete runs, each with the fastest time of each program.
    QList<Times> runs() const;

    // Ours against the baseline, and the baseline's second start against its first, of each entry.
    static QList<double> ratios(const QList<Times>& times);
    static QList<double> noiseRatios(const QList<Times>& times);

private:
    int m_startsPerRun;
    QList<Times> m_starts;
};
