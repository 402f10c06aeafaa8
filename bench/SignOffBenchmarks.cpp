#include "SignOffBenchmarks.h"

#include "Database.h"
#include "DataLocation.h"
#include "Measurement.h"
#include "PlainConnection.h"
#include "Session.h"
#include "SignOffOperation.h"
#include "SignOffReading.h"
#include "SignOffRepository.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>

namespace {

constexpr int kWaitingEvery = 100;
constexpr int kBatch = 500;

// Puts the bookings' states as sql says, past the engine's checks that let a state go only forward.
bool setStates(const QString& location, const QString& sql) {
    const std::unique_ptr<Database> db = Database::open(location);
    if (!db)
        return false;
    SignOffRepository repository(*db);
    Transaction transaction(*db);
    return transaction.isActive() && repository.suspendChecks() && db->exec(sql) &&
           repository.installChecks() && transaction.commit();
}

QString idList(const QList<qint64>& ids) {
    QStringList texts;
    for (const qint64 id : ids)
        texts += QString::number(id);
    return texts.join(u',');
}

} // namespace

QString SignOffBenchmarks::prepared(QString* error, double* arrivalMs) {
    QString location = m_largeFile;
    if (!DataLocation::isServer(m_largeFile)) {
        location = QDir(m_workFolder).filePath(QStringLiteral("signoff.mdb"));
        QFile::remove(location);
        if (!QFile::copy(m_largeFile, location)) {
            *error = QStringLiteral("cannot copy the large file");
            return QString();
        }
    }
    // Opening adds the states: every booking found is ordered.
    *arrivalMs = Measurement::timed([&] { return Database::open(location) != nullptr; });
    // The rights as the server's roles (the benchmark's login is a member of every role).
    if (DataLocation::isServer(location)) {
        const std::unique_ptr<Database> db = Database::open(location);
        for (const char* right : {"erfassen", "feststellen", "anordnen"}) {
            if (!db ||
                !db->exec(QStringLiteral("DO $$BEGIN EXECUTE format('CREATE ROLE %I NOLOGIN', "
                                         "current_database() || '_%1'); EXCEPTION WHEN duplicate_object "
                                         "THEN NULL; END$$")
                              .arg(QLatin1String(right)))) {
                *error = QStringLiteral("cannot create the roles of the rights");
                return QString();
            }
        }
    }
    // Only these wait: on the server, the bookings that benchmarks run before booked into the same
    // database (recorded by the benchmark's own login, which the four-eyes rule keeps from them) are
    // ordered.
    const QString booked = DataLocation::isServer(location)
                               ? QStringLiteral(" OR (ErfasstVon = session_user AND Status = 'erfasst')")
                               : QString();
    if (!setStates(location,
                   QStringLiteral("UPDATE tblFreigabe SET Status = CASE WHEN BuchungID % %1 <> 0 THEN "
                                  "'angeordnet' WHEN BuchungID % 3 = 0 THEN 'festgestellt' ELSE 'erfasst' "
                                  "END, ErfasstVon = 'kollegin', FestgestelltVon = 'pruefer', Hinweis = NULL "
                                  "WHERE BuchungID % %1 = 0%2")
                       .arg(kWaitingEvery)
                       .arg(booked))) {
        *error = QStringLiteral("cannot set bookings back to waiting");
        return QString();
    }
    return location;
}

QList<BenchTable::Row> SignOffBenchmarks::measure() {
    QString error;
    double arrivalMs = 0;
    const QString location = prepared(&error, &arrivalMs);
    if (location.isEmpty()) {
        BenchTable::Row row;
        row.name = QStringLiteral("A. Anordnungen");
        row.error = error;
        return {row};
    }
    BenchTable::Row list = waiting(location);
    list.note =
        QStringLiteral("opening the copy (where the states of the 200,000 bookings arrive, ordered) took "
                       "%1 ms; ")
            .arg(arrivalMs, 0, 'f', 0) +
        list.note;
    return {list, ordering(location)};
}

BenchTable::Row SignOffBenchmarks::waiting(const QString& location) {
    BenchTable::Row row;
    row.name = QStringLiteral("A. Anordnungen: what waits for the login");
    row.limit = 3.0;
    const std::unique_ptr<Session> session = Session::open(location);
    PlainConnection plain(location);
    if (!session || !plain.isOpen()) {
        row.error = QStringLiteral("cannot open");
        return row;
    }
    qsizetype ours = 0;
    QList<QStringList> plainRows;
    const Measurement::Outcome outcome = Measurement::compare(
        m_runs,
        {nullptr,
         [&] {
             return Measurement::timed([&] {
                 bool ok = false;
                 ours = SignOffReading::waitingFor(*session, &ok).size();
                 return ok;
             });
         }},
        {nullptr, [&] {
             return Measurement::timed([&] {
                 plainRows.clear();
                 return plain.query(
                     "SELECT b.ID, b.PID, b.ProjektID, b.Projekt, b.Firma, b.Gewerk, b.Kostengruppe, "
                     "b.AnweisungVom, b.RechnungVom, b.RechnungsNr, b.Zahlungsart, b.Bemerkungen, b.Betrag, "
                     "f.BuchungID, f.ProjektID, f.Status, f.ErfasstVon, f.ErfasstAm, f.SachlichVon, "
                     "f.SachlichAm, "
                     "f.FestgestelltVon, f.FestgestelltAm, f.AngeordnetVon, f.AngeordnetAm, f.BezahltAm, "
                     "f.StornoZu, f.Grund, f.Hinweis FROM tblFreigabe f JOIN tblBuchung b ON b.ID = "
                     "f.BuchungID "
                     "WHERE f.Status IN ('erfasst', 'sachlich richtig', 'festgestellt') ORDER BY f.BuchungID",
                     {}, [&](const PlainRow& record) {
                         QStringList& texts = plainRows.emplaceBack();
                         for (int column = 0; column < 28; ++column)
                             texts += record.text(column);
                     });
             });
         }});
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    if (row.error.isEmpty() && ours != plainRows.size())
        row.error = QStringLiteral("ROW COUNTS DIFFER (%1 / %2)").arg(ours).arg(plainRows.size());
    row.note +=
        QStringLiteral("%1 bookings wait (every %2th); ours: SignOffReading::waitingFor (the login, its "
                       "rights and the rules read, the waiting rows through the index on the state, "
                       "typed); baseline: the same join of the waiting states, every field as text")
            .arg(ours)
            .arg(kWaitingEvery);
    return row;
}

BenchTable::Row SignOffBenchmarks::ordering(const QString& location) {
    BenchTable::Row row;
    row.name = QStringLiteral("A. Anordnungen: 500 bookings ordered in one step");
    row.limit = 2.0;
    const std::unique_ptr<Session> session = Session::open(location);
    PlainConnection plain(location);
    if (!session || !plain.isOpen()) {
        row.error = QStringLiteral("cannot open");
        return row;
    }
    // Confirmed bookings, recorded and confirmed by others: every third of the waiting ones.
    QList<qint64> ids;
    for (qint64 id = 3 * kWaitingEvery; ids.size() < kBatch; id += 3 * kWaitingEvery)
        ids += id;
    const QString set = idList(ids);
    const auto confirmed = [&] {
        return setStates(location,
                         QStringLiteral("UPDATE tblFreigabe SET Status = 'festgestellt', AngeordnetVon = "
                                        "NULL, AngeordnetAm = NULL WHERE BuchungID IN (%1)")
                             .arg(set));
    };
    // The server writes who and when itself, and refuses them from any login.
    const QByteArray update =
        (plain.isServer()
             ? QStringLiteral("UPDATE tblFreigabe SET Status = 'angeordnet' WHERE BuchungID IN (%1)")
             : QStringLiteral("UPDATE tblFreigabe SET Status = 'angeordnet', AngeordnetVon = 'plain', "
                              "AngeordnetAm = '%2' WHERE BuchungID IN (%1)")
                   .arg(QStringLiteral("%1"), SignOffRepository::now()))
            .arg(set)
            .toUtf8();
    qint64 changed = 0;
    const Measurement::Outcome outcome =
        Measurement::compare(m_runs,
                             {confirmed,
                              [&] {
                                  return Measurement::timed([&] {
                                      const Outcome ordered = SignOffOperation(*session).order(ids);
                                      if (!ordered.ok())
                                          row.note = ordered.text() + QStringLiteral("; ");
                                      return ordered.ok();
                                  });
                              }},
                             {confirmed, [&] {
                                  return Measurement::timed([&] {
                                      changed = 0;
                                      return plain.exec("BEGIN") >= 0 &&
                                             (changed = plain.exec(update.constData())) == kBatch &&
                                             plain.exec("COMMIT") >= 0;
                                  });
                              }});
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    if (row.error.isEmpty() && changed != kBatch)
        row.error = QStringLiteral("the plain UPDATE changed %1 rows").arg(changed);
    row.note +=
        QStringLiteral("ours: SignOffOperation::order of 500 confirmed bookings (read and locked, the "
                       "rules checked, one UPDATE, journaled, in one transaction); baseline: one plain "
                       "UPDATE of their states in a transaction; both set back to confirmed before each "
                       "run (untimed)");
    return row;
}
