#include "ServerBenchmarks.h"

#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "Database.h"
#include "Measurement.h"
#include "Schema.h"
#include "ServerTransfer.h"

#include <algorithm>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrlQuery>

namespace {

const QString kSchema = QStringLiteral("zlv_bench_transfer");

QString location(const QString& schema = kSchema) {
    QUrlQuery query;
    for (const auto& [parameter, variable] :
         {std::pair{"host", "PGHOST"}, {"port", "PGPORT"}, {"user", "PGUSER"}}) {
        if (qEnvironmentVariableIsSet(variable))
            query.addQueryItem(QLatin1String(parameter), qEnvironmentVariable(variable));
    }
    query.addQueryItem(QStringLiteral("options"), QStringLiteral("-csearch_path=") + schema);
    return QStringLiteral("postgresql:///") +
           qEnvironmentVariable("PGDATABASE", qEnvironmentVariable("USER")) + u'?' +
           query.toString(QUrl::FullyEncoded);
}

// Drops and creates the benchmark's schema, set up with the program's tables when setUp is true; plain
// leaves out the triggers that keep each project's sums, as tables made by hand have none.
bool freshSchema(QSqlDatabase& admin, bool setUp, bool plain = false) {
    QSqlQuery query(admin);
    if (!query.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(kSchema)) ||
        !query.exec(QStringLiteral("CREATE SCHEMA %1").arg(kSchema)))
        return false;
    if (!setUp)
        return true;
    if (!Database::create(location()))
        return false;
    if (plain) {
        for (const char* table : {"tblBuchung", "tblNachtrag"}) {
            for (const char* trigger : {"zlv_summe", "zlv_summe_leeren"}) {
                if (!query.exec(QStringLiteral("DROP TRIGGER %1 ON %2.%3")
                                    .arg(QLatin1String(trigger), kSchema, QLatin1String(table))))
                    return false;
            }
        }
    }
    return query.exec(
        QStringLiteral("DELETE FROM %1.tblGewerk; DELETE FROM %1.tblKostengruppe").arg(kSchema));
}

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Runs statements on a connection of their own to the libpq environment's database; the failure's text,
// or empty.
QString onServer(const QStringList& statements) {
    static int connections = 0;
    const QString name = QStringLiteral("zlv-bench-admin-%1").arg(++connections);
    QString error;
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        if (!admin.open())
            error = QStringLiteral("no server: ") + admin.lastError().text();
        QSqlQuery query(admin);
        for (const QString& statement : statements) {
            if (error.isEmpty() && !query.exec(statement))
                error = query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

} // namespace

QString ServerBenchmarks::largeOnServer(const QString& largeFile, const QString& schema, QString* error) {
    *error = onServer({QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(schema),
                       QStringLiteral("CREATE SCHEMA %1").arg(schema)});
    if (!error->isEmpty())
        return QString();
    ServerTransfer::Report report;
    if (!ServerTransfer::run(largeFile, location(schema), report, error) || !report.agrees()) {
        if (error->isEmpty())
            *error = QStringLiteral("file and server differ after the transfer");
        return QString();
    }
    return location(schema);
}

void ServerBenchmarks::dropSchema(const QString& schema) {
    onServer({QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(schema)});
}

QList<BenchTable::Row> ServerBenchmarks::bookingAmongBookers() {
    QList<BenchTable::Row> rows;
    constexpr int kBookings = 60;
    for (const bool server : {false, true}) {
        BenchTable::Row row;
        row.name = server ? QStringLiteral("y. one booking among three bookers, server")
                          : QStringLiteral("y. one booking among three bookers, file");
        row.reportOnly = true;
        QString target = QDir(m_workFolder).filePath(QStringLiteral("bookers.mdb"));
        QFile::remove(target);
        if (server) {
            QSqlDatabase admin =
                QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("zlv-bench-bookers"));
            if (!admin.open() || !freshSchema(admin, true)) {
                row.error = QStringLiteral("no server: ") + admin.lastError().text();
                rows += row;
                continue;
            }
            target = location();
        } else if (!Database::create(target)) {
            row.error = QStringLiteral("cannot create ") + target;
            rows += row;
            continue;
        }
        const std::unique_ptr<Database> db = Database::open(target);
        const auto book = [&](QList<double>& waits) {
            int refused = 0;
            for (int i = 0; i < kBookings; ++i) {
                Booking booking;
                booking.projectId = QStringLiteral("1");
                booking.company = QStringLiteral("Messung");
                booking.amount = Money::fromCents(i);
                QElapsedTimer timer;
                timer.start();
                refused += BookingRepository(*db).book(booking) ? 0 : 1;
                waits += timer.nsecsElapsed() / 1e6;
            }
            return refused;
        };
        QList<double> alone;
        QList<double> among;
        const int refusedAlone = book(alone);
        std::vector<std::unique_ptr<QProcess>> bookers;
        for (int i = 0; i < 3; ++i) {
            bookers.push_back(std::make_unique<QProcess>());
            bookers.back()->start(QStringLiteral(ZLV_BOOK_MANY), {target, QStringLiteral("1000000")});
            bookers.back()->waitForStarted();
        }
        // The others are booking once the project holds more than this workstation's bookings.
        while (db && std::any_of(bookers.cbegin(), bookers.cend(),
                                 [](const auto& p) { return p->state() == QProcess::Running; })) {
            QString count;
            db->read(QStringLiteral("SELECT COUNT(*) FROM tblBuchung"), {},
                     [&](const Database::Row& r) { count = r.text(0); });
            if (count.toInt() > kBookings + 30)
                break;
        }
        const int refusedAmong = book(among);
        for (const auto& booker : bookers) {
            booker->kill();
            booker->waitForFinished();
        }
        row.oursMs = Measurement::median(among);
        row.baselineMs = Measurement::median(alone);
        row.note = QStringLiteral("worst %1 ms among bookers, %2 ms alone; refused %3 among, %4 alone")
                       .arg(*std::max_element(among.cbegin(), among.cend()), 0, 'f', 1)
                       .arg(*std::max_element(alone.cbegin(), alone.cend()), 0, 'f', 1)
                       .arg(refusedAmong)
                       .arg(refusedAlone);
        rows += row;
    }
    return rows;
}

QList<BenchTable::Row> ServerBenchmarks::listsOnServer() {
    const auto failed = [](const QString& why) {
        BenchTable::Row row;
        row.name = QStringLiteral("a/i on the server");
        row.error = why;
        return QList<BenchTable::Row>{row};
    };
    QSqlDatabase admin =
        QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("zlv-bench-lists"));
    if (!admin.open() || !freshSchema(admin, false))
        return failed(QStringLiteral("no server: ") + admin.lastError().text());
    ServerTransfer::Report report;
    QString message;
    if (!ServerTransfer::run(m_largeFile, location(), report, &message))
        return failed(message);
    const std::unique_ptr<Database> db = Database::open(location());
    QSqlQuery plain(admin);
    if (!db || !plain.exec(QStringLiteral("SET search_path TO ") + kSchema))
        return failed(QStringLiteral("cannot open the schema"));
    plain.setForwardOnly(true);
    const auto plainRead = [&](const QString& sql, const QVariantList& values, qsizetype& count) {
        return Measurement::timed([&] {
            if (!plain.prepare(sql))
                return false;
            for (const QVariant& value : values)
                plain.addBindValue(value);
            if (!plain.exec())
                return false;
            QList<QStringList> rows;
            const int columns = plain.record().count();
            while (plain.next()) {
                QStringList row;
                for (int i = 0; i < columns; ++i)
                    row += plain.value(i).toString();
                rows += row;
            }
            count = rows.size();
            return true;
        });
    };
    QList<BenchTable::Row> rows;
    qsizetype ourCount = 0;
    qsizetype plainCount = 0;
    const Measurement::Outcome bookings = Measurement::compare(
        m_runs,
        {nullptr,
         [&] {
             return Measurement::timed([&] {
                 bool ok = false;
                 ourCount = BookingRepository(*db).forProject(QStringLiteral("150"), &ok).size();
                 return ok;
             });
         }},
        {nullptr, [&] {
             return plainRead(
                 QStringLiteral("SELECT ID, PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                                "AnweisungVom, RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, "
                                "Betrag FROM tblBuchung WHERE trim(ProjektID) = ? ORDER BY ID"),
                 {QStringLiteral("150")}, plainCount);
         }});
    BenchTable::Row row{QStringLiteral("a. project bookings (20,000), server"),
                        bookings.oursMs,
                        bookings.baselineMs,
                        2.0,
                        false,
                        bookings.error,
                        QStringLiteral("rows ours %1 / baseline %2").arg(ourCount).arg(plainCount)};
    rows += row;
    const QString pattern = QStringLiteral("*bau*");
    const Measurement::Outcome search = Measurement::compare(
        m_runs,
        {nullptr,
         [&] {
             return Measurement::timed([&] {
                 bool ok = false;
                 ourCount = CompanyRepository(*db).searchByName(QStringLiteral("bau"), &ok).size();
                 return ok;
             });
         }},
        {nullptr, [&] {
             return plainRead(
                 QStringLiteral("SELECT ID, Name, \"Straße\", PLZ, Ort, Telefon1, Telefon2, Mobil, eMail, "
                                "Ansprechpartner, GewerkID, KostengruppeID FROM tblFirma WHERE "
                                "matches(?, Name) OR matches(?, GewerkID) OR matches(?, "
                                "KostengruppeID) OR matches(?, Ort) OR matches(?, PLZ) ORDER BY Name "
                                "COLLATE GERMAN NULLS FIRST, ID"),
                 {pattern, pattern, pattern, pattern, pattern}, plainCount);
         }});
    rows += BenchTable::Row{QStringLiteral("i. company search \"bau\" (5,000), server"),
                            search.oursMs,
                            search.baselineMs,
                            2.0,
                            false,
                            search.error,
                            QStringLiteral("rows ours %1 / baseline %2").arg(ourCount).arg(plainCount)};
    QSqlQuery(admin).exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(kSchema));
    return rows;
}

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
        [&] { return freshSchema(admin, true, true); },
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
