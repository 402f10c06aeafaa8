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
    const QString minimal = QDir(m_binFolder).filePath(QStringLiteral("zlv_minimal_window"));
    const QString programFolder = QDir(m_workFolder).filePath(QStringLiteral("program"));
    QString error;
    Measurement::Side ours{[&] { return freshProgramFolder(programFolder, &error); },
                           [&] { return timeToReady(probe, {programFolder}, &error); }};
    Measurement::Side baseline{nullptr, [&] { return timeToReady(minimal, {}, &error); }};
    const Measurement::Outcome outcome = Measurement::compare(m_runs, ours, baseline);
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    if (!row.error.isEmpty() && !error.isEmpty())
        row.error += QStringLiteral(" (") + error + QLatin1Char(')');
    row.note =
        QStringLiteral("separate processes, offscreen, until the first paint of the window is flushed; "
                       "ours also until %1 is confirmed (the settings follow the first frame); baseline: one "
                       "window with one label")
            .arg(m_server.isEmpty()
                     ? QStringLiteral("the fresh ZLV.mdb in a temp program folder")
                     : QStringLiteral("the server named in the program folder's ini (the "
                                      "large database: connected, tables and fields checked)"));
    return row;
}
