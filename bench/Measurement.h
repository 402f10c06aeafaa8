#pragma once

#include <functional>
#include <QList>
#include <QString>

// Runs the program's operation and its plain baseline alternately, several times, and keeps the
// median of each, so that both are measured under the same conditions in the same run.
class Measurement {
public:
    // One side of a comparison: prepare runs untimed before each run; run does the work and returns
    // its time in milliseconds, or a negative number when the work failed.
    struct Side {
        std::function<bool()> prepare;
        std::function<double()> run;
    };
    struct Outcome {
        double oursMs = 0;
        double baselineMs = 0;
        QString error; // empty when every run succeeded
    };

    // A step of about a millisecond (one booking) varies by a third from one run to the next: its median
    // is taken over at least so many runs.
    static constexpr int kLeastQuickRuns = 25;

    // One untimed warm-up of each side, then runs timed runs of each, alternating.
    static Outcome compare(int runs, const Side& ours, const Side& baseline);
    // One side alone, for a figure without a baseline: one untimed warm-up, then runs timed runs; the
    // median lands in oursMs.
    static Outcome alone(int runs, const Side& side);
    // The time of work in milliseconds, or -1 when it returned false.
    static double timed(const std::function<bool()>& work);
    static double median(QList<double> values);
    // How far the resident memory rose above its level before work, at its peak, in MB; -1 when the
    // system cannot tell. Freed heap is handed back to the system first and the kernel's peak is reset
    // (Linux: "5" into clear_refs), so that memory kept from earlier runs does not hide the rise.
    static double peakMb(const std::function<bool()>& work);
};
