#include "DatabaseLocation.h"
#include "AccessImport.h"
#include "DatabaseIniFile.h"
#include "ImportReportWindow.h"
#include "ProgramFolderFixture.h"
#include "SingleInstance.h"

#include <QSignalSpy>
#include <QTest>

using LocationOutcome = DatabaseLocation::Outcome;
Q_DECLARE_METATYPE(LocationOutcome)

// Where the database lies, how the ini names it, and the one running instance. %PROGRAM%, %OTHER% and %USER%
// in the rows stand for the program folder, another folder and the user's own configuration folder.
class DatabaseLocationTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> f;
    std::unique_ptr<QTemporaryDir> m_other;
    const SettingKey<QString> kRecorded{QStringLiteral("Setting"), QStringLiteral("PfadZurDAtenbank"),
                                        QString()};
    const SettingKey<QString> kProgram{QStringLiteral("Setting"), QStringLiteral("PfadZurExe"), QString()};

    QString place(QString text) const {
        return text.replace(QLatin1String("%PROGRAM%"), f->path())
            .replace(QLatin1String("%OTHER%"), m_other->path())
            .replace(QLatin1String("%USER%"), m_other->filePath(QStringLiteral("config")));
    }
    void given(const QString& file, const QByteArray& content) {
        if (content == "<none>")
            return;
        const QString path = place(file);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(content == "<folder>" ? QDir().mkpath(path)
                : content == "<database>"
                    ? Database::create(path)
                    : TestDatabase::writeFile(path, place(QString::fromLatin1(content)).toLatin1()));
    }
    LocationOutcome determine(DatabaseLocation& location) {
        f->dialogs.shown.clear();
        return location.determine();
    }

private slots:
    void init() {
        f = std::make_unique<ProgramFolder>();
        m_other = std::make_unique<QTemporaryDir>();
        QVERIFY(QFile::remove(f->data.path()));
    }

    void databaseIsFoundInTheFolderTheIniNames_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QByteArray>("userIni");
        QTest::addColumn<QStringList>("databases"); // the first is found
        QTest::newRow("no ini") << QByteArray("<none>") << QByteArray("<none>")
                                << QStringList{"%PROGRAM%/Zlv.MDB"};
        QTest::newRow("ini with blanks only is removed")
            << QByteArray("   \r\n") << QByteArray("<none>") << QStringList{"%PROGRAM%/ZLV.mdb"};
        QTest::newRow("lower-case name")
            << QByteArray("%OTHER%/") << QByteArray("<none>") << QStringList{"%OTHER%/zlv.mdb"};
        QTest::newRow("the user's ini is read first")
            << QByteArray("%PROGRAM%/\n") << QByteArray("%OTHER%/Daten/\n")
            << QStringList{"%OTHER%/Daten/ZLV.mdb", "%PROGRAM%/ZLV.mdb"};
    }

    void databaseIsFoundInTheFolderTheIniNames() {
        QFETCH(QByteArray, ini);
        QFETCH(QByteArray, userIni);
        QFETCH(QStringList, databases);
        for (const QString& database : databases)
            given(database, "<database>");
        given(f->ini(), ini);
        given("%USER%/PfadZurDatenbank.ini", userIni);
        DatabaseLocation location(f->path(), f->dialogs, f->settings, place("%USER%"));

        QCOMPARE(determine(location), LocationOutcome::Found);

        QVERIFY2(f->dialogs.shown.isEmpty(), qPrintable(f->dialogs.lastText()));
        QCOMPARE(location.databaseFilePath(), place(databases[0]));
        QCOMPARE(QFile::exists(f->ini()), ini.trimmed() != "<none>" && !ini.trimmed().isEmpty());
        QCOMPARE(f->settings.value(kRecorded), QFileInfo(place(databases[0])).path() + QLatin1Char('/'));
        QCOMPARE(f->settings.value(kProgram), f->path());
    }

    void notFoundDatabaseIsChosenAndRecorded_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("chosen"); // empty: the choice is cancelled
        QTest::addColumn<LocationOutcome>("outcome");
        QTest::addColumn<QString>("searched");
        QTest::addColumn<QString>("last"); // the last message: its title and the start of its text
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("content");
        const QString programIni = QStringLiteral("%PROGRAM%/PfadZurDatenbank.ini");
        const QString chosen = QStringLiteral("%OTHER%/Ämter,Straßen/ZLV.MDB");
        const QString open = QStringLiteral("Pfad zur Zelvora-Datenbank 'ZLV.MDB': ");
        QTest::newRow("folder vanished, choice written quoted to the ini")
            << "%PROGRAM%"
            << "%USER%" << QByteArray("%OTHER%/weg/\n") << chosen << LocationOutcome::RestartRequired
            << "%OTHER%/weg/"
            << "Hinweis: " << programIni << QByteArray("\"%OTHER%/Ämter,Straßen/\"\n");
        QTest::newRow("cancelled, Windows-1252 ini with a second line")
            << "%PROGRAM%"
            << "%USER%" << QByteArray("%OTHER%/Geb\xE4ude/\r\nalt\r\n") << QString()
            << LocationOutcome::Cancelled << "%OTHER%/Gebäude/" << open << programIni
            << QByteArray("%OTHER%/Geb\xE4ude/\r\nalt\r\n");
        QTest::newRow("ini cannot be written")
            << "%PROGRAM%"
            << "" << QByteArray("<folder>") << chosen << LocationOutcome::NotRecorded << "%PROGRAM%/"
            << "Ladefehler!: Die Datei '%PROGRAM%/PfadZurDatenbank.ini' konnte nicht geschrieben werden."
            << programIni << QByteArray("<missing>");
    }

    void notFoundDatabaseIsChosenAndRecorded() {
        QFETCH(QString, program);
        QFETCH(QString, user);
        QFETCH(QByteArray, ini);
        QFETCH(QString, chosen);
        QFETCH(LocationOutcome, outcome);
        QFETCH(QString, searched);
        QFETCH(QString, last);
        QFETCH(QString, written);
        QFETCH(QByteArray, content);
        given(f->ini(), ini);
        if (!chosen.isEmpty()) {
            given(chosen, "<database>");
            f->dialogs.files.enqueue(place(chosen));
        }
        DatabaseLocation location(place(program), f->dialogs, f->settings, place(user));

        QCOMPARE(determine(location), outcome);

        QCOMPARE(f->dialogs.shown.at(0).text,
                 "Datenbank wurde nicht gefunden\nBitte legen Sie den Pfad zur Datenbank 'ZLV.MDB' fest\n"
                 "Gesuchter Ordner: " +
                     place(searched));
        QCOMPARE(f->dialogs.shown.size(), chosen.isEmpty() ? 2 : 3);
        const QString shown = f->dialogs.shown.constLast().title + ": " + f->dialogs.lastText();
        QVERIFY2(shown.startsWith(place(last)), qPrintable(shown));
        QCOMPARE(ProgramFolder::read(place(written)), place(QString::fromLatin1(content)).toLatin1());
        QCOMPARE(determine(location) == LocationOutcome::Found &&
                     location.databaseFilePath() == place(chosen),
                 outcome == LocationOutcome::RestartRequired);
    }

    // A first start (no ini anywhere, no database beside the program) offers a new database in the user's
    // data folder (the default), a file or a server, and records the choice in the user's ini.
    void firstStartOffersNewDatabaseFileOrServer_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QList<int>>("choices");  // the buttons pressed, in turn; then "Abbrechen"
        QTest::addColumn<QStringList>("answers"); // files chosen and server addresses typed, in turn
        QTest::addColumn<LocationOutcome>("outcome");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QByteArray>("userIni");
        QTest::addColumn<QString>("messages"); // the titles of the dialogs shown
        const QString data = QStringLiteral("%OTHER%/daten/ZLV.mdb");
        const QString chosen = QStringLiteral("%OTHER%/Ämter,Straßen/ZLV.MDB");
        QTest::newRow("one click creates it in the data folder")
            << "%PROGRAM%" << QList<int>{0} << QStringList() << LocationOutcome::Found << data
            << QByteArray("%OTHER%/daten/\n") << "Zelvora einrichten";
        QTest::newRow("a file chosen, the program's folder not writable")
            << "/sys/kernel" << QList<int>{1} << QStringList{chosen} << LocationOutcome::Found << chosen
            << QByteArray("\"%OTHER%/Ämter,Straßen/\"\n")
            << "Zelvora einrichten, Pfad zur Zelvora-Datenbank 'ZLV.MDB'";
        QTest::newRow("not a database, then a new one")
            << "%PROGRAM%" << QList<int>{1, 0} << QStringList{"%OTHER%/kaputt/ZLV.mdb"}
            << LocationOutcome::Found << data << QByteArray("%OTHER%/daten/\n")
            << "Zelvora einrichten, Pfad zur Zelvora-Datenbank 'ZLV.MDB', Ladefehler!, Zelvora einrichten";
        QTest::newRow("no server address, then cancelled")
            << "%PROGRAM%" << QList<int>{2} << QStringList{"server/zlv"} << LocationOutcome::Cancelled
            << QString() << QByteArray("<missing>")
            << "Zelvora einrichten, Datenbankserver, Datenbankserver, Datenbankserver, Zelvora einrichten";
        QTest::newRow("cancelled") << "%PROGRAM%" << QList<int>() << QStringList()
                                   << LocationOutcome::Cancelled << QString() << QByteArray("<missing>")
                                   << "Zelvora einrichten";
    }

    void firstStartOffersNewDatabaseFileOrServer() {
        QFETCH(QString, program);
        QFETCH(QList<int>, choices);
        QFETCH(QStringList, answers);
        QFETCH(LocationOutcome, outcome);
        QFETCH(QString, database);
        QFETCH(QByteArray, userIni);
        QFETCH(QString, messages);
        for (const int choice : choices)
            f->dialogs.choices.enqueue(choice);
        for (const QString& answer : answers) {
            (answer.startsWith('%') ? f->dialogs.files : f->dialogs.texts).enqueue(place(answer));
            if (answer == "%OTHER%/kaputt/ZLV.mdb")
                given(answer, "keine Datenbank");
            else if (answer.startsWith('%'))
                given(answer, "<database>");
        }
        DatabaseLocation location(place(program), f->dialogs, f->settings, place("%USER%"),
                                  place("%OTHER%/daten"));

        QCOMPARE(determine(location), outcome);

        QStringList titles;
        for (const auto& shown : f->dialogs.shown)
            titles << shown.title;
        QCOMPARE(titles.join(", "), messages);
        QVERIFY(f->dialogs.shown.at(0).text.contains(QDir::toNativeSeparators(place("%OTHER%/daten"))));
        QVERIFY(f->dialogs.shown.at(0).text.endsWith(
            "|Neue Datenbank anlegen|Datenbank öffnen …|Datenbankserver …|Abbrechen"));
        QCOMPARE(location.databaseFilePath(), place(database));
        QCOMPARE(ProgramFolder::read(place("%USER%/PfadZurDatenbank.ini")),
                 place(QString::fromUtf8(userIni)).toUtf8());
        QVERIFY(!QFile::exists(f->ini()));
        QCOMPARE(QFileInfo::exists(place("%OTHER%/daten")), database.endsWith("daten/ZLV.mdb"));
        // The next start finds it without asking.
        DatabaseLocation next(place(program), f->dialogs, f->settings, place("%USER%"),
                              place("%OTHER%/daten"));
        QCOMPARE(determine(next) == LocationOutcome::Found && next.databaseFilePath() == place(database),
                 outcome == LocationOutcome::Found);
    }

    // The program as a new user starts it: one click, and the start menu works on the new database.
    void firstStartReachesTheStartMenuWithOneClick() {
        AppController app(f->path(), f->dialogs, f->settings);
        app.setUserFolder(place("%USER%"));
        app.setDataFolder(place("%OTHER%/daten"));
        QSignalSpy confirmed(&app, &AppController::databaseConfirmed);
        f->dialogs.choices.enqueue(0); // the default button

        QVERIFY(app.start());

        QVERIFY(confirmed.wait());
        QCOMPARE(f->dialogs.shown.size(), 1);
        QVERIFY(app.startMenu() && app.startMenu()->isVisible());
        QCOMPARE(app.databaseFilePath(), place("%OTHER%/daten/ZLV.mdb"));
        QVERIFY(Database::open(app.databaseFilePath()));
        app.quit();
    }

    void whatOpeningFoundIsToldOnceAtTheStart() {
        const QString path = f->filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(Database::create(path));
        {
            const std::unique_ptr<Database> older = Database::open(path);
            QVERIFY(older->exec("DROP INDEX uxBuchungProjektPID"));
            QVERIFY(older->exec("INSERT INTO tblBuchung (PID, ProjektID) VALUES (7, '3'), (7, '3')"));
            QVERIFY(older->exec("DROP TABLE tblProtokoll"));
        }
        DatabaseLocation location(f->path(), f->dialogs, f->settings);

        QCOMPARE(determine(location), LocationOutcome::Found);

        QCOMPARE(f->dialogs.shown.size(), 1);
        QCOMPARE(f->dialogs.shown.constLast().icon, Dialogs::Icon::Warning);
        QVERIFY2(f->dialogs.lastText().contains("Projekt 3: Nr. 7 (2-mal)") &&
                     f->dialogs.lastText().contains("Das Änderungsprotokoll dieser Datenbank fehlt"),
                 qPrintable(f->dialogs.lastText()));
    }

    // Where nothing stands against the data, the start confirms the database without waiting for its
    // upkeep: what the database lacks is added, and told once, after the start menu's first frame, or
    // when a screen needs the database before that.
    void whatOpeningLeftIsDoneAfterTheFirstFrameAndToldOnce_data() {
        QTest::addColumn<bool>("screenFirst");
        QTest::newRow("after the first frame") << false;
        QTest::newRow("a screen opened before") << true;
    }
    void whatOpeningLeftIsDoneAfterTheFirstFrameAndToldOnce() {
        QFETCH(bool, screenFirst);
        const QString path = f->filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(Database::create(path));
        const std::unique_ptr<Database> other = Database::open(path);
        QVERIFY(other->exec("DROP INDEX uxBuchungProjektPID"));
        QVERIFY(other->exec("DROP INDEX ixFirmaName"));
        QVERIFY(other->exec("INSERT INTO tblBuchung (PID, ProjektID) VALUES (7, '3'), (7, '3')"));
        const auto indexThere = [&other] {
            QString count;
            other->read("SELECT count(*) FROM sqlite_master WHERE name = 'ixFirmaName'", {},
                        [&](const Database::Row& row) { count = row.text(0); });
            return count == QLatin1String("1");
        };
        AppController app(f->path(), f->dialogs, f->settings);
        QSignalSpy confirmed(&app, &AppController::databaseConfirmed);
        QVERIFY(app.start());
        if (screenFirst) {
            app.openProjectManager();
        } else {
            QVERIFY(confirmed.wait());
            QVERIFY(f->dialogs.shown.isEmpty());
            QVERIFY(!indexThere());
        }

        QTRY_COMPARE(f->dialogs.shown.size(), 1);
        QCOMPARE(confirmed.size(), 1);
        QCOMPARE(f->dialogs.shown.constFirst().title, QStringLiteral("Hinweis zur Datenbank"));
        QVERIFY2(f->dialogs.lastText().contains("Projekt 3: Nr. 7 (2-mal)"),
                 qPrintable(f->dialogs.lastText()));
        QVERIFY(indexThere());
        app.openProjectManager();
        // The queued calls of the start, the one after the first frame included, have run.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(f->dialogs.shown.size(), 1);
        QVERIFY(app.projectManager() && app.projectManager()->isVisible());
        app.quit();
    }

    // A database that cannot be used after all when its opening is finished ends the program, as the
    // start's check would have.
    void databaseUnusableWhenOpeningIsFinishedEndsTheProgram() {
        const QString path = f->filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(Database::create(path));
        AppController app(f->path(), f->dialogs, f->settings);
        QSignalSpy confirmed(&app, &AppController::databaseConfirmed);
        QVERIFY(app.start());
        QVERIFY(confirmed.wait());
        TestDatabase::writeFile(path, "keine Datenbank");

        QTRY_VERIFY(!app.startMenu());
        QCOMPARE(f->dialogs.shown.size(), 1);
        QCOMPARE(f->dialogs.shown.constFirst().title, QStringLiteral("Ladefehler!"));
        QVERIFY2(f->dialogs.lastText().contains(QStringLiteral("ZLV.mdb")),
                 qPrintable(f->dialogs.lastText()));
        QVERIFY(app.databaseFilePath().isEmpty());
    }

    // The check on a thread of its own waits for what it is given first (at the start: the reading of the
    // font configuration); here that overwrites the file, and the check finds it overwritten.
    void checkOnItsThreadBeginsOnceFirstHasReturned() {
        const QString path = f->filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(Database::create(path));
        DatabaseLocation location(f->path(), f->dialogs, f->settings);
        QCOMPARE(location.locate(), LocationOutcome::Found);

        location.beginCheck(nullptr, [path] { TestDatabase::writeFile(path, "keine Datenbank"); });

        QVERIFY(!location.confirm());
        QCOMPARE(f->dialogs.shown.size(), 1);
        QVERIFY2(f->dialogs.lastText().contains(QStringLiteral("ZLV.mdb")),
                 qPrintable(f->dialogs.lastText()));
    }

    void databaseLockedByAnotherProgramIsReportedAndLeftUntouched() {
        const QString path = f->filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(Database::create(path));
        const std::unique_ptr<Database> holder = Database::open(path);
        QVERIFY(holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));
        const QByteArray before = ProgramFolder::read(path);
        DatabaseLocation location(f->path(), f->dialogs, f->settings);

        QCOMPARE(determine(location), LocationOutcome::Unusable);

        QCOMPARE(f->dialogs.shown.size(), 1);
        QVERIFY(f->dialogs.lastText().contains(QStringLiteral("ZLV.mdb")));
        QCOMPARE(ProgramFolder::read(path), before);
    }

    void accessFileOfAnOlderInstallationIsOfferedForImport_data() {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("taken"); // a file already there under the aside name
        QTest::addColumn<QString>("aside"); // where the Access file is afterwards
        const QString day = QDate::currentDate().toString("yyyy-MM-dd");
        QTest::newRow("Ja") << Dialogs::Answer::Yes << QString() << "ZLV-Access-" + day + ".mdb";
        QTest::newRow("Ja, name taken") << Dialogs::Answer::Yes << "ZLV-Access-" + day + ".mdb"
                                        << "ZLV-Access-" + day + "-2.mdb";
        QTest::newRow("Nein") << Dialogs::Answer::No << QString() << "ZLV.mdb";
    }

    void accessFileOfAnOlderInstallationIsOfferedForImport() {
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QString, taken);
        QFETCH(QString, aside);
        const QString office = QStringLiteral(ZLV_JET_FIXTURES "/zlv-office.mdb");
        if (!QFileInfo::exists(office))
            QSKIP("the Access fixtures are missing (" ZLV_JET_FIXTURES ")");
        QVERIFY(QFile::copy(office, f->data.path()));
        given(f->filePath(taken), taken.isEmpty() ? "<none>" : "taken");
        f->dialogs.answers.enqueue(answer);
        DatabaseLocation location(f->path(), f->dialogs, f->settings);

        QCOMPARE(determine(location),
                 answer == Dialogs::Answer::Yes ? LocationOutcome::Found : LocationOutcome::Unusable);

        QCOMPARE(
            f->dialogs.shown.value(0).text,
            QStringLiteral("Die Datei %1 ist eine Access-Datenbank einer älteren Installation. Sollen ihre "
                           "Daten jetzt in eine neue Zelvora-Datenbank übernommen werden? Die Access-Datei "
                           "bleibt unverändert erhalten.")
                .arg(QDir::toNativeSeparators(f->data.path())));
        QCOMPARE(ProgramFolder::read(f->filePath(aside)), ProgramFolder::read(office));
        QCOMPARE(QFileInfo::exists(f->filePath(AccessImport::reportFileName(QDate::currentDate()))),
                 answer == Dialogs::Answer::Yes);
        if (answer == Dialogs::Answer::Yes) {
            QVERIFY(Database::open(location.databaseFilePath()) &&
                    location.databaseFilePath() == f->data.path());
            const QList<QWidget*> windows = QApplication::topLevelWidgets();
            const auto report = std::find_if(windows.cbegin(), windows.cend(), [](QWidget* window) {
                return window->objectName() == "frmUebernahmeBericht" && window->isVisible();
            });
            QVERIFY(report != windows.cend());
            QVERIFY(static_cast<ImportReportWindow*>(*report)->report().contains(
                "tblBuchung, Zeilen: 150 | 150"));
            delete *report;
        }
    }

    void folderIsTheFirstValueOfTheFirstLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("folder");
        QTest::newRow("unquoted value ends at a comma") << QByteArray("  /daten/ ,rest\n") << "/daten/";
        QTest::newRow("quoted value keeps its comma")
            << QByteArray(" \"/hoch, tief/\",rest\n") << "/hoch, tief/";
        QTest::newRow("quote not closed") << QByteArray("\"/a,b/\r\nzweite\n") << "/a,b/";
        QTest::newRow("only the first line counts") << QByteArray("\n/daten/\n") << "";
        QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF/\xC3\x84mter/\n") << "/Ämter/";
        QTest::newRow("Windows-1252")
            << QByteArray("/B\xE4u\xDF\x80\x8A\x9F/\n") << QString::fromUtf8("/Bäuß€ŠŸ/");
    }

    void folderIsTheFirstValueOfTheFirstLine() {
        QFETCH(QByteArray, content);
        QFETCH(QString, folder);
        QCOMPARE(DatabaseIniFile::folder(content), folder);
    }

    void secondInstanceIsRefusedUntilTheFirstReleases() {
        SingleInstance first(f->filePath(QStringLiteral("zlv.lock"))),
            second(f->filePath(QStringLiteral("zlv.lock")));
        QVERIFY(first.acquire());
        QVERIFY(!second.acquire() && !second.isHeld());
        first.release();
        QVERIFY(second.acquire() && !first.acquire());
    }
};

QTEST_MAIN(DatabaseLocationTest)
#include "DatabaseLocationTest.moc"
