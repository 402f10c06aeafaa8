#include "Presets.h"
#include "ScreenFixture.h"

#include "AuthorityDetails.h"

#include <QStyle>
#include <QTabWidget>

// The presets driven through their widgets, checked against their lists, the database and the settings.
class PresetsTest : public QObject {
    Q_OBJECT

    // Trades and cost groups with known numbers.
    struct Fixture : DatabaseScreen<Presets> {
        Fixture() {
            db.clearPresets();
            db.exec("INSERT INTO tblGewerk (ID, Gewerk) VALUES (1, 'Elektro'), (2, 'Dach'), (10, 'Heizung')");
            db.exec("INSERT INTO tblKostengruppe (ID, Kostengruppe) VALUES (1, '300 Bauwerk'), (2, '200 "
                    "Erschließung')");
        }
    };

private slots:
    // A row leaves the font's whole height for its text inside the style's focus margins, so that the
    // dots of a capital umlaut are not cut.
    void rowsHoldCapitalUmlauts() {
        Fixture f;
        f.open(f.settings);
        auto* list = f.find<QTreeView>("ListView1");
        const QRect row = list->visualRect(list->model()->index(0, 1));
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, list);
        QVERIFY2(row.height() - 2 * margin >= list->fontMetrics().height(),
                 qPrintable(QString::number(row.height())));
    }

    // The lists are sorted by name. A cost group loaded for editing leaves the trade tab adding, and is
    // itself still saved as a change.
    void eachTabKeepsItsOwnEditMode() {
        Fixture f;
        f.open(f.settings);
        QTabWidget* tabs = f.find<QTabWidget>(QString());
        QCOMPARE(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2), "GewerkKostenstelleEigene Daten");
        QCOMPARE(f.column("ListView2", -1) + '|' + f.column("ListView1", -1),
                 "LfdNr.,Gewerk|LfdNr.,Kostenstelle");
        QCOMPARE(f.column("ListView2", 0) + '|' + f.column("ListView1", 1),
                 "2,1,10|200 Erschließung,300 Bauwerk");
        f.select("ListView1", 0, "1", "Command7");
        QCOMPARE(f.text("Text1"), "300 Bauwerk");
        f.select("ListView2", 1, "Dach");
        f.type("Text2", "Fenster", "Command4");
        QCOMPARE(f.rows("tblGewerk", "Gewerk"), "Elektro,Dach,Heizung,Fenster");
        f.type("Text1", "300 Bauwerk neu", "Command1");
        QCOMPARE(f.rows("tblKostengruppe", "Kostengruppe"), "300 Bauwerk neu,200 Erschließung");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // OK stores the details and closes; closing otherwise drops what was typed.
    void authorityDetailsSurviveReopen() {
        Fixture f;
        const QStringList fields{"Text3", "Text6", "Text7", "Text8", "Text4", "Text5"};
        const QStringList typed{"LRA Wernholm", "Bauamt", "97000", "Wernholm", "Wernholm", "Unterfranken"};
        f.open(f.settings);
        for (int i = 0; i < fields.size(); ++i)
            f.type(fields[i], typed[i]);
        f.click("Command3");
        QVERIFY(!f.screen->isVisible());

        Settings reopened(f.settings.filePath());
        f.open(reopened);
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(f.text(fields[i]), typed[i]);
        f.type("Text6", "Hochbau");
        f.screen->close();
        QCOMPARE(reopened.value(AuthorityDetails::department) + '|' + f.text("Text6"), "Bauamt|Bauamt");
    }
};

QTEST_MAIN(PresetsTest)
#include "PresetsTest.moc"
