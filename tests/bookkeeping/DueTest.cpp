#include "BaseRateOperation.h"
#include "DayNumber.h"
#include "DueReading.h"
#include "PaymentRules.h"
#include "Session.h"
#include "SignOffOperation.h"
#include "TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The day the fixture looks at its invoices: Monday, 02.06.2025.
constexpr int kToday = 45810;
const BaseRate kRate{127, 45658, true};

// A booking of the fixture and its payment: receipt counted back from today (none for no receipt),
// stored days to pay, the discount's percentage in hundredths and days, and the gross amount.
struct Invoice {
    int pid;
    const char* project;
    const char* kind;
    double amount;
    std::optional<int> receivedAgo;
    std::optional<int> days = std::nullopt;
    std::optional<int> discountPercent = std::nullopt;
    std::optional<int> discountDays = std::nullopt;
    std::optional<double> gross = std::nullopt;
};

// Due each side of 21, 30 and 60 days, paid (7), cancelled (8), without receipt (9) or payment data (10),
// the edges of 7, 14 and 30 days ahead (11 to 16), discounts (17, 18) and a late release (19).
const QList<Invoice> kInvoices = {
    {1, "1", "1. Abschlagszahlung", 1000, 21},
    {2, "1", "2. Abschlagszahlung", 1000, 22},
    {3, "1", "Schlußzahlung", 10000, 30},
    {4, "1", "Schlußzahlung", 10000, 31},
    {5, "1", "Schlußzahlung", 50000, 60, 60},
    {6, "1", "Schlußzahlung", 20000, 61, 60},
    {7, "1", "Schlußzahlung", 5000, 40},
    {8, "1", "Schlußzahlung", 5000, 40},
    {9, "1", "Schlußzahlung", 5000, std::nullopt},
    {10, "1", "Schlußzahlung", 5000, std::nullopt},
    {11, "1", "3. Abschlagszahlung", 100, 14},
    {12, "1", "4. Abschlagszahlung", 100, 13},
    {13, "1", "5. Abschlagszahlung", 100, 7},
    {14, "1", "6. Abschlagszahlung", 100, 6},
    {15, "1", "Schlußzahlung", 100, 30, 60},
    {16, "1", "Schlußzahlung", 100, 29, 60},
    {17, "1", "7. Abschlagszahlung", 970, 5, std::nullopt, 300, 8, 1000},
    {18, "2", "1. Abschlagszahlung", 980, 4, std::nullopt, 200, 14, 1000},
    {19, "1", "Rückhalt", 500, 31},
};

QVariant orNull(std::optional<int> value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Int));
}

} // namespace

// The invoices waiting for payment on both engines, against a plain query of the same rows, and the
// base rate saved and read back.
class DueTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Session> m_session;

    qint64 idOf(int pid, const QString& project = u"1"_s) {
        return m_db->scalar(u"SELECT ID FROM tblBuchung WHERE PID = ? AND ProjektID = ?"_s, {pid, project})
            .toLongLong();
    }

    // PID:due day:interest in cents of each row, as the reading gives them.
    QString read(const QString& projectId, std::optional<int> within) {
        const Reading<QList<DueItem>> due = DueReading::open(*m_session, projectId, kToday, within, kRate);
        if (!due.ok)
            return due.failure;
        QStringList rows;
        for (const DueItem& item : due.value)
            rows += u"%1:%2:%3"_s.arg(item.booking.runningNumber.value_or(0))
                        .arg(item.dueOn - kToday)
                        .arg(item.interest.cents());
        return rows.join(u' ');
    }

    // The same computed by a plain query: due day by the kind, interest in whole cents rounded half up.
    QString plain(const QString& projectId, std::optional<int> within) {
        const int ahead = within.value_or(-1);
        QVariantList values{kToday, kToday, kToday, u"bezahlt"_s};
        QString project;
        if (!projectId.isEmpty()) {
            project = u" AND z.ProjektID = ?"_s;
            values += projectId;
        }
        values << ahead << kToday + ahead << kToday << kToday + ahead;
        const QString sql =
            u"SELECT PID, due - ?, interest FROM (SELECT b.PID, b.ID, "
            "z.Eingang, z.Eingang + COALESCE(z.Frist, CASE WHEN b.Zahlungsart IN ('Schlußzahlung', "
            "'Rückhalt') THEN 30 ELSE 21 END) AS due, z.Eingang + z.SkontoTage AS last, CASE WHEN ? - "
            "z.Eingang > 30 THEN (2 * CAST(ROUND(b.Betrag * 100) AS BIGINT) * 1027 * (? - z.Eingang - 30) + "
            "3650000) / 7300000 ELSE 0 END AS interest FROM tblBuchung b JOIN tblZahlung z ON z.BuchungID = "
            "b.ID WHERE z.Eingang IS NOT NULL AND b.ID NOT IN (SELECT BuchungID FROM tblFreigabe WHERE "
            "Status = ? OR StornoZu IS NOT NULL) AND b.ID NOT IN (SELECT StornoZu FROM tblFreigabe WHERE "
            "StornoZu IS NOT NULL)%1) q WHERE ? < 0 OR due <= ? OR (last >= ? AND last <= ?) ORDER "
            "BY "
            "due, Eingang, ID"_s.arg(project);
        QStringList rows;
        const bool ran = m_db->db().read(sql, values, [&](const Database::Row& row) {
            rows += row.text(0) + u':' + row.text(1) + u':' + row.text(2);
        });
        return ran ? rows.join(u' ') : m_db->db().lastError();
    }

private slots:
    void initTestCase() {
        m_db = std::make_unique<TestDatabase>();
        for (const Invoice& invoice : kInvoices) {
            m_db->exec(u"INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, RechnungsNr, Zahlungsart, "
                       "Betrag) VALUES (?, ?, 'Schule', 'Hochbau Nord', ?, ?, ?)"_s,
                       {invoice.pid, QString::fromLatin1(invoice.project), u"R-%1"_s.arg(invoice.pid),
                        QString::fromUtf8(invoice.kind), invoice.amount});
            if (invoice.pid == 10)
                continue;
            m_db->exec(
                u"INSERT INTO tblZahlung (BuchungID, ProjektID, Eingang, Frist, SkontoProzent, "
                "SkontoTage, Brutto) VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
                {idOf(invoice.pid, QString::fromLatin1(invoice.project)),
                 QString::fromLatin1(invoice.project),
                 orNull(invoice.receivedAgo ? std::optional(kToday - *invoice.receivedAgo) : std::nullopt),
                 orNull(invoice.days),
                 invoice.discountPercent ? QVariant(*invoice.discountPercent / 100.0)
                                         : QVariant(QMetaType(QMetaType::Double)),
                 orNull(invoice.discountDays),
                 invoice.gross ? QVariant(*invoice.gross) : QVariant(QMetaType(QMetaType::Double))});
        }
        m_session = Session::open(m_db->path());
        QVERIFY(m_session);
        SignOffOperation signOff(*m_session);
        QVERIFY(signOff.saveRules({false, false}).ok());
        const QList<qint64> settled{idOf(7), idOf(8)};
        QVERIFY(signOff.confirm(settled).ok());
        QVERIFY(signOff.order(settled).ok());
        QVERIFY(signOff.markPaid({idOf(7)}, kToday - 1).ok());
        QVERIFY(signOff.cancel(idOf(8), u"doppelt"_s).ok());
        // The counter-booking carries the cancelled one's payment, received 40 days ago: neither is open.
        m_db->exec(u"UPDATE tblZahlung SET Eingang = ? WHERE BuchungID IN (SELECT BuchungID FROM tblFreigabe "
                   "WHERE StornoZu IS NOT NULL)"_s,
                   {kToday - 40});
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM tblZahlung WHERE BuchungID IN (SELECT BuchungID FROM "
                              "tblFreigabe WHERE StornoZu IS NOT NULL)"_s),
                 u"1"_s);
    }
    void cleanupTestCase() {
        m_session.reset();
        m_db.reset();
    }

    // Sorted by due day; paid, cancelled and unreceived invoices left out; a period keeps what falls due
    // or loses its discount within it, and the late ones.
    void rows_data() {
        QTest::addColumn<QString>("project");
        QTest::addColumn<int>("within");
        QTest::addColumn<QString>("rows");
        QTest::newRow("all") << QString() << -1
                             << u"6:-1:17445 4:-1:281 19:-1:14 2:-1:0 5:0:42205 3:0:0 1:0:0 11:7:0 12:8:0 "
                                "13:14:0 14:15:0 17:16:0 18:17:0 15:30:0 16:31:0"_s;
        QTest::newRow("project 1")
            << u"1"_s << -1
            << u"6:-1:17445 4:-1:281 19:-1:14 2:-1:0 5:0:42205 3:0:0 1:0:0 11:7:0 12:8:0 13:14:0 14:15:0 "
               "17:16:0 15:30:0 16:31:0"_s;
        QTest::newRow("7 days")
            << QString() << 7
            << u"6:-1:17445 4:-1:281 19:-1:14 2:-1:0 5:0:42205 3:0:0 1:0:0 11:7:0 17:16:0"_s;
        QTest::newRow("14 days")
            << QString() << 14
            << u"6:-1:17445 4:-1:281 19:-1:14 2:-1:0 5:0:42205 3:0:0 1:0:0 11:7:0 12:8:0 "
               "13:14:0 17:16:0 18:17:0"_s;
        QTest::newRow("30 days")
            << QString() << 30
            << u"6:-1:17445 4:-1:281 19:-1:14 2:-1:0 5:0:42205 3:0:0 1:0:0 11:7:0 12:8:0 "
               "13:14:0 14:15:0 17:16:0 18:17:0 15:30:0"_s;
    }
    void rows() {
        QFETCH(QString, project);
        QFETCH(int, within);
        QFETCH(QString, rows);
        const std::optional<int> period = within < 0 ? std::nullopt : std::optional(within);
        QCOMPARE(read(project, period), rows);
        QCOMPARE(plain(project, period), rows);
    }

    // Each row's figures: days left, the discount's last day, amount and whether it ends soon.
    void figures_data() {
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("figures");
        QTest::newRow("late final") << 4 << u"1"_s << u"-1 late, no discount"_s;
        QTest::newRow("due today") << 1 << u"1"_s << u"0 in time, no discount"_s;
        QTest::newRow("discount ends in 3 days") << 17 << u"1"_s << u"16 in time, 30,00 until 3 soon"_s;
        QTest::newRow("discount ends in 10 days") << 18 << u"2"_s << u"17 in time, 20,00 until 10"_s;
    }
    void figures() {
        QFETCH(int, pid);
        QFETCH(QString, project);
        QFETCH(QString, figures);
        const Reading<QList<DueItem>> due =
            DueReading::open(*m_session, project, kToday, std::nullopt, kRate);
        QVERIFY(due.ok);
        const auto found = std::find_if(due.value.cbegin(), due.value.cend(), [&](const DueItem& item) {
            return item.booking.runningNumber == pid;
        });
        QVERIFY(found != due.value.cend());
        QString text = u"%1 %2, "_s.arg(found->daysLeft).arg(found->overdue ? u"late"_s : u"in time"_s);
        text += found->discount ? u"%1 until %2%3"_s.arg(found->discount->toGerman())
                                      .arg(found->discountLastDay.value_or(0) - kToday)
                                      .arg(found->discountEndsSoon ? u" soon"_s : QString())
                                : u"no discount"_s;
        QCOMPARE(text, figures);
    }

    // Unset, the rate counts as 0 without a day; saved, it reads back and is journaled.
    void baseRate() {
        const BaseRate unset = PaymentRules::baseRate(*m_session);
        QVERIFY(!unset.isSet);
        QCOMPARE(unset.hundredths, 0);
        QVERIFY(!unset.since);
        for (const BaseRate& rate : {BaseRate{-88, DayNumber::fromDate(QDate(2020, 1, 1)), true},
                                     BaseRate{127, std::nullopt, true}}) {
            QVERIFY(BaseRateOperation(*m_session).save(rate).ok());
            bool ok = false;
            QCOMPARE(PaymentRules::baseRate(*m_session, &ok), rate);
            QVERIFY(ok);
        }
        QCOMPARE(
            m_db->scalar(u"SELECT COUNT(*) FROM tblProtokoll WHERE Vorgang = 'Basiszinssatz'"_s).toInt() > 0,
            true);
    }

    void parseRate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("hundredths");
        QTest::newRow("plain") << u"1,27"_s << 127;
        QTest::newRow("negative") << u"-0,88"_s << -88;
        QTest::newRow("whole") << u"2"_s << 200;
        QTest::newRow("one decimal") << u"3,6"_s << 360;
        QTest::newRow("percent sign") << u" 1,27 %"_s << 127;
        QTest::newRow("three decimals") << u"1,275"_s << -1;
        QTest::newRow("text") << u"hoch"_s << -1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("100 %") << u"100"_s << 10000;
        QTest::newRow("beyond 100 %") << u"100,01"_s << -1;
    }
    void parseRate() {
        QFETCH(QString, typed);
        QFETCH(int, hundredths);
        QCOMPARE(PaymentRules::parseRate(typed).value_or(-1), hundredths);
    }
};

QTEST_GUILESS_MAIN(DueTest)
#include "DueTest.moc"
