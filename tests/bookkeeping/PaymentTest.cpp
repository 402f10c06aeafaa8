#include "BookingOperation.h"
#include "DayNumber.h"
#include "PaymentReading.h"
#include "Session.h"
#include "SignOffOperation.h"
#include "StoreFixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Booking)
Q_DECLARE_METATYPE(Payment)

// A booking's payment data on both engines: the amount paid out adds up to the cent, a discount is taken
// only as agreed, in time and on the full invoice, a refusal writes nothing, and take-back, replacement,
// removal, storno and payment keep tblZahlung in step with the bookings.
class PaymentTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Session> m_session;

    static int day(const char* date) { return DayNumber::fromDate(QDate::fromString(date, "dd.MM.yyyy")); }
    static std::optional<Money> cents(qint64 amount) {
        return amount == 0 ? std::nullopt : std::optional(Money::fromCents(amount));
    }

    // The payment in one line: receipt, gross, retention, withholding, discount ("-" for none).
    static QString line(const Payment& payment) {
        const auto amount = [](const std::optional<Money>& value) {
            return value ? value->toGerman() : u"-"_s;
        };
        return u"%1 %2 %3 %4 %5"_s.arg(DayNumber::format(payment.receivedOn), amount(payment.gross),
                                       amount(payment.retention), amount(payment.withholding),
                                       amount(payment.discount));
    }
    // The project's bookings as "running number: amount | payment", in order of entry, then any payment
    // left without its booking.
    QString ledger() {
        QStringList lines;
        QList<Payment> payments = PaymentReading::ofProject(*m_session, u"1"_s).value;
        m_db->db().read(u"SELECT ID, PID, Betrag FROM tblBuchung ORDER BY ID"_s, {},
                        [&](const DatabaseRow& row) {
                            QString text = u"%1: %2"_s.arg(row.text(1), row.amount(2)->toGerman());
                            for (const Payment& payment : std::as_const(payments)) {
                                if (payment.bookingId == row.rowNumber(0))
                                    text += u" | "_s + line(payment);
                            }
                            payments.removeIf([&](const Payment& payment) {
                                return payment.bookingId == row.rowNumber(0);
                            });
                            lines += text;
                        });
        for (const Payment& orphan : std::as_const(payments))
            lines += u"ohne Buchung | "_s + line(orphan);
        return lines.join(u'\n');
    }

    // Skonto 2 % in 14 days, received on 01.03.2026, on an invoice of 1.234,57 €: paid out 1.209,88 €.
    static Payment discounted() {
        Payment payment;
        payment.receivedOn = day("01.03.2026");
        payment.daysToPay = 21;
        payment.invoiceAmount = Money::fromCents(123457);
        payment.gross = Money::fromCents(123457);
        payment.discountPercent = 200;
        payment.discountDays = 14;
        payment.discount = Money::fromCents(2469);
        return payment;
    }
    static Booking entry(qint64 amount, const char* instructed = "15.03.2026",
                         const QString& kind = u"1. Abschlagszahlung"_s) {
        Booking booking;
        booking.projectId = u"1"_s;
        booking.company = u"Bau GmbH"_s;
        booking.paymentKind = kind;
        booking.instructedOn = day(instructed);
        booking.amount = Money::fromCents(amount);
        return booking;
    }
    qint64 book(Booking booking, const std::optional<Payment>& payment) {
        const Outcome outcome =
            BookingOperation(*m_session).book(booking, std::nullopt, false, nullptr, payment);
        if (!outcome.ok())
            qWarning("refused: %s", qPrintable(outcome.text()));
        return outcome.ok() ? booking.id : 0;
    }
    void agreeDiscountInTheOrder() {
        m_db->exec(u"INSERT INTO tblFirma (ID, Name) VALUES (1, 'Bau GmbH')"_s);
        m_db->exec(u"INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragArt, NachtragKosten) "
                   "VALUES (1, '1', 'Bau GmbH', 'Auftrag vom', 50000)"_s);
        m_db->exec(
            u"INSERT INTO tblZahlungsbedingung (ProjektID, FirmaID, NID, VOB, SkontoProzent, SkontoTage) "
            "VALUES ('1', 1, 1, 1, 2, 14)"_s);
    }
    void orderFirstBooking() {
        QVERIFY(SignOffOperation(*m_session).saveRules({false, false}).ok());
        const qint64 first = m_db->scalar(u"SELECT MIN(ID) FROM tblBuchung"_s).toLongLong();
        QVERIFY(SignOffOperation(*m_session).confirm({first}).ok());
        QVERIFY(SignOffOperation(*m_session).order({first}).ok());
    }

private slots:
    void init() {
        m_db = std::make_unique<TestDatabase>();
        QVERIFY(m_db->isValid());
        m_db->exec(u"INSERT INTO tblProjekt (ID, ProjektName) VALUES (1, 'Grundschule')"_s);
        if (m_db->onServer()) {
            for (const QString right : {"lesen", "erfassen", "feststellen", "anordnen", "verwalten"})
                m_db->exec(
                    u"DO $$BEGIN EXECUTE format('CREATE ROLE %I NOLOGIN', current_database() || '_%1'); "
                    "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END$$"_s.arg(right));
        }
        m_session = Session::open(m_db->path());
        QVERIFY(m_session);
    }
    void cleanup() {
        m_session.reset();
        m_db.reset();
    }

    // Each row a payment booked with its amount; refused, with the reason, nothing is written at all. The
    // first two rows are the help's Skonto example.
    void amountsAddUpAndDiscountIsTakenOnlyAsAgreed_data() {
        QTest::addColumn<Booking>("booking");
        QTest::addColumn<Payment>("payment");
        QTest::addColumn<bool>("agreed");
        QTest::addColumn<QString>("refusal");
        const Payment skonto = discounted();
        QTest::newRow("2 % Skonto of 1.234,57 on its last day")
            << entry(120988) << skonto << true << QString();
        QTest::newRow("Skonto one day late")
            << entry(120988, "16.03.2026") << skonto << true
            << u"Skonto ist nur bis zum 15.03.2026 möglich; angewiesen am 16.03.2026."_s;
        QTest::newRow("Skonto not agreed") << entry(120988) << skonto << false
                                           << u"Skonto von 2,00 % in 14 Tagen ist weder im Auftrag noch in "
                                              "der Rechnung vereinbart."_s;
        QTest::newRow("Skonto neither agreed nor in time")
            << entry(120988, "16.03.2026") << skonto << false
            << u"Skonto von 2,00 % in 14 Tagen ist weder im Auftrag noch in der Rechnung vereinbart."_s;
        Booking otherSpelling = entry(120988);
        otherSpelling.company = u"BAU GMBH"_s;
        QTest::newRow("Skonto agreed under another spelling") << otherSpelling << skonto << true << QString();
        Booking otherCompany = entry(120988);
        otherCompany.company = u"Bau AG"_s;
        QTest::newRow("Skonto agreed with another company")
            << otherCompany << skonto << true
            << u"Skonto von 2,00 % in 14 Tagen ist weder im Auftrag noch in der Rechnung vereinbart."_s;
        Payment other = skonto;
        other.discountPercent = 300;
        other.discount = Money::fromCents(3704);
        QTest::newRow("Skonto of another percentage")
            << entry(119753) << other << true
            << u"Skonto von 3,00 % in 14 Tagen ist weder im Auftrag "
               "noch in der Rechnung vereinbart."_s;
        Payment shortPaid = skonto;
        shortPaid.gross = Money::fromCents(100000);
        shortPaid.discount = Money::fromCents(2000);
        QTest::newRow("Skonto on a short payment")
            << entry(98000) << shortPaid << true
            << u"Skonto gibt es nur auf den vollen Rechnungsbetrag (1.234,57 €); angewiesen werden brutto "
               "1.000,00 €."_s;
        Payment rounded = skonto;
        rounded.discount = Money::fromCents(2470);
        QTest::newRow("Skonto a cent too high") << entry(120987) << rounded << true
                                                << u"Skonto von 2,00 % auf 1.234,57 € sind 24,69 €, nicht "
                                                   "24,70 €."_s;
        Payment unreceived = skonto;
        unreceived.receivedOn.reset();
        QTest::newRow("Skonto without receipt")
            << entry(120988) << unreceived << true
            << u"Skonto rechnet vom Eingang der Rechnung an: bitte geben Sie den Eingang an."_s;
        QTest::newRow("paid out a cent more") << entry(120989) << skonto << true
                                              << u"Der Betrag 1.209,89 € ist nicht der Auszahlungsbetrag: "
                                                 u"Brutto 1.234,57 € abzüglich Einbehalt, "
                                                 "Bauabzug und Skonto ergibt 1.209,88 €."_s;

        Payment all = discounted();
        all.invoiceAmount = all.gross = Money::fromCents(1000001);
        all.discount = Money::fromCents(20000);
        all.retention = Money::fromCents(100000);
        all.retentionKind = u"Vertragserfüllung"_s;
        all.withholding = Money::fromCents(150000);
        all.taxOffice = u"Finanzamt Nord"_s;
        QTest::newRow("every deduction") << entry(730001) << all << true << QString();
        Payment noKind = all;
        noKind.retentionKind.clear();
        QTest::newRow("retention of no kind") << entry(730001) << noKind << true
                                              << u"Bitte geben Sie an, wofür einbehalten wird: "
                                                 "„Vertragserfüllung“ oder „Mängelansprüche“."_s;
        Payment noOffice = all;
        noOffice.taxOffice = u" "_s;
        QTest::newRow("withholding without tax office")
            << entry(730001) << noOffice << true
            << u"Bitte geben Sie das Finanzamt an, an das der Bauabzug geht."_s;
        Payment negative = all;
        negative.withholding = Money::fromCents(-150000);
        QTest::newRow("negative withholding")
            << entry(1030001) << negative << true << u"Bauabzug und Skonto können nicht negativ sein."_s;
        Payment release;
        release.gross = Money::fromCents(0);
        release.retention = Money::fromCents(-50000);
        release.retentionKind = u"Vertragserfüllung"_s;
        QTest::newRow("release of a retention")
            << entry(50000, "15.03.2026", u"Rückhalt"_s) << release << false << QString();
        QTest::newRow("negative retention of an instalment")
            << entry(50000) << release << false
            << u"Ein negativer Einbehalt gibt einen Rückhalt frei: dafür ist die Zahlungsart „Rückhalt“ zu "
               "wählen."_s;
        Payment retainedOnRelease = release;
        retainedOnRelease.gross = Money::fromCents(100000);
        retainedOnRelease.retention = Money::fromCents(10000);
        QTest::newRow("retained from a release")
            << entry(90000, "15.03.2026", u"Rückhalt"_s) << retainedOnRelease << false
            << u"Bei einem Rückhalt wird nichts einbehalten: der Einbehalt ist der freigegebene Betrag mit "
               "Minuszeichen."_s;
        Payment grossless = all;
        grossless.gross.reset();
        QTest::newRow("deductions without gross")
            << entry(730001) << grossless << true << u"Für Abzüge fehlt der Bruttobetrag."_s;
        Payment receivedOnly;
        receivedOnly.receivedOn = day("02.03.2026");
        QTest::newRow("only the receipt") << entry(4711) << receivedOnly << false << QString();
    }
    void amountsAddUpAndDiscountIsTakenOnlyAsAgreed() {
        QFETCH(Booking, booking);
        QFETCH(Payment, payment);
        QFETCH(bool, agreed);
        QFETCH(QString, refusal);
        if (agreed)
            agreeDiscountInTheOrder();
        const QString journal = m_db->scalar(u"SELECT COUNT(*) FROM tblProtokoll"_s);
        const Outcome outcome =
            BookingOperation(*m_session).book(booking, std::nullopt, false, nullptr, payment);
        QCOMPARE(outcome.ok() ? QString() : outcome.text(), refusal);
        if (!refusal.isEmpty()) {
            QCOMPARE(outcome.kind(), Outcome::Kind::Refused);
            QCOMPARE(ledger(), QString());
            QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM tblProtokoll"_s), journal);
            return;
        }
        Payment stored = payment;
        stored.bookingId = booking.id;
        stored.projectId = u"1"_s;
        QCOMPARE(PaymentReading::ofBooking(*m_session, booking.id).value, std::optional(stored));
    }

    // An e-invoice that agrees another discount than the one taken: refused as if nothing were agreed.
    void discountOtherThanTheInvoicesIsRefused() {
        BookingOperation::InvoiceOriginal invoice{u"r.xml"_s, "<Invoice/>", QString(), {{300, 10}}};
        Booking booking = entry(120988);
        const Outcome outcome =
            BookingOperation(*m_session).book(booking, std::nullopt, false, &invoice, discounted());
        QCOMPARE(outcome.text(),
                 u"Skonto von 2,00 % in 14 Tagen ist weder im Auftrag noch in der Rechnung vereinbart."_s);
        QCOMPARE(ledger(), QString());
    }

    // The discount agreed by the e-invoice alone, and, when the booking is corrected, by the booking it
    // replaces.
    void discountAgreedByTheInvoiceGoesWithTheBooking() {
        BookingOperation::InvoiceOriginal invoice{u"r.xml"_s, "<Invoice/>", QString(), {{200, 14}}};
        Booking booking = entry(120988);
        QVERIFY(BookingOperation(*m_session).book(booking, std::nullopt, false, &invoice, discounted()).ok());
        const auto taken = BookingOperation(*m_session).takeBack(booking.id);
        QVERIFY(taken);
        Booking corrected = taken->row;
        corrected.remarks = u"berichtigt"_s;
        QVERIFY(BookingOperation(*m_session).book(corrected, taken->asLoaded).ok());
        QCOMPARE(ledger(), u"1: 1.209,88 | 01.03.2026 1.234,57 - - 24,69"_s);
    }

    // Each row steps on two bookings (the first with Skonto, the second plain) and the ledger after them.
    void paymentKeepsInStepWithItsBooking_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("after");
        const QString first = u"1: 1.209,88 | 01.03.2026 1.234,57 - - 24,69"_s;
        QTest::newRow("as booked") << QString() << QString() << first + u"\n2: 100,00"_s;
        QTest::newRow("corrected as it was")
            << u"replace"_s << QString() << u"2: 100,00\n3: 1.209,88 | 01.03.2026 1.234,57 - - 24,69"_s;
        QTest::newRow("corrected without Skonto") << u"replace without Skonto"_s << QString()
                                                  << u"2: 100,00\n3: 1.234,57 | 01.03.2026 1.234,57 - - -"_s;
        QTest::newRow("corrected to an amount that does not add up")
            << u"replace with another amount"_s
            << u"Der Betrag 1.200,00 € ist nicht der Auszahlungsbetrag: Brutto 1.234,57 € abzüglich "
               u"Einbehalt, "
               "Bauabzug und Skonto ergibt 1.209,88 €."_s
            << first + u"\n2: 100,00"_s;
        QTest::newRow("removed") << u"remove"_s << QString() << u"2: 100,00"_s;
        QTest::newRow("cancelled") << u"cancel"_s << QString()
                                   << first +
                                          u"\n2: 100,00\n3: -1.209,88 | 01.03.2026 -1.234,57 - - -24,69"_s;
        QTest::newRow("paid on the discount's last day")
            << u"pay 15.03.2026"_s << QString() << first + u"\n2: 100,00"_s;
        QTest::newRow("paid a day after it") << u"pay 16.03.2026"_s
                                             << u"Buchung Nr. 1 im Projekt 1: Skonto ist nur bis zum "
                                                u"15.03.2026 möglich; bezahlt am 16.03.2026. "
                                                "Bitte korrigieren Sie die Buchung ohne Skonto (Storno)."_s
                                             << first + u"\n2: 100,00"_s;
        QTest::newRow("plain one paid late")
            << u"pay second 16.03.2026"_s << QString() << first + u"\n2: 100,00"_s;
    }
    void paymentKeepsInStepWithItsBooking() {
        QFETCH(QString, step);
        agreeDiscountInTheOrder();
        const qint64 first = book(entry(120988), discounted());
        const qint64 second = book(entry(10000), std::nullopt);
        QVERIFY(first && second);
        Outcome outcome = Outcome::done();
        if (step.startsWith(u"replace"_s)) {
            const auto taken = BookingOperation(*m_session).takeBack(first);
            QVERIFY(taken);
            Booking corrected = taken->row;
            std::optional<Payment> payment;
            if (step.endsWith(u"Skonto"_s)) {
                payment = discounted();
                payment->discount.reset();
                corrected.amount = payment->gross;
            } else if (step.endsWith(u"amount"_s)) {
                corrected.amount = Money::fromCents(120000);
            }
            outcome = BookingOperation(*m_session).book(corrected, taken->asLoaded, false, nullptr, payment);
        } else if (step == u"remove"_s) {
            outcome = BookingOperation(*m_session).remove(first);
        } else if (step == u"cancel"_s) {
            orderFirstBooking();
            outcome = SignOffOperation(*m_session).cancel(first, u"Doppelt berechnet"_s);
        } else if (step.startsWith(u"pay"_s)) {
            orderFirstBooking();
            const qint64 paid = step.contains(u"second"_s) ? second : first;
            if (paid == second) {
                QVERIFY(SignOffOperation(*m_session).confirm({second}).ok());
                QVERIFY(SignOffOperation(*m_session).order({second}).ok());
            }
            outcome = SignOffOperation(*m_session).markPaid({paid}, day(qPrintable(step.section(u' ', -1))));
        }
        QTEST(outcome.ok() ? QString() : outcome.text(), "refusal");
        QTEST(ledger(), "after");
    }
};

QTEST_GUILESS_MAIN(PaymentTest)
#include "PaymentTest.moc"
