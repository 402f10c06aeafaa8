#pragma once

#include "BenchTable.h"

#include <QString>

// "Fälligkeiten" on the large database: 20,000 of its bookings given a receipt day (every tenth, a fifth
// of those with a discount, every hundredth of them paid), the window's list of the open invoices against
// a plain query of the same rows building the same texts.
class DueBenchmark {
public:
    DueBenchmark(QString largeFile, QString workFolder, int runs)
        : m_largeFile(std::move(largeFile)), m_workFolder(std::move(workFolder)), m_runs(runs) {}

    // B.
    BenchTable::Row listFill();

private:
    // The copy of the large database (on the server: the large database itself) with the receipts.
    QString prepared(QString* error);

    QString m_largeFile;
    QString m_workFolder;
    int m_runs;
};
