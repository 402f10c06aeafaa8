#include "ExportScreen.h"
#include "ScreenFixture.h"
#include "TestDatabase.h"
#include "Workspace.h"

#include <csignal>
#include <memory>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <sys/resource.h>

class ExportScreenTest : public QObject {
    Q_OBJECT

    struct Fixture : ScreenFixture {
        TestDatabase db;
        std::unique_ptr<Workspace> workspace;
        std::unique_ptr<ExportScreen> screen;

        // Project 1 with four bookings of three companies (one without trade and cost group) and two
        // estimate rows; project 2 without any.
        Fixture() {
            db.exec("INSERT INTO tblFirma (Name, GewerkID, KostengruppeID) VALUES "
                    "('Müller & Söhne Bau GmbH', 'Rohbau', '300 Bauwerk – Baukonstruktionen'), "
                    "('Elektro Weiß', 'Elektro', '400 Technische Anlagen'), ('Ohne Gewerk', NULL, NULL)");
            db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES "
                    "(1, 'Neubau Grundschule Süd', 45000), (2, 'Leeres Projekt', 45000)");
            db.exec(
                "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
                "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) VALUES "
                "(1, '1', 'Neubau Grundschule Süd', 'Müller & Söhne Bau GmbH', 'Rohbau', "
                "'300 Bauwerk – Baukonstruktionen', 45306, 45300, 'RE-2024/17', '1. Abschlagszahlung', "
                "'Abschlag; Bodenplatte', 12345.67), "
                "(2, '1', 'Neubau Grundschule Süd', 'Elektro Weiß', 'Elektro', '400 Technische Anlagen', "
                "45400, NULL, '', 'Schlußzahlung', 'Rechnung \"vorläufig\" – 3 % Skonto (€)', 2500), "
                "(3, '1', 'Neubau Grundschule Süd', 'Ohne Gewerk', NULL, NULL, 45000, 44990, 'A-1', "
                "'Rückhalt', NULL, -150.5), "
                "(4, '1', 'Neubau Grundschule Süd', 'Müller & Söhne Bau GmbH', 'Rohbau', "
                "'300 Bauwerk – Baukonstruktionen', 45500, 45490, 'RE-2024/31', '2. Abschlagszahlung', "
                "'Zweite Zeile\nnach dem Umbruch', 20000)");
            db.exec(
                "INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                "ArchitektDatum, "
                "ArchitektKosten, NachtragDatum, NachtragArt, NachtragKosten) VALUES "
                "(1, '1', 'Neubau Grundschule Süd', 'Müller & Söhne Bau GmbH', 'Rohbau', NULL, 45200, 50000, "
                "45250, 'Auftrag vom', 48000), "
                "(2, '1', 'Neubau Grundschule Süd', 'Müller & Söhne Bau GmbH', 'Rohbau', NULL, NULL, NULL, "
                "45420, '1. Nachtr. Auftrag', 3500.5)");
        }
        ~Fixture() {
            screen.reset();
            if (workspace)
                workspace->close();
        }
        // The workspace of a project on tab, and the export screen beside it asking it for its list.
        void open(int tab, const QString& project = "1", const QString& name = "Neubau Grundschule Süd") {
            workspace = std::make_unique<Workspace>(db.path(), dialogs, settings);
            workspace->setProject(project, name);
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
        void choose(const QString& picker, const QString& text) {
            auto* box = find<QComboBox>(workspace.get(), picker);
            const int index = box->findText(text);
            QVERIFY2(index >= 0, qPrintable(text));
            box->setCurrentIndex(index);
            emit box->activated(index);
        }
        // "&Exportieren" with the save dialog answering path (cancelling when it is empty).
        void exportTo(const QString& path) {
            if (!path.isEmpty())
                dialogs.files.enqueue(path);
            click(screen.get(), "Command1");
        }
    };

    // The golden file beside the test, byte for byte; on a difference the file written is kept in the
    // build folder for a look.
    static void compareWithGolden(const QString& written, const QString& golden) {
        QFile expected(QStringLiteral(ZLV_GOLDEN_DIR "/") + golden);
        const bool found = expected.open(QIODevice::ReadOnly);
        if (!found || Fixture::read(written) != expected.readAll()) {
            const QString kept = QDir::current().filePath("actual-" + golden);
            QFile::remove(kept);
            QFile::copy(written, kept);
            QFAIL(qPrintable((found ? "differs from " : "missing golden file ") + expected.fileName() +
                             "; written: " + kept));
        }
    }

private slots:
    // Each list as its golden file: Windows-1252 bytes, CR LF after every line, empty values leaving
    // nothing between separators, a last empty value ending the line in ";", values holding ";", a quote
    // or a line break quoted; the proposal follows the tab, the screen closes after writing.
    void goldenFiles_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<bool>("tabs");
        QTest::addColumn<QString>("golden");
        QTest::newRow("bookings") << int(Workspace::BookingsTabIndex) << "Zelvora" << false << "zelvora.csv";
        QTest::newRow("bookings, tab")
            << int(Workspace::BookingsTabIndex) << "Zelvora" << true << "zelvora_tabulator.txt";
        QTest::newRow("company") << int(Workspace::CompanyTabIndex) << "Firma" << false << "firma.csv";
        QTest::newRow("evaluation by year")
            << int(Workspace::EvaluationTabIndex) << "Auswertung_Filter" << false << "auswertung_jahr.csv";
        QTest::newRow("cost report") << int(Workspace::CostReportTabIndex) << "Kostenbericht" << false
                                     << "kostenbericht.csv";
    }
    void goldenFiles() {
        QFETCH(int, tab);
        QFETCH(QString, proposed);
        QFETCH(bool, tabs);
        QFETCH(QString, golden);
        Fixture f;
        f.open(tab);
        if (tab == Workspace::CompanyTabIndex)
            f.choose("cboFirmaFirma", "Müller & Söhne Bau GmbH");
        if (tab == Workspace::EvaluationTabIndex)
            f.find<QDateEdit>(f.workspace.get(), "dtpJahr")->setDate(QDate(2024, 5, 1));
        if (tabs)
            f.click(f.screen.get(), "Option2");
        f.exportTo(f.file("export.csv"));
        QCOMPARE(f.dialogs.shown.size(), 1);
        const ScriptedDialogs::Shown& dialog = f.dialogs.shown.constFirst();
        QCOMPARE(dialog.kind, ScriptedDialogs::Shown::Kind::SaveFile);
        QCOMPARE(dialog.title, "Daten exportieren...");
        QCOMPARE(QFileInfo(dialog.text.section('|', 0, 0)).fileName() + '|' + dialog.text.section('|', 1),
                 proposed + "|Export CSV-Dateien (*.csv);;Export Textdateien (*.txt)");
        compareWithGolden(f.file("export.csv"), golden);
        QVERIFY(!f.screen->isVisible());
    }

    // An empty list: the heading lines only. A name returned without an extension gets the filter's
    // ".csv", and an existing file is replaced.
    void emptyListGivesHeadingsOnly() {
        Fixture f;
        f.open(Workspace::BookingsTabIndex, "2", "Leeres Projekt");
        QVERIFY(TestDatabase::writeFile(f.file("Zelvora.csv"), "old content, longer than the new one\r\n"));
        f.exportTo(f.file("Zelvora"));
        QCOMPARE(
            Fixture::read(f.file("Zelvora.csv")),
            "Zelvora, gesamte Ma\xdfnahme  -  Projekt: Leeres Projekt  -  Gesamtsumme: 0,00 Euro\r\n\r\n"
            "Nr.:;Firma;Gewerk;Anweisung vom;Rechnung vom;Rechnungs-Nr.:;Zahlungsart;Kostengruppe;Betrag;"
            "Bemerkungen\r\n");
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Zelvora.csv"});
    }

    // The list is the one shown when "&Exportieren" is pressed, not when the screen opened.
    void followsTheTabShownAtExport() {
        Fixture f;
        f.open(Workspace::BookingsTabIndex);
        f.showTab(Workspace::CostReportTabIndex);
        f.exportTo(f.file("bericht.csv"));
        QVERIFY(Fixture::read(f.file("bericht.csv"))
                    .startsWith("Kostenbericht   -  Projekt: Neubau Grundschule S\xfc"
                                "d\r\n\r\nLNr.:;"));
        QCOMPARE(QFileInfo(f.dialogs.shown.constFirst().text.section('|', 0, 0)).fileName(), "Kostenbericht");
    }

    void entryTabClosesWithoutDialog() {
        Fixture f;
        f.open(Workspace::BookingsTabIndex);
        f.showTab(Workspace::EntryTabIndex);
        const QString before = TestDatabase::fileState(f.file("zlv.ini"));
        f.exportTo(f.file("nie.csv"));
        QVERIFY(f.dialogs.shown.isEmpty());
        QVERIFY(!f.screen->isVisible());
        QVERIFY(!QFileInfo::exists(f.file("nie.csv")));
        QCOMPARE(TestDatabase::fileState(f.file("zlv.ini")), before);
    }

    void cancelWritesNothingAndStaysOpen() {
        Fixture f;
        f.open(Workspace::BookingsTabIndex);
        const QString before = TestDatabase::fileState(f.file("zlv.ini"));
        f.exportTo(QString());
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.screen->isVisible());
        QCOMPARE(TestDatabase::fileState(f.file("zlv.ini")), before);
        f.click(f.screen.get(), "Command2");
        QVERIFY(!f.screen->isVisible());
    }

    // A separator that cannot be used is refused with a message before the file is asked for; a typed
    // one joins the values, and values holding it are quoted.
    void separatorTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "Bitte geben Sie ein Trennzeichen ein.";
        QTest::newRow("quote") << "\""
                               << "Das Anführungszeichen kann nicht als Trennzeichen dienen";
        QTest::newRow("outside the code page") << "→"
                                               << "Das Trennzeichen „→“ kann im Windows-Zeichensatz";
        QTest::newRow("comma") << ","
                               << "";
    }
    void separatorTyped() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Fixture f;
        f.open(Workspace::BookingsTabIndex);
        auto* text = f.find<QLineEdit>(f.screen.get(), "Text1");
        text->clear();
        text->insert(typed);
        f.exportTo(f.file("komma.csv"));
        if (!message.isEmpty()) {
            QCOMPARE(f.dialogs.shown.size(), 1);
            QCOMPARE(f.dialogs.shown.constFirst().icon, Dialogs::Icon::Warning);
            QVERIFY2(f.dialogs.lastText().startsWith(message), qPrintable(f.dialogs.lastText()));
            QVERIFY(f.screen->isVisible());
            QVERIFY(!QFileInfo::exists(f.file("komma.csv")));
            return;
        }
        const QList<QByteArray> lines = Fixture::read(f.file("komma.csv")).split('\n');
        QCOMPARE(lines.at(0), "\"Zelvora, gesamte Ma\xdfnahme  -  Projekt: Neubau Grundschule S\xfc"
                              "d  -  Gesamtsumme: 34.695,17 Euro\"\r");
        QCOMPARE(lines.at(3), "001,M\xfcller & S\xf6hne Bau GmbH,Rohbau,15.01.2024,09.01.2024,RE-2024/17,"
                              "1. Abschlagszahlung,300 Bauwerk \x96 Baukonstruktionen,\"12.345,67\","
                              "Abschlag; Bodenplatte\r");
    }

    void failedWriteKeepsTheOldFile() {
        Fixture f;
        f.open(Workspace::BookingsTabIndex);
        QVERIFY(QDir(f.dir.path()).mkdir("Ordner.csv"));
        f.exportTo(f.file("Ordner.csv"));
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Critical);
        QVERIFY2(f.dialogs.lastText().startsWith("Die Datei „" +
                                                 QDir::toNativeSeparators(f.file("Ordner.csv")) +
                                                 "“ konnte nicht geschrieben werden"),
                 qPrintable(f.dialogs.lastText()));
        QVERIFY2(f.dialogs.lastText().contains("(Der Name bezeichnet einen Ordner)"),
                 qPrintable(f.messages()));
        QVERIFY(QFileInfo(f.file("Ordner.csv")).isDir());
        QVERIFY(f.screen->isVisible());
        f.dialogs.shown.clear();
        f.exportTo("/sys/Zelvora.csv");
        QVERIFY2(f.dialogs.lastText().contains("(Zugriff verweigert)"), qPrintable(f.messages()));
        f.dialogs.shown.clear();

        QVERIFY(TestDatabase::writeFile(f.file("alt.csv"), "die alte Datei\r\n"));
        const QString before = TestDatabase::fileState(f.file("alt.csv"));
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit saved = limit;
        limit.rlim_cur = 100;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        f.exportTo(f.file("alt.csv"));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QVERIFY2(f.dialogs.shown.size() == 2,
                 qPrintable(f.messages() + "\n" + Fixture::read(f.file("alt.csv"))));
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Critical);
        QVERIFY2(f.dialogs.lastText().contains(
                     "alt.csv“ konnte nicht geschrieben werden (Schreibfehler – ist der Datenträger voll?)"),
                 qPrintable(f.messages()));
        QVERIFY(f.dialogs.lastText().contains("Eine vorhandene Datei dieses Namens ist unverändert."));
        QCOMPARE(TestDatabase::fileState(f.file("alt.csv")), before);
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
};

QTEST_MAIN(ExportScreenTest)
#include "ExportScreenTest.moc"
