#include "PlainBaseline.h"

#include "PlainSqlite.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <QCollator>
#include <QDate>
#include <QLocale>
#include <sqlite3.h>
#include <vector>

namespace {

const QDate kEpoch(1899, 12, 30);
const QLocale kGerman(QLocale::German, QLocale::Germany);

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

// The rows ordered by the text in column with a German collator ignoring case, one sort key per row
// computed afresh; equal texts keep their order.
template <typename Row> QList<Row> inGermanOrder(QList<Row> found, int column) {
    QCollator collator{kGerman};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(found.size()));
    for (const Row& row : found)
        keys.push_back(collator.sortKey(row.texts.at(column)));
    std::vector<qsizetype> order(size_t(found.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
    });
    QList<Row> rows;
    rows.reserve(found.size());
    for (const qsizetype index : order)
        rows.append(std::move(found[index]));
    return rows;
}

QString dateText(sqlite3_stmt* stmt, int column) {
    if (sqlite3_column_type(stmt, column) == SQLITE_NULL)
        return QString();
    return kEpoch.addDays(sqlite3_column_int(stmt, column)).toString(QStringLiteral("dd.MM.yyyy"));
}

QString germanAmount(qint64 cents) {
    return kGerman.toString(static_cast<double>(cents) / 100.0, 'f', 2);
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
    *rows = inGermanOrder(std::move(found), 1);
    return ok;
}

bool PlainBaseline::bookingList(PlainSqlite& db, const QString& projectId, QList<BookingListRow>* rows,
                                qint64* totalCents) {
    QList<BookingListRow> found;
    qint64 total = 0;
    const bool ok = db.query(
        "SELECT ID, PID, Firma, Gewerk, AnweisungVom, RechnungVom, RechnungsNr, Zahlungsart, Kostengruppe, "
        "Betrag, Bemerkungen FROM tblBuchung WHERE ProjektID = ? ORDER BY ID",
        {projectId}, [&found, &total](sqlite3_stmt* stmt) {
            BookingListRow& row = found.emplaceBack();
            row.id = sqlite3_column_int64(stmt, 0);
            const bool hasNumber = sqlite3_column_type(stmt, 1) != SQLITE_NULL;
            const bool hasAmount = sqlite3_column_type(stmt, 9) != SQLITE_NULL;
            const qint64 cents = hasAmount ? std::llround(sqlite3_column_double(stmt, 9) * 100.0) : 0;
            total += cents;
            auto dayText = [stmt](int column) {
                return sqlite3_column_type(stmt, column) == SQLITE_NULL
                           ? QString()
                           : QString::number(sqlite3_column_int(stmt, column));
            };
            row.texts.reserve(14);
            row.texts << (hasNumber
                              ? QStringLiteral("%1").arg(sqlite3_column_int(stmt, 1), 3, 10, QLatin1Char('0'))
                              : QString())
                      << PlainSqlite::text(stmt, 2) << PlainSqlite::text(stmt, 3) << dateText(stmt, 4)
                      << dateText(stmt, 5) << PlainSqlite::text(stmt, 6) << PlainSqlite::text(stmt, 7)
                      << PlainSqlite::text(stmt, 8) << (hasAmount ? germanAmount(cents) : QString())
                      << PlainSqlite::text(stmt, 10) << QString() << dayText(4) << dayText(5) << QString();
        });
    *rows = inGermanOrder(std::move(found), 0);
    *totalCents = total;
    return ok;
}

bool PlainBaseline::entryCompanySearch(PlainSqlite& db, const QString& text, CompanySearchResult* result) {
    // texts: name, trade, cost group, postcode, town, street, phone, fax, mobile, e-mail, contact
    struct Found {
        QStringList texts;
    };
    QList<Found> found;
    const QString pattern = QLatin1Char('%') + text + QLatin1Char('%');
    const bool ok = db.query(
        "SELECT Name, GewerkID, KostengruppeID, PLZ, Ort, \"Straße\", Telefon1, Telefon2, Mobil, eMail, "
        "Ansprechpartner FROM tblFirma WHERE Name LIKE ?1 OR GewerkID LIKE ?1 OR KostengruppeID LIKE ?1 "
        "OR Ort LIKE ?1 OR PLZ LIKE ?1 ORDER BY ID",
        {pattern}, [&found](sqlite3_stmt* stmt) {
            Found& row = found.emplaceBack();
            row.texts.reserve(11);
            for (int column = 0; column < 11; ++column)
                row.texts << PlainSqlite::text(stmt, column);
        });
    found = inGermanOrder(std::move(found), 0);
    *result = CompanySearchResult();
    if (found.isEmpty()) {
        result->details = QStringList(4);
        return ok;
    }
    result->names.reserve(found.size());
    for (const Found& row : std::as_const(found))
        result->names << row.texts.at(0);
    result->count = QStringLiteral("Anzahl Firmen: ") + QString::number(found.size());
    const QStringList& first = found.first().texts;
    result->details = {
        first.at(1), first.at(2), QStringLiteral("Sitz: ") + first.at(3) + QLatin1Char(' ') + first.at(4),
        QStringLiteral("Straße:  ") + first.at(5) + QStringLiteral("\nTelefon: ") + first.at(6) +
            QStringLiteral("   Fax: ") + first.at(7) + QStringLiteral("\nMobil:   ") + first.at(8) +
            QStringLiteral("\neMail:   ") + first.at(9) + QStringLiteral("\nAnspr:   ") + first.at(10)};
    return ok;
}
