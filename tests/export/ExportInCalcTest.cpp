#include "ExportFormat.h"
#include "Windows1252.h"

#include <algorithm>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

// Exported files opened in LibreOffice Calc as a clerk opens them, converted in one run into flat
// OpenDocument files that the test reads.
class ExportInCalcTest : public QObject {
    Q_OBJECT

    struct Cell {
        QString formula, type, value;
    };

    QTemporaryDir m_dir;

    struct Case {
        const char* name;
        ListSnapshot::Kind kind;
        QStringList row;
        QList<int> amounts;
    };
    // One row of each kind: texts a spreadsheet would run as formulas, amounts as the program writes them.
    static QList<Case> cases() {
        using Kind = ListSnapshot::Kind;
        return {
            {"payments",
             Kind::Payments,
             {"001", "=2*21", "+Rohbau", "15.01.2024", "", "-R1", "@Bar", "\t=3", "-8,80",
              "=1+1 Prüfung; Teil A"},
             {8}},
            {"company",
             Kind::CompanyEstimates,
             {"1", "01.10.2023", "-50.000,00", "", "", "=Auftrag", "3.500,50"},
             {2, 6}},
            {"evaluation", Kind::Evaluation, {"001", "-Bau", "=A1", "", "", "@x", "\r=1", "12.345,67"}, {7}},
            {"costreport",
             Kind::CostReport,
             {"001", "=2*21", "Rohbau", "300", " ", "48.000,00", "3.500,50", "51.500,50", "32.345,67",
              "-17.654,33", "-35,31"},
             {5, 6, 7, 8, 9, 10}}};
    }

    // The rows of the file's table that hold a value, each cell spelled out.
    static QList<QList<Cell>> read(const QString& path) {
        QFile file(path);
        QList<QList<Cell>> rows;
        if (!file.open(QIODevice::ReadOnly))
            return rows;
        for (QXmlStreamReader xml(&file); !xml.atEnd();) {
            if (xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"table-row" &&
                std::all_of(rows.last().begin(), rows.last().end(),
                            [](const Cell& c) { return c.type.isEmpty(); }))
                rows.removeLast();
            if (!xml.isStartElement())
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (xml.name() == u"table-row")
                rows.append(QList<Cell>());
            else if (xml.name() == u"table-cell" || xml.name() == u"covered-table-cell")
                for (int i = qMax(1, attributes.value("table:number-columns-repeated").toInt());
                     i > 0 && i < 100; --i)
                    rows.last().append(Cell{attributes.value("table:formula").toString(),
                                            attributes.value("office:value-type").toString(),
                                            attributes.value("office:value").toString()});
        }
        return rows;
    }

private slots:
    // Every kind's file as the export screen writes it, converted with the import options a German Calc
    // proposes (";", '"', Windows-1252, from line 1).
    void initTestCase() {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        if (soffice.isEmpty()) {
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL("soffice is missing: scripts/setup.sh installs libreoffice-calc-nogui");
            QSKIP("soffice is missing (Debian package libreoffice-calc-nogui)");
        }
        QStringList arguments{"-env:UserInstallation=" +
                                  QUrl::fromLocalFile(m_dir.filePath("profile")).toString(),
                              "--headless",
                              "--norestore",
                              "--infilter=CSV:59,34,1,1,,1031",
                              "--convert-to",
                              "fods",
                              "--outdir",
                              m_dir.filePath("calc")};
        for (const Case& c : cases()) {
            ListSnapshot snapshot;
            snapshot.kind = c.kind;
            snapshot.values = {
                {"Projekt", "=2*21"}, {"Firma", "=2*21"}, {"Gewerk", "-"}, {"Gesamtsumme", "-8,80"}};
            snapshot.rows = {c.row};
            QFile file(m_dir.filePath(QString::fromLatin1(c.name) + ".csv"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(Windows1252::encode(ExportFormat::text(snapshot, ";"), nullptr));
            arguments.append(file.fileName());
        }
        QProcess calc;
        calc.setProcessChannelMode(QProcess::MergedChannels);
        calc.start(soffice, arguments);
        QVERIFY2(calc.waitForFinished(240000) && calc.exitCode() == 0, calc.readAll().constData());
    }

    void noFormulaAndAmountsAsNumbers_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < cases().size(); ++i)
            QTest::newRow(cases().at(i).name) << i;
    }
    // No cell holds a formula; the row's amounts are numbers of their value, its formula-like texts strings.
    void noFormulaAndAmountsAsNumbers() {
        QFETCH(int, index);
        const Case c = cases().at(index);
        const QList<QList<Cell>> rows = read(m_dir.filePath("calc/" + QString::fromLatin1(c.name) + ".fods"));
        QVERIFY2(!rows.isEmpty(), c.name);
        for (const QList<Cell>& cells : rows)
            for (const Cell& cell : cells)
                QVERIFY2(cell.formula.isEmpty(), qPrintable(cell.formula));
        for (int column = 0; column < c.row.size(); ++column) {
            const QString written = c.row.at(column);
            const Cell cell = rows.last().value(column);
            if (c.amounts.contains(column)) {
                QCOMPARE(cell.type, "float");
                QCOMPARE(cell.value.toDouble(), QString(written).remove('.').replace(',', '.').toDouble());
            } else if (!written.isEmpty() && QString("=+-@\t\r").contains(written.at(0)))
                QCOMPARE(cell.type, "string");
        }
    }
};

QTEST_GUILESS_MAIN(ExportInCalcTest)
#include "ExportInCalcTest.moc"
