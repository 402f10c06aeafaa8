#include "AppController.h"
#include "AppTestWindows.h"
#include "Database.h"
#include "ScriptedDialogs.h"
#include "Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {
template <typename T> T* child(QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}

void click(QWidget* window, const QString& name) {
    QTest::mouseClick(child<QAbstractButton>(window, name), Qt::LeftButton);
    settle();
}

void type(QWidget* window, const QString& name, const QString& text) {
    child<QLineEdit>(window, name)->clear();
    QTest::keyClicks(child<QLineEdit>(window, name), text);
}

QString column(QWidget* window, const QString& list, int column) {
    QAbstractItemModel* model = child<QTreeView>(window, list)->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, column).data().toString());
    return texts.join(',');
}
} // namespace

// The road of one booking, from the start menu through the project manager into the workspace and back,
// driven through the real widgets and checked against the lists and the database file.
class RoadOfOneBookingTest : public QObject {
    Q_OBJECT

private slots:
    void bookOnePaymentAndReturn() {
        QTemporaryDir program;
        Settings settings(program.filePath("TalbrinZlv.ini"));
        ScriptedDialogs dialogs;
        const QString dbPath = program.filePath("ZLV.mdb");
        QVERIFY(Database::create(dbPath));
        {
            std::unique_ptr<Database> db = Database::open(dbPath);
            QVERIFY(db->exec("INSERT INTO tblFirma (Name, PLZ, Ort, GewerkID, KostengruppeID) VALUES "
                             "('Hochbau Nord', '97070', 'Würzburg', 'Rohbau', '300 Bauwerk')"));
        }
        auto app = std::make_unique<AppController>(program.path(), dialogs, settings);
        QVERIFY(app->start());
        settle();
        click(app->startMenu(), "cmdProjekt");
        QWidget* manager = app->projectManager();
        type(manager, "txtName", "Neubau Kita");
        click(manager, "cmdHinzufuegen");
        QWidget* workspace = loadFirstProject(*app);
        QCOMPARE(visibleWindows(), QStringList{"frmAusgabe"});
        QCOMPARE(child<QLabel>(workspace, "lblProjekt")->text(), "Neubau Kita");

        type(workspace, "txtSuchen", "hochbau");
        QCOMPARE(child<QLineEdit>(workspace, "txtGewerk")->text(), "Rohbau");
        child<QComboBox>(workspace, "cboZahlungsart")->setCurrentIndex(3);
        type(workspace, "txtBetrag", "1234,5");
        type(workspace, "txtBemerkungen", "Erste Rate");
        click(workspace, "cmdBuchen");
        QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.lastText()));

        child<QTabWidget>(workspace, "SSTab1")->setCurrentIndex(1);
        QCOMPARE(column(workspace, "ListView1", 0) + '|' + column(workspace, "ListView1", 6) + '|' +
                     column(workspace, "ListView1", 8),
                 "001|1. Abschlagszahlung|1.234,50");
        QCOMPARE(child<QLineEdit>(workspace, "txtGesamtsumme")->text(), "1.234,50");
        QCOMPARE(child<QLabel>(workspace, "lblStatus")->text(), "Buchungen: 1");
        auto* evaluated = child<QComboBox>(workspace, "cboAuswertungFirma");
        QCOMPARE(evaluated->count() == 1 ? evaluated->itemText(0) : QString(), "Hochbau Nord");
        {
            std::unique_ptr<Database> db = Database::open(dbPath);
            QSqlQuery query(db->connection());
            QVERIFY(db->run(query, "SELECT PID||'|'||ProjektID||'|'||Projekt||'|'||Firma||'|'||Gewerk||'|'||"
                                   "Kostengruppe||'|'||Betrag||'|'||Bemerkungen FROM tblBuchung") &&
                    query.next());
            QCOMPARE(Database::text(query, 0),
                     "1|1|Neubau Kita|Hochbau Nord|Rohbau|300 Bauwerk|1234.5|Erste Rate");
        }

        click(workspace, "tbrProjektmanager");
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        click(app->projectManager(), "cmdProjektLaden");
        workspace = app->workspace();
        QCOMPARE(visibleWindows(), QStringList{"frmAusgabe"});
        click(workspace, "cmdBeenden");
        QCOMPARE(visibleWindows(), QStringList());
        QVERIFY(!app->projectManager());
        app.reset();
        settle();
    }
};

QTEST_MAIN(RoadOfOneBookingTest)
#include "RoadOfOneBookingTest.moc"
