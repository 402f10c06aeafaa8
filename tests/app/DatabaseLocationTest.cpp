#include "DatabaseLocation.h"
#include "AppTestFiles.h"
#include "Database.h"
#include "ScriptedDialogs.h"
#include "Settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using Outcome = DatabaseLocation::Outcome;

namespace {
const SettingKey<QString> kProgramFolderKey{QStringLiteral("Setting"), QStringLiteral("PfadZurExe"),
                                            QString()};
const SettingKey<QString> kDatabaseFolderKey{QStringLiteral("Setting"), QStringLiteral("PfadZurDAtenbank"),
                                             QString()};

QString notFoundText(const QString& folder) {
    return QStringLiteral("Datenbank wurde nicht gefunden\n"
                          "Bitte legen Sie den Pfad zur Datenbank 'ZLV.MDB' fest\n"
                          "Gesuchter Ordner: ") +
           QDir::toNativeSeparators(folder);
}
} // namespace

// Where the program finds its database, and what it does when the file is missing or unusable.
class DatabaseLocationTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_program, m_data;
    std::unique_ptr<Settings> m_settings;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<DatabaseLocation> m_location;

    QString program() const { return m_program->path(); }
    QString other() const { return m_data->path(); }
    QString iniPath() const { return m_program->filePath(QStringLiteral("PfadZurDatenbank.ini")); }
    Outcome determine() {
        m_location = std::make_unique<DatabaseLocation>(program(), m_dialogs, *m_settings);
        return m_location->determine();
    }

private slots:
    void init() {
        m_program = std::make_unique<QTemporaryDir>();
        m_data = std::make_unique<QTemporaryDir>();
        m_settings = std::make_unique<Settings>(m_data->filePath(QStringLiteral("TalbrinZlv.ini")));
        m_dialogs = ScriptedDialogs();
    }

    void findsDatabase_data() {
        QTest::addColumn<QString>("iniContent"); // "<none>": no ini file; "%OTHER%": the other folder
        QTest::addColumn<bool>("inOther");
        QTest::addColumn<QString>("fileName");

        QTest::newRow("no ini") << "<none>" << false << "ZLV.mdb";
        QTest::newRow("ini with an empty line") << "\n" << false << "ZLV.mdb";
        QTest::newRow("ini with blanks only") << "   \r\n" << false << "ZLV.mdb";
        QTest::newRow("ini with trailing separator") << "%OTHER%/\n" << true << "ZLV.mdb";
        QTest::newRow("ini without trailing separator") << "%OTHER%\n" << true << "ZLV.mdb";
        QTest::newRow("first value ends at comma") << "  %OTHER%/ ,rest\n" << true << "ZLV.mdb";
        QTest::newRow("spelled Zlv.MDB on disk") << "<none>" << false << "Zlv.MDB";
        QTest::newRow("lower-case in other folder") << "%OTHER%" << true << "zlv.mdb";
    }

    void findsDatabase() {
        QFETCH(QString, iniContent);
        QFETCH(bool, inOther);
        QFETCH(QString, fileName);
        const QString folder = inOther ? other() : program();
        const QString dbPath = QDir(folder).filePath(fileName);
        QVERIFY(Database::create(dbPath));
        const bool withIni = iniContent != QLatin1String("<none>");
        if (withIni)
            QVERIFY(writeFile(iniPath(), iniContent.replace(QLatin1String("%OTHER%"), other()).toUtf8()));

        QCOMPARE(determine(), Outcome::Found);
        QCOMPARE(m_dialogs.shown.size(), 0);
        QCOMPARE(m_location->databaseFilePath(), dbPath);
        QCOMPARE(m_location->databaseFolder(), folder + QLatin1Char('/'));
        QCOMPARE(QFile::exists(iniPath()), withIni && inOther); // an empty ini file is deleted
        QCOMPARE(m_settings->value(kProgramFolderKey), program());
        QCOMPARE(m_settings->value(kDatabaseFolderKey), folder + QLatin1Char('/'));
        // The next start finds the same folders recorded and leaves the settings file alone.
        const QString settingsFile = m_data->filePath(QStringLiteral("TalbrinZlv.ini"));
        QVERIFY(writeFile(settingsFile, readFile(settingsFile) + "; unverändert\n"));
        QCOMPARE(determine(), Outcome::Found);
        QVERIFY(readFile(settingsFile).endsWith("; unverändert\n"));
    }

    void readsIniOfOlderInstallations_data() {
        QTest::addColumn<QByteArray>("iniLine"); // "%OTHER%" stands for the other folder, in UTF-8
        QTest::addColumn<QString>("subfolder");

        QTest::newRow("Windows-1252 umlauts") << QByteArray("%OTHER%/B\xE4uam\xDF\x80/\r\n") << "Bäuamß€";
        QTest::newRow("UTF-8 umlauts") << QByteArray("%OTHER%/Bäuamß€/\n") << "Bäuamß€";
        QTest::newRow("UTF-8 with byte order mark")
            << QByteArray("\xEF\xBB\xBF%OTHER%/Ämter/\r\n") << "Ämter";
        QTest::newRow("quoted, with a comma") << QByteArray(" \"%OTHER%/Hoch, Tief/\" ,x\n") << "Hoch, Tief";
        QTest::newRow("quoted, Windows-1252") << QByteArray("\"%OTHER%/Stra\xDF"
                                                            "e, Br\xFC"
                                                            "cke/\"\n")
                                              << "Straße, Brücke";
    }

    void readsIniOfOlderInstallations() {
        QFETCH(QByteArray, iniLine);
        QFETCH(QString, subfolder);
        const QString folder = QDir(other()).filePath(subfolder);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(Database::create(QDir(folder).filePath(QStringLiteral("ZLV.mdb"))));
        QVERIFY(writeFile(iniPath(), iniLine.replace("%OTHER%", other().toUtf8())));

        QCOMPARE(determine(), Outcome::Found);
        QCOMPARE(m_dialogs.shown.size(), 0);
        QCOMPARE(m_location->databaseFolder(), folder + QLatin1Char('/'));
        QCOMPARE(readFile(iniPath()), iniLine);
    }

    void chosenFileIsWrittenToIniAndFoundAtTheNextStart_data() {
        QTest::addColumn<QString>("subfolder");
        QTest::addColumn<QByteArray>("iniLine"); // "%FOLDER%" stands for the chosen folder, in UTF-8

        QTest::newRow("plain folder") << "Daten" << QByteArray("%FOLDER%/\n");
        QTest::newRow("folder with a comma") << "Hoch, Tiefbau" << QByteArray("\"%FOLDER%/\"\n");
        QTest::newRow("umlauts and commas") << "Ämter,Straßen,Brücken" << QByteArray("\"%FOLDER%/\"\n");
    }

    void chosenFileIsWrittenToIniAndFoundAtTheNextStart() {
        QFETCH(QString, subfolder);
        QFETCH(QByteArray, iniLine);
        const QString folder = QDir(other()).filePath(subfolder);
        QVERIFY(QDir().mkpath(folder));
        const QString chosen = QDir(folder).filePath(QStringLiteral("ZLV.MDB"));
        QVERIFY(Database::create(chosen));
        m_dialogs.files.enqueue(chosen);

        QCOMPARE(determine(), Outcome::RestartRequired);
        QCOMPARE(m_dialogs.shown.size(), 3);
        QCOMPARE(m_dialogs.shown.at(0).title, QStringLiteral("Ladefehler!"));
        QCOMPARE(m_dialogs.shown.at(0).text, notFoundText(program() + QLatin1Char('/')));
        QCOMPARE(m_dialogs.shown.at(1).title, QStringLiteral("Pfad zur Zelvora-Datenbank 'ZLV.MDB'"));
        QCOMPARE(m_dialogs.shown.at(2).title, QStringLiteral("Hinweis"));
        QCOMPARE(m_dialogs.shown.at(2).text, QStringLiteral("Die Zelvora muss neu gestartet werden um die "
                                                            "Änderungen wirksam werden zu lassen"));
        QCOMPARE(readFile(iniPath()), iniLine.replace("%FOLDER%", folder.toUtf8()));
        QCOMPARE(m_settings->value(kDatabaseFolderKey), folder + QLatin1Char('/'));
        QVERIFY(m_location->databaseFilePath().isEmpty());

        m_dialogs = ScriptedDialogs();
        QCOMPARE(determine(), Outcome::Found);
        QCOMPARE(m_dialogs.shown.size(), 0);
        QCOMPARE(m_location->databaseFilePath(), chosen);
    }

    void cancelledChoiceLeavesTheIniAsItWas_data() {
        QTest::addColumn<QByteArray>("ini"); // "<none>": no ini file; "%OTHER%": the other folder
        QTest::addColumn<QString>("searched");

        QTest::newRow("no ini") << QByteArray("<none>") << "";
        QTest::newRow("share that is down") << QByteArray("%OTHER%/Netz/Bauamt/\n") << "Netz/Bauamt/";
        QTest::newRow("Windows-1252, with a second line")
            << QByteArray("%OTHER%/Geb\xE4ude/\r\nalt\r\n") << "Gebäude/";
    }

    void cancelledChoiceLeavesTheIniAsItWas() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, searched);
        const bool withIni = ini != "<none>";
        if (withIni)
            QVERIFY(writeFile(iniPath(), ini.replace("%OTHER%", other().toUtf8())));
        const QString searchedFolder =
            withIni ? QDir(other()).filePath(searched) : program() + QLatin1Char('/');

        QCOMPARE(determine(), Outcome::Cancelled);
        QCOMPARE(m_dialogs.shown.size(), 2);
        QCOMPARE(m_dialogs.shown.at(0).text, notFoundText(searchedFolder));
        QCOMPARE(m_dialogs.shown.at(1).text, searchedFolder + QStringLiteral("|ZLV- Datenbank (ZLV.MDB)"));
        QCOMPARE(QFile::exists(iniPath()), withIni);
        if (withIni)
            QCOMPARE(readFile(iniPath()), ini);
    }

    void unwritableIniIsReportedWithoutRestartNotice() {
        QVERIFY(QDir().mkpath(iniPath())); // a folder in the ini file's place cannot be replaced by a file
        const QString chosen = QDir(other()).filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(Database::create(chosen));
        m_dialogs.files.enqueue(chosen);

        QCOMPARE(determine(), Outcome::NotRecorded);
        QCOMPARE(m_dialogs.shown.size(), 3);
        QCOMPARE(m_dialogs.shown.at(2).title, QStringLiteral("Ladefehler!"));
        QCOMPARE(m_dialogs.shown.at(2).icon, Dialogs::Icon::Critical);
        QCOMPARE(m_dialogs.shown.at(2).text,
                 QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden.\n"
                                "Der gewählte Datenbankordner '%2/' wurde nicht gespeichert.\n"
                                "Bitte prüfen Sie die Schreibrechte im Programmordner.")
                     .arg(QDir::toNativeSeparators(iniPath()), QDir::toNativeSeparators(other())));
        QVERIFY(QFileInfo(iniPath()).isDir());
        QCOMPARE(m_settings->value(kDatabaseFolderKey), program() + QLatin1Char('/'));
    }

    // Installed for all users, the program's folder refuses the ini file (/sys stands for a folder that
    // is not the clerk's): the choice goes to the user's own ini, which is read first at the next start,
    // before the program's.
    void userIniWhenTheProgramFolderRefuses_data() {
        QTest::addColumn<QString>("programFolder");
        QTest::newRow("program folder refuses") << "/sys/kernel";
        QTest::newRow("program's ini names another folder") << "";
    }
    void userIniWhenTheProgramFolderRefuses() {
        QFETCH(QString, programFolder);
        const QString user = m_data->filePath("config/TalbrinZlv");
        const QString chosen = QDir(other()).filePath(QStringLiteral("Daten/ZLV.mdb"));
        QVERIFY(QDir().mkpath(QFileInfo(chosen).path()) && Database::create(chosen));
        if (programFolder.isEmpty()) {
            programFolder = program();
            QVERIFY(Database::create(m_program->filePath("ZLV.mdb")));
            QVERIFY(writeFile(iniPath(), program().toUtf8() + "/\n"));
            QVERIFY(QDir().mkpath(user));
            QVERIFY(writeFile(user + "/PfadZurDatenbank.ini", QFileInfo(chosen).path().toUtf8() + "/\n"));
        } else {
            m_dialogs.files.enqueue(chosen);
            DatabaseLocation first(programFolder, m_dialogs, *m_settings, user);
            QCOMPARE(first.determine(), Outcome::RestartRequired);
            QCOMPARE(readFile(user + "/PfadZurDatenbank.ini"), QFileInfo(chosen).path().toUtf8() + "/\n");
        }
        DatabaseLocation next(programFolder, m_dialogs, *m_settings, user);
        QCOMPARE(next.determine(), Outcome::Found);
        QCOMPARE(next.databaseFilePath(), chosen);
    }

    void unusableFileIsReportedAndLeftUntouched_data() {
        QTest::addColumn<QByteArray>("content"); // empty: a database of the program, spoiled as named
        QTest::addColumn<QString>("spoil");

        QTest::newRow("text file") << QByteArray("Dies ist keine Datenbank.\n") << "";
        QByteArray jet(2048, '\0');
        jet.replace(4, 15, "Standard Jet DB");
        QTest::newRow("old Access file") << jet << "";
        QTest::newRow("read-only") << QByteArray() << "read-only";
        QTest::newRow("without the six tables") << QByteArray() << "drop";
        QTest::newRow("locked by another program") << QByteArray() << "lock";
    }

    void unusableFileIsReportedAndLeftUntouched() {
        QFETCH(QByteArray, content);
        QFETCH(QString, spoil);
        const QString dbPath = m_program->filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(content.isEmpty() ? Database::create(dbPath) : writeFile(dbPath, content));
        std::unique_ptr<Database> holder;
        if (spoil == QLatin1String("drop") || spoil == QLatin1String("lock")) {
            holder = Database::open(dbPath);
            QVERIFY(holder);
            QVERIFY(holder->exec(spoil == QLatin1String("drop") ? QStringLiteral("DROP TABLE tblNachtrag")
                                                                : QStringLiteral("BEGIN EXCLUSIVE")));
        }
        if (spoil == QLatin1String("read-only"))
            QVERIFY(QFile::setPermissions(dbPath, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const QByteArray before = readFile(dbPath);
        const QByteArray ini = (program() + QStringLiteral("/\n")).toUtf8();
        QVERIFY(writeFile(iniPath(), ini));

        QCOMPARE(determine(), Outcome::Unusable);
        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.at(0).title, QStringLiteral("Ladefehler!"));
        QCOMPARE(m_dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
        QVERIFY2(m_dialogs.lastText().contains(QStringLiteral("ZLV.mdb")), qPrintable(m_dialogs.lastText()));
        QCOMPARE(readFile(dbPath), before);
        QCOMPARE(readFile(iniPath()), ini);
        QVERIFY(m_location->databaseFilePath().isEmpty());
    }
};

QTEST_MAIN(DatabaseLocationTest)
#include "DatabaseLocationTest.moc"
