#include "PlainBaseline.h"

#include "PlainConnection.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <QCollator>
#include <QDate>
#include <QLocale>
#include <vector>

namespace {

const QDate kEpoch(1899, 12, 30);
const QLocale kGerman(QLocale::German, QLocale::Germany);

std::optional<int> wholeNumber(const PlainRow& record, int column) {
    if (record.isNull(column))
        return std::nullopt;
    return int(record.integer(column));
}

std::optional<Money> amount(const PlainRow& record, int column) {
    if (record.isNull(column))
        return std::nullopt;
    return Money::fromCents(std::llround(record.real(column) * 100.0));
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

QString dateText(const PlainRow& record, int column) {
    if (record.isNull(column))
        return QString();
    return kEpoch.addDays(int(record.integer(column))).toString(QStringLiteral("dd.MM.yyyy"));
}

QString germanAmount(qint64 cents) {
    return kGerman.toString(static_cast<double>(cents) / 100.0, 'f', 2);
}

QString dayText(const PlainRow& record, int column) {
    return record.isNull(column) ? QString() : QString::number(int(record.integer(column)));
}

qint64 cents(const PlainRow& record, int column) {
    return std::llround(record.real(column) * 100.0);
}

QString amountText(const PlainRow& record, int column) {
    return record.isNull(column) ? QString() : germanAmount(cents(record, column));
}

QString runningNumberText(int number) {
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

// The evaluation's query returns ID, PID, Firma, Gewerk, AnweisungVom, RechnungVom, Zahlungsart,
// Kostengruppe, Betrag.
// The statement for the engine db talks to.
const char* forEngine(const PlainConnection& db, const char* file, const char* server) {
    return db.isServer() ? server : file;
}

bool evaluationList(PlainConnection& db, const char* sql, const QStringList& values,
                    PlainBaseline::EvaluationList* list) {
    QList<PlainBaseline::BookingListRow> found;
    qint64 total = 0;
    const bool ok = db.query(sql, values, [&found, &total](const PlainRow& record) {
        PlainBaseline::BookingListRow& row = found.emplaceBack();
        row.id = record.integer(0);
        if (!record.isNull(8))
            total += cents(record, 8);
        row.texts.reserve(11);
        row.texts << (record.isNull(1) ? QString() : runningNumberText(int(record.integer(1))))
                  << record.text(2) << record.text(3) << dateText(record, 4) << dateText(record, 5)
                  << record.text(6) << record.text(7) << amountText(record, 8) << QString()
                  << dayText(record, 4) << dayText(record, 5);
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

// The same on the server, whose grouping names no bare column: a company's names are those of its last
// booking, taken with DISTINCT ON.
const char* const kCostReportServerSql =
    "WITH last AS ("
    " SELECT DISTINCT ON (lower(Firma)) lower(Firma) AS k, Firma, Gewerk, Kostengruppe"
    " FROM tblBuchung WHERE ProjektID = ?1 ORDER BY lower(Firma), ID DESC),"
    " paid AS ("
    " SELECT lower(Firma) AS k, SUM(CAST(round(Betrag * 100) AS bigint)) AS cents"
    " FROM tblBuchung WHERE ProjektID = ?1 GROUP BY lower(Firma)),"
    " estimated AS ("
    " SELECT k, SUM(main * calc) AS calc, SUM(main * ordered) AS award, SUM((1 - main) * ordered) AS supp,"
    " max(CASE WHEN main = 1 THEN pos * 4 + architectDated * 2 + orderDated END) AS lastMain,"
    " max(pos * 2 + orderDated) AS lastRow"
    " FROM (SELECT lower(Firma) AS k,"
    " CASE WHEN substr(NachtragArt, 1, 7) = 'Auftrag' THEN 1 ELSE 0 END AS main,"
    " CAST(round(COALESCE(ArchitektKosten, 0) * 100) AS bigint) AS calc,"
    " CAST(round(COALESCE(NachtragKosten, 0) * 100) AS bigint) AS ordered,"
    " CAST(CASE WHEN NID IS NULL THEN 0 ELSE NID + 1048576 END AS bigint) * 4294967296 + rowid AS pos,"
    " CASE WHEN ArchitektDatum IS NULL THEN 0 ELSE 1 END AS architectDated,"
    " CASE WHEN NachtragDatum IS NULL THEN 0 ELSE 1 END AS orderDated"
    " FROM tblNachtrag WHERE ProjektID = ?1) rows GROUP BY k)"
    " SELECT l.Firma, l.Gewerk, l.Kostengruppe, p.cents, e.calc, e.award, e.supp, e.lastMain, e.lastRow, p.k"
    " FROM paid p JOIN last l ON l.k = p.k LEFT JOIN estimated e ON e.k = p.k";

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

bool PlainBaseline::projectBookings(PlainConnection& db, const QString& projectId, QList<Booking>* bookings) {
    bookings->clear();
    return db.query("SELECT ID, PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
                    "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag FROM tblBuchung "
                    "WHERE ProjektID = ? ORDER BY ID",
                    {projectId}, [bookings](const PlainRow& record) {
                        Booking& booking = bookings->emplaceBack();
                        booking.id = record.integer(0);
                        booking.runningNumber = wholeNumber(record, 1);
                        booking.projectId = record.text(2);
                        booking.project = record.text(3);
                        booking.company = record.text(4);
                        booking.trade = record.text(5);
                        booking.costGroup = record.text(6);
                        booking.instructedOn = wholeNumber(record, 7);
                        booking.invoiceDate = wholeNumber(record, 8);
                        booking.invoiceNumber = record.text(9);
                        booking.paymentKind = record.text(10);
                        booking.remarks = record.text(11);
                        booking.amount = amount(record, 12);
                    });
}

bool PlainBaseline::companyListByName(PlainConnection& db, const char* sql, const QStringList& values,
                                      QList<CompanyListRow>* rows) {
    QList<CompanyListRow> found;
    const bool ok = db.query(sql, values, [&found](const PlainRow& record) {
        CompanyListRow& row = found.emplaceBack();
        row.id = record.integer(0);
        row.texts = {record.text(0), record.text(1), record.text(3) + QLatin1Char(' ') + record.text(4),
                     record.text(10), record.text(11)};
    });
    *rows = inGermanOrder(std::move(found), 1);
    return ok;
}

bool PlainBaseline::bookingList(PlainConnection& db, const QString& projectId, QList<BookingListRow>* rows,
                                qint64* totalCents) {
    QList<BookingListRow> found;
    qint64 total = 0;
    const bool ok = db.query(
        "SELECT b.ID, b.PID, b.Firma, b.Gewerk, b.AnweisungVom, b.RechnungVom, b.RechnungsNr, b.Zahlungsart, "
        "b.Kostengruppe, b.Betrag, b.Bemerkungen, f.Status, f.StornoZu, (SELECT MIN(s.BuchungID) FROM "
        "tblFreigabe s WHERE s.StornoZu = b.ID) FROM tblBuchung b LEFT JOIN tblFreigabe f ON f.BuchungID = "
        "b.ID "
        "WHERE b.ProjektID = ? ORDER BY b.ID",
        {projectId}, [&found, &total](const PlainRow& record) {
            BookingListRow& row = found.emplaceBack();
            row.id = record.integer(0);
            const bool hasNumber = !record.isNull(1);
            const bool hasAmount = !record.isNull(9);
            const qint64 cents = hasAmount ? std::llround(record.real(9) * 100.0) : 0;
            total += cents;
            auto dayText = [&record](int column) {
                return record.isNull(column) ? QString() : QString::number(int(record.integer(column)));
            };
            // The state on the way to payment: a booking without one is recorded.
            const QString state = record.isNull(11) ? QStringLiteral("erfasst") : record.text(11);
            const bool ordered = state == QLatin1String("angeordnet") || state == QLatin1String("bezahlt");
            const QString shownState = !record.isNull(13)  ? QStringLiteral("storniert")
                                       : record.isNull(12) ? state
                                       : ordered           ? QStringLiteral("Storno")
                                                           : QStringLiteral("Storno, ") + state;
            row.texts.reserve(15);
            row.texts << (hasNumber
                              ? QStringLiteral("%1").arg(int(record.integer(1)), 3, 10, QLatin1Char('0'))
                              : QString())
                      << record.text(2) << record.text(3) << dateText(record, 4) << dateText(record, 5)
                      << record.text(6) << record.text(7) << record.text(8)
                      << (hasAmount ? germanAmount(cents) : QString()) << record.text(10) << QString()
                      << dayText(4) << dayText(5) << QString() << shownState;
        });
    *rows = inNumberOrder(std::move(found), 0);
    *totalCents = total;
    return ok;
}

bool PlainBaseline::entryCompanySearch(PlainConnection& db, const QString& text,
                                       CompanySearchResult* result) {
    // texts: name, trade, cost group, postcode, town, street, phone, fax, mobile, e-mail, contact
    struct Found {
        QStringList texts;
    };
    QList<Found> found;
    const QString pattern = QLatin1Char('%') + text + QLatin1Char('%');
    // SQLite's LIKE ignores the letter case of ASCII letters, the server's ILIKE that of every letter.
    const bool ok = db.query(
        forEngine(db,
                  "SELECT Name, GewerkID, KostengruppeID, PLZ, Ort, \"Straße\", Telefon1, Telefon2, Mobil, "
                  "eMail, Ansprechpartner FROM tblFirma WHERE Name LIKE ?1 OR GewerkID LIKE ?1 OR "
                  "KostengruppeID LIKE ?1 OR Ort LIKE ?1 OR PLZ LIKE ?1 ORDER BY ID",
                  "SELECT Name, GewerkID, KostengruppeID, PLZ, Ort, \"Straße\", Telefon1, Telefon2, Mobil, "
                  "eMail, Ansprechpartner FROM tblFirma WHERE Name ILIKE ?1 OR GewerkID ILIKE ?1 OR "
                  "KostengruppeID ILIKE ?1 OR Ort ILIKE ?1 OR PLZ ILIKE ?1 ORDER BY ID"),
        {pattern}, [&found](const PlainRow& record) {
            Found& row = found.emplaceBack();
            row.texts.reserve(11);
            for (int column = 0; column < 11; ++column)
                row.texts << record.text(column);
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

bool PlainBaseline::evaluationByCompany(PlainConnection& db, const QString& projectId, const QString& company,
                                        EvaluationList* list) {
    return evaluationList(
        db,
        (QByteArray(kEvaluationColumns) +
         forEngine(db, "WHERE ProjektID = ?1 AND Firma = ?2 COLLATE NOCASE ",
                   "WHERE ProjektID = ?1 AND fold(Firma) = fold(?2) ") +
         forEngine(db, "ORDER BY AnweisungVom, ID", "ORDER BY AnweisungVom NULLS FIRST, ID"))
            .constData(),
        {projectId, company}, list);
}

bool PlainBaseline::evaluationByYear(PlainConnection& db, const QString& projectId, int year,
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

bool PlainBaseline::companyEstimates(PlainConnection& db, const QString& projectId, const QString& company,
                                     EstimateList* list) {
    QList<EstimateListRow> found;
    qint64 architect = 0;
    qint64 order = 0;
    const bool ok = db.query(
        forEngine(db,
                  "SELECT rowid, NID, ArchitektDatum, ArchitektKosten, NachtragDatum, NachtragArt, "
                  "NachtragKosten FROM tblNachtrag WHERE ProjektID = ?1 AND Firma = ?2 COLLATE NOCASE "
                  "ORDER BY NID, rowid",
                  "SELECT rowid, NID, ArchitektDatum, ArchitektKosten, NachtragDatum, NachtragArt, "
                  "NachtragKosten FROM tblNachtrag WHERE ProjektID = ?1 AND fold(Firma) = fold(?2) "
                  "ORDER BY NID NULLS FIRST, rowid"),
        {projectId, company}, [&](const PlainRow& record) {
            EstimateListRow& row = found.emplaceBack();
            row.rowId = record.integer(0);
            if (!record.isNull(3))
                architect += cents(record, 3);
            if (!record.isNull(6))
                order += cents(record, 6);
            row.texts.reserve(10);
            row.texts << dayText(record, 1) << dateText(record, 2) << amountText(record, 3) << QString()
                      << dateText(record, 4) << QLatin1Char(' ') + record.text(5) << amountText(record, 6)
                      << QString() << dayText(record, 2) << dayText(record, 4);
        });
    list->rows = inNumberOrder(std::move(found), 0, Qt::DescendingOrder);
    list->architectCents = architect;
    list->orderCents = order;
    return ok;
}

bool PlainBaseline::costReport(PlainConnection& db, const QString& projectId, QList<CostReportRow>* rows) {
    std::vector<CostLine> lines;
    const bool ok = db.query(
        forEngine(db, kCostReportSql, kCostReportServerSql), {projectId}, [&lines](const PlainRow& record) {
            CostLine& line = lines.emplace_back();
            line.company = record.text(0);
            line.trade = record.text(1);
            line.costGroup = record.text(2).left(9);
            line.paid = record.integer(3);
            line.calculation = record.integer(4);
            line.award = record.integer(5);
            line.supplements = record.integer(6);
            const bool anyMain = !record.isNull(7);
            const qint64 lastMain = record.integer(7);
            const bool anyRow = !record.isNull(8);
            const qint64 lastRow = record.integer(8);
            line.calculationShown = anyMain && (lastMain & 2) != 0 && line.calculation != 0;
            line.awardShown = anyMain && (lastMain & 1) != 0 && line.award != 0;
            line.supplementsShown = anyRow && (lastRow & 1) != 0 && line.supplements != 0;
            line.key = record.text(9);
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
        forEngine(db,
                  "SELECT (SELECT CAST(round(Budget * 100) AS INTEGER) FROM tblBudget WHERE ProjektID = ?1), "
                  "(SELECT SUM(CAST(round(NachtragKosten * 100) AS INTEGER)) FROM tblNachtrag "
                  "WHERE ProjektID = ?1)",
                  "SELECT (SELECT CAST(round(Budget * 100) AS bigint) FROM tblBudget "
                  "WHERE ProjektID = CAST(CAST(?1 AS text) AS integer)), (SELECT "
                  "SUM(CAST(round(NachtragKosten * 100) AS "
                  "bigint)) FROM tblNachtrag WHERE ProjektID = ?1)"),
        {projectId}, [&](const PlainRow& record) {
            if (!record.isNull(0))
                budget = record.integer(0);
            committed = record.integer(1);
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

bool PlainBaseline::costReportAggregate(PlainConnection& db, const QString& projectId, int* companies) {
    *companies = 0;
    return db.query(forEngine(db, kCostReportSql, kCostReportServerSql), {projectId},
                    [companies](const PlainRow&) { ++*companies; });
}
