#include "BookingRepository.h"

#include "DatabaseLocation.h"
#include "DataLocation.h"
#include "ScriptedDialogs.h"
#include "ServerMoveWindow.h"
#include "Settings.h"
#include "StartCheck.h"
#include "TestDatabase.h"
#include "WidgetDriver.h"

#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// A PfadZurDatenbank.ini that names a server: the start asks for a password when the server wants one,
// offers to set up an empty database, and offers to try again when the server cannot be reached; it never
// falls back to a file.
class ServerLocationTest : public QObject {
    Q_OBJECT

private slots:
    void startOnAServer_data() {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty database set up when asked")
            << "empty" << QList<int>{} << true << "ist leer. Jetzt für Zelvora einrichten?";
        QTest::newRow("empty database left when declined") << "empty, no" << QList<int>{} << false << "leer";
        QTest::newRow("unreachable, tried again, then ended")
            << "postgresql://127.0.0.1:1/zlv?connect_timeout=1" << QList<int>{0, 1} << false
            << "Ladefehler!: Die Datenbank zlv auf 127.0.0.1:1 kann nicht geöffnet werden:\nDer Server "
               "127.0.0.1 ist nicht erreichbar.";
        QTest::newRow("password asked and kept in memory")
            << "password" << QList<int>{} << true << "Anmeldung am Datenbankserver: ";
    }

    void startOnAServer() {
        QFETCH(QString, server);
        QFETCH(QList<int>, choices);
        QFETCH(bool, found);
        QFETCH(QString, shown);
        const bool onServer = TestDatabase::requestedEngine() == TestDatabase::Engine::Server;
        if (!server.startsWith("postgresql") && !onServer)
            QSKIP("needs the server");
        const QByteArray password = qgetenv("PGPASSWORD");
        if (server == "password" && password.isEmpty())
            QSKIP("needs a server that asks for a password");
        const bool named = server.startsWith("postgresql");
        TestDatabase database(named ? TestDatabase::Engine::File : TestDatabase::Engine::Server,
                              server == "password");
        const QString ini = named ? server : database.path();
        ScriptedDialogs dialogs;
        dialogs.choices.append(choices);
        dialogs.answers.append(server.endsWith("no") ? Dialogs::Answer::No : Dialogs::Answer::Yes);
        dialogs.logins.append({DataLocation::userOf(database.path()), QString::fromUtf8(password)});
        Settings settings(database.folder() + "/TalbrinZlv.ini");
        QVERIFY(TestDatabase::writeFile(database.folder() + "/PfadZurDatenbank.ini", ini.toUtf8()));
        if (server == "password")
            qunsetenv("PGPASSWORD");

        DatabaseLocation location(database.folder(), dialogs, settings);
        const bool usable = location.determine() == DatabaseLocation::Outcome::Found;
        qputenv("PGPASSWORD", password);

        QStringList texts;
        for (const ScriptedDialogs::Shown& dialog : dialogs.shown)
            texts += dialog.title + ": " + dialog.text;
        QVERIFY2(texts.join('\n').contains(shown), qPrintable(texts.join('\n')));
        QCOMPARE(usable, found);
        QCOMPARE(dialogs.shown.size(), qMax(1, int(choices.size())));
        if (found)
            QVERIFY(Database::open(location.databaseFilePath()));
        QCOMPARE(location.place(), "Datenbank " + DataLocation::placeOf(ini));
    }

    void checkBegunBeforeTheApplication_data() {
        QTest::addColumn<QString>("programIni"); // "server", a folder, or empty for none
        QTest::addColumn<QString>("userIni");
        QTest::addColumn<bool>("begun");
        QTest::newRow("server in the program's ini") << "server"
                                                     << "" << true;
        QTest::newRow("server in the user's ini") << ""
                                                  << "server" << true;
        QTest::newRow("the user's folder before the program's server") << "server"
                                                                       << "." << false;
        QTest::newRow("a folder") << "."
                                  << "" << false;
        QTest::newRow("no ini") << ""
                                << "" << false;
    }

    // Where the ini read first names a server, the start's check begins before the application: the
    // check then opens the server that locate() found and hands it to the window's thread.
    void checkBegunBeforeTheApplication() {
        QFETCH(QString, programIni);
        QFETCH(QString, userIni);
        QFETCH(bool, begun);
        const bool onServer = TestDatabase::requestedEngine() == TestDatabase::Engine::Server;
        if (begun && !onServer)
            QSKIP("needs the server");
        TestDatabase database(onServer ? TestDatabase::Engine::Server : TestDatabase::Engine::File);
        const QString server = onServer ? database.path() : QStringLiteral("postgresql://127.0.0.1:1/zlv");
        QTemporaryDir user;
        for (const auto& [folder, value] :
             {std::pair{database.folder(), programIni}, {user.path(), userIni}}) {
            if (!value.isEmpty())
                QVERIFY(TestDatabase::writeFile(folder + "/PfadZurDatenbank.ini",
                                                (value == "server" ? server : value).toUtf8()));
        }

        std::unique_ptr<StartCheck> ahead = StartCheck::ahead(database.folder(), user.path());
        QCOMPARE(ahead != nullptr, begun);
        if (!ahead)
            return;
        // One begun and never run ends with the program.
        StartCheck::ahead(database.folder(), user.path()).reset();
        ScriptedDialogs dialogs;
        Settings settings(user.filePath("TalbrinZlv.ini"));
        DatabaseLocation location(database.folder(), dialogs, settings, user.path());
        QCOMPARE(location.locate(), DatabaseLocation::Outcome::Found);
        location.beginCheck(ahead.get());
        ahead.reset();
        QVERIFY(location.confirm());
        const std::unique_ptr<Database> opened = location.takeOpened();
        QVERIFY(opened);
        QCOMPARE(opened->location(), server);
        // Handed over: the window's thread reads on the connection.
        QVERIFY(opened->read("SELECT COUNT(*) FROM tblGewerk", {}, [](const DatabaseRow&) {}));
    }

    // A first start that names a server: the empty database is set up, and the user's ini names the server.
    void firstStartNamesAServer() {
        if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
            QSKIP("needs the server");
        TestDatabase database(TestDatabase::Engine::Server, false);
        QTemporaryDir program;
        ScriptedDialogs dialogs;
        dialogs.choices.enqueue(int(DatabaseLocation::FirstStartChoice::Server));
        dialogs.texts.enqueue(database.path());
        dialogs.answers.enqueue(Dialogs::Answer::Yes);
        Settings settings(database.folder() + "/TalbrinZlv.ini");
        DatabaseLocation location(program.path(), dialogs, settings, database.folder());

        QCOMPARE(location.determine(), DatabaseLocation::Outcome::Found);

        QCOMPARE(location.databaseFilePath(), database.path());
        QFile ini(database.folder() + "/PfadZurDatenbank.ini");
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(ini.readAll()), database.path() + '\n');
        QVERIFY(!QFile::exists(program.filePath("PfadZurDatenbank.ini")));
        QVERIFY(Database::open(location.databaseFilePath()));
    }

    // The demo office moved onto an empty server through the window: both sides agree, only then is the
    // switch to the server offered, and the next booking there gets the next number. A server that
    // holds data already is refused and offers no switch.
    void demoOfficeMovesOntoTheServer() {
        if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
            QSKIP("needs the server");
        QTemporaryDir folder;
        const QString file = folder.filePath("ZLV.mdb");
        QCOMPARE(QProcess::execute(ZLV_GENERATE, {"demo", file}), 0);
        TestDatabase server(TestDatabase::Engine::Server, false);
        ScriptedDialogs dialogs;
        QString recorded;
        ServerMoveWindow window(file, dialogs, [&](const QString& location) {
            recorded = location;
            return true;
        });
        window.show();
        const WidgetDriver ui(&window);
        auto* switchButton = ui.find<QPushButton>("cmdUmstellen");
        ui.type("txtServer", server.path(), "cmdUebertragen");
        const QString report = ui.find<QPlainTextEdit>("txtBericht")->toPlainText();
        QVERIFY2(switchButton->isEnabled() && !report.contains("abweichend") &&
                     report.contains("tblBuchung, Summe Betrag: "),
                 qPrintable(report + dialogs.lastText()));
        ui.click("cmdUmstellen");
        QCOMPARE(recorded, server.path());
        ui.click("cmdUebertragen");
        QVERIFY(!switchButton->isEnabled() && dialogs.lastText().contains("nicht leer"));
        const std::unique_ptr<Database> before = Database::open(file);
        QString lastId;
        before->read("SELECT MAX(ID) FROM tblBuchung", {},
                     [&](const Database::Row& row) { lastId = row.text(0); });
        const std::unique_ptr<Database> db = Database::open(server.path());
        Booking next;
        next.projectId = "1";
        QVERIFY(db && BookingRepository(*db).book(next));
        QCOMPARE(next.id, lastId.toLongLong() + 1);
    }
};

QTEST_MAIN(ServerLocationTest)
#include "ServerLocationTest.moc"
