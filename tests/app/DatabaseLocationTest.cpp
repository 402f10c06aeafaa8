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
const SettingKey<QString> kDatabaseFolderKey{QStringLiteral("Setting"), QStringLiteral("PfadZurDAtenbank"),
                                             QString()};
} // namespace

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
        m_dialogs = ScriptedDialogs();
        m_location = std::make_unique<DatabaseLocation>(program(), m_dialogs, *m_settings);
        return m_location->determine();
    }
    QString notFound(const QString& folder) const {
        return QStringLiteral(
                   "Datenbank wurde nicht gefunden\nBitte legen Sie den Pfad zur Datenbank 'ZLV.MDB' "
                   "fest\nGesuchter Ordner: ") +
               folder;
    }

private slots:
    void init() {
        m_program = std::make_unique<QTemporaryDir>();
        m_data = std::make_unique<QTemporaryDir>();
        m_settings = std::make_unique<Settings>(m_data->filePath(QStringLiteral("TalbrinZlv.ini")));
        m_dialogs = ScriptedDialogs();
    }

    void databaseIsFoundInTheFolderTheIniNames_data() {
        QTest::addColumn<QString>("ini"); // "<none>": no ini file; "%OTHER%": the other folder
        QTest::addColumn<bool>("inOther");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("no ini") << "<none>" << false << "Zlv.MDB";
        QTest::newRow("ini with blanks only is removed") << "   \r\n" << false << "ZLV.mdb";
        QTest::newRow("first value ends at a comma") << "  %OTHER% ,rest\n" << true << "ZLV.mdb";
        QTest::newRow("lower-case name") << "%OTHER%/" << true << "zlv.mdb";
    }

    void databaseIsFoundInTheFolderTheIniNames() {
        QFETCH(QString, ini);
        QFETCH(bool, inOther);
        QFETCH(QString, fileName);
        const QString folder = inOther ? other() : program();
        QVERIFY(Database::create(QDir(folder).filePath(fileName)));
        if (ini != QLatin1String("<none>"))
            QVERIFY(writeFile(iniPath(), ini.replace(QLatin1String("%OTHER%"), other()).toUtf8()));

        QCOMPARE(determine(), Outcome::Found);

        QCOMPARE(m_dialogs.shown.size(), 0);
        QCOMPARE(m_location->databaseFilePath(), QDir(folder).filePath(fileName));
        QCOMPARE(QFile::exists(iniPath()), inOther);
        QCOMPARE(m_settings->value(kDatabaseFolderKey), folder + QLatin1Char('/'));
        // The next start finds the same folders recorded and leaves the settings file alone.
        const QString settingsFile = m_data->filePath(QStringLiteral("TalbrinZlv.ini"));
        QVERIFY(writeFile(settingsFile, readFile(settingsFile) + "; unverändert\n"));
        QCOMPARE(determine(), Outcome::Found);
        QVERIFY(readFile(settingsFile).endsWith("; unverändert\n"));
    }

    void chosenDatabaseIsWrittenToTheIniAndFoundAtTheNextStart() {
        const QString folder = QDir(other()).filePath(QStringLiteral("Ämter,Straßen"));
        QVERIFY(QDir().mkpath(folder));
        const QString chosen = QDir(folder).filePath(QStringLiteral("ZLV.MDB"));
        QVERIFY(Database::create(chosen));
        m_dialogs.files.enqueue(chosen);
        m_location = std::make_unique<DatabaseLocation>(program(), m_dialogs, *m_settings);

        QCOMPARE(m_location->determine(), Outcome::RestartRequired);

        QCOMPARE(m_dialogs.shown.size(), 3);
        QCOMPARE(m_dialogs.shown.at(0).text, notFound(program() + QLatin1Char('/')));
        QCOMPARE(m_dialogs.shown.at(2).title, QStringLiteral("Hinweis"));
        QCOMPARE(readFile(iniPath()), QByteArray("\"" + folder.toUtf8() + "/\"\n"));
        QCOMPARE(determine(), Outcome::Found);
        QCOMPARE(m_location->databaseFilePath(), chosen);
    }

    void cancelledChoiceLeavesTheIniAsItWas_data() {
        QTest::addColumn<QByteArray>("ini"); // "%OTHER%": the other folder
        QTest::addColumn<QString>("searched");
        QTest::newRow("no ini") << QByteArray() << "";
        QTest::newRow("Windows-1252, with a second line")
            << QByteArray("%OTHER%/Geb\xE4ude/\r\nalt\r\n") << "Gebäude/";
    }

    void cancelledChoiceLeavesTheIniAsItWas() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, searched);
        if (!ini.isEmpty())
            QVERIFY(writeFile(iniPath(), ini.replace("%OTHER%", other().toUtf8())));
        const QString folder =
            ini.isEmpty() ? program() + QLatin1Char('/') : QDir(other()).filePath(searched);

        QCOMPARE(determine(), Outcome::Cancelled);

        QCOMPARE(m_dialogs.shown.size(), 2);
        QCOMPARE(m_dialogs.shown.at(0).text, notFound(folder));
        QCOMPARE(readFile(iniPath()), ini.isEmpty() ? QByteArray("<missing>") : ini);
    }

    void unwritableIniIsReportedWithoutRestartNotice() {
        QVERIFY(QDir().mkpath(iniPath()));
        const QString chosen = QDir(other()).filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(Database::create(chosen));
        m_dialogs.files.enqueue(chosen);
        m_location = std::make_unique<DatabaseLocation>(program(), m_dialogs, *m_settings);

        QCOMPARE(m_location->determine(), Outcome::NotRecorded);

        QCOMPARE(m_dialogs.shown.size(), 3);
        QCOMPARE(m_dialogs.shown.at(2).icon, Dialogs::Icon::Critical);
        QVERIFY(
            m_dialogs.lastText().startsWith(QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden.")
                                                .arg(QDir::toNativeSeparators(iniPath()))));
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
        QTest::addColumn<QByteArray>(
            "content"); // empty: a database of the program, locked by another program
        QTest::newRow("text file") << QByteArray("Dies ist keine Datenbank.\n");
        QTest::newRow("locked by another program") << QByteArray();
    }

    void unusableFileIsReportedAndLeftUntouched() {
        QFETCH(QByteArray, content);
        const QString dbPath = m_program->filePath(QStringLiteral("ZLV.mdb"));
        QVERIFY(content.isEmpty() ? Database::create(dbPath) : writeFile(dbPath, content));
        const std::unique_ptr<Database> holder = content.isEmpty() ? Database::open(dbPath) : nullptr;
        QVERIFY(!holder || holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));
        const QByteArray before = readFile(dbPath);

        QCOMPARE(determine(), Outcome::Unusable);

        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.at(0).title, QStringLiteral("Ladefehler!"));
        QVERIFY2(m_dialogs.lastText().contains(QStringLiteral("ZLV.mdb")), qPrintable(m_dialogs.lastText()));
        QCOMPARE(readFile(dbPath), before);
        QVERIFY(m_location->databaseFilePath().isEmpty());
    }
};

QTEST_MAIN(DatabaseLocationTest)
#include "DatabaseLocationTest.moc"
