#include "JournalBenchmarks.h"

#include "BookingOperation.h"
#include "Database.h"
#include "DataLocation.h"
#include "Journal.h"
#include "Measurement.h"
#include "ProcessorSeparation.h"
#include "Registers.h"
#include "SaveCompany.h"
#include "Session.h"

#include <memory>

namespace {

BenchTable::Row rowFrom(const QString& name, const Measurement::Outcome& outcome, const QString& note) {
    BenchTable::Row row;
    row.name = name;
    row.limit = 1.3;
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    row.note = note;
    return row;
}

qint64 journalEntries(Session& session) {
    qint64 count = -1;
    session.database().read(QStringLiteral("SELECT COUNT(*) FROM tblProtokoll"), {},
                            [&](const Database::Row& row) { count = row.rowNumber(0); });
    return count;
}

// The server process serving the session's connection, where the server is one.
QList<qint64> serverProcess(Session& session) {
    QList<qint64> process;
    if (DataLocation::isServer(session.location()))
        session.database().read(QStringLiteral("SELECT pg_backend_pid()"), {},
                                [&](const Database::Row& row) { process.append(row.rowNumber(0)); });
    return process;
}

} // namespace

QList<BenchTable::Row> JournalBenchmarks::measure() {
    const QString bookingName = QStringLiteral("J. booking with the journal");
    const QString renameName = QStringLiteral("J. company rename (20,000 + 4,000) with the journal");
    const std::unique_ptr<Session> ours = Session::open(m_ours);
    const std::unique_ptr<Session> plain = Session::open(m_plain);
    if (!ours || !plain || !Journal(plain->database()).suspend())
        return {rowFrom(bookingName, {0, 0, QStringLiteral("cannot open both copies")}, QString())};
    const qint64 entriesBefore = journalEntries(*ours);
    const qint64 plainBefore = journalEntries(*plain);
    // Each copy has a connection, and so a server process, of its own.
    std::optional<ProcessorSeparation> separation;
    if (const QList<qint64> processes = serverProcess(*ours) + serverProcess(*plain); !processes.isEmpty())
        separation.emplace(processes);
    const QString placement = separation ? QStringLiteral("; ") + separation->description() : QString();

    QString failure;
    const auto booking = [&](Session& session) {
        return Measurement::Side{nullptr, [&] {
                                     Booking booked;
                                     booked.projectId = m_facts.bigProjectId;
                                     booked.company = QStringLiteral("Benchmark Bau");
                                     booked.amount = Money::fromCents(12345);
                                     Outcome outcome = Outcome::done();
                                     const double ms = Measurement::timed([&] {
                                         outcome = BookingOperation(session).book(booked);
                                         return outcome.ok();
                                     });
                                     if (ms < 0)
                                         failure = outcome.text();
                                     return ms;
                                 }};
    };
    QList<BenchTable::Row> rows;
    const int bookingRuns = std::max(m_runs, Measurement::kLeastQuickRuns);
    Measurement::Outcome booked = Measurement::compare(bookingRuns, booking(*ours), booking(*plain));
    if (!failure.isEmpty())
        booked.error += QStringLiteral(" (") + failure + u')';
    const qint64 bookingEntries = journalEntries(*ours) - entriesBefore;
    rows +=
        rowFrom(bookingName, booked,
                QStringLiteral("J booking: %1 journal entries written for %2 bookings with the journal, %3 "
                               "without%4")
                    .arg(bookingEntries)
                    .arg(bookingRuns + 1)
                    .arg(journalEntries(*plain) - plainBefore)
                    .arg(placement));

    const std::optional<Company> found = Registers(*ours).company(m_facts.renameCompanyId).value;
    if (!found)
        return rows << rowFrom(renameName, {0, 0, QStringLiteral("company not found")}, QString());
    const QString nameA = m_facts.renameCompanyName;
    const QString nameB = nameA + QStringLiteral(" (neu)");
    const auto rename = [&](Session& session, QString& current) {
        return Measurement::Side{nullptr, [&] {
                                     Company changed = *found;
                                     changed.name = current == nameA ? nameB : nameA;
                                     Outcome outcome = Outcome::done();
                                     const double ms = Measurement::timed([&] {
                                         outcome = SaveCompany(session).change(changed, current, AsLoaded());
                                         return outcome.ok();
                                     });
                                     if (ms < 0)
                                         failure = outcome.text();
                                     else
                                         current = changed.name;
                                     return ms;
                                 }};
    };
    QString oursName = nameA;
    QString plainName = nameA;
    const qint64 renameBefore = journalEntries(*ours);
    Measurement::Outcome renamed =
        Measurement::compare(m_runs, rename(*ours, oursName), rename(*plain, plainName));
    if (!failure.isEmpty())
        renamed.error += QStringLiteral(" (") + failure + u')';
    rows +=
        rowFrom(renameName, renamed,
                QStringLiteral("J rename: %1 journal entries for %2 renames (the company's row and one entry "
                               "per table of copies each)%3")
                    .arg(journalEntries(*ours) - renameBefore)
                    .arg(m_runs + 1)
                    .arg(placement));
    return rows;
}
