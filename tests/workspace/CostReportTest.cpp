#include "CostReport.h"
#include "BookingListTab.h"
#include "CostReportModel.h"
#include "CostReportTab.h"
#include "ReportListView.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "Twips.h"
#include "WorkspaceContext.h"

#include <memory>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

BookingRepository::CompanySum company(const QString& name, qint64 cents) {
    BookingRepository::CompanySum sum;
    sum.company = name;
    sum.amount = Money::fromCents(cents);
    return sum;
}

EstimateRow estimate(const QString& company, const QString& kind, std::optional<qint64> architectCents,
                     std::optional<qint64> orderCents, std::optional<int> architectDate = 45000,
                     std::optional<int> orderDate = 45001) {
    EstimateRow row;
    row.projectId = QStringLiteral("1");
    row.company = company;
    row.orderKind = kind;
    row.architectDate = architectDate;
    row.orderDate = orderDate;
    if (architectCents)
        row.architectCost = Money::fromCents(*architectCents);
    if (orderCents)
        row.orderCost = Money::fromCents(*orderCents);
    return row;
}

} // namespace

// The cost report: its sums per company and in total, computed from the project's bookings and estimate
// rows, and the tab's list with its texts, colours and hand-over.
class CostReportTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestDatabase db;
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        Settings settings{dir.filePath("zlv.ini")};
        WorkspaceContext context{db.db(), dialogs, settings, "1", "Schule", std::nullopt, std::nullopt};
        CostReportTab tab{context, nullptr};

        void book(const QString& company, const QVariant& amount, const QString& trade = {},
                  const QString& costGroup = {}, const QString& project = "1") {
            db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, Betrag) "
                    "VALUES (1, ?, 'Schule', ?, ?, ?, ?)",
                    {project, company, trade, costGroup, amount});
        }
        void estimate(const QString& company, int nid, const QString& kind, const QVariant& architectCost,
                      const QVariant& orderCost, const QVariant& architectDate = 45000,
                      const QVariant& orderDate = 45001, const QString& project = "1") {
            db.exec(
                "INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, ArchitektDatum, ArchitektKosten, "
                "NachtragDatum, NachtragArt, NachtragKosten) VALUES (?, ?, 'Schule', ?, ?, ?, ?, ?, ?)",
                {nid, project, company, architectDate, architectCost, orderDate, kind, orderCost});
        }
        QTreeView* list() { return tab.findChild<QTreeView*>("ListView4"); }
        // Each row of the list as shown, its cells joined by "|".
        QStringList rows() {
            tab.KostenberichtEinlesen();
            QAbstractItemModel* model = list()->model();
            QStringList texts;
            for (int row = 0; row < model->rowCount(); ++row) {
                QStringList cells;
                for (int column = 0; column < model->columnCount(); ++column)
                    cells.append(model->index(row, column).data().toString());
                texts.append(cells.join('|'));
            }
            return texts;
        }
        QVariant role(int row, int column, int role) {
            return list()->model()->index(row, column).data(role);
        }
    };

    static QString amounts(const CostReport::Line& line) {
        return QStringList{line.calculation.toGerman(), line.award.toGerman(), line.supplements.toGerman(),
                           line.payments.toGerman()}
            .join('|');
    }

private slots:
    // The kind of an order row decides whether it is the main order or a supplement.
    void orderKinds_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("mainOrder");
        QTest::newRow("the main order") << "Auftrag vom" << true;
        QTest::newRow("the bare word") << "Auftrag" << true;
        QTest::newRow("a numbered supplement") << "3. Nachtr. Auftrag" << false;
        QTest::newRow("in small letters") << "auftrag vom" << false;
        QTest::newRow("with a blank before") << " Auftrag vom" << false;
        QTest::newRow("cut short") << "Auftra" << false;
        QTest::newRow("empty") << "" << false;
    }
    void orderKinds() {
        QFETCH(QString, kind);
        QFETCH(bool, mainOrder);
        QCOMPARE(CostReport::isMainOrder(kind), mainOrder);
        const CostReport report =
            CostReport::compute({company("Dach", 100)}, {estimate("Dach", kind, 5000, 7000)});
        QCOMPARE(amounts(report.lines().first()),
                 mainOrder ? QString("50,00|70,00|0,00|1,00") : QString("0,00|0,00|70,00|1,00"));
    }

    // Both main-order rows reach the calculation and the award; a supplement's architect amount is not
    // used; an empty amount counts as nothing.
    void mainOrderRowsAreSummed() {
        const CostReport report = CostReport::compute(
            {company("Dach", 100)},
            {estimate("Dach", "Auftrag vom", 100000, 90000), estimate("Dach", "Auftrag vom", 5050, 4040),
             estimate("Dach", "1. Nachtr. Auftrag", 777, 1000), estimate("Dach", "Auftrag vom", {}, {})});
        QCOMPARE(amounts(report.lines().first()), "1.050,50|940,40|10,00|1,00");
        QCOMPARE(report.lines().first().determinedCost().toGerman(), "950,40");
    }

    // A company with orders but no payment is not listed and adds nothing to the sums.
    void companyWithoutPaymentIsLeftOut() {
        const CostReport report =
            CostReport::compute({company("Dach", 200000)}, {estimate("Dach", "Auftrag vom", 100000, 90000),
                                                            estimate("Keller", "Auftrag vom", 500, 600),
                                                            estimate("Keller", "2. Nachtr. Auftrag", 0, 70)});
        QCOMPARE(report.lines().size(), 1);
        QCOMPARE(report.lines().first().company, "Dach");
        const CostReport::Totals& totals = report.totals();
        QCOMPARE(QStringList({totals.calculation.toGerman(), totals.award.toGerman(),
                              totals.supplements.toGerman(), totals.determinedCost.toGerman(),
                              totals.payments.toGerman(), totals.deviation.toGerman()})
                     .join('|'),
                 "1.000,00|900,00|0,00|900,00|2.000,00|1.000,00");
        QCOMPARE(totals.deviationPercent().value_or(-1), 100.0);
    }

    // An amount is shown only with its date and when it is not 0; an amount without its date leaves its
    // column blank and the total, yet the deviation is still taken from it.
    void amountsShownWithTheirDates_data() {
        QTest::addColumn<QList<EstimateRow>>("rows");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("totals");
        QTest::addColumn<qint64>("deviationCents");
        QTest::newRow("all dated") << QList<EstimateRow>{estimate("A", "Auftrag vom", 100, 200),
                                                         estimate("A", "1. Nachtr. Auftrag", 0, 300)}
                                   << "111"
                                   << "1,00|2,00|3,00" << qint64(-90);
        QTest::newRow("no architect date")
            << QList<EstimateRow>{estimate("A", "Auftrag vom", 100, 200, std::nullopt)} << "010"
            << "0,00|2,00|0,00" << qint64(-90);
        QTest::newRow("the last main row's dates count")
            << QList<EstimateRow>{estimate("A", "Auftrag vom", 100, 200),
                                  estimate("A", "Auftrag vom", 0, 0, std::nullopt, std::nullopt)}
            << "000"
            << "0,00|0,00|0,00" << qint64(-90);
        QTest::newRow("last row without order date")
            << QList<EstimateRow>{estimate("A", "1. Nachtr. Auftrag", 0, 300),
                                  estimate("A", "Auftrag vom", 100, 200, 45000, std::nullopt)}
            << "100"
            << "1,00|0,00|0,00" << qint64(-90);
        QTest::newRow("zero amounts")
            << QList<EstimateRow>{estimate("A", "Auftrag vom", 0, 0), estimate("A", "", 0, 0)} << "000"
            << "0,00|0,00|0,00" << qint64(10);
    }
    void amountsShownWithTheirDates() {
        QFETCH(QList<EstimateRow>, rows);
        QFETCH(QString, shown);
        QFETCH(QString, totals);
        QFETCH(qint64, deviationCents);
        const CostReport report = CostReport::compute({company("A", 10)}, rows);
        const CostReport::Line& line = report.lines().first();
        QCOMPARE(QString("%1%2%3")
                     .arg(int(line.calculationShown))
                     .arg(int(line.awardShown))
                     .arg(int(line.supplementsShown)),
                 shown);
        QCOMPARE(QStringList({report.totals().calculation.toGerman(), report.totals().award.toGerman(),
                              report.totals().supplements.toGerman()})
                     .join('|'),
                 totals);
        QCOMPARE(line.deviation().cents(), deviationCents);
        QCOMPARE(report.totals().deviation.cents(), deviationCents);
    }

    // One row per company whatever the letter case of its bookings, in German name order, showing the
    // last booking's name, trade and first nine characters of its cost group; payments added in cents.
    void companiesInNameOrder() {
        Fixture f;
        f.book("zimmerei", 0.1, "Holz", "300 Bauwerk - Baukonstruktionen");
        f.book("Pflaster", 0.2);
        f.book("Öl Meier", 0.3);
        f.book("ZIMMEREI", 0.2, "Dach", "500 Außenanlagen");
        f.book("Ärzte Bau", 0.01);
        const CostReport report = CostReport::read(f.db.db(), "1", std::nullopt, std::nullopt);
        QStringList shown;
        for (const CostReport::Line& line : report.lines())
            shown.append(line.company + ':' + line.trade + ':' + line.costGroup + ':' +
                         line.payments.toGerman());
        QCOMPARE(shown, (QStringList{"Ärzte Bau:::0,01", "Öl Meier:::0,30", "Pflaster:::0,20",
                                     "ZIMMEREI:Dach:500 Außen:0,30"}));
        QCOMPARE(report.totals().payments.toGerman(), "0,81");
    }

    // A payment without orders: three blanks, no determined cost, the deviation the payments in black,
    // per cent zero.
    void paymentWithoutOrders() {
        Fixture f;
        f.book("Dach", 250.5, "Zimmerer", "300 Bauwerk - Baukonstruktionen");
        QCOMPARE(f.rows(), (QStringList{"001|Dach|Zimmerer|300 Bauwe| | | |0,00|250,50|250,50|0,00",
                                        "||Summen:||0,00|0,00|0,00|0,00|250,50|250,50|"}));
        QCOMPARE(f.role(0, 9, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
        QCOMPARE(f.role(0, 10, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 0));
        QVERIFY(!f.role(0, 9, Qt::FontRole).value<QFont>().bold());
    }

    // Calculation 100.000 and payments 95.000: both deviations negative and red.
    void deviationBelowCalculationIsRed() {
        Fixture f;
        f.estimate("Rohbau", 1, "Auftrag vom", 100000, 98000);
        f.estimate("Rohbau", 2, "1. Nachtr. Auftrag", QVariant(), 1500.25);
        f.book("Rohbau", 90000);
        f.book("Rohbau", 5000);
        QCOMPARE(f.rows().first(),
                 "001|Rohbau|||100.000,00|98.000,00|1.500,25|99.500,25|95.000,00|-5.000,00|-5,00");
        QCOMPARE(f.role(0, 9, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QCOMPARE(f.role(0, 10, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QVERIFY(!f.role(0, 8, Qt::ForegroundRole).isValid());
    }

    // The sums row: "Summen:" under "Gewerk", the totals and the total per cent, every filled cell bold
    // and blue, a negative total included; the empty cells before it plain.
    void sumsRowIsBoldAndBlue() {
        Fixture f;
        f.estimate("A", 1, "Auftrag vom", 1000, 0);
        f.estimate("B", 1, "Auftrag vom", 3000, 0);
        f.book("A", 500);
        f.book("B", 3300);
        f.book("C", 100);
        const QStringList rows = f.rows();
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows.at(1), "002|B|||3.000,00| | |0,00|3.300,00|300,00|10,00");
        QCOMPARE(rows.last(), "||Summen:||4.000,00|0,00|0,00|0,00|3.900,00|-100,00|-2,50");
        for (int column = 2; column < CostReportModel::kColumnCount; ++column) {
            if (column == 3)
                continue;
            QCOMPARE(f.role(3, column, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
            QVERIFY(f.role(3, column, Qt::FontRole).value<QFont>().bold());
        }
        for (const int column : {0, 1, 3}) {
            QVERIFY(!f.role(3, column, Qt::ForegroundRole).isValid());
            QVERIFY(!f.role(3, column, Qt::FontRole).isValid());
        }
        QCOMPARE(f.role(3, 10, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(f.role(3, 2, Qt::TextAlignmentRole).isValid(), false);
    }

    // The per cent is rounded for display only: a third of a euro over three euros.
    void percentRoundedForDisplay_data() {
        QTest::addColumn<double>("calculation");
        QTest::addColumn<double>("payments");
        QTest::addColumn<QString>("percent");
        QTest::newRow("a third") << 3.0 << 4.0 << "33,33";
        QTest::newRow("two thirds down") << 3.0 << 1.0 << "-66,67";
        QTest::newRow("thousands") << 1.0 << 100.0 << "9.900,00";
        QTest::newRow("a tiny deviation") << 1000000.0 << 999999.99 << "0,00";
    }
    void percentRoundedForDisplay() {
        QFETCH(double, calculation);
        QFETCH(double, payments);
        QFETCH(QString, percent);
        Fixture f;
        f.estimate("A", 1, "Auftrag vom", calculation, 0);
        f.book("A", payments);
        const QStringList rows = f.rows();
        QCOMPARE(rows.first().section('|', 10), percent);
        QCOMPARE(rows.last().section('|', 10), percent);
        QCOMPARE(f.role(0, 10, Qt::ForegroundRole).value<QColor>(),
                 percent.startsWith('-') ? QColor(255, 0, 0) : QColor(0, 0, 0));
    }

    // A project without bookings: only the sums row, zero totals, the per-cent cell empty.
    void projectWithoutBookings() {
        Fixture f;
        f.estimate("A", 1, "Auftrag vom", 1000, 900);
        f.book("A", 10, {}, {}, "2");
        QCOMPARE(f.rows(), QStringList{"||Summen:||0,00|0,00|0,00|0,00|0,00|0,00|"});
        QVERIFY(!f.role(0, 10, Qt::ForegroundRole).isValid());
    }

    // Only the project's own rows count, found by its number; a name with wildcards matches only itself.
    void onlyTheProjectsOwnRows() {
        Fixture f;
        f.book("Bau*", 10);
        f.book("Bauhaus", 20);
        f.book("Bau*", 1000, {}, {}, "2");
        f.book("Bau?aus", 7, {}, {}, "11");
        f.estimate("Bau*", 1, "Auftrag vom", 5, 0);
        f.estimate("Bauhaus", 1, "Auftrag vom", 1000, 0, 45000, 45001, "2");
        QCOMPARE(f.rows(), (QStringList{"001|Bau*|||5,00| | |0,00|10,00|5,00|100,00",
                                        "002|Bauhaus||| | | |0,00|20,00|20,00|0,00",
                                        "||Summen:||5,00|0,00|0,00|0,00|30,00|25,00|500,00"}));
    }

    // A company the register holds twice gets one row; one deleted from the register keeps its row under
    // its name copy; the payments add up to the booking list's "Gesamtsumme".
    void everyBookingCountedOnce() {
        Fixture f;
        f.db.exec("INSERT INTO tblFirma (Name) VALUES ('Maler Schulz'), ('MALER SCHULZ'), ('Elektro Ost')");
        f.book("Maler Schulz", 100.10);
        f.book("MALER SCHULZ", 200.20);
        f.book("Abbruch Weg", 0.7);
        f.book("Elektro Ost", "abc");
        f.book("Elektro Ost", QVariant());
        f.book("Elektro Ost", "12,5");
        f.estimate("maler schulz", 1, "Auftrag vom", 300, 250);
        QCOMPARE(f.rows(), (QStringList{"001|Abbruch Weg||| | | |0,00|0,70|0,70|0,00",
                                        "002|Elektro Ost||| | | |0,00|12,50|12,50|0,00",
                                        "003|MALER SCHULZ|||300,00|250,00| |250,00|300,30|0,30|0,10",
                                        "||Summen:||300,00|250,00|0,00|250,00|313,50|13,50|4,50"}));
        BookingListTab bookings(f.context);
        bookings.EINLESEN();
        QCOMPARE(f.tab.snapshot().rows.last().at(8), bookings.total().toGerman());
        QCOMPARE(f.tab.report().totals().payments, bookings.total());
    }

    // Estimate rows are read in NID order, whatever order they were entered in: the last one read
    // decides whether the supplements show.
    void estimateRowsInNidOrder() {
        Fixture f;
        f.estimate("A", 2, "Auftrag vom", 100, 200, 45000, QVariant());
        f.estimate("A", 1, "1. Nachtr. Auftrag", 0, 300);
        f.book("A", 1);
        QCOMPARE(f.rows().first(), "001|A|||100,00| | |500,00|1,00|-99,00|-99,00");
    }

    // A booking that waits, taken back, in the entry fields is left out of the report and its sums.
    void waitingBookingIsLeftOut() {
        Fixture f;
        f.book("A", 10);
        f.book("B", 20);
        f.book("A", 30);
        f.context.waitingBookingId = f.db.scalar("SELECT ID FROM tblBuchung WHERE Firma = 'B'").toLongLong();
        QCOMPARE(f.rows(), (QStringList{"001|A||| | | |0,00|40,00|40,00|0,00",
                                        "||Summen:||0,00|0,00|0,00|0,00|40,00|40,00|"}));
        f.context.waitingBookingId.reset();
        QCOMPARE(f.rows().size(), 3);
    }

    // A file whose bookings cannot be read: a German message, and the report shows no figures as if
    // they were current: nothing read yet, nothing shown, the list marked as not current.
    void unreadableFileIsReported() {
        TestDatabase db;
        QVERIFY(db.damageBookings());
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        Settings settings(dir.filePath("zlv.ini"));
        WorkspaceContext context{db.db(), dialogs, settings, "1", "Schule", std::nullopt, std::nullopt};
        CostReportTab tab(context);
        tab.KostenberichtEinlesen();
        auto* list = tab.findChild<ReportListView*>("ListView4");
        QVERIFY(list->model()->rowCount() == 0 && list->isOutdated());
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown.first().title, "Lesefehler");
        QCOMPARE(dialogs.shown.first().icon, Dialogs::Icon::Warning);
        QVERIFY(!dialogs.lastText().isEmpty());
    }

    // What printing and export receive: the headings, the rows as shown with the sums last, the amount
    // columns right-aligned, the project's name.
    void snapshotAndHeadings() {
        Fixture f;
        f.book("B", 2);
        f.book("A", 1);
        const QStringList rows = f.rows();
        const ListSnapshot snapshot = f.tab.snapshot();
        QCOMPARE(snapshot.kind, ListSnapshot::Kind::CostReport);
        QCOMPARE(snapshot.headings, (QStringList{"LNr", "Firma", "Gewerk", "Kostengruppe", "Kostenberechnung",
                                                 "Kostenanschlag", "Nachträge ", "Kostenfeststellung",
                                                 "Abrechnungssumme", "Abweichung Euro", "Abweichung %"}));
        QStringList shown;
        for (const QStringList& row : snapshot.rows)
            shown.append(row.join('|'));
        QCOMPARE(shown, rows);
        QCOMPARE(snapshot.rightAligned, (QList<int>{4, 5, 6, 7, 8, 9, 10}));
        QCOMPARE(snapshot.value("Projekt"), "Schule");
        QCOMPARE(snapshot.value("Abrechnungssumme"), "3,00");
    }

    // Without saved widths each column is as wide as its heading or, after a rebuild, its widest text
    // needs; saved widths replace that and are handed back in twips as given, widened at the next
    // rebuild where a text needs more.
    void columnWidths() {
        Fixture f;
        f.book("Garten- und Landschaftsbau Müller GmbH", 1234567.89);
        const auto checkFitted = [&f] {
            QAbstractItemModel* model = f.list()->model();
            // Room for the margins and the sort arrow.
            const int slack = 3 * QFontMetrics(f.list()->header()->font()).height();
            for (int column = 0; column < model->columnCount(); ++column) {
                int needed = QFontMetrics(f.list()->header()->font())
                                 .horizontalAdvance(model->headerData(column, Qt::Horizontal).toString());
                for (int row = 0; row < model->rowCount(); ++row)
                    needed =
                        qMax(needed, QFontMetrics(f.list()->font())
                                         .horizontalAdvance(model->index(row, column).data().toString()));
                const int spare = f.list()->columnWidth(column) - needed;
                QVERIFY2(spare >= 0 && spare <= slack,
                         qPrintable(QStringLiteral("%1 of %2").arg(spare).arg(slack)));
            }
        };
        checkFitted();
        f.tab.KostenberichtEinlesen();
        checkFitted();
        f.tab.setColumnWidthsInTwips({1000, 9001, 500});
        QCOMPARE(f.list()->columnWidth(1), Twips::toPixelsX(9001, *f.list()));
        f.tab.KostenberichtEinlesen();
        QCOMPARE(f.tab.columnWidthsInTwips(2), (QList<int>{1000, 9001}));
        QVERIFY(f.list()->columnWidth(2) > Twips::toPixelsX(500, *f.list()));
        QCOMPARE(f.list()->accessibleName(), "Kostenbericht");
    }
};

QTEST_MAIN(CostReportTest)
#include "CostReportTest.moc"
