#include "ExportFormat.h"
#include "Windows1252.h"

#include <QTest>

// The exported file's text without a screen: the Windows code page, the quoting of values and the
// heading lines of each kind.
class ExportFormatTest : public QObject {
    Q_OBJECT

    static ListSnapshot snapshot(ListSnapshot::Kind kind, const QList<QPair<QString, QString>>& values,
                                 const QList<QStringList>& rows = {}) {
        ListSnapshot made;
        made.kind = kind;
        made.values = values;
        made.rows = rows;
        return made;
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
            << QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8e\x91\x92\x93\x94\x95\x96\x97"
                          "\x98\x99\x9a\x9b\x9c\x9e\x9f")
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

    void field_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "Müller & Söhne, Bau"
                               << ";"
                               << "Müller & Söhne, Bau";
        QTest::newRow("empty") << ""
                               << ";"
                               << "";
        QTest::newRow("separator") << "Abschlag; 2. Rate"
                                   << ";"
                                   << "\"Abschlag; 2. Rate\"";
        QTest::newRow("quote") << "Rechnung \"vorläufig\""
                               << ";"
                               << "\"Rechnung \"\"vorläufig\"\"\"";
        QTest::newRow("line feed") << "a\nb"
                                   << ";"
                                   << "\"a\nb\"";
        QTest::newRow("carriage return") << "a\rb"
                                         << ";"
                                         << "\"a\rb\"";
        QTest::newRow("tab with tabs") << "a\tb"
                                       << "\t"
                                       << "\"a\tb\"";
        QTest::newRow("tab with semicolons") << "a\tb"
                                             << ";"
                                             << "a\tb";
        QTest::newRow("semicolon with tabs") << "a;b"
                                             << "\t"
                                             << "a;b";
        QTest::newRow("comma typed") << "1.234,50"
                                     << ","
                                     << "\"1.234,50\"";
    }
    void field() {
        QFETCH(QString, value);
        QFETCH(QString, separator);
        QFETCH(QString, written);
        QCOMPARE(ExportFormat::field(value, separator), written);
    }

    // A value a spreadsheet would run as a formula is written with a leading apostrophe; a number the
    // program wrote into an amount column of the kind stays a number.
    void formulaLikeValues_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        const int payments = int(ListSnapshot::Kind::Payments);
        const int report = int(ListSnapshot::Kind::CostReport);
        const int estimates = int(ListSnapshot::Kind::CompanyEstimates);
        QTest::newRow("company =") << payments << 1 << "=2*21"
                                   << "'=2*21";
        QTest::newRow("remark quoted") << payments << 9 << "=1+1 Prüfung; Teil A"
                                       << "\"'=1+1 Prüfung; Teil A\"";
        QTest::newRow("plus") << payments << 5 << "+49 30"
                              << "'+49 30";
        QTest::newRow("minus in text column") << payments << 5 << "-8,80"
                                              << "'-8,80";
        QTest::newRow("at") << payments << 2 << "@SUM(A1)"
                            << "'@SUM(A1)";
        QTest::newRow("tab") << payments << 6 << "\t=1"
                             << "'\t=1";
        QTest::newRow("carriage return") << payments << 6 << "\r=1"
                                         << "\"'\r=1\"";
        QTest::newRow("inner sign") << payments << 1 << "Bau = Haus"
                                    << "Bau = Haus";
        QTest::newRow("amount") << payments << 8 << "-8,80"
                                << "-8,80";
        QTest::newRow("amount thousands") << payments << 8 << "-12.345,67"
                                          << "-12.345,67";
        QTest::newRow("no number in amount column") << payments << 8 << "-1+1"
                                                    << "'-1+1";
        QTest::newRow("estimate amount") << estimates << 6 << "-3.500,50"
                                         << "-3.500,50";
        QTest::newRow("estimate type") << estimates << 5 << "-Nachtrag"
                                       << "'-Nachtrag";
        QTest::newRow("percent") << report << 10 << "-35,31"
                                 << "-35,31";
        QTest::newRow("report company") << report << 1 << "-Bau"
                                        << "'-Bau";
    }
    void formulaLikeValues() {
        QFETCH(int, kind);
        QFETCH(int, column);
        QFETCH(QString, value);
        QFETCH(QString, written);
        const qsizetype fields = kind == int(ListSnapshot::Kind::Payments)     ? 10
                                 : kind == int(ListSnapshot::Kind::CostReport) ? 11
                                                                               : 7;
        QStringList row(fields);
        row[column] = value;
        QStringList line(fields);
        line[column] = written;
        const QString text = ExportFormat::text(snapshot(ListSnapshot::Kind(kind), {}, {row}), ";");
        QVERIFY2(text.endsWith("\n" + line.join(';') + "\r\n"), qPrintable(text));
    }

    void proposedFileNames() {
        using Kind = ListSnapshot::Kind;
        QCOMPARE(ExportFormat::proposedFileName(Kind::Payments), "Zelvora");
        QCOMPARE(ExportFormat::proposedFileName(Kind::CompanyEstimates), "Firma");
        QCOMPARE(ExportFormat::proposedFileName(Kind::Evaluation), "Auswertung_Filter");
        QCOMPARE(ExportFormat::proposedFileName(Kind::CostReport), "Kostenbericht");
        QVERIFY(ExportFormat::isExported(Kind::CostReport));
        QVERIFY(!ExportFormat::isExported(Kind::CompanyList));
    }

    // The evaluation's criterion line: the first criterion found in the order company, trade, cost
    // group, year; none without a criterion.
    void evaluationCriterionLine_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("line");
        QTest::newRow("company") << "Firma"
                                 << "Elektro Weiß"
                                 << "Firma: Elektro Weiß\r\n";
        QTest::newRow("trade") << "Gewerk"
                               << "Rohbau"
                               << "Gewerk: Rohbau\r\n";
        QTest::newRow("cost group") << "Kostengruppe"
                                    << "300"
                                    << "Kostengruppe: 300\r\n";
        QTest::newRow("year") << "Jahr der Anweisung"
                              << "2024"
                              << "Jahr der Anweisung: 2024\r\n";
        QTest::newRow("none") << ""
                              << ""
                              << "";
    }
    void evaluationCriterionLine() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, line);
        QList<QPair<QString, QString>> values{{"Projekt", "Schule"}, {"Teilsumme", "1,00"}};
        if (!key.isEmpty())
            values.append({key, value});
        QCOMPARE(ExportFormat::text(snapshot(ListSnapshot::Kind::Evaluation, values), ";"),
                 "Auswertung / Filter  -  Projekt: Schule  -  Teilsumme: 1,00 Euro\r\n" + line +
                     "\r\nLNr.:;Firma;Gewerk;Anweisung vom;Rechnung vom;Zahlungsart;Kostengruppe;Angew. "
                     "Betrag\r\n");
    }

    // A row gives as many fields as the headings name: missing ones empty, further columns left out; a
    // heading line holding the separator stays one field; the separator chosen joins every line.
    void rowsFollowTheHeadings() {
        const ListSnapshot payments =
            snapshot(ListSnapshot::Kind::Payments, {{"Projekt", "A;B"}, {"Gesamtsumme", "3,00"}},
                     {{"001", "X"}, {"002", "a", "b", "c", "d", "e", "f", "g", "h", "", "spare", "45000"}});
        QCOMPARE(
            ExportFormat::text(payments, ";"),
            "\"Zelvora, gesamte Maßnahme  -  Projekt: A;B  -  Gesamtsumme: 3,00 Euro\"\r\n\r\n"
            "Nr.:;Firma;Gewerk;Anweisung vom;Rechnung vom;Rechnungs-Nr.:;Zahlungsart;Kostengruppe;Betrag;"
            "Bemerkungen\r\n"
            "001;X;;;;;;;;\r\n"
            "002;a;b;c;d;e;f;g;h;\r\n");
        const ListSnapshot report =
            snapshot(ListSnapshot::Kind::CostReport, {{"Projekt", "Schule"}}, {{"", "Summe"}});
        QCOMPARE(ExportFormat::text(report, "\t"),
                 "Kostenbericht   -  Projekt: Schule\r\n\r\n"
                 "LNr.:\tFirma\tGewerk\tKostengruppe\tKostenberechnung\tKostenanschlag\tNachträge\t"
                 "Kostenfeststellung\tAbrechnungssumme\tAbweichung Euro\tAbweichung %\r\n"
                 "\tSumme\t\t\t\t\t\t\t\t\t\r\n");
    }
};

QTEST_GUILESS_MAIN(ExportFormatTest)
#include "ExportFormatTest.moc"
