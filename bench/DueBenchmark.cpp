#include "DueBenchmark.h"

#include "Database.h"
#include "DataLocation.h"
#include "DayNumber.h"
#include "Dialogs.h"
#include "DueScreen.h"
#include "Measurement.h"
#include "Money.h"
#include "PaymentDue.h"
#include "PaymentRules.h"
#include "PlainConnection.h"
#include "RecordingDialogs.h"
#include "RunningNumberText.h"
#include "Session.h"
#include "SignOffRepository.h"
#include "Transaction.h"

#include <algorithm>
#include <QDir>
#include <QFile>

namespace {

// The day the list is computed for; receipts lie up to 89 days before it.
constexpr int kToday = 46000;
constexpr int kBaseRate = 127;

// The texts of one open invoice as the list shows them, computed from its plain fields.
struct PlainItem {
    int dueOn = 0;
    int receivedOn = 0;
    qint64 id = 0;
    QStringList texts;
};

PlainItem plainItem(const PlainRow& row) {
    PlainItem item;
    item.id = row.integer(0);
    item.receivedOn = int(row.integer(8));
    const QString kind = row.text(6);
    const int days =
        !row.isNull(9) && row.integer(9) > 0
            ? int(row.integer(9))
            : (kind == QStringLiteral(u"Schlußzahlung") || kind == QStringLiteral(u"Rückhalt") ? 30 : 21);
    item.dueOn = item.receivedOn + days;
    const std::optional<Money> amount = Money::parseStored(row.text(7));
    QString lastDay;
    QString discount;
    if (!row.isNull(12)) {
        lastDay = DayNumber::format(item.receivedOn + int(row.integer(12)));
        const qint64 base = Money::parseStored(row.text(10)).value_or(Money()).cents();
        const qint64 hundredths = qRound64(row.real(11) * 100);
        const qint64 product = base * hundredths;
        discount = Money::fromCents((product + (product >= 0 ? 5000 : -5000)) / 10000).toGerman();
    }
    const qint64 lateDays = std::max(0, kToday - item.receivedOn - 30);
    const qint64 numerator = amount.value_or(Money()).cents() * (kBaseRate + 900) * lateDays;
    const qint64 interest = (2 * numerator + 3650000) / 7300000;
    item.texts = {
        row.text(2) + QStringLiteral(" - ") + row.text(3),
        RunningNumberText::of(row.isNull(1) ? std::nullopt : std::optional<int>(int(row.integer(1)))),
        row.text(4),
        row.text(5),
        kind,
        DayNumber::format(item.receivedOn),
        DayNumber::format(item.dueOn),
        QString::number(item.dueOn - kToday),
        lastDay,
        discount,
        interest != 0 ? Money::fromCents(interest).toGerman() : QString(),
        amount ? amount->toGerman() : row.text(7)};
    return item;
}

} // namespace

QString DueBenchmark::prepared(QString* error) {
    QString location = m_largeFile;
    if (!DataLocation::isServer(m_largeFile)) {
        location = QDir(m_workFolder).filePath(QStringLiteral("due.mdb"));
        QFile::remove(location);
        if (!QFile::copy(m_largeFile, location)) {
            *error = QStringLiteral("cannot copy the large file");
            return QString();
        }
    }
    // Opening adds the payment data's table and the states (every booking ordered, none paid).
    const std::unique_ptr<Database> db = Database::open(location);
    if (!db) {
        *error = QStringLiteral("cannot open the copy");
        return QString();
    }
    SignOffRepository states(*db);
    Transaction transaction(*db);
    const bool filled =
        transaction.isActive() && db->exec(QStringLiteral("DELETE FROM tblZahlung")) &&
        db->exec(
            QStringLiteral("INSERT INTO tblZahlung (BuchungID, ProjektID, Eingang, Brutto, SkontoProzent, "
                           "SkontoTage) SELECT ID, trim(ProjektID), ? - ID % 90, Betrag, CASE WHEN ID % "
                           "50 = 0 THEN 2 END, CASE WHEN ID % 50 = 0 THEN 10 END FROM tblBuchung WHERE "
                           "ID % 10 = 0"),
            {kToday}) &&
        states.suspendChecks() &&
        db->exec(QStringLiteral("UPDATE tblFreigabe SET Status = 'bezahlt', BezahltAm = ? WHERE BuchungID % "
                                "1000 = 0"),
                 {kToday}) &&
        states.installChecks() &&
        states.setSetting(PaymentRules::baseRateSetting(), QString::number(kBaseRate)) &&
        transaction.commit();
    if (!filled) {
        *error = QStringLiteral("cannot add the receipts: ") + db->lastError();
        return QString();
    }
    return location;
}

BenchTable::Row DueBenchmark::listFill() {
    BenchTable::Row row;
    row.name = QStringLiteral("B. Fälligkeiten: the open invoices");
    row.limit = 3.0;
    QString error;
    const QString location = prepared(&error);
    if (location.isEmpty()) {
        row.error = error;
        return row;
    }
    const std::unique_ptr<Session> session = Session::open(location);
    PlainConnection plain(location);
    if (!session || !plain.isOpen()) {
        row.error = QStringLiteral("cannot open");
        return row;
    }
    RecordingDialogs dialogs;
    DueScreen screen(*session, dialogs);
    QList<QStringList> ours;
    QList<PlainItem> items;
    const Measurement::Outcome outcome = Measurement::compare(
        m_runs,
        {nullptr,
         [&] {
             return Measurement::timed([&] {
                 screen.setToday(kToday);
                 ours = screen.snapshot().rows;
                 return !ours.isEmpty();
             });
         }},
        {nullptr, [&] {
             return Measurement::timed([&] {
                 items.clear();
                 const bool read = plain.query(
                     "SELECT b.ID, b.PID, b.ProjektID, b.Projekt, b.Firma, b.RechnungsNr, b.Zahlungsart, "
                     "b.Betrag, z.Eingang, z.Frist, z.Brutto, z.SkontoProzent, z.SkontoTage FROM tblZahlung "
                     "z "
                     "JOIN tblBuchung b ON b.ID = z.BuchungID LEFT JOIN tblFreigabe f ON f.BuchungID = "
                     "z.BuchungID WHERE z.Eingang IS NOT NULL AND (f.Status IS NULL OR f.Status <> "
                     "'bezahlt') AND f.StornoZu IS NULL AND NOT EXISTS (SELECT 1 FROM tblFreigabe s WHERE "
                     "s.StornoZu = z.BuchungID) ORDER BY z.Eingang, z.BuchungID",
                     {}, [&](const PlainRow& record) { items.append(plainItem(record)); });
                 std::stable_sort(items.begin(), items.end(),
                                  [](const PlainItem& a, const PlainItem& b) { return a.dueOn < b.dueOn; });
                 return read;
             });
         }});
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    qsizetype same = 0;
    for (qsizetype i = 0; i < std::min(ours.size(), items.size()); ++i)
        same += ours.at(i) == items.at(i).texts ? 1 : 0;
    if (row.error.isEmpty() && (ours.size() != items.size() || same != ours.size()))
        row.error = QStringLiteral("LISTS DIFFER (%1 / %2 rows, %3 the same)")
                        .arg(ours.size())
                        .arg(items.size())
                        .arg(same);
    row.note =
        QStringLiteral("%1 open invoices, all of them the same texts in the same order; ours: "
                       "DueScreen::setToday (base rate, DueReading::open through the receipt index, the "
                       "rules, the model) and its snapshot's 12 texts per row; baseline: the same join "
                       "through the plain interface, the figures and texts computed inline, sorted by "
                       "due day")
            .arg(ours.size());
    return row;
}
