#include "ExportFormat.h"
#include "Windows1252.h"

#include <QTest>

using Kind = ListSnapshot::Kind;
using Values = QList<QPair<QString, QString>>;

class ExportFormatTest : public QObject {
    Q_OBJECT

    static void line(const char* tag, Kind kind, int column, const QString& value, const QString& written,
                     const QString& separator = ";") {
        QTest::newRow(tag) << int(kind) << column << value << written << separator;
    }
    static void text(const char* tag, Kind kind, const Values& values, const QList<QStringList>& rows,
                     const QString& separator, const QString& written) {
        QTest::newRow(tag) << int(kind) << values << rows << separator << written;
    }

private slots:
    void windows1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("replaced");
        QTest::newRow("ascii") << "Nr.:;A-1 \t\r\n" << QByteArray("Nr.:;A-1 \t\r\n") << 0;
        QTest::newRow("umlauts") << "äöüÄÖÜß" << QByteArray("\xe4\xf6\xfc\xc4\xd6\xdc\xdf") << 0;
        QTest::newRow("latin-1 edges")
            << QString::fromUtf8("\u00a0§°ÿ") << QByteArray("\xa0\xa7\xb0\xff") << 0;
        QTest::newRow("0x80 to 0x9f")
            << QString::fromUtf8("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ")
            << QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8e\x91\x92"
                          "\x93\x94\x95\x96\x97\x98\x99\x9a\x9b\x9c\x9e\x9f")
            << 0;
        QTest::newRow("unassigned bytes' controls")
            << QString::fromUtf8("\u0081\u008d\u008f\u0090\u009d\u0080") << QByteArray("??????") << 6;
        QTest::newRow("outside") << QString::fromUtf8("5 ≥ 4 Łódź") << QByteArray("5 ? 4 ?\xf3\x64?") << 3;
        QTest::newRow("pair counts once") << QString::fromUtf8("a😀b") << QByteArray("a?b") << 1;
        QTest::newRow("lone surrogate") << (QString("x") + QChar(0xd800)) << QByteArray("x?") << 1;
    }
    void windows1252() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(int, replaced);
        qsizetype counted = -1;
        QCOMPARE(Windows1252::encode(text, &counted), bytes);
        QCOMPARE(counted, qsizetype(replaced));
    }

    // A value holding the separator, a quote or a line break is quoted, its quotes doubled; a value a
    // spreadsheet would run as a formula gets a leading apostrophe, except a number the program wrote
    // into an amount column.
    void valuesInTheirLine_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("separator");
        line("plain", Kind::Payments, 9, "Müller & Söhne, Bau", "Müller & Söhne, Bau");
        line("separator", Kind::Payments, 9, "Abschlag; 2. Rate", "\"Abschlag; 2. Rate\"");
        line("quote", Kind::Payments, 9, "Rechnung \"vorläufig\"", "\"Rechnung \"\"vorläufig\"\"\"");
        line("line feed", Kind::Payments, 9, "a\nb", "\"a\nb\"");
        line("carriage return", Kind::Payments, 9, "a\rb", "\"a\rb\"");
        line("tab with tabs", Kind::Payments, 9, "a\tb", "\"a\tb\"", "\t");
        line("tab with semicolons", Kind::Payments, 9, "a\tb", "a\tb");
        line("semicolon with tabs", Kind::Payments, 9, "a;b", "a;b", "\t");
        line("comma typed", Kind::Payments, 9, "1.234,50", "\"1.234,50\"", ",");
        line("company =", Kind::Payments, 1, "=2*21", "'=2*21");
        line("remark = quoted", Kind::Payments, 9, "=1+1 Prüfung; Teil A", "\"'=1+1 Prüfung; Teil A\"");
        line("plus", Kind::Payments, 5, "+49 30", "'+49 30");
        line("minus in a text column", Kind::Payments, 5, "-8,80", "'-8,80");
        line("at", Kind::Payments, 2, "@SUM(A1)", "'@SUM(A1)");
        line("tab first", Kind::Payments, 6, "\t=1", "'\t=1");
        line("carriage return first", Kind::Payments, 6, "\r=1", "\"'\r=1\"");
        line("inner sign", Kind::Payments, 1, "Bau = Haus", "Bau = Haus");
        line("amount", Kind::Payments, 8, "-12.345,67", "-12.345,67");
        line("no number in an amount column", Kind::Payments, 8, "-1+1", "'-1+1");
        line("estimate amount", Kind::CompanyEstimates, 6, "-3.500,50", "-3.500,50");
        line("estimate type", Kind::CompanyEstimates, 5, "-Nachtrag", "'-Nachtrag");
        line("percent", Kind::CostReport, 10, "-35,31", "-35,31");
        line("cost report company", Kind::CostReport, 1, "-Bau", "'-Bau");
    }
    void valuesInTheirLine() {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(QString, value);
        QFETCH(QString, written);
        QFETCH(QString, separator);
        const qsizetype fields = kind == int(Kind::Payments) ? 10 : kind == int(Kind::CostReport) ? 11 : 7;
        ListSnapshot snapshot;
        snapshot.kind = Kind(kind);
        snapshot.rows = {QStringList(fields)};
        snapshot.rows[0][column] = value;
        QStringList expected(fields);
        expected[column] = written;
        const QString text = ExportFormat::text(snapshot, separator);
        QVERIFY2(text.endsWith("\n" + expected.join(separator) + "\r\n"), qPrintable(text));
    }

    // The heading lines of each kind (the evaluation's criterion the first of company, trade, cost group,
    // year), then a line per row with as many fields as the headings name.
    void wholeText_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Values>("values");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("written");
        const Values evaluation{{"Projekt", "Schule"}, {"Teilsumme", "1,00"}};
        const QString top = "Auswertung / Filter  -  Projekt: Schule  -  Teilsumme: 1,00 Euro\r\n";
        const QString headings = "\r\nLNr.:;Firma;Gewerk;Anweisung vom;Rechnung vom;Zahlungsart;Kostengruppe;"
                                 "Angew. Betrag\r\n";
        text("evaluation by company", Kind::Evaluation,
             evaluation + Values{{"Firma", "Weiß"}, {"Gewerk", "Dach"}}, {}, ";",
             top + "Firma: Weiß\r\n" + headings);
        text("evaluation by trade", Kind::Evaluation,
             evaluation + Values{{"Gewerk", "Dach"}, {"Kostengruppe", "3"}}, {}, ";",
             top + "Gewerk: Dach\r\n" + headings);
        text("evaluation by cost group", Kind::Evaluation,
             evaluation + Values{{"Kostengruppe", "300"}, {"Jahr der Anweisung", "2024"}}, {}, ";",
             top + "Kostengruppe: 300\r\n" + headings);
        text("evaluation by year", Kind::Evaluation, evaluation + Values{{"Jahr der Anweisung", "2024"}}, {},
             ";", top + "Jahr der Anweisung: 2024\r\n" + headings);
        text("evaluation without criterion", Kind::Evaluation, evaluation, {}, ";", top + headings);
        text("payments", Kind::Payments, {{"Projekt", "A;B"}, {"Gesamtsumme", "3,00"}},
             {{"001", "X"}, {"002", "a", "b", "c", "d", "e", "f", "g", "h", "", "spare", "45000"}}, ";",
             "\"Zelvora, gesamte Maßnahme  -  Projekt: A;B  -  Gesamtsumme: 3,00 Euro\"\r\n\r\n"
             "Nr.:;Firma;Gewerk;Anweisung vom;Rechnung vom;Rechnungs-Nr.:;Zahlungsart;Kostengruppe;Betrag;"
             "Bemerkungen\r\n001;X;;;;;;;;\r\n002;a;b;c;d;e;f;g;h;\r\n");
        text(
            "cost report with tabs", Kind::CostReport, {{"Projekt", "Schule"}}, {{"", "Summe"}}, "\t",
            "Kostenbericht   -  Projekt: Schule\r\n\r\nLNr.:\tFirma\tGewerk\tKostengruppe\tKostenberechnung\t"
            "Kostenanschlag\tNachträge\tKostenfeststellung\tAbrechnungssumme\tAbweichung Euro\tAbweichung "
            "%\r\n"
            "\tSumme\t\t\t\t\t\t\t\t\t\r\n");
    }
    void wholeText() {
        QFETCH(int, kind);
        QFETCH(Values, values);
        QFETCH(QList<QStringList>, rows);
        QFETCH(QString, separator);
        QFETCH(QString, written);
        ListSnapshot snapshot;
        snapshot.kind = Kind(kind);
        snapshot.values = values;
        snapshot.rows = rows;
        QCOMPARE(ExportFormat::text(snapshot, separator), written);
    }
};

QTEST_GUILESS_MAIN(ExportFormatTest)
#include "ExportFormatTest.moc"
