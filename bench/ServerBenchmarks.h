#pragma once

#include "BenchTable.h"

#include <QString>

// Benchmarks against the PostgreSQL server that the libpq environment names (PGHOST, PGPORT, PGUSER,
// PGDATABASE; `pg_virtualenv zlv_bench --only s` gives a throwaway one). Each run works in a schema of
// its own, created and dropped untimed.
class ServerBenchmarks {
public:
    ServerBenchmarks(QString largeFile, QString workFolder, int runs)
        : m_largeFile(std::move(largeFile)), m_workFolder(std::move(workFolder)), m_runs(runs) {}

    // The transfer of the large file onto an empty server database, against a plain COPY of the same rows
    // (exported beforehand, untimed) into the same set-up tables.
    BenchTable::Row transfer();
    // One workstation's bookings into a project while three other processes book into it without pause,
    // on the file and on the server: the median and the worst wait, against the same bookings alone.
    QList<BenchTable::Row> bookingAmongBookers();
    // The store's reads of a shown list on the server holding the large database (transferred untimed):
    // a project's bookings (a) and the entry tab's company search (i), against the same SQL through QPSQL
    // reading every value as text.
    QList<BenchTable::Row> listsOnServer();

    // Copies the large file into a fresh schema of the server (dropped first if there) and returns the
    // address that reaches it; empty, with error set, when there is no server or the copy differs.
    static QString largeOnServer(const QString& largeFile, const QString& schema, QString* error);
    static void dropSchema(const QString& schema);

private:
    QString m_largeFile;
    QString m_workFolder;
    int m_runs;
};
