#include "JournalListBenchmark.h"

#include "DataLocation.h"
#include "DayNumber.h"
#include "JournalScreen.h"
#include "Measurement.h"
#include "Money.h"
#include "PlainConnection.h"
#include "RecordingDialogs.h"
#include "Session.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTreeView>

namespace {

const QString kProject = QStringLiteral("150");

// The entries, every tenth of project 150: of each hundred, 60 new rows and 10 deleted rows with eight
// fields, 30 changes of an amount; bookings and estimate rows, five users at nine workstations, a
// minute apart. The hashes do not chain: the list does not check them.
const char* const kFileEntries =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000), "
    "e AS (SELECT i, CASE WHEN i % 10 = 0 THEN '150' ELSE CAST(i % 300 + 1 AS TEXT) END AS p, "
    "CASE WHEN (i / 10) % 10 IN (1, 2, 3) THEN 'Geändert' WHEN (i / 10) % 10 = 4 THEN 'Gelöscht' ELSE 'Neu' "
    "END AS a "
    "FROM n), "
    "f AS (SELECT i, p, a, json_object('ID', i, 'PID', i % 2000, 'ProjektID', p, 'Firma', 'Firma ' || (i % "
    "5000), "
    "'Gewerk', 'Rohbau', 'AnweisungVom', 44000 + i % 2000, 'RechnungsNr', 'R-' || i, 'Betrag', (i % 100000) "
    "/ 100.0) "
    "AS j FROM e) "
    "INSERT INTO tblProtokoll (Zeit, Benutzer, Arbeitsplatz, Tabelle, Zeile, ProjektID, Aktion, Vorgang, "
    "Anzahl, "
    "Alt, Neu, Vorgaenger, Hash) "
    "SELECT strftime('%Y-%m-%dT%H:%M:%S.000Z', 1600000000 + i * 60, 'unixepoch'), 'sachbearbeiter' || (i % "
    "5), "
    "'PC-' || (i % 9), CASE WHEN i % 4 = 3 THEN 'tblNachtrag' ELSE 'tblBuchung' END, CAST(i AS TEXT), p, a, "
    "CASE WHEN a = 'Gelöscht' AND i % 3 = 0 THEN 'Korrektur' ELSE '' END, 1, "
    "CASE a WHEN 'Geändert' THEN json_object('Betrag', (i % 100000) / 100.0) WHEN 'Gelöscht' THEN j END, "
    "CASE a WHEN 'Geändert' THEN json_object('Betrag', (i % 90000) / 100.0 + 1) WHEN 'Neu' THEN j END, "
    "printf('%064d', i - 1), printf('%064d', i) FROM f";

// The same on the server, past the journal's triggers.
const char* const kServerEntries =
    "WITH e AS (SELECT i, CASE WHEN i % 10 = 0 THEN '150' ELSE CAST(i % 300 + 1 AS text) END AS p, "
    "CASE WHEN (i / 10) % 10 IN (1, 2, 3) THEN 'Geändert' WHEN (i / 10) % 10 = 4 THEN 'Gelöscht' ELSE 'Neu' "
    "END AS a "
    "FROM generate_series(1, 1000000) AS i), "
    "f AS (SELECT i, p, a, json_build_object('ID', i, 'PID', i % 2000, 'ProjektID', p, 'Firma', 'Firma ' || "
    "(i % "
    "5000), 'Gewerk', 'Rohbau', 'AnweisungVom', 44000 + i % 2000, 'RechnungsNr', 'R-' || i, 'Betrag', "
    "(i % 100000) / 100.0)::text AS j FROM e) "
    "INSERT INTO tblProtokoll (Zeit, Benutzer, Arbeitsplatz, Tabelle, Zeile, ProjektID, Aktion, Vorgang, "
    "Anzahl, "
    "Alt, Neu, Vorgaenger, Hash) "
    "SELECT to_char(to_timestamp(1600000000 + i * 60) AT TIME ZONE 'UTC', "
    "'YYYY-MM-DD\"T\"HH24:MI:SS\".000Z\"'), "
    "'sachbearbeiter' || (i % 5), 'PC-' || (i % 9), CASE WHEN i % 4 = 3 THEN 'tblNachtrag' ELSE 'tblBuchung' "
    "END, "
    "CAST(i AS text), p, a, CASE WHEN a = 'Gelöscht' AND i % 3 = 0 THEN 'Korrektur' ELSE '' END, 1, "
    "CASE a WHEN 'Geändert' THEN json_build_object('Betrag', (i % 100000) / 100.0)::text WHEN 'Gelöscht' "
    "THEN j END, "
    "CASE a WHEN 'Geändert' THEN json_build_object('Betrag', (i % 90000) / 100.0 + 1)::text WHEN 'Neu' THEN "
    "j END, "
    "lpad(CAST(i - 1 AS text), 64, '0'), lpad(CAST(i AS text), 64, '0') FROM f";

const char* const kProjectEntries =
    "SELECT ID, Zeit, Benutzer, Arbeitsplatz, Tabelle, Zeile, ProjektID, Aktion, Vorgang, Anzahl, Alt, Neu "
    "FROM tblProtokoll WHERE ProjektID = ? ORDER BY ID";

QString plainValue(const QString& field, const QJsonValue& value) {
    static const QStringList amounts{QStringLiteral("Betrag"), QStringLiteral("ArchitektKosten"),
                                     QStringLiteral("NachtragKosten"), QStringLiteral("Budget")};
    static const QStringList days{QStringLiteral("AnweisungVom"), QStringLiteral("RechnungVom"),
                                  QStringLiteral("ArchitektDatum"), QStringLiteral("NachtragDatum"),
                                  QStringLiteral("Datumwert")};
    if (value.isDouble() && amounts.contains(field))
        return Money::fromStoredReal(value.toDouble()).value_or(Money()).toGerman();
    if (value.isDouble() && days.contains(field))
        return DayNumber::format(int(value.toDouble()));
    if (value.isDouble())
        return QString::number(qint64(value.toDouble()));
    return value.toString();
}

// The list's 13 texts per changed field of each entry of the project, built plainly.
bool plainList(PlainConnection& db, QList<QStringList>* lines) {
    lines->clear();
    return db.query(kProjectEntries, {kProject}, [lines](const PlainRow& row) {
        QDateTime time = QDateTime::fromString(row.text(1), Qt::ISODateWithMs);
        const QStringList entry{
            row.text(0), time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
            row.text(2), row.text(3),
            row.text(4), row.text(5),
            row.text(6), row.text(7),
            row.text(8), row.text(9)};
        const QJsonObject before = QJsonDocument::fromJson(row.text(10).toUtf8()).object();
        const QJsonObject after = QJsonDocument::fromJson(row.text(11).toUtf8()).object();
        QStringList fields = before.keys();
        for (const QString& field : after.keys())
            if (!before.contains(field))
                fields.append(field);
        if (fields.isEmpty())
            lines->append(entry + QStringList{QString(), QString(), QString()});
        for (const QString& field : fields)
            lines->append(entry + QStringList{field, plainValue(field, before.value(field)),
                                              plainValue(field, after.value(field))});
    });
}

QString comparison(const QAbstractItemModel& model, const QList<QStringList>& lines) {
    if (model.rowCount() != lines.size())
        return QStringLiteral("LINE COUNTS DIFFER (%1 / %2)").arg(model.rowCount()).arg(lines.size());
    for (int row = 0; row < lines.size(); row += 97)
        for (int column = 0; column < 13; ++column)
            if (model.index(row, column).data().toString() != lines.at(row).at(column))
                return QStringLiteral("TEXTS DIFFER in line %1, column %2: %3 / %4")
                    .arg(row)
                    .arg(column)
                    .arg(model.index(row, column).data().toString(), lines.at(row).at(column));
    return QStringLiteral("%1 lines of the project's entries, every 97th line's 13 texts the same")
        .arg(lines.size());
}

} // namespace

BenchTable::Row JournalListBenchmark::listFill() {
    BenchTable::Row row;
    row.name = QStringLiteral("L. journal list of project 150 among 1,000,000 entries");
    row.limit = 3.0;
    QString location = m_largeFile;
    if (!DataLocation::isServer(m_largeFile)) {
        location = m_workFolder + QStringLiteral("/journal.mdb");
        QFile::remove(location);
        if (!QFile::copy(m_largeFile, location)) {
            row.error = QStringLiteral("cannot copy the large file");
            return row;
        }
    }
    RecordingDialogs dialogs;
    const std::unique_ptr<Session> session = Session::open(location);
    PlainConnection plain(location);
    if (!session || !plain.isOpen()) {
        row.error = QStringLiteral("cannot open");
        return row;
    }
    const bool written = plain.isServer()
                             ? plain.exec("SET session_replication_role = replica") >= 0 &&
                                   plain.exec(kServerEntries) == kEntries &&
                                   plain.exec("SET session_replication_role = origin") >= 0 &&
                                   plain.exec("ANALYZE tblProtokoll") >= 0
                             : plain.exec(kFileEntries) == kEntries && plain.exec("ANALYZE") >= 0;
    if (!written) {
        row.error = QStringLiteral("cannot write the entries: ") + plain.lastError();
        return row;
    }
    JournalScreen screen(*session, dialogs, kProject);
    auto* list = screen.findChild<QTreeView*>(QStringLiteral("lvwProtokoll"));
    screen.show();
    QApplication::processEvents();
    QList<QStringList> plainLines;
    const Measurement::Side ours{nullptr, [&] {
                                     return Measurement::timed([&] {
                                         const bool ok = screen.refill();
                                         QApplication::processEvents();
                                         return ok;
                                     });
                                 }};
    const Measurement::Side baseline{
        nullptr, [&] { return Measurement::timed([&] { return plainList(plain, &plainLines); }); }};
    const Measurement::Outcome outcome = Measurement::compare(m_runs, ours, baseline);
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    if (row.error.isEmpty() && !dialogs.texts().isEmpty())
        row.error = QStringLiteral("the screen reported: ") + dialogs.texts().join(QStringLiteral(" | "));
    row.note = comparison(*list->model(), plainLines) +
               QStringLiteral("; ours: JournalScreen::refill with the events after it (the list painted); "
                              "baseline: the same query through the plain interface, every line's texts");
    return row;
}
