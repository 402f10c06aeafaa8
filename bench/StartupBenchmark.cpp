#include "StartupBenchmark.h"

#include "Database.h"
#include "DatabaseIniFile.h"
#include "FirstFrameReporter.h"
#include "Measurement.h"

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
    // A fresh program folder for each run, all written before the first: the writing of a database file
    // goes on in the system after it returns, and would slow whichever program started next.
    const auto programFolder = [this](int run) {
        return QDir(m_workFolder).filePath(QStringLiteral("program-%1").arg(run + 1));
    };
    QString error;
    for (int run = -1; run < m_runs; ++run) {
        if (!freshProgramFolder(programFolder(run), &error)) {
            row.error = QStringLiteral("run %1 failed (%2)").arg(run + 1).arg(error);
            return row;
        }
    }
    ::sync();
    const auto ours = [&](int run) { return timeToReady(probe, {programFolder(run)}, &error); };
    const auto plain = [&] { return timeToReady(baseline, baselineArguments, &error); };
    QList<double> oursTimes;
    QList<double> baselineTimes;
    QList<double> ratios;
    // The baseline against a second run of itself, right after: how far two runs of the same program
    // differ on this machine at this time, the part of every ratio that is not the program's.
    QList<double> noiseRatios;
    // One untimed warm-up of each, then the runs. Ours starts first in every other run and the baseline
    // in the others, so that neither always starts right after the other program.
    for (int run = -1; run < m_runs && error.isEmpty(); ++run) {
        const bool oursFirst = run % 2 == 0;
        double oursMs = oursFirst ? ours(run) : -1.0;
        const double baselineMs = error.isEmpty() ? plain() : -1.0;
        const double againMs = error.isEmpty() ? plain() : -1.0;
        if (!oursFirst && error.isEmpty())
            oursMs = ours(run);
        if (oursMs < 0 || baselineMs <= 0 || againMs <= 0) {
            row.error = QStringLiteral("run %1 failed (%2)").arg(run + 1).arg(error);
            return row;
        }
        if (run < 0)
            continue;
        oursTimes.append(oursMs);
        baselineTimes.append(baselineMs);
        ratios.append(oursMs / baselineMs);
        noiseRatios.append(againMs / baselineMs);
    }
    const qsizetype worst = std::max_element(ratios.cbegin(), ratios.cend()) - ratios.cbegin();
    row.oursMs = oursTimes.at(worst);
    row.baselineMs = baselineTimes.at(worst);
    row.note =
        QStringLiteral(
            "%1 runs, the line shows the run of the highest ratio; medians %2 ms against %3 ms, "
            "ratio median %4x, min %5x, max %6x; the baseline against a second run of itself right "
            "after it: ratio median %7x, min %8x, max %9x; separate processes, offscreen, until the "
            "first paint of the window is flushed; ours also until %10 is confirmed (the settings "
            "follow the first frame); baseline: %11")
            .arg(m_runs)
            .arg(Measurement::median(oursTimes), 0, 'f', 2)
            .arg(Measurement::median(baselineTimes), 0, 'f', 2)
            .arg(Measurement::median(ratios), 0, 'f', 2)
            .arg(*std::min_element(ratios.cbegin(), ratios.cend()), 0, 'f', 2)
            .arg(ratios.at(worst), 0, 'f', 2)
            .arg(Measurement::median(noiseRatios), 0, 'f', 2)
            .arg(*std::min_element(noiseRatios.cbegin(), noiseRatios.cend()), 0, 'f', 2)
            .arg(*std::max_element(noiseRatios.cbegin(), noiseRatios.cend()), 0, 'f', 2)
            .arg(m_server.isEmpty() ? QStringLiteral("the fresh ZLV.mdb in a temp program folder")
                                    : QStringLiteral("the server named in the program folder's ini (the "
                                                     "large database: connected, tables and fields checked)"),
                 m_server.isEmpty()
                     ? QStringLiteral("one window with one label")
                     : QStringLiteral("a plain libpq connection reads the six tables' columns from the "
                                      "catalogue in one query, then one window with one label"));
    return row;
}
