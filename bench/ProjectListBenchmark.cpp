#include "ProjectListBenchmark.h"

#include "DataLocation.h"
#include "DayNumber.h"
#include "Measurement.h"
#include "Money.h"
#include "PlainConnection.h"
#include "ProjectManager.h"
#include "RecordingDialogs.h"
#include "Session.h"

#include <algorithm>
#include <QAbstractItemModel>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeView>

namespace {

const char* const kProjectListSql =
    "SELECT p.ID, p.ProjektName, p.Datumwert, CAST(round(b.Budget * 100) AS INTEGER), paid.cents, "
    "committed.cents FROM tblProjekt p LEFT JOIN tblBudget b ON b.ProjektID = p.ID "
    "LEFT JOIN (SELECT ProjektID, SUM(CAST(round(Betrag * 100) AS INTEGER)) AS cents FROM tblBuchung "
    "GROUP BY ProjektID) paid ON paid.ProjektID = p.ID "
    "LEFT JOIN (SELECT ProjektID, SUM(CAST(round(NachtragKosten * 100) AS INTEGER)) AS cents FROM "
    "tblNachtrag "
    "GROUP BY ProjektID) committed ON committed.ProjektID = p.ID "
    "ORDER BY p.Datumwert IS NULL, p.Datumwert DESC, p.ID";

// The same on the server, which compares a text with a number only when told so.
const char* const kProjectListServerSql =
    "SELECT p.ID, p.ProjektName, p.Datumwert, CAST(round(b.Budget * 100) AS bigint), paid.cents, "
    "committed.cents FROM tblProjekt p LEFT JOIN tblBudget b ON b.ProjektID = p.ID "
    "LEFT JOIN (SELECT ProjektID, SUM(CAST(round(Betrag * 100) AS bigint)) AS cents FROM tblBuchung "
    "GROUP BY ProjektID) paid ON paid.ProjektID = CAST(p.ID AS text) "
    "LEFT JOIN (SELECT ProjektID, SUM(CAST(round(NachtragKosten * 100) AS bigint)) AS cents FROM "
    "tblNachtrag GROUP BY ProjektID) committed ON committed.ProjektID = CAST(p.ID AS text) "
    "ORDER BY p.Datumwert IS NULL, p.Datumwert DESC, p.ID";

// The list's nine texts per project, as plain SQLite and plain formatting build them.
bool plainList(PlainConnection& db, QList<QStringList>* rows) {
    rows->clear();
    return db.query(db.isServer() ? kProjectListServerSql : kProjectListSql, {},
                    [rows](const PlainRow& record) {
                        const qint64 paid = record.integer(4);
                        const qint64 committed = record.integer(5);
                        const bool budgeted = !record.isNull(3);
                        const qint64 budget = record.integer(3);
                        const qint64 used = std::max(paid, committed);
                        QStringList& texts = rows->emplaceBack();
                        texts << record.text(0) << record.text(1)
                              << (record.isNull(2) ? QString() : DayNumber::format(int(record.integer(2))))
                              << (budgeted ? Money::fromCents(budget).toGerman() : QString())
                              << Money::fromCents(paid).toGerman() << Money::fromCents(committed).toGerman()
                              << (budgeted ? Money::fromCents(budget - used).toGerman() : QString())
                              << (budgeted && budget != 0
                                      ? Money::fromEuros(double(used) / double(budget) * 100.0).toGerman()
                                      : QString())
                              << QString();
                    });
}

QString comparison(const QAbstractItemModel& model, const QList<QStringList>& rows) {
    if (model.rowCount() != rows.size())
        return QStringLiteral("ROW COUNTS DIFFER (%1 / %2)").arg(model.rowCount()).arg(rows.size());
    int red = 0;
    for (int row = 0; row < rows.size(); ++row) {
        red += model.index(row, 6).data(Qt::ForegroundRole).isValid() ? 1 : 0;
        for (int column = 0; column < rows.at(row).size(); ++column) {
            if (model.index(row, column).data().toString() != rows.at(row).at(column))
                return QStringLiteral("TEXTS DIFFER in row %1, column %2").arg(row).arg(column);
        }
    }
    return QStringLiteral("all %1 texts of the %2 projects the same, in the same order; %3 over budget (red)")
        .arg(model.columnCount())
        .arg(rows.size())
        .arg(red);
}

} // namespace

BenchTable::Row ProjectListBenchmark::listFill() {
    BenchTable::Row row;
    row.name = QStringLiteral("u. project list with budget figures");
    row.limit = 3.0;
    RecordingDialogs dialogs;
    // The file is opened as a copy: opening installs what the program keeps in it, untimed.
    QTemporaryDir folder;
    QString location = m_largeFile;
    if (!DataLocation::isServer(m_largeFile)) {
        location = folder.filePath(QStringLiteral("large.mdb"));
        if (!QFile::copy(m_largeFile, location)) {
            row.error = QStringLiteral("cannot copy the large file");
            return row;
        }
    }
    const std::unique_ptr<Session> session = Session::open(location);
    if (!session) {
        row.error = QStringLiteral("cannot open");
        return row;
    }
    ProjectManager screen(*session, dialogs);
    PlainConnection plain(location);
    auto* list = screen.findChild<QTreeView*>(QStringLiteral("lvwProjekte"));
    if (!plain.isOpen() || list == nullptr) {
        row.error = QStringLiteral("cannot open");
        return row;
    }
    screen.show();
    QApplication::processEvents();
    QList<QStringList> plainRows;
    QList<double> oursRuns;
    Measurement::Side ours{nullptr, [&] {
                               const double ms = Measurement::timed([&] {
                                   screen.EINLESEN();
                                   QApplication::processEvents();
                                   return true;
                               });
                               oursRuns.append(ms);
                               return ms;
                           }};
    Measurement::Side baseline{
        nullptr, [&] { return Measurement::timed([&] { return plainList(plain, &plainRows); }); }};
    const Measurement::Outcome outcome = Measurement::compare(m_runs, ours, baseline);
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    if (row.error.isEmpty() && !dialogs.texts().isEmpty())
        row.error = QStringLiteral("the screen reported: ") + dialogs.texts().join(QStringLiteral(" | "));
    // The first run is the warm-up.
    QString runs = QStringLiteral("absolute limit %1 ms").arg(kLimitMs);
    if (oursRuns.size() > 1) {
        oursRuns.removeFirst();
        runs = QStringLiteral("ours %1 ms (min %2, max %3) against the ")
                   .arg(row.oursMs, 0, 'f', 2)
                   .arg(*std::min_element(oursRuns.cbegin(), oursRuns.cend()), 0, 'f', 2)
                   .arg(*std::max_element(oursRuns.cbegin(), oursRuns.cend()), 0, 'f', 2) +
               runs;
    }
    if (row.error.isEmpty() && row.oursMs > kLimitMs)
        row.error = QStringLiteral("above the limit: ") + runs;
    row.note =
        runs + QStringLiteral("; ") + comparison(*list->model(), plainRows) +
        QStringLiteral("; ours: EINLESEN with the event processing after it (the list painted); "
                       "baseline: one query over projects, budgets and both tables grouped by project, "
                       "the nine texts");
    return row;
}
