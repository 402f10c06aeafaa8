#include "BookingRepository.h"
#include "ChangeListener.h"
#include "Database.h"
#include "Dialogs.h"
#include "EstimateRepository.h"
#include "HostKnock.h"
#include "Journal.h"
#include "PostgresLink.h"
#include "SessionEnder.h"
#include "TestDatabase.h"

#include <netinet/in.h>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QSqlError>
#include <QTest>
#include <sys/socket.h>
#include <unistd.h>

// A connection to the server that breaks: failures named in German, a read or a booking after the
// connection ended while idle, and a COMMIT whose answer the broken connection lost.
class ConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void failureIsNamedInGerman_data();
    void failureIsNamedInGerman();
    void idleConnectionEndedIsOpenedAgain_data();
    void idleConnectionEndedIsOpenedAgain();
    void tableReadRowByRowEndedMidwayIsNotRunAgain();
    void lostCommitIsToldAsItIs_data();
    void lostCommitIsToldAsItIs();
    void listenerEndedIsOpenedAgain();
    void hostKnockTellsWhetherTheHostAnswers_data();
    void hostKnockTellsWhetherTheHostAnswers();
};

namespace {

Booking payment() {
    Booking booking;
    booking.projectId = QStringLiteral("1");
    booking.project = QStringLiteral("Schule");
    booking.company = QStringLiteral("O'Neill Bau");
    booking.amount = Money::fromCents(150000);
    return booking;
}

QString first(Database& db, const QString& sql, const QVariantList& values = {}) {
    QString value;
    if (!db.read(sql, values, [&](const Database::Row& row) { value = row.text(0); }))
        qWarning("%s", qPrintable(db.lastError()));
    return value;
}

} // namespace

void ConnectionTest::failureIsNamedInGerman_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("connectionBroken");
    QTest::addColumn<QString>("german");
    QTest::addColumn<Database::Failure>("kind");
    QTest::newRow("connection lost without a word")
        << "" << true << "Verbindung unterbrochen: Die Verbindung zum Datenbankserver zlv auf server"
        << Database::Failure::FileGone;
    QTest::newRow("connection ended")
        << "57P01" << false << "Verbindung unterbrochen: Der Datenbankserver" << Database::Failure::FileGone;
    QTest::newRow("server crashed") << "57P02" << false << "heruntergefahren" << Database::Failure::FileGone;
    QTest::newRow("server starting") << "57P03" << false << "nimmt noch keine Anfragen an"
                                     << Database::Failure::FileGone;
    QTest::newRow("not reachable") << "08001" << false << "ist nicht erreichbar"
                                   << Database::Failure::FileGone;
    QTest::newRow("link failure") << "08006" << false << "Verbindung unterbrochen"
                                  << Database::Failure::FileGone;
    QTest::newRow("login refused") << "28P01" << false << "hat die Anmeldung abgelehnt"
                                   << Database::Failure::Other;
    QTest::newRow("no permission") << "42501" << false << "keine Berechtigung" << Database::Failure::Other;
    QTest::newRow("deadlock") << "40P01" << false << "Verklemmung" << Database::Failure::Busy;
    QTest::newRow("serialization") << "40001" << false << "gleichzeitig dieselben Daten geändert"
                                   << Database::Failure::Busy;
    QTest::newRow("value given twice")
        << "23505" << false << "ist schon vergeben" << Database::Failure::Other;
    QTest::newRow("disk full") << "53100" << false << "kein Speicherplatz" << Database::Failure::Other;
    QTest::newRow("anything else") << "XX000" << false << "meldet einen Fehler" << Database::Failure::Other;
}

void ConnectionTest::failureIsNamedInGerman() {
    QFETCH(QString, state);
    QFETCH(bool, connectionBroken);
    QFETCH(QString, german);
    QFETCH(Database::Failure, kind);
    const QString words = QStringLiteral("server closed the connection unexpectedly\n\tThis probably means "
                                         "the server terminated abnormally");
    const PostgresLink link(ServerAddress::parse(QStringLiteral("postgresql://server/zlv")));
    const StoreFailure fault = link.fault(
        QSqlError(QString(), words, connectionBroken ? QSqlError::ConnectionError : QSqlError::StatementError,
                  state),
        QSqlDatabase());
    const auto [message, details] = Dialogs::splitDetails(fault.germanText);
    QVERIFY2(message.contains(german), qPrintable(message));
    QVERIFY2(!message.contains(QLatin1String("unexpectedly")), qPrintable(message));
    QCOMPARE(details, QStringLiteral("server closed the connection unexpectedly\nThis probably means the "
                                     "server terminated abnormally"));
    QCOMPARE(fault.kind, kind);
}

void ConnectionTest::idleConnectionEndedIsOpenedAgain_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("a read") << "read";
    QTest::newRow("a booking") << "booking";
    // A statement with values that begins with SELECT, outside a transaction.
    QTest::newRow("an entry the program writes into the journal") << "entry";
}

void ConnectionTest::idleConnectionEndedIsOpenedAgain() {
    QFETCH(QString, kind);
    if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
        QSKIP("needs the server");
    TestDatabase server;
    // The same statements before and after: the new connection has none the old one prepared.
    BookingRepository bookings(server.db());
    int booked = 0;
    int entries = 0;
    const auto work = [&] {
        if (kind == u"booking") {
            Booking entry = payment();
            QVERIFY2(bookings.book(entry), qPrintable(server.db().lastError()));
            QCOMPARE(entry.runningNumber, ++booked);
        } else if (kind == u"entry") {
            QVERIFY2(Journal(server.db())
                         .append(QStringLiteral("tblProjekt"), QStringLiteral("1"), QStringLiteral("1"),
                                 QStringLiteral("Wiederhergestellt"), 1, {}, {}),
                     qPrintable(server.db().lastError()));
            ++entries;
        } else {
            bool ok = false;
            bookings.forProject(QStringLiteral("1"), &ok);
            QVERIFY2(ok, qPrintable(server.db().lastError()));
        }
    };
    // Twice: a statement is prepared on the connection the second time it runs.
    work();
    work();
    const QString session = server.db().session();
    const std::unique_ptr<Database> other = Database::open(server.path());
    QVERIFY(other);
    QCOMPARE(first(*other, "SELECT pg_terminate_backend(?, 10000)", {session.toInt()}), QStringLiteral("t"));

    work();
    QVERIFY(server.db().session() != session);
    QCOMPARE(server.scalar("SELECT count(*) FROM tblBuchung"), QString::number(booked));
    QCOMPARE(server.scalar("SELECT count(*) FROM tblProtokoll WHERE Aktion = 'Wiederhergestellt'"),
             QString::number(entries));
}

// A table read row by row, whose connection the server ends after the first row: the read fails, and no
// row reaches the reader twice, as a second run would hand them over.
void ConnectionTest::tableReadRowByRowEndedMidwayIsNotRunAgain() {
    if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
        QSKIP("needs the server");
    TestDatabase server;
    const QString session = server.db().session();
    const std::unique_ptr<Database> other = Database::open(server.path());
    QVERIFY(other);
    // More rows than the connection's buffers hold, so that most are still to come when it ends.
    constexpr qint64 kRows = 2000000;
    qint64 visited = 0;
    qint64 inOrder = 0;
    const bool read = server.db().stream(
        QStringLiteral("SELECT g FROM generate_series(1, %1) AS g").arg(kRows), {},
        [&](const Database::Row& row) {
            if (visited++ == 0)
                QCOMPARE(first(*other, "SELECT pg_terminate_backend(?, 10000)", {session.toInt()}),
                         QStringLiteral("t"));
            inOrder += row.rowNumber(0) == visited ? 1 : 0;
        });
    QVERIFY(!read);
    QVERIFY(!server.db().lastError().isEmpty());
    QVERIFY(visited < kRows);
    QCOMPARE(inOrder, visited);
    QCOMPARE(server.scalar("SELECT count(*) FROM tblBuchung"), QStringLiteral("0"));
}

void ConnectionTest::lostCommitIsToldAsItIs_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("outcome");
    for (const char* table : {"tblBuchung", "tblNachtrag"}) {
        // The COMMIT is kept on the server and waits for a standby that never answers.
        QTest::addRow("%s kept by the server", table) << table << "kept";
        // The COMMIT waits, before it is kept, for a lock that another session holds.
        QTest::addRow("%s not kept", table) << table << "not kept";
        // The same, and the database cannot be opened again afterwards (a table renamed meanwhile).
        QTest::addRow("%s not known", table) << table << "unknown";
    }
}

void ConnectionTest::lostCommitIsToldAsItIs() {
    QFETCH(QString, table);
    QFETCH(QString, outcome);
    const bool kept = outcome == QLatin1String("kept");
    if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
        QSKIP("needs the server");
    TestDatabase server;
    const std::unique_ptr<Database> other = Database::open(server.path());
    QVERIFY(other);
    const QString session = server.db().session();
    struct Restore {
        Database& db;
        ~Restore() {
            db.exec("ALTER SYSTEM RESET synchronous_standby_names");
            first(db, "SELECT pg_reload_conf()");
            db.exec("SELECT pg_advisory_unlock_all()");
            db.exec("ALTER TABLE IF EXISTS zt_kostengruppe RENAME TO tblKostengruppe");
        }
    } restore{*other};
    if (kept) {
        QVERIFY2(other->exec("ALTER SYSTEM SET synchronous_standby_names = 'zt_never'"),
                 qPrintable(other->lastError()));
        QCOMPARE(first(*other, "SELECT pg_reload_conf()"), QStringLiteral("t"));
        server.exec("SET synchronous_commit = on");
        // The session reads the changed setting once the server told it.
        for (int asked = 0;
             asked < 20000 && first(server.db(), "SELECT current_setting("
                                                 "'synchronous_standby_names') FROM "
                                                 "pg_sleep(0.01)") != QLatin1String("zt_never");
             ++asked) {
        }
    } else {
        server.exec("CREATE FUNCTION zt_hold() RETURNS trigger LANGUAGE plpgsql AS "
                    "$$BEGIN PERFORM pg_advisory_lock(592501); RETURN NULL; END$$");
        server.exec("CREATE CONSTRAINT TRIGGER zt_hold AFTER INSERT ON " + table +
                    " DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION zt_hold()");
        QVERIFY(other->exec("SELECT pg_advisory_lock(592501)"));
    }
    SessionEnder ender(server.path(), session.toInt(),
                       kept ? QStringLiteral("SyncRep") : QStringLiteral("advisory"),
                       outcome == QLatin1String("unknown")
                           ? QStringLiteral("ALTER TABLE tblKostengruppe RENAME TO zt_kostengruppe")
                           : QString());
    ender.start();
    Booking entry = payment();
    EstimateRow estimate;
    estimate.projectId = entry.projectId;
    estimate.company = entry.company;
    const bool booked = table == QLatin1String("tblBuchung") ? BookingRepository(server.db()).book(entry)
                                                             : EstimateRepository(server.db()).book(estimate);
    ender.wait();
    QVERIFY(ender.ended);
    QCOMPARE(booked, kept);
    QCOMPARE(first(*other, "SELECT count(*) FROM " + table), kept ? QStringLiteral("1") : "0");
    if (kept) {
        QCOMPARE(table == QLatin1String("tblBuchung") ? entry.runningNumber : estimate.runningNumber, 1);
    } else if (outcome == QLatin1String("unknown")) {
        QCOMPARE(server.db().lastFailure(), Database::Failure::OutcomeUnknown);
        QVERIFY2(server.db().lastError().startsWith("Die Änderung ist vielleicht nicht gespeichert"),
                 qPrintable(server.db().lastError()));
    } else {
        QVERIFY2(server.db().lastError().contains("Verbindung unterbrochen"),
                 qPrintable(server.db().lastError()));
    }
}

void ConnectionTest::listenerEndedIsOpenedAgain() {
    if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
        QSKIP("needs the server");
    TestDatabase server;
    const QString name = QStringLiteral("zt_watch_%1").arg(QCoreApplication::applicationPid());
    const std::unique_ptr<Database> db = Database::open(server.path() + "&application_name=" + name);
    QVERIFY(db);
    ChangeListener watch(*db);
    QVERIFY(watch.isFollowing());
    QSignalSpy following(&watch, &ChangeListener::followingChanged);
    QSignalSpy changed(&watch, &ChangeListener::changed);
    const std::unique_ptr<Database> other = Database::open(server.path());
    QVERIFY(other);
    QCOMPARE(first(*other,
                   "SELECT count(pg_terminate_backend(pid, 10000)) FROM pg_stat_activity WHERE "
                   "application_name = ? AND pid <> ?",
                   {name, db->session().toInt()}),
             QStringLiteral("1"));

    // The driver reads the server's closing words once the event loop lets it.
    QTRY_VERIFY((watch.lookAtListener(), !watch.isFollowing()));
    QCOMPARE(following.count(), 1);
    QCOMPARE(following.at(0).at(0).toBool(), false);
    // A try that fails makes the pause before the next one longer.
    const int pause = watch.pauseMs();
    server.exec("ALTER TABLE tblProjekt RENAME TO zt_projekt");
    watch.openListenerAgain();
    // A server named by its host is knocked at first, without waiting: the try ends in the event loop.
    const QString host = ServerAddress::parse(server.path()).host;
    if (!host.isEmpty() && !host.startsWith(u'/'))
        QCOMPARE(watch.pauseMs(), pause);
    QTRY_COMPARE(watch.pauseMs(), 2 * pause);
    QVERIFY(!watch.isFollowing());
    server.exec("ALTER TABLE zt_projekt RENAME TO tblProjekt");
    watch.openListenerAgain();
    QTRY_VERIFY(watch.isFollowing());
    QCOMPARE(following.count(), 2);
    QCOMPARE(following.at(1).at(0).toBool(), true);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(watch.pauseMs(), pause);

    // Another workstation's change arrives again.
    QVERIFY(other->exec("INSERT INTO tblProjekt (ProjektName) VALUES ('Schule')"));
    QVERIFY(changed.wait());
}

void ConnectionTest::hostKnockTellsWhetherTheHostAnswers_data() {
    QTest::addColumn<bool>("listening");
    QTest::newRow("a port that takes the connection") << true;
    QTest::newRow("a port that refuses it") << false;
}

void ConnectionTest::hostKnockTellsWhetherTheHostAnswers() {
    QFETCH(bool, listening);
    // A port of this machine's own, closed again unless it is to take the knock.
    const int port = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    QVERIFY(::bind(port, reinterpret_cast<sockaddr*>(&address), size) == 0);
    QVERIFY(::getsockname(port, reinterpret_cast<sockaddr*>(&address), &size) == 0);
    QVERIFY(::listen(port, 1) == 0);
    if (!listening)
        ::close(port);
    HostKnock knock;
    QSignalSpy answered(&knock, &HostKnock::answered);
    QSignalSpy failed(&knock, &HostKnock::failed);
    knock.knock(QStringLiteral("127.0.0.1"), ntohs(address.sin_port), 5000);
    QVERIFY(knock.isKnocking());
    QTRY_COMPARE(answered.count() + failed.count(), 1);
    QCOMPARE(answered.count(), listening ? 1 : 0);
    QVERIFY(!knock.isKnocking());
    if (listening)
        ::close(port);
}

QTEST_GUILESS_MAIN(ConnectionTest)
#include "ConnectionTest.moc"
