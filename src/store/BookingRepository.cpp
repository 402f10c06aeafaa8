#include "BookingRepository.h"

#include "Database.h"
#include "GermanCollator.h"
#include "RepeatedTexts.h"
#include "RunningNumber.h"
#include "SameName.h"
#include "StoredValue.h"
#include "Transaction.h"

#include <algorithm>
#include <QCollator>
#include <QHash>
#include <QSet>

namespace {

const QStringList kColumns = {
    QStringLiteral("ID"),           QStringLiteral("PID"),          QStringLiteral("ProjektID"),
    QStringLiteral("Projekt"),      QStringLiteral("Firma"),        QStringLiteral("Gewerk"),
    QStringLiteral("Kostengruppe"), QStringLiteral("AnweisungVom"), QStringLiteral("RechnungVom"),
    QStringLiteral("RechnungsNr"),  QStringLiteral("Zahlungsart"),  QStringLiteral("Bemerkungen"),
    QStringLiteral("Betrag")};
const QString kSelect = QStringLiteral("SELECT %1 FROM tblBuchung ").arg(kColumns.join(QStringLiteral(", ")));

QList<Booking> read(Database& db, const QString& sql, const QVariantList& values, bool* ok) {
    RepeatedTexts repeated;
    return StoredValue::rows<Booking>(db, sql, values, ok, [&repeated](const Database::Row& row) {
        return BookingRepository::built(row, 0, &repeated);
    });
}

QString fieldName(BookingRepository::Field field) {
    switch (field) {
    case BookingRepository::Field::Company:
        return QStringLiteral("Firma");
    case BookingRepository::Field::Trade:
        return QStringLiteral("Gewerk");
    case BookingRepository::Field::CostGroup:
        break;
    }
    return QStringLiteral("Kostengruppe");
}

} // namespace

QString BookingRepository::columns(const QString& alias) {
    QStringList qualified;
    for (const QString& column : kColumns)
        qualified += alias + u'.' + column;
    return qualified.join(QStringLiteral(", "));
}

Booking BookingRepository::built(const Database::Row& row, int first, RepeatedTexts* repeated) {
    // The texts that repeat from booking to booking; a booking's own number and remarks seldom do.
    const auto shared = [&](int column) { return repeated ? row.text(column, *repeated) : row.text(column); };
    Booking booking;
    booking.id = row.rowNumber(first);
    booking.runningNumber = row.integer(first + 1);
    booking.projectId = shared(first + 2);
    booking.project = shared(first + 3);
    booking.company = shared(first + 4);
    booking.trade = shared(first + 5);
    booking.costGroup = shared(first + 6);
    booking.instructedOn = row.integer(first + 7);
    booking.invoiceDate = row.integer(first + 8);
    if (!booking.instructedOn)
        booking.instructedOnText = row.text(first + 7);
    if (!booking.invoiceDate)
        booking.invoiceDateText = row.text(first + 8);
    booking.invoiceNumber = row.text(first + 9);
    booking.paymentKind = shared(first + 10);
    booking.remarks = row.text(first + 11);
    booking.amount = row.amount(first + 12, booking.unreadableAmount);
    return booking;
}

QList<Booking> BookingRepository::all(bool* ok) const {
    return read(m_db, kSelect + QStringLiteral("ORDER BY ID"), {}, ok);
}

QList<Booking> BookingRepository::forProject(const QString& projectId, bool* ok) const {
    return read(m_db, kSelect + QStringLiteral("WHERE trim(ProjektID) = ? ORDER BY ID"), {projectId}, ok);
}

QList<BookingRepository::CompanySum>
BookingRepository::sumsByCompany(const QString& projectId, std::optional<qint64> leftOut, bool* ok,
                                 QHash<int, Money>* byInstructionDay) const {
    QList<CompanySum> sums;
    // A project's bookings repeat few spellings many times: each is folded once. Read from the last
    // booking back, the first row of a company is its last booking, the only one whose names are kept.
    QHash<QString, qsizetype> bySpelling;
    QHash<QString, qsizetype> byFoldedName;
    const bool ran = m_db.read(
        QStringLiteral("SELECT ID, Firma, Gewerk, Kostengruppe, Betrag, AnweisungVom FROM tblBuchung "
                       "WHERE trim(ProjektID) = ? AND ID IS DISTINCT FROM ? ORDER BY ID DESC"),
        {projectId, leftOut ? QVariant(*leftOut) : QVariant()}, [&](const Database::Row& row) {
            const QString company = row.text(1);
            qsizetype index = bySpelling.value(company, -1);
            if (index < 0) {
                const QString folded = SameName::fold(company);
                index = byFoldedName.value(folded, -1);
                if (index < 0) {
                    index = sums.size();
                    CompanySum& last = sums.emplaceBack();
                    last.company = company;
                    last.trade = row.text(2);
                    last.costGroup = row.text(3);
                    last.lastBookingId = row.rowNumber(0);
                    byFoldedName.insert(folded, index);
                }
                bySpelling.insert(company, index);
            }
            const Money amount = row.amount(4).value_or(Money());
            sums[index].amount += amount;
            if (byInstructionDay)
                if (const std::optional<int> day = row.integer(5))
                    (*byInstructionDay)[*day] += amount;
        });
    if (ok)
        *ok = ran;
    if (!ran)
        sums.clear();
    return sums;
}

int BookingRepository::highestRunningNumber(const QString& projectId, bool* ok) const {
    const QList<int> highest = StoredValue::rows<int>(
        m_db, QStringLiteral("SELECT MAX(CAST(PID AS INTEGER)) FROM tblBuchung WHERE trim(ProjektID) = ?"),
        {projectId}, ok, [](const Database::Row& row) { return row.integer(0).value_or(0); });
    return highest.isEmpty() ? 0 : std::max(0, highest.first());
}

QStringList BookingRepository::distinctValues(Field field, const QString& projectId, bool* ok) const {
    const QString column = fieldName(field);
    const QStringList found = StoredValue::rows<QString>(
        m_db,
        QStringLiteral("SELECT %1 FROM tblBuchung WHERE trim(ProjektID) = ? AND %1 IS NOT NULL AND %1 <> '' "
                       "GROUP BY %1 ORDER BY MIN(ID)")
            .arg(column),
        {projectId}, ok, [](const Database::Row& row) { return row.text(0); });
    // Values that differ only in letter case name the same company, trade or cost group: list it once,
    // as it was first booked.
    QStringList values;
    QSet<QString> folded;
    for (const QString& value : found) {
        const QString key = SameName::fold(value);
        if (!folded.contains(key)) {
            folded.insert(key);
            values.append(value);
        }
    }
    const QCollator collator = GermanCollator::make();
    std::stable_sort(values.begin(), values.end(),
                     [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return values;
}

QList<Booking> BookingRepository::withValue(const QString& projectId, Field field, const QString& value,
                                            bool* ok) const {
    return read(
        m_db,
        kSelect +
            QStringLiteral(
                "WHERE trim(ProjektID) = ? AND fold(%1) = fold(?) ORDER BY AnweisungVom NULLS FIRST, ID")
                .arg(fieldName(field)),
        {projectId, value}, ok);
}

QList<Booking> BookingRepository::instructedBetween(const QString& projectId, int firstDay, int lastDay,
                                                    bool* ok) const {
    return read(m_db,
                kSelect +
                    QStringLiteral("WHERE trim(ProjektID) = ? AND AnweisungVom >= ? AND AnweisungVom <= ? "
                                   "ORDER BY PID NULLS FIRST, ID"),
                {projectId, firstDay, lastDay}, ok);
}

QList<Booking> BookingRepository::instructedOnDays(const QString& projectId, int firstDay, int lastDay,
                                                   bool* ok) const {
    return read(m_db,
                kSelect +
                    QStringLiteral("WHERE trim(ProjektID) = ? AND AnweisungVom >= ? AND AnweisungVom < ? "
                                   "ORDER BY PID NULLS FIRST, ID"),
                {projectId, firstDay, qint64(lastDay) + 1}, ok);
}

std::optional<Booking> BookingRepository::find(const QString& projectId, int runningNumber,
                                               const QString& company, std::optional<int> instructedOn,
                                               bool* ok) const {
    const QList<Booking> rows =
        read(m_db,
             kSelect + QStringLiteral("WHERE trim(ProjektID) = ? AND PID = ? AND fold(Firma) = fold(?) "
                                      "AND AnweisungVom IS NOT DISTINCT FROM ? ORDER BY ID LIMIT 1"),
             {projectId, runningNumber, company, StoredValue::bind(instructedOn)}, ok);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

std::optional<qint64> BookingRepository::add(const Booking& booking) {
    const Database::Statement statement = insertion(booking);
    return m_db.insert(statement.sql, statement.values);
}

Database::Statement BookingRepository::insertion(const Booking& booking) {
    return {QStringLiteral(
                "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
                "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING ID"),
            {StoredValue::bind(booking.runningNumber), StoredValue::bind(booking.projectId),
             StoredValue::bind(booking.project), StoredValue::bind(booking.company),
             StoredValue::bind(booking.trade), StoredValue::bind(booking.costGroup),
             StoredValue::bindDay(booking.instructedOn, booking.instructedOnText),
             StoredValue::bindDay(booking.invoiceDate, booking.invoiceDateText),
             StoredValue::bind(booking.invoiceNumber), StoredValue::bind(booking.paymentKind),
             StoredValue::bind(booking.remarks), StoredValue::bind(booking.amount)}};
}

std::optional<Booking> BookingRepository::find(qint64 id, bool* ok) const {
    const QList<Booking> rows = read(m_db, kSelect + QStringLiteral("WHERE ID = ?"), {id}, ok);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

bool BookingRepository::book(Booking& booking) {
    Booking stored = booking;
    const bool booked = m_db.retryOnceWhenBusy([&] {
        stored = booking;
        Transaction transaction(m_db);
        return transaction.isActive() && addNumbered(stored) &&
               transaction.commit([&] { return storedAs(stored.id, *stored.runningNumber); });
    });
    if (booked)
        booking = stored;
    return booked;
}

std::optional<bool> BookingRepository::holdsRunningNumber(const QString& projectId, int runningNumber) const {
    bool held = false;
    if (!m_db.read(QStringLiteral("SELECT 1 FROM tblBuchung WHERE trim(ProjektID) = ? AND PID = ? LIMIT 1"),
                   {projectId, runningNumber}, [&](const Database::Row&) { held = true; }))
        return std::nullopt;
    return held;
}

bool BookingRepository::addNumbered(Booking& booking) {
    return addNumbered(booking, {}, {}, {});
}

bool BookingRepository::addNumbered(Booking& booking, const QList<Database::Statement>& followers,
                                    const Database::Statement& question,
                                    const std::function<void(const DatabaseRow&, int first)>& visit) {
    if (!m_db.lockProject(booking.projectId))
        return false;
    bool ok = true;
    const int highest = highestRunningNumber(booking.projectId, &ok);
    if (!ok)
        return false;
    Booking stored = booking;
    stored.runningNumber = RunningNumber::next(highest);
    const std::optional<qint64> id = followers.isEmpty() && question.sql.isEmpty()
                                         ? add(stored)
                                         : m_db.insertFollowed(insertion(stored), followers, question, visit);
    if (!id)
        return false;
    stored.id = *id;
    booking = stored;
    return true;
}

std::optional<bool> BookingRepository::storedAs(qint64 id, int runningNumber) const {
    bool ok = true;
    const std::optional<Booking> found = find(id, &ok);
    if (!ok)
        return std::nullopt;
    return found && found->runningNumber == runningNumber;
}

std::optional<QString> BookingRepository::stamp(qint64 id) {
    return m_db.rowStamp(QStringLiteral("tblBuchung"), QStringLiteral("ID"), id);
}

bool BookingRepository::stillAsLoaded(qint64 id, const QString& stamp) {
    return m_db.stillAsLoaded(QStringLiteral("tblBuchung"), QStringLiteral("ID"), id, stamp);
}

QList<Booking> BookingRepository::withUnreadableAmount(const QString& projectId, bool* ok) const {
    // The engine picks out the candidates (a text, or a number beyond any amount); Money decides.
    QList<Booking> rows = read(m_db,
                               kSelect + QStringLiteral("WHERE trim(ProjektID) = ? AND %1 ORDER BY ID")
                                             .arg(m_db.oddAmountCondition(QStringLiteral("Betrag"))),
                               {projectId}, ok);
    rows.removeIf([](const Booking& booking) { return booking.unreadableAmount.isEmpty(); });
    return rows;
}

bool BookingRepository::remove(qint64 id) {
    return m_db.changeRow(QStringLiteral("DELETE FROM tblBuchung WHERE ID = ?"), {id});
}
