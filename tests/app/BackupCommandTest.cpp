#include "BackupCommand.h"
#include "DatabaseBackup.h"
#include "ProgramFolderFixture.h"

#include <QDate>
#include <QSqlQuery>
#include <QTest>

Q_DECLARE_METATYPE(Dialogs::Answer)
Q_DECLARE_METATYPE(BackupCommand::Result)

// The dated backup from the start menu: its name, the questions before it, the messages and the compaction.
// The database file is called Zlv.MDB on disk; %COPY% in a row stands for today's backup of it, %FOLDER%
// for the program folder.
class BackupCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> f;
    QList<DatabaseBackup::Step> m_steps;

    QString database() const { return f->filePath(QStringLiteral("Zlv.MDB")); }
    QString copyName() const {
        return QDate::currentDate().toString("dd.MM.yyyy") + QStringLiteral("_Zlv.MDB");
    }
    QString place(QString text) const {
        return text.replace("%COPY%", copyName()).replace("%FOLDER%", f->path()).replace("%DB%", database());
    }
    QString saved() const {
        return "Die Datenbank 'ZLV.mdb' wurde unter dem Dateinamen\n'" + copyName() +
               "'\nim Datenbankordner \n'" + f->path() + "/'\ngespeichert.          ";
    }
    BackupCommand::Result runBackup(DatabaseBackup::Step failing = DatabaseBackup::Step(-1)) {
        DatabaseBackup backup;
        backup.setStepHook([this, failing](DatabaseBackup::Step step) {
            m_steps.append(step);
            return step != failing;
        });
        return BackupCommand(f->path(), f->dialogs).run(nullptr, backup);
    }

private slots:
    void init() {
        f = std::make_unique<ProgramFolder>();
        m_steps.clear();
        f->data.exec("INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES ('Rathaus Ost', 46000)");
        QVERIFY(QFile::rename(f->data.path(), database()));
    }

    void backupIsNamedByDayAndFileNameOnDisk() {
        QCOMPARE(runBackup(), BackupCommand::Result::Done);

        auto copy = Database::open(f->filePath(copyName()));
        QVERIFY(copy);
        QSqlQuery query(copy->connection());
        QVERIFY(copy->run(query, QStringLiteral("SELECT ProjektName FROM tblProjekt")) && query.next());
        QCOMPARE(Database::text(query, 0), QStringLiteral("Rathaus Ost"));
        QCOMPARE(f->dialogs.shown.size(), 1);
        QCOMPARE(f->dialogs.shown.at(0).title, QStringLiteral("Datensicherung"));
        QCOMPARE(f->dialogs.lastText(), saved());
        QVERIFY(m_steps.contains(DatabaseBackup::Step::Compact));
    }

    void questionBeforeTheBackup_data() {
        QTest::addColumn<bool>("damaged"); // else a backup of today is there
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("question"); // title, then the text; … stands for any text
        QTest::addColumn<BackupCommand::Result>("result");
        QTest::addColumn<QString>("notice"); // the message after the backup
        const QString sameDay =
            QStringLiteral("Sicherung der Datenbank \nEine Sicherungsdatei  '%COPY%'  ist "
                           "bereits vorhanden.\nSicherungsdatei überschreiben?");
        const QString damaged =
            QStringLiteral("Datensicherung\nDie Datenbank '%DB%' ist beschädigt (…).\n\nEine Sicherungskopie "
                           "enthält denselben "
                           "Schaden. Soll die beschädigte Datenbank trotzdem gesichert werden?");
        QTest::newRow("same day, No keeps the first copy")
            << false << Dialogs::Answer::No << sameDay << BackupCommand::Result::Declined << QString();
        QTest::newRow("same day, Yes replaces it")
            << false << Dialogs::Answer::Yes << sameDay << BackupCommand::Result::Done << "<saved>";
        QTest::newRow("damaged, No makes no copy")
            << true << Dialogs::Answer::No << damaged << BackupCommand::Result::Declined << QString();
        QTest::newRow("damaged, Yes copies without compaction")
            << true << Dialogs::Answer::Yes << damaged << BackupCommand::Result::Done
            << "Achtung: Die Datenbank ist beschädigt, die Sicherungskopie enthält denselben "
               "Schaden.\n\n<saved>"
               "\n\nDie Datenbank wurde nicht komprimiert.";
    }

    void questionBeforeTheBackup() {
        QFETCH(bool, damaged);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QString, question);
        QFETCH(BackupCommand::Result, result);
        QFETCH(QString, notice);
        const QString copy = f->filePath(copyName());
        QVERIFY(damaged ? TestDatabase::damageBookings(database()) : TestDatabase::writeFile(copy, "erste"));
        f->dialogs.answers.enqueue(answer);

        QCOMPARE(runBackup(), result);

        const auto& asked = f->dialogs.shown.at(0);
        const QStringList parts = place(question).split(QStringLiteral("…"));
        const QString shown = asked.title + '\n' + asked.text;
        QVERIFY2(shown.startsWith(parts.first()) && shown.endsWith(parts.last()), qPrintable(shown));
        QVERIFY(asked.kind == ScriptedDialogs::Shown::Kind::Ask && asked.icon == Dialogs::Icon::Warning &&
                asked.defaultButton == Dialogs::Answer::No);
        QCOMPARE(f->dialogs.shown.size(), notice.isEmpty() ? 1 : 2);
        QCOMPARE(f->dialogs.lastText(), notice.isEmpty() ? asked.text : notice.replace("<saved>", saved()));
        QCOMPARE(f->dialogs.shown.constLast().icon,
                 damaged || notice.isEmpty() ? Dialogs::Icon::Warning : Dialogs::Icon::Information);
        QCOMPARE(ProgramFolder::read(copy) == "erste", !damaged && notice.isEmpty());
        QCOMPARE(QFile::exists(copy), !damaged || !notice.isEmpty());
        QVERIFY(!damaged || notice.isEmpty() ||
                DatabaseBackup().check(copy) == DatabaseBackup::Condition::Damaged);
        QCOMPARE(m_steps.contains(DatabaseBackup::Step::Compact), !damaged && !notice.isEmpty());
    }

    void failureIsReported_data() {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("messages");
        QTest::newRow("copy") << "copy" << 1;
        QTest::newRow("compaction") << "compaction" << 2;
        QTest::newRow("missing database") << "missing" << 1;
        QTest::newRow("database in use, not checked") << "in use" << 1;
    }

    void failureIsReported() {
        QFETCH(QString, failing);
        QFETCH(int, messages);
        QVERIFY(failing != "missing" || QFile::remove(database()));
        const std::unique_ptr<Database> holder = failing == "in use" ? Database::open(database()) : nullptr;
        QVERIFY(!holder || holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));

        QCOMPARE(runBackup(failing == "copy"         ? DatabaseBackup::Step::Copy
                           : failing == "compaction" ? DatabaseBackup::Step::Compact
                                                     : DatabaseBackup::Step(-1)),
                 BackupCommand::Result::Failed);

        QCOMPARE(f->dialogs.shown.size(), messages);
        QCOMPARE(f->dialogs.shown.constLast().title, QStringLiteral("Datensicherung"));
        QCOMPARE(f->dialogs.shown.constLast().icon, Dialogs::Icon::Critical);
        QVERIFY(!f->dialogs.lastText().isEmpty());
        QCOMPARE(m_steps.contains(DatabaseBackup::Step::Copy), failing == "copy" || failing == "compaction");
    }
};

QTEST_MAIN(BackupCommandTest)
#include "BackupCommandTest.moc"
