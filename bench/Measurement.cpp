#include "Measurement.h"

#include <algorithm>
#include <fcntl.h>
#include <malloc.h>
#include <QElapsedTimer>
#include <QFile>
#include <unistd.h>

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

namespace {

// A line of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1.
long statusKb(const QByteArray& field) {
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

double Measurement::peakMb(const std::function<bool()>& work) {
    malloc_trim(0);
    const int clear = ::open("/proc/self/clear_refs", O_WRONLY);
    const bool reset = clear >= 0 && ::write(clear, "5", 1) == 1;
    if (clear >= 0)
        ::close(clear);
    if (!reset)
        return -1;
    const long before = statusKb("VmRSS");
    if (!work())
        return -1;
    const long peak = statusKb("VmHWM");
    return before < 0 || peak < 0 ? -1 : double(peak - before) / 1024.0;
}
