#pragma once

#include <QString>

class ProjectLedger;
struct Company;

// The seat line of a company as the entry tab shows it and the company and evaluation reports print it:
// "Sitz: " with postal code and town.
class CompanySeat {
public:
    static QString line(const Company& company);
    // The seat line of the register's company of that name; empty when the register has none.
    static QString lookUp(const ProjectLedger& ledger, const QString& name);
};
