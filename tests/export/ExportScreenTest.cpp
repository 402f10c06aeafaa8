#include "ExportScreen.h"
#include "ExportFormat.h"
#include "PrintExportFixture.h"
#include "ScreenFixture.h"
#include "TestDatabase.h"
#include "Windows1252.h"
#include "Workspace.h"

#include <memory>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using Kind = ListSnapshot::Kind;
using Values = QList<QPair<QString, QString>>;

class ExportScreenTest : public QObject {
    Q_OBJECT
    static void line(const char* tag, Kind kind, int column, const QString& value, const QString& written,
                     const QString& separator = ";") {
        QTest::newRow(tag) << int(kind) << column << value << written << separator;
    }
    static void text(const char* tag, Kind kind, const Values& values, const QList<QStringList>& rows,
                     const QString& separator, const QString& written) {
        QTest::newRow(tag) << int(kind) << values << rows << separator << written;
    }

    struct Fixture : ScreenFixture, WidgetDriver {
        TestDatabase db;
        std::unique_ptr<Session> session;
        std::unique_ptr<Workspace> workspace;
        std::unique_ptr<ExportScreen> screen;

        // Project 1 with four bookings of three companies (one without trade and cost group) and two
        // estimate rows.
        Fixture() {
            db.exec(
                "INSERT INTO tblFirma (Name, GewerkID, KostengruppeID) VALUES ('Müller & Söhne Bau GmbH', "
                "'Rohbau', '300 Bauwerk – Baukonstruktionen'), ('Elektro Weiß', 'Elektro', '400 Technische "
                "Anlagen'), ('Ohne Gewerk', NULL, NULL)");
            db.exec(
                "INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Grundschule Süd', "
                "45000)");
            db.exec(
                "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
                "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) VALUES (1, '1', 'Neubau "
                "Grundschule Süd', 'Müller & Söhne Bau GmbH', 'Rohbau', '300 Bauwerk – Baukonstruktionen', "
                "45306, 45300, 'RE-2024/17', '1. Abschlagszahlung', 'Abschlag; Bodenplatte', 12345.67), (2, "
                "'1', 'Neubau Grundschule Süd', 'Elektro Weiß', 'Elektro', '400 Technische Anlagen', 45400, "
                "NULL, '', 'Schlußzahlung', 'Rechnung \"vorläufig\" – 3 % Skonto (€)', 2500), (3, '1', "
                "'Neubau Grundschule Süd', 'Ohne Gewerk', NULL, NULL, 45000, 44990, 'A-1', 'Rückhalt', NULL, "
                "-150.5), (4, '1', 'Neubau Grundschule Süd', 'Müller & Söhne Bau GmbH', 'Rohbau', '300 "
                "Bauwerk – Baukonstruktionen', 45500, 45490, 'RE-2024/31', '2. Abschlagszahlung', 'Zweite "
                "Zeile\nnach dem Umbruch', 20000)");
            db.exec(
                "INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, Gewerk, ArchitektDatum, "
                "ArchitektKosten, NachtragDatum, NachtragArt, NachtragKosten) VALUES (1, '1', 'Neubau "
                "Grundschule Süd', 'Müller & Söhne Bau GmbH', 'Rohbau', 45200, 50000, 45250, 'Auftrag vom', "
                "48000), (2, '1', 'Neubau Grundschule Süd', 'Müller & Söhne Bau GmbH', 'Rohbau', NULL, NULL, "
                "45420, '1. Nachtr. Auftrag', 3500.5)");
        }
        ~Fixture() {
            screen.reset();
            if (workspace)
                workspace->close();
        }
        // The workspace of a project on tab, and the export screen beside it asking it for its list.
        void open(int tab) {
            session = Session::open(db.path());
            workspace = std::make_unique<Workspace>(*session, dialogs, settings);
            workspace->setProject("1", "Neubau Grundschule Süd");
            workspace->show();
            QEvent activation(QEvent::WindowActivate);
            QCoreApplication::sendEvent(workspace.get(), &activation);
            showTab(tab);
            Workspace* shown = workspace.get();
            screen = std::make_unique<ExportScreen>(
                [shown]() -> std::optional<ListSnapshot> {
                    if (shown->currentTab() == Workspace::EntryTabIndex)
                        return std::nullopt;
                    return shown->snapshot();
                },
                dialogs);
            screen->show();
        }
        void showTab(int tab) { workspace->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(tab); }
        const QObject* root() const override { return screen.get(); }
        // "&Exportieren" with the save dialog answering path (cancelling when it is empty).
        void exportTo(const QString& path) {
            if (!path.isEmpty())
                dialogs.files.enqueue(path);
            click("Command1");
        }
    };

private slots:
    // Each list as its golden file: Windows-1252 bytes, CR LF after every line, empty values leaving
    // nothing between separators, a last empty value ending the line in ";", values holding ";", a quote
    // or a line break quoted; the proposal follows the tab; a name without extension gets ".csv", a file
    // of that name is replaced, and the screen closes after writing.
    void goldenFiles_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("golden");
        QTest::newRow("bookings") << int(Workspace::BookingsTabIndex) << "Zelvora"
                                  << "zelvora.csv";
        QTest::newRow("company") << int(Workspace::CompanyTabIndex) << "Firma"
                                 << "firma.csv";
        QTest::newRow("evaluation by year") << int(Workspace::EvaluationTabIndex) << "Auswertung_Filter"
                                            << "auswertung_jahr.csv";
        QTest::newRow("cost report") << int(Workspace::CostReportTabIndex) << "Kostenbericht"
                                     << "kostenbericht.csv";
    }
    void goldenFiles() {
        QFETCH(int, tab);
        QFETCH(QString, proposed);
        QFETCH(QString, golden);
        Fixture f;
        f.open(tab);
        if (tab == Workspace::CompanyTabIndex)
            WidgetDriver(f.workspace.get()).choose("cboFirmaFirma", "Müller & Söhne Bau GmbH");
        if (tab == Workspace::EvaluationTabIndex)
            WidgetDriver(f.workspace.get()).find<QDateEdit>("dtpJahr")->setDate(QDate(2024, 5, 1));
        QVERIFY(TestDatabase::writeFile(f.file("export.csv"), QByteArray(2000, 'x')));
        f.exportTo(f.file("export"));
        QCOMPARE(f.dialogs.shown.size(), 1);
        const ScriptedDialogs::Shown& dialog = f.dialogs.shown.constFirst();
        QCOMPARE(dialog.kind, ScriptedDialogs::Shown::Kind::SaveFile);
        QCOMPARE(dialog.title, "Daten exportieren...");
        QCOMPARE(QFileInfo(dialog.text.section('|', 0, 0)).fileName() + '|' + dialog.text.section('|', 1),
                 proposed + "|Export CSV-Dateien (*.csv);;Export Textdateien (*.txt)");
        QFile expected(QStringLiteral(ZLV_GOLDEN_DIR "/") + golden);
        QVERIFY(expected.open(QIODevice::ReadOnly));
        QCOMPARE(Fixture::read(f.file("export.csv")), expected.readAll());
        QCOMPARE(f.written(), QStringList{"export.csv"});
        QVERIFY(!f.screen->isVisible());
    }

    // The tab option or a typed separator joins the values, and values holding it are quoted; a
    // separator that cannot be used is refused before the file is asked for; a cancelled save dialog
    // writes nothing and leaves the screen open.
    void separator_data() {
        QTest::addColumn<bool>("tabs");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("line");
        const QByteArray none;
        QTest::newRow("tab") << true << ";" << true << ""
                             << QByteArray("\t12.345,67\tAbschlag; Bodenplatte\r");
        QTest::newRow("comma") << false << "," << true << ""
                               << QByteArray(",\"12.345,67\",Abschlag; Bodenplatte\r");
        QTest::newRow("empty") << false << "" << true << "Bitte geben Sie ein Trennzeichen ein." << none;
        QTest::newRow("quote") << false << "\"" << true
                               << "Das Anführungszeichen kann nicht als Trennzeichen dienen" << none;
        QTest::newRow("outside the code page")
            << false << "→" << true << "Das Trennzeichen „→“ kann im Windows-Zeichensatz" << none;
        QTest::newRow("save cancelled") << false << ";" << false << "" << none;
    }
    void separator() {
        QFETCH(bool, tabs);
        QFETCH(QString, typed);
        QFETCH(bool, answered);
        QFETCH(QString, message);
        QFETCH(QByteArray, line);
        Fixture f;
        f.open(Workspace::BookingsTabIndex);
        if (tabs)
            f.click("Option2");
        auto* text = f.find<QLineEdit>("Text1");
        text->clear();
        text->insert(typed);
        const QString ini = TestDatabase::fileState(f.file("zlv.ini"));
        f.exportTo(answered ? f.file("liste.csv") : QString());
        QCOMPARE(f.dialogs.shown.size(), 1);
        if (!line.isEmpty()) {
            const QByteArray first = Fixture::read(f.file("liste.csv")).split('\n').at(3);
            QVERIFY2(first.startsWith("001") && first.endsWith(line), first.constData());
            return;
        }
        QCOMPARE(f.dialogs.shown.constFirst().icon,
                 message.isEmpty() ? Dialogs::Icon::None : Dialogs::Icon::Warning);
        QVERIFY2(f.dialogs.lastText().startsWith(message), qPrintable(f.dialogs.lastText()));
        QVERIFY(f.screen->isVisible());
        QCOMPARE(f.written(), QStringList());
        QCOMPARE(TestDatabase::fileState(f.file("zlv.ini")), ini);
    }

    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fileLimit");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a folder") << "Ordner.csv" << 0 << "(Der Name bezeichnet einen Ordner)";
        QTest::newRow("refused") << "/sys/Zelvora.csv" << 0 << "(Zugriff verweigert)";
        QTest::newRow("full disk")
            << "alt.csv" << 100
            << "(Schreibfehler – ist der Datenträger voll?).\nEine vorhandene Datei dieses "
               "Namens ist unverändert.";
    }
    // A file that cannot be written is said, naming it and why; what stood under its name stays.
    void failedWriteKeepsTheOldFile() {
        QFETCH(QString, name);
        QFETCH(int, fileLimit);
        QFETCH(QString, reason);
        Fixture f;
        f.open(Workspace::BookingsTabIndex);
        const QString path = name.startsWith('/') ? name : f.file(name);
        QVERIFY(QDir(f.dir.path()).mkdir("Ordner.csv"));
        QVERIFY(TestDatabase::writeFile(f.file("alt.csv"), "die alte Datei\r\n"));
        const QString before = TestDatabase::fileState(f.file("alt.csv"));
        {
            const PrintExport::FullDisk disk(fileLimit ? rlim_t(fileLimit) : RLIM_INFINITY);
            f.exportTo(path);
        }
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Critical);
        QVERIFY2(f.dialogs.lastText().startsWith("Die Datei „" + QDir::toNativeSeparators(path) +
                                                 "“ konnte nicht geschrieben werden " + reason),
                 qPrintable(f.messages()));
        QVERIFY(QFileInfo(f.file("Ordner.csv")).isDir());
        QCOMPARE(TestDatabase::fileState(f.file("alt.csv")), before);
        QCOMPARE(f.written(), (QStringList{"alt.csv"}));
        QVERIFY(f.screen->isVisible());
    }

    // Characters that Windows-1252 cannot hold become "?", one each, and a notice tells how many.
    void charactersOutsideTheCodePageAreCounted() {
        Fixture f;
        f.db.exec("UPDATE tblBuchung SET Bemerkungen = 'Ziegel ≥ 5 t 😀' WHERE PID = 3");
        f.open(Workspace::BookingsTabIndex);
        f.exportTo(f.file("zeichen.csv"));
        QVERIFY(Fixture::read(f.file("zeichen.csv")).contains(";Ziegel ? 5 t ?\r\n"));
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Information);
        QVERIFY2(f.dialogs.lastText().contains("\n2 Zeichen der Liste"), qPrintable(f.dialogs.lastText()));
        QVERIFY(!f.screen->isVisible());
    }
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
        text("evaluation by company and state", Kind::Evaluation,
             evaluation + Values{{"Status", "angeordnet"}, {"Firma", "Weiß"}}, {}, ";",
             top + "Firma: Weiß - Status: angeordnet\r\n" + headings);
        text(
            "sign-offs", Kind::SignOffs, {{"Benutzer", "meier"}},
            {{"1 - Schule", "001", "Weiß", "R-1", "01.02.2024", "-1.234,50", "festgestellt", "schulz",
              "01.02.2024 10:00", "huber"}},
            ";",
            "Anordnungen  -  Buchungen, die auf Feststellung oder Anordnung durch meier warten\r\n\r\n"
            "Projekt;Nr.;Firma;Rechnungs-Nr.;Rechnung vom;Betrag;Status;Erfasst von;Erfasst am;"
            "Festgestellt von\r\n1 - Schule;001;Weiß;R-1;01.02.2024;-1.234,50;festgestellt;schulz;01.02.2024 "
            "10:00;huber\r\n");
        text("withholding tax", Kind::Withholdings, {{"Jahr", "2024"}, {"Summe", "892,50"}},
             {{"02/2024", "Würzburg", "10.03.2024", "", "", "1 Zahlung", "", "", "", "", "892,50"}}, ";",
             "Bauabzugsteuer  -  Jahr: 2024  -  einbehalten: 892,50 Euro\r\n\r\nMonat;Finanzamt;Fällig am;"
             "Projekt;Nr.;Firma;Rechnung vom;Rechnungsbetrag;Zahlung "
             "am;Brutto;Einbehalten\r\n02/2024;Würzburg;"
             "10.03.2024;;;1 Zahlung;;;;;892,50\r\n");
        text("payments", Kind::Payments, {{"Projekt", "A;B"}, {"Gesamtsumme", "3,00"}},
             {{"001", "X"}, {"002", "a", "b", "c", "d", "e", "f", "g", "h", "", "spare", "45000"}}, ";",
             "\"Zelvora, gesamte Maßnahme  -  Projekt: A;B  -  Gesamtsumme: 3,00 Euro\"\r\n\r\n"
             "Nr.:;Firma;Gewerk;Anweisung vom;Rechnung vom;Rechnungs-Nr.:;Zahlungsart;Kostengruppe;Betrag;"
             "Bemerkungen\r\n001;X;;;;;;;;\r\n002;a;b;c;d;e;f;g;h;\r\n");
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

QTEST_MAIN(ExportScreenTest)
#include "ExportScreenTest.moc"
