#pragma once

#include "Booking.h"

#include <QList>
#include <QString>
#include <QStringList>

class PlainSqlite;

// The baselines' work written plainly on the SQLite C interface: the same rows and texts the program
// builds, without any layer of the program in between.
class PlainBaseline {
public:
    // One row of the company register's list: the company's number and its five list texts.
    struct CompanyListRow {
        qint64 id = 0;
        QStringList texts; // number, name, "postcode town", trade, cost group
    };

    // The bookings of one project in the order of entry, with the columns the program reads and as the
    // types it keeps them: numbers read as numbers, null as empty text or nullopt.
    static bool projectBookings(PlainSqlite& db, const QString& projectId, QList<Booking>* bookings);
    // Runs sql, a "SELECT *" on tblFirma, builds the list texts of each row and orders the rows by name
    // in German alphabetical order ignoring case, as the register lists them; equal names keep the
    // order of the query.
    static bool companyListByName(PlainSqlite& db, const char* sql, const QStringList& values,
                                  QList<CompanyListRow>* rows);
};
