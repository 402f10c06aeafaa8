#include "BookingOperation.h"
#include "BookingRepository.h"
#include "Dialect.h"
#include "Session.h"
#include "SignOffOperation.h"
#include "SignOffReading.h"
#include "StoreFixture.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

// A booking's way to payment on both engines: each step once and in order, the rights and the four-eyes
// rule with real logins on the server (through the program and through plain SQL as those logins), the
// storno and the sums after it, a batch all or nothing, and the bookings found when the states arrive.
class SignOffTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Session> m_session;
    QHash<QString, std::shared_ptr<Session>> m_logins;
    QList<qint64> m_bookings;
    bool m_withLogins = false;
    const QString m_suffix = QString::number(QCoreApplication::applicationPid());

    bool onServer() const { return m_db->onServer(); }
    QString role(const QString& who) const { return u"zt_so_%1_%2"_s.arg(who, m_suffix); }

    void admin(const QString& sql) {
        QVERIFY2(m_db->db().exec(sql), qPrintable(sql + ": " + m_db->db().lastError()));
    }

    // The program's session of login who: the test's own on the file, where there are no logins.
    Session* as(const QString& who) {
        if (!m_withLogins)
            return m_session.get();
        if (!m_logins.contains(who)) {
            QUrl url(m_db->path());
            QUrlQuery query(url);
            query.removeQueryItem(u"user"_s);
            query.addQueryItem(u"user"_s, role(who));
            url.setQuery(query);
            QString message;
            m_logins.insert(who, std::shared_ptr<Session>(Session::open(url.toString(), &message).release()));
            if (!m_logins.value(who))
                qWarning("cannot open as %s: %s", qPrintable(who), qPrintable(message));
        }
        return m_logins.value(who).get();
    }

    // The five rights as the server's group roles, which the test's own login (a superuser) holds all.
    void createRights() {
        for (const QString right : {"lesen", "erfassen", "feststellen", "anordnen", "verwalten"})
            admin(u"DO $$BEGIN EXECUTE format('CREATE ROLE %I NOLOGIN', current_database() || '_%1'); "
                  "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END$$"_s.arg(right));
    }

    // Logins a, b and c hold every right, d only "erfassen".
    void createLogins() {
        m_withLogins = true;
        const QString schema = m_db->scalar(u"SELECT current_schema()"_s);
        const QString password = qEnvironmentVariable("PGPASSWORD").replace('\'', "''");
        for (const QString who : {"a", "b", "c", "d"}) {
            admin(u"CREATE ROLE %1 LOGIN PASSWORD '%2'"_s.arg(role(who), password));
            for (const QString right : {"lesen", "erfassen", "feststellen", "anordnen"}) {
                if (who == u"d"_s && right != u"lesen"_s && right != u"erfassen"_s)
                    continue;
                admin(
                    u"DO $$BEGIN EXECUTE format('GRANT %I TO %2', current_database() || '_%1'); END$$"_s.arg(
                        right, role(who)));
            }
            admin(u"GRANT USAGE ON SCHEMA %1 TO %2; GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO %2; GRANT "
                  u"INSERT, "
                  "UPDATE, DELETE ON tblBuchung TO %2; GRANT UPDATE ON tblFreigabe TO %2; GRANT USAGE ON ALL "
                  "SEQUENCES IN SCHEMA %1 TO %2"_s.arg(schema, role(who)));
        }
    }

    void dropLogins() {
        m_logins.clear();
        if (!std::exchange(m_withLogins, false))
            return;
        for (const QString who : {"a", "b", "c", "d"})
            m_db->db().exec(u"DROP OWNED BY %1; DROP ROLE %1"_s.arg(role(who)));
    }

    qint64 book(Session& session, qint64 cents = 10000, const QString& company = u"Bau GmbH"_s) {
        Booking booking;
        booking.projectId = u"1"_s;
        booking.company = company;
        booking.amount = Money::fromCents(cents);
        const Outcome outcome = BookingOperation(session).book(booking);
        if (!outcome.ok())
            qWarning("booking refused: %s", qPrintable(outcome.text()));
        return outcome.ok() ? booking.id : 0;
    }

    QString state(qint64 id) {
        return m_db->scalar(u"SELECT Status FROM tblFreigabe WHERE BuchungID = ?"_s, {id});
    }

    // One step of a scenario on the last booking: the outcome's text, empty when it was done.
    QString act(Session& session, const QString& action) {
        const qint64 id = m_bookings.isEmpty() ? 0 : m_bookings.last();
        const auto said = [](const Outcome& outcome) { return outcome.ok() ? QString() : outcome.text(); };
        const auto sql = [&](const QString& statement) {
            Database& db = session.database();
            return db.exec(statement, statement.contains(u'?') ? QVariantList{id} : QVariantList())
                       ? QString()
                       : db.lastError();
        };
        if (action == u"book"_s) {
            m_bookings += book(session);
            return m_bookings.last() ? QString() : u"nicht gebucht"_s;
        }
        if (action == u"confirm"_s)
            return said(SignOffOperation(session).confirm({id}));
        if (action == u"order"_s)
            return said(SignOffOperation(session).order({id}));
        if (action == u"pay"_s)
            return said(SignOffOperation(session).markPaid({id}, 46000));
        if (action == u"cancel"_s)
            return said(SignOffOperation(session).cancel(id, u"Doppelt berechnet"_s));
        if (action == u"remove"_s)
            return said(BookingOperation(session).remove(id));
        if (action == u"takeback"_s) {
            Outcome failure = Outcome::done();
            return BookingOperation(session).takeBack(id, &failure) ? QString() : said(failure);
        }
        if (action.startsWith(u"waiting="_s)) {
            const qsizetype count = SignOffReading::waitingFor(session).size();
            return count == action.section(u'=', 1).toInt() ? QString() : u"wartend: %1"_s.arg(count);
        }
        static const QHash<QString, QString> statements = {
            {u"sqlconfirm"_s, u"UPDATE tblFreigabe SET Status = 'festgestellt' WHERE BuchungID = ?"_s},
            {u"sqlorder"_s, u"UPDATE tblFreigabe SET Status = 'angeordnet' WHERE BuchungID = ?"_s},
            {u"sqlback"_s, u"UPDATE tblFreigabe SET Status = 'erfasst' WHERE BuchungID = ?"_s},
            {u"sqlforge"_s, u"UPDATE tblFreigabe SET FestgestelltVon = 'jemand' WHERE BuchungID = ?"_s},
            {u"sqlunlink"_s, u"DELETE FROM tblFreigabe WHERE BuchungID = ?"_s},
            {u"sqlchange"_s, u"UPDATE tblBuchung SET Betrag = 1 WHERE ID = ?"_s},
            {u"sqldelete"_s, u"DELETE FROM tblBuchung WHERE ID = ?"_s},
            {u"sqlrename"_s, u"UPDATE tblBuchung SET Firma = 'Neu GmbH', Gewerk = 'Neu' WHERE ID = ?"_s},
            {u"sqlbook"_s,
             u"INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (99, '1', 'X', 1)"_s},
        };
        return sql(statements.value(action));
    }

private slots:
    void init() {
        m_db = std::make_unique<TestDatabase>();
        QVERIFY(m_db->isValid());
        m_db->exec(u"INSERT INTO tblProjekt (ID, ProjektName) VALUES (1, 'Grundschule')"_s);
        if (onServer())
            createRights();
        m_session = Session::open(m_db->path());
        QVERIFY(m_session);
        m_bookings.clear();
    }
    void cleanup() {
        m_logins.clear();
        m_session.reset();
        if (m_db && onServer())
            dropLogins();
        m_db.reset();
    }

    // Each row a scenario: steps "login:action", each done or, after '!', refused with that text; at the
    // end the state of the last booking. Logins a, b, c hold every right, d only "erfassen"; on the file
    // there are no logins and the rows that need them are left out.
    void scenario_data() {
        QTest::addColumn<bool>("logins");
        QTest::addColumn<bool>("fourEyes");
        QTest::addColumn<bool>("twoStep");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("state");
        const QString skipped = u"Der Stand einer Buchung geht nur Schritt für Schritt voran"_s;
        const QString ordered = u"Eine angeordnete Buchung kann nicht"_s;
        QTest::newRow("each step in order") << false << false << false << "a:book;a:confirm;a:order;a:pay"
                                            << "bezahlt";
        QTest::newRow("ordering a recorded booking skips a step")
            << false << false << false << "a:book;a:order!Angeordnet wird erst eine festgestellte Buchung"
            << "erfasst";
        QTest::newRow("paying before the order")
            << false << false << false << "a:book;a:confirm;a:pay!Bezahlt wird nur eine angeordnete"
            << "festgestellt";
        QTest::newRow("confirmed twice")
            << false << false << false << "a:book;a:confirm;a:confirm!Die Buchung ist bereits festgestellt."
            << "festgestellt";
        QTest::newRow("skipped and turned back in plain SQL")
            << false << false << false << "a:book;a:sqlorder!" + skipped + ";a:confirm;a:sqlback!" + skipped
            << "festgestellt";
        QTest::newRow("four eyes without logins: nobody confirms their own booking")
            << false << true << false << "a:book;a:waiting=0;a:confirm!Wer eine Buchung erfasst hat"
            << "erfasst";
        QTest::newRow("two steps by one person on the file")
            << false << false << true << "a:book;a:confirm;a:confirm!zwei verschiedene Personen"
            << "sachlich richtig";
        QTest::newRow("an ordered booking is kept, its names follow a rename")
            << false << false << false
            << "a:book;a:confirm;a:order;a:takeback!nicht mehr zurückgenommen;a:remove!" + ordered +
                   " gelöscht;a:sqlchange!" + ordered + " mehr geändert;a:sqldelete!" + ordered +
                   " gelöscht;a:sqlrename"
            << "angeordnet";
        QTest::newRow("a confirmed booking is taken back")
            << false << false << false << "a:book;a:confirm;a:remove;a:book;a:confirm;a:takeback"
            << "festgestellt";
        QTest::newRow("four eyes with two logins")
            << true << true << false
            << "a:book;a:confirm!Wer eine Buchung erfasst hat;b:waiting=1;a:waiting=0;b:confirm;a:order!Wer "
               "eine "
               "Buchung erfasst oder festgestellt hat;b:order!Wer eine Buchung erfasst oder festgestellt hat;"
               "a:waiting=0;b:waiting=0"
            << "festgestellt";
        QTest::newRow("four eyes with three logins")
            << true << true << false << "a:book;b:confirm;c:waiting=1;c:order;c:pay"
            << "bezahlt";
        QTest::newRow("two steps by two logins, ordered by a third")
            << true << true << true
            << "a:book;b:confirm;b:confirm!zwei verschiedene "
               "Personen;c:confirm;b:order!Vier-Augen;c:order!Vier-Augen;"
               "a:order!Vier-Augen;d:order!das Recht „anordnen“"
            << "festgestellt";
        QTest::newRow("a login without the right, also in plain SQL")
            << true << false << false
            << "a:book;d:confirm!das Recht „feststellen“;d:sqlconfirm!das Recht „feststellen“;d:waiting=0;"
               "b:confirm;d:sqlorder!das Recht „anordnen“"
            << "festgestellt";
        QTest::newRow("four eyes in plain SQL, names written by the server")
            << true << true << false
            << "a:sqlbook;a:sqlconfirm!Wer eine Buchung erfasst hat;b:sqlforge!trägt der Datenbankserver "
               "selbst "
               "ein;b:sqlconfirm;b:sqlorder!Vier-Augen;c:sqlunlink!der Datenbankserver hat es "
               "abgelehnt;c:sqlorder"
            << "angeordnet";
    }
    void scenario() {
        QFETCH(bool, logins);
        QFETCH(bool, fourEyes);
        QFETCH(bool, twoStep);
        QFETCH(QString, steps);
        QFETCH(QString, state);
        if (logins && !onServer())
            QSKIP("logins are the server's");
        if (logins)
            createLogins();
        QVERIFY(SignOffOperation(*m_session).saveRules({fourEyes, twoStep}).ok());
        for (const QString& step : steps.split(u';')) {
            const QString who = step.section(u':', 0, 0);
            const QString action = step.section(u':', 1).section(u'!', 0, 0);
            const QString refusal = step.section(u'!', 1);
            if (action == u"sqlbook"_s) {
                QCOMPARE(act(*as(who), action), QString());
                m_bookings += m_db->scalar(u"SELECT MAX(ID) FROM tblBuchung"_s).toLongLong();
                continue;
            }
            Session* session = as(who);
            QVERIFY2(session, qPrintable(who));
            const QString said = act(*session, action);
            if (refusal.isEmpty())
                QVERIFY2(said.isEmpty(), qPrintable(step + u": "_s + said));
            else
                QVERIFY2(said.contains(refusal), qPrintable(step + u": "_s + said));
        }
        QCOMPARE(this->state(m_bookings.last()), state);
        // The time of the entry as the journal writes it, in UTC.
        static const QRegularExpression utc(u"^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z$"_s);
        const QString recordedAt =
            m_db->scalar(u"SELECT ErfasstAm FROM tblFreigabe WHERE BuchungID = ?"_s, {m_bookings.last()});
        QVERIFY2(utc.match(recordedAt).hasMatch(), qPrintable(recordedAt));
        if (logins) {
            QCOMPARE(m_db->scalar(u"SELECT ErfasstVon FROM tblFreigabe WHERE BuchungID = ?"_s,
                                  {m_bookings.last()}),
                     role(u"a"_s));
        }
    }
    // The storno books the negative amount with the next number, linked to the ordered booking; the sums
    // count both, the counter-booking goes its own way to the order, and a booking is cancelled once.
    void stornoAndTheSumsAfter() {
        QVERIFY(SignOffOperation(*m_session).saveRules({false, false}).ok());
        const qint64 first = book(*m_session, 10000);
        book(*m_session, 5000);
        QVERIFY(SignOffOperation(*m_session).confirm({first}).ok());
        QCOMPARE(
            SignOffOperation(*m_session).cancel(first, u"Doppelt"_s).text(),
            u"Buchung Nr. 1 im Projekt 1: Storniert wird eine angeordnete Buchung; diese ist festgestellt "
            "und kann noch zurückgenommen werden."_s);
        QVERIFY(SignOffOperation(*m_session).order({first}).ok());
        QCOMPARE(SignOffOperation(*m_session).cancel(first, u"  "_s).text(),
                 u"Bitte geben Sie den Grund des Stornos an."_s);

        const Outcome cancelled = SignOffOperation(*m_session).cancel(first, u"Doppelt berechnet"_s);
        QVERIFY2(cancelled.ok(), qPrintable(cancelled.text()));
        const qint64 counter = *cancelled.identity();
        const std::optional<Booking> written = BookingRepository(m_db->db()).find(counter);
        QVERIFY(written);
        QCOMPARE(written->runningNumber, 3);
        QCOMPARE(written->amount, Money::fromCents(-10000));
        QCOMPARE(written->company, u"Bau GmbH"_s);
        QCOMPARE(written->remarks, u"Storno zu Nr. 1: Doppelt berechnet"_s);
        const std::optional<SignOff> linked = SignOffReading::ofBooking(*m_session, counter);
        QCOMPARE(linked->state, BookingState::Recorded);
        QCOMPARE(linked->cancels, first);
        QCOMPARE(linked->reason, u"Doppelt berechnet"_s);
        QCOMPARE(SignOffReading::ofBooking(*m_session, first)->cancelledBy, counter);
        const QHash<qint64, StateMark> marks = SignOffReading::marksOfProject(*m_session, u" 1"_s);
        QCOMPARE(marks.size(), 3);
        QVERIFY(marks.value(first).cancelled && !marks.value(first).cancels);
        QVERIFY(marks.value(counter).cancels && !marks.value(counter).cancelled);

        const QList<BookingRepository::CompanySum> sums = BookingRepository(m_db->db()).sumsByCompany(u"1"_s);
        QCOMPARE(sums.size(), 1);
        QCOMPARE(sums.first().amount, Money::fromCents(5000));

        QVERIFY(SignOffOperation(*m_session)
                    .cancel(first, u"Noch einmal"_s)
                    .text()
                    .endsWith(u"Die Buchung ist bereits storniert."_s));
        QVERIFY(SignOffOperation(*m_session).confirm({counter}).ok());
        QVERIFY(SignOffOperation(*m_session).order({counter}).ok());
        QVERIFY(SignOffOperation(*m_session)
                    .cancel(counter, u"Zurück"_s)
                    .text()
                    .endsWith(u"Eine Stornobuchung wird nicht storniert."_s));
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM tblBuchung"_s), u"3"_s);
    }

    // A batch is ordered in one transaction: one booking that may not be ordered leaves all as they were.
    void batchIsWholeOrNothing() {
        QVERIFY(SignOffOperation(*m_session).saveRules({false, false}).ok());
        const QList<qint64> ids = {book(*m_session), book(*m_session), book(*m_session)};
        QVERIFY(SignOffOperation(*m_session).confirm(ids.mid(0, 2)).ok());
        QCOMPARE(
            SignOffOperation(*m_session).order(ids).text(),
            u"Buchung Nr. 3 im Projekt 1: Angeordnet wird erst eine festgestellte Buchung; diese ist erfasst."_s);
        for (const qint64 id : ids.mid(0, 2))
            QCOMPARE(state(id), u"festgestellt"_s);
        QCOMPARE(SignOffReading::waitingFor(*m_session).size(), 3);
        QVERIFY(SignOffOperation(*m_session).order(ids.mid(0, 2)).ok());
        QCOMPARE(state(ids.at(0)), u"angeordnet"_s);
        QCOMPARE(state(ids.at(1)), u"angeordnet"_s);
        QCOMPARE(m_db->scalar(u"SELECT COUNT(*) FROM tblFreigabe WHERE AngeordnetVon = ?"_s,
                              {SignOffReading::login(*m_session)}),
                 u"2"_s);
    }

    // A database that held bookings before the states arrive: each was paid as it was booked.
    void bookingsFoundOnArrivalAreOrdered() {
        m_session.reset();
        QStringList older = m_db->db().dialect().signOffSuspendStatements();
        older << u"DROP TABLE tblFreigabe"_s
              << (onServer() ? u"DROP TRIGGER IF EXISTS zlv_freigabe_schutz ON tblBuchung"_s
                             : u"DROP TRIGGER IF EXISTS zlv_freigabe_aendern"_s);
        for (const QString& statement : older)
            m_db->exec(statement);
        StoreFixture::fillBookings(*m_db, 3);
        QVERIFY(m_db->reopen());
        QCOMPARE(
            m_db->scalar(
                u"SELECT group_concat(BuchungID || ':' || Status || ':' || Hinweis, ?) FROM (SELECT * "
                "FROM tblFreigabe ORDER BY BuchungID) AS t"_s,
                {u";"_s}),
            u"1:angeordnet:Vor Einführung der Anordnung gebucht;2:angeordnet:Vor Einführung der Anordnung "
            "gebucht;3:angeordnet:Vor Einführung der Anordnung gebucht"_s);
        m_session = Session::open(m_db->path());
        QVERIFY(BookingOperation(*m_session).remove(1).text().contains(u"kann nicht gelöscht werden"_s));
        QCOMPARE(state(book(*m_session)), u"erfasst"_s);
    }
};

QTEST_GUILESS_MAIN(SignOffTest)
#include "SignOffTest.moc"
