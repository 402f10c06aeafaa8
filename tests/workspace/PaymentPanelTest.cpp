#include "DateField.h"
#include "WorkspaceFixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QTest>

using namespace Qt::StringLiterals;

// The entry tab's panel "Zahlung" driven as a clerk does: opened, it proposes retention, withholding and
// Skonto with their reasons, computes the amount paid out into the booking's amount, and the booking
// stores every figure beside it; taken back and booked again, the payment goes with the correction.
class PaymentPanelTest : public QObject {
    Q_OBJECT

    // An order of 100.000,00 € for "Hochbau Nord" with 5 % retained for performance and 2 % Skonto in 14
    // days, and the workspace opened on its project.
    struct Fixture : WorkspaceFixture {
        Fixture() {
            db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragArt, NachtragKosten) VALUES "
                    "(1, '1', 'Hochbau Nord', 'Auftrag vom', 100000)");
            db.exec("INSERT INTO tblZahlungsbedingung (ProjektID, FirmaID, NID, VOB, ErfuellungProzent, "
                    "ErfuellungForm, SkontoProzent, SkontoTage) SELECT '1', ID, 1, 1, 5, 'Einbehalt', 2, 14 "
                    "FROM tblFirma WHERE Name = 'Hochbau Nord'");
            open();
            QApplication::setActiveWindow(screen.get());
        }
        // Leaves the field as the clerk does, with Tab.
        void leave(const QString& field) { QTest::keyClick(find<QLineEdit>(field), Qt::Key_Tab); }
        // The number of payments stored, then the first: its booking ("B" for the one booking there is),
        // receipt, days to pay, amounts in cents, kind of retention and tax office.
        QString payment() {
            const QString count = db.scalar("SELECT COUNT(*) FROM tblZahlung");
            if (count == "0")
                return count + ';';
            return count + ';' +
                   db.scalar(
                       "SELECT CASE WHEN BuchungID = (SELECT MAX(ID) FROM tblBuchung) THEN 'B' END || '|' "
                       "|| Eingang || '|' || Frist || '|' || " +
                       amounts() +
                       " || '|' || coalesce(EinbehaltArt, '') || '|' || coalesce(Finanzamt, '') "
                       "FROM tblZahlung");
        }
        // The amounts of tblZahlung as cents, whatever type the engine gives a REAL.
        static QString amounts() {
            QStringList cents;
            for (const char* field : {"Rechnungsbetrag", "Brutto", "Einbehalt", "Bauabzug", "Skonto"})
                cents << u"coalesce(CAST(CAST(round(%1 * 100) AS INTEGER) AS TEXT), '-')"_s.arg(field);
            return cents.join(" || '/' || ");
        }
    };

private slots:
    // Each row: the gross amount typed, a retention the clerk types over the proposal, the payment day;
    // the proposals' reasons, the amount paid out and what is stored (an empty gross: never opened).
    void panelProposesComputesAndStores_data() {
        for (const char* column : {"gross", "retention", "paidOn", "shown", "paidOut", "stored"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char* name, const QStringList& cells) {
            QTest::newRow(name) << cells[0] << cells[1] << cells[2] << cells[3] << cells[4] << cells[5];
        };
        row("proposals taken",
            {"10.000,00", "", "10.03.2026",
             "23.03.2026|16.03.2026|200,00|10 % von 10.000,00 €|15 % Bauabzugsteuer|", "7.300,00",
             "1;B|46083|21|1000000/1000000/100000/150000/20000|Vertragserfüllung|Finanzamt Nord"});
        row("retention typed over",
            {"10.000,00", "500", "10.03.2026",
             "23.03.2026|16.03.2026|200,00|10 % von 10.000,00 €|15 % Bauabzugsteuer|", "7.800,00",
             "1;B|46083|21|1000000/1000000/50000/150000/20000|Vertragserfüllung|Finanzamt Nord"});
        row("Skonto lost",
            {"10.000,00", "", "17.03.2026",
             "23.03.2026|16.03.2026||10 % von 10.000,00 €|15 % Bauabzugsteuer|Skonto ist nur bis zum "
             "16.03.2026 möglich; angewiesen am 17.03.2026.",
             "7.500,00", "1;B|46083|21|1000000/1000000/100000/150000/-|Vertragserfüllung|Finanzamt Nord"});
        row("within 5.000 € a year",
            {"4.000,00", "", "10.03.2026",
             "23.03.2026|16.03.2026|80,00|10 % von 4.000,00 €|nicht über 5.000,00 €|", "3.520,00",
             "1;B|46083|21|400000/400000/40000/-/8000|Vertragserfüllung|"});
        row("never opened", {"", "", "10.03.2026", "", "1.234,56", "0;"});
    }
    void panelProposesComputesAndStores() {
        QFETCH(QString, gross);
        QFETCH(QString, retention);
        QFETCH(QString, paidOn);
        QFETCH(QString, shown);
        QFETCH(QString, paidOut);
        Fixture f;
        f.chooseCompany("Hochbau Nord");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("1. Abschlagszahlung");
        f.find<DateField>("dtpAnweisung")->setDate(QDate::fromString(paidOn, "dd.MM.yyyy"));
        if (gross.isEmpty()) {
            f.type("txtBetrag", paidOut);
        } else {
            auto* panel = f.find<QGroupBox>("fraZahlung");
            panel->setFocus();
            QTest::keyClick(panel, Qt::Key_Space);
            QVERIFY(panel->isChecked());
            f.find<DateField>("dtpEingang")->setDate(QDate(2026, 3, 2));
            f.type("txtBrutto", gross);
            f.leave("txtBrutto");
            if (!retention.isEmpty())
                f.typeOver("txtEinbehalt", retention);
            if (gross.startsWith("10"))
                f.type("txtFinanzamt", "Finanzamt Nord");
            const QStringList parts = shown.split('|');
            QCOMPARE(f.text("txtFaelligAm"), parts[0]);
            QCOMPARE(f.text("txtSkontoBis"), parts[1]);
            QCOMPARE(f.text("txtSkonto"), parts[2]);
            for (const auto& [label, part] :
                 {std::pair{"lblEinbehaltVorschlag", 3}, {"lblBauabzugVorschlag", 4}})
                QVERIFY2(f.find<QLabel>(label)->text().contains(parts[part]),
                         qPrintable(f.find<QLabel>(label)->text()));
            QCOMPARE(f.find<QLabel>("lblSkontoHinweis")->text(), parts[5]);
            QCOMPARE(f.text("txtAuszahlung"), paidOut);
            QVERIFY(f.find<QLineEdit>("txtBetrag")->isReadOnly());
        }
        QCOMPARE(f.text("txtBetrag"), paidOut);
        f.click("cmdBuchen");
        QCOMPARE(f.dialogs.shown.size(), 0);
        QCOMPARE(f.stored("CAST(round(Betrag * 100) AS INTEGER)"),
                 QString::number(Money::parseGerman(paidOut)->cents()));
        QTEST(f.payment(), "stored");
        QVERIFY(!f.find<QGroupBox>("fraZahlung")->isChecked());
        QVERIFY(!f.find<QLineEdit>("txtBetrag")->isReadOnly());

        // Taken back, the booking shows its payment; booked again, the payment goes with the correction.
        f.takeBack(false);
        QCOMPARE(f.find<QGroupBox>("fraZahlung")->isChecked(), !gross.isEmpty());
        QCOMPARE(f.text("txtBrutto"), gross);
        QCOMPARE(f.text("txtBetrag"), paidOut);
        f.click("cmdBuchen");
        QCOMPARE(f.db.scalar("SELECT COUNT(*) FROM tblBuchung"), "1");
        QTEST(f.payment(), "stored");
    }
};

QTEST_MAIN(PaymentPanelTest)
#include "PaymentPanelTest.moc"
