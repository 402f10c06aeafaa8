#include "AppTestWindows.h"
#include "BackupCommand.h"
#include "DatabaseBackup.h"
#include "Mnemonics.h"
#include "ProductLogo.h"
#include "ProgramFolderFixture.h"
#include "ProjectSums.h"

#include <QApplication>
#include <QDate>
#include <QLinearGradient>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

Q_DECLARE_METATYPE(Dialogs::Answer)
Q_DECLARE_METATYPE(BackupCommand::Result)

// The start menu, its backup command and the hand-overs between the screens, driven through the real widgets.
class StartMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> f;
    std::unique_ptr<AppController> m_app;

    // The backup command's rows: the database is called Zlv.MDB on disk, %COPY% stands for today's backup
    // of it, %DB% for the database and <saved> for the message of a saved copy.
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
        m_app = f->app();
    }

    void cleanup() {
        m_app.reset();
        settle();
        QCOMPARE(visibleWindows(), QStringList());
    }

    void startMenuBacksUpThenHandsOverAndComesBackWhereItStoodUntilQuit() {
        QVERIFY(m_app->start());
        const QString place = QStringLiteral("  -  ") + QDir::toNativeSeparators(f->path());
        QCOMPARE(m_app->startMenu()->windowTitle(), "Talbrin Zelvora V1.0.1  -  Startmenü" + place);
        click(m_app->startMenu(), QStringLiteral("tbrDBSicherung2"));
        QVERIFY(QFile::exists(f->filePath(QDate::currentDate().toString("dd.MM.yyyy") + "_ZLV.mdb")));
        m_app->startMenu()->move(150, 120);
        click(m_app->startMenu(), QStringLiteral("tbrEinstellungen"));
        click(m_app->startMenu(), QStringLiteral("tbrFirma"));
        QCOMPARE(visibleWindows(), (QStringList{"frmFirma", "frmMenü", "frmVoreinstellung"}));

        click(m_app->startMenu(), QStringLiteral("cmdProjekt"));
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        QVERIFY(!m_app->startMenu() && !m_app->presets() && !m_app->companyRegister());

        click(m_app->projectManager(), QStringLiteral("cmdBeenden"));
        QCOMPARE(visibleWindows(), QStringList{"frmMenü"});
        QCOMPARE(m_app->startMenu()->windowTitle(), "Talbrin Zelvora  - Startmenü " + place);
        QCOMPARE(m_app->startMenu()->pos(), QPoint(150, 120));
        click(m_app->startMenu(), QStringLiteral("tbrEinstellungen"));
        click(m_app->startMenu(), QStringLiteral("tbrInfo"));
        QCOMPARE(visibleWindows().size(), 3);

        click(m_app->startMenu(), QStringLiteral("tbrBeenden"));

        QCOMPARE(visibleWindows(), QStringList());
    }

    // Sums kept by the database that missed changes made behind the program's back are counted anew
    // once the start menu has shown its first frame, which waits for no table's size.
    void keptSumsThatMissedChangesAreCountedAfterTheFirstFrame() {
        f->data.exec("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', 5)");
        f->data.exec("DELETE FROM tblProjektSumme");
        QVERIFY(!ProjectSums(f->data.db()).whole());
        QVERIFY(m_app->start());
        QTRY_VERIFY(ProjectSums(f->data.db()).whole());
    }

    // The first frame's logo is drawn on another thread where the colour beneath it is plain: the frame
    // shows the pixels the window shows when it is painted again.
    void firstFrameShowsTheLogoAsPaintedAgain_data() {
        QTest::addColumn<QString>("beneath");
        QTest::addColumn<bool>("drawnAhead");
        QTest::newRow("the start menu") << "menu" << true;
        QTest::newRow("a window's colour") << "window" << true;
        QTest::newRow("a frame's own colour") << "frame" << true;
        QTest::newRow("a gradient") << "gradient" << false;
        QTest::newRow("a colour changed after showing") << "changed" << false;
    }
    void firstFrameShowsTheLogoAsPaintedAgain() {
        QFETCH(QString, beneath);
        QFETCH(bool, drawnAhead);
        std::unique_ptr<QWidget> own;
        QWidget* window = nullptr;
        if (beneath == "menu") {
            QVERIFY(m_app->start());
            window = m_app->startMenu();
        } else {
            own = std::make_unique<QWidget>();
            auto* frame = new QWidget(own.get());
            (new QVBoxLayout(own.get()))->addWidget(frame);
            (new QVBoxLayout(frame))->addWidget(new ProductLogo(frame));
            QPalette palette = beneath == "frame" ? frame->palette() : own->palette();
            if (beneath == "frame") {
                palette.setColor(QPalette::Window, QColor(0xff, 0xf8, 0xdc));
                frame->setPalette(palette);
                frame->setAutoFillBackground(true);
            } else if (beneath == "gradient") {
                QLinearGradient gradient(0, 0, 0, 240);
                gradient.setColorAt(0, Qt::white);
                gradient.setColorAt(1, QColor(0x33, 0x66, 0x99));
                palette.setBrush(QPalette::Window, gradient);
                own->setPalette(palette);
            }
            own->resize(320, 240);
            own->show();
            if (beneath == "changed") {
                palette.setColor(QPalette::Window, QColor(0xe0, 0xff, 0xe0));
                own->setPalette(palette);
            }
            window = own.get();
        }
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QImage firstFrame = window->screen()->grabWindow(window->winId()).toImage();
        QCOMPARE(window->findChild<ProductLogo*>()->paintedAhead(), drawnAhead);
        const QImage paintedAgain = window->grab().toImage();
        QCOMPARE(firstFrame.convertToFormat(QImage::Format_RGB32),
                 paintedAgain.convertToFormat(QImage::Format_RGB32));
    }

    void unusableDatabaseOpensNoScreenAndIsLeftAsItIs_data() {
        QTest::addColumn<bool>("atStart"); // else it turns unusable after the start
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("windows");
        const QStringList menu{"frmMenü"};
        QTest::newRow("presets") << false << "tbrEinstellungen" << menu;
        QTest::newRow("company register") << false << "tbrFirma" << menu;
        QTest::newRow("project manager") << false << "cmdProjekt" << menu;
        QTest::newRow("at start, checked once events are processed") << true << "" << QStringList();
        QTest::newRow("at start, checked before the presets open")
            << true << "tbrEinstellungen" << QStringList();
    }

    void unusableDatabaseOpensNoScreenAndIsLeftAsItIs() {
        QFETCH(bool, atStart);
        QFETCH(QString, button);
        QFETCH(QStringList, windows);
        const QByteArray ini = f->path().toUtf8() + "/\n";
        QVERIFY(TestDatabase::writeFile(f->ini(), ini));
        const auto spoil = [this] {
            QVERIFY(QFile::remove(f->data.path()) &&
                    TestDatabase::writeFile(f->data.path(), "keine Datenbank"));
        };
        if (atStart)
            spoil();
        QVERIFY(m_app->start());
        QVERIFY(m_app->startMenu()->isVisible() && f->dialogs.shown.isEmpty());
        if (!atStart) {
            settle();
            spoil();
        }

        if (!button.isEmpty())
            click(m_app->startMenu(), button);
        settle();

        QCOMPARE(visibleWindows(), windows);
        QVERIFY(!m_app->presets() && !m_app->companyRegister() && !m_app->projectManager());
        QCOMPARE(f->dialogs.shown.size(), 1);
        QCOMPARE(f->dialogs.shown.at(0).icon, Dialogs::Icon::Critical);
        QVERIFY2(f->dialogs.lastText().contains(QStringLiteral("ZLV.mdb")),
                 qPrintable(f->dialogs.lastText()));
        QCOMPARE(ProgramFolder::read(f->data.path()), QByteArray("keine Datenbank"));
        QCOMPARE(ProgramFolder::read(f->ini()), ini);
    }

    void cancelledDatabaseChoiceOpensNothing() {
        QVERIFY(QFile::remove(f->data.path()));

        QVERIFY(!m_app->start());

        QCOMPARE(f->dialogs.shown.size(), 1); // the first start's choice, cancelled
        QCOMPARE(visibleWindows(), QStringList());
    }

    void noTwoControlsShareAMnemonic() {
        f->data.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
        QVERIFY(m_app->start());
        QStringList collisions, checked;
        const auto checkOpenWindows = [&] {
            settle();
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->isVisible()) {
                    collisions += mnemonicCollisions(*window);
                    checked << window->objectName();
                }
        };
        m_app->openPresets();
        m_app->openCompanyRegister();
        m_app->openAboutBox();
        checkOpenWindows();
        m_app->openProjectManager();
        checkOpenWindows();
        loadFirstProject(*m_app)->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
        checkOpenWindows();
        emit m_app->workspace()->printRequested();
        collisions += mnemonicCollisions(*m_app->printSettings());
        m_app->openExport();
        collisions += mnemonicCollisions(*m_app->exportScreen());
        QCOMPARE(collisions.join(QLatin1Char('\n')), QString());
        QCOMPARE(QSet<QString>(checked.begin(), checked.end()).size(), 6);
    }

    void backupAsksTellsAndCompacts_data() {
        QTest::addColumn<QString>("given"); // "copy of today", "damaged" or "missing"
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
        QTest::newRow("missing database") << "missing" << No << none << R::Failed
                                          << "Datensicherung: Die Datenbank 'ZLV.mdb' wurde im …" << false;
    }

    void backupAsksTellsAndCompacts() {
        QFETCH(QString, given);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(int, failingStep);
        QFETCH(BackupCommand::Result, result);
        QFETCH(QString, messages);
        QFETCH(bool, compacted);
        QVERIFY(QFile::rename(f->data.path(), database()));
        const QString copy = f->filePath(copyName());
        QVERIFY(given != "copy of today" || TestDatabase::writeFile(copy, "erste"));
        QVERIFY(given != "damaged" || TestDatabase::damageBookings(database()));
        QVERIFY(given != "missing" || QFile::remove(database()));
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

    // A pg_dump that writes, fails or hangs, found on PATH; the chosen file held an older dump.
    void serverBackupReplacesTheFileOnlyWhenComplete_data() {
        QTest::addColumn<QString>("pgDump");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("complete") << "printf neu > \"$f\"" << QByteArray("neu") << "wurde in die Datei";
        QTest::newRow("fails after emptying its file")
            << ": > \"$f\"; echo 'pg_dump: error: connection failed' >&2; exit 1" << QByteArray("alt")
            << "fehlgeschlagen. (pg_dump: error: connection failed)";
        QTest::newRow("hangs, cancelled") << ": > \"$f\"; exec sleep 600" << QByteArray("alt")
                                          << "abgebrochen; es wurde keine Datei geschrieben";
    }

    void serverBackupReplacesTheFileOnlyWhenComplete() {
        QFETCH(QString, pgDump);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir tools;
        QTemporaryDir backups;
        const QString fake = tools.filePath("pg_dump");
        QVERIFY(TestDatabase::writeFile(
            fake,
            "#!/bin/sh\nfor a; do case $a in --file=*) f=${a#--file=};; esac; done\n" + pgDump.toUtf8()));
        QVERIFY(QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", tools.path().toUtf8() + ':' + path);
        const QString target = QDir(backups.path()).filePath("zlv.dump");
        QVERIFY(TestDatabase::writeFile(target, "alt"));
        f->dialogs.files.enqueue(target);
        if (QTest::currentDataTag() == QByteArray("hangs, cancelled")) {
            // Runs once the backup waits for pg_dump with its window open.
            QTimer::singleShot(0, this, [] {
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    if (window->objectName() == "frmSicherung" && window->isVisible())
                        QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);
                }
            });
        }

        BackupCommand(f->path(), f->dialogs)
            .run(nullptr, QStringLiteral("postgresql://server.bauamt.local/zlv"));
        qputenv("PATH", path);

        QVERIFY2(f->dialogs.lastText().contains(message), qPrintable(f->dialogs.lastText()));
        QCOMPARE(ProgramFolder::read(target), content);
        QCOMPARE(QDir(backups.path()).entryList(QDir::Files | QDir::Hidden), QStringList("zlv.dump"));
    }
};

QTEST_MAIN(StartMenuTest)
#include "StartMenuTest.moc"
