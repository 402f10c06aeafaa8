#include "ExportFormat.h"
#include "Windows1252.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

// Exported files opened in LibreOffice Calc, as a clerk opens them: no value runs as a formula, and every
// amount is read as a number. Calc converts all files in one run into flat OpenDocument files, which the
// test reads.
class ExportInCalcTest : public QObject {
    Q_OBJECT

    struct Cell {
        QString formula;
        QString type;
        QString value;
        QString text;
    };
    using Sheet = QList<QList<Cell>>;

    QTemporaryDir m_dir;
    QString m_failure;

    static ListSnapshot snapshot(ListSnapshot::Kind kind, const QStringList& row) {
        ListSnapshot made;
        made.kind = kind;
        made.values = {{"Projekt", "=2*21"}, {"Firma", "=2*21"}, {"Gewerk", "-"}, {"Gesamtsumme", "-8,80"}};
        made.rows = {row};
        return made;
    }

    // The cells of the only table of a flat OpenDocument spreadsheet, repeated cells and rows spelled out.
    static Sheet read(const QString& path) {
        QFile file(path);
        Sheet sheet;
        if (!file.open(QIODevice::ReadOnly))
            return sheet;
        QXmlStreamReader xml(&file);
        int rowRepeat = 1;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == u"table-row") {
                for (int i = 1; i < rowRepeat && i < 100; ++i)
                    sheet.append(sheet.constLast());
            }
            if (!xml.isStartElement())
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            if (xml.name() == u"table-row") {
                rowRepeat = attributes.value("table:number-rows-repeated").toInt();
                sheet.append(QList<Cell>());
            } else if (xml.name() == u"table-cell" || xml.name() == u"covered-table-cell") {
                const Cell cell{attributes.value("table:formula").toString(),
                                attributes.value("office:value-type").toString(),
                                attributes.value("office:value").toString(), QString()};
                const int repeat = qMax(1, attributes.value("table:number-columns-repeated").toInt());
                for (int i = 0; i < repeat && i < 100; ++i)
                    sheet.last().append(cell);
            } else if (xml.name() == u"p" && !sheet.isEmpty() && !sheet.constLast().isEmpty()) {
                QString& text = sheet.last().last().text;
                text += (text.isEmpty() ? "" : "\n") +
                        xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        }
        return sheet;
    }

    static double germanNumber(QString text) { return text.remove('.').replace(',', '.').toDouble(); }

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
             {5, 6, 7, 8, 9, 10}},
        };
    }

private slots:
    // Writes every kind's file as the export screen does and lets Calc convert them all in one run, with
    // the import options a German Calc proposes for such a file (";", '"', Windows-1252, from line 1).
    void initTestCase() {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        if (soffice.isEmpty()) {
            if (qEnvironmentVariableIsSet("CI"))
                QFAIL("soffice is missing: scripts/setup.sh installs libreoffice-calc-nogui");
            QSKIP("soffice is missing (Debian package libreoffice-calc-nogui): the exported files are not "
                  "opened in Calc");
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
            QFile file(m_dir.filePath(QString::fromLatin1(c.name) + ".csv"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(Windows1252::encode(ExportFormat::text(snapshot(c.kind, c.row), ";"), nullptr));
            file.close();
            arguments.append(file.fileName());
        }
        QProcess calc;
        calc.setProcessChannelMode(QProcess::MergedChannels);
        calc.start(soffice, arguments);
        QVERIFY2(calc.waitForFinished(240000) && calc.exitCode() == 0, calc.readAll().constData());
    }

    void exportedFiles_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < cases().size(); ++i)
            QTest::newRow(cases().at(i).name) << i;
    }
    // No cell holds a formula; the row's amounts are numbers of their value, its other texts strings.
    void exportedFiles() {
        QFETCH(int, index);
        const Case c = cases().at(index);
        const Sheet sheet = read(m_dir.filePath("calc/" + QString::fromLatin1(c.name) + ".fods"));
        QVERIFY2(!sheet.isEmpty(), c.name);
        for (const QList<Cell>& cells : sheet)
            for (const Cell& cell : cells)
                QVERIFY2(cell.formula.isEmpty(), qPrintable(cell.formula + " -> " + cell.text));
        qsizetype last = sheet.size() - 1;
        while (last > 0 && std::all_of(sheet.at(last).begin(), sheet.at(last).end(),
                                       [](const Cell& cell) { return cell.text.isEmpty(); }))
            --last;
        const QList<Cell>& cells = sheet.at(last);
        for (int column = 0; column < c.row.size(); ++column) {
            const QString written = c.row.at(column);
            const Cell cell = cells.value(column);
            if (c.amounts.contains(column)) {
                QCOMPARE(cell.type, "float");
                QCOMPARE(cell.value.toDouble(), germanNumber(written));
            } else if (QString("=+-@\t\r").contains(written.left(1)) && !written.isEmpty()) {
                QCOMPARE(cell.type, "string");
                QVERIFY2(cell.text.startsWith("'"), qPrintable(cell.text));
            }
        }
    }
};

QTEST_GUILESS_MAIN(ExportInCalcTest)
#include "ExportInCalcTest.moc"
