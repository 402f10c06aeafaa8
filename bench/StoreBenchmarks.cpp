#include "StoreBenchmarks.h"

#include "BookingRepository.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "Measurement.h"
#include "PlainBaseline.h"
#include "PlainConnection.h"
#include "Registers.h"
#include "SaveCompany.h"
#include "ServerDump.h"
#include "Session.h"

#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

namespace {

bool runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(600000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

BenchTable::Row rowFrom(const QString& name, double limit, const Measurement::Outcome& outcome) {
    BenchTable::Row row;
    row.name = name;
    row.limit = limit;
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    return row;
}

qint64 sumOfAmounts(const QList<Booking>& bookings) {
    qint64 cents = 0;
    for (const Booking& booking : bookings)
        cents += booking.amount ? booking.amount->cents() : 0;
    return cents;
}

} // namespace

QString StoreBenchmarks::workFile(const QString& name) const {
    return QDir(m_workFolder).filePath(name);
}

bool StoreBenchmarks::freshCopy(const QString& target) const {
    QFile::remove(target);
    return QFile::copy(m_largeFile, target);
}

BenchTable::Row StoreBenchmarks::projectBookings() {
    std::unique_ptr<Database> db = Database::open(m_largeFile);
    PlainConnection plain(m_largeFile);
    if (!db || !plain.isOpen())
        return rowFrom(QStringLiteral("a. project bookings (20,000)"), 2.0,
                       {0, 0, QStringLiteral("cannot open")});
    QList<Booking> oursRows;
    QList<Booking> plainRows;
    Measurement::Side ours{nullptr, [&] {
                               return Measurement::timed([&] {
                                   bool ok = false;
                                   oursRows = BookingRepository(*db).forProject(m_facts.bigProjectId, &ok);
                                   return ok;
                               });
                           }};
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::projectBookings(plain, m_facts.bigProjectId,
                                                                             &plainRows);
                                   });
                               }};
    BenchTable::Row row = rowFrom(QStringLiteral("a. project bookings (20,000)"), 2.0,
                                  Measurement::compare(m_runs, ours, baseline));
    row.note = QStringLiteral("project %1, typed rows ours %2 / baseline %3, sum of amounts ours %4 / "
                              "baseline %5 cents")
                   .arg(m_facts.bigProjectId)
                   .arg(oursRows.size())
                   .arg(plainRows.size())
                   .arg(sumOfAmounts(oursRows))
                   .arg(sumOfAmounts(plainRows));
    return row;
}

BenchTable::Row StoreBenchmarks::backupWithCompaction() {
    if (PlainConnection::isServerAddress(m_largeFile))
        return serverBackup();
    const QString name = QStringLiteral("b. backup + compaction");
    QDir(m_workFolder).mkpath(QStringLiteral("ours"));
    QDir(m_workFolder).mkpath(QStringLiteral("plain"));
    const QString oursFile = workFile(QStringLiteral("ours/ZLV.mdb"));
    const QString backupFile =
        workFile(QStringLiteral("ours/") +
                 DatabaseBackup::backupFileName(QDate::currentDate(), QStringLiteral("ZLV.mdb")));
    const QString plainFile = workFile(QStringLiteral("plain/ZLV.mdb"));
    const QString plainCopy = workFile(QStringLiteral("plain/copy.mdb"));
    QString failure;
    Measurement::Side ours{[&] {
                               QFile::remove(backupFile);
                               return freshCopy(oursFile);
                           },
                           [&] {
                               return Measurement::timed([&] {
                                   DatabaseBackup backup;
                                   const bool ok =
                                       backup.copy(oursFile, backupFile) && backup.compact(oursFile);
                                   if (!ok)
                                       failure = backup.lastError();
                                   return ok;
                               });
                           }};
    Measurement::Side baseline{[&] {
                                   QFile::remove(plainCopy);
                                   return freshCopy(plainFile);
                               },
                               [&] {
                                   return Measurement::timed([&] {
                                       return runTool(QStringLiteral("cp"), {plainFile, plainCopy}) &&
                                              runTool(QStringLiteral("sqlite3"),
                                                      {plainCopy, QStringLiteral("VACUUM")});
                                   });
                               }};
    BenchTable::Row row = rowFrom(name, 2.0, Measurement::compare(m_runs, ours, baseline));
    if (!row.error.isEmpty() && !failure.isEmpty())
        row.error += QStringLiteral(" (") + failure + QLatin1Char(')');
    row.note = QStringLiteral("file of %1 MB; baseline: cp + sqlite3 <copy> VACUUM")
                   .arg(static_cast<double>(QFile(m_largeFile).size()) / 1048576.0, 0, 'f', 1);
    return row;
}

namespace {
// "DB sichern" on the server as the program runs it: pg_dump into a scratch file, put in place when done.
bool dumpedThroughTheProgram(const QString& location, const QString& path, QString& failure) {
    ServerDump dump(location, path);
    QEventLoop loop;
    QObject::connect(&dump, &ServerDump::finished, &loop, &QEventLoop::quit);
    if (!dump.start()) {
        failure = dump.reason();
        return false;
    }
    loop.exec();
    failure = dump.reason();
    return dump.outcome() == ServerDump::Outcome::Done;
}
} // namespace

BenchTable::Row StoreBenchmarks::serverBackup() {
    const QString name = QStringLiteral("b. backup (pg_dump)");
    const QString oursFile = workFile(QStringLiteral("ours.dump"));
    const QString plainFile = workFile(QStringLiteral("plain.dump"));
    QString failure;
    Measurement::Side ours{[&] { return !QFile::exists(oursFile) || QFile::remove(oursFile); },
                           [&] {
                               return Measurement::timed(
                                   [&] { return dumpedThroughTheProgram(m_largeFile, oursFile, failure); });
                           }};
    Measurement::Side baseline{
        [&] { return !QFile::exists(plainFile) || QFile::remove(plainFile); },
        [&] {
            return Measurement::timed([&] {
                return runTool(QStringLiteral("pg_dump"),
                               {QStringLiteral("--format=custom"), QStringLiteral("--file=") + plainFile});
            });
        }};
    BenchTable::Row row = rowFrom(name, 2.0, Measurement::compare(m_runs, ours, baseline));
    if (!failure.isEmpty())
        row.error += QStringLiteral(" (") + failure + QLatin1Char(')');
    row.note =
        QStringLiteral("whole database of the libpq environment; dumps of %1 MB (ours) / %2 MB (pg_dump)")
            .arg(double(QFile(oursFile).size()) / 1048576.0, 0, 'f', 1)
            .arg(double(QFile(plainFile).size()) / 1048576.0, 0, 'f', 1);
    return row;
}

BenchTable::Row StoreBenchmarks::companyRename() {
    const QString name = QStringLiteral("e. company rename (20,000 + 4,000)");
    // On the server both sides rename in a copy of their own, set up beforehand.
    const bool server = PlainConnection::isServerAddress(m_largeFile);
    const QString oursFile = server ? m_largeFile : workFile(QStringLiteral("rename-ours.mdb"));
    const QString plainFile = server ? m_serverCopy : workFile(QStringLiteral("rename-plain.mdb"));
    if (!server && (!freshCopy(oursFile) || !freshCopy(plainFile)))
        return rowFrom(name, 3.0, {0, 0, QStringLiteral("cannot copy the large file")});
    const std::unique_ptr<Session> session = Session::open(oursFile);
    PlainConnection plain(plainFile);
    if (!session || !plain.isOpen())
        return rowFrom(name, 3.0, {0, 0, QStringLiteral("cannot open")});
    std::optional<Company> company = Registers(*session).company(m_facts.renameCompanyId).value;
    if (!company)
        return rowFrom(name, 3.0,
                       {0, 0, QStringLiteral("company %1 not found").arg(m_facts.renameCompanyId)});

    const QString nameA = m_facts.renameCompanyName;
    const QString nameB = nameA + QStringLiteral(" (neu)");
    QString oursName = nameA;
    QString plainName = nameA;
    QString failure;
    qint64 plainChanged = 0;
    Measurement::Side ours{nullptr, [&] {
                               Company changed = *company;
                               changed.name = oursName == nameA ? nameB : nameA;
                               Outcome outcome = Outcome::done();
                               const double ms = Measurement::timed([&] {
                                   outcome = SaveCompany(*session).change(changed, oursName, AsLoaded());
                                   return outcome.ok();
                               });
                               if (ms < 0)
                                   failure = outcome.text();
                               else
                                   oursName = changed.name;
                               return ms;
                           }};
    Measurement::Side baseline{
        nullptr, [&] {
            const QString newName = plainName == nameA ? nameB : nameA;
            const QString id = QString::number(m_facts.renameCompanyId);
            const double ms = Measurement::timed([&] {
                if (plain.exec("BEGIN") < 0)
                    return false;
                const qint64 master = plain.exec("UPDATE tblFirma SET Name=? WHERE ID=?", {newName, id});
                const qint64 bookings =
                    plain.exec("UPDATE tblBuchung SET Firma=?,Gewerk=?,Kostengruppe=? WHERE Firma=?",
                               {newName, company->trade, company->costGroup, plainName});
                const qint64 estimates =
                    plain.exec("UPDATE tblNachtrag SET Firma=?,Gewerk=?,Kostengruppe=? WHERE Firma=?",
                               {newName, company->trade, company->costGroup, plainName});
                if (master < 0 || bookings < 0 || estimates < 0) {
                    plain.exec("ROLLBACK");
                    return false;
                }
                plainChanged = bookings + estimates;
                return plain.exec("COMMIT") >= 0;
            });
            if (ms >= 0)
                plainName = newName;
            return ms;
        }};
    BenchTable::Row row = rowFrom(name, 3.0, Measurement::compare(m_runs, ours, baseline));
    if (!row.error.isEmpty() && !failure.isEmpty())
        row.error += QStringLiteral(" (") + failure + QLatin1Char(')');
    qint64 oursChanged = 0;
    PlainConnection check(oursFile);
    check.query("SELECT (SELECT COUNT(*) FROM tblBuchung WHERE Firma = ?1) + "
                "(SELECT COUNT(*) FROM tblNachtrag WHERE Firma = ?1)",
                {oursName}, [&oursChanged](const PlainRow& record) { oursChanged = record.integer(0); });
    row.note = QStringLiteral("company %1 \"%2\"; rows carrying the new name: ours %3 / baseline %4")
                   .arg(m_facts.renameCompanyId)
                   .arg(nameA)
                   .arg(oursChanged)
                   .arg(plainChanged);
    return row;
}
