#pragma once

#include <QString>

// Writes a small demonstration database with plausible German projects, companies, bookings and
// estimate rows, using the preset trades and cost groups of a new file. Always the same file.
class DemoOfficeGenerator {
public:
    static constexpr int kProjects = 6;
    static constexpr int kCompanies = 40;

    // Creates filePath (which must not exist) with Database::create, then fills it. Returns false and
    // sets error on failure.
    static bool generate(const QString& filePath, QString* error);
};
