#pragma once

#include <QString>

// Writes the large office database that the benchmarks measure: 300 projects, 5,000 companies,
// 120 trades, 70 cost groups, 200,000 bookings (20,000 of them in one project) and 40,000 estimate
// rows, with one company that holds 20,000 bookings (2,000 of them in that project) and 4,000 estimate
// rows, all of them in that project. A factor multiplies the bookings and estimate rows (and so the big
// project's and the big company's), never the projects and the register. Always the same file.
class LargeOfficeGenerator {
public:
    struct Facts {
        QString bigProjectId;       // the project with 20,000 bookings
        qint64 renameCompanyId = 0; // the company with 20,000 bookings and 4,000 estimate rows
        QString renameCompanyName;
    };

    static constexpr int kProjects = 300;
    static constexpr int kCompanies = 5000;
    static constexpr int kTrades = 120;
    static constexpr int kCostGroups = 70;
    static constexpr int kBookings = 200000;
    static constexpr int kBigProjectBookings = 20000;
    static constexpr int kEstimateRows = 40000;
    static constexpr int kRenameCompanyBookings = 20000;
    static constexpr int kRenameCompanyEstimateRows = 4000;

    static constexpr int kMaxFactor = 100;

    // Creates filePath (which must not exist) with Database::create, then fills it with factor times
    // the bookings and estimate rows, streamed row by row. Factor 1 is the benchmarks' large database.
    // Returns false and sets error on failure.
    static bool generate(const QString& filePath, Facts* facts, QString* error, int factor = 1);
    // The facts of a large database file read back from it: the project with the most bookings and
    // the company whose name the most bookings carry.
    static bool readFacts(const QString& filePath, Facts* facts, QString* error);
};
