#include "BookingOperation.h"
#include "DayNumber.h"
#include "EstimateOperation.h"
#include "OrderTermsOperation.h"
#include "OrderTermsReading.h"
#include "Percent.h"
#include "RetentionProposal.h"
#include "SecurityOperation.h"
#include "SecurityReading.h"
#include "Session.h"
#include "StoreFixture.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Money)

namespace {

const QString kCompany = u"Bau GmbH"_s;
const QString kPerformance = u"Vertragserfüllung"_s;
const QString kDefects = u"Mängelansprüche"_s;

Money euros(const char* text) {
    return *Money::parseGerman(QString::fromUtf8(text));
}

} // namespace

// Retentions from instalments and the final payment, their release, the terms of an order and the
// securities of a project, on both engines and to the cent.
class RetentionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Session> m_session;

    // The company's main order of amount (and a supplement of supplement) with terms: performance and
    // defects each as "percent form" ("5 Einbehalt"), empty for none.
    void order(Money amount, const QString& performance, const QString& defects, Money supplement = {}) {
        m_db->exec(u"INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragArt, NachtragKosten) VALUES "
                   "(1, '1', ?, 'Auftrag vom', ?), (2, '1', ?, '1. Nachtr. Auftrag', ?)"_s,
                   {kCompany.toUpper(), amount.toEuros(), kCompany, supplement.toEuros()});
        OrderTerms terms;
        terms.projectId = u"1"_s;
        terms.runningNumber = 1;
        if (!performance.isEmpty()) {
            terms.performancePercent = parsePercent(performance.section(' ', 0, 0));
            terms.performanceForm = performance.section(' ', 1);
        }
        if (!defects.isEmpty()) {
            terms.defectsPercent = parsePercent(defects.section(' ', 0, 0));
            terms.defectsForm = defects.section(' ', 1);
        }
        const Outcome saved = OrderTermsOperation(*m_session).save(kCompany, terms);
        QVERIFY2(saved.ok(), qPrintable(saved.text()));
    }

    // A payment of gross to the company with retention of kind; returns the booking's ID.
    qint64 pay(const QString& paymentKind, Money gross, Money retention, const QString& kind) {
        Booking booking;
        booking.projectId = u"1"_s;
        booking.company = kCompany;
        booking.paymentKind = paymentKind;
        booking.instructedOn = DayNumber::fromDate(QDate(2026, 3, 2));
        booking.amount = gross - retention;
        Payment payment;
        payment.gross = gross;
        payment.retention = retention;
        payment.retentionKind = kind;
        const Outcome outcome =
            BookingOperation(*m_session).book(booking, std::nullopt, false, nullptr, payment);
        if (!outcome.ok())
            qWarning("payment refused: %s", qPrintable(outcome.text()));
        return outcome.ok() ? booking.id : 0;
    }

    Money retained(const QString& kind) {
        Money sum;
        const QList<SecurityReading::Line> lines = SecurityReading::ofProject(*m_session, u"1"_s, 0).value;
        for (const SecurityReading::Line& line : lines) {
            if (line.kind == kind)
                sum = line.retained;
        }
        return sum;
    }

private slots:
    void init() {
        m_db = std::make_unique<TestDatabase>();
        QVERIFY(m_db->isValid());
        m_db->exec(u"INSERT INTO tblProjekt (ID, ProjektName) VALUES (1, 'Grundschule')"_s);
        m_db->exec(u"INSERT INTO tblFirma (Name) VALUES (?)"_s, {kCompany});
        m_session = Session::open(m_db->path());
        QVERIFY(m_session);
    }
    void cleanup() {
        m_session.reset();
        m_db.reset();
    }

    // Each row: the order and its terms, the payments before ("kind gross retention" each, the retention
    // for the kind the payment builds up), the payment, and what is proposed.
    void proposal_data() {
        QTest::addColumn<QString>("performance");
        QTest::addColumn<QString>("defects");
        QTest::addColumn<Money>("supplement");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("paymentKind");
        QTest::addColumn<Money>("gross");
        QTest::addColumn<Money>("amount");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        const QString instalment = u"1. Abschlagszahlung"_s;
        const QString last = u"Schlußzahlung"_s;
        QTest::newRow("capped at 10 %")
            << u"5 Einbehalt"_s << QString() << Money() << QStringList() << instalment << euros("12.345,67")
            << euros("1.234,57") << kPerformance
            << u"10 % von 12.345,67 € = 1.234,57 €, bis die vereinbarte Sicherheit "
               "von 5.000,00 € (5,00 % der Auftragssumme von 100.000,00 €)"_s;
        QTest::newRow("odd cents round half away from zero")
            << u"5 Einbehalt"_s << QString() << Money() << QStringList() << instalment << euros("0,05")
            << euros("0,01") << kPerformance << u"10 % von 0,05 € = 0,01 €"_s;
        QTest::newRow("stops at the agreed sum")
            << u"5 Einbehalt"_s << QString() << Money() << QStringList{u"i 45000 4500"_s} << instalment
            << euros("20.000") << euros("500") << kPerformance
            << u"5.000,00 € − bisher einbehalten 4.500,00 € = 500,00 €"_s;
        QTest::newRow("reached") << u"5 Einbehalt"_s << QString() << Money()
                                 << QStringList{u"i 30000 3000"_s, u"i 20000 2000"_s} << instalment
                                 << euros("20.000") << Money() << kPerformance << u"schon einbehalten"_s;
        QTest::newRow("supplements raise the order sum")
            << u"5 Einbehalt"_s << QString() << euros("20.000") << QStringList{u"i 50000 5000"_s}
            << instalment << euros("20.000") << euros("1.000") << kPerformance
            << u"Auftragssumme von 120.000,00 €"_s;
        QTest::newRow("guarantee retains nothing")
            << u"5 Bürgschaft"_s << QString() << Money() << QStringList() << instalment << euros("20.000")
            << Money() << QString() << QString();
        QTest::newRow("any other text is an instalment")
            << u"5 Einbehalt"_s << QString() << Money() << QStringList() << u"Teilrechnung"_s
            << euros("1.000") << euros("100") << kPerformance << u"10 % von 1.000,00 €"_s;
        QTest::newRow("defects at the final payment")
            << u"5 Einbehalt"_s << u"3 Einbehalt"_s << Money() << QStringList{u"i 90000 5000"_s} << last
            << euros("10.000") << euros("3.000") << kDefects
            << u"3,00 % der Abrechnungssumme von 100.000,00 € = 3.000,00 €, abzüglich bisher einbehalten "
               u"0,00 € "
               "= 3.000,00 €"_s;
        QTest::newRow("defects less what was retained for them")
            << QString() << u"2,5 Einbehalt"_s << Money() << QStringList{u"d 80000 500"_s} << last
            << euros("20.001") << euros("2.000,03") << kDefects
            << u"2,50 % der Abrechnungssumme von 100.001,00 €"_s;
        QTest::newRow("defects by guarantee") << QString() << u"3 Bürgschaft"_s << Money() << QStringList()
                                              << last << euros("10.000") << Money() << QString() << QString();
        QTest::newRow("release retains nothing")
            << u"5 Einbehalt"_s << QString() << Money() << QStringList() << u"Rückhalt"_s << euros("1.000")
            << Money() << QString() << QString();
    }
    void proposal() {
        QFETCH(QString, performance);
        QFETCH(QString, defects);
        QFETCH(Money, supplement);
        QFETCH(QStringList, before);
        QFETCH(QString, paymentKind);
        QFETCH(Money, gross);
        order(euros("100.000"), performance, defects, supplement);
        qint64 replaced = 0;
        for (const QString& payment : before) {
            const QStringList parts = payment.split(' ');
            replaced = pay(u"n. Abschlagszahlung"_s, Money::fromCents(parts[1].toLongLong() * 100),
                           Money::fromCents(parts[2].toLongLong() * 100),
                           parts[0] == u"i"_s ? kPerformance : kDefects);
            QVERIFY(replaced);
        }
        const Retention proposed =
            RetentionProposal::propose(*m_session, u" 1"_s, kCompany.toLower(), paymentKind, gross);
        QTEST(proposed.amount, "amount");
        QTEST(proposed.kind, "kind");
        QFETCH(QString, reason);
        QVERIFY2(proposed.reason.contains(reason), qPrintable(proposed.reason));
        if (!before.isEmpty() && !RetentionProposal::isFinalPayment(paymentKind)) {
            const Retention again =
                RetentionProposal::propose(*m_session, u"1"_s, kCompany, paymentKind, gross, replaced);
            QVERIFY2(again.amount > proposed.amount, "the booking replaced still counted as retained");
        }
    }

    void refusal_data() {
        QTest::addColumn<QString>("paymentKind");
        QTest::addColumn<Money>("gross");
        QTest::addColumn<Money>("retention");
        QTest::addColumn<bool>("refused");
        QTest::newRow("10 % of an instalment")
            << u"2. Abschlagszahlung"_s << euros("1.000") << euros("100") << false;
        QTest::newRow("a cent more") << u"2. Abschlagszahlung"_s << euros("1.000") << euros("100,01") << true;
        QTest::newRow("odd cents") << u"n. Abschlagszahlung"_s << euros("0,05") << euros("0,01") << false;
        QTest::newRow("other text") << u"Teilrechnung"_s << euros("1.000") << euros("150") << true;
        QTest::newRow("final payment") << u"Schlußzahlung"_s << euros("1.000") << euros("300") << false;
        QTest::newRow("release") << u"Rückhalt"_s << Money() << euros("-500") << false;
    }
    void refusal() {
        QFETCH(QString, paymentKind);
        QFETCH(Money, gross);
        QFETCH(Money, retention);
        QFETCH(bool, refused);
        const QString text = RetentionProposal::refusal(paymentKind, gross, retention);
        QCOMPARE(!text.isEmpty(), refused);
        if (refused)
            QVERIFY2(text.contains(u"§17 Abs. 6 Nr. 1 VOB/B"_s), qPrintable(text));
    }

    // Each row: VOB/B, the two securities ("percent form"), Skonto ("percent days"), days to pay, and the
    // refusal's words (empty: stored).
    void terms_data() {
        QTest::addColumn<bool>("vob");
        QTest::addColumn<QString>("performance");
        QTest::addColumn<QString>("defects");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("5 % and 3 %") << true << u"5 Einbehalt"_s << u"3 Bürgschaft"_s << u"2 14"_s << 30
                                     << QString();
        QTest::newRow("over 5 %") << true << u"5,01 Einbehalt"_s << QString() << QString() << 0
                                  << u"höchstens 5,00 % der Auftragssumme"_s;
        QTest::newRow("over 3 %") << true << QString() << u"3,01 Bürgschaft"_s << QString() << 0
                                  << u"höchstens 3,00 % der Abrechnungssumme"_s;
        QTest::newRow("without VOB/B")
            << false << u"8 Einbehalt"_s << u"4 Einbehalt"_s << QString() << 60 << QString();
        QTest::newRow("no form") << true << u"5"_s << QString() << QString() << 0 << u"Bürgschaft"_s;
        QTest::newRow("Skonto without days") << true << QString() << QString() << u"2 0"_s << 0 << u"Tage"_s;
        QTest::newRow("45 days") << true << QString() << QString() << QString() << 45 << u"30 oder 60"_s;
    }
    void terms() {
        QFETCH(bool, vob);
        QFETCH(QString, performance);
        QFETCH(QString, defects);
        QFETCH(QString, discount);
        QFETCH(int, days);
        QFETCH(QString, refusal);
        m_db->exec(u"INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragArt, NachtragKosten) VALUES "
                   "(3, '1', ?, 'Auftrag vom', 1000), (4, '1', ?, '1. Nachtr. Auftrag', 10)"_s,
                   {kCompany, kCompany});
        OrderTerms terms;
        terms.projectId = u"1"_s;
        terms.runningNumber = 3;
        terms.vob = vob;
        terms.performancePercent = parsePercent(performance.section(' ', 0, 0));
        terms.performanceForm = performance.section(' ', 1);
        terms.defectsPercent = parsePercent(defects.section(' ', 0, 0));
        terms.defectsForm = defects.section(' ', 1);
        terms.discountPercent = parsePercent(discount.section(' ', 0, 0));
        if (!discount.isEmpty())
            terms.discountDays = discount.section(' ', 1).toInt();
        if (days)
            terms.daysToPay = days;
        const Outcome saved = OrderTermsOperation(*m_session).save(kCompany, terms);
        QCOMPARE(saved.text().contains(refusal) && saved.ok() == refusal.isEmpty(), true);
        const std::optional<OrderTerms> read = OrderTermsReading::forCompany(*m_session, u"1"_s, kCompany);
        QCOMPARE(read.has_value(), refusal.isEmpty());
        if (read) {
            QCOMPARE(read->performancePercent, terms.performancePercent);
            QCOMPARE(read->defectsForm, terms.defectsForm);
            QCOMPARE(read->discountDays, terms.discountDays);
            QCOMPARE(read->yearsToReturn(), 2);
        }
        terms.runningNumber = 4;
        if (refusal.isEmpty())
            QCOMPARE(OrderTermsOperation(*m_session).save(kCompany, terms).kind(), Outcome::Kind::Gone);
    }

    // The help's worked examples, computed by the program's own rules and found in the help as computed.
    void helpExample_data() {
        QTest::addColumn<QString>("paymentKind");
        QTest::addColumn<Money>("before");
        QTest::addColumn<Money>("retainedBefore");
        QTest::addColumn<Money>("gross");
        QTest::addColumn<Money>("amount");
        QTest::addColumn<QString>("said");
        QTest::newRow("first instalment")
            << u"1. Abschlagszahlung"_s << Money() << Money() << euros("12.345,67") << euros("1.234,57")
            << u"10 % = 1.234,57 € einbehalten, ausgezahlt werden 11.111,10 €"_s;
        QTest::newRow("up to the agreed security")
            << u"5. Abschlagszahlung"_s << euros("60.000") << euros("5.500") << euros("9.876,54")
            << euros("672,84")
            << u"nicht 10 % = 987,65 €, sondern nur der Rest bis zur vereinbarten Sicherheit einbehalten: "
               "6.172,84 € − 5.500,00 € = 672,84 €"_s;
        QTest::newRow("final payment")
            << u"Schlußzahlung"_s << euros("110.000") << Money() << euros("14.567,89") << euros("3.737,04")
            << u"3 % der Abrechnungssumme von 124.567,89 € sind 3.737,04 €"_s;
    }
    void helpExample() {
        QFETCH(QString, paymentKind);
        QFETCH(Money, before);
        QFETCH(Money, retainedBefore);
        QFETCH(Money, gross);
        QFETCH(QString, said);
        OrderTerms terms;
        terms.performancePercent = 500;
        terms.performanceForm = u"Einbehalt"_s;
        terms.defectsPercent = 300;
        terms.defectsForm = u"Einbehalt"_s;
        EstimateRow order;
        order.runningNumber = 1;
        order.orderKind = u"Auftrag vom"_s;
        order.orderCost = euros("100.000");
        EstimateRow supplement = order;
        supplement.runningNumber = 2;
        supplement.orderKind = u"1. Nachtr. Auftrag"_s;
        supplement.orderCost = euros("23.456,78");
        const RetentionProposal::Standing standing{RetentionProposal::orderSum({order, supplement}),
                                                   retainedBefore, Money(), before};
        QTEST(RetentionProposal::compute(terms, standing, paymentKind, gross).amount, "amount");
        QFile file(QStringLiteral(ZLV_HELP));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString help = QString::fromUtf8(file.readAll()).simplified();
        QVERIFY2(help.contains(said), qPrintable(said));
        QVERIFY(
            help.contains(u"Abnahme am 15.03.2026 ergibt die Rückgabe am 15.03.2028, Abnahme am 29.02.2024 "
                          "die Rückgabe am 28.02.2026"_s));
        QCOMPARE(DayNumber::format(SecurityOperation::returnDay(DayNumber::fromDate(QDate(2026, 3, 15)), 2)),
                 u"15.03.2028"_s);
        QCOMPARE(DayNumber::format(SecurityOperation::returnDay(DayNumber::fromDate(QDate(2024, 2, 29)), 2)),
                 u"28.02.2026"_s);
    }

    // The terms go with their order's estimate row, and pass to its correction.
    void termsFollowTheirOrder() {
        order(euros("100.000"), u"5 Einbehalt"_s, QString());
        const QString rowOf1 = m_db->scalar(u"SELECT rowid FROM tblNachtrag WHERE NID = 1"_s);
        EstimateOperation estimates(*m_session);
        std::optional<Loaded<EstimateRow>> taken = estimates.takeBack(rowOf1.toLongLong());
        QVERIFY(taken);
        EstimateRow corrected = taken->row;
        corrected.orderCost = euros("90.000");
        QVERIFY(estimates.book(corrected, taken->asLoaded).ok());
        QCOMPARE(m_db->scalar(u"SELECT NID FROM tblZahlungsbedingung"_s),
                 QString::number(*corrected.runningNumber));
        QCOMPARE(RetentionProposal::propose(*m_session, u"1"_s, kCompany, u"1. Abschlagszahlung"_s,
                                            euros("10.000"))
                     .amount,
                 euros("1.000"));
        QVERIFY(estimates.remove(corrected.rowId).ok());
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM tblZahlungsbedingung"_s), u"0"_s);
        QVERIFY(!OrderTermsReading::forCompany(*m_session, u"1"_s, kCompany));
    }

    // A release is a booking of its own, linked to the security it releases; what is retained drops by it.
    void release() {
        order(euros("100.000"), u"5 Einbehalt"_s, QString());
        QVERIFY(pay(u"1. Abschlagszahlung"_s, euros("10.000"), euros("1.000"), kPerformance));
        QCOMPARE(retained(kPerformance), euros("1.000"));
        Security security;
        security.projectId = u"1"_s;
        security.kind = kPerformance;
        security.form = u"Einbehalt"_s;
        security.amount = euros("1.000");
        const Outcome recorded = SecurityOperation(*m_session).add(kCompany, security);
        QVERIFY2(recorded.ok(), qPrintable(recorded.text()));
        SecurityOperation operation(*m_session);
        const Outcome released =
            operation.release(u"1"_s, kCompany, kPerformance, euros("600"), 46100, recorded.identity());
        QVERIFY2(released.ok(), qPrintable(released.text()));
        const QVariantList id{*released.identity()};
        QCOMPARE(m_db->scalar(u"SELECT Zahlungsart || '/' || Firma FROM tblBuchung WHERE ID = ?"_s, id),
                 u"Rückhalt/Bau GmbH"_s);
        QCOMPARE(Money::parseStored(m_db->scalar(u"SELECT Betrag FROM tblBuchung WHERE ID = ?"_s, id)),
                 euros("600"));
        QCOMPARE(
            Money::parseStored(m_db->scalar(u"SELECT Einbehalt FROM tblZahlung WHERE BuchungID = ?"_s, id)),
            euros("-600"));
        QCOMPARE(m_db->scalar(u"SELECT SicherheitID FROM tblZahlung WHERE BuchungID = ?"_s, id),
                 QString::number(*recorded.identity()));
        QCOMPARE(retained(kPerformance), euros("400"));
        QCOMPARE(RetentionProposal::propose(*m_session, u"1"_s, kCompany, u"2. Abschlagszahlung"_s,
                                            euros("50.000"))
                     .amount,
                 euros("4.600"));
        const Outcome beyond = operation.release(u"1"_s, kCompany, kPerformance, euros("400,01"), 46100);
        QCOMPARE(beyond.kind(), Outcome::Kind::Refused);
        QVERIFY2(beyond.text().contains(u"400,00 €"_s), qPrintable(beyond.text()));
    }

    // Each row: a guarantee (received, due back, returned as day offsets, empty for none) and its amount
    // beside the agreed 5.000,00 € and the cash retained, and the two filters on today.
    void securities_data() {
        QTest::addColumn<QString>("days");
        QTest::addColumn<Money>("guarantee");
        QTest::addColumn<Money>("retainedCash");
        QTest::addColumn<bool>("returnDue");
        QTest::addColumn<bool>("missing");
        QTest::newRow("due back today") << u"-400 0 -"_s << euros("5.000") << Money() << true << false;
        QTest::newRow("due back tomorrow") << u"-400 1 -"_s << euros("5.000") << Money() << false << false;
        QTest::newRow("returned") << u"-400 -1 -1"_s << euros("5.000") << Money() << false << true;
        QTest::newRow("a cent short") << u"-4 300 -"_s << euros("4.999,99") << Money() << false << true;
        QTest::newRow("not yet received") << u"- 300 -"_s << euros("5.000") << Money() << false << true;
        QTest::newRow("guarantee and cash")
            << u"-4 300 -"_s << euros("3.000") << euros("2.000") << false << false;
        QTest::newRow("cash a cent short") << QString() << Money() << euros("4.999,99") << false << true;
        QTest::newRow("cash in full") << QString() << Money() << euros("5.000") << false << false;
    }
    void securities() {
        QFETCH(QString, days);
        QFETCH(Money, guarantee);
        QFETCH(Money, retainedCash);
        order(euros("100.000"), u"5 Bürgschaft"_s, u"3 Bürgschaft"_s);
        const int today = DayNumber::fromDate(QDate(2026, 12, 31));
        if (retainedCash.cents())
            QVERIFY(pay(u"1. Abschlagszahlung"_s, Money::fromCents(retainedCash.cents() * 10), retainedCash,
                        kPerformance));
        if (!days.isEmpty()) {
            const QStringList offsets = days.split(' ');
            auto at = [&](int i) {
                return offsets[i] == u"-"_s ? std::nullopt : std::optional<int>(today + offsets[i].toInt());
            };
            Security security{0,        u"1"_s, 0,     kPerformance, u"Bürgschaft"_s, guarantee, u"Bank"_s,
                              u"B-1"_s, at(0),  at(1), at(2)};
            QVERIFY(SecurityOperation(*m_session).add(kCompany, security).ok());
        }
        const Reading<QList<SecurityReading::Line>> read =
            SecurityReading::ofProject(*m_session, u"1"_s, today);
        QVERIFY2(read.ok, qPrintable(read.failure));
        QCOMPARE(read.value.size(), 2);
        const SecurityReading::Line& line = read.value.first();
        QCOMPARE(line.kind, kPerformance);
        QCOMPARE(line.agreed, euros("5.000"));
        QCOMPARE(line.retained, retainedCash);
        QTEST(line.returnDue, "returnDue");
        QTEST(line.missing, "missing");
        QCOMPARE(read.value.last().kind, kDefects);
        QCOMPARE(read.value.last().missing, false);
        const QString dueByQuery = m_db->scalar(
            u"SELECT COUNT(*) FROM tblSicherheit WHERE ProjektID = '1' AND RueckgabeAm <= ? AND ZurueckAm IS NULL"_s,
            {today});
        QCOMPARE(dueByQuery == u"1"_s, line.returnDue);
    }
};

QTEST_GUILESS_MAIN(RetentionTest)
#include "RetentionTest.moc"
