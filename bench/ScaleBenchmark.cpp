#include "ScaleBenchmark.h"

#include "Measurement.h"
#include "PlainBaseline.h"
#include "PlainConnection.h"
#include "ProjectListBenchmark.h"
#include "RecordingDialogs.h"
#include "Session.h"
#include "Settings.h"
#include "StoreBenchmarks.h"
#include "Workspace.h"
#include "WorkspaceBenchmarks.h"

#include <algorithm>
#include <functional>
#include <malloc.h>
#include <memory>
#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTabWidget>
#include <QTreeView>
#include <unistd.h>

namespace {

constexpr int kPaintTimeoutMs = 60000;
constexpr int kMemoryRuns = 3;

QString count(qint64 value) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(value);
}

QString ms(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

QString mb(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" MB");
}

// The resident memory of this process in MB, after freed heap has been handed back to the system; -1
// when the system cannot tell.
double residentMb() {
    malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    bool ok = false;
    const qint64 pages = fields.value(1).toLongLong(&ok);
    return ok ? double(pages) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : -1;
}

// Counts the paint events that reach a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QObject* watched) { watched->installEventFilter(this); }
    // Processes events until a paint has arrived or the time is up.
    bool waitForPaint() {
        QElapsedTimer timer;
        timer.start();
        while (m_count == 0 && timer.elapsed() < kPaintTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return m_count > 0;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++m_count;
        return false;
    }

private:
    int m_count = 0;
};

// A workspace window with the big project opened as a clerk opens it: built, project set, shown,
// activated, the booking list's tab chosen and painted.
struct OpenedProject {
    RecordingDialogs dialogs;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<Session> own;
    Session* data = nullptr;
    std::unique_ptr<Workspace> window;

    ~OpenedProject() {
        if (window)
            window->close();
        window.reset();
    }
    int rowsShown() const {
        const auto* list = window->findChild<QTreeView*>(QStringLiteral("ListView1"));
        return list != nullptr ? list->model()->rowCount() : -1;
    }
};

std::unique_ptr<OpenedProject> openProject(const QString& location, const QString& settingsFile,
                                           const QString& projectId, const QString& projectName,
                                           QString* error, Session* shared = nullptr) {
    auto opened = std::make_unique<OpenedProject>();
    opened->settings = std::make_unique<Settings>(settingsFile);
    if (shared == nullptr)
        opened->own = Session::open(location, error);
    opened->data = shared != nullptr ? shared : opened->own.get();
    if (!opened->data) {
        *error = QStringLiteral("the workspace cannot open the file: ") + *error;
        return nullptr;
    }
    opened->window = std::make_unique<Workspace>(*opened->data, opened->dialogs, *opened->settings);
    opened->window->setProject(projectId, projectName);
    opened->window->show();
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(opened->window.get(), &activation);
    auto* tabs = opened->window->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    auto* list = opened->window->findChild<QTreeView*>(QStringLiteral("ListView1"));
    if (tabs == nullptr || list == nullptr) {
        *error = QStringLiteral("SSTab1 or ListView1 not found");
        return nullptr;
    }
    PaintCounter painted(list->viewport());
    tabs->setCurrentIndex(Workspace::BookingsTabIndex);
    if (!painted.waitForPaint()) {
        *error = QStringLiteral("ListView1 was not painted within 60 s");
        return nullptr;
    }
    if (!opened->dialogs.texts().isEmpty()) {
        *error =
            QStringLiteral("the workspace reported: ") + opened->dialogs.texts().join(QStringLiteral(" | "));
        return nullptr;
    }
    return opened;
}

struct ProjectFacts {
    QString name;
    qint64 bookings = 0;
};

ProjectFacts projectFacts(const QString& location, const QString& projectId) {
    ProjectFacts facts;
    PlainConnection plain(location);
    plain.query("SELECT ProjektName, (SELECT COUNT(*) FROM tblBuchung WHERE ProjektID = ?) FROM tblProjekt "
                "WHERE CAST(ID AS TEXT) = ?",
                {projectId, projectId}, [&facts](const PlainRow& record) {
                    facts.name = record.text(0);
                    facts.bookings = record.integer(1);
                });
    return facts;
}

} // namespace

QList<BenchTable::Row> ScaleBenchmark::measure(const QString& letters) {
    auto selected = [&letters](char letter) {
        return letters.isEmpty() || letters.contains(QLatin1Char(letter));
    };
    const qint64 smallBookings = projectFacts(m_small.location, m_small.facts.bigProjectId).bookings;
    const qint64 bigBookings = projectFacts(m_big.location, m_big.facts.bigProjectId).bookings;
    const double sizeRatio = smallBookings > 0 ? double(bigBookings) / double(smallBookings) : 0;
    auto atSize = [](BenchTable::Row row, const QString& label, qint64 bookings) {
        row.name = QStringLiteral("%1, %2").arg(label, count(bookings));
        return row;
    };
    QList<BenchTable::Row> rows;
    auto both = [&](char letter, const QString& label, double limit,
                    const std::function<BenchTable::Row(const Size&)>& run) {
        if (!selected(letter))
            return;
        const BenchTable::Row small = atSize(run(m_small), label, smallBookings);
        const BenchTable::Row big = atSize(run(m_big), label, bigBookings);
        rows << small << big << growth(label + QStringLiteral(", growth"), small, big, limit);
    };
    const QString folder = m_workFolder;
    const int runs = m_runs;
    both('a', QStringLiteral("a. project bookings"), sizeRatio, [&](const Size& size) {
        return StoreBenchmarks(size.location, size.facts, folder, runs).projectBookings();
    });
    if (selected('g')) {
        const BenchTable::Row small = opening(m_small, false);
        const BenchTable::Row big = opening(m_big, true);
        rows << small << big << growth(QStringLiteral("g. open project, growth"), small, big, sizeRatio)
             << memory(m_big);
    }
    both('k', QStringLiteral("k. cost report"), sizeRatio, [&](const Size& size) {
        return WorkspaceBenchmarks(size.location, size.facts, folder, runs).costReport();
    });
    both('l', QStringLiteral("l. evaluation by company"), sizeRatio, [&](const Size& size) {
        return WorkspaceBenchmarks(size.location, size.facts, folder, runs).evaluationByCompany();
    });
    both('u', QStringLiteral("u. project list"), sizeRatio,
         [&](const Size& size) { return ProjectListBenchmark(size.location, runs).listFill(); });
    return rows;
}

BenchTable::Row ScaleBenchmark::opening(const Size& size, bool judged) const {
    const ProjectFacts project = projectFacts(size.location, size.facts.bigProjectId);
    BenchTable::Row row;
    row.name = QStringLiteral("g. open project, %1").arg(count(project.bookings));
    row.limit = kOpeningLimit;
    row.reportOnly = !judged;
    PlainConnection plain(size.location);
    if (!plain.isOpen()) {
        row.error = QStringLiteral("cannot open ") + size.location;
        return row;
    }
    const QString settingsFile = QDir(m_workFolder).filePath(QStringLiteral("scale-g.ini"));
    QString failure;
    int rowsShown = -1;
    // The program opens its session with the start menu, before any project; so does the benchmark.
    const std::unique_ptr<Session> session = Session::open(size.location, &failure);
    Measurement::Side ours{nullptr, [&]() -> double {
                               QElapsedTimer timer;
                               timer.start();
                               std::unique_ptr<OpenedProject> opened =
                                   openProject(size.location, settingsFile, size.facts.bigProjectId,
                                               project.name, &failure, session.get());
                               const double time = double(timer.nsecsElapsed()) / 1e6;
                               if (!opened)
                                   return -1;
                               rowsShown = opened->rowsShown();
                               return time;
                           }};
    QList<Booking> plainRows;
    Measurement::Side baseline{nullptr, [&] {
                                   return Measurement::timed([&] {
                                       return PlainBaseline::projectBookings(plain, size.facts.bigProjectId,
                                                                             &plainRows);
                                   });
                               }};
    const Measurement::Outcome outcome = Measurement::compare(m_runs, ours, baseline);
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    if (!row.error.isEmpty() && !failure.isEmpty())
        row.error += QStringLiteral(" (") + failure + QLatin1Char(')');
    if (row.error.isEmpty() && rowsShown != plainRows.size())
        row.error =
            QStringLiteral("ROW COUNTS DIFFER (%1 shown / %2 read)").arg(rowsShown).arg(plainRows.size());
    QList<PlainBaseline::BookingListRow> listRows;
    qint64 total = 0;
    const double listMs = Measurement::timed(
        [&] { return PlainBaseline::bookingList(plain, size.facts.bigProjectId, &listRows, &total); });
    row.note =
        QStringLiteral("ours: the workspace built, project %1 set, shown, activated, the booking list's "
                       "tab chosen, until the list has been painted (%2 rows shown); baseline: the "
                       "project's %3 bookings read plainly into typed Booking rows; the plain list "
                       "with its texts, sum and order (g's fill baseline) took %4 once")
            .arg(size.facts.bigProjectId)
            .arg(rowsShown)
            .arg(plainRows.size())
            .arg(ms(listMs));
    return row;
}

BenchTable::Row ScaleBenchmark::memory(const Size& size) const {
    const ProjectFacts project = projectFacts(size.location, size.facts.bigProjectId);
    BenchTable::Row row;
    row.name = QStringLiteral("g. booking list memory MB, %1").arg(count(project.bookings));
    row.limit = kMemoryLimit;
    PlainConnection plain(size.location);
    if (!plain.isOpen()) {
        row.error = QStringLiteral("cannot open ") + size.location;
        return row;
    }
    const QString settingsFile = QDir(m_workFolder).filePath(QStringLiteral("scale-memory.ini"));
    QList<double> oursMb;
    QList<double> plainMb;
    QList<double> oursPeakMb;
    QList<double> plainPeakMb;
    qsizetype plainRowCount = 0;
    for (int run = 0; run < kMemoryRuns && row.error.isEmpty(); ++run) {
        std::unique_ptr<OpenedProject> opened;
        oursPeakMb << Measurement::peakMb([&] {
            const double before = residentMb();
            opened =
                openProject(size.location, settingsFile, size.facts.bigProjectId, project.name, &row.error);
            QApplication::processEvents();
            oursMb << residentMb() - before;
            return opened != nullptr;
        });
        opened.reset();
        QList<Booking> rows;
        plainPeakMb << Measurement::peakMb([&] {
            const double before = residentMb();
            if (!PlainBaseline::projectBookings(plain, size.facts.bigProjectId, &rows)) {
                row.error = QStringLiteral("the plain read failed: ") + plain.lastError();
                return false;
            }
            plainMb << residentMb() - before;
            return true;
        });
        plainRowCount = rows.size();
    }
    row.oursMs = Measurement::median(oursMb);
    row.baselineMs = Measurement::median(plainMb);
    row.note =
        QStringLiteral("the rise of the resident memory (/proc/self/statm, freed heap handed back) kept "
                       "by the opened project with its booking list painted, against the %1 plain "
                       "typed Booking rows kept in a list (sizeof(Booking) %2 bytes); median of %3; "
                       "peak rise ours %4, plain %5")
            .arg(plainRowCount)
            .arg(sizeof(Booking))
            .arg(kMemoryRuns)
            .arg(mb(Measurement::median(oursPeakMb)), mb(Measurement::median(plainPeakMb)));
    return row;
}

BenchTable::Row ScaleBenchmark::growth(const QString& name, const BenchTable::Row& small,
                                       const BenchTable::Row& big, double limit) const {
    BenchTable::Row row;
    row.name = name;
    row.oursMs = big.oursMs;
    row.baselineMs = small.oursMs;
    if (!small.error.isEmpty() || !big.error.isEmpty())
        row.error = QStringLiteral("not measured at both sizes");
    // Linear is growing as the rows grow, or as the plain read of the same rows grew on this machine where
    // that grew faster (its rows falling out of the caches that held the small size's): a program that
    // reads each row once grows as the plain read of them does.
    const double plainGrowth = small.baselineMs > 0 ? big.baselineMs / small.baselineMs : 0;
    row.limit = std::max(limit, plainGrowth);
    row.note =
        QStringLiteral("ours column: the program at the big size, base column: the program at the small "
                       "size; limit %1x: the rows grew %2x, the baseline %3x (%4 / %5)")
            .arg(row.limit, 0, 'f', 2)
            .arg(limit, 0, 'f', 2)
            .arg(plainGrowth, 0, 'f', 2)
            .arg(ms(big.baselineMs), ms(small.baselineMs));
    return row;
}
