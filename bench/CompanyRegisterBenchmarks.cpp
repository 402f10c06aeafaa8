#include "CompanyRegisterBenchmarks.h"

#include "CompanyRegister.h"
#include "Measurement.h"
#include "PlainBaseline.h"
#include "PlainConnection.h"
#include "RecordingDialogs.h"
#include "Session.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeView>

namespace {

const QAbstractItemModel* shownList(const CompanyRegister& screen) {
    const auto* list = screen.findChild<QTreeView*>(QStringLiteral("ListView1"));
    return list != nullptr ? list->model() : nullptr;
}

// Whether the screen lists the same companies in the same order as the baseline.
bool sameOrder(const CompanyRegister& screen, const QList<PlainBaseline::CompanyListRow>& baseline) {
    const QAbstractItemModel* model = shownList(screen);
    if (model == nullptr || model->rowCount() != baseline.size())
        return false;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() != baseline.at(row).texts.at(0))
            return false;
    }
    return true;
}

QString comparison(const CompanyRegister& screen, const QList<PlainBaseline::CompanyListRow>& baseline) {
    const QAbstractItemModel* model = shownList(screen);
    return QStringLiteral("rows shown %1 / baseline %2, both ordered by name in German order (%3)")
        .arg(model != nullptr ? model->rowCount() : -1)
        .arg(baseline.size())
        .arg(sameOrder(screen, baseline) ? QStringLiteral("same order") : QStringLiteral("ORDER DIFFERS"));
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
    const std::unique_ptr<Session> session = Session::open(m_largeFile);
    if (!session)
        return failed(name, QStringLiteral("cannot open"));
    CompanyRegister screen(*session, dialogs);
    PlainConnection plain(m_largeFile);
    if (!plain.isOpen())
        return failed(name, QStringLiteral("cannot open"));
    // Opened as the start menu opens it: shown and activated, so that it keeps its list sorted by name.
    screen.show();
    screen.activateWindow();
    QApplication::processEvents();
    QList<PlainBaseline::CompanyListRow> plainRows;
    Measurement::Side ours{nullptr, [&] {
                               return Measurement::timed([&] {
                                   screen.EINLESEN();
                                   QApplication::processEvents();
                                   return true;
                               });
                           }};
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::companyListByName(
                                           plain, "SELECT * FROM tblFirma ORDER BY ID", {}, &plainRows);
                                   });
                               }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), dialogs);
    row.note = comparison(screen, plainRows) +
               QStringLiteral("; ours includes the event processing after the refill");
    return row;
}

BenchTable::Row CompanyRegisterBenchmarks::searchKeystroke() {
    const QString name = QStringLiteral("d. company search \"%1\" (-- X --)").arg(QLatin1String(kSearchText));
    RecordingDialogs dialogs;
    const std::unique_ptr<Session> session = Session::open(m_largeFile);
    if (!session)
        return failed(name, QStringLiteral("cannot open"));
    CompanyRegister screen(*session, dialogs);
    PlainConnection plain(m_largeFile);
    auto* searchField = screen.findChild<QLineEdit*>(QStringLiteral("Text10"));
    auto* anywhere = screen.findChild<QRadioButton*>(QStringLiteral("Option1"));
    if (!plain.isOpen())
        return failed(name, QStringLiteral("cannot open"));
    if (searchField == nullptr || anywhere == nullptr)
        return failed(name, QStringLiteral("Text10 or Option1 not found"));
    screen.show();
    screen.activateWindow();
    anywhere->click();
    QApplication::processEvents();
    const QString text = QString::fromLatin1(kSearchText);
    const QString pattern = QLatin1Char('%') + text + QLatin1Char('%');
    QList<PlainBaseline::CompanyListRow> plainRows;
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
                // SQLite's LIKE ignores the letter case of ASCII letters, the server's ILIKE that of all.
                return PlainBaseline::companyListByName(
                    plain,
                    plain.isServer()
                        ? "SELECT * FROM tblFirma WHERE GewerkID ILIKE ?1 OR KostengruppeID ILIKE ?1 "
                          "OR Name ILIKE ?1 OR PLZ ILIKE ?1 OR Ort ILIKE ?1 ORDER BY ID"
                        : "SELECT * FROM tblFirma WHERE GewerkID LIKE ?1 OR KostengruppeID LIKE ?1 "
                          "OR Name LIKE ?1 OR PLZ LIKE ?1 OR Ort LIKE ?1 ORDER BY ID",
                    {pattern}, &plainRows);
            });
        }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), dialogs);
    row.note = comparison(screen, plainRows);
    return row;
}
