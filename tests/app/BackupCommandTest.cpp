#include "BackupCommand.h"
#include "DatabaseBackup.h"
#include "ProgramFolderFixture.h"

#include <QDate>
#include <QTest>

Q_DECLARE_METATYPE(Dialogs::Answer)
Q_DECLARE_METATYPE(BackupCommand::Result)

// The dated backup from the start menu. The database file is called Zlv.MDB on disk; in a row %COPY%
// stands for today's backup of it, %DB% for the database and <saved> for the message of a saved copy.
class BackupCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> f;

    QString database() const { return f->filePath(QStringLiteral("Zlv.MDB")); }
    QString copyName() const {
        return QDate::currentDate().toString("dd.MM.yyyy") + QStringLiteral("_Zlv.MDB");
    }
    QString place(QString text) const {
        const QString saved =
            "Die Datenbank 'ZLV.mdb' wurde unter dem Dateinamen\n'%COPY%'\nim Datenbankordner \n'" +
            f->path() + "/'\ngespeichert.          ";
        return text.replace("<saved>", saved).replace("%COPY%", copyName()).replace("%DB%", database());
    }

private slots:
    void init() {
        f = std::make_unique<ProgramFolder>();
        f->data.exec("INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES ('Rathaus Ost', 46000)");
        QVERIFY(QFile::rename(f->data.path(), database()));
    }

    void backupAsksTellsAndCompacts_data() {
        QTest::addColumn<QString>("given"); // "copy of today", "damaged", "missing", "in use"
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<int>("failingStep");
        QTest::addColumn<BackupCommand::Result>("result");
        QTest::addColumn<QString>("messages"); // each "title: text", …  stands for any text
        QTest::addColumn<bool>("compacted");
        using R = BackupCommand::Result;
        const auto No = Dialogs::Answer::No, Yes = Dialogs::Answer::Yes;
        const QString sameDay = "Sicherung der Datenbank : Eine Sicherungsdatei  '%COPY%'  ist bereits "
                                "vorhanden.\nSicherungsdatei überschreiben?";
        const QString damaged = "Datensicherung: Die Datenbank '%DB%' ist beschädigt (…).\n\nEine "
                                "Sicherungskopie enthält denselben Schaden. Soll die beschädigte Datenbank "
                                "trotzdem gesichert werden?";
        const int none = -1, copy = int(DatabaseBackup::Step::Copy);
        const int compact = int(DatabaseBackup::Step::Compact);
        QTest::newRow("first of the day") << "" << No << none << R::Done << "Datensicherung: <saved>" << true;
        QTest::newRow("same day, No keeps the first copy")
            << "copy of today" << No << none << R::Declined << sameDay << false;
        QTest::newRow("same day, Yes replaces it")
            << "copy of today" << Yes << none << R::Done << sameDay + "\nDatensicherung: <saved>" << true;
        QTest::newRow("damaged, No makes no copy")
            << "damaged" << No << none << R::Declined << damaged << false;
        QTest::newRow("damaged, Yes copies without compaction")
            << "damaged" << Yes << none << R::Done
            << damaged +
                   "\nDatensicherung: Achtung: Die Datenbank ist beschädigt, die Sicherungskopie enthält "
                   "denselben Schaden.\n\n<saved>\n\nDie Datenbank wurde nicht komprimiert."
            << false;
        QTest::newRow("copy fails") << "" << No << copy << R::Failed << "Datensicherung: …" << false;
        QTest::newRow("compaction fails")
            << "" << No << compact << R::Failed << "Datensicherung: <saved>\nDatensicherung: …" << true;
        QTest::newRow("missing database")
            << "missing" << No << none << R::Failed << "Datensicherung: …" << false;
        QTest::newRow("database in use")
            << "in use" << No << none << R::Failed << "Datensicherung: …" << false;
    }

    void backupAsksTellsAndCompacts() {
        QFETCH(QString, given);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(int, failingStep);
        QFETCH(BackupCommand::Result, result);
        QFETCH(QString, messages);
        QFETCH(bool, compacted);
        const QString copy = f->filePath(copyName());
        QVERIFY(given != "copy of today" || TestDatabase::writeFile(copy, "erste"));
        QVERIFY(given != "damaged" || TestDatabase::damageBookings(database()));
        QVERIFY(given != "missing" || QFile::remove(database()));
        const std::unique_ptr<Database> holder = given == "in use" ? Database::open(database()) : nullptr;
        QVERIFY(!holder || holder->exec(QStringLiteral("BEGIN EXCLUSIVE")));
        f->dialogs.answers.enqueue(answer);
        QList<DatabaseBackup::Step> steps;
        DatabaseBackup backup;
        backup.setStepHook([&steps, failingStep](DatabaseBackup::Step step) {
            steps.append(step);
            return int(step) != failingStep;
        });

        QCOMPARE(BackupCommand(f->path(), f->dialogs).run(nullptr, backup), result);

        QStringList shown;
        for (const ScriptedDialogs::Shown& message : f->dialogs.shown)
            shown << message.title + ": " + message.text;
        const QStringList parts = place(messages).split(QStringLiteral("…"));
        QVERIFY2(shown.join('\n').startsWith(parts.first()) && shown.join('\n').endsWith(parts.last()),
                 qPrintable(shown.join('\n')));
        const bool declined = result == BackupCommand::Result::Declined;
        QCOMPARE(f->dialogs.shown.constLast().icon,
                 result == BackupCommand::Result::Failed ? Dialogs::Icon::Critical
                 : declined || given == "damaged"        ? Dialogs::Icon::Warning
                                                         : Dialogs::Icon::Information);
        QCOMPARE(steps.contains(DatabaseBackup::Step::Compact), compacted);
        QCOMPARE(ProgramFolder::read(copy) == "erste", declined && given != "damaged");
    }
};

QTEST_MAIN(BackupCommandTest)
#include "BackupCommandTest.moc"
