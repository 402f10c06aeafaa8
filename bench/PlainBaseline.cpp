#include "PlainBaseline.h"

#include "PlainSqlite.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
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
template <typename Row>
QList<Row> inGermanOrder(QList<Row> found, int column, Qt::SortOrder order = Qt::AscendingOrder) {
    QCollator collator{kGerman};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(found.size()));
    for (const Row& row : found)
        keys.push_back(collator.sortKey(row.texts.at(column)));
    std::vector<qsizetype> rowOrder(size_t(found.size()));
    std::iota(rowOrder.begin(), rowOrder.end(), 0);
    std::stable_sort(rowOrder.begin(), rowOrder.end(), [&keys, order](qsizetype a, qsizetype b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QList<Row> rows;
    rows.reserve(found.size());
    for (const qsizetype index : rowOrder)
        rows.append(std::move(found[index]));
    return rows;
}

// The rows ordered by the whole number in column, an empty one first; equal numbers keep their order.
template <typename Row>
QList<Row> inNumberOrder(QList<Row> found, int column, Qt::SortOrder order = Qt::AscendingOrder) {
    std::vector<std::optional<qint64>> numbers;
    numbers.reserve(size_t(found.size()));
    for (const Row& row : found) {
        bool ok = false;
        const qint64 number = row.texts.at(column).toLongLong(&ok);
        numbers.push_back(ok ? std::optional<qint64>(number) : std::nullopt);
    }
    std::vector<qsizetype> rowOrder(size_t(found.size()));
    std::iota(rowOrder.begin(), rowOrder.end(), 0);
    std::stable_sort(rowOrder.begin(), rowOrder.end(), [&numbers, order](qsizetype a, qsizetype b) {
        return order == Qt::AscendingOrder ? numbers[size_t(a)] < numbers[size_t(b)]
                                           : numbers[size_t(b)] < numbers[size_t(a)];
    });
    QList<Row> rows;
    rows.reserve(found.size());
    for (const qsizetype index : rowOrder)
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

QString dayText(sqlite3_stmt* stmt, int column) {
    return sqlite3_column_type(stmt, column) == SQLITE_NULL
               ? QString()
               : QString::number(sqlite3_column_int(stmt, column));
}

qint64 cents(sqlite3_stmt* stmt, int column) {
    return std::llround(sqlite3_column_double(stmt, column) * 100.0);
}

QString amountText(sqlite3_stmt* stmt, int column) {
    return sqlite3_column_type(stmt, column) == SQLITE_NULL ? QString() : germanAmount(cents(stmt, column));
}

QString runningNumberText(int number) {
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

// The evaluation's query returns ID, PID, Firma, Gewerk, AnweisungVom, RechnungVom, Zahlungsart,
// Kostengruppe, Betrag.
bool evaluationList(PlainSqlite& db, const char* sql, const QStringList& values,
                    PlainBaseline::EvaluationList* list) {
    QList<PlainBaseline::BookingListRow> found;
    qint64 total = 0;
    const bool ok = db.query(sql, values, [&found, &total](sqlite3_stmt* stmt) {
        PlainBaseline::BookingListRow& row = found.emplaceBack();
        row.id = sqlite3_column_int64(stmt, 0);
        if (sqlite3_column_type(stmt, 8) != SQLITE_NULL)
            total += cents(stmt, 8);
        row.texts.reserve(11);
        row.texts << (sqlite3_column_type(stmt, 1) == SQLITE_NULL
                          ? QString()
                          : runningNumberText(sqlite3_column_int(stmt, 1)))
                  << PlainSqlite::text(stmt, 2) << PlainSqlite::text(stmt, 3) << dateText(stmt, 4)
                  << dateText(stmt, 5) << PlainSqlite::text(stmt, 6) << PlainSqlite::text(stmt, 7)
                  << amountText(stmt, 8) << QString() << dayText(stmt, 4) << dayText(stmt, 5);
    });
    list->rows = inNumberOrder(std::move(found), 0);
    list->totalCents = total;
    return ok;
}

const char* const kEvaluationColumns =
    "SELECT ID, PID, Firma, Gewerk, AnweisungVom, RechnungVom, Zahlungsart, "
    "Kostengruppe, Betrag FROM tblBuchung ";

// Estimate rows are ordered by running number, then rowid; a row without one comes first. The position
// takes the place of that order in a single number, shifted left to make room for the flags of a row's
// dates, so that max() over a company's rows yields its last row's flags. SQLite's lower() folds ASCII
// letters only.
const char* const kCostReportSql =
    "WITH paid AS ("
    " SELECT lower(Firma) AS k, Firma, Gewerk, Kostengruppe, max(ID) AS lastId,"
    " SUM(CAST(round(Betrag * 100) AS INTEGER)) AS cents"
    " FROM tblBuchung WHERE ProjektID = ?1 GROUP BY lower(Firma)),"
    " estimated AS ("
    " SELECT k, SUM(main * calc) AS calc, SUM(main * ordered) AS award, SUM((1 - main) * ordered) AS supp,"
    " max(CASE WHEN main THEN pos * 4 + architectDated * 2 + orderDated END) AS lastMain,"
    " max(pos * 2 + orderDated) AS lastRow"
    " FROM (SELECT lower(Firma) AS k, COALESCE(substr(NachtragArt, 1, 7) = 'Auftrag', 0) AS main,"
    " CAST(round(COALESCE(ArchitektKosten, 0) * 100) AS INTEGER) AS calc,"
    " CAST(round(COALESCE(NachtragKosten, 0) * 100) AS INTEGER) AS ordered,"
    " (CASE WHEN NID IS NULL THEN 0 ELSE NID + 1048576 END) * 4294967296 + rowid AS pos,"
    " ArchitektDatum IS NOT NULL AS architectDated, NachtragDatum IS NOT NULL AS orderDated"
    " FROM tblNachtrag WHERE ProjektID = ?1) GROUP BY k)"
    " SELECT p.Firma, p.Gewerk, p.Kostengruppe, p.cents, e.calc, e.award, e.supp, e.lastMain, e.lastRow, p.k"
    " FROM paid p LEFT JOIN estimated e ON e.k = p.k";

struct CostLine {
    QString company;
    QString trade;
    QString costGroup;
    QString key;
    qint64 paid = 0;
    qint64 calculation = 0;
    qint64 award = 0;
    qint64 supplements = 0;
    bool calculationShown = false;
    bool awardShown = false;
    bool supplementsShown = false;
};

QString percentText(qint64 deviation, qint64 calculation) {
    const double percent = calculation == 0 ? 0.0 : double(deviation) / double(calculation) * 100.0;
    return germanAmount(std::llround(percent * 100.0));
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
    *rows = inNumberOrder(std::move(found), 0);
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

bool PlainBaseline::evaluationByCompany(PlainSqlite& db, const QString& projectId, const QString& company,
                                        EvaluationList* list) {
    return evaluationList(db,
                          (QByteArray(kEvaluationColumns) +
                           "WHERE ProjektID = ?1 AND Firma = ?2 COLLATE NOCASE ORDER BY AnweisungVom, ID")
                              .constData(),
                          {projectId, company}, list);
}

bool PlainBaseline::evaluationByYear(PlainSqlite& db, const QString& projectId, int year,
                                     EvaluationList* list) {
    const qint64 firstDay = kEpoch.daysTo(QDate(year, 1, 1));
    const qint64 dayAfter = kEpoch.daysTo(QDate(year, 12, 31)) + 1;
    return evaluationList(
        db,
        (QByteArray(kEvaluationColumns) +
         "WHERE ProjektID = ?1 AND AnweisungVom >= ?2 AND AnweisungVom < ?3 ORDER BY PID, ID")
            .constData(),
        {projectId, QString::number(firstDay), QString::number(dayAfter)}, list);
}

bool PlainBaseline::companyEstimates(PlainSqlite& db, const QString& projectId, const QString& company,
                                     EstimateList* list) {
    QList<EstimateListRow> found;
    qint64 architect = 0;
    qint64 order = 0;
    const bool ok = db.query(
        "SELECT rowid, NID, ArchitektDatum, ArchitektKosten, NachtragDatum, NachtragArt, NachtragKosten "
        "FROM tblNachtrag WHERE ProjektID = ?1 AND Firma = ?2 COLLATE NOCASE ORDER BY NID, rowid",
        {projectId, company}, [&](sqlite3_stmt* stmt) {
            EstimateListRow& row = found.emplaceBack();
            row.rowId = sqlite3_column_int64(stmt, 0);
            if (sqlite3_column_type(stmt, 3) != SQLITE_NULL)
                architect += cents(stmt, 3);
            if (sqlite3_column_type(stmt, 6) != SQLITE_NULL)
                order += cents(stmt, 6);
            row.texts.reserve(10);
            row.texts << dayText(stmt, 1) << dateText(stmt, 2) << amountText(stmt, 3) << QString()
                      << dateText(stmt, 4) << QLatin1Char(' ') + PlainSqlite::text(stmt, 5)
                      << amountText(stmt, 6) << QString() << dayText(stmt, 2) << dayText(stmt, 4);
        });
    list->rows = inNumberOrder(std::move(found), 0, Qt::DescendingOrder);
    list->architectCents = architect;
    list->orderCents = order;
    return ok;
}

bool PlainBaseline::costReport(PlainSqlite& db, const QString& projectId, QList<CostReportRow>* rows) {
    std::vector<CostLine> lines;
    const bool ok = db.query(kCostReportSql, {projectId}, [&lines](sqlite3_stmt* stmt) {
        CostLine& line = lines.emplace_back();
        line.company = PlainSqlite::text(stmt, 0);
        line.trade = PlainSqlite::text(stmt, 1);
        line.costGroup = PlainSqlite::text(stmt, 2).left(9);
        line.paid = sqlite3_column_int64(stmt, 3);
        line.calculation = sqlite3_column_int64(stmt, 4);
        line.award = sqlite3_column_int64(stmt, 5);
        line.supplements = sqlite3_column_int64(stmt, 6);
        const bool anyMain = sqlite3_column_type(stmt, 7) != SQLITE_NULL;
        const qint64 lastMain = sqlite3_column_int64(stmt, 7);
        const bool anyRow = sqlite3_column_type(stmt, 8) != SQLITE_NULL;
        const qint64 lastRow = sqlite3_column_int64(stmt, 8);
        line.calculationShown = anyMain && (lastMain & 2) != 0 && line.calculation != 0;
        line.awardShown = anyMain && (lastMain & 1) != 0 && line.award != 0;
        line.supplementsShown = anyRow && (lastRow & 1) != 0 && line.supplements != 0;
        line.key = PlainSqlite::text(stmt, 9);
    });
    QCollator collator{kGerman};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(lines.size());
    for (const CostLine& line : lines)
        keys.push_back(collator.sortKey(line.company));
    std::vector<size_t> order(lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int byName = keys[a].compare(keys[b]);
        return byName != 0 ? byName < 0 : lines[a].key < lines[b].key;
    });
    const QString blank = QStringLiteral(" ");
    qint64 calculation = 0;
    qint64 award = 0;
    qint64 supplements = 0;
    qint64 determined = 0;
    qint64 paid = 0;
    qint64 deviation = 0;
    rows->clear();
    rows->reserve(qsizetype(lines.size()) + 1);
    int number = 0;
    for (const size_t index : order) {
        const CostLine& line = lines[index];
        const qint64 lineDeviation = line.paid - line.calculation;
        rows->append({{runningNumberText(++number), line.company, line.trade, line.costGroup,
                       line.calculationShown ? germanAmount(line.calculation) : blank,
                       line.awardShown ? germanAmount(line.award) : blank,
                       line.supplementsShown ? germanAmount(line.supplements) : blank,
                       germanAmount(line.award + line.supplements), germanAmount(line.paid),
                       germanAmount(lineDeviation), percentText(lineDeviation, line.calculation)}});
        calculation += line.calculationShown ? line.calculation : 0;
        award += line.awardShown ? line.award : 0;
        supplements += line.supplementsShown ? line.supplements : 0;
        determined += line.award + line.supplements;
        paid += line.paid;
        deviation += lineDeviation;
    }
    rows->append(
        {{QString(), QString(), QStringLiteral("Summen:"), QString(), germanAmount(calculation),
          germanAmount(award), germanAmount(supplements), germanAmount(determined), germanAmount(paid),
          germanAmount(deviation), calculation == 0 ? QString() : percentText(deviation, calculation)}});
    // The budget lines: the budget, every company's orders and supplements, and what remains.
    std::optional<qint64> budget;
    qint64 committed = 0;
    const bool closingOk = db.query(
        "SELECT (SELECT CAST(round(Budget * 100) AS INTEGER) FROM tblBudget WHERE ProjektID = ?1), "
        "(SELECT SUM(CAST(round(NachtragKosten * 100) AS INTEGER)) FROM tblNachtrag WHERE ProjektID = ?1)",
        {projectId}, [&](sqlite3_stmt* stmt) {
            if (sqlite3_column_type(stmt, 0) != SQLITE_NULL)
                budget = sqlite3_column_int64(stmt, 0);
            committed = sqlite3_column_int64(stmt, 1);
        });
    const auto closing = [rows](const QString& label, const QString& amount) {
        QStringList texts(11);
        texts[2] = label;
        texts[7] = amount;
        rows->append({texts});
    };
    closing(QStringLiteral("Budget"), budget ? germanAmount(*budget) : QString());
    closing(QStringLiteral("Gebunden (Aufträge und Nachträge)"), germanAmount(committed));
    closing(QStringLiteral("Verbleibend"),
            budget ? germanAmount(*budget - std::max(paid, committed)) : QString());
    return ok && closingOk;
}

bool PlainBaseline::costReportAggregate(PlainSqlite& db, const QString& projectId, int* companies) {
    *companies = 0;
    return db.query(kCostReportSql, {projectId}, [companies](sqlite3_stmt*) { ++*companies; });
}
