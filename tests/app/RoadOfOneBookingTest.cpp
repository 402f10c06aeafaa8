#include "AppTestWindows.h"
#include "ProgramFolderFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

// The road of one booking, from the start menu through the project manager into the workspace and back,
// driven through the real widgets and checked against the lists and the database file.
class RoadOfOneBookingTest : public QObject {
    Q_OBJECT

private slots:
    void bookOnePaymentAndReturn() {
        ProgramFolder f;
        f.data.exec("INSERT INTO tblFirma (Name, PLZ, Ort, GewerkID, KostengruppeID) VALUES "
                    "('Hochbau Nord', '97070', 'Würzburg', 'Rohbau', '300 Bauwerk')");
        std::unique_ptr<AppController> app = f.app();
        QVERIFY(app->start());
        settle();
        click(app->startMenu(), "cmdProjekt");
        WidgetDriver(app->projectManager()).type("txtName", "Neubau Kita");
        click(app->projectManager(), "cmdHinzufuegen");
        QWidget* workspace = loadFirstProject(*app);
        const WidgetDriver ui(workspace);
        QCOMPARE(visibleWindows(), QStringList{"frmAusgabe"});
        QCOMPARE(ui.find<QLabel>("lblProjekt")->text(), "Neubau Kita");

        ui.type("txtSuchen", "hochbau");
        QCOMPARE(ui.text("txtGewerk"), "Rohbau");
        ui.find<QComboBox>("cboZahlungsart")->setCurrentIndex(3);
        ui.type("txtBetrag", "1234,5");
        ui.type("txtBemerkungen", "Erste Rate");
        click(workspace, "cmdBuchen");
        QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.lastText()));

        ui.find<QTabWidget>("SSTab1")->setCurrentIndex(1);
        const QAbstractItemModel* list = ui.find<QTreeView>("ListView1")->model();
        QCOMPARE(QStringList({list->index(0, 0).data().toString(), list->index(0, 6).data().toString(),
                              list->index(0, 8).data().toString(), QString::number(list->rowCount())}),
                 QStringList({"001", "1. Abschlagszahlung", "1.234,50", "1"}));
        QCOMPARE(ui.text("txtGesamtsumme"), "1.234,50");
        QCOMPARE(ui.find<QLabel>("lblStatus")->text(), "Buchungen: 1");
        QCOMPARE(ui.items("cboAuswertungFirma"), QStringList{"Hochbau Nord"});
        QCOMPARE(f.data.scalar("SELECT PID||'|'||ProjektID||'|'||Projekt||'|'||Firma||'|'||Gewerk||'|'||"
                               "Kostengruppe||'|'||Betrag||'|'||Bemerkungen FROM tblBuchung"),
                 "1|1|Neubau Kita|Hochbau Nord|Rohbau|300 Bauwerk|1234.5|Erste Rate");

        click(workspace, "tbrProjektmanager");
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        click(app->projectManager(), "cmdProjektLaden");
        QCOMPARE(visibleWindows(), QStringList{"frmAusgabe"});
        click(app->workspace(), "cmdBeenden");
        QCOMPARE(visibleWindows(), QStringList());
        QVERIFY(!app->projectManager());
    }
};

QTEST_MAIN(RoadOfOneBookingTest)
#include "RoadOfOneBookingTest.moc"
