// The server start-up baseline: a Qt program that opens a plain libpq connection to the server address
// given as the argument, reads the catalogue's columns of the six tables in one query, and then shows a
// window with one label and ends right after the window's first frame has been painted.

#include "FirstFrameReporter.h"

#include <cstdio>
#include <libpq-fe.h>
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr const char* kColumnsQuery =
    "SELECT c.relname, a.attname FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_class c ON c.oid = "
    "a.attrelid WHERE c.relnamespace = (SELECT oid FROM pg_catalog.pg_namespace WHERE nspname = "
    "current_schema()) AND c.relkind IN ('r', 'p', 'v', 'f') AND lower(c.relname) IN ('tblprojekt', "
    "'tblfirma', 'tblgewerk', 'tblkostengruppe', 'tblbuchung', 'tblnachtrag') AND a.attnum > 0 AND NOT "
    "a.attisdropped";

// The number of columns the six tables have on the server; -1, after saying why, when they cannot be read.
int catalogueColumns(PGconn* connection) {
    if (PQstatus(connection) != CONNECTION_OK) {
        std::fputs(PQerrorMessage(connection), stderr);
        return -1;
    }
    PGresult* result = PQexec(connection, kColumnsQuery);
    const int columns = PQresultStatus(result) == PGRES_TUPLES_OK ? PQntuples(result) : -1;
    if (columns < 0)
        std::fputs(PQresultErrorMessage(result), stderr);
    PQclear(result);
    return columns;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstFrameReporter reporter("QWidget", false);
    reporter.reportOnStandardOutput();
    app.installEventFilter(&reporter);
    if (argc != 2) {
        std::fputs("Aufruf: zlv_catalogue_window <postgresql://...>\n", stderr);
        return 2;
    }
    PGconn* connection = PQconnectdb(argv[1]);
    const int columns = catalogueColumns(connection);
    if (columns <= 0) {
        PQfinish(connection);
        return 1;
    }
    QWidget window;
    (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("Zelvora"), &window));
    window.resize(400, 300);
    window.show();
    const int exitCode = reporter.isReady() ? 0 : QApplication::exec();
    PQfinish(connection);
    return exitCode;
}
