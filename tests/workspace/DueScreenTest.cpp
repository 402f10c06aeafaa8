#include "DueScreen.h"
#include "BaseRateOperation.h"
#include "DayNumber.h"
#include "ExportScreen.h"
#include "Presets.h"
#include "Windows1252.h"
#include "WorkspaceFixture.h"

#include <QAction>
#include <QFile>
#include <QFont>
#include <QSignalSpy>

namespace {

// Monday, 02.06.2025.
constexpr int kToday = 45810;

QString day(int offset) {
    return DayNumber::format(kToday + offset);
}

} // namespace

// The window "Fälligkeiten" driven as a user would: rows and colours, the period, one project, print and
// export; its opening from the workspace; the base rate in the presets.
class DueScreenTest : public QObject {
    Q_OBJECT

    // A late instalment, a final invoice whose discount ends in two days and an instalment due in 11 days
    // in project 1; a final invoice 10 days late in project 2; the base rate 1,27 %.
    struct Fixture : WorkspaceFixture {
        Fixture() {
            db.exec(
                "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, RechnungsNr, Zahlungsart, Betrag) "
                "VALUES (1, '1', 'Schule', 'Hochbau Nord', 'R-1', '1. Abschlagszahlung', 1000), "
                "(2, '1', 'Schule', 'O''Neill & Co_%', 'R-2', 'Schlußzahlung', 1960), "
                "(3, '1', 'Schule', 'Hochbau Nord', 'R-3', '2. Abschlagszahlung', 500), "
                "(1, '2', 'Schule', 'Hochbau Nord', 'R-4', 'Schlußzahlung', 3000)");
            db.exec(
                "INSERT INTO tblZahlung (BuchungID, ProjektID, Eingang, SkontoProzent, SkontoTage, Brutto) "
                "SELECT ID, ProjektID, ? - CASE RechnungsNr WHEN 'R-1' THEN 22 WHEN 'R-2' THEN 5 WHEN "
                "'R-3' THEN 10 ELSE 40 END, CASE RechnungsNr WHEN 'R-2' THEN 2 END, CASE RechnungsNr "
                "WHEN 'R-2' THEN 7 END, CASE RechnungsNr WHEN 'R-2' THEN 2000 END FROM tblBuchung",
                {kToday});
            open();
            QVERIFY(
                BaseRateOperation(*session).save({127, DayNumber::fromDate(QDate(2025, 1, 1)), true}).ok());
        }
    };

    struct Window : WidgetDriver {
        DueScreen screen;
        explicit Window(Fixture& f) : screen(*f.session, f.dialogs) {
            screen.setToday(kToday);
            screen.show();
        }
        const QObject* root() const override { return &screen; }
        QString numbers() { return column("lvwFaelligkeiten", 1); }
        QVariant role(int row, int column, int role) {
            QAbstractItemModel* model = find<QTreeView>("lvwFaelligkeiten")->model();
            return model->index(row, column).data(role);
        }
    };

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // By due day: late rows in red with their interest, a discount about to be lost in bold orange.
    void rowsAndColours() {
        Fixture f;
        Window w(f);
        QCOMPARE(
            w.rows("lvwFaelligkeiten").replaceInStrings(QRegularExpression("\\|[^|]*\\|[^|]*\\|[^|]*$"), ""),
            (QStringList{"2 - Schule|001|Hochbau Nord|R-4|Schlußzahlung|" + day(-40) + '|' + day(-10) +
                             "|-10|||8,44|3.000,00",
                         "1 - Schule|001|Hochbau Nord|R-1|1. Abschlagszahlung|" + day(-22) + '|' + day(-1) +
                             "|-1|||" + "|1.000,00",
                         "1 - Schule|003|Hochbau Nord|R-3|2. Abschlagszahlung|" + day(-10) + '|' + day(11) +
                             "|11|||" + "|500,00",
                         "1 - Schule|002|O'Neill & Co_%|R-2|Schlußzahlung|" + day(-5) + '|' + day(25) +
                             "|25|" + day(2) + "|40,00||1.960,00"}));
        QCOMPARE(w.role(0, 2, Qt::ForegroundRole).value<QBrush>().color(), QColor(0xc0, 0x00, 0x00));
        QCOMPARE(w.role(1, 11, Qt::ForegroundRole).value<QBrush>().color(), QColor(0xc0, 0x00, 0x00));
        QVERIFY(!w.role(2, 2, Qt::ForegroundRole).isValid());
        QVERIFY(w.role(3, 8, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!w.role(3, 2, Qt::FontRole).isValid());
        QCOMPARE(w.find<QLabel>("lblAnzahl")->text(), QString("4 Rechnungen offen, davon 2 überfällig"));
        QVERIFY(w.find<QLabel>("lblBasiszins")->text().startsWith("Basiszinssatz 1,27 % seit 01.01.2025"));
        w.clickHeading("lvwFaelligkeiten", 11);
        QCOMPARE(w.numbers(), QString("003,001,002,001"));
    }

    // The period keeps what falls due or loses its discount within it, the late ones always; a project
    // narrows the list to its invoices. A receipt another workstation takes back leaves the list: on the
    // server through its notification, on the file when the window is activated.
    void periodProjectAndFollowing_data() {
        QTest::addColumn<QString>("period");
        QTest::addColumn<QString>("numbers");
        QTest::newRow("all") << "alle"
                             << "001,001,003,002";
        QTest::newRow("7 days") << "nächste 7 Tage"
                                << "001,001,002";
        QTest::newRow("14 days") << "nächste 14 Tage"
                                 << "001,001,003,002";
    }
    void periodProjectAndFollowing() {
        QFETCH(QString, period);
        QFETCH(QString, numbers);
        Fixture f;
        Window w(f);
        QCOMPARE(w.items("cboFaelligkeitenZeitraum"),
                 (QStringList{"alle", "nächste 7 Tage", "nächste 14 Tage", "nächste 30 Tage"}));
        w.choose("cboFaelligkeitenZeitraum", period);
        QCOMPARE(w.numbers(), numbers);
        w.screen.setProject("1", "Schule");
        QCOMPARE(w.numbers(), numbers.mid(4));
        f.db.execElsewhere(
            "UPDATE tblZahlung SET Eingang = NULL WHERE BuchungID = (SELECT ID FROM tblBuchung WHERE "
            "RechnungsNr = 'R-1')");
        if (!f.db.onServer()) {
            QEvent activation(QEvent::WindowActivate);
            QCoreApplication::sendEvent(&w.screen, &activation);
            // This window asked, before the workspace's window is activated too and asks for it.
            QCOMPARE(w.numbers(), numbers.mid(8));
        }
        QTRY_COMPARE(w.numbers(), numbers.mid(8));
    }

    // Printed and exported as shown, with the project, the period and the day in the headings.
    void printAndExport() {
        Fixture f;
        Window w(f);
        w.choose("cboFaelligkeitenZeitraum", "nächste 7 Tage");
        QSignalSpy printed(&w.screen, &DueScreen::printRequested);
        w.click("cmdDrucken");
        QCOMPARE(printed.size(), 1);
        const ListSnapshot snapshot = w.screen.snapshot();
        QCOMPARE(snapshot.kind, ListSnapshot::Kind::Due);
        QStringList shown;
        for (const QStringList& row : snapshot.rows)
            shown += row.join('|');
        QCOMPARE(shown,
                 w.rows("lvwFaelligkeiten").replaceInStrings(QRegularExpression("(\\|[^|]*){3}$"), ""));
        QCOMPARE(snapshot.value("Zeitraum") + '|' + snapshot.value("Stichtag") + '|' +
                     snapshot.value("Projekt"),
                 QString("nächste 7 Tage|02.06.2025|alle Projekte"));

        w.click("cmdExport");
        auto* exporting = w.screen.findChild<ExportScreen*>();
        QVERIFY(exporting);
        const QString path = f.dir.filePath("faellig.csv");
        f.dialogs.files.enqueue(path);
        WidgetDriver(exporting).click("Command1");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(
            lines.mid(0, 3),
            (QList<QByteArray>{
                Windows1252::encode(
                    u"Fälligkeiten  -  alle Projekte  -  Zeitraum: nächste 7 Tage  -  Stand 02.06.2025\r"),
                "\r",
                Windows1252::encode(
                    u"Projekt;Nr.;Firma;Rechnungs-Nr.;Zahlungsart;Eingang;Fällig am;Tage;Skonto "
                    u"bis;Skonto;Zinsen;Betrag\r")}));
        QCOMPARE(lines.value(3),
                 Windows1252::encode(QString("2 - Schule;001;Hochbau Nord;R-4;Schlußzahlung;" + day(-40) +
                                             ';' + day(-10) + ";-10;;;8,44;3.000,00\r")));
        QCOMPARE(lines.size(), 3 + 3 + 1);
    }

    // The booking list's menu opens the project's invoices.
    void fromWorkspace() {
        Fixture f;
        QSignalSpy asked(f.screen.get(), &Workspace::dueRequested);
        f.find<QAction>("cmdFaelligkeiten")->trigger();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().value(0).toString() + '|' + asked.first().value(1).toString(),
                 QString("1|Schule"));
    }

    // The base rate typed in the presets is saved for every workstation; a rate not in percent is refused
    // and nothing is saved.
    void baseRateInPresets_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("since");
        QTest::addColumn<QString>("stored");
        QTest::newRow("negative") << "-0,88"
                                  << "01.01.2020"
                                  << "-88|43831";
        QTest::newRow("without day") << "3,62"
                                     << ""
                                     << "362|";
        QTest::newRow("three decimals") << "1,275"
                                        << ""
                                        << "127|45658";
        QTest::newRow("no day") << "1,27"
                                << "31.02.2025"
                                << "127|45658";
    }
    void baseRateInPresets() {
        QFETCH(QString, rate);
        QFETCH(QString, since);
        QFETCH(QString, stored);
        Fixture f;
        Presets presets(*f.session, f.dialogs, *f.settings);
        WidgetDriver driver(&presets);
        QCOMPARE(driver.text("txtBasiszinssatz") + '|' + driver.text("txtBasiszinsAb"),
                 QString("1,27|01.01.2025"));
        driver.type("txtBasiszinssatz", rate);
        driver.type("txtBasiszinsAb", since);
        driver.click("Command3");
        const BaseRate read = PaymentRules::baseRate(*f.session);
        QCOMPARE(QString::number(read.hundredths) + '|' +
                     (read.since ? QString::number(*read.since) : QString()),
                 stored);
        QCOMPARE(f.dialogs.shown.isEmpty(),
                 stored.startsWith(QString::number(PaymentRules::parseRate(rate).value_or(0))) &&
                     since != "31.02.2025");
    }
};

QTEST_MAIN(DueScreenTest)
#include "DueScreenTest.moc"
