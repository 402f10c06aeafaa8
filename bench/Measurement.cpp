#include "Measurement.h"

#include <algorithm>
#include <QElapsedTimer>

double Measurement::timed(const std::function<bool()>& work) {
    QElapsedTimer timer;
    timer.start();
    const bool ok = work();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return ok ? ms : -1.0;
}

double Measurement::median(QList<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 == 1 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2.0;
}

Measurement::Outcome Measurement::compare(int runs, const Side& ours, const Side& baseline) {
    Outcome outcome;
    QList<double> oursTimes;
    QList<double> baselineTimes;
    auto once = [&outcome](const Side& side, const char* which, QList<double>* times) {
        if (side.prepare && !side.prepare()) {
            outcome.error = QStringLiteral("preparing %1 failed").arg(QLatin1String(which));
            return false;
        }
        const double ms = side.run();
        if (ms < 0) {
            outcome.error = QStringLiteral("%1 failed").arg(QLatin1String(which));
            return false;
        }
        if (times != nullptr)
            times->append(ms);
        return true;
    };
    if (!once(ours, "ours", nullptr) || !once(baseline, "baseline", nullptr))
        return outcome;
    for (int i = 0; i < runs; ++i) {
        if (!once(ours, "ours", &oursTimes) || !once(baseline, "baseline", &baselineTimes))
            return outcome;
    }
    outcome.oursMs = median(oursTimes);
    outcome.baselineMs = median(baselineTimes);
    return outcome;
}

Measurement::Outcome Measurement::alone(int runs, const Side& side) {
    const Side nothing{nullptr, [] { return 0.0; }};
    Outcome outcome = compare(runs, side, nothing);
    outcome.baselineMs = 0;
    return outcome;
}
