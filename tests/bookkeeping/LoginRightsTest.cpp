#include "BookingOperation.h"
#include "CompanyRegister.h"
#include "Database.h"
#include "LoginAdministration.h"
#include "LoginScreen.h"
#include "ProjectManager.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "TestDatabase.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTreeView>

using namespace Qt::StringLiterals;

// Logins of an office on the test server, each holding some of the rights of a database of its own: what
// each may do through the program and through plain SQL, a second database with roles of its own, and
// the administration of logins.
class LoginRightsTest : public QObject {
    Q_OBJECT

    QSqlDatabase m_admin;
    const QString m_suffix = QString::number(QCoreApplication::applicationPid());
    QStringList m_roles;

    QString role(const QString& name) const { return u"zr_%1_%2"_s.arg(name, m_suffix); }
    QString database(const QString& name = u"amt"_s) const { return role(name); }
    static QString host() { return qEnvironmentVariable("PGHOST", "localhost"); }
    static QString port() { return qEnvironmentVariable("PGPORT", "5432"); }
    QString location(const QString& login, const QString& db = QString()) const {
        return u"postgresql://%1:%2/%3?user=%4"_s.arg(host(), port(), db.isEmpty() ? database() : db,
                                                      role(login));
    }
    void admin(const QString& sql) {
        QSqlQuery query(m_admin);
        QVERIFY2(query.exec(sql), qPrintable(sql + ": " + query.lastError().text()));
    }
    // The first value of sql, run by the server's administration (in db, when given).
    QString adminScalar(const QString& sql, const QString& db = QString()) {
        const QString name = u"zr-admin-"_s + db;
        QString value;
        {
            QSqlDatabase in = db.isEmpty() ? m_admin : QSqlDatabase::addDatabase("QPSQL", name);
            if (!db.isEmpty()) {
                in.setDatabaseName(db);
                in.open();
            }
            QSqlQuery query(in);
            value = query.exec(sql) && query.next() ? query.value(0).toString() : query.lastError().text();
        }
        if (!db.isEmpty())
            QSqlDatabase::removeDatabase(name);
        return value;
    }
    void addLogin(const QString& name, const QStringList& rights, const QString& db = QString()) {
        const QString password = qEnvironmentVariable("PGPASSWORD").replace('\'', "''");
        admin(u"CREATE ROLE %1 LOGIN PASSWORD '%2'"_s.arg(role(name), password));
        m_roles += role(name);
        for (const QString& right : rights)
            admin(u"GRANT %1_%2 TO %3"_s.arg(db.isEmpty() ? database() : db, right, role(name)));
    }
    // Runs sql as login through a plain connection, as psql would; the server's error, empty when done.
    QString asLogin(const QString& login, const QString& sql) {
        const QString name = u"zr-plain-"_s + login;
        QString error;
        {
            QSqlDatabase plain = QSqlDatabase::addDatabase("QPSQL", name);
            plain.setHostName(host());
            plain.setPort(port().toInt());
            plain.setDatabaseName(database());
            plain.setUserName(role(login));
            plain.setPassword(qEnvironmentVariable("PGPASSWORD"));
            if (!plain.open())
                error = plain.lastError().text();
            QSqlQuery query(plain);
            if (error.isEmpty() && !query.exec(sql))
                error = query.lastError().nativeErrorCode() + u' ' + query.lastError().databaseText();
        }
        QSqlDatabase::removeDatabase(name);
        return error;
    }

private slots:
    void initTestCase() {
        if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
            QSKIP("needs the server");
        m_admin = QSqlDatabase::addDatabase("QPSQL", "zr-admin");
        QVERIFY2(m_admin.open(), qPrintable(m_admin.lastError().text()));
        admin("SET client_min_messages = warning");
        const QString password = qEnvironmentVariable("PGPASSWORD").replace('\'', "''");
        // The office's administering login sets up the database and holds every right.
        admin(u"CREATE ROLE %1 LOGIN CREATEROLE PASSWORD '%2'"_s.arg(role("chef"), password));
        m_roles += role("chef");
        admin(u"CREATE DATABASE %1 OWNER %2"_s.arg(database(), role("chef")));
        QString message;
        QVERIFY2(Database::create(location("chef"), &message), qPrintable(message));
        addLogin("leser", {"lesen"});
        addLogin("erfasser", {"erfassen"});
        addLogin("verwalter", {"verwalten"});
        addLogin("ohne", {});
        QVERIFY(asLogin("chef",
                        "INSERT INTO tblProjekt (ProjektName) VALUES ('Schule'); INSERT INTO tblFirma (Name) "
                        "VALUES ('Bau'); INSERT INTO tblBuchung "
                        "(PID, ProjektID, Projekt, Firma, Betrag) VALUES (1, '1', 'Schule', 'Bau', 10)")
                    .isEmpty());
    }

    void cleanupTestCase() {
        if (!m_admin.isOpen())
            return;
        for (const QString& db : {database(), database("zweit"), database("alt")})
            admin(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(db));
        const QStringList words = {"lesen", "erfassen", "feststellen", "anordnen", "verwalten"};
        for (const QString& db : {database(), database("zweit"), database("alt")}) {
            for (const QString& word : words)
                admin(u"DROP ROLE IF EXISTS %1_%2"_s.arg(db, word));
        }
        for (const QString& name : std::as_const(m_roles))
            admin(u"DROP ROLE IF EXISTS \"%1\""_s.arg(QString(name).replace('"', "\"\"")));
    }

    void eachRightAllowsWhatItShould_data() {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("allowed");
        const QString book = "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Betrag) VALUES "
                             "(99, '1', 'Schule', 'Bau', 5)";
        const QString rename = "UPDATE tblBuchung SET Projekt = 'Schule' WHERE ProjektID = '1'";
        QTest::newRow("reader reads") << "leser"
                                      << "SELECT * FROM tblBuchung" << true;
        QTest::newRow("reader books") << "leser" << book << false;
        QTest::newRow("reader renames a project") << "leser"
                                                  << "UPDATE tblProjekt SET ProjektName = 'X'" << false;
        QTest::newRow("no right reads") << "ohne"
                                        << "SELECT * FROM tblBuchung" << false;
        QTest::newRow("clerk books") << "erfasser" << book << true;
        QTest::newRow("clerk adds a company") << "erfasser"
                                              << "INSERT INTO tblFirma (Name) VALUES ('O''Neill')" << true;
        QTest::newRow("clerk agrees an order's terms")
            << "erfasser"
            << "INSERT INTO tblZahlungsbedingung (ProjektID, FirmaID, NID, ErfuellungProzent) VALUES ('1', "
               "1, 1, 5)"
            << true;
        QTest::newRow("clerk records a guarantee") << "erfasser"
                                                   << "INSERT INTO tblSicherheit (ProjektID, FirmaID, Art, "
                                                      "Betrag) VALUES ('1', 1, 'Vertragserfüllung', 5)"
                                                   << true;
        QTest::newRow("reader records a guarantee") << "leser"
                                                    << "INSERT INTO tblSicherheit (ProjektID, FirmaID, Art, "
                                                       "Betrag) VALUES ('1', 1, 'Vertragserfüllung', 5)"
                                                    << false;
        QTest::newRow("clerk adds a certificate")
            << "erfasser"
            << "INSERT INTO tblFreistellung (FirmaID, Nummer) VALUES (1, 'FB 1')" << true;
        QTest::newRow("reader adds a certificate")
            << "leser"
            << "INSERT INTO tblFreistellung (FirmaID, Nummer) VALUES (1, 'FB 2')" << false;
        QTest::newRow("reader reads the certificates") << "leser"
                                                       << "SELECT * FROM tblFreistellung" << true;
        QTest::newRow("clerk renames a project") << "erfasser"
                                                 << "UPDATE tblProjekt SET ProjektName = 'X'" << false;
        QTest::newRow("clerk adds a project") << "erfasser"
                                              << "INSERT INTO tblProjekt (ProjektName) VALUES ('X')" << false;
        QTest::newRow("clerk sets a budget") << "erfasser"
                                             << "INSERT INTO tblBudget VALUES (1, 5)" << false;
        QTest::newRow("clerk adds a trade") << "erfasser"
                                            << "INSERT INTO tblGewerk (Gewerk) VALUES ('X')" << false;
        QTest::newRow("clerk empties the journal") << "erfasser"
                                                   << "DELETE FROM tblProtokoll" << false;
        QTest::newRow("administrator renames a project")
            << "verwalter"
            << "UPDATE tblProjekt SET ProjektName = 'Schule'" << true;
        QTest::newRow("administrator carries the name into bookings") << "verwalter" << rename << true;
        QTest::newRow("administrator books") << "verwalter" << book << false;
        QTest::newRow("administrator changes an amount") << "verwalter"
                                                         << "UPDATE tblBuchung SET Betrag = 1" << false;
        QTest::newRow("administrator removes a project")
            << "verwalter"
            << "DELETE FROM tblProjekt WHERE ProjektName = 'leer'" << true;
        QTest::newRow("administrator sets a budget")
            << "verwalter"
            << "INSERT INTO tblBudget VALUES (77, 5) ON CONFLICT DO NOTHING" << true;
    }

    void eachRightAllowsWhatItShould() {
        QFETCH(QString, login);
        QFETCH(QString, sql);
        QFETCH(bool, allowed);
        const QString error = asLogin(login, sql);
        if (allowed)
            QVERIFY2(error.isEmpty(), qPrintable(error));
        else
            QVERIFY2(error.startsWith("42501"), qPrintable(error));
    }

    // The journal and the sums the database keeps are written by functions of the owner: a clerk who may
    // only book is journaled and counted all the same.
    void bookingClerkIsJournaledAndCounted() {
        const std::unique_ptr<Session> session = Session::open(location("erfasser"));
        QVERIFY(session);
        QVERIFY2(session->notices().isEmpty(), qPrintable(session->notices().join('\n')));
        Booking booking;
        booking.projectId = "1";
        booking.project = "Schule";
        booking.company = "Bau";
        booking.amount = Money::fromCents(1234);
        const Outcome booked = BookingOperation(*session).book(booking);
        QVERIFY2(booked.ok(), qPrintable(booked.text()));
        QCOMPARE(
            adminScalar(u"SELECT Benutzer FROM tblProtokoll WHERE Tabelle = 'tblBuchung' ORDER BY ID DESC "
                        "LIMIT 1"_s,
                        database()),
            role("erfasser"));
        QCOMPARE(
            adminScalar(u"SELECT BuchungZeilen FROM tblProjektSumme WHERE ProjektID = '1'"_s, database()),
            adminScalar(u"SELECT count(*) FROM tblBuchung WHERE ProjektID = '1'"_s, database()));
    }

    // The program mirrors the rights, and a refusal of the server names the right in German.
    void programMirrorsTheRights_data() {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("held"); // the rights Session::may grants, as their first letters
        QTest::newRow("reader") << "leser"
                                << "l";
        QTest::newRow("clerk") << "erfasser"
                               << "le";
        QTest::newRow("administrator") << "verwalter"
                                       << "lv";
        QTest::newRow("setting up login") << "chef"
                                          << "lefav";
    }

    void programMirrorsTheRights() {
        QFETCH(QString, login);
        QFETCH(QString, held);
        const std::unique_ptr<Session> session = Session::open(location(login));
        QVERIFY(session);
        QString found;
        for (Right right : LoginRepository::allRights()) {
            if (session->may(right))
                found += rightWord(right).at(0);
        }
        QCOMPARE(found, held);
        Booking booking;
        booking.projectId = "1";
        booking.company = "Bau";
        const Outcome booked = BookingOperation(*session).book(booking);
        QCOMPARE(booked.ok(), held.contains('e'));
        if (!booked.ok())
            QVERIFY2(booked.text().contains(u"Dazu fehlt Ihnen das Recht „erfassen“"_s),
                     qPrintable(booked.text()));
    }

    // Two databases on one server have roles of their own: a right in one is none in the other.
    void databasesDoNotShareRoles() {
        admin(u"CREATE DATABASE %1 OWNER %2"_s.arg(database("zweit"), role("chef")));
        QString message;
        QVERIFY2(Database::create(location("chef", database("zweit")), &message), qPrintable(message));
        QCOMPARE(adminScalar(
                     u"SELECT count(*) FROM pg_roles WHERE rolname LIKE '%1\\_%'"_s.arg(database("zweit"))),
                 "5");
        const std::unique_ptr<Session> other =
            Session::open(location("erfasser", database("zweit")), &message);
        QVERIFY2(!other, "a clerk of the first database reads the second");
        QVERIFY2(message.contains("nicht lesen"), qPrintable(message));
        // Opened for the start alike: the refusal is not left for after the first frame.
        message.clear();
        QVERIFY(!Database::open(location("erfasser", database("zweit")), nullptr, &message,
                                Database::defaultBusyTimeoutMs(), Database::Purpose::Start));
        QVERIFY2(message.contains("nicht lesen"), qPrintable(message));
        addLogin("zweiter", {"lesen", "erfassen"}, database("zweit"));
        const std::unique_ptr<Session> first = Session::open(location("zweiter"), &message);
        QVERIFY2(!first, "a clerk of the second database reads the first");
        const std::unique_ptr<Session> second = Session::open(location("zweiter", database("zweit")));
        QVERIFY(second && second->may(Right::Record) && !second->may(Right::Administer));
    }

    // An older database whose owner may not create roles opens all the same and says what is missing.
    void ownerWithoutCreateRoleIsTold() {
        const QString password = qEnvironmentVariable("PGPASSWORD").replace('\'', "''");
        admin(u"CREATE ROLE %1 LOGIN PASSWORD '%2'"_s.arg(role("altamt"), password));
        m_roles += role("altamt");
        admin(u"CREATE DATABASE %1 OWNER %2"_s.arg(database("alt"), role("altamt")));
        QString message;
        QVERIFY2(Database::create(location("altamt", database("alt")), &message), qPrintable(message));
        const std::unique_ptr<Session> session = Session::open(location("altamt", database("alt")), &message);
        QVERIFY2(session, qPrintable(message));
        const QString notices = session->notices().join('\n');
        QVERIFY2(notices.contains(u"Der Datenbank fehlen die Rollen ihrer Rechte"_s) &&
                     notices.contains("CREATEROLE"),
                 qPrintable(notices));
        QVERIFY(!session->may(Right::Read));
        QCOMPARE(adminScalar(u"SELECT zlv_recht('lesen')"_s, database("alt")), "false");
        // Once the server's administration opened it, the owner holds every right.
        const QString superuser = qEnvironmentVariable("PGUSER");
        const std::unique_ptr<Database> byServer =
            Database::open(u"postgresql://%1:%2/%3?user=%4"_s.arg(host(), port(), database("alt"), superuser),
                           nullptr, &message);
        QVERIFY2(byServer && byServer->notices().isEmpty(), qPrintable(message));
        const std::unique_ptr<Session> again = Session::open(location("altamt", database("alt")));
        QVERIFY(again && again->notices().isEmpty() && again->may(Right::Administer));
    }

    void administrationChecksWhatIsTyped_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("repeated");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("passwords differ") << "neu"
                                          << "geheim123"
                                          << "geheim124"
                                          << "Die beiden Passwörter stimmen nicht überein.";
        QTest::newRow("too short") << "neu"
                                   << "geheim1"
                                   << "geheim1"
                                   << "Das Passwort muss mindestens 8 Zeichen lang sein.";
        QTest::newRow("name taken") << "leser"
                                    << "geheim123"
                                    << "geheim123"
                                    << "trägt schon eine Anmeldung";
        QTest::newRow("no name") << " "
                                 << "geheim123"
                                 << "geheim123"
                                 << "Bitte geben Sie den Namen der neuen Anmeldung ein.";
    }

    void administrationChecksWhatIsTyped() {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, repeated);
        QFETCH(QString, refusal);
        const std::unique_ptr<Session> session = Session::open(location("chef"));
        QVERIFY(session);
        const Outcome added = LoginAdministration(*session).add(name.trimmed().isEmpty() ? name : role(name),
                                                                password, repeated);
        QCOMPARE(added.kind(), Outcome::Kind::Refused);
        QVERIFY2(added.text().contains(refusal), qPrintable(added.text()));
    }

    // A login with quotes in its name is added with only its password's verifier, given and refused
    // rights, and locked.
    void administrationAddsGrantsAndLocks() {
        const std::unique_ptr<Session> session = Session::open(location("chef"));
        QVERIFY(session);
        LoginAdministration logins(*session);
        QVERIFY2(logins.obstacle().isEmpty(), qPrintable(logins.obstacle()));
        const QString name = role(u"o'neill \"bau\""_s);
        m_roles += name;
        Outcome outcome = logins.add(name, "geheim123", "geheim123");
        QVERIFY2(outcome.ok(), qPrintable(outcome.text()));
        const QString quoted = QString(name).replace('\'', "''");
        QVERIFY(adminScalar(u"SELECT rolpassword FROM pg_authid WHERE rolname = '%1'"_s.arg(quoted))
                    .startsWith("SCRAM-SHA-256$"));
        outcome = logins.setRight(name, Right::Record, true);
        QVERIFY2(outcome.ok(), qPrintable(outcome.text()));
        const auto held = [&] {
            for (const LoginAdministration::Login& login : logins.logins().value) {
                if (login.name == name)
                    return QString::number(login.rights.size()) + (login.locked ? " gesperrt" : "");
            }
            return u"nicht da"_s;
        };
        QCOMPARE(held(), "2");
        outcome = logins.setRight(name, Right::Read, false);
        QCOMPARE(outcome.kind(), Outcome::Kind::Refused);
        QVERIFY2(outcome.text().contains(u"weiter über eine andere Rolle"_s), qPrintable(outcome.text()));
        QVERIFY(logins.setRight(name, Right::Record, false).ok());
        QCOMPARE(held(), "1");
        QVERIFY(logins.setLocked(name, true).ok());
        QCOMPARE(held(), "1 gesperrt");
        QCOMPARE(adminScalar(u"SELECT rolcanlogin FROM pg_roles WHERE rolname = '%1'"_s.arg(quoted)),
                 "false");
        QCOMPARE(logins.setLocked(role("chef"), true).kind(), Outcome::Kind::Refused);
        QVERIFY(logins.setLocked(name, false).ok());
        QCOMPARE(held(), "1");
        QCOMPARE(
            adminScalar(
                u"SELECT string_agg(Aktion || ' ' || (Neu::jsonb - 'Anmeldung')::text, '|' ORDER BY ID) FROM "
                u"tblProtokoll "
                "WHERE Tabelle = 'Anmeldungen' AND Zeile = '%1' AND Vorgang = 'Benutzer und Rechte'"_s.arg(
                    quoted),
                database()),
            u"Neu {\"lesen\": true}|Geändert {\"erfassen\": true}|Geändert {\"erfassen\": false}|Geändert "
            "{\"gesperrt\": true}|Geändert {\"gesperrt\": false}"_s);
    }

    // Without CREATEROLE the administration refuses before it writes.
    void administrationNeedsCreateRole() {
        admin(u"GRANT %1_verwalten TO %2"_s.arg(database(), role("erfasser")));
        const std::unique_ptr<Session> session = Session::open(location("erfasser"));
        admin(u"REVOKE %1_verwalten FROM %2"_s.arg(database(), role("erfasser")));
        QVERIFY(session);
        const Outcome added = LoginAdministration(*session).add(role("x"), "geheim123", "geheim123");
        QCOMPARE(added.kind(), Outcome::Kind::Refused);
        QVERIFY2(added.text().contains("CREATEROLE"), qPrintable(added.text()));
    }

    // "Benutzer und Rechte" as the administrator uses it: a login typed in, a right given by its check
    // mark, the login locked; a clerk without "verwalten" sees the list only.
    void screenAddsGrantsAndLocks() {
        const std::unique_ptr<Session> session = Session::open(location("chef"));
        QVERIFY(session);
        ScriptedDialogs dialogs;
        LoginScreen screen(*session, dialogs);
        const QString name = role("kasse");
        m_roles += name;
        QTest::keyClicks(screen.findChild<QLineEdit*>("txtName"), name);
        QTest::keyClicks(screen.findChild<QLineEdit*>("txtPasswort"), "geheim123");
        QTest::keyClicks(screen.findChild<QLineEdit*>("txtPasswortWiederholung"), "geheim124");
        QTest::mouseClick(screen.findChild<QPushButton*>("cmdHinzufuegen"), Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.last().text, u"Die beiden Passwörter stimmen nicht überein."_s);
        QVERIFY(screen.findChild<QLineEdit*>("txtPasswort")->text().isEmpty());
        // The shortest password allowed.
        QTest::keyClicks(screen.findChild<QLineEdit*>("txtPasswort"), "geheim12");
        QTest::keyClicks(screen.findChild<QLineEdit*>("txtPasswortWiederholung"), "geheim12");
        QTest::mouseClick(screen.findChild<QPushButton*>("cmdHinzufuegen"), Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 1);

        QAbstractItemModel* model = screen.findChild<QTreeView*>("lvwBenutzer")->model();
        const auto row = [&] {
            for (int r = 0; r < model->rowCount(); ++r) {
                if (model->index(r, 0).data().toString() == name)
                    return r;
            }
            return -1;
        };
        const auto marks = [&] {
            QString text;
            for (int column = 1; column < model->columnCount(); ++column)
                text +=
                    model->index(row(), column).data(Qt::CheckStateRole).toInt() == Qt::Checked ? 'x' : '-';
            return text;
        };
        QVERIFY(row() >= 0);
        QCOMPARE(marks(), "x-----");
        QVERIFY(model->flags(model->index(row(), 2)) & Qt::ItemIsUserCheckable);
        model->setData(model->index(row(), 3), Qt::Checked, Qt::CheckStateRole);
        QCOMPARE(marks(), "x-x---");
        model->setData(model->index(row(), 6), Qt::Checked, Qt::CheckStateRole);
        QCOMPARE(marks(), "x-x--x");
        QCOMPARE(adminScalar(u"SELECT rolcanlogin FROM pg_roles WHERE rolname = '%1'"_s.arg(name)), "false");
        QCOMPARE(dialogs.shown.size(), 1);

        const std::unique_ptr<Session> clerk = Session::open(location("erfasser"));
        QVERIFY(clerk);
        LoginScreen readOnly(*clerk, dialogs);
        QVERIFY(!readOnly.findChild<QPushButton*>("cmdHinzufuegen")->isEnabled());
        QAbstractItemModel* shown = readOnly.findChild<QTreeView*>("lvwBenutzer")->model();
        QVERIFY(shown->rowCount() > 0);
        QVERIFY(!(shown->flags(shown->index(0, 1)) & Qt::ItemIsUserCheckable));
    }

    // Screens disable what the login lacks the right for and name the right in the tooltip.
    void screensMirrorTheRights() {
        ScriptedDialogs dialogs;
        const QString missing = u"Dazu fehlt Ihnen das Recht „verwalten“."_s;
        const std::unique_ptr<Session> clerk = Session::open(location("erfasser"));
        QVERIFY(clerk);
        ProjectManager projects(*clerk, dialogs);
        for (const char* name : {"cmdHinzufuegen", "cmdBearbeiten", "cmdLoeschen"}) {
            const auto* button = projects.findChild<QPushButton*>(name);
            QVERIFY2(!button->isEnabled() && button->toolTip() == missing, name);
        }
        QVERIFY(projects.findChild<QPushButton*>("cmdProjektLaden")->isEnabled());
        CompanyRegister companies(*clerk, dialogs);
        QVERIFY(companies.findChild<QPushButton*>("Command2")->isEnabled());

        const std::unique_ptr<Session> reader = Session::open(location("leser"));
        QVERIFY(reader);
        CompanyRegister readOnly(*reader, dialogs);
        for (const char* name : {"Command2", "Command3"}) {
            const auto* button = readOnly.findChild<QPushButton*>(name);
            QVERIFY2(!button->isEnabled() && button->toolTip() == u"Dazu fehlt Ihnen das Recht „erfassen“."_s,
                     name);
        }
        QVERIFY(readOnly.findChild<QPushButton*>("Command4")->isEnabled());
        QVERIFY(!LoginAdministration::notOffered(reader->database()).isEmpty());
        QVERIFY(LoginAdministration::notOffered(clerk->database()).contains(missing));
        const std::unique_ptr<Session> chief = Session::open(location("chef"));
        QVERIFY(chief && LoginAdministration::notOffered(chief->database()).isEmpty());
    }
};

QTEST_MAIN(LoginRightsTest)
#include "LoginRightsTest.moc"
