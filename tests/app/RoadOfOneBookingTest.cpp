#include "AppTestWindows.h"
#include "ProgramFolderFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

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

} // namespace

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
        type(app->projectManager(), "txtName", "Neubau Kita");
        click(app->projectManager(), "cmdHinzufuegen");
        QWidget* workspace = loadFirstProject(*app);
        QCOMPARE(visibleWindows(), QStringList{"frmAusgabe"});
        QCOMPARE(child<QLabel>(workspace, "lblProjekt")->text(), "Neubau Kita");

        type(workspace, "txtSuchen", "hochbau");
        QCOMPARE(child<QLineEdit>(workspace, "txtGewerk")->text(), "Rohbau");
        child<QComboBox>(workspace, "cboZahlungsart")->setCurrentIndex(3);
        type(workspace, "txtBetrag", "1234,5");
        type(workspace, "txtBemerkungen", "Erste Rate");
        click(workspace, "cmdBuchen");
        QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.lastText()));

        child<QTabWidget>(workspace, "SSTab1")->setCurrentIndex(1);
        const QAbstractItemModel* list = child<QTreeView>(workspace, "ListView1")->model();
        QCOMPARE(QStringList({list->index(0, 0).data().toString(), list->index(0, 6).data().toString(),
                              list->index(0, 8).data().toString(), QString::number(list->rowCount())}),
                 QStringList({"001", "1. Abschlagszahlung", "1.234,50", "1"}));
        QCOMPARE(child<QLineEdit>(workspace, "txtGesamtsumme")->text(), "1.234,50");
        QCOMPARE(child<QLabel>(workspace, "lblStatus")->text(), "Buchungen: 1");
        auto* evaluated = child<QComboBox>(workspace, "cboAuswertungFirma");
        QCOMPARE(evaluated->count() == 1 ? evaluated->itemText(0) : QString(), "Hochbau Nord");
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
