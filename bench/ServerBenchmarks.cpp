#include "ServerBenchmarks.h"

#include "Database.h"
#include "Measurement.h"
#include "Schema.h"
#include "ServerTransfer.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrlQuery>

namespace {

const QString kSchema = QStringLiteral("zlv_bench_transfer");

QString location() {
    QUrlQuery query;
    for (const auto& [parameter, variable] :
         {std::pair{"host", "PGHOST"}, {"port", "PGPORT"}, {"user", "PGUSER"}}) {
        if (qEnvironmentVariableIsSet(variable))
            query.addQueryItem(QLatin1String(parameter), qEnvironmentVariable(variable));
    }
    query.addQueryItem(QStringLiteral("options"), QStringLiteral("-csearch_path=") + kSchema);
    return QStringLiteral("postgresql:///") +
           qEnvironmentVariable("PGDATABASE", qEnvironmentVariable("USER")) + u'?' +
           query.toString(QUrl::FullyEncoded);
}

// Drops and creates the benchmark's schema, set up with the program's tables when setUp is true.
bool freshSchema(QSqlDatabase& admin, bool setUp) {
    QSqlQuery query(admin);
    if (!query.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(kSchema)) ||
        !query.exec(QStringLiteral("CREATE SCHEMA %1").arg(kSchema)))
        return false;
    if (!setUp)
        return true;
    if (!Database::create(location()))
        return false;
    return query.exec(
        QStringLiteral("DELETE FROM %1.tblGewerk; DELETE FROM %1.tblKostengruppe").arg(kSchema));
}

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

BenchTable::Row ServerBenchmarks::transfer() {
    BenchTable::Row row;
    row.name = QStringLiteral("s. transfer onto a server (200,000 + 40,000)");
    row.limit = 3.0;
    QSqlDatabase admin =
        QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("zlv-bench-admin"));
    if (!admin.open()) {
        row.error = QStringLiteral("no server: ") + admin.lastError().text();
        return row;
    }
    // The baseline's rows: each table exported by sqlite3 as CSV, the estimate rows with their row number.
    QStringList tables;
    for (const QString& table : Schema::tableNames()) {
        const QString csv = QDir(m_workFolder).filePath(table + QStringLiteral(".csv"));
        const QString select = table == QLatin1String("tblNachtrag")
                                   ? QStringLiteral("SELECT rowid, * FROM %1")
                                   : QStringLiteral("SELECT * FROM %1");
        if (!run(QStringLiteral("sqlite3"),
                 {QStringLiteral("-csv"), QStringLiteral("-cmd"), QStringLiteral(".output ") + csv,
                  m_largeFile, select.arg(table)})) {
            row.error = QStringLiteral("sqlite3 cannot export ") + table;
            return row;
        }
        tables += table;
    }
    ServerTransfer::Report report;
    QString failure;
    Measurement::Side ours{[&] { return freshSchema(admin, false); },
                           [&] {
                               return Measurement::timed([&] {
                                   return ServerTransfer::run(m_largeFile, location(), report, &failure) &&
                                          report.agrees();
                               });
                           }};
    Measurement::Side baseline{
        [&] { return freshSchema(admin, true); },
        [&] {
            return Measurement::timed([&] {
                QStringList commands;
                for (const QString& table : std::as_const(tables))
                    commands += QStringLiteral("\\copy %1.%2 FROM '%3' CSV")
                                    .arg(kSchema, table, QDir(m_workFolder).filePath(table + ".csv"));
                QStringList arguments = {QStringLiteral("-q"), QStringLiteral("-v"),
                                         QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-1")};
                for (const QString& command : std::as_const(commands))
                    arguments << QStringLiteral("-c") << command;
                return run(QStringLiteral("psql"), arguments);
            });
        }};
    const Measurement::Outcome outcome = Measurement::compare(m_runs, ours, baseline);
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error.isEmpty() ? failure : outcome.error;
    if (!report.tables.isEmpty())
        row.note =
            QStringLiteral("both sides the same rows; transfer's own check: %1; %2 rows of bookings")
                .arg(report.agrees() ? QStringLiteral("file and server agree") : QStringLiteral("DIFFERENT"))
                .arg(report.tables.value(4).server.rows);
    QSqlQuery(admin).exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(kSchema));
    return row;
}
