#pragma once

#include "BenchTable.h"
#include "LargeOfficeGenerator.h"

#include <QList>
#include <QString>

// What the journal of every change costs: a booking into the big project and the rename of the company
// with 24,000 rows, each in a copy with the journal against the same in a copy whose journal triggers
// were set aside.
class JournalBenchmarks {
public:
    // ours and plain: two copies of the large database (files, or schemas on the server).
    JournalBenchmarks(QString ours, QString plain, LargeOfficeGenerator::Facts facts, int runs)
        : m_ours(std::move(ours)), m_plain(std::move(plain)), m_facts(std::move(facts)), m_runs(runs) {}

    QList<BenchTable::Row> measure();

private:
    QString m_ours;
    QString m_plain;
    LargeOfficeGenerator::Facts m_facts;
    int m_runs;
};
