#pragma once

#include "BenchTable.h"
#include "LargeOfficeGenerator.h"
#include "ListSnapshot.h"

#include <memory>
#include <QList>
#include <QString>

class Session;

// Benchmarks of the workspace window on the big project of the large database: opening the project up
// to the shown booking list, the list's fill, sorting it by a heading, one keystroke of the booking
// entry's company search and one booking. The opening is compared with the plain typed read of the
// project's rows, the fill and the search with plain SQLite building the same texts; the sorting and the
// booking are reported.
class WorkspaceBenchmarks {
public:
    WorkspaceBenchmarks(QString largeFile, LargeOfficeGenerator::Facts facts, QString workFolder, int runs);
    ~WorkspaceBenchmarks();

    // g: the whole opening and the booking list's fill on the shown window.
    QList<BenchTable::Row> projectOpening();
    // h: one click on the heading "Betrag", one on "Anweisung vom" (reported).
    QList<BenchTable::Row> listSorting();
    // i: one keystroke into txtSuchen over the whole register.
    BenchTable::Row companySearchKeystroke();
    // j: one "&Buchen" with the whole register, against a copy whose register is cut (reported).
    BenchTable::Row booking();
    // k: the cost report's refill on its shown tab.
    BenchTable::Row costReport();
    // l: the evaluation of the company with the most bookings in the project, chosen in its picker.
    BenchTable::Row evaluationByCompany();
    // m: the evaluation of one year of instruction, set into its date field.
    BenchTable::Row evaluationByYear();
    // n: the company tab's List2Fuellen for the company with 4,000 estimate rows.
    BenchTable::Row companyEstimates();
    // u: the chart tab of the big project until both charts are painted, against the cost report's
    // refill on its shown tab.
    BenchTable::Row chartsTab();
    // v: one "&Buchen" with the warnings' checks, against the same booking less the time of those checks.
    BenchTable::Row bookingWarnings();
    // o: the switches from the booking list to the company tab, the evaluation and the cost report
    // (reported).
    QList<BenchTable::Row> tabSwitches();

    // What the big project's booking list hands over for printing, read from its shown tab; empty (and
    // error set) when the workspace cannot show it.
    ListSnapshot bookingsSnapshot(QString* error) const;

    static constexpr int kEvaluationYear = 2020;

    static constexpr const char* kSearchText = "er";
    static constexpr int kCutRegisterCompanies = 500;
    static constexpr double kLimit = 3.0;
    // The opening of the big project against the plain typed read of its rows.
    static constexpr double kOpeningLimit = 2.0;

private:
    struct Session;
    struct Phases {
        double builtMs = 0;
        double shownMs = 0;
        double activatedMs = 0;
    };

    // A workspace on file with its own settings file in the work folder, the project set, shown and
    // activated; nullptr (and error set) when it cannot open the file.
    // With shared, the workspace uses that session (the program's, opened before any project) instead of
    // opening one of its own.
    std::unique_ptr<Session> open(const QString& file, const QString& settingsName, Phases* phases,
                                  QString* error, ::Session* shared = nullptr) const;
    // Switches to the booking list and processes events until the list has been painted; its time in
    // milliseconds, or -1.
    static double showBookings(Session& session, QString* error);
    // Switches to tab and processes events until its list has been painted; its time in milliseconds,
    // or -1.
    static double showTab(Session& session, int tab, const char* listName, QString* error);
    BenchTable::Row sortByHeading(Session& session, const QString& heading);
    QString workFile(const QString& name) const;

    QString m_largeFile;
    LargeOfficeGenerator::Facts m_facts;
    QString m_projectName;
    QString m_workFolder;
    int m_runs;
};
