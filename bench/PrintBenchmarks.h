#pragma once

#include "BenchTable.h"
#include "ListSnapshot.h"

#include <QList>
#include <QString>

// Benchmarks of printing the payments report of the big project (20,000 bookings, 1,053 pages): into a
// PDF file against a plain QPainter loop on QPdfWriter drawing the same texts and lines, and into the
// print preview until its first page is shown, against the PDF figure. Both report their peak memory.
class PrintBenchmarks {
public:
    PrintBenchmarks(ListSnapshot bookings, QString snapshotError, QString workFolder, int runs);

    // p: the report written as a PDF file.
    BenchTable::Row pdfFile();
    // q: the report in the print preview, until its first page has been painted.
    BenchTable::Row preview();

    static constexpr double kPdfLimit = 1.5;
    static constexpr double kPreviewLimit = 3.0;

private:
    double oursPdfMs(const QString& path, int* pages) const;
    double baselinePdfMs(const QString& path) const;

    ListSnapshot m_bookings;
    QString m_snapshotError;
    QString m_workFolder;
    int m_runs;
    double m_pdfMs = -1;
};
