#include "BookingRepository.h"
#include "Database.h"
#include "ServerDump.h"
#include "TestDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

Q_DECLARE_METATYPE(Database::OpenFailure)

// The roles of an office as the README sets them up, on the test server: a role that owns a database of
// its own, two clerks who are members of it, a login that may only read and one that may do nothing.
class ServerRightsTest : public QObject {
    Q_OBJECT

    QSqlDatabase m_admin;
    const QString m_suffix = QString::number(QCoreApplication::applicationPid());

    QString role(const QString& name) const { return QStringLiteral("zt_%1_%2").arg(name, m_suffix); }
    QString database() const { return role("zlv"); }
    static QString port() { return qEnvironmentVariable("PGPORT", "5432"); }
    static QString host() { return qEnvironmentVariable("PGHOST", "localhost"); }
    QString location(const QString& login, const QString& db = QString()) const {
        return QStringLiteral("postgresql://%1:%2/%3?user=%4")
            .arg(host(), port(), db.isEmpty() ? database() : db, role(login));
    }
    void admin(const QString& sql) {
        if (!m_admin.isOpen())
            return;
        QSqlQuery query(m_admin);
        QVERIFY2(query.exec(sql), qPrintable(sql + ": " + query.lastError().text()));
    }
    // Runs sql on the office's database as login.
    static void as(const QString& location, const QString& sql) {
        const std::unique_ptr<Database> db = Database::open(location);
        QVERIFY(db);
        QVERIFY2(db->exec(sql), qPrintable(db->lastError()));
    }
    static QString scalar(Database& db, const QString& sql) {
        QString value;
        db.read(sql, {}, [&](const Database::Row& row) { value = row.text(0); });
        return value;
    }

private slots:
    void initTestCase() {
        if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
            QSKIP("needs the server");
        m_admin = QSqlDatabase::addDatabase("QPSQL", "zt-roles");
        QVERIFY2(m_admin.open(), qPrintable(m_admin.lastError().text()));
        admin("SET client_min_messages = warning");
        // Every login has the test server's password, which libpq takes from the environment.
        const QString password = qEnvironmentVariable("PGPASSWORD").replace('\'', "''");
        admin(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(role("zlv"), password));
        for (const QString clerk : {"mueller", "schmidt"})
            admin(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE %3")
                      .arg(role(clerk), password, role("zlv")));
        for (const QString other : {"leser", "fremd"})
            admin(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(role(other), password));
    }

    void init() {
        admin(QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(database(), role("zlv")));
        QString message;
        QVERIFY2(Database::create(location("zlv"), &message), qPrintable(message));
        as(location("zlv"),
           QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(role("leser")));
    }

    void cleanup() {
        for (const QString& db : {database(), database() + "_neu"})
            admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(db));
    }

    void cleanupTestCase() {
        for (const QString name : {"mueller", "schmidt", "leser", "fremd", "zlv"})
            admin(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role(name)));
    }

    void olderDatabaseOpensAsRightsAllow_data() {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("older"); // what the database lacks, as its owner takes it away
        QTest::addColumn<Database::OpenFailure>("failure");
        QTest::addColumn<QString>("message"); // the refusal, or the notice of a database opened
        using F = Database::OpenFailure;
        QTest::newRow("clerk adds a missing table for everyone") << "mueller"
                                                                 << "DROP TABLE tblUStIdNr" << F::None << "";
        QTest::newRow("reader without CREATE, an index missing")
            << "leser"
            << "DROP INDEX ixFirmaName" << F::None
            << "fehlen Indizes (ixFirmaName); Listen und Auswertungen können dadurch langsamer sein. "
               "Anlegen darf sie nur die Verwaltung der Datenbank (die Rolle zt_zlv_%1";
        QTest::newRow("reader without CREATE, a table missing")
            << "leser"
            << "DROP TABLE tblUStIdNr" << F::NoPermission
            << "fehlt die Tabelle tblUStIdNr, die diese Version von Zelvora braucht. Anlegen darf sie nur "
               "die Verwaltung der Datenbank (die Rolle zt_zlv_%1 oder ein Mitglied von ihr): Sie muss die "
               "Datenbank einmal mit Zelvora öffnen.";
        QTest::newRow("login without rights")
            << "fremd"
            << "" << F::NoPermission << "Ihre Anmeldung darf die Tabellen tblB";
    }

    void olderDatabaseOpensAsRightsAllow() {
        QFETCH(QString, login);
        QFETCH(QString, older);
        QFETCH(Database::OpenFailure, failure);
        QFETCH(QString, message);
        message.replace("%1", m_suffix);
        if (!older.isEmpty())
            as(location("zlv"), older);

        Database::OpenFailure found = Database::OpenFailure::None;
        QString refusal;
        const std::unique_ptr<Database> db = Database::open(location(login), &found, &refusal);

        QCOMPARE(found, failure);
        if (!db) {
            QVERIFY2(refusal.contains(message), qPrintable(refusal));
            return;
        }
        const QString notices = db->notices().join('\n');
        QVERIFY2(message.isEmpty() ? notices.isEmpty() : notices.contains(message), qPrintable(notices));
        // The added table belongs to the owner, tells the other workstations of changes, and serves the
        // second clerk.
        QCOMPARE(scalar(*db, "SELECT pg_get_userbyid(relowner) || ',' || (SELECT COUNT(*) FROM pg_trigger "
                             "WHERE tgrelid = c.oid AND tgname = 'zlv_changed') FROM pg_class c "
                             "WHERE oid = 'tblustidnr'::regclass"),
                 role("zlv") + ",1");
        const std::unique_ptr<Database> second = Database::open(location("schmidt"));
        QVERIFY(second);
        QVERIFY2(second->exec("INSERT INTO tblUStIdNr (UStIdNr, FirmaID) VALUES ('DE123456789', 1)"),
                 qPrintable(second->lastError()));
        QCOMPARE(scalar(*second, "SELECT UStIdNr FROM tblUStIdNr"), "DE123456789");
    }

    // The help's recipe, word for word but for server, names and file: the restored database serves the
    // clerks as the original did.
    void dumpRestoredAsTheHelpSaysServesTheClerks() {
        Booking booking;
        booking.projectId = "7";
        booking.company = "Bau";
        {
            const std::unique_ptr<Database> db = Database::open(location("mueller"));
            QVERIFY(db);
            QVERIFY2(BookingRepository(*db).book(booking), qPrintable(db->lastError()));
        }
        QTemporaryDir folder;
        const QString dumpFile = folder.filePath("zlv.dump");
        ServerDump dump(location("mueller"), dumpFile);
        QSignalSpy finished(&dump, &ServerDump::finished);
        QVERIFY2(dump.start(), qPrintable(dump.reason()));
        QVERIFY(finished.wait(60000));
        QVERIFY2(dump.outcome() == ServerDump::Outcome::Done, qPrintable(dump.reason()));

        QFile help(ZLV_HELP);
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(help.readAll());
        const QRegularExpressionMatch recipe =
            QRegularExpression("Eine Sicherung zurückspielen.*?<pre>(.*?)</pre>",
                               QRegularExpression::DotMatchesEverythingOption)
                .match(text);
        QVERIFY(recipe.hasMatch());
        const QStringList lines = recipe.captured(1).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        for (const QString& line : lines) {
            QStringList arguments;
            for (const QString& word : line.split(' ', Qt::SkipEmptyParts)) {
                if (word == "server.bauamt.local")
                    arguments << host() << "-p" << port();
                else if (word == "zlv_neu")
                    arguments << database() + "_neu";
                else if (word == "05.12.2026_zlv.dump")
                    arguments << dumpFile;
                else
                    arguments << QString(word).replace(QRegularExpression("=zlv$"), '=' + role("zlv"));
            }
            QProcess step;
            step.start(arguments.takeFirst(), arguments);
            QVERIFY(step.waitForFinished(60000));
            QVERIFY2(step.exitCode() == 0, qPrintable(line + ": " + step.readAllStandardError()));
        }

        QString message;
        const std::unique_ptr<Database> restored =
            Database::open(location("schmidt", database() + "_neu"), nullptr, &message);
        QVERIFY2(restored, qPrintable(message));
        Booking next = booking;
        QVERIFY2(BookingRepository(*restored).book(next), qPrintable(restored->lastError()));
        QCOMPARE(next.runningNumber, 2);
    }
};

QTEST_GUILESS_MAIN(ServerRightsTest)
#include "ServerRightsTest.moc"
