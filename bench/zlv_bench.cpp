// Measures the program's operations on a large office database against plain SQLite and a minimal Qt
// program, and prints one table with the medians, their ratios and the limits.

#include "AuditExportBenchmark.h"
#include "BenchTable.h"
#include "CompanyRegisterBenchmarks.h"
#include "Database.h"
#include "EInvoiceBenchmarks.h"
#include "ExportBenchmark.h"
#include "ImportBenchmark.h"
#include "Journal.h"
#include "JournalBenchmarks.h"
#include "JournalListBenchmark.h"
#include "LargeOfficeGenerator.h"
#include "PaymentBenchmark.h"
#include "PrintBenchmarks.h"
#include "ProjectListBenchmark.h"
#include "ScaleBenchmark.h"
#include "ServerBenchmarks.h"
#include "SignOffBenchmarks.h"
#include "StartupBenchmark.h"
#include "StoreBenchmarks.h"
#include "WorkspaceBenchmarks.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>

namespace {

struct Options {
    QString database;
    QString accessFile = QStringLiteral(ZLV_BENCH_ACCESS_FILE);
    int runs = 0;        // 0: each benchmark's own number of runs
    QString only;        // the letters of the benchmarks to run; empty: all
    bool server = false; // the screens and the store on the server of the libpq environment
    bool scale = false;  // a, g, k, l and u on the large database and on one ten times its size
    QString scaleDatabase;
    bool valid = true;
};

Options parse(const QStringList& args) {
    Options options;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--db") && i + 1 < args.size())
            options.database = args.at(++i);
        else if (arg == QLatin1String("--access") && i + 1 < args.size())
            options.accessFile = args.at(++i);
        else if (arg == QLatin1String("--runs") && i + 1 < args.size())
            options.runs = args.at(++i).toInt();
        else if (arg == QLatin1String("--only") && i + 1 < args.size())
            options.only = args.at(++i);
        else if (arg == QLatin1String("--server"))
            options.server = true;
        else if (arg == QLatin1String("--scale"))
            options.scale = true;
        else if (arg == QLatin1String("--scale-db") && i + 1 < args.size())
            options.scaleDatabase = args.at(++i);
        else
            options.valid = false;
    }
    return options;
}

void progress(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

constexpr int kScaleFactor = 10;

// The scale benchmark: the large database against one with ten times its bookings, generated where
// --scale-db names a file that does not exist yet (or in the temp folder without --scale-db).
int runScale(const Options& options, const QString& largeFile, const LargeOfficeGenerator::Facts& largeFacts,
             const QTemporaryDir& work) {
    const QString scaleFile =
        options.scaleDatabase.isEmpty() ? work.filePath(QStringLiteral("scale.mdb")) : options.scaleDatabase;
    QString error;
    if (!QFileInfo::exists(scaleFile)) {
        progress(QStringLiteral("generating %1 (factor %2) ...").arg(scaleFile).arg(kScaleFactor));
        QElapsedTimer timer;
        timer.start();
        if (!LargeOfficeGenerator::generate(scaleFile, nullptr, &error, kScaleFactor)) {
            progress(QStringLiteral("generation failed: ") + error);
            return 1;
        }
        progress(QStringLiteral("generated in %1 ms").arg(timer.elapsed()));
    }
    ScaleBenchmark::Size small{largeFile, largeFile, largeFacts};
    ScaleBenchmark::Size big{scaleFile, scaleFile, {}};
    if (!LargeOfficeGenerator::readFacts(scaleFile, &big.facts, &error)) {
        progress(QStringLiteral("cannot read %1: %2").arg(scaleFile, error));
        return 1;
    }
    const QString largeSchema = QStringLiteral("zlv_bench_large");
    const QString scaleSchema = QStringLiteral("zlv_bench_scale");
    if (options.server) {
        progress(QStringLiteral("copying %1 and %2 onto the server ...").arg(largeFile, scaleFile));
        small.location = ServerBenchmarks::largeOnServer(largeFile, largeSchema, &error);
        if (!small.location.isEmpty())
            big.location = ServerBenchmarks::largeOnServer(scaleFile, scaleSchema, &error);
        if (small.location.isEmpty() || big.location.isEmpty()) {
            progress(QStringLiteral("cannot copy the databases onto the server: ") + error);
            ServerBenchmarks::dropSchema(largeSchema);
            ServerBenchmarks::dropSchema(scaleSchema);
            return 1;
        }
    }
    BenchTable table;
    progress(QStringLiteral("running the scale benchmark ..."));
    for (BenchTable::Row row :
         ScaleBenchmark(small, big, work.path(), options.runs > 0 ? options.runs : 5).measure(options.only)) {
        if (options.server)
            row.name += QStringLiteral(", server");
        table.add(row);
    }
    if (options.server) {
        ServerBenchmarks::dropSchema(largeSchema);
        ServerBenchmarks::dropSchema(scaleSchema);
    }
    std::printf("\nZelvora scale benchmark (build type %s, medians; growth lines: the big size's time "
                "against the small size's)\n\n%s",
                ZLV_BENCH_BUILD_TYPE, qPrintable(table.text()));
    if (table.failures() > 0)
        std::printf("\n%d line(s) FAIL their limit (or could not be measured).\n", table.failures());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const Options options = parse(QApplication::arguments());
    if (!options.valid) {
        std::fputs("Aufruf: zlv_bench [--db <große Datenbank>] [--access <Access-Datei>] [--runs N] [--only "
                   "abcdefghijklmnopqrstuvwxyz] [--server]\n"
                   "       zlv_bench --scale [--db <große Datenbank>] [--scale-db <zehnfache Datenbank>] "
                   "[--runs N] [--only agklu] [--server]\n",
                   stderr);
        return 2;
    }
    const QString buildType = QStringLiteral(ZLV_BENCH_BUILD_TYPE);
    if (buildType != QLatin1String("Release"))
        progress(QStringLiteral("WARNING: build type \"%1\"; measure with a Release build.").arg(buildType));

    QTemporaryDir work;
    if (!work.isValid()) {
        progress(QStringLiteral("cannot create a temporary folder"));
        return 1;
    }
    QString largeFile = options.database;
    QString error;
    LargeOfficeGenerator::Facts facts;
    if (largeFile.isEmpty()) {
        largeFile = work.filePath(QStringLiteral("large.mdb"));
        progress(QStringLiteral("generating %1 ...").arg(largeFile));
        QElapsedTimer timer;
        timer.start();
        if (!LargeOfficeGenerator::generate(largeFile, &facts, &error)) {
            progress(QStringLiteral("generation failed: ") + error);
            return 1;
        }
        progress(QStringLiteral("generated in %1 ms").arg(timer.elapsed()));
    }
    if (!LargeOfficeGenerator::readFacts(largeFile, &facts, &error)) {
        progress(QStringLiteral("cannot read %1: %2").arg(largeFile, error));
        return 1;
    }
    progress(QStringLiteral("big project %1; rename company %2 \"%3\"")
                 .arg(facts.bigProjectId)
                 .arg(facts.renameCompanyId)
                 .arg(facts.renameCompanyName));
    if (options.scale)
        return runScale(options, largeFile, facts, work);

    // With --server the benchmarks that read or write through the store run on a copy of the large file
    // on the server, their baselines through libpq on the same server; the others work on files or on
    // a list already filled, and are left out.
    const QString serverLetters = QStringLiteral("abcdefghiklmnouvwsyzADJLP");
    const QString largeSchema = QStringLiteral("zlv_bench_large");
    const QString copySchema = QStringLiteral("zlv_bench_copy");
    auto selected = [&options](QChar letter) {
        return options.only.isEmpty() || options.only.contains(letter);
    };
    QString location = largeFile;
    QString copyLocation;
    if (options.server) {
        progress(QStringLiteral("copying %1 onto the server ...").arg(largeFile));
        location = ServerBenchmarks::largeOnServer(largeFile, largeSchema, &error);
        if (!location.isEmpty() && (selected(QLatin1Char('e')) || selected(QLatin1Char('J'))))
            copyLocation = ServerBenchmarks::largeOnServer(largeFile, copySchema, &error);
        if (location.isEmpty() ||
            ((selected(QLatin1Char('e')) || selected(QLatin1Char('J'))) && copyLocation.isEmpty())) {
            progress(QStringLiteral("cannot copy the large database onto the server: ") + error);
            return 1;
        }
        // The plain baselines on the copy write without the journal, as a plain transaction would.
        if (!copyLocation.isEmpty()) {
            const std::unique_ptr<Database> copy = Database::open(copyLocation);
            if (!copy || !Journal(*copy).suspend()) {
                progress(QStringLiteral("cannot set the copy's journal aside"));
                return 1;
            }
        }
    }
    auto runs = [&options](int own) { return options.runs > 0 ? options.runs : own; };
    StoreBenchmarks store(location, facts, work.path(), runs(5));
    StoreBenchmarks storeQuick(location, facts, work.path(), runs(7));
    store.setServerCopy(copyLocation);
    CompanyRegisterBenchmarks screens(location, runs(7));
    StartupBenchmark startup(QApplication::applicationDirPath(), work.filePath(QStringLiteral("startup")),
                             runs(5));
    if (options.server)
        startup.setServer(location);
    WorkspaceBenchmarks workspace(location, facts, work.path(), runs(5));
    WorkspaceBenchmarks workspaceQuick(location, facts, work.path(), runs(7));
    ExportBenchmark exports(largeFile, facts, work.path(), runs(7));
    std::unique_ptr<PrintBenchmarks> printing;
    auto print = [&]() -> PrintBenchmarks& {
        if (!printing) {
            QString error;
            ListSnapshot bookings = workspace.bookingsSnapshot(&error);
            printing = std::make_unique<PrintBenchmarks>(std::move(bookings), error, work.path(), runs(3));
        }
        return *printing;
    };
    using Rows = QList<BenchTable::Row>;
    const QList<QPair<QChar, std::function<Rows()>>> benchmarks = {
        {QLatin1Char('a'), [&] { return Rows{storeQuick.projectBookings()}; }},
        {QLatin1Char('b'), [&] { return Rows{store.backupWithCompaction()}; }},
        {QLatin1Char('c'), [&] { return Rows{screens.listFill()}; }},
        {QLatin1Char('d'), [&] { return Rows{screens.searchKeystroke()}; }},
        {QLatin1Char('e'), [&] { return Rows{store.companyRename()}; }},
        {QLatin1Char('f'), [&] { return Rows{startup.measure()}; }},
        {QLatin1Char('g'), [&] { return workspace.projectOpening(); }},
        {QLatin1Char('h'), [&] { return workspaceQuick.listSorting(); }},
        {QLatin1Char('i'), [&] { return Rows{workspaceQuick.companySearchKeystroke()}; }},
        {QLatin1Char('j'), [&] { return Rows{workspaceQuick.booking()}; }},
        {QLatin1Char('k'), [&] { return Rows{workspaceQuick.costReport()}; }},
        {QLatin1Char('l'), [&] { return Rows{workspaceQuick.evaluationByCompany()}; }},
        {QLatin1Char('m'), [&] { return Rows{workspaceQuick.evaluationByYear()}; }},
        {QLatin1Char('n'), [&] { return Rows{workspaceQuick.companyEstimates()}; }},
        {QLatin1Char('o'), [&] { return workspaceQuick.tabSwitches(); }},
        {QLatin1Char('p'), [&] { return Rows{print().pdfFile()}; }},
        {QLatin1Char('q'), [&] { return Rows{print().preview()}; }},
        {QLatin1Char('r'), [&] { return Rows{exports.bookingListExport()}; }},
        {QLatin1Char('s'),
         [&] { return Rows{ServerBenchmarks(largeFile, work.path(), runs(3)).transfer()}; }},
        {QLatin1Char('t'),
         [&] { return Rows{ImportBenchmark(options.accessFile, work.path(), runs(3)).accessImport()}; }},
        {QLatin1Char('u'), [&] { return Rows{ProjectListBenchmark(location, runs(7)).listFill()}; }},
        {QLatin1Char('v'), [&] { return Rows{workspaceQuick.chartsTab()}; }},
        {QLatin1Char('L'),
         [&] { return Rows{JournalListBenchmark(location, work.path(), runs(5)).listFill()}; }},
        {QLatin1Char('w'), [&] { return Rows{workspaceQuick.bookingWarnings()}; }},
        {QLatin1Char('J'),
         [&] {
             QString ours = location;
             QString plain = copyLocation;
             if (!options.server) {
                 ours = work.filePath(QStringLiteral("journal-ours.mdb"));
                 plain = work.filePath(QStringLiteral("journal-plain.mdb"));
                 QFile::remove(ours);
                 QFile::remove(plain);
                 QFile::copy(largeFile, ours);
                 QFile::copy(largeFile, plain);
             }
             return JournalBenchmarks(ours, plain, facts, runs(7)).measure();
         }},
        {QLatin1Char('A'), [&] { return SignOffBenchmarks(location, work.path(), runs(7)).measure(); }},
        {QLatin1Char('D'),
         [&] { return PaymentBenchmark(location, facts, work.path(), runs(7)).bookingWithDeductions(); }},
        {QLatin1Char('P'),
         [&] { return Rows{AuditExportBenchmark(location, work.path(), runs(5)).wholeDatabase()}; }},
        {QLatin1Char('z'), [&] { return ServerBenchmarks(largeFile, work.path(), runs(7)).listsOnServer(); }},
        {QLatin1Char('y'),
         [&] { return ServerBenchmarks(largeFile, work.path(), runs(1)).bookingAmongBookers(); }},
        {QLatin1Char('x'),
         [&] {
             EInvoiceBenchmarks invoices(QStringLiteral(ZLV_XRECHNUNG_FIXTURES), work.path(), runs(7));
             return invoices.openAndShow() << invoices.hostileFiles();
         }},
    };
    BenchTable table;
    for (const auto& [letter, benchmark] : benchmarks) {
        if (!selected(letter) || (options.server && !serverLetters.contains(letter)))
            continue;
        progress(QStringLiteral("running %1 ...").arg(letter));
        for (BenchTable::Row row : benchmark()) {
            if (options.server && !row.name.contains(QLatin1String("server")))
                row.name += QStringLiteral(", server");
            table.add(row);
        }
    }
    if (options.server) {
        ServerBenchmarks::dropSchema(largeSchema);
        ServerBenchmarks::dropSchema(copySchema);
    }
    std::printf("\nZelvora benchmarks (build type %s, medians)\n\n%s", qPrintable(buildType),
                qPrintable(table.text()));
    if (table.failures() > 0)
        std::printf("\n%d benchmark(s) FAIL their limit (or could not be measured).\n", table.failures());
    return 0;
}
