#include "AuditExportBenchmark.h"

#include "AuditExport.h"
#include "AuditTableReader.h"
#include "Measurement.h"
#include "Schema.h"
#include "Session.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>
#include <QUrlQuery>

namespace {
// The columns the export reads from table, as plain SQL.
QString plainSelect(const QString& table) {
    QStringList fields;
    for (const AuditTableReader::Column& column : AuditTableReader::columns(table))
        fields += column.name == QLatin1String("Groesse") ? QStringLiteral("length(Inhalt)")
                                                          : Schema::column(column.name);
    return QStringLiteral("SELECT %1 FROM %2").arg(fields.join(QStringLiteral(", ")), table);
}

bool runTool(const QString& program, const QStringList& arguments, const QString& output = QString(),
             const QString& searchPath = QString()) {
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    if (!searchPath.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PGOPTIONS"), QStringLiteral("-csearch_path=") + searchPath);
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

qint64 lines(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : -1;
}
} // namespace

AuditExportBenchmark::AuditExportBenchmark(QString location, QString workFolder, int runs)
    : m_location(std::move(location)), m_workFolder(std::move(workFolder)), m_runs(runs) {}

BenchTable::Row AuditExportBenchmark::wholeDatabase() {
    BenchTable::Row row;
    row.name = QStringLiteral("P. export for the auditors (whole database)");
    row.limit = kLimit;
    const QDir work(m_workFolder);
    const bool onServer = m_location.startsWith(QLatin1String("postgresql:"));
    QString location = m_location;
    if (!onServer) {
        location = work.filePath(QStringLiteral("P-large.mdb"));
        QFile::remove(location);
        if (!QFile::copy(m_location, location)) {
            row.error = QStringLiteral("cannot copy the large file");
            return row;
        }
    }
    const std::unique_ptr<Session> session = Session::open(location);
    if (!session) {
        row.error = QStringLiteral("the program cannot open the data");
        return row;
    }
    AuditExport::Request request;
    request.folder = work.filePath(QStringLiteral("P-export"));
    QString failure;
    AuditExport exporter(*session);
    Measurement::Side ours{
        nullptr, [&] { return Measurement::timed([&] { return exporter.run(request, &failure); }); }};
    const QString plainFolder = work.filePath(QStringLiteral("P-plain"));
    QDir().mkpath(plainFolder);
    const QString schema =
        onServer ? QUrlQuery(QUrl(m_location)).queryItemValue(QStringLiteral("options")).section(u'=', 1)
                 : QString();
    Measurement::Side baseline{
        nullptr, [&] {
            return Measurement::timed([&] {
                QStringList commands;
                for (const QString& table : AuditTableReader::tables()) {
                    const QString file = QDir(plainFolder).filePath(table + ".csv");
                    if (!onServer && !runTool(QStringLiteral("sqlite3"),
                                              {QStringLiteral("-csv"), location, plainSelect(table)}, file))
                        return false;
                    commands << QStringLiteral("-c")
                             << QStringLiteral("\\copy (%1) TO '%2' CSV").arg(plainSelect(table), file);
                }
                return !onServer || runTool(QStringLiteral("psql"),
                                            QStringList{QStringLiteral("-q"), QStringLiteral("-v"),
                                                        QStringLiteral("ON_ERROR_STOP=1")}
                                                << commands,
                                            QString(), schema);
            });
        }};
    const Measurement::Outcome outcome = Measurement::compare(m_runs, ours, baseline);
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error.isEmpty() ? failure : outcome.error;
    QStringList counts;
    for (const auto& [table, rows] : exporter.counts()) {
        const qint64 plain = lines(QDir(plainFolder).filePath(table + ".csv"));
        counts += QStringLiteral("%1 %2%3").arg(table).arg(rows).arg(
            plain == rows ? QString() : QStringLiteral(" (plain %1)").arg(plain));
    }
    row.note = QStringLiteral("rows: ") + counts.join(QStringLiteral(", "));
    return row;
}
