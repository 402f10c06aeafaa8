#include "PlainBaseline.h"

#include "PlainSqlite.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <QCollator>
#include <QLocale>
#include <sqlite3.h>
#include <vector>

namespace {

std::optional<int> wholeNumber(sqlite3_stmt* stmt, int column) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
        return std::nullopt;
    return sqlite3_column_int(stmt, column);
}

std::optional<Money> amount(sqlite3_stmt* stmt, int column) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
        return std::nullopt;
    return Money::fromCents(std::llround(sqlite3_column_double(stmt, column) * 100.0));
}

} // namespace

bool PlainBaseline::projectBookings(PlainSqlite& db, const QString& projectId, QList<Booking>* bookings) {
    bookings->clear();
    return db.query("SELECT ID, PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
                    "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag FROM tblBuchung "
                    "WHERE ProjektID = ? ORDER BY ID",
                    {projectId}, [bookings](sqlite3_stmt* stmt) {
                        Booking& booking = bookings->emplaceBack();
                        booking.id = sqlite3_column_int64(stmt, 0);
                        booking.runningNumber = wholeNumber(stmt, 1);
                        booking.projectId = PlainSqlite::text(stmt, 2);
                        booking.project = PlainSqlite::text(stmt, 3);
                        booking.company = PlainSqlite::text(stmt, 4);
                        booking.trade = PlainSqlite::text(stmt, 5);
                        booking.costGroup = PlainSqlite::text(stmt, 6);
                        booking.instructedOn = wholeNumber(stmt, 7);
                        booking.invoiceDate = wholeNumber(stmt, 8);
                        booking.invoiceNumber = PlainSqlite::text(stmt, 9);
                        booking.paymentKind = PlainSqlite::text(stmt, 10);
                        booking.remarks = PlainSqlite::text(stmt, 11);
                        booking.amount = amount(stmt, 12);
                    });
}

bool PlainBaseline::companyListByName(PlainSqlite& db, const char* sql, const QStringList& values,
                                      QList<CompanyListRow>* rows) {
    QList<CompanyListRow> found;
    const bool ok = db.query(sql, values, [&found](sqlite3_stmt* stmt) {
        CompanyListRow& row = found.emplaceBack();
        row.id = sqlite3_column_int64(stmt, 0);
        row.texts = {PlainSqlite::text(stmt, 0), PlainSqlite::text(stmt, 1),
                     PlainSqlite::text(stmt, 3) + QLatin1Char(' ') + PlainSqlite::text(stmt, 4),
                     PlainSqlite::text(stmt, 10), PlainSqlite::text(stmt, 11)};
    });
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(found.size()));
    for (const CompanyListRow& row : found)
        keys.push_back(collator.sortKey(row.texts.at(1)));
    std::vector<qsizetype> order(size_t(found.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
    });
    rows->clear();
    rows->reserve(found.size());
    for (const qsizetype index : order)
        rows->append(std::move(found[index]));
    return ok;
}
