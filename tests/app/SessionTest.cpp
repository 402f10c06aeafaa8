#include "Session.h"
#include "AppTestWindows.h"
#include "ChangeWatch.h"
#include "ProgramFolderFixture.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// One program run holds one session: its windows share one connection and one listener, and what one
// window writes reaches the others when they are activated.
class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void windowsShareOneConnectionAndOneListener() {
        ProgramFolder f;
        if (!f.data.onServer())
            QSKIP("connections are counted on the server");
        const QString name = QStringLiteral("zt_session_%1").arg(QCoreApplication::applicationPid());
        QVERIFY(
            TestDatabase::writeFile(f.ini(), (f.data.path() + "&application_name=" + name).toUtf8() + '\n'));
        f.data.exec(QStringLiteral("INSERT INTO tblProjekt (ID, ProjektName) VALUES (1, 'Schule')"));
        std::unique_ptr<AppController> app = f.app();
        QVERIFY(app->start());
        settle();
        app->openPresets();
        app->openCompanyRegister();
        app->openProjectManager();
        loadFirstProject(*app);
        QVERIFY(app->workspace() && app->projectManager());
        const QString count =
            QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE application_name = ?");
        QCOMPARE(f.data.scalar(count, {name}), QStringLiteral("2"));
        app.reset();
        settle();
        // The server lets a closed connection go a moment after the program closed it.
        QTRY_COMPARE(f.data.scalar(count, {name}), QStringLiteral("0"));
    }

    void aWriteReachesTheOtherWindowsOnTheirActivation() {
        TestDatabase db;
        const std::unique_ptr<Session> session = Session::open(db.path());
        QVERIFY(session);
        QObject writer;
        QObject other;
        ChangeWatch* writing = session->watch(&writer);
        ChangeWatch* following = session->watch(&other);
        QSignalSpy told(writing, &ChangeWatch::changed);
        QSignalSpy otherTold(following, &ChangeWatch::changed);

        session->wrote();
        writing->caughtUp();
        writing->check();
        following->check();
        following->check();
        QCOMPARE(told.count(), 0);
        QCOMPARE(otherTold.count(), 1);

        db.exec(QStringLiteral("INSERT INTO tblGewerk (Gewerk) VALUES ('Gerüstbau')"));
        QTRY_VERIFY((writing->check(), told.count() == 1));
        QCOMPARE(otherTold.count(), 2);
    }

    // A file knows no logins: every right is held, and the start menu does not offer "Benutzer und
    // Rechte"; on the server the test's login holds every right and is offered it.
    void rightsOfTheSessionAndTheStartMenu() {
        ProgramFolder f;
        std::unique_ptr<AppController> app = f.app();
        QVERIFY(app->start());
        settle();
        const auto* logins = app->startMenu()->findChild<QPushButton*>("cmdBenutzer");
        QVERIFY(logins);
        // Offered once the database's opening is finished, right after the first frame.
        QTRY_COMPARE(logins->toolTip(),
                     f.data.onServer() ? u"Anmeldungen am Datenbankserver und ihre Rechte verwalten"_s
                                       : u"Eine Datenbankdatei kennt keine Anmeldungen und keine Rechte."_s);
        QCOMPARE(logins->isEnabled(), f.data.onServer());
        const std::unique_ptr<Session> session = Session::open(f.data.path());
        QVERIFY(session);
        for (Right right : {Right::Read, Right::Record, Right::Confirm, Right::Order, Right::Administer})
            QVERIFY2(session->may(right), qPrintable(rightWord(right)));
    }
};

QTEST_MAIN(SessionTest)
#include "SessionTest.moc"
