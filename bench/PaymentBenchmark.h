#pragma once

#include "BenchTable.h"
#include "LargeOfficeGenerator.h"

#include <QList>
#include <QString>

// What a booking's deductions cost: one booking into the big project with its payment row (the order's
// terms, the retention and withholding proposals read, the Skonto computed and checked) against a plain
// booking through the same operation without payment, alternately on the same copy of the large
// database.
class PaymentBenchmark {
public:
    // location: the large database (a file, copied first, or a schema on the server, written into).
    PaymentBenchmark(QString location, LargeOfficeGenerator::Facts facts, QString workFolder, int runs)
        : m_location(std::move(location)), m_facts(std::move(facts)), m_workFolder(std::move(workFolder)),
          m_runs(runs) {}

    // The booking with its proposals read, and the same with their figures given.
    QList<BenchTable::Row> bookingWithDeductions();

private:
    QString m_location;
    LargeOfficeGenerator::Facts m_facts;
    QString m_workFolder;
    int m_runs;
};
