#include "WorkspaceFixture.h"

#include <QRadioButton>

class EvaluationTest : public QObject {
    Q_OBJECT

    struct Fixture : WorkspaceFixture {
        explicit Fixture(const QString& bookings) {
            db.exec(
                "INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Kostengruppe, AnweisungVom, Betrag) "
                "VALUES " +
                bookings);
            open();
            showTab(Workspace::EvaluationTabIndex);
        }
        QString column(int column) { return WorkspaceFixture::column(column, "ListView3"); }
        QString shown() { return column(0) + '|' + text("txtTeilsumme") + '|' + status(); }
        QString checkedOption() {
            for (const char* name : {"optFirma", "optGewerk", "optKostengruppe", "optJahr"})
                if (find<QRadioButton>(name)->isChecked())
                    return name;
            return {};
        }
    };

private slots:
    void yearTakesTheWholeCalendarYear_data() {
        QTest::addColumn<double>("day");
        QTest::addColumn<QString>("shown");
        const QString without = "002|1,00|Buchungen: 1", with = "001,002|11,00|Buchungen: 2";
        QTest::newRow("31.12.2023") << 45291.0 << without;
        QTest::newRow("01.01.2024") << 45292.0 << with;
        QTest::newRow("31.12.2024") << 45657.0 << with;
        QTest::newRow("01.01.2025") << 45658.0 << without;
        QTest::newRow("31.12.2023 18:00") << 45291.75 << without;
        QTest::newRow("31.12.2024 18:00") << 45657.75 << with;
    }
    void yearTakesTheWholeCalendarYear() {
        QFETCH(double, day);
        Fixture f(QString("(1, '1', 'A', '', '', %1, 10), (2, '1', 'B', '', '', 45400, 1)").arg(day));
        auto* year = f.find<QDateEdit>("dtpJahr");
        year->setDate(QDate(2023, 6, 15));
        QCOMPARE(year->text() + '|' + f.checkedOption(), "2023|optJahr");
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Up);
        QCOMPARE(year->text(), "2024");
        QTEST(f.shown(), "shown");
    }

    void bookingsAreListedInNumberOrderAndAddedInCents() {
        Fixture f(
            "(105, '1', 'A', '', '', 0, NULL), (7, '1', 'A', '', '', 0, 0.1), (12, '1', 'A', '', '', 0, "
            "'zehn'), (1, '1', 'A', '', '', 0, 0.2), (5, '1', 'A', '', '', 0, ''), (2, '2', 'A', '', '', 0, "
            "5)");
        QCOMPARE(f.shown(), "001,005,007,012,105|0,30|Buchungen: 5");
        QCOMPARE(f.column(7), "0,20,,0,10,,");
    }

    void choosingAnEntrySelectsItsOption_data() {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("criterion");
        QTest::newRow("trade") << "cboAuswertungGewerk"
                               << "optGewerk"
                               << "003"
                               << "Gewerk: Elektro";
        QTest::newRow("cost group") << "cboAuswertungKostengruppe"
                                    << "optKostengruppe"
                                    << "002"
                                    << "Kostengruppe: 400";
        QTest::newRow("company") << "cboAuswertungFirma"
                                 << "optFirma"
                                 << "002,003"
                                 << "Firma: Bau";
    }
    void choosingAnEntrySelectsItsOption() {
        QFETCH(QString, picker);
        QFETCH(QString, criterion);
        Fixture f("(1, '1', 'Aal', 'Dach', '300', 45300, 1), (2, '1', 'Bau', 'Dach', '400', 45300, 1), "
                  "(3, '1', 'Bau', 'Elektro', '300', 45300, 1)");
        QCOMPARE(f.column(0), "001");
        f.click("optJahr");
        auto* box = f.find<QComboBox>(picker);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QTEST(f.checkedOption(), "option");
        QTEST(f.column(0), "rows");
        QCOMPARE(criterion.section(": ", 0, 0) + ": " +
                     f.screen->snapshot().value(criterion.section(": ", 0, 0)),
                 criterion);
    }

    void namesMatchOnlyThemselves() {
        Fixture f(
            "(1, '1', 'Ärzte*', 'x', '', 0, 1), (2, '1', 'ÄRZTE*', 'x', '', 0, 1), (3, '1', 'Ärzte?', 'x', "
            "'', 0, 1), (4, '1', 'Ärztehaus', 'x', '', 0, 1), (5, '2', 'Ärzte*', 'x', '', 0, 1)");
        f.choose("cboAuswertungFirma", "Ärzte*");
        QCOMPARE(f.column(0), "001,002");
        f.choose("cboAuswertungFirma", "Ärzte?");
        QCOMPARE(f.column(0), "003");
    }

    void waitingBookingIsLeftOutUntilBooked() {
        Fixture f(
            "(1, '1', 'Hochbau Nord', 'Rohbau', '', 0, 10), (2, '1', 'Hochbau Nord', 'Rohbau', '', 0, 5)");
        f.takeBack(false);
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.shown(), "002|5,00|Buchungen: 1");
        f.showTab(Workspace::EntryTabIndex);
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        f.click("cmdBuchen");
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.shown(), "002,003|15,00|Buchungen: 2");
    }

    void headingsSortByDayNumberAmountAndTheColumnBefore() {
        Fixture f("(1, '1', 'A', '', '', 45292, 9), (2, '1', 'A', '', '', 38353, 10), (3, '1', 'A', '', '', "
                  "45000, 100)");
        f.db.exec("UPDATE tblBuchung SET RechnungVom = AnweisungVom WHERE PID <> 2");
        f.click("cmdAuswertungAktualisieren");
        for (const auto& [heading, column, shown] : {std::tuple{3, 3, "01.01.2024,15.03.2023,01.01.2005"},
                                                     {3, 3, "01.01.2005,15.03.2023,01.01.2024"},
                                                     {8, 0, "001,003,002"},
                                                     {4, 0, "002,003,001"},
                                                     {7, 7, "100,00,10,00,9,00"}}) {
            f.clickHeading(heading, "ListView3");
            QCOMPARE(f.column(column), shown);
        }
        f.click("cmdAuswertungAktualisieren");
        QCOMPARE(f.column(0), "001,002,003");
        f.clickHeading(0, "ListView3");
        QCOMPARE(f.column(0), "003,002,001");
    }

    void activationShowsTheFirstCompanyAndTheTabRebuilds() {
        Fixture f("(1, '1', 'Zimmerei', '', '', 0, 1), (2, '1', 'Aal', '', '', 0, 2), (3, '1', 'Aal', '', "
                  "'', 0, 3)");
        QCOMPARE(f.checkedOption() + '|' + f.shown(), "optFirma|002,003|5,00|Buchungen: 2");
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (4, '1', 'Aal', 4)");
        f.showTab(Workspace::EntryTabIndex);
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.shown(), "002,003,004|9,00|Buchungen: 3");
    }
};

QTEST_MAIN(EvaluationTest)
#include "EvaluationTest.moc"
