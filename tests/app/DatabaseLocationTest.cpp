#include "DatabaseLocation.h"
#include "Database.h"
#include "ScriptedDialogs.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const SettingKey<QString> ProgramFolderKey{QStringLiteral("Setting"), QStringLiteral("PfadZurExe"),
                                           QString()};
const SettingKey<QString> DatabaseFolderKey{QStringLiteral("Setting"), QStringLiteral("PfadZurDAtenbank"),
                                            QString()};

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

// Where the program finds its database, and what it does when the file is missing or unusable.
class DatabaseLocationTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void findsDatabase_data();
    void findsDatabase();
    void missingDatabaseThenChosenFileWritesIniAndAsksForRestart();
    void cancelledChoiceLeavesOnlyAnEmptyIni();
    void unusableFileIsReportedAndLeftUntouched_data();
    void unusableFileIsReportedAndLeftUntouched();
    void lockedDatabaseIsReported();
    void locateLooksOnlyConfirmChecksAndRecords_data();
    void locateLooksOnlyConfirmChecksAndRecords();

private:
    QString iniPath() const { return m_program->filePath(QStringLiteral("PfadZurDatenbank.ini")); }
    QString otherFolder() const { return m_data->path(); }

    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<Settings> m_settings;
    ScriptedDialogs m_dialogs;
};

void DatabaseLocationTest::init() {
    m_program = std::make_unique<QTemporaryDir>();
    m_data = std::make_unique<QTemporaryDir>();
    m_settingsDir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<Settings>(m_settingsDir->filePath(QStringLiteral("TalbrinZlv.ini")));
    m_dialogs = ScriptedDialogs();
}

void DatabaseLocationTest::findsDatabase_data() {
    QTest::addColumn<QString>("iniContent"); // "<none>": no ini file; "%OTHER%" stands for the data folder
    QTest::addColumn<bool>("inOtherFolder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("iniRemains");

    QTest::newRow("no ini") << "<none>" << false << "ZLV.mdb" << false;
    QTest::newRow("ini with only an empty line") << "\n" << false << "ZLV.mdb" << false;
    QTest::newRow("ini with blanks only") << "   \r\n" << false << "ZLV.mdb" << false;
    QTest::newRow("ini with trailing separator") << "%OTHER%/\n" << true << "ZLV.mdb" << true;
    QTest::newRow("ini without trailing separator") << "%OTHER%\n" << true << "ZLV.mdb" << true;
    QTest::newRow("first value ends at comma, blanks trimmed") << "  %OTHER%/ ,rest\n"
                                                               << true << "ZLV.mdb" << true;
    QTest::newRow("name spelled Zlv.MDB on disk") << "<none>" << false << "Zlv.MDB" << false;
    QTest::newRow("lower-case name in other folder") << "%OTHER%" << true << "zlv.mdb" << true;
}

void DatabaseLocationTest::findsDatabase() {
    QFETCH(QString, iniContent);
    QFETCH(bool, inOtherFolder);
    QFETCH(QString, fileName);
    QFETCH(bool, iniRemains);

    const QString folder = inOtherFolder ? otherFolder() : m_program->path();
    const QString dbPath = QDir(folder).filePath(fileName);
    QVERIFY(Database::create(dbPath));
    if (iniContent != QLatin1String("<none>"))
        writeFile(iniPath(), iniContent.replace(QLatin1String("%OTHER%"), otherFolder()).toUtf8());
    const QByteArray dbBefore = readFile(dbPath);

    DatabaseLocation location(m_program->path(), m_dialogs, *m_settings);
    QCOMPARE(location.determine(), DatabaseLocation::Outcome::Found);

    QCOMPARE(m_dialogs.shown.size(), 0);
    QCOMPARE(location.databaseFilePath(), dbPath);
    QCOMPARE(location.databaseFolder(), folder + QLatin1Char('/'));
    QCOMPARE(QFile::exists(iniPath()), iniRemains);
    QCOMPARE(readFile(dbPath), dbBefore);
    QCOMPARE(m_settings->value(ProgramFolderKey), m_program->path());
    QCOMPARE(m_settings->value(DatabaseFolderKey), folder + QLatin1Char('/'));
}

void DatabaseLocationTest::missingDatabaseThenChosenFileWritesIniAndAsksForRestart() {
    const QString chosen = QDir(otherFolder()).filePath(QStringLiteral("ZLV.MDB"));
    QVERIFY(Database::create(chosen));
    m_dialogs.files.enqueue(chosen);

    DatabaseLocation location(m_program->path(), m_dialogs, *m_settings);
    QCOMPARE(location.determine(), DatabaseLocation::Outcome::RestartRequired);

    QCOMPARE(m_dialogs.shown.size(), 3);
    const auto& missing = m_dialogs.shown.at(0);
    QCOMPARE(missing.title, QStringLiteral("Ladefehler!"));
    QCOMPARE(missing.text, QStringLiteral("Datenbank wurde nicht gefunden\n"
                                          "Bitte legen Sie den Pfad zur Datenbank 'ZLV.MDB' fest"));
    QCOMPARE(missing.icon, Dialogs::Icon::Critical);
    const auto& choice = m_dialogs.shown.at(1);
    QCOMPARE(choice.kind, ScriptedDialogs::Shown::Kind::OpenFile);
    QCOMPARE(choice.title, QStringLiteral("Pfad zur Zelvora-Datenbank 'ZLV.MDB'"));
    QCOMPARE(choice.text, m_program->path() + QStringLiteral("/|ZLV- Datenbank (ZLV.MDB)"));
    const auto& restart = m_dialogs.shown.at(2);
    QCOMPARE(restart.title, QStringLiteral("Hinweis"));
    QCOMPARE(
        restart.text,
        QStringLiteral("Die Zelvora muss neu gestartet werden um die Änderungen wirksam werden zu lassen"));
    QCOMPARE(restart.icon, Dialogs::Icon::Information);

    QCOMPARE(readFile(iniPath()), (otherFolder() + QStringLiteral("/\n")).toUtf8());
    QCOMPARE(m_settings->value(DatabaseFolderKey), otherFolder() + QLatin1Char('/'));
    QVERIFY(location.databaseFilePath().isEmpty());

    ScriptedDialogs nextStart;
    DatabaseLocation again(m_program->path(), nextStart, *m_settings);
    QCOMPARE(again.determine(), DatabaseLocation::Outcome::Found);
    QCOMPARE(again.databaseFilePath(), chosen);
}

void DatabaseLocationTest::cancelledChoiceLeavesOnlyAnEmptyIni() {
    writeFile(iniPath(), (otherFolder() + QStringLiteral("/\n")).toUtf8());

    DatabaseLocation location(m_program->path(), m_dialogs, *m_settings);
    QCOMPARE(location.determine(), DatabaseLocation::Outcome::Cancelled);

    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(m_dialogs.shown.at(1).text, otherFolder() + QStringLiteral("/|ZLV- Datenbank (ZLV.MDB)"));
    QVERIFY(QFile::exists(iniPath()));
    QCOMPARE(readFile(iniPath()), QByteArray());
    QCOMPARE(m_settings->value(ProgramFolderKey), m_program->path());
    QCOMPARE(m_settings->value(DatabaseFolderKey), otherFolder() + QLatin1Char('/'));
}

void DatabaseLocationTest::unusableFileIsReportedAndLeftUntouched_data() {
    QTest::addColumn<QByteArray>("content"); // empty: a database made by the program
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("dropTable");

    QTest::newRow("text file") << QByteArray("Dies ist keine Datenbank.\n") << false << false;
    QByteArray jet(2048, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    QTest::newRow("old Access file") << jet << false << false;
    QTest::newRow("read-only database") << QByteArray() << true << false;
    QTest::newRow("SQLite file without the six tables") << QByteArray() << false << true;
}

void DatabaseLocationTest::unusableFileIsReportedAndLeftUntouched() {
    QFETCH(QByteArray, content);
    QFETCH(bool, readOnly);
    QFETCH(bool, dropTable);

    const QString dbPath = m_program->filePath(QStringLiteral("ZLV.mdb"));
    if (content.isEmpty())
        QVERIFY(Database::create(dbPath));
    else
        writeFile(dbPath, content);
    if (dropTable) {
        auto db = Database::open(dbPath);
        QVERIFY(db);
        QVERIFY(db->exec(QStringLiteral("DROP TABLE tblNachtrag")));
    }
    if (readOnly)
        QVERIFY(QFile::setPermissions(dbPath, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QByteArray before = readFile(dbPath);
    writeFile(iniPath(), (m_program->path() + QStringLiteral("/\n")).toUtf8());

    DatabaseLocation location(m_program->path(), m_dialogs, *m_settings);
    QCOMPARE(location.determine(), DatabaseLocation::Outcome::Unusable);

    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.at(0).title, QStringLiteral("Ladefehler!"));
    QCOMPARE(m_dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
    QVERIFY2(m_dialogs.shown.at(0).text.contains(QStringLiteral("ZLV.mdb")),
             qPrintable(m_dialogs.lastText()));
    QCOMPARE(readFile(dbPath), before);
    QCOMPARE(readFile(iniPath()), (m_program->path() + QStringLiteral("/\n")).toUtf8());
    QVERIFY(location.databaseFilePath().isEmpty());
}

void DatabaseLocationTest::lockedDatabaseIsReported() {
    const QString dbPath = m_program->filePath(QStringLiteral("ZLV.mdb"));
    QVERIFY(Database::create(dbPath));
    auto holder = Database::open(dbPath);
    QVERIFY(holder);
    QVERIFY(holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));

    DatabaseLocation location(m_program->path(), m_dialogs, *m_settings);
    QCOMPARE(location.determine(), DatabaseLocation::Outcome::Unusable);
    QCOMPARE(m_dialogs.shown.size(), 1);
    QVERIFY2(m_dialogs.lastText().contains(QStringLiteral("ZLV.mdb")), qPrintable(m_dialogs.lastText()));
    QVERIFY(holder->exec(QStringLiteral("ROLLBACK")));
}

void DatabaseLocationTest::locateLooksOnlyConfirmChecksAndRecords_data() {
    QTest::addColumn<QByteArray>("content"); // empty: a database made by the program
    QTest::addColumn<bool>("usable");

    QTest::newRow("database of the program") << QByteArray() << true;
    QTest::newRow("text file") << QByteArray("Dies ist keine Datenbank.\n") << false;
}

void DatabaseLocationTest::locateLooksOnlyConfirmChecksAndRecords() {
    QFETCH(QByteArray, content);
    QFETCH(bool, usable);

    const QString dbPath = m_program->filePath(QStringLiteral("ZLV.mdb"));
    if (content.isEmpty())
        QVERIFY(Database::create(dbPath));
    else
        writeFile(dbPath, content);
    const QByteArray before = readFile(dbPath);

    DatabaseLocation location(m_program->path(), m_dialogs, *m_settings);
    QCOMPARE(location.locate(), DatabaseLocation::Outcome::Found);
    QCOMPARE(location.databaseFilePath(), dbPath);
    QCOMPARE(m_dialogs.shown.size(), 0);
    QCOMPARE(m_settings->value(ProgramFolderKey), QString());

    QCOMPARE(location.confirm(), usable);
    QCOMPARE(m_dialogs.shown.size(), usable ? 0 : 1);
    QCOMPARE(location.databaseFilePath(), usable ? dbPath : QString());
    QCOMPARE(m_settings->value(ProgramFolderKey), m_program->path());
    QCOMPARE(m_settings->value(DatabaseFolderKey), m_program->path() + QLatin1Char('/'));
    QCOMPARE(readFile(dbPath), before);
}

QTEST_MAIN(DatabaseLocationTest)
#include "DatabaseLocationTest.moc"
