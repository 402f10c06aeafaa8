#include "CostReport.h"
#include "WorkspaceFixture.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>

namespace {

EstimateRow estimate(const QString& kind, std::optional<qint64> architectCents,
                     std::optional<qint64> orderCents, std::optional<int> architectDate = 45000,
                     std::optional<int> orderDate = 45001, const QString& company = "A") {
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

class CostReportTest : public QObject {
    Q_OBJECT
    using Rows = QList<EstimateRow>;

private slots:
    void figuresOfACompany_data() {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("totals");
        for (const char* kind : {"Auftrag vom", "Auftrag"})
            QTest::addRow("main order '%s'", kind)
                << Rows{estimate(kind, 5000, 7000)} << "50,00|70,00|0,00|110"
                << "50,00|70,00|0,00|70,00|0,10|-49,90|-99.8";
        for (const char* kind : {"3. Nachtr. Auftrag", "auftrag vom", " Auftrag vom", "Auftra", ""})
            QTest::addRow("supplement '%s'", kind)
                << Rows{estimate(kind, 5000, 7000)} << "0,00|0,00|70,00|001"
                << "0,00|0,00|70,00|70,00|0,10|0,10|";
        QTest::newRow("main rows summed, a supplement's architect amount unused")
            << Rows{estimate("Auftrag vom", 100000, 90000), estimate("Auftrag vom", 5050, 4040),
                    estimate("1. Nachtr. Auftrag", 777, 1000), estimate("Auftrag vom", {}, {})}
            << "1.050,50|940,40|10,00|111"
            << "1.050,50|940,40|10,00|950,40|0,10|-1.050,40|-99.9905";
        QTest::newRow("a company without payment left out")
            << Rows{estimate("Auftrag vom", 1000, 900), estimate("Auftrag vom", 500, 600, 45000, 45001, "K"),
                    estimate("2. Nachtr. Auftrag", 0, 70, 45000, 45001, "K")}
            << "10,00|9,00|0,00|110"
            << "10,00|9,00|0,00|9,00|0,10|-9,90|-99";
        QTest::newRow("no architect date")
            << Rows{estimate("Auftrag vom", 100, 200, std::nullopt)} << "1,00|2,00|0,00|010"
            << "0,00|2,00|0,00|2,00|0,10|-0,90|";
        QTest::newRow("the last main row's dates count")
            << Rows{estimate("Auftrag vom", 100, 200),
                    estimate("Auftrag vom", 0, 0, std::nullopt, std::nullopt)}
            << "1,00|2,00|0,00|000"
            << "0,00|0,00|0,00|2,00|0,10|-0,90|";
        QTest::newRow("last row without order date")
            << Rows{estimate("1. Nachtr. Auftrag", 0, 300),
                    estimate("Auftrag vom", 100, 200, 45000, std::nullopt)}
            << "1,00|2,00|3,00|100"
            << "1,00|0,00|0,00|5,00|0,10|-0,90|-90";
        QTest::newRow("zero amounts")
            << Rows{estimate("Auftrag vom", 0, 0), estimate("", 0, 0)} << "0,00|0,00|0,00|000"
            << "0,00|0,00|0,00|0,00|0,10|0,10|";
    }
    void figuresOfACompany() {
        QFETCH(Rows, rows);
        BookingRepository::CompanySum payment;
        payment.company = "A";
        payment.amount = Money::fromCents(10);
        const CostReport report = CostReport::compute({payment}, rows);
        QCOMPARE(report.lines().size(), 1);
        const CostReport::Line& line = report.lines().first();
        QTEST(QStringList({line.calculation.toGerman(), line.award.toGerman(), line.supplements.toGerman(),
                           QString("%1%2%3")
                               .arg(int(line.calculationShown))
                               .arg(int(line.awardShown))
                               .arg(int(line.supplementsShown))})
                  .join('|'),
              "line");
        const CostReport::Totals& totals = report.totals();
        QTEST(QStringList({totals.calculation.toGerman(), totals.award.toGerman(),
                           totals.supplements.toGerman(), totals.determinedCost.toGerman(),
                           totals.payments.toGerman(), totals.deviation.toGerman(),
                           totals.deviationPercent() ? QString::number(*totals.deviationPercent()) : ""})
                  .join('|'),
              "totals");
        QCOMPARE(line.deviation(), totals.deviation);
    }

    void listShowsEachPayingCompanyAndTheSums_data() {
        QTest::addColumn<QString>("bookings");
        QTest::addColumn<QString>("estimates");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("colours");
        QTest::newRow("payment without orders")
            << "(1, '1', 'Dach', 'Zimmerer', '300 Bauwerk - Baukonstruktionen', 250.5)"
            << ""
            << QStringList{"001|Dach|Zimmerer|300 Bauwe| | | |0,00|250,50|250,50|0,00",
                           "||Summen:||0,00|0,00|0,00|0,00|250,50|250,50|"}
            << "kk";
        QTest::newRow("payments below the calculation")
            << "(1, '1', 'Rohbau', '', '', 90000), (2, '1', 'Rohbau', '', '', 5000)"
            << "(1, '1', 'Rohbau', 45000, 100000, 45001, 'Auftrag vom', 98000), "
               "(2, '1', 'Rohbau', 45000, NULL, 45001, '1. Nachtr. Auftrag', 1500.25)"
            << QStringList{"001|Rohbau|||100.000,00|98.000,00|1.500,25|99.500,25|95.000,00|-5.000,00|-5,00",
                           "||Summen:||100.000,00|98.000,00|1.500,25|99.500,25|95.000,00|-5.000,00|-5,00"}
            << "rr";
        QTest::newRow("a negative total")
            << "(1, '1', 'A', '', '', 500), (2, '1', 'B', '', '', 3300), (3, '1', 'C', '', '', 100)"
            << "(1, '1', 'A', 45000, 1000, 45001, 'Auftrag vom', 0), (1, '1', 'B', 45000, 3000, 45001, "
               "'Auftrag vom', 0)"
            << QStringList{"001|A|||1.000,00| | |0,00|500,00|-500,00|-50,00",
                           "002|B|||3.000,00| | |0,00|3.300,00|300,00|10,00",
                           "003|C||| | | |0,00|100,00|100,00|0,00",
                           "||Summen:||4.000,00|0,00|0,00|0,00|3.900,00|-100,00|-2,50"}
            << "rrkkkk";
        for (const auto& [name, calculation, payments, deviation, percent, colours] :
             {std::tuple{"a third", "3", "4", "1,00", "33,33", "kk"},
              {"two thirds down", "3", "1", "-2,00", "-66,67", "rr"},
              {"thousands", "1", "100", "99,00", "9.900,00", "kk"},
              {"a tiny deviation", "1000000", "999999.99", "-0,01", "0,00", "rk"}}) {
            const QString amounts =
                QString("%1| | |0,00|%2|%3|%4")
                    .arg(Money::fromCents(qRound64(QString(calculation).toDouble() * 100)).toGerman(),
                         Money::fromCents(qRound64(QString(payments).toDouble() * 100)).toGerman(), deviation,
                         percent);
            QTest::addRow("per cent, %s", name)
                << QString("(1, '1', 'A', '', '', %1)").arg(payments)
                << QString("(1, '1', 'A', 45000, %1, 45001, 'Auftrag vom', 0)").arg(calculation)
                << QStringList{"001|A|||" + amounts,
                               "||Summen:||" + QString(amounts).replace("| | |", "|0,00|0,00|")}
                << colours;
        }
        QTest::newRow("no bookings of the project")
            << "(1, '2', 'A', '', '', 10)"
            << "(1, '1', 'A', 45000, 1000, 45001, 'Auftrag vom', 900)"
            << QStringList{"||Summen:||0,00|0,00|0,00|0,00|0,00|0,00|"} << "";
        QTest::newRow("only the project's own rows, names as themselves")
            << "(1, '1', 'Bau*', '', '', 10), (2, '1', 'Bauhaus', '', '', 20), (3, '2', 'Bau*', '', '', "
               "1000), "
               "(4, '11', 'Bau?aus', '', '', 7)"
            << "(1, '1', 'Bau*', 45000, 5, 45001, 'Auftrag vom', 0), "
               "(1, '2', 'Bauhaus', 45000, 1000, 45001, 'Auftrag vom', 0)"
            << QStringList{"001|Bau*|||5,00| | |0,00|10,00|5,00|100,00",
                           "002|Bauhaus||| | | |0,00|20,00|20,00|0,00",
                           "||Summen:||5,00|0,00|0,00|0,00|30,00|25,00|500,00"}
            << "kkkk";
        QTest::newRow("every booking once, in German order, named as last booked")
            << "(1, '1', 'Maler Schulz', '', '', 100.10), (2, '1', 'MALER SCHULZ', 'Maler', '100 "
               "Grundstück', "
               "200.20), (3, '1', 'Abbruch Weg', '', '', 0.7), (4, '1', 'Öl Meier', '', '', 'abc'), "
               "(5, '1', 'Öl Meier', '', '', NULL), (6, '1', 'Öl Meier', '', '', '12,5')"
            << "(1, '1', 'maler schulz', 45000, 300, 45001, 'Auftrag vom', 250)"
            << QStringList{"001|Abbruch Weg||| | | |0,00|0,70|0,70|0,00",
                           "002|MALER SCHULZ|Maler|100 Grund|300,00|250,00| |250,00|300,30|0,30|0,10",
                           "003|Öl Meier||| | | |0,00|12,50|12,50|0,00",
                           "||Summen:||300,00|250,00|0,00|250,00|313,50|13,50|4,50"}
            << "kkkkkk";
        QTest::newRow("estimate rows in number order")
            << "(1, '1', 'A', '', '', 1)"
            << "(2, '1', 'A', 45000, 100, NULL, 'Auftrag vom', 200), "
               "(1, '1', 'A', 45000, 0, 45001, '1. Nachtr. Auftrag', 300)"
            << QStringList{"001|A|||100,00| | |500,00|1,00|-99,00|-99,00",
                           "||Summen:||100,00|0,00|0,00|500,00|1,00|-99,00|-99,00"}
            << "rr";
    }
    void listShowsEachPayingCompanyAndTheSums() {
        QFETCH(QString, bookings);
        QFETCH(QString, estimates);
        QFETCH(QString, colours);
        WorkspaceFixture f;
        f.db.exec("INSERT INTO tblFirma (Name) VALUES ('Maler Schulz'), ('MALER SCHULZ')");
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Kostengruppe, Betrag) VALUES " +
                  bookings);
        if (!estimates.isEmpty())
            f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektDatum, ArchitektKosten, "
                      "NachtragDatum, NachtragArt, NachtragKosten) VALUES " +
                      estimates);
        f.open();
        f.showTab(Workspace::CostReportTabIndex);
        const QStringList rows = f.rows("ListView4");
        QTEST(rows, "rows");
        QAbstractItemModel* model = f.list("ListView4")->model();
        const auto colour = [model](int row, int column) {
            const QVariant brush = model->index(row, column).data(Qt::ForegroundRole);
            const QColor shown = brush.value<QColor>();
            return !brush.isValid() ? '-' : shown == Qt::red ? 'r' : shown == Qt::black ? 'k' : 'u';
        };
        QString shown;
        for (int row = 0; row + 1 < rows.size(); ++row)
            shown += QString(colour(row, 9)) + colour(row, 10);
        QCOMPARE(shown, colours);
        const int sums = rows.size() - 1;
        for (int column = 0; column < model->columnCount(); ++column) {
            const bool filled =
                column == 2 || (column > 3 && !rows.last().section('|', column, column).isEmpty());
            QCOMPARE(colour(sums, column), filled ? 'u' : '-');
            QCOMPARE(model->index(sums, column).data(Qt::FontRole).value<QFont>().bold(), filled);
        }
        QCOMPARE(model->index(0, 8).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(rows.last().section('|', 8, 8), f.total());
    }

    void columnsFitTheirTexts() {
        WorkspaceFixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES "
                  "(1, '1', 'Garten- und Landschaftsbau Müller GmbH', 1234567.89)");
        f.open();
        f.showTab(Workspace::CostReportTabIndex);
        QTreeView* list = f.list("ListView4");
        const int slack = 3 * QFontMetrics(list->header()->font()).height();
        for (int column = 0; column < list->model()->columnCount(); ++column) {
            int needed = QFontMetrics(list->header()->font())
                             .horizontalAdvance(list->model()->headerData(column, Qt::Horizontal).toString());
            for (int row = 0; row < list->model()->rowCount(); ++row)
                needed =
                    qMax(needed, QFontMetrics(list->font())
                                     .horizontalAdvance(list->model()->index(row, column).data().toString()));
            const int spare = list->columnWidth(column) - needed;
            QVERIFY2(spare >= 0 && spare <= slack,
                     qPrintable(QStringLiteral("%1 of %2").arg(spare).arg(slack)));
        }
    }
};

QTEST_MAIN(CostReportTest)
#include "CostReportTest.moc"
