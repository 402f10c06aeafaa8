#include "BackupCommand.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "ScriptedDialogs.h"

#include <optional>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Dialogs::Answer)
Q_DECLARE_METATYPE(DatabaseBackup::Step)

namespace {
QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Records the steps the backup takes and fails the one it is told to.
struct StepRecorder {
    QList<DatabaseBackup::Step> steps;
    std::optional<DatabaseBackup::Step> failing;

    void attach(DatabaseBackup& backup) {
        backup.setStepHook([this](DatabaseBackup::Step step) {
            steps.append(step);
            return step != failing;
        });
    }
};
} // namespace

// The dated backup from the start menu: its name, the same-day question, the messages and the compaction.
class BackupCommandTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void backupIsNamedByDayAndFileNameOnDisk();
    void sameDayBackup_data();
    void sameDayBackup();
    void failingStepIsReported_data();
    void failingStepIsReported();
    void missingDatabaseIsReported();

private:
    void createDatabase(const QString& fileName);

    std::unique_ptr<QTemporaryDir> m_program;
    ScriptedDialogs m_dialogs;
    QString m_dbPath;
    const QDate m_day{2026, 12, 5};
};

void BackupCommandTest::init() {
    m_program = std::make_unique<QTemporaryDir>();
    m_dialogs = ScriptedDialogs();
}

void BackupCommandTest::createDatabase(const QString& fileName) {
    m_dbPath = m_program->filePath(fileName);
    QVERIFY(Database::create(m_dbPath));
    auto db = Database::open(m_dbPath);
    QVERIFY(db);
    QVERIFY(db->exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES (?, ?)"),
                     {QStringLiteral("Rathaus Ost"), 46000}));
}

void BackupCommandTest::backupIsNamedByDayAndFileNameOnDisk() {
    createDatabase(QStringLiteral("Zlv.MDB"));
    BackupCommand command(m_program->path(), m_dialogs);
    DatabaseBackup backup;
    StepRecorder recorder;
    recorder.attach(backup);

    QCOMPARE(command.run(nullptr, backup, m_day), BackupCommand::Result::Done);

    QCOMPARE(command.backupName(), QStringLiteral("05.12.2026_Zlv.MDB"));
    const QString copyPath = m_program->filePath(QStringLiteral("05.12.2026_Zlv.MDB"));
    auto copy = Database::open(copyPath);
    QVERIFY(copy);
    QSqlQuery query(copy->connection());
    QVERIFY(copy->run(query, QStringLiteral("SELECT ProjektName FROM tblProjekt")));
    QVERIFY(query.next());
    QCOMPARE(Database::text(query, 0), QStringLiteral("Rathaus Ost"));

    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.at(0).title, QStringLiteral("Datensicherung"));
    QCOMPARE(m_dialogs.shown.at(0).icon, Dialogs::Icon::Information);
    QCOMPARE(m_dialogs.shown.at(0).text, QStringLiteral("Die Datenbank 'ZLV.mdb' wurde unter dem Dateinamen\n"
                                                        "'05.12.2026_Zlv.MDB'\n"
                                                        "im Datenbankordner \n'") +
                                             m_program->path() +
                                             QStringLiteral("/'\ngespeichert.          "));
    QVERIFY(recorder.steps.contains(DatabaseBackup::Step::Compact));
}

void BackupCommandTest::sameDayBackup_data() {
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<bool>("replaced");

    QTest::newRow("No keeps the first copy and does not compact") << Dialogs::Answer::No << false;
    QTest::newRow("Yes replaces the first copy") << Dialogs::Answer::Yes << true;
}

void BackupCommandTest::sameDayBackup() {
    QFETCH(Dialogs::Answer, answer);
    QFETCH(bool, replaced);

    createDatabase(QStringLiteral("ZLV.mdb"));
    const QString copyPath = m_program->filePath(QStringLiteral("05.12.2026_ZLV.mdb"));
    QFile first(copyPath);
    QVERIFY(first.open(QIODevice::WriteOnly));
    first.write("erste Sicherung");
    first.close();
    m_dialogs.answers.enqueue(answer);

    BackupCommand command(m_program->path(), m_dialogs);
    DatabaseBackup backup;
    StepRecorder recorder;
    recorder.attach(backup);
    const auto result = command.run(nullptr, backup, m_day);

    QVERIFY(!m_dialogs.shown.isEmpty());
    const auto& question = m_dialogs.shown.at(0);
    QCOMPARE(question.kind, ScriptedDialogs::Shown::Kind::Ask);
    QCOMPARE(question.title, QStringLiteral("Sicherung der Datenbank "));
    QCOMPARE(question.text,
             QStringLiteral("Eine Sicherungsdatei  '05.12.2026_ZLV.mdb'  ist bereits vorhanden.\n"
                            "Sicherungsdatei überschreiben?"));
    QCOMPARE(question.icon, Dialogs::Icon::Warning);
    QCOMPARE(question.defaultButton, Dialogs::Answer::No);

    QCOMPARE(result, replaced ? BackupCommand::Result::Done : BackupCommand::Result::Declined);
    QCOMPARE(readFile(copyPath) == QByteArray("erste Sicherung"), !replaced);
    QCOMPARE(recorder.steps.contains(DatabaseBackup::Step::Compact), replaced);
    QCOMPARE(m_dialogs.shown.size(), replaced ? 2 : 1);
}

void BackupCommandTest::failingStepIsReported_data() {
    QTest::addColumn<DatabaseBackup::Step>("failing");
    QTest::addColumn<int>("messages");

    QTest::newRow("copy") << DatabaseBackup::Step::Copy << 1;
    QTest::newRow("compaction") << DatabaseBackup::Step::Compact << 2;
}

void BackupCommandTest::failingStepIsReported() {
    QFETCH(DatabaseBackup::Step, failing);
    QFETCH(int, messages);

    createDatabase(QStringLiteral("ZLV.mdb"));
    BackupCommand command(m_program->path(), m_dialogs);
    DatabaseBackup backup;
    StepRecorder recorder;
    recorder.failing = failing;
    recorder.attach(backup);

    QCOMPARE(command.run(nullptr, backup, m_day), BackupCommand::Result::Failed);

    QCOMPARE(m_dialogs.shown.size(), messages);
    QCOMPARE(m_dialogs.shown.constLast().title, QStringLiteral("Datensicherung"));
    QCOMPARE(m_dialogs.shown.constLast().icon, Dialogs::Icon::Critical);
    QVERIFY(!m_dialogs.lastText().isEmpty());
    auto db = Database::open(m_dbPath);
    QVERIFY(db);
}

void BackupCommandTest::missingDatabaseIsReported() {
    BackupCommand command(m_program->path(), m_dialogs);
    QCOMPARE(command.run(nullptr, m_day), BackupCommand::Result::Failed);
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
    QCOMPARE(QDir(m_program->path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(BackupCommandTest)
#include "BackupCommandTest.moc"
