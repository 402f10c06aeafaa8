#include "StartupBenchmark.h"

#include "Database.h"
#include "DatabaseIniFile.h"
#include "FirstFrameReporter.h"
#include "Measurement.h"
#include "StartupRuns.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <unistd.h>

namespace {

constexpr int kTimeoutMs = 30000;

} // namespace

bool StartupBenchmark::freshProgramFolder(const QString& folder, QString* error) const {
    QDir dir(folder);
    if (dir.exists() && !dir.removeRecursively()) {
        *error = QStringLiteral("cannot empty ") + folder;
        return false;
    }
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create ") + folder;
        return false;
    }
    if (m_server.isEmpty())
        return Database::create(dir.filePath(QStringLiteral("ZLV.mdb")), error);
    QFile ini(dir.filePath(QStringLiteral("PfadZurDatenbank.ini")));
    const QByteArray content = DatabaseIniFile::content(m_server);
    if (!ini.open(QIODevice::WriteOnly) || ini.write(content) != content.size()) {
        *error = QStringLiteral("cannot write ") + ini.fileName();
        return false;
    }
    return true;
}

double StartupBenchmark::timeToReady(const QString& program, const QStringList& arguments,
                                     QString* error) const {
    // The children write their settings and single-instance lock into the work folder, never into
    // the user's own.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QDir(m_workFolder).filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("TMPDIR"), QDir(m_workFolder).filePath(QStringLiteral("tmp")));
    QDir(m_workFolder).mkpath(QStringLiteral("config"));
    QDir(m_workFolder).mkpath(QStringLiteral("tmp"));

    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    while (!process.canReadLine() && process.waitForReadyRead(kTimeoutMs)) {
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const QByteArray line = process.readLine().trimmed();
    const bool finished = process.waitForFinished(kTimeoutMs);
    if (!finished)
        process.kill();
    if (line != FirstFrameReporter::kReadyLine || !finished || process.exitCode() != 0) {
        *error = QDir(program).dirName() + QStringLiteral(": ") +
                 QString::fromLocal8Bit(process.readAllStandardError()).trimmed() +
                 (finished ? QString() : QStringLiteral(" (no end within 30 s)"));
        return -1;
    }
    return ms;
}

BenchTable::Row StartupBenchmark::measure() {
    BenchTable::Row row;
    row.name = QStringLiteral("f. start-up to first frame");
    row.limit = kLimit;
    const QString probe = QDir(m_binFolder).filePath(QStringLiteral("zlv_startup_probe"));
    const QString baseline = QDir(m_binFolder)
                                 .filePath(m_server.isEmpty() ? QStringLiteral("zlv_minimal_window")
                                                              : QStringLiteral("zlv_catalogue_window"));
    const QStringList baselineArguments = m_server.isEmpty() ? QStringList() : QStringList{m_server};
    // A fresh program folder for each start, all written before the first: the writing of a database file
    // goes on in the system after it returns, and would slow whichever program started next.
    const auto programFolder = [this](int start) {
        return QDir(m_workFolder).filePath(QStringLiteral("program-%1").arg(start + 1));
    };
    const int starts = (m_runs + 1) * kStartsPerRun;
    QString error;
    for (int start = 0; start < starts; ++start) {
        if (!freshProgramFolder(programFolder(start), &error)) {
            row.error = QStringLiteral("start %1 failed (%2)").arg(start + 1).arg(error);
            return row;
        }
    }
    ::sync();
    const auto ours = [&](int start) { return timeToReady(probe, {programFolder(start)}, &error); };
    const auto plain = [&] { return timeToReady(baseline, baselineArguments, &error); };
    StartupRuns measured(kStartsPerRun);
    // One untimed warm-up run, then the runs. Ours starts first at every other start and the baseline at
    // the others, so that neither always starts right after the other program.
    for (int start = 0; start < starts; ++start) {
        const bool oursFirst = start % 2 == 0;
        double oursMs = oursFirst ? ours(start) : -1.0;
        const double baselineMs = error.isEmpty() ? plain() : -1.0;
        const double againMs = error.isEmpty() ? plain() : -1.0;
        if (!oursFirst && error.isEmpty())
            oursMs = ours(start);
        if (oursMs < 0 || baselineMs <= 0 || againMs <= 0) {
            row.error = QStringLiteral("start %1 failed (%2)").arg(start + 1).arg(error);
            return row;
        }
        if (start >= kStartsPerRun)
            measured.add({oursMs, baselineMs, againMs});
    }
    const QList<StartupRuns::Times> runs = measured.runs();
    const QList<double> ratios = StartupRuns::ratios(runs);
    // The baseline against a second start of itself, right after: how far two starts of the same program
    // differ on this machine at this time, the part of every ratio that is not the program's.
    const QList<double> noiseRatios = StartupRuns::noiseRatios(runs);
    // Every start of ours against the baseline's start beside it: the spread of single starts.
    const QList<double> startRatios = StartupRuns::ratios(measured.starts());
    const QList<double> startNoiseRatios = StartupRuns::noiseRatios(measured.starts());
    QList<double> oursTimes;
    QList<double> baselineTimes;
    for (const StartupRuns::Times& run : runs) {
        oursTimes.append(run.oursMs);
        baselineTimes.append(run.baselineMs);
    }
    const auto spread = [](const QList<double>& values) {
        return QStringLiteral("median %1x, min %2x, max %3x")
            .arg(Measurement::median(values), 0, 'f', 2)
            .arg(*std::min_element(values.cbegin(), values.cend()), 0, 'f', 2)
            .arg(*std::max_element(values.cbegin(), values.cend()), 0, 'f', 2);
    };
    const auto above = [](const QList<double>& values) {
        return std::count_if(values.cbegin(), values.cend(), [](double ratio) { return ratio > kLimit; });
    };
    const qsizetype worst = std::max_element(ratios.cbegin(), ratios.cend()) - ratios.cbegin();
    row.oursMs = oursTimes.at(worst);
    row.baselineMs = baselineTimes.at(worst);
    row.note =
        QStringLiteral(
            "%1 runs of %2 starts of each program, alternated, a run's time the fastest of its starts; the "
            "line shows the run of the highest ratio; medians %3 ms against %4 ms, ratio %5; the "
            "baseline's second start right after its first, in the same runs: %6; single starts, each of "
            "ours against the baseline's beside it: %7, %8 of %9 above the limit; the baseline's second "
            "start against its first: %10, %11 above the limit; separate processes, offscreen, until the "
            "first paint of the window is flushed; ours also until %12 is confirmed (the settings follow "
            "the first frame); baseline: %13")
            .arg(m_runs)
            .arg(kStartsPerRun)
            .arg(Measurement::median(oursTimes), 0, 'f', 2)
            .arg(Measurement::median(baselineTimes), 0, 'f', 2)
            .arg(spread(ratios), spread(noiseRatios), spread(startRatios))
            .arg(above(startRatios))
            .arg(startRatios.size())
            .arg(spread(startNoiseRatios))
            .arg(above(startNoiseRatios))
            .arg(m_server.isEmpty() ? QStringLiteral("the fresh ZLV.mdb in a temp program folder")
                                    : QStringLiteral("the server named in the program folder's ini (the "
                                                     "large database: connected, tables and fields checked)"),
                 m_server.isEmpty()
                     ? QStringLiteral("one window with one label")
                     : QStringLiteral("a plain libpq connection reads the six tables' columns from the "
                                      "catalogue in one query, then one window with one label"));
    return row;
}
