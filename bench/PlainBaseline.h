#pragma once

#include "Booking.h"

#include <QList>
#include <QString>
#include <QStringList>

class PlainConnection;

// The baselines' work written plainly on the SQLite C interface: the same rows and texts the program
// builds, without any layer of the program in between.
class PlainBaseline {
public:
    // One row of the company register's list: the company's number and its five list texts.
    struct CompanyListRow {
        qint64 id = 0;
        QStringList texts; // number, name, "postcode town", trade, cost group
    };
    // One row of the workspace's booking list: the booking's ID and its 14 texts as the list shows them.
    struct BookingListRow {
        qint64 id = 0;
        QStringList texts;
    };
    // What one keystroke into the booking entry's company search shows: the names found, in the picker's
    // order, the count line and the first company's details (trade, cost group, seat, address lines),
    // which are empty when nothing is found.
    struct CompanySearchResult {
        QStringList names;
        QString count;
        QStringList details;
    };

    // What the evaluation tab shows: its 11 texts per booking (running number "000", company, trade, both
    // dates as dd.MM.yyyy, kind of payment, cost group, the German amount, an empty column, both day
    // numbers as text), ascending by running number, and the partial sum.
    struct EvaluationList {
        QList<BookingListRow> rows;
        qint64 totalCents = 0;
    };
    // One row of the company tab's estimate list: the stored row's rowid and its 10 texts.
    struct EstimateListRow {
        qint64 rowId = 0;
        QStringList texts;
    };
    // What the company tab shows for one company: its estimate rows (running number, architect's date
    // and amount, an empty column, the order's date, " " and its kind, its amount, an empty column, both
    // day numbers as text), descending by running number, and both sums.
    struct EstimateList {
        QList<EstimateListRow> rows;
        qint64 architectCents = 0;
        qint64 orderCents = 0;
    };
    // One line of the cost report with its 11 texts; the last line holds the sums.
    struct CostReportRow {
        QStringList texts;
    };

    // The bookings of one project in the order of entry, with the columns the program reads and as the
    // types it keeps them: numbers read as numbers, null as empty text or nullopt.
    static bool projectBookings(PlainConnection& db, const QString& projectId, QList<Booking>* bookings);
    // Runs sql, a "SELECT *" on tblFirma, builds the list texts of each row and orders the rows by name
    // in German alphabetical order ignoring case, as the register lists them; equal names keep the
    // order of the query.
    static bool companyListByName(PlainConnection& db, const char* sql, const QStringList& values,
                                  QList<CompanyListRow>* rows);
    // The project's bookings as the workspace lists them: running number "000", company, trade, both
    // dates as dd.MM.yyyy, invoice number, kind of payment, cost group, the German amount "1.234,50",
    // remarks, an empty column, both day numbers as text and an empty column; ordered by the running
    // number, equal numbers in order of entry. totalCents gets the sum of the amounts.
    static bool bookingList(PlainConnection& db, const QString& projectId, QList<BookingListRow>* rows,
                            qint64* totalCents);
    // The companies whose name, trade, cost group, town or postcode hold text (SQLite's own LIKE), by name
    // in German order, with the texts the booking entry shows for them.
    static bool entryCompanySearch(PlainConnection& db, const QString& text, CompanySearchResult* result);
    // The project's bookings of one company (letter case of ASCII letters ignored) as the evaluation
    // lists them; the query returns them by instruction date.
    static bool evaluationByCompany(PlainConnection& db, const QString& projectId, const QString& company,
                                    EvaluationList* list);
    // The project's bookings instructed in the calendar year as the evaluation lists them.
    static bool evaluationByYear(PlainConnection& db, const QString& projectId, int year,
                                 EvaluationList* list);
    // The estimate rows of one company in the project (letter case of ASCII letters ignored).
    static bool companyEstimates(PlainConnection& db, const QString& projectId, const QString& company,
                                 EstimateList* list);
    // The project's cost report from one aggregate query: the bookings summed per company, the names of
    // each company's last booking, joined with its estimate rows summed per company (main orders,
    // "Auftrag" at the start of the kind, apart from supplements), which of the last rows carry dates;
    // then the texts per company in German order of the names, and the sums line.
    static bool costReport(PlainConnection& db, const QString& projectId, QList<CostReportRow>* rows);
    // The cost report's aggregate query alone, its rows stepped through; companies gets their number.
    static bool costReportAggregate(PlainConnection& db, const QString& projectId, int* companies);
};
