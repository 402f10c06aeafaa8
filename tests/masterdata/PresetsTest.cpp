#include "Presets.h"
#include "ScreenFixture.h"

#include "AuthorityDetails.h"
#include "Settings.h"

#include <QStyle>
#include <QTabWidget>
#include <QTreeView>

// The presets driven through their widgets, checked against their lists, the database and the settings.
class PresetsTest : public QObject {
    Q_OBJECT

    // Trades and cost groups with known numbers; a company, booking and estimate row per trade copy.
    struct Fixture : ScreenFixture<Presets> {
        QTemporaryDir dir;
        Settings settings{dir.filePath("zlv.ini")};

        Fixture() {
            db.clearPresets();
            db.exec("INSERT INTO tblGewerk (ID, Gewerk) VALUES (1, 'Elektro'), (2, 'Dach'), (10, 'Heizung')");
            db.exec("INSERT INTO tblKostengruppe (ID, Kostengruppe) "
                    "VALUES (1, '300 Bauwerk'), (2, '200 Erschließung')");
            bookings("Firma, Gewerk", {{"F", "Elektro"}, {"F", "ELEKTRO"}, {"F", ""}});
            db.exec("INSERT INTO tblFirma (Name, GewerkID) SELECT Firma, Gewerk FROM tblBuchung");
        }
        QString tradeCopies() { return rows("tblFirma", "GewerkID") + '|' + bookings("Gewerk"); }
    };

private slots:
    // A row leaves the font's whole height for its text inside the style's focus margins, so that the
    // dots of a capital umlaut are not cut.
    void rowsHoldCapitalUmlauts() {
        Fixture f;
        f.db.exec("INSERT INTO tblKostengruppe (Kostengruppe) VALUES ('Öffentliche Erschließung')");
        f.open(f.settings);
        auto* list = f.screen->findChild<QTreeView*>("ListView1");
        const QRect row = list->visualRect(list->model()->index(0, 1));
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, list);
        QVERIFY2(row.height() - 2 * margin >= list->fontMetrics().height(),
                 qPrintable(QString::number(row.height())));
    }

    // Elektro is loaded, Dach is selected when saving: Elektro and its exact copies change, ELEKTRO stays.
    // The first save is refused by the database: entry, edit mode and rows stay as they were.
    void tradeRenameFollowsExactName() {
        Fixture f;
        f.refuseWrites();
        ScreenDriver ui = f.open(f.settings);
        ui.select("ListView2", 1, "Elektro", "Command6");
        QCOMPARE(ui.text("Text2"), "Elektro");
        ui.select("ListView2", 1, "Dach");
        ui.type("Text2", "Elektroinstallation", "Command4");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(ui.text("Text2"), "Elektroinstallation");
        QCOMPARE(f.rows("tblGewerk", "Gewerk"), "Elektro,Dach,Heizung");
        QCOMPARE(f.tradeCopies(), "Elektro,ELEKTRO,|Elektro,ELEKTRO,");
        f.refuseWrites(false);
        ui.click("Command4");
        QCOMPARE(ui.text("Text2") + '|' + ui.column("ListView2", 1), "|Dach,Elektroinstallation,Heizung");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.rows("tblGewerk", "Gewerk"), "Elektroinstallation,Dach,Heizung");
        QCOMPARE(f.tradeCopies(), "Elektroinstallation,ELEKTRO,|Elektroinstallation,ELEKTRO,");
    }

    // The lists are sorted by name. A cost group loaded for editing leaves the trade tab adding, and is
    // itself still saved as a change.
    void eachTabKeepsItsOwnEditMode() {
        Fixture f;
        ScreenDriver ui = f.open(f.settings);
        QTabWidget* tabs = ui.find<QTabWidget>(QString());
        QCOMPARE(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2), "GewerkKostenstelleEigene Daten");
        QCOMPARE(ui.column("ListView2", -1) + '|' + ui.column("ListView1", -1),
                 "LfdNr.,Gewerk|LfdNr.,Kostenstelle");
        QCOMPARE(ui.column("ListView2", 0) + '|' + ui.column("ListView1", 1),
                 "2,1,10|200 Erschließung,300 Bauwerk");
        ui.select("ListView1", 0, "1", "Command7");
        QCOMPARE(ui.text("Text1"), "300 Bauwerk");
        ui.select("ListView2", 1, "Dach");
        ui.type("Text2", "Fenster", "Command4");
        QCOMPARE(f.rows("tblGewerk", "Gewerk"), "Elektro,Dach,Heizung,Fenster");
        ui.type("Text1", "300 Bauwerk neu", "Command1");
        QCOMPARE(f.rows("tblKostengruppe", "Kostengruppe"), "300 Bauwerk neu,200 Erschließung");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // Number 1 deleted on the trade tab, then on the cost group tab; the copies of the names stay.
    void deleteAsksAndLeavesCopies_data() { Fixture::answerRows("2,10|2", "2,1,10|2,1"); }
    void deleteAsksAndLeavesCopies() {
        QFETCH(Dialogs::Answer, answer);
        Fixture f;
        f.dialogs.answers.append({answer, answer});
        ScreenDriver ui = f.open(f.settings);
        ui.select("ListView2", 0, "1", "Command5");
        ui.select("ListView1", 0, "1", "Command2");
        QCOMPARE(
            f.shown(),
            "Gewerk löschen|LfdNr: 1 löschen?          \nKostenstelle löschen|LfdNr: 1 löschen?          ");
        QVERIFY(f.asked(Dialogs::Icon::Question, Dialogs::Answer::Yes));
        QTEST(ui.column("ListView2", 0) + '|' + ui.column("ListView1", 0), "left");
        QCOMPARE(f.rows("tblFirma", "GewerkID"), "Elektro,ELEKTRO,");
    }

    // OK stores the details and closes; closing otherwise drops what was typed.
    void authorityDetailsSurviveReopen() {
        Fixture f;
        const QStringList fields{"Text3", "Text6", "Text7", "Text8", "Text4", "Text5"};
        const QStringList typed{"LRA Wernholm", "Bauamt", "97000", "Wernholm", "Wernholm", "Unterfranken"};
        ScreenDriver first = f.open(f.settings);
        for (int i = 0; i < fields.size(); ++i)
            first.type(fields[i], typed[i]);
        first.click("Command3");
        QVERIFY(!f.screen->isVisible());

        Settings reopened(f.settings.filePath());
        ScreenDriver ui = f.open(reopened);
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(ui.text(fields[i]), typed[i]);
        ui.type("Text6", "Hochbau");
        f.screen->close();
        QCOMPARE(reopened.value(AuthorityDetails::department) + '|' + ui.text("Text6"), "Bauamt|Bauamt");
    }
};

QTEST_MAIN(PresetsTest)
#include "PresetsTest.moc"
