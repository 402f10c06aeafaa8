#include "BookingChecks.h"
#include "BudgetRepository.h"
#include "ChartSeries.h"
#include "DayNumber.h"
#include "PrintExportFixture.h"
#include "ProjectManager.h"
#include "ProjectSums.h"
#include "QPainterPrintEngine.h"
#include "Reports.h"
#include "ScreenFixture.h"
#include "WorkspaceFixture.h"

#include <QColor>
#include <QDateEdit>

class BudgetTest : public QObject {
    Q_OBJECT

    // "amount/invoice/company" items separated by ";" as bookings of the project.
    static QList<Booking> bookings(const QString& items) {
        QList<Booking> rows;
        for (const QString& item : items.split(';', Qt::SkipEmptyParts)) {
            Booking& booking = rows.emplaceBack();
            booking.amount = Money::parseGerman(item.section('/', 0, 0));
            booking.invoiceNumber = item.section('/', 1, 1);
            booking.company = item.section('/', 2, 2).isEmpty() ? "Hochbau Nord" : item.section('/', 2, 2);
            booking.runningNumber = int(rows.size()) + 6;
            booking.instructedOn = 45000;
        }
        return rows;
    }

    static EstimateRow order(const QString& company, std::optional<Money> cost, Money calculation = {}) {
        EstimateRow row;
        row.company = company;
        row.orderKind = "Auftrag vom";
        row.architectDate = row.orderDate = 1;
        row.architectCost = calculation;
        row.orderCost = cost;
        return row;
    }

private slots:
    void projectListShowsTheBudgetFigures_data() {
        for (const char* column : {"budget", "paid", "committed", "shown"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<bool>("red");
        QTest::newRow("under") << "1.000"
                               << "300.1, 99.9"
                               << "400, 100"
                               << "1.000,00|400,00|500,00|500,00|50,00" << false;
        QTest::newRow("paid up to the cent") << "1.000"
                                             << "999.99, 0.01"
                                             << ""
                                             << "1.000,00|1.000,00|0,00|0,00|100,00" << false;
        QTest::newRow("paid a cent over") << "1.000"
                                          << "1000.01"
                                          << "1000"
                                          << "1.000,00|1.000,01|1.000,00|-0,01|100,00" << true;
        QTest::newRow("committed over") << "1.000"
                                        << ""
                                        << "1200"
                                        << "1.000,00|0,00|1.200,00|-200,00|120,00" << true;
        QTest::newRow("no budget") << ""
                                   << "5"
                                   << "7"
                                   << "|5,00|7,00||" << false;
    }
    void projectListShowsTheBudgetFigures() {
        QFETCH(QString, budget);
        QFETCH(QString, paid);
        QFETCH(QString, committed);
        DatabaseScreen<ProjectManager> f;
        f.db.exec("INSERT INTO tblProjekt (ID, ProjektName) VALUES (1, 'Alt')");
        f.db.exec("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', 1000000)");
        for (const QString& amount : paid.split(", ", Qt::SkipEmptyParts))
            f.db.exec("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES (' 2 ', ?)", {amount.toDouble()});
        for (const QString& amount : committed.split(", ", Qt::SkipEmptyParts))
            f.db.exec("INSERT INTO tblNachtrag (ProjektID, NachtragKosten) VALUES ('2', ?)",
                      {amount.toDouble()});
        f.open();
        f.type("txtBudget", budget);
        f.type("txtName", "Neu", "cmdHinzufuegen");
        f.select("lvwProjekte", 1, "Neu");
        const int row = f.find<QTreeView>("lvwProjekte")->currentIndex().row();
        QStringList shown;
        QAbstractItemModel* model = f.find<QTreeView>("lvwProjekte")->model();
        for (int column = 3; column <= 7; ++column)
            shown << model->index(row, column).data().toString();
        QTEST(shown.join('|'), "shown");
        QTEST(model->index(row, 6).data(Qt::ForegroundRole).value<QColor>() == Qt::red, "red");
        QCOMPARE(f.db.scalar("SELECT COUNT(*) FROM tblBudget WHERE ProjektID = 2 AND Budget = 1000"),
                 budget.isEmpty() ? "0" : "1");
    }

    // Another program changes the rows; the next fill shows what they hold, whether the triggers kept the
    // sums whole or the list adds up the rows itself, and the next opening makes the sums whole again.
    void figuresFollowChangesBehindTheProgramsBack_data() {
        for (const char* column : {"file", "server", "shown"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<bool>("kept");
        const QString changed = "UPDATE tblBuchung SET Betrag = 70 WHERE Betrag = 50";
        const QString removed = "DELETE FROM tblBuchung WHERE Betrag = 100";
        QTest::newRow("booking added") << "INSERT INTO tblBuchung (ProjektID, Betrag) VALUES (' 2', 0.25)"
                                       << ""
                                       << "150,25|400,00" << true;
        QTest::newRow("amount changed") << changed << ""
                                        << "170,00|400,00" << true;
        QTest::newRow("booking moved to another project")
            << "UPDATE tblBuchung SET ProjektID = '3' WHERE Betrag = 50"
            << ""
            << "100,00|400,00" << true;
        QTest::newRow("booking deleted") << removed << ""
                                         << "50,00|400,00" << true;
        QTest::newRow("bookings emptied") << "DELETE FROM tblBuchung"
                                          << "TRUNCATE tblBuchung"
                                          << "0,00|400,00" << true;
        QTest::newRow("estimate row added")
            << "INSERT INTO tblNachtrag (ProjektID, NachtragKosten) VALUES ('2', 1)"
            << ""
            << "150,00|401,00" << true;
        QTest::newRow("estimate row changed") << "UPDATE tblNachtrag SET NachtragKosten = 0.5"
                                              << ""
                                              << "150,00|0,50" << true;
        QTest::newRow("estimate row deleted") << "DELETE FROM tblNachtrag WHERE NachtragKosten = 400"
                                              << ""
                                              << "150,00|0,00" << true;
        QTest::newRow("estimate rows emptied") << "DELETE FROM tblNachtrag"
                                               << "TRUNCATE tblNachtrag"
                                               << "150,00|0,00" << true;
        QTest::newRow("amount as another program writes it")
            << "UPDATE tblBuchung SET Betrag = '12,50' WHERE Betrag = 50"
            << "UPDATE tblBuchung SET Betrag = 12.5 WHERE Betrag = 50"
            << "112,50|400,00" << true;
        QTest::newRow("amount beyond the engine's cents")
            << "INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('2', 1e13)"
            << ""
            << "10.000.000.000.150,00|400,00" << true;
        QTest::newRow("trigger dropped or switched off, then an amount changed")
            << "DROP TRIGGER zlv_summe_tblBuchung_update; " + changed
            << "ALTER TABLE tblBuchung DISABLE TRIGGER zlv_summe; " + changed << "170,00|400,00" << false;
        QTest::newRow("trigger made anew after a deletion")
            << "DROP TRIGGER zlv_summe_tblBuchung_delete; " + removed +
                   "; CREATE TRIGGER zlv_summe_tblBuchung_delete AFTER DELETE ON tblBuchung BEGIN SELECT 1; "
                   "END"
            << "DROP TRIGGER zlv_summe ON tblBuchung; " + removed +
                   "; CREATE TRIGGER zlv_summe AFTER INSERT ON tblBuchung FOR EACH ROW EXECUTE FUNCTION "
                   "zlv_summe_tblbuchung()"
            << "50,00|400,00" << false;
    }
    void figuresFollowChangesBehindTheProgramsBack() {
        QFETCH(QString, file);
        QFETCH(QString, server);
        DatabaseScreen<ProjectManager> f;
        f.db.exec("INSERT INTO tblProjekt (ID, ProjektName) VALUES (2, 'B')");
        f.db.exec("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('2', 100), ('2', 50)");
        f.db.exec("INSERT INTO tblNachtrag (ProjektID, NachtragKosten) VALUES ('2', 400)");
        f.open();
        f.db.execElsewhere(f.db.onServer() && !server.isEmpty() ? server : file);
        const auto shown = [&] {
            f.screen->EINLESEN();
            return f.column("lvwProjekte", 4) + '|' + f.column("lvwProjekte", 5);
        };
        const QString figures = shown();
        QTEST(figures, "shown");
        Money paid;
        QList<Booking> rows;
        QVERIFY(BudgetRepository(f.db.db()).readPayments("2", std::nullopt, "B", paid, rows));
        QCOMPARE(paid.toGerman(), figures.section('|', 0, 0));
        QTEST(ProjectSums(f.db.db()).whole(), "kept");
        QVERIFY(f.db.reopen());
        QVERIFY(ProjectSums(f.db.db()).whole());
        QTEST(shown(), "shown");
    }

    void figuresSortByValueAndGoWithTheProject() {
        DatabaseScreen<ProjectManager> f;
        f.db.exec("INSERT INTO tblProjekt (ID, ProjektName) VALUES (1, 'A'), (2, 'B'), (3, 'C')");
        f.db.exec("INSERT INTO tblBudget (ProjektID, Budget) VALUES (1, 1000), (2, 9), (3, 10)");
        f.open();
        f.clickHeading("lvwProjekte", 3);
        QCOMPARE(f.column("lvwProjekte", 3), "9,00,10,00,1.000,00");
        f.select("lvwProjekte", 1, "B", "cmdBearbeiten");
        QCOMPARE(f.text("txtBudget"), "9,00");
        f.type("txtBudget", "-");
        f.click("cmdHinzufuegen");
        QVERIFY(f.messages().startsWith("Budget unvollständig: „-“ ist kein Betrag."));
        f.type("txtBudget", "");
        f.click("cmdHinzufuegen");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.select("lvwProjekte", 1, "C", "cmdLoeschen");
        QCOMPARE(f.db.scalar("SELECT COUNT(*) || ':' || MIN(ProjektID) FROM tblBudget"), "1:1");
    }

    void warningsNameTheFigures_data() {
        for (const char* column : {"booked", "orders", "budget", "amount", "invoice", "warnings"})
            QTest::addColumn<QString>(column);
        const QString award =
            "Die Zahlungen an Hochbau Nord übersteigen danach Auftrag und Nachträge (1.200,00 €) um %1.";
        const QString budget = "Das Budget des Projekts (5.000,00 €) wird damit um %1 überschritten.";
        QTest::newRow("award reached") << "1.100"
                                       << "1000;200"
                                       << ""
                                       << "100"
                                       << ""
                                       << "";
        QTest::newRow("award a cent over") << "1.100"
                                           << "1000;200"
                                           << ""
                                           << "100,01"
                                           << "" << award.arg("0,01 €");
        QTest::newRow("payments to others do not count") << "1.100;50//Andere"
                                                         << "1000;200"
                                                         << ""
                                                         << "100"
                                                         << ""
                                                         << "";
        QTest::newRow("no order, no award warning") << "1.100"
                                                    << ""
                                                    << ""
                                                    << "100.000"
                                                    << ""
                                                    << "";
        QTest::newRow("invoice booked, case and blanks aside")
            << "1.100/r17"
            << ""
            << ""
            << "1"
            << "R 17"
            << "Die Rechnung r17 von Hochbau Nord ist bereits gebucht (LfdNr. 007 vom 15.03.2023 über "
               "1.100,00 €).";
        QTest::newRow("other invoice, other company, empty number") << "1/R17/Andere;2/;3/R18"
                                                                    << ""
                                                                    << ""
                                                                    << "1"
                                                                    << "R17"
                                                                    << "";
        QTest::newRow("budget reached") << "4.999,99"
                                        << ""
                                        << "5.000"
                                        << "0,01"
                                        << ""
                                        << "";
        QTest::newRow("budget a cent over, with the award")
            << "4.999,99"
            << "5000"
            << "5.000"
            << "0,02"
            << "" << award.arg("0,01 €").replace("1.200,00", "5.000,00") + '|' + budget.arg("0,01 €");
    }
    void warningsNameTheFigures() {
        QFETCH(QString, booked);
        QFETCH(QString, orders);
        QFETCH(QString, budget);
        QFETCH(QString, amount);
        QFETCH(QString, invoice);
        const QList<Booking> rows = bookings(booked);
        QList<EstimateRow> estimates;
        for (const QString& order : orders.split(';', Qt::SkipEmptyParts))
            estimates.append(BudgetTest::order("HOCHBAU NORD", Money::parseGerman(order)));
        estimates.append(BudgetTest::order("Hochbau Nord", std::nullopt));
        Money paid;
        for (const Booking& row : rows)
            paid += *row.amount;
        Booking booking = bookings(amount + '/' + invoice).first();
        QStringList texts;
        for (const BookingChecks::Warning& warning :
             BookingChecks::check(booking, rows, estimates, paid, Money::parseGerman(budget)))
            texts << warning.text;
        QTEST(texts.join('|'), "warnings");
    }

    // The project's payments as stored: another company's, the company's own with its invoice (booked
    // twice, named by the first running number), a booking taken back for correction (left out), and on
    // the file an amount another program wrote as text.
    void warningsTakeTheStoredPayments() {
        WorkspaceFixture f;
        f.db.exec("INSERT INTO tblBudget (ProjektID, Budget) VALUES (1, 100)");
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, RechnungsNr, AnweisungVom, Betrag) VALUES "
                  "(1, '1', 'Andere', '', 45000, 30), (2, '1', 'HOCHBAU NORD', 'R 5', 45000, 40), "
                  "(3, '2', 'Hochbau Nord', 'R 6', 45000, 1000), (6, ' 1', 'HOCHBAU NORD', 'R5', 45000, 0)");
        if (!f.db.onServer())
            f.db.exec(
                "INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (4, '1', 'Andere', '5,00')");
        f.open();
        f.takeBack(false, 0);
        f.showTab(Workspace::EntryTabIndex);
        f.book("Hochbau Nord", "Rückhalt", f.db.onServer() ? "60,01" : "55,01");
        QCOMPARE(f.dialogs.lastText(),
                 "Das Budget des Projekts (100,00 €) wird damit um 0,01 € überschritten."
                 "\n\nTrotzdem buchen?");
        f.type("txtRechnungsNr", "r5");
        f.book("Hochbau Nord", "Rückhalt", "1");
        QVERIFY2(f.dialogs.lastText().startsWith(
                     "Die Rechnung R 5 von Hochbau Nord ist bereits gebucht (LfdNr. 002"),
                 qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.dialogs.shown.size(), 3);
    }

    void warningsAskBeforeTheEntryTabBooks() {
        WorkspaceFixture f;
        f.db.exec("INSERT INTO tblBudget (ProjektID, Budget) VALUES (1, 100)");
        f.open();
        f.book("Hochbau Nord", "Rückhalt", "100,01");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.last().defaultButton, Dialogs::Answer::No);
        QCOMPARE(f.dialogs.lastText(),
                 "Das Budget des Projekts (100,00 €) wird damit um 0,01 € überschritten."
                 "\n\nTrotzdem buchen?");
        QCOMPARE(f.stored("Betrag") + '|' + f.text("txtBetrag"), "|100,01");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdBuchen");
        QCOMPARE(f.stored("Betrag") + '|' + f.text("txtBetrag"), "100.01|");
    }

    void chartsTakeTheCostReport_data() {
        QTest::addColumn<int>("companies");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("bars");
        QTest::addColumn<QString>("months");
        QTest::newRow("fifteen alone, the rest as one")
            << 17 << 0
            << "F17:17,00:8,50:17,00 F16 F15 F14 F13 F12 F11 F10 F09 F08 F07 F06 F05 F04 F03 "
               "Übrige:3,00:1,50:3,00"
            << "Dez 2023:1,00:1,00 Jan 2024:0,00:1,00 Feb 2024:152,00:153,00";
        QTest::newRow("fifteen, one year")
            << 15 << 2024 << "F15:15,00:7,50:15,00 F14 F13 F12 F11 F10 F09 F08 F07 F06 F05 F04 F03 F02 F01"
            << "Jan 2024:0,00:1,00 Feb 2024:119,00:120,00 Mär 2024:0,00:120,00";
    }
    void chartsTakeTheCostReport() {
        QFETCH(int, companies);
        QFETCH(int, year);
        QList<BookingRepository::CompanySum> sums;
        QList<EstimateRow> rows;
        QHash<int, Money> byDay{{DayNumber::fromDate(QDate(2023, 12, 24)), Money::fromCents(100)}};
        for (int i = 1; i <= companies; ++i) {
            const QString name = QString("F%1").arg(i, 2, 10, QChar('0'));
            BookingRepository::CompanySum& sum = sums.emplaceBack();
            sum.company = name;
            sum.amount = Money::fromCents(i * 100);
            rows.append(order(name, Money::fromCents(i * 50), Money::fromCents(i * 100)));
            byDay[DayNumber::fromDate(QDate(2024, 2, i))] += Money::fromCents(i * 100 - (i == 1 ? 100 : 0));
        }
        const CostReport report = CostReport::compute(sums, rows, std::nullopt, byDay);
        QStringList bars;
        for (const ChartSeries::CompanyBar& bar : ChartSeries::companyBars(report))
            bars << (bars.isEmpty() || bar.label == ChartSeries::kOthers
                         ? QStringList{bar.label, bar.calculation.toGerman(), bar.committed.toGerman(),
                                       bar.payments.toGerman()}
                               .join(':')
                         : bar.label);
        QStringList months;
        for (const ChartSeries::Month& month : ChartSeries::outflow(report, year).mid(0, 3))
            months << QStringList{ChartSeries::monthLabel(month.month), month.payments.toGerman(),
                                  month.runningTotal.toGerman()}
                          .join(':');
        QTEST(bars.join(' '), "bars");
        QTEST(months.join(' '), "months");
    }

    void chartPagePrintsOnOneLandscapePage() {
        WorkspaceFixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom, Betrag) VALUES "
                  "(1, '1', 'Hochbau Nord', 45310, 1234.5), (2, '1', 'Maler Schulz', 45340, 99)");
        f.db.exec("INSERT INTO tblBudget (ProjektID, Budget) VALUES (1, 5000)");
        f.open();
        f.showTab(Workspace::ChartsTabIndex);
        QCOMPARE(f.items("cboZeitraum"), QStringList({"Gesamtes Projekt", "2024"}));
        QPainterPrintEngine engine;
        engine.SelectPrinter(QPainterPrintEngine::pdfTargetName());
        engine.SetOrientation(PrintEngine::Landscape);
        engine.SetPaperSize(PrintEngine::PaperA4);
        engine.SetPrintDirect(true);
        const QString pdf = f.dir.filePath("Diagramme.pdf");
        engine.setPdfFilePath(pdf);
        buildReport(engine, f.screen->snapshot(), {"Bauamt", "Hochbau", "97070", "Würzburg"});
        engine.EndTable();
        engine.EndDocument();
        QCOMPARE(engine.ShowDocument(), PrintEngine::Outcome::Done);
        QCOMPARE(PrintExport::pdfInfo(pdf, "Pages") + '|' + PrintExport::pdfInfo(pdf, "Page size"),
                 "1|842 x 595 pts (A4)");
        const QString text = PrintExport::pdfText(pdf);
        for (const char* expected : {"Diagramme", "Projekt: Schule", "Kostenbericht je Firma", "Hochbau Nord",
                                     "Mittelabfluss", "Jan 24", "Feb 24", "Budget", "Seite 1 von 1"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY2(text.contains(QRegularExpression("\\d\\.000 €")), "German amounts on the axes");
    }
};

QTEST_MAIN(BudgetTest)
#include "BudgetTest.moc"
