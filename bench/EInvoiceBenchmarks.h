#pragma once

#include "BenchTable.h"

#include <QList>
#include <QString>

// Benchmark t: opening and showing an e-invoice (the largest test invoice, and a generated one of 500
// lines) against a plain QXmlStreamReader pass over the same file; and hostile files refused, with
// their time and peak memory.
class EInvoiceBenchmarks {
public:
    EInvoiceBenchmarks(QString fixtures, QString workFolder, int runs);

    QList<BenchTable::Row> openAndShow();
    BenchTable::Row hostileFiles();

    static constexpr double kLimit = 5.0;

private:
    BenchTable::Row compare(const QString& name, const QString& path);

    QString m_fixtures;
    QString m_workFolder;
    int m_runs;
};
