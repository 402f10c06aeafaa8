#include "CompanyRegisterBenchmarks.h"

#include "CompanyRegister.h"
#include "Measurement.h"
#include "PlainSqlite.h"
#include "RecordingDialogs.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeView>

namespace {

// The five texts of a list row as the register shows them, from a row of "SELECT * FROM tblFirma".
QStringList listTexts(sqlite3_stmt* stmt) {
    return {PlainSqlite::text(stmt, 0), PlainSqlite::text(stmt, 1),
            PlainSqlite::text(stmt, 3) + QLatin1Char(' ') + PlainSqlite::text(stmt, 4),
            PlainSqlite::text(stmt, 10), PlainSqlite::text(stmt, 11)};
}

int shownRows(const CompanyRegister& screen) {
    const auto* list = screen.findChild<QTreeView*>(QStringLiteral("ListView1"));
    return list != nullptr && list->model() != nullptr ? list->model()->rowCount() : -1;
}

BenchTable::Row failed(const QString& name, const QString& error) {
    BenchTable::Row row;
    row.name = name;
    row.limit = 3.0;
    row.error = error;
    return row;
}

BenchTable::Row rowFrom(const QString& name, const Measurement::Outcome& outcome,
                        const RecordingDialogs& dialogs) {
    BenchTable::Row row;
    row.name = name;
    row.limit = 3.0;
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    if (row.error.isEmpty() && !dialogs.texts().isEmpty())
        row.error = QStringLiteral("the screen reported: ") + dialogs.texts().join(QStringLiteral(" | "));
    return row;
}

} // namespace

BenchTable::Row CompanyRegisterBenchmarks::listFill() {
    const QString name = QStringLiteral("c. company list fill (5,000)");
    RecordingDialogs dialogs;
    CompanyRegister screen(m_largeFile, dialogs);
    PlainSqlite plain(m_largeFile);
    if (!screen.hasDatabase() || !plain.isOpen())
        return failed(name, QStringLiteral("cannot open"));
    screen.show();
    QApplication::processEvents();
    qsizetype plainRows = 0;
    Measurement::Side ours{nullptr, [&] {
                               return Measurement::timed([&] {
                                   screen.EINLESEN();
                                   QApplication::processEvents();
                                   return true;
                               });
                           }};
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       QList<QStringList> rows;
                                       const bool ok = plain.query(
                                           "SELECT * FROM tblFirma ORDER BY ID", {},
                                           [&rows](sqlite3_stmt* stmt) { rows.append(listTexts(stmt)); });
                                       plainRows = rows.size();
                                       return ok;
                                   });
                               }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), dialogs);
    row.note =
        QStringLiteral("rows shown %1 / baseline %2; ours includes the event processing after the refill")
            .arg(shownRows(screen))
            .arg(plainRows);
    return row;
}

BenchTable::Row CompanyRegisterBenchmarks::searchKeystroke() {
    const QString name = QStringLiteral("d. company search \"%1\" (-- X --)").arg(QLatin1String(kSearchText));
    RecordingDialogs dialogs;
    CompanyRegister screen(m_largeFile, dialogs);
    PlainSqlite plain(m_largeFile);
    auto* searchField = screen.findChild<QLineEdit*>(QStringLiteral("Text10"));
    auto* anywhere = screen.findChild<QRadioButton*>(QStringLiteral("Option1"));
    if (!screen.hasDatabase() || !plain.isOpen())
        return failed(name, QStringLiteral("cannot open"));
    if (searchField == nullptr || anywhere == nullptr)
        return failed(name, QStringLiteral("Text10 or Option1 not found"));
    screen.show();
    anywhere->click();
    QApplication::processEvents();
    const QString text = QString::fromLatin1(kSearchText);
    const QString pattern = QLatin1Char('%') + text + QLatin1Char('%');
    qsizetype plainRows = 0;
    Measurement::Side ours{[&] {
                               searchField->clear();
                               QApplication::processEvents();
                               return true;
                           },
                           [&] {
                               return Measurement::timed([&] {
                                   searchField->setText(text);
                                   QApplication::processEvents();
                                   return true;
                               });
                           }};
    Measurement::Side baseline{
        nullptr, [&] {
            return Measurement::timed([&] {
                QList<QStringList> rows;
                const bool ok =
                    plain.query("SELECT * FROM tblFirma WHERE GewerkID LIKE ?1 OR KostengruppeID LIKE ?1 "
                                "OR Name LIKE ?1 OR PLZ LIKE ?1 OR Ort LIKE ?1",
                                {pattern}, [&rows](sqlite3_stmt* stmt) { rows.append(listTexts(stmt)); });
                plainRows = rows.size();
                return ok;
            });
        }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), dialogs);
    row.note = QStringLiteral("rows shown %1 / baseline %2").arg(shownRows(screen)).arg(plainRows);
    return row;
}
