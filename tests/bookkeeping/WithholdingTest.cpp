#include "DayNumber.h"
#include "ExemptionOperation.h"
#include "ExemptionReading.h"
#include "ExemptionStatus.h"
#include "Session.h"
#include "StoreFixture.h"
#include "WithholdingProposal.h"
#include "WithholdingReading.h"

#include <QFile>
#include <QPoint>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
int day(const QString& iso) {
    return DayNumber::fromDate(QDate::fromString(iso, Qt::ISODate));
}
} // namespace

// The construction withholding tax on both engines: the proposal each side of the year's 5.000 € and of a
// certificate's days, the year's payments as the rule counts them, the certificates with their company,
// the register's warning, and the monthly sums against a plain query.
class WithholdingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Session> m_session;

    // Adds the payments, each "YYYY-MM-DD=paid[/gross][@company][@@project]"; returns their IDs.
    QList<qint64> pay(const QStringList& payments) {
        QList<qint64> ids;
        for (const QString& each : payments) {
            QString text = each;
            QString project = u"1"_s;
            QString company = u"Bau GmbH"_s;
            if (text.contains(u"@@"_s)) {
                project = text.section(u"@@"_s, 1);
                text = text.section(u"@@"_s, 0, 0);
            }
            if (text.contains(u'@')) {
                company = text.section(u'@', 1);
                text = text.section(u'@', 0, 0);
            }
            const QString amounts = text.section(u'=', 1);
            const qint64 id = m_db->scalar(u"SELECT coalesce(max(ID), 0) + 1 FROM tblBuchung"_s).toLongLong();
            m_db->exec(u"INSERT INTO tblBuchung (ID, PID, ProjektID, Firma, AnweisungVom, Betrag) VALUES "
                       "(?, ?, ?, ?, ?, ?)"_s,
                       {id, id, project, company, day(text.section(u'=', 0, 0)),
                        amounts.section(u'/', 0, 0).toDouble()});
            if (amounts.contains(u'/'))
                m_db->exec(u"INSERT INTO tblZahlung (BuchungID, ProjektID, Brutto) VALUES (?, ?, ?)"_s,
                           {id, project, amounts.section(u'/', 1).toDouble()});
            ids += id;
        }
        return ids;
    }

    void certify(const QString& from, const QString& to, const QString& office = u"Nord"_s) {
        m_db->exec(u"INSERT INTO tblFreistellung (FirmaID, Nummer, Finanzamt, GueltigVon, GueltigBis) VALUES "
                   "(1, 'FB 1', ?, ?, ?)"_s,
                   {office, day(from), day(to)});
    }

private slots:
    void init() {
        m_db = std::make_unique<TestDatabase>();
        QVERIFY(m_db->isValid());
        m_db->exec(u"INSERT INTO tblFirma (ID, Name) VALUES (1, 'Bau GmbH'), (2, 'Andere GmbH')"_s);
        m_session = Session::open(m_db->path());
        QVERIFY(m_session);
    }
    void cleanup() {
        m_session.reset();
        m_db.reset();
    }

    // Each row: the payments before, the certificate (from-to, or none), the payment's day and gross
    // amount, which earlier payment is the one being replaced (its position from 1, 0 for none), the amount
    // proposed and the tax office.
    void proposal_data() {
        QTest::addColumn<QStringList>("earlier");
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<QString>("paidOn");
        QTest::addColumn<QString>("gross");
        QTest::addColumn<int>("replaced");
        QTest::addColumn<QString>("withheld");
        QTest::addColumn<QString>("office");

        const QStringList four{u"2024-01-10=4000"_s};
        QTest::newRow("year's sum 4.999,99") << four << ""
                                             << "2024-03-01"
                                             << "999,99" << 0 << "0,00"
                                             << "";
        QTest::newRow("year's sum 5.000,00") << four << ""
                                             << "2024-03-01"
                                             << "1.000,00" << 0 << "0,00"
                                             << "";
        QTest::newRow("year's sum 5.000,01") << four << ""
                                             << "2024-03-01"
                                             << "1.000,01" << 0 << "150,00"
                                             << "";
        QTest::newRow("first payment beyond the limit") << QStringList() << ""
                                                        << "2024-03-01"
                                                        << "5.950,00" << 0 << "892,50"
                                                        << "";
        QTest::newRow("gross amount counts, not the amount paid out")
            << QStringList{u"2024-01-10=3500/4000"_s} << ""
            << "2024-03-01"
            << "1.000,01" << 0 << "150,00"
            << "";
        QTest::newRow("certificate's last day")
            << QStringList{u"2024-01-10=9000"_s} << "2024-01-01 2024-03-01"
            << "2024-03-01"
            << "2.000,00" << 0 << "0,00"
            << "Nord";
        QTest::newRow("day after the certificate's last")
            << QStringList{u"2024-01-10=9000"_s} << "2024-01-01 2024-02-29"
            << "2024-03-01"
            << "2.000,00" << 0 << "300,00"
            << "Nord";
        QTest::newRow("certificate's first day")
            << QStringList{u"2024-01-10=9000"_s} << "2024-03-01 2024-12-31"
            << "2024-03-01"
            << "2.000,00" << 0 << "0,00"
            << "Nord";
        QTest::newRow("day before the certificate's first")
            << QStringList{u"2024-01-10=9000"_s} << "2024-03-02 2024-12-31"
            << "2024-03-01"
            << "2.000,00" << 0 << "300,00"
            << "Nord";
        QTest::newRow("December does not count in January") << QStringList{u"2023-12-31=9000"_s} << ""
                                                            << "2024-01-01"
                                                            << "1.000,00" << 0 << "0,00"
                                                            << "";
        QTest::newRow("January counts in December") << QStringList{u"2024-01-01=4000"_s} << ""
                                                    << "2024-12-31"
                                                    << "1.000,01" << 0 << "150,00"
                                                    << "";
        QTest::newRow("credit note reduces the year's sum")
            << QStringList{u"2024-01-10=4000"_s, u"2024-02-10=-500"_s} << ""
            << "2024-03-01"
            << "1.500,00" << 0 << "0,00"
            << "";
        QTest::newRow("without the credit note") << QStringList{u"2024-01-10=4000"_s} << ""
                                                 << "2024-03-01"
                                                 << "1.500,00" << 0 << "225,00"
                                                 << "";
        QTest::newRow("booking being replaced left out")
            << QStringList{u"2024-01-10=1000"_s, u"2024-02-10=3500"_s} << ""
            << "2024-03-01"
            << "1.500,00" << 1 << "0,00"
            << "";
        QTest::newRow("booking not replaced counted")
            << QStringList{u"2024-01-10=1000"_s, u"2024-02-10=3500"_s} << ""
            << "2024-03-01"
            << "1.500,00" << 0 << "225,00"
            << "";
        QTest::newRow("company's name in other letters, other projects")
            << QStringList{u"2024-01-10=4000@BAU GMBH@@2"_s} << ""
            << "2024-03-01"
            << "1.000,01" << 0 << "150,00"
            << "";
        QTest::newRow("other company's payments") << QStringList{u"2024-01-10=9000@Andere GmbH"_s} << ""
                                                  << "2024-03-01"
                                                  << "1.000,00" << 0 << "0,00"
                                                  << "";
        QTest::newRow("credit note itself") << four << ""
                                            << "2024-03-01"
                                            << "-2.000,00" << 0 << "0,00"
                                            << "";
    }
    void proposal() {
        QFETCH(QStringList, earlier);
        QFETCH(QString, certificate);
        QFETCH(QString, paidOn);
        QFETCH(QString, gross);
        QFETCH(int, replaced);
        QFETCH(QString, withheld);
        QFETCH(QString, office);
        const QList<qint64> ids = pay(earlier);
        if (!certificate.isEmpty())
            certify(certificate.section(u' ', 0, 0), certificate.section(u' ', 1));
        const Withholding proposed =
            WithholdingProposal::propose(*m_session, u"bau gmbh"_s, day(paidOn), *Money::parseGerman(gross),
                                         replaced ? ids.at(replaced - 1) : 0);
        QCOMPARE(proposed.amount.toGerman(), withheld);
        QCOMPARE(proposed.taxOffice, office);
        QVERIFY2(proposed.reason.contains(withheld == u"0,00"_s ? u"kein Steuerabzug"_s : u"15 %"_s),
                 qPrintable(proposed.reason));
    }

    // The help's section names each rule's paragraph and its examples are the rule's own figures.
    void helpExample() {
        QFile file(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../../help/zlv.html"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString help = QString::fromUtf8(file.readAll());
        const QString section = help.section(u"<h2 id=\"bauabzug\">"_s, 1).section(u"<h2"_s, 0, 0);
        for (const QString& paragraph : {u"§48 EStG"_s, u"§48 Abs. 2 Nr. 1 EStG"_s, u"§48a Abs. 1 EStG"_s,
                                         u"§48a Abs. 2 EStG"_s, u"§48b EStG"_s})
            QVERIFY2(section.contains(paragraph), qPrintable(paragraph));
        const Money gross = *Money::parseGerman(u"5.950,00"_s);
        const Money withheld = WithholdingProposal::decide({}, day(u"2024-02-10"_s), Money(), gross).amount;
        QVERIFY(section.contains(u"15 % von 5.950,00 € = <strong>%1 €</strong>"_s.arg(withheld.toGerman())));
        QVERIFY(section.contains(u"5.950,00 € − %1 € = <strong>%2 €</strong>"_s.arg(
            withheld.toGerman(), (gross - withheld).toGerman())));
        QVERIFY(
            section.contains(u"fällig am %1"_s.arg(DayNumber::format(WithholdingReading::dueOn(2024, 2)))));
        const Money january = *Money::parseGerman(u"4.000,00"_s);
        QCOMPARE(
            WithholdingProposal::decide({}, day(u"2024-03-01"_s), january, *Money::parseGerman(u"1.000,00"_s))
                .amount,
            Money());
        const Money over =
            WithholdingProposal::decide({}, day(u"2024-03-01"_s), january, *Money::parseGerman(u"1.000,01"_s))
                .amount;
        QVERIFY(section.contains(u"einbehalten werden %1 €"_s.arg(over.toGerman())));
    }

    // A store that cannot be read proposes nothing and says why.
    void unreadableStore() {
        m_db->exec(u"DROP TABLE tblZahlung"_s);
        const Withholding proposed = WithholdingProposal::propose(
            *m_session, u"Bau GmbH"_s, day(u"2024-03-01"_s), Money::fromCents(900000));
        QCOMPARE(proposed.amount, Money());
        QVERIFY2(proposed.reason.startsWith(u"Ob Bauabzugsteuer einzubehalten ist, ließ sich nicht prüfen"_s),
                 qPrintable(proposed.reason));
    }

    // Each row: the certificates (from-to, blank-separated), the status and the day it names, relative to
    // today.
    void status_data() {
        QTest::addColumn<QList<QPoint>>("certificates");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("named");
        using Kind = ExemptionStatus::Kind;
        QTest::newRow("none") << QList<QPoint>{} << int(Kind::None) << -1;
        QTest::newRow("31 days left") << QList<QPoint>{{-10, 31}} << int(Kind::Valid) << 31;
        QTest::newRow("30 days left") << QList<QPoint>{{-10, 30}} << int(Kind::Expiring) << 30;
        QTest::newRow("last day") << QList<QPoint>{{-10, 0}} << int(Kind::Expiring) << 0;
        QTest::newRow("ended yesterday") << QList<QPoint>{{-10, -1}} << int(Kind::Expired) << -1;
        QTest::newRow("the next one follows")
            << QList<QPoint>{{-10, 10}, {11, 400}} << int(Kind::Valid) << 400;
        QTest::newRow("a gap before the next")
            << QList<QPoint>{{-10, 10}, {12, 400}} << int(Kind::Expiring) << 10;
        QTest::newRow("begins tomorrow") << QList<QPoint>{{1, 400}} << int(Kind::Expired) << 1;
    }
    void status() {
        QFETCH(QList<QPoint>, certificates);
        QFETCH(int, kind);
        QFETCH(int, named);
        const int today = day(u"2024-06-15"_s);
        QList<Exemption> exemptions;
        for (const QPoint& span : certificates)
            exemptions +=
                Exemption{0, 1, u"FB"_s, u"Nord"_s, today + span.x(), today + span.y(), std::nullopt};
        const ExemptionStatus status = ExemptionStatus::of(exemptions, today);
        QCOMPARE(int(status.kind), kind);
        if (named >= -1 && kind != int(ExemptionStatus::Kind::None))
            QVERIFY2(status.text.contains(DayNumber::format(today + named)), qPrintable(status.text));
        QCOMPARE(status.colour().isEmpty(),
                 kind == int(ExemptionStatus::Kind::None) || kind == int(ExemptionStatus::Kind::Valid));
    }

    // A certificate is refused without its fields, stored and changed as the journal records it, and the
    // companies whose certificates end within 30 days are found.
    void certificates() {
        ExemptionOperation operation(*m_session);
        Exemption entered{0, 1, u"FB 1"_s, u" Nord "_s, day(u"2024-01-01"_s), day(u"2023-12-31"_s), {}};
        QCOMPARE(operation.add(entered).text(), u"Die Bescheinigung kann nicht enden, bevor sie gilt."_s);
        entered.validTo = day(u"2024-12-31"_s);
        const Outcome added = operation.add(entered);
        QVERIFY(added.ok());
        entered.companyId = 99;
        QCOMPARE(operation.add(entered).kind(), Outcome::Kind::Gone);
        QList<Exemption> read = ExemptionReading::forCompany(*m_session, 1).value;
        QCOMPARE(read.size(), 1);
        QCOMPARE(read.first().taxOffice, u"Nord"_s);
        Exemption changed = read.first();
        changed.checkedOn = day(u"2024-02-01"_s);
        QVERIFY(operation.change(read.first(), changed).ok());
        QCOMPARE(operation.change(read.first(), changed).kind(), Outcome::Kind::Changed);
        QCOMPARE(StoreFixture::joined(*m_db, u"tblFreistellung"_s, u"Nummer || ' ' || Finanzamt"_s),
                 u"FB 1 Nord"_s);
        QCOMPARE(m_db->scalar(u"SELECT count(*) FROM tblProtokoll WHERE Tabelle = 'tblFreistellung' AND "
                              "Vorgang = 'Freistellungsbescheinigung'"_s),
                 u"2"_s);
        QCOMPARE(ExemptionReading::endingSoon(*m_session, day(u"2024-11-30"_s)).value.size(), 0);
        QCOMPARE(ExemptionReading::endingSoon(*m_session, day(u"2024-12-01"_s)).value.value(1),
                 day(u"2024-12-31"_s));
        QVERIFY(operation.remove(*added.identity()).ok());
        QCOMPARE(m_db->scalar(u"SELECT count(*) FROM tblFreistellung"_s), u"0"_s);
    }

    // The monthly sums per tax office equal a plain query's, each due on the 10th of the next month.
    void monthlySums() {
        const QList<qint64> ids =
            pay({u"2024-01-31=850"_s, u"2024-01-05=85@Andere GmbH"_s, u"2024-01-20=1700"_s,
                 u"2024-02-01=170"_s, u"2024-12-31=5057.5"_s, u"2025-01-01=100"_s, u"2024-03-03=1000"_s});
        const QStringList offices{u"Nord"_s, u"Süd"_s, u"Nord"_s, u"Nord"_s, u"Süd"_s, u"Nord"_s, u"Nord"_s};
        const QStringList withheld{u"150"_s, u"15"_s, u"300"_s, u"30"_s, u"892.5"_s, u"15"_s, u"0"_s};
        for (int i = 0; i < ids.size(); ++i)
            m_db->exec(
                u"INSERT INTO tblZahlung (BuchungID, ProjektID, Bauabzug, Finanzamt) VALUES (?, '1', ?, ?)"_s,
                {ids.at(i), withheld.at(i).toDouble(), offices.at(i)});
        const Reading<QList<WithheldPayment>> year = WithholdingReading::ofYear(*m_session, 2024);
        QVERIFY(year.ok);
        QCOMPARE(year.value.size(), 5);
        QStringList shown;
        for (const WithholdingReading::Month& month : WithholdingReading::byMonth(year.value)) {
            const int first = day(u"%1-%2-01"_s.arg(month.year).arg(month.month, 2, 10, QChar(u'0')));
            const int last = DayNumber::fromDate(DayNumber::toDate(first).addMonths(1).addDays(-1));
            const QString plain = m_db->scalar(
                u"SELECT CAST(sum(round(z.Bauabzug * 100)) AS BIGINT) FROM tblZahlung z JOIN tblBuchung b ON "
                "b.ID = z.BuchungID WHERE z.Finanzamt = ? AND b.AnweisungVom BETWEEN ? AND ?"_s,
                {month.taxOffice, first, last});
            QCOMPARE(QString::number(month.sum.cents()), plain);
            shown += u"%1/%2 %3 %4 %5"_s.arg(month.month)
                         .arg(month.year)
                         .arg(month.taxOffice, DayNumber::format(month.dueOn))
                         .arg(month.payments.size());
        }
        QCOMPARE(shown, (QStringList{u"1/2024 Nord 10.02.2024 2"_s, u"1/2024 Süd 10.02.2024 1"_s,
                                     u"2/2024 Nord 10.03.2024 1"_s, u"12/2024 Süd 10.01.2025 1"_s}));
    }
};

QTEST_GUILESS_MAIN(WithholdingTest)
#include "WithholdingTest.moc"
