#include "BackupCommand.h"
#include "AppTestFiles.h"
#include "Database.h"
#include "DatabaseBackup.h"
#include "ScriptedDialogs.h"
#include "TestDatabase.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Dialogs::Answer)

// The dated backup from the start menu: its name, the same-day question, the messages and the compaction.
class BackupCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_program;
    ScriptedDialogs m_dialogs;
    QList<DatabaseBackup::Step> m_steps;
    QString m_copyName;

    QString copyPath() const { return m_program->filePath(m_copyName); }
    // Runs the backup for today, failing the step named ("copy", "compaction") if any.
    BackupCommand::Result runBackup(const QString& failing = QString()) {
        DatabaseBackup backup;
        backup.setStepHook([this, failing](DatabaseBackup::Step step) {
            m_steps.append(step);
            return !(failing == QLatin1String("copy") && step == DatabaseBackup::Step::Copy) &&
                   !(failing == QLatin1String("compaction") && step == DatabaseBackup::Step::Compact);
        });
        BackupCommand command(m_program->path(), m_dialogs);
        return command.run(nullptr, backup);
    }

private slots:
    void init() {
        m_program = std::make_unique<QTemporaryDir>();
        m_dialogs = ScriptedDialogs();
        m_steps.clear();
        const QString dbPath = m_program->filePath(QStringLiteral("Zlv.MDB"));
        QVERIFY(Database::create(dbPath));
        auto db = Database::open(dbPath);
        QVERIFY(db);
        QVERIFY(db->exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES (?, ?)"),
                         {QStringLiteral("Rathaus Ost"), 46000}));
        m_copyName = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral("_Zlv.MDB");
    }

    void backupIsNamedByDayAndFileNameOnDisk() {
        QCOMPARE(runBackup(), BackupCommand::Result::Done);

        auto copy = Database::open(copyPath());
        QVERIFY(copy);
        QSqlQuery query(copy->connection());
        QVERIFY(copy->run(query, QStringLiteral("SELECT ProjektName FROM tblProjekt")));
        QVERIFY(query.next());
        QCOMPARE(Database::text(query, 0), QStringLiteral("Rathaus Ost"));
        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.at(0).title, QStringLiteral("Datensicherung"));
        QCOMPARE(m_dialogs.lastText(),
                 QStringLiteral("Die Datenbank 'ZLV.mdb' wurde unter dem Dateinamen\n'") + m_copyName +
                     QStringLiteral("'\nim Datenbankordner \n'") + m_program->path() +
                     QStringLiteral("/'\ngespeichert.          "));
        QVERIFY(m_steps.contains(DatabaseBackup::Step::Compact));
    }

    void sameDayBackup_data() {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::newRow("No keeps the first copy and does not compact") << Dialogs::Answer::No;
        QTest::newRow("Yes replaces the first copy") << Dialogs::Answer::Yes;
    }

    void sameDayBackup() {
        QFETCH(Dialogs::Answer, answer);
        const bool replaced = answer == Dialogs::Answer::Yes;
        QVERIFY(writeFile(copyPath(), "erste Sicherung"));
        m_dialogs.answers.enqueue(answer);

        QCOMPARE(runBackup(), replaced ? BackupCommand::Result::Done : BackupCommand::Result::Declined);
        QCOMPARE(m_dialogs.shown.size(), replaced ? 2 : 1);
        const auto& question = m_dialogs.shown.at(0);
        QCOMPARE(question.kind, ScriptedDialogs::Shown::Kind::Ask);
        QCOMPARE(question.title, QStringLiteral("Sicherung der Datenbank "));
        QCOMPARE(question.text,
                 QStringLiteral("Eine Sicherungsdatei  '") + m_copyName +
                     QStringLiteral("'  ist bereits vorhanden.\nSicherungsdatei überschreiben?"));
        QCOMPARE(question.icon, Dialogs::Icon::Warning);
        QCOMPARE(question.defaultButton, Dialogs::Answer::No);
        QCOMPARE(readFile(copyPath()) == QByteArray("erste Sicherung"), !replaced);
        QCOMPARE(m_steps.contains(DatabaseBackup::Step::Compact), replaced);
    }

    void failureIsReported_data() {
        // "database": the database file is missing; "in use": another program holds it for writing.
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("messages");
        QTest::newRow("copy") << "copy" << 1;
        QTest::newRow("compaction") << "compaction" << 2;
        QTest::newRow("missing database") << "database" << 1;
        QTest::newRow("database in use, not checked") << "in use" << 1;
    }

    void failureIsReported() {
        QFETCH(QString, failing);
        QFETCH(int, messages);
        if (failing == QLatin1String("database"))
            QVERIFY(QFile::remove(m_program->filePath(QStringLiteral("Zlv.MDB"))));
        std::unique_ptr<Database> holder;
        if (failing == QLatin1String("in use")) {
            holder = Database::open(m_program->filePath(QStringLiteral("Zlv.MDB")));
            QVERIFY(holder && holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));
        }

        QCOMPARE(runBackup(failing), BackupCommand::Result::Failed);
        QCOMPARE(m_dialogs.shown.size(), messages);
        QCOMPARE(m_dialogs.shown.constLast().title, QStringLiteral("Datensicherung"));
        QCOMPARE(m_dialogs.shown.constLast().icon, Dialogs::Icon::Critical);
        QVERIFY(!m_dialogs.lastText().isEmpty());
        QCOMPARE(m_steps.contains(DatabaseBackup::Step::Copy),
                 failing != QLatin1String("database") && failing != QLatin1String("in use"));
    }

    void damagedDatabase_data() {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::newRow("No makes no copy") << Dialogs::Answer::No;
        QTest::newRow("Yes copies, says so and does not compact") << Dialogs::Answer::Yes;
    }

    void damagedDatabase() {
        QFETCH(Dialogs::Answer, answer);
        const QString dbPath = m_program->filePath(QStringLiteral("Zlv.MDB"));
        QVERIFY(TestDatabase::damageBookings(dbPath));
        m_dialogs.answers.enqueue(answer);

        const bool copied = answer == Dialogs::Answer::Yes;
        QCOMPARE(runBackup(), copied ? BackupCommand::Result::Done : BackupCommand::Result::Declined);
        QCOMPARE(m_dialogs.shown.size(), copied ? 2 : 1);
        const auto& question = m_dialogs.shown.at(0);
        QCOMPARE(question.kind, ScriptedDialogs::Shown::Kind::Ask);
        QCOMPARE(question.title, QStringLiteral("Datensicherung"));
        QCOMPARE(question.icon, Dialogs::Icon::Warning);
        QCOMPARE(question.defaultButton, Dialogs::Answer::No);
        QVERIFY2(
            question.text.startsWith(QStringLiteral("Die Datenbank '%1' ist beschädigt (").arg(dbPath)) &&
                question.text.endsWith(QStringLiteral(").\n\nEine Sicherungskopie enthält denselben "
                                                      "Schaden. Soll die beschädigte Datenbank trotzdem "
                                                      "gesichert werden?")),
            qPrintable(question.text));
        QCOMPARE(QFile::exists(copyPath()), copied);
        QCOMPARE(m_steps.contains(DatabaseBackup::Step::Copy), copied);
        QVERIFY(!m_steps.contains(DatabaseBackup::Step::Compact));
        if (!copied)
            return;
        const auto& notice = m_dialogs.shown.at(1);
        QCOMPARE(notice.kind, ScriptedDialogs::Shown::Kind::Inform);
        QCOMPARE(notice.title, QStringLiteral("Datensicherung"));
        QCOMPARE(notice.icon, Dialogs::Icon::Warning);
        QCOMPARE(
            notice.text,
            QStringLiteral("Achtung: Die Datenbank ist beschädigt, die Sicherungskopie enthält denselben "
                           "Schaden.\n\nDie Datenbank 'ZLV.mdb' wurde unter dem Dateinamen\n'") +
                m_copyName + QStringLiteral("'\nim Datenbankordner \n'") + m_program->path() +
                QStringLiteral("/'\ngespeichert.          \n\nDie Datenbank wurde nicht komprimiert."));
        QCOMPARE(DatabaseBackup().check(copyPath()), DatabaseBackup::Condition::Damaged);
    }
};

QTEST_MAIN(BackupCommandTest)
#include "BackupCommandTest.moc"
