#include "WorkspaceBenchmarks.h"

#include "BookingChecks.h"
#include "BookingListModel.h"
#include "BookingRepository.h"
#include "ChartsTab.h"
#include "CompanyRepository.h"
#include "CostReport.h"
#include "Database.h"
#include "EstimateRepository.h"
#include "EvaluationListModel.h"
#include "Measurement.h"
#include "Money.h"
#include "PlainBaseline.h"
#include "PlainConnection.h"
#include "ProjectLedger.h"
#include "RecordingDialogs.h"
#include "Session.h"
#include "Settings.h"
#include "TextTableModel.h"
#include "Workspace.h"

#include <functional>
#include <QApplication>
#include <QChartView>
#include <QCollator>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

namespace {

constexpr int kPaintTimeoutMs = 10000;
constexpr int kPartRuns = 5;
// Each booking of a run gets a number of its own: the same number twice would be asked about.
const QString kBenchInvoiceNumber = QStringLiteral("RE-BENCH-");
QString nextBenchInvoiceNumber() {
    static int next = 0;
    return kBenchInvoiceNumber + QString::number(++next);
}

// Counts the events of one type that reach the watched object.
class EventCounter : public QObject {
public:
    EventCounter(QObject* watched, QEvent::Type type) : m_type(type) { watched->installEventFilter(this); }

    int count() const { return m_count; }
    // Processes events until count has been reached or the time is up.
    bool waitUntil(int count, int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (m_count < count && timer.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return m_count >= count;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type)
            ++m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int m_count = 0;
};

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The median of the parts recorded in every run, the untimed warm-up (the first) left out.
double medianOfRuns(const QList<double>& recorded) {
    return Measurement::median(recorded.mid(1));
}

// The median time of work, run kPartRuns times.
double partMs(const std::function<void()>& work) {
    QList<double> times;
    for (int i = 0; i < kPartRuns; ++i)
        times << Measurement::timed([&work] {
            work();
            return true;
        });
    return Measurement::median(times);
}

QString ms(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

BenchTable::Row rowFrom(const QString& name, const Measurement::Outcome& outcome, const QString& failure) {
    BenchTable::Row row;
    row.name = name;
    row.limit = WorkspaceBenchmarks::kLimit;
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    if (!row.error.isEmpty() && !failure.isEmpty())
        row.error += QStringLiteral(" (") + failure + QLatin1Char(')');
    return row;
}

BenchTable::Row failed(const QString& name, const QString& error, bool reportOnly) {
    BenchTable::Row row;
    row.name = name;
    row.limit = WorkspaceBenchmarks::kLimit;
    row.reportOnly = reportOnly;
    row.error = error;
    return row;
}

// Whether the list shows the baseline's rows: every text of the baseline's columns, in the same order (a
// list may show more columns after them, such as what was retained).
template <typename Row> QString compareTexts(const QAbstractItemModel& model, const QList<Row>& rows) {
    if (model.rowCount() != rows.size())
        return QStringLiteral("ROW COUNTS DIFFER");
    for (int row = 0; row < model.rowCount(); ++row) {
        const QStringList& texts = rows.at(row).texts;
        if (model.columnCount() < texts.size())
            return QStringLiteral("COLUMN COUNTS DIFFER");
        for (int column = 0; column < texts.size(); ++column) {
            const QString shown = model.index(row, column).data().toString();
            if (shown != texts.at(column))
                return QStringLiteral("TEXTS DIFFER in row %1, column %2: \"%3\" / \"%4\"")
                    .arg(row)
                    .arg(column)
                    .arg(shown, texts.at(column));
        }
    }
    return QStringLiteral("all %1 texts of each row the same, in the same order")
        .arg(rows.isEmpty() ? model.columnCount() : rows.first().texts.size());
}

QString shownPicker(const QComboBox& picker, const QStringList& expected) {
    QStringList shown;
    for (int i = 0; i < picker.count(); ++i)
        shown << picker.itemText(i);
    return shown == expected ? QStringLiteral("same names in the same order")
                             : QStringLiteral("NAMES DIFFER (%1 shown)").arg(shown.size());
}

// Runs work and processes events until the list has been painted after it; its time in milliseconds,
// or -1 with failure set.
double untilPainted(QTreeView& list, const std::function<void()>& work, QString* failure) {
    EventCounter painted(list.viewport(), QEvent::Paint);
    QElapsedTimer timer;
    timer.start();
    work();
    if (!painted.waitUntil(1, kPaintTimeoutMs)) {
        *failure = QStringLiteral("%1 was not painted within 10 s").arg(list.objectName());
        return -1;
    }
    return msSince(timer);
}

int sectionOf(const QAbstractItemModel& model, const QString& heading) {
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.headerData(column, Qt::Horizontal).toString() == heading)
            return column;
    }
    return -1;
}

// +1 when the column's texts never fall in compare's order, -1 when they never rise, 0 when neither.
int direction(const QAbstractItemModel& model, int column,
              const std::function<int(const QString&, const QString&)>& compare) {
    bool rises = false;
    bool falls = false;
    for (int row = 1; row < model.rowCount(); ++row) {
        const int c = compare(model.index(row - 1, column).data().toString(),
                              model.index(row, column).data().toString());
        rises = rises || c < 0;
        falls = falls || c > 0;
    }
    return falls == rises ? 0 : (rises ? 1 : -1);
}

} // namespace

struct WorkspaceBenchmarks::Session {
    RecordingDialogs dialogs;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<::Session> own;
    ::Session* data = nullptr;
    std::unique_ptr<Workspace> window;
    std::unique_ptr<EventCounter> activations;

    ~Session() {
        activations.reset();
        if (window)
            window->close();
        window.reset();
    }
    template <typename T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QTreeView* list() const { return find<QTreeView>("ListView1"); }
    QString reported() const { return dialogs.texts().join(QStringLiteral(" | ")); }
};

WorkspaceBenchmarks::WorkspaceBenchmarks(QString largeFile, LargeOfficeGenerator::Facts facts,
                                         QString workFolder, int runs)
    : m_largeFile(std::move(largeFile)), m_facts(std::move(facts)), m_workFolder(std::move(workFolder)),
      m_runs(runs) {
    PlainConnection plain(m_largeFile);
    plain.query("SELECT ProjektName FROM tblProjekt WHERE ID = ?", {m_facts.bigProjectId},
                [this](const PlainRow& record) { m_projectName = record.text(0); });
}

WorkspaceBenchmarks::~WorkspaceBenchmarks() = default;

QString WorkspaceBenchmarks::workFile(const QString& name) const {
    return QDir(m_workFolder).filePath(name);
}

std::unique_ptr<WorkspaceBenchmarks::Session> WorkspaceBenchmarks::open(const QString& file,
                                                                        const QString& settingsName,
                                                                        Phases* phases, QString* error,
                                                                        ::Session* shared) const {
    QElapsedTimer timer;
    timer.start();
    auto session = std::make_unique<Session>();
    session->settings = std::make_unique<Settings>(workFile(settingsName + QStringLiteral(".ini")));
    if (shared == nullptr)
        session->own = ::Session::open(file, error);
    session->data = shared != nullptr ? shared : session->own.get();
    if (!session->data) {
        *error = QStringLiteral("the workspace cannot open the file: ") + *error;
        return nullptr;
    }
    session->window = std::make_unique<Workspace>(*session->data, session->dialogs, *session->settings);
    const double built = msSince(timer);
    session->activations = std::make_unique<EventCounter>(session->window.get(), QEvent::WindowActivate);
    session->window->setProject(m_facts.bigProjectId, m_projectName);
    session->window->show();
    const double shown = msSince(timer);
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(session->window.get(), &activation);
    if (phases != nullptr) {
        phases->builtMs = built;
        phases->shownMs = shown - built;
        phases->activatedMs = msSince(timer) - shown;
    }
    return session;
}

double WorkspaceBenchmarks::showBookings(Session& session, QString* error) {
    return showTab(session, Workspace::BookingsTabIndex, "ListView1", error);
}

double WorkspaceBenchmarks::showTab(Session& session, int tab, const char* listName, QString* error) {
    QElapsedTimer timer;
    timer.start();
    auto* tabs = session.find<QTabWidget>("SSTab1");
    auto* list = session.find<QTreeView>(listName);
    if (tabs == nullptr || list == nullptr) {
        *error = QStringLiteral("SSTab1 or %1 not found").arg(QLatin1String(listName));
        return -1;
    }
    EventCounter painted(list->viewport(), QEvent::Paint);
    tabs->setCurrentIndex(tab);
    if (!painted.waitUntil(1, kPaintTimeoutMs)) {
        *error = QStringLiteral("%1 was not painted within 10 s").arg(QLatin1String(listName));
        return -1;
    }
    return msSince(timer);
}

ListSnapshot WorkspaceBenchmarks::bookingsSnapshot(QString* error) const {
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("p-print"), nullptr, error);
    if (!session || showBookings(*session, error) < 0)
        return ListSnapshot();
    return session->window->snapshot();
}

QList<BenchTable::Row> WorkspaceBenchmarks::projectOpening() {
    const QString wholeName = QStringLiteral("g. opening project 150 until its list is painted");
    const QString fillName = QStringLiteral("g. booking list fill (20,000)");
    QString failure;
    QList<double> built;
    QList<double> shownPhase;
    QList<double> activated;
    QList<double> listed;
    // Every opening, the first one (not counted in the median) too.
    QList<double> openings;
    int rowsShown = -1;
    int activations = 0;
    // The program opens its session with the start menu, before any project; so does the benchmark.
    std::unique_ptr<::Session> opened = ::Session::open(m_largeFile, &failure);
    Measurement::Side opening{nullptr, [&]() -> double {
                                  QElapsedTimer timer;
                                  timer.start();
                                  Phases phases;
                                  std::unique_ptr<Session> session = open(
                                      m_largeFile, QStringLiteral("g-open"), &phases, &failure, opened.get());
                                  if (!session)
                                      return -1;
                                  const double shown = showBookings(*session, &failure);
                                  const double total = msSince(timer);
                                  if (shown < 0)
                                      return -1;
                                  openings << total;
                                  if (!session->dialogs.texts().isEmpty()) {
                                      failure =
                                          QStringLiteral("the workspace reported: ") + session->reported();
                                      return -1;
                                  }
                                  built << phases.builtMs;
                                  shownPhase << phases.shownMs;
                                  activated << phases.activatedMs;
                                  listed << shown;
                                  rowsShown = session->list()->model()->rowCount();
                                  activations = session->activations->count();
                                  return total;
                              }};
    PlainConnection plainRead(m_largeFile);
    QList<Booking> typedRows;
    Measurement::Side read{nullptr, [&] {
                               return Measurement::timed([&] {
                                   return PlainBaseline::projectBookings(plainRead, m_facts.bigProjectId,
                                                                         &typedRows);
                               });
                           }};
    BenchTable::Row whole = plainRead.isOpen()
                                ? rowFrom(wholeName, Measurement::compare(m_runs, opening, read), failure)
                                : failed(wholeName, QStringLiteral("cannot open ") + m_largeFile, false);
    whole.limit = kOpeningLimit;
    whole.note =
        QStringLiteral("baseline: a's plain typed read of the project's %7 rows; construction with "
                       "the register picker (5,000) %1, project set and shown %2, activation (filter "
                       "pickers) %3, booking list tab until painted %4; %5 rows shown; %6 "
                       "activation(s) per opening (the one sent, and the platform's)")
            .arg(ms(medianOfRuns(built)), ms(medianOfRuns(shownPhase)), ms(medianOfRuns(activated)),
                 ms(medianOfRuns(listed)))
            .arg(rowsShown)
            .arg(activations)
            .arg(typedRows.size());
    // The lists keep the sizes of the texts they measured for the program's run: the first opening
    // measures them all.
    whole.note += QStringLiteral("; the session's first opening (the sizes of the texts not yet known, "
                                 "not in the median) %1")
                      .arg(ms(openings.value(0)));
    // The filter pickers of each activation: the project's distinct companies, trades and cost groups.
    if (std::unique_ptr<Database> db = Database::open(m_largeFile)) {
        BookingRepository bookings(*db);
        QStringList parts;
        for (const auto& [field, label] : {std::pair{BookingRepository::Field::Company, "companies"},
                                           std::pair{BookingRepository::Field::Trade, "trades"},
                                           std::pair{BookingRepository::Field::CostGroup, "cost groups"}}) {
            qsizetype found = 0;
            const double time =
                partMs([&] { found = bookings.distinctValues(field, m_facts.bigProjectId).size(); });
            parts << QStringLiteral("%1 %2 in %3").arg(found).arg(QLatin1String(label), ms(time));
        }
        whole.note += QStringLiteral("; BookingRepository::distinctValues per activation: ") +
                      parts.join(QStringLiteral(", "));
    }

    failure.clear();
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("g-fill"), nullptr, &failure);
    PlainConnection plain(m_largeFile);
    if (!session || showBookings(*session, &failure) < 0)
        return {whole, failed(fillName, failure, false)};
    if (!plain.isOpen())
        return {whole, failed(fillName, QStringLiteral("cannot open ") + m_largeFile, false)};
    QTreeView* list = session->list();
    EventCounter painted(list->viewport(), QEvent::Paint);
    QList<double> calls;
    QList<double> paints;
    Measurement::Side ours{nullptr, [&]() -> double {
                               const int before = painted.count();
                               QElapsedTimer timer;
                               timer.start();
                               session->window->EINLESEN();
                               const double filled = msSince(timer);
                               if (!painted.waitUntil(before + 1, kPaintTimeoutMs)) {
                                   failure = QStringLiteral("the refilled list was not painted within 10 s");
                                   return -1;
                               }
                               const double total = msSince(timer);
                               calls << filled;
                               paints << total - filled;
                               return total;
                           }};
    QList<PlainBaseline::BookingListRow> plainRows;
    qint64 plainTotal = 0;
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::bookingList(plain, m_facts.bigProjectId,
                                                                         &plainRows, &plainTotal);
                                   });
                               }};
    BenchTable::Row fill = rowFrom(fillName, Measurement::compare(m_runs, ours, baseline), failure);
    if (fill.error.isEmpty() && !session->dialogs.texts().isEmpty())
        fill.error = QStringLiteral("the workspace reported: ") + session->reported();
    const auto* totalField = session->find<QLineEdit>("txtGesamtsumme");
    fill.note =
        QStringLiteral("rows shown %1 / baseline %2, %3; total ours %4 / baseline %5; ours: "
                       "EINLESEN %6, then the events until the list is painted %7")
            .arg(list->model()->rowCount())
            .arg(plainRows.size())
            .arg(compareTexts(*list->model(), plainRows),
                 totalField != nullptr ? totalField->text() : QStringLiteral("?"),
                 Money::fromCents(plainTotal).toGerman(), ms(medianOfRuns(calls)), ms(medianOfRuns(paints)));
    return {whole, fill};
}

QList<BenchTable::Row> WorkspaceBenchmarks::listSorting() {
    const QString name = QStringLiteral("h. sort by heading");
    QString failure;
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("h-sort"), nullptr, &failure);
    if (!session)
        return {failed(name, failure, true)};
    const qsizetype widgetsEmpty = session->window->findChildren<QWidget*>().size();
    if (showBookings(*session, &failure) < 0)
        return {failed(name, failure, true)};
    const qsizetype widgetsFilled = session->window->findChildren<QWidget*>().size();
    QTreeView* list = session->list();
    const QAbstractItemModel* model = list->model();
    int indexWidgets = 0;
    for (int column = 0; column < model->columnCount(); ++column)
        indexWidgets += list->indexWidget(model->index(0, column)) != nullptr ? 1 : 0;
    const bool modelView = qobject_cast<const TextTableModel*>(model) != nullptr &&
                           widgetsFilled == widgetsEmpty && indexWidgets == 0;
    const QString structure =
        QStringLiteral("ListView1 is a %1 on a %2 (%3TextTableModel) with %4 rows; widgets in the window: "
                       "%5 with the list empty, %6 with it filled; index widgets in the first row: %7")
            .arg(QString::fromLatin1(list->metaObject()->superClass()->className()),
                 QString::fromLatin1(model->metaObject()->className()),
                 qobject_cast<const TextTableModel*>(model) != nullptr ? QString() : QStringLiteral("NOT a "))
            .arg(model->rowCount())
            .arg(widgetsEmpty)
            .arg(widgetsFilled)
            .arg(indexWidgets);
    QList<BenchTable::Row> rows{sortByHeading(*session, QStringLiteral("Betrag")),
                                sortByHeading(*session, QStringLiteral("Anweisung vom"))};
    rows.first().note = structure + QStringLiteral("; ") + rows.first().note;
    if (!modelView)
        rows.first().error = QStringLiteral("the list is not model/view");
    return rows;
}

BenchTable::Row WorkspaceBenchmarks::sortByHeading(Session& session, const QString& heading) {
    const QString name = QStringLiteral("h. sort by \"%1\" (20,000)").arg(heading);
    QTreeView* list = session.list();
    QAbstractItemModel* model = list->model();
    QHeaderView* header = list->header();
    const int column = sectionOf(*model, heading);
    if (column < 0)
        return failed(name, QStringLiteral("no heading \"%1\"").arg(heading), true);
    EventCounter painted(list->viewport(), QEvent::Paint);
    QString failure;
    // Each run starts from the order of a fresh fill, so the heading's texts get their sort keys anew.
    Measurement::Side click{[&] {
                                model->sort(int(BookingListModel::Column::RunningNumber), Qt::AscendingOrder);
                                list->scrollTo(model->index(0, column));
                                QApplication::processEvents();
                                return true;
                            },
                            [&]() -> double {
                                const QPoint at(header->sectionViewportPosition(column) +
                                                    header->sectionSize(column) / 2,
                                                header->height() / 2);
                                const int before = painted.count();
                                QElapsedTimer timer;
                                timer.start();
                                QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
                                if (!painted.waitUntil(before + 1, kPaintTimeoutMs)) {
                                    failure = QStringLiteral("the sorted list was not painted within 10 s");
                                    return -1;
                                }
                                return msSince(timer);
                            }};
    BenchTable::Row row = rowFrom(name, Measurement::alone(m_runs, click), failure);
    row.reportOnly = true;
    std::function<int(const QString&, const QString&)> compare;
    QString order;
    if (heading == QLatin1String("Betrag")) {
        compare = [](const QString& a, const QString& b) {
            const QLocale german(QLocale::German, QLocale::Germany);
            const double first = german.toDouble(a);
            const double second = german.toDouble(b);
            return first < second ? -1 : (second < first ? 1 : 0);
        };
        order = QStringLiteral("amounts by value (9,00 before 10,00)");
    } else {
        compare = [](const QString& a, const QString& b) {
            const QDate first = QDate::fromString(a, QStringLiteral("dd.MM.yyyy"));
            const QDate second = QDate::fromString(b, QStringLiteral("dd.MM.yyyy"));
            return first < second ? -1 : (second < first ? 1 : 0);
        };
        order = QStringLiteral("dates in the order of the calendar");
    }
    const int sorted = direction(*model, column, compare);
    if (row.error.isEmpty() && sorted == 0)
        row.error = QStringLiteral("the list is not sorted by \"%1\" after the click").arg(heading);
    if (row.error.isEmpty() && !session.dialogs.texts().isEmpty())
        row.error = QStringLiteral("the workspace reported: ") + session.reported();
    row.note = QStringLiteral("one click on the heading after a sort by running number, until the list is "
                              "painted; %1 rows, last click sorted %2, checked: %3")
                   .arg(model->rowCount())
                   .arg(sorted > 0 ? QStringLiteral("ascending") : QStringLiteral("descending"), order);
    return row;
}

BenchTable::Row WorkspaceBenchmarks::companySearchKeystroke() {
    const QString text = QString::fromLatin1(kSearchText);
    const QString name = QStringLiteral("i. entry company search \"%1\" (5,000)").arg(text);
    QString failure;
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("i-search"), nullptr, &failure);
    if (!session)
        return failed(name, failure, false);
    auto* field = session->find<QLineEdit>("txtSuchen");
    auto* picker = session->find<QComboBox>("cboFirma");
    auto* count = session->find<QLabel>("lblAnzahlFirmen");
    PlainConnection plain(m_largeFile);
    if (field == nullptr || picker == nullptr || count == nullptr)
        return failed(name, QStringLiteral("txtSuchen, cboFirma or lblAnzahlFirmen not found"), false);
    if (!plain.isOpen())
        return failed(name, QStringLiteral("cannot open ") + m_largeFile, false);
    QApplication::processEvents();
    Measurement::Side ours{[&] {
                               field->clear();
                               QApplication::processEvents();
                               return true;
                           },
                           [&] {
                               return Measurement::timed([&] {
                                   field->setText(text);
                                   QApplication::processEvents();
                                   return true;
                               });
                           }};
    PlainBaseline::CompanySearchResult plainResult;
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::entryCompanySearch(plain, text, &plainResult);
                                   });
                               }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), failure);
    if (row.error.isEmpty() && !session->dialogs.texts().isEmpty())
        row.error = QStringLiteral("the workspace reported: ") + session->reported();

    const QStringList details{
        session->find<QLineEdit>("txtGewerk")->text(), session->find<QLineEdit>("txtKostengruppe")->text(),
        session->find<QLabel>("lblSitz")->text(), session->find<QLabel>("lblAnschrift")->text()};
    const bool sameDetails = details == plainResult.details && count->text() == plainResult.count;
    // Where the keystroke's time goes: the search query, and the look-up of the first company's
    // details, which the entry tab and the company tab each run.
    std::unique_ptr<Database> db = Database::open(m_largeFile);
    QString parts;
    if (db && !plainResult.names.isEmpty()) {
        const QString first = plainResult.names.first();
        parts = QStringLiteral("; ours: CompanyRepository::searchByName %1, findByName of the first company "
                               "%2 (run twice: entry tab and company tab)")
                    .arg(ms(partMs([&] { CompanyRepository(*db).searchByName(text); })),
                         ms(partMs([&] { CompanyRepository(*db).findByName(first); })));
    }
    row.note = QStringLiteral("companies shown %1 / baseline %2, %3, count line and first company's details "
                              "%4; baseline: %6 '%%5%' over name, trade, cost group, town, "
                              "postcode, sorted by name in German order")
                   .arg(picker->count())
                   .arg(plainResult.names.size())
                   .arg(shownPicker(*picker, plainResult.names),
                        sameDetails ? QStringLiteral("the same") : QStringLiteral("DIFFER"), text,
                        PlainConnection::isServerAddress(m_largeFile) ? QStringLiteral("the server's ILIKE")
                                                                      : QStringLiteral("SQLite's LIKE")) +
               parts;
    return row;
}

BenchTable::Row WorkspaceBenchmarks::booking() {
    const QString name = QStringLiteral("j. Buchen, 5,000 / %1 companies").arg(kCutRegisterCompanies);
    const QString wholeFile = workFile(QStringLiteral("booking-whole.mdb"));
    const QString cutFile = workFile(QStringLiteral("booking-cut.mdb"));
    for (const QString& file : {wholeFile, cutFile}) {
        QFile::remove(file);
        if (!QFile::copy(m_largeFile, file))
            return failed(name, QStringLiteral("cannot copy the large file to ") + file, true);
    }
    QString company;
    {
        PlainConnection cut(cutFile);
        if (cut.exec("DELETE FROM tblFirma WHERE ID NOT IN (SELECT ID FROM tblFirma ORDER BY ID LIMIT ?)",
                     {QString::number(kCutRegisterCompanies)}) < 0)
            return failed(name, QStringLiteral("cannot cut the register: ") + cut.lastError(), true);
        cut.query("SELECT Name FROM tblFirma ORDER BY ID LIMIT 1", {},
                  [&company](const PlainRow& record) { company = record.text(0); });
    }
    QString failure;
    std::unique_ptr<Session> whole = open(wholeFile, QStringLiteral("j-whole"), nullptr, &failure);
    std::unique_ptr<Session> cut = open(cutFile, QStringLiteral("j-cut"), nullptr, &failure);
    if (!whole || !cut)
        return failed(name, failure, true);
    for (Session* session : {whole.get(), cut.get()}) {
        auto* picker = session->find<QComboBox>("cboFirma");
        const int index = picker != nullptr ? picker->findText(company) : -1;
        if (index < 0)
            return failed(name, QStringLiteral("company \"%1\" not in the picker").arg(company), true);
        picker->setCurrentIndex(index);
        emit picker->activated(index);
    }
    QApplication::processEvents();
    auto bookingSide = [&failure](Session& session) {
        return Measurement::Side{
            [&session] {
                session.find<QComboBox>("cboZahlungsart")->setCurrentIndex(1);
                session.find<QLineEdit>("txtRechnungsNr")->setText(nextBenchInvoiceNumber());
                session.find<QLineEdit>("txtBetrag")->setText(QStringLiteral("1.234,50"));
                QApplication::processEvents();
                return true;
            },
            [&session, &failure] {
                const double ms = Measurement::timed([&session] {
                    QTest::mouseClick(session.find<QPushButton>("cmdBuchen"), Qt::LeftButton);
                    QApplication::processEvents();
                    return session.dialogs.texts().isEmpty();
                });
                if (ms < 0)
                    failure = QStringLiteral("the workspace reported: ") + session.reported();
                return ms;
            }};
    };
    BenchTable::Row row =
        rowFrom(name, Measurement::compare(m_runs, bookingSide(*whole), bookingSide(*cut)), failure);
    row.reportOnly = true;

    auto facts = [this, &company](const QString& file) {
        qint64 booked = 0;
        qint64 companies = 0;
        PlainConnection plain(file);
        plain.query(
            "SELECT (SELECT COUNT(*) FROM tblBuchung WHERE ProjektID = ?1 AND RechnungsNr LIKE ?2 || '%'), "
            "(SELECT COUNT(*) FROM tblFirma)",
            {m_facts.bigProjectId, kBenchInvoiceNumber}, [&](const PlainRow& record) {
                booked = record.integer(0);
                companies = record.integer(1);
            });
        return QStringLiteral("%1 companies, %2 booked").arg(companies).arg(booked);
    };
    const QString wholeFacts = facts(wholeFile);
    const QString cutFacts = facts(cutFile);
    // Where the time goes, on the copy with the whole register: the store alone, the steps the workspace
    // runs after a booking, and the look-up of the company's details, which the register's size reaches.
    Workspace& window = *whole->window;
    const double refill = partMs([&window] { window.EINLESEN(); });
    const double pickers = partMs([&window] {
        window.combo7_3Einlesen();
        window.combo5_4Einlesen();
    });
    std::unique_ptr<Database> wholeDb = Database::open(wholeFile);
    std::unique_ptr<Database> cutDb = Database::open(cutFile);
    QString parts;
    if (wholeDb && cutDb) {
        const std::optional<Company> chosen = CompanyRepository(*wholeDb).findByName(company);
        Booking stored;
        stored.projectId = m_facts.bigProjectId;
        stored.project = m_projectName;
        stored.company = company;
        stored.trade = chosen ? chosen->trade : QString();
        stored.costGroup = chosen ? chosen->costGroup : QString();
        stored.amount = Money::fromCents(123450);
        stored.paymentKind = QStringLiteral("Schlußzahlung");
        parts = QStringLiteral("; store alone (BookingRepository::book) %1; company look-up (findByName) "
                               "with 5,000 companies %2, with %3 %4")
                    .arg(ms(partMs([&] {
                        Booking booking = stored;
                        BookingRepository(*wholeDb).book(booking);
                    })))
                    .arg(ms(partMs([&] { CompanyRepository(*wholeDb).findByName(company); })))
                    .arg(kCutRegisterCompanies)
                    .arg(ms(partMs([&] { CompanyRepository(*cutDb).findByName(company); })));
    }
    row.note = QStringLiteral("ours: the whole register, baseline column: the same file with the register "
                              "cut to %1 companies (same bookings); each run books 1.234,50 for \"%2\" into "
                              "project %3 and the workspace refills its booking list and pickers; whole: %4, "
                              "cut: %5; parts on the whole copy: booking list refill %6, filter pickers %7")
                   .arg(kCutRegisterCompanies)
                   .arg(company, m_facts.bigProjectId, wholeFacts, cutFacts, ms(refill), ms(pickers)) +
               parts;
    return row;
}

BenchTable::Row WorkspaceBenchmarks::costReport() {
    PlainConnection plain(m_largeFile);
    qint64 estimateRows = 0;
    plain.query("SELECT COUNT(*) FROM tblNachtrag WHERE ProjektID = ?", {m_facts.bigProjectId},
                [&estimateRows](const PlainRow& record) { estimateRows = record.integer(0); });
    const QString name = QStringLiteral("k. cost report, %1 estimate rows").arg(estimateRows);
    QString failure;
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("k-report"), nullptr, &failure);
    if (!session || showTab(*session, Workspace::CostReportTabIndex, "ListView4", &failure) < 0)
        return failed(name, failure, false);
    if (!plain.isOpen())
        return failed(name, QStringLiteral("cannot open ") + m_largeFile, false);
    QTreeView& list = *session->find<QTreeView>("ListView4");
    Workspace& window = *session->window;
    Measurement::Side ours{nullptr, [&] {
                               return untilPainted(
                                   list, [&window] { window.KostenberichtEinlesen(); }, &failure);
                           }};
    QList<PlainBaseline::CostReportRow> rows;
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::costReport(plain, m_facts.bigProjectId, &rows);
                                   });
                               }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), failure);
    if (row.error.isEmpty() && !session->dialogs.texts().isEmpty())
        row.error = QStringLiteral("the workspace reported: ") + session->reported();
    const QString same = compareTexts(*list.model(), rows);
    if (row.error.isEmpty() && same != QStringLiteral("all 11 texts of each row the same, in the same order"))
        row.error = same;
    // Where the program's time goes: the two reads, and the report computed from them.
    std::unique_ptr<Database> db = Database::open(m_largeFile);
    QString parts;
    if (db) {
        QList<BookingRepository::CompanySum> sums;
        QList<EstimateRow> estimates;
        const double sumsMs =
            partMs([&] { sums = BookingRepository(*db).sumsByCompany(m_facts.bigProjectId, std::nullopt); });
        const double estimatesMs =
            partMs([&] { estimates = EstimateRepository(*db).forProject(m_facts.bigProjectId); });
        const double computeMs = partMs([&] { CostReport::compute(sums, estimates); });
        int groups = 0;
        const double aggregateMs =
            partMs([&] { PlainBaseline::costReportAggregate(plain, m_facts.bigProjectId, &groups); });
        parts =
            QStringLiteral("; ours: BookingRepository::sumsByCompany %1, EstimateRepository::forProject %2, "
                           "CostReport::compute %3; baseline's aggregate query alone %4 (%5 companies)")
                .arg(ms(sumsMs), ms(estimatesMs), ms(computeMs), ms(aggregateMs))
                .arg(groups);
    }
    row.note =
        QStringLiteral(
            "%1 lines, the sums line and the budget lines, %2; baseline: bookings summed per company and "
            "estimate rows summed per company in one query (5,000 companies in the register), "
            "the texts, sorted by name in German order")
            .arg(list.model()->rowCount() - 4)
            .arg(same) +
        parts;
    return row;
}

BenchTable::Row WorkspaceBenchmarks::evaluationByCompany() {
    PlainConnection plain(m_largeFile);
    QString company;
    qint64 bookings = 0;
    plain.query("SELECT Firma, COUNT(*) FROM tblBuchung WHERE ProjektID = ? GROUP BY Firma "
                "ORDER BY COUNT(*) DESC, Firma LIMIT 1",
                {m_facts.bigProjectId}, [&](const PlainRow& record) {
                    company = record.text(0);
                    bookings = record.integer(1);
                });
    const QString name = QStringLiteral("l. evaluation by company (%1)").arg(bookings);
    QString failure;
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("l-company"), nullptr, &failure);
    if (!session || showTab(*session, Workspace::EvaluationTabIndex, "ListView3", &failure) < 0)
        return failed(name, failure, false);
    auto* picker = session->find<QComboBox>("cboAuswertungFirma");
    const int index = picker != nullptr ? picker->findText(company) : -1;
    if (index < 0)
        return failed(name, QStringLiteral("company \"%1\" not in cboAuswertungFirma").arg(company), false);
    QTreeView& list = *session->find<QTreeView>("ListView3");
    Measurement::Side ours{nullptr, [&] {
                               return untilPainted(
                                   list,
                                   [picker, index] {
                                       picker->setCurrentIndex(index);
                                       emit picker->activated(index);
                                   },
                                   &failure);
                           }};
    PlainBaseline::EvaluationList plainList;
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::evaluationByCompany(plain, m_facts.bigProjectId,
                                                                                 company, &plainList);
                                   });
                               }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), failure);
    const QString sum = session->find<QLineEdit>("txtTeilsumme")->text();
    const QString count = session->find<QLabel>("lblStatus")->text();
    const bool sameSum = sum == Money::fromCents(plainList.totalCents).toGerman() &&
                         count == QStringLiteral("Buchungen: ") + QString::number(plainList.rows.size());
    const QString same = compareTexts(*list.model(), plainList.rows);
    if (row.error.isEmpty() && !session->dialogs.texts().isEmpty())
        row.error = QStringLiteral("the workspace reported: ") + session->reported();
    if (row.error.isEmpty() && (!same.startsWith(QLatin1String("all ")) || !sameSum))
        row.error = sameSum ? same : QStringLiteral("PARTIAL SUM OR COUNT DIFFER");
    const std::unique_ptr<::Session> data = ::Session::open(m_largeFile);
    QString parts;
    if (data)
        parts = QStringLiteral("; ours: the company's bookings read and summed alone %1").arg(ms(partMs([&] {
            EvaluationResult::of(ProjectLedger(*data).bookingsWith(m_facts.bigProjectId,
                                                                   ProjectLedger::Field::Company, company),
                                 std::nullopt);
        })));
    row.note = QStringLiteral("\"%1\" chosen in cboAuswertungFirma, until ListView3 is painted; %2 rows, %3, "
                              "partial sum %4 and \"%5\" %6; baseline: the company's bookings by instruction "
                              "date, the texts, sorted by running number in German order")
                   .arg(company)
                   .arg(list.model()->rowCount())
                   .arg(same, sum, count, sameSum ? QStringLiteral("the same") : QStringLiteral("DIFFER")) +
               parts;
    return row;
}

BenchTable::Row WorkspaceBenchmarks::evaluationByYear() {
    PlainConnection plain(m_largeFile);
    const QString name = QStringLiteral("m. evaluation by year %1").arg(kEvaluationYear);
    QString failure;
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("m-year"), nullptr, &failure);
    if (!session || showTab(*session, Workspace::EvaluationTabIndex, "ListView3", &failure) < 0)
        return failed(name, failure, false);
    auto* year = session->find<QDateEdit>("dtpJahr");
    if (year == nullptr)
        return failed(name, QStringLiteral("dtpJahr not found"), false);
    QTreeView& list = *session->find<QTreeView>("ListView3");
    // Each run comes from the year before, so the date field changes and runs the evaluation.
    Measurement::Side ours{[&] {
                               year->setDate(QDate(kEvaluationYear - 1, 6, 1));
                               QApplication::processEvents();
                               return true;
                           },
                           [&] {
                               return untilPainted(
                                   list, [year] { year->setDate(QDate(kEvaluationYear, 6, 1)); }, &failure);
                           }};
    PlainBaseline::EvaluationList plainList;
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::evaluationByYear(plain, m_facts.bigProjectId,
                                                                              kEvaluationYear, &plainList);
                                   });
                               }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), failure);
    const QString sum = session->find<QLineEdit>("txtTeilsumme")->text();
    const bool byYear = session->find<QRadioButton>("optJahr")->isChecked();
    const bool sameSum = sum == Money::fromCents(plainList.totalCents).toGerman();
    const QString same = compareTexts(*list.model(), plainList.rows);
    if (row.error.isEmpty() && !session->dialogs.texts().isEmpty())
        row.error = QStringLiteral("the workspace reported: ") + session->reported();
    if (row.error.isEmpty() && (!same.startsWith(QLatin1String("all ")) || !sameSum || !byYear))
        row.error = !byYear ? QStringLiteral("optJahr not chosen")
                            : (sameSum ? same : QStringLiteral("PARTIAL SUM DIFFERS"));
    row.note =
        QStringLiteral("%1 set into dtpJahr (from %2), until ListView3 is painted; %3 rows, %4, partial "
                       "sum %5 %6; baseline: the bookings instructed from 1 January to 31 December by "
                       "running number, the texts, sorted by running number in German order")
            .arg(kEvaluationYear)
            .arg(kEvaluationYear - 1)
            .arg(list.model()->rowCount())
            .arg(same, sum, sameSum ? QStringLiteral("the same") : QStringLiteral("DIFFERS"));
    return row;
}

BenchTable::Row WorkspaceBenchmarks::companyEstimates() {
    PlainConnection plain(m_largeFile);
    const QString company = m_facts.renameCompanyName;
    qint64 estimateRows = 0;
    plain.query("SELECT COUNT(*) FROM tblNachtrag WHERE ProjektID = ? AND Firma = ?",
                {m_facts.bigProjectId, company},
                [&estimateRows](const PlainRow& record) { estimateRows = record.integer(0); });
    const QString name = QStringLiteral("n. List2Fuellen (%1 rows)").arg(estimateRows);
    QString failure;
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("n-estimates"), nullptr, &failure);
    if (!session || showTab(*session, Workspace::CompanyTabIndex, "ListView2", &failure) < 0)
        return failed(name, failure, false);
    auto* picker = session->find<QComboBox>("cboFirmaFirma");
    const int index = picker != nullptr ? picker->findText(company) : -1;
    if (index < 0)
        return failed(name, QStringLiteral("company \"%1\" not in cboFirmaFirma").arg(company), false);
    picker->setCurrentIndex(index);
    emit picker->activated(index);
    QApplication::processEvents();
    QTreeView& list = *session->find<QTreeView>("ListView2");
    Workspace& window = *session->window;
    Measurement::Side ours{nullptr, [&] {
                               return untilPainted(
                                   list, [&window] { window.List2Fuellen(); }, &failure);
                           }};
    PlainBaseline::EstimateList plainList;
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::companyEstimates(plain, m_facts.bigProjectId,
                                                                              company, &plainList);
                                   });
                               }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), failure);
    const QString architect = session->find<QLineEdit>("txtArchitektSumme")->text();
    const QString order = session->find<QLineEdit>("txtAuftragSumme")->text();
    const bool sameSums = architect == Money::fromCents(plainList.architectCents).toGerman() &&
                          order == Money::fromCents(plainList.orderCents).toGerman();
    const QString same = compareTexts(*list.model(), plainList.rows);
    if (row.error.isEmpty() && !session->dialogs.texts().isEmpty())
        row.error = QStringLiteral("the workspace reported: ") + session->reported();
    if (row.error.isEmpty() && (!same.startsWith(QLatin1String("all ")) || !sameSums))
        row.error = sameSums ? same : QStringLiteral("SUMS DIFFER");
    std::unique_ptr<Database> db = Database::open(m_largeFile);
    QString parts;
    if (db)
        parts =
            QStringLiteral("; ours: EstimateRepository::forProjectAndCompany alone %1").arg(ms(partMs([&] {
                EstimateRepository(*db).forProjectAndCompany(m_facts.bigProjectId, company);
            })));
    row.note =
        QStringLiteral("Workspace::List2Fuellen for \"%1\" on the shown company tab, until ListView2 is "
                       "painted; %2 rows, %3, sums %4 / %5 %6; baseline: the company's estimate rows by "
                       "running number, the texts and both sums, sorted by running number in German "
                       "order, descending")
            .arg(company)
            .arg(list.model()->rowCount())
            .arg(same, architect, order, sameSums ? QStringLiteral("the same") : QStringLiteral("DIFFER")) +
        parts;
    return row;
}

QList<BenchTable::Row> WorkspaceBenchmarks::tabSwitches() {
    const struct {
        int tab;
        const char* list;
        const char* name;
        const char* work;
    } switches[] = {
        {Workspace::CompanyTabIndex, "ListView2", "o. tab 1 -> 2 (list to company)",
         "booking list refill (20,000) and the company's estimate rows"},
        {Workspace::EvaluationTabIndex, "ListView3", "o. tab 2 -> 3 (to evaluation)",
         "the evaluation of the chosen company"},
        {Workspace::CostReportTabIndex, "ListView4", "o. tab 3 -> 4 (to cost report)", "the cost report"},
    };
    QString failure;
    std::unique_ptr<Session> session = open(m_largeFile, QStringLiteral("o-tabs"), nullptr, &failure);
    QList<BenchTable::Row> rows;
    if (session && showTab(*session, Workspace::CompanyTabIndex, "ListView2", &failure) >= 0) {
        // The company tab shows the company with 4,000 estimate rows when it is switched to.
        auto* picker = session->find<QComboBox>("cboFirmaFirma");
        const int index = picker != nullptr ? picker->findText(m_facts.renameCompanyName) : -1;
        if (index < 0)
            failure = QStringLiteral("company \"%1\" not in cboFirmaFirma").arg(m_facts.renameCompanyName);
        else
            picker->setCurrentIndex(index);
    }
    if (!session || !failure.isEmpty()) {
        for (const auto& step : switches)
            rows << failed(QString::fromLatin1(step.name), failure, true);
        return rows;
    }
    QList<QList<double>> times(std::size(switches));
    for (int run = 0; run <= m_runs && failure.isEmpty(); ++run) {
        if (showBookings(*session, &failure) < 0)
            break;
        for (size_t i = 0; i < std::size(switches); ++i) {
            const double time = showTab(*session, switches[i].tab, switches[i].list, &failure);
            if (time < 0)
                break;
            times[i] << time;
        }
    }
    if (failure.isEmpty() && !session->dialogs.texts().isEmpty())
        failure = QStringLiteral("the workspace reported: ") + session->reported();
    for (size_t i = 0; i < std::size(switches); ++i) {
        BenchTable::Row row;
        row.name = QString::fromLatin1(switches[i].name);
        row.reportOnly = true;
        row.error = failure;
        if (failure.isEmpty())
            row.oursMs = medianOfRuns(times[i]);
        row.note =
            QStringLiteral("setCurrentIndex(%1) until %2 is painted, each run starting from the booking "
                           "list; runs %3; %4 rows shown")
                .arg(switches[i].tab)
                .arg(QLatin1String(switches[i].list), QLatin1String(switches[i].work))
                .arg(session->find<QTreeView>(switches[i].list)->model()->rowCount());
        rows << row;
    }
    return rows;
}

BenchTable::Row WorkspaceBenchmarks::chartsTab() {
    const QString name = QStringLiteral("v. chart tab until painted / cost report");
    QString failure;
    std::unique_ptr<Session> charts = open(m_largeFile, QStringLiteral("u-charts"), nullptr, &failure);
    std::unique_ptr<Session> report = open(m_largeFile, QStringLiteral("u-report"), nullptr, &failure);
    if (!charts || !report || showTab(*report, Workspace::CostReportTabIndex, "ListView4", &failure) < 0)
        return failed(name, failure, false);
    auto* tabs = charts->find<QTabWidget>("SSTab1");
    // The charts' module is loaded, and its views made, when the tab is first shown: once, untimed.
    if (tabs != nullptr) {
        tabs->setCurrentIndex(Workspace::ChartsTabIndex);
        QApplication::processEvents();
    }
    auto* companies = charts->find<QChartView>("chtKostenbericht");
    auto* outflow = charts->find<QChartView>("chtMittelabfluss");
    if (tabs == nullptr || companies == nullptr || outflow == nullptr)
        return failed(name, QStringLiteral("SSTab1 or the chart views not found"), false);
    QTreeView& list = *report->find<QTreeView>("ListView4");
    Workspace& window = *report->window;
    Measurement::Side ours{[tabs] {
                               tabs->setCurrentIndex(Workspace::EntryTabIndex);
                               QApplication::processEvents();
                               return true;
                           },
                           [&] {
                               EventCounter first(companies->viewport(), QEvent::Paint);
                               EventCounter second(outflow->viewport(), QEvent::Paint);
                               QElapsedTimer timer;
                               timer.start();
                               tabs->setCurrentIndex(Workspace::ChartsTabIndex);
                               if (!first.waitUntil(1, kPaintTimeoutMs) ||
                                   !second.waitUntil(1, kPaintTimeoutMs)) {
                                   failure = QStringLiteral("the charts were not painted within 10 s");
                                   return -1.0;
                               }
                               return msSince(timer);
                           }};
    Measurement::Side baseline{nullptr, [&] {
                                   return untilPainted(
                                       list, [&window] { window.KostenberichtEinlesen(); }, &failure);
                               }};
    BenchTable::Row row = rowFrom(name, Measurement::compare(m_runs, ours, baseline), failure);
    row.limit = 2.0;
    for (Session* session : {charts.get(), report.get()})
        if (row.error.isEmpty() && !session->dialogs.texts().isEmpty())
            row.error = QStringLiteral("the workspace reported: ") + session->reported();
    const auto* tab = charts->window->findChild<ChartsTab*>();
    const int bars = tab ? int(ChartSeries::companyBars(tab->report()).size()) : 0;
    const int months = tab ? int(ChartSeries::outflow(tab->report()).size()) : 0;
    row.note =
        QStringLiteral("project %1: the tab switch reads the cost report afresh and draws both charts "
                       "(%2 company groups, %3 months), until both have been painted; baseline: "
                       "KostenberichtEinlesen on the shown cost report until ListView4 has been painted")
            .arg(m_facts.bigProjectId)
            .arg(bars)
            .arg(months);
    return row;
}

BenchTable::Row WorkspaceBenchmarks::bookingWarnings() {
    const QString name = QStringLiteral("w. Buchen with warnings / without");
    // On the server the bookings go into the benchmark's own copy; a file is copied first.
    const bool server = PlainConnection::isServerAddress(m_largeFile);
    const QString file = server ? m_largeFile : workFile(QStringLiteral("booking-warnings.mdb"));
    if (!server) {
        QFile::remove(file);
        if (!QFile::copy(m_largeFile, file))
            return failed(name, QStringLiteral("cannot copy the large file to ") + file, false);
    }
    // A company of the project without orders, so that no warning is asked.
    QString company;
    {
        PlainConnection plain(file);
        plain.query(
            "SELECT Name FROM tblFirma WHERE lower(Name) NOT IN (SELECT lower(Firma) FROM tblNachtrag "
            "WHERE ProjektID = ?1) AND lower(Name) IN (SELECT lower(Firma) FROM tblBuchung WHERE "
            "ProjektID = ?1) AND GewerkID <> '' ORDER BY ID LIMIT 1",
            {m_facts.bigProjectId}, [&company](const PlainRow& record) { company = record.text(0); });
    }
    QString failure;
    std::unique_ptr<Session> session = open(file, QStringLiteral("v-booking"), nullptr, &failure);
    if (!session)
        return failed(name, failure, false);
    auto* picker = session->find<QComboBox>("cboFirma");
    const int index = picker != nullptr ? picker->findText(company) : -1;
    if (index < 0)
        return failed(name, QStringLiteral("company \"%1\" not in the picker").arg(company), false);
    picker->setCurrentIndex(index);
    emit picker->activated(index);
    QApplication::processEvents();
    const std::unique_ptr<::Session> checking = ::Session::open(file);
    if (!checking)
        return failed(name, QStringLiteral("cannot open ") + file, false);
    Booking candidate;
    candidate.projectId = m_facts.bigProjectId;
    candidate.company = company;
    candidate.amount = Money::fromCents(123450);
    const auto prepare = [&session] {
        session->find<QComboBox>("cboZahlungsart")->setCurrentIndex(1);
        session->find<QLineEdit>("txtRechnungsNr")->setText(nextBenchInvoiceNumber());
        session->find<QLineEdit>("txtBetrag")->setText(QStringLiteral("1.234,50"));
        QApplication::processEvents();
        return true;
    };
    QList<double> bookings;
    QList<double> checks;
    Measurement::Side ours{prepare, [&] {
                               const double ms = Measurement::timed([&session] {
                                   QTest::mouseClick(session->find<QPushButton>("cmdBuchen"), Qt::LeftButton);
                                   QApplication::processEvents();
                                   return session->dialogs.texts().isEmpty();
                               });
                               bookings << ms;
                               return ms;
                           }};
    Measurement::Side checksAlone{
        prepare, [&] {
            candidate.invoiceNumber = nextBenchInvoiceNumber();
            const double ms = Measurement::timed([&] {
                return BookingChecks(*checking).warnings(candidate, std::nullopt, std::nullopt).isEmpty();
            });
            checks << ms;
            return ms;
        }};
    const Measurement::Outcome outcome = Measurement::compare(m_runs, ours, checksAlone);
    BenchTable::Row row = rowFrom(name, outcome, failure);
    row.limit = 1.2;
    if (row.error.isEmpty() && !session->dialogs.texts().isEmpty())
        row.error = QStringLiteral("the workspace reported: ") + session->reported();
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.oursMs - outcome.baselineMs;
    row.note =
        QStringLiteral("each run books 1.234,50 for \"%1\" (no orders, so nothing is asked) into project "
                       "%2 and the workspace refills its lists; baseline column: the same booking less "
                       "the median time of the warnings' checks alone (BookingChecks::warnings on the "
                       "same file: the company's bookings and estimate rows, the project's payments, "
                       "its budget) = %3")
            .arg(company, m_facts.bigProjectId, ms(outcome.baselineMs));
    return row;
}
