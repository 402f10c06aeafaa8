#include "AppController.h"
#include "AppTestWindows.h"
#include "PrintExportFixture.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"

#include <QComboBox>
#include <QDir>
#include <QTabWidget>
#include <QTest>

// Printing and export as the program opens them beside the workspace and the company register: captioned
// by tab, writing the list shown when they start, and closing with their opener.
class PrintAndExportFromScreensTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestDatabase db;
        QDir program{db.folder()};
        Settings settings{program.filePath("TalbrinZlv.ini")};
        ScriptedDialogs dialogs;
        std::unique_ptr<AppController> app;

        // Project "Neubau Kita" with 20 bookings of 100 euros; companies "Bau 1" to "Bau 3" and one other.
        Fixture() {
            db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
            db.exec("INSERT INTO tblFirma (Name, PLZ, Ort) VALUES ('Elektro Süd', '80331', 'München'), "
                    "('Bau 1', '97070', 'Würzburg'), ('Bau 2', '97070', 'Würzburg'), ('Bau 3', '97070', "
                    "'Würzburg')");
            for (int pid = 1; pid <= 20; ++pid)
                db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, AnweisungVom, Zahlungsart, "
                        "Betrag) "
                        "VALUES (?, '1', 'Neubau Kita', 'Bau 1', 45000, 'Rückhalt', 100)",
                        {pid});
            if (db.onServer())
                TestDatabase::writeFile(program.filePath("PfadZurDatenbank.ini"), db.path().toUtf8() + '\n');
            app = std::make_unique<AppController>(program.path(), dialogs, settings);
            if (!app->start())
                qFatal("no start");
            settle();
        }
        ~Fixture() {
            app.reset();
            settle();
        }
        void showTab(int tab) { app->workspace()->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(tab); }
        bool printSettingsShown() const { return visibleWindows().contains("frmFürExe"); }
        // Presses "Drucken" with "PDF-Datei" chosen and the save dialog answered with name.
        QString printToPdf(const QString& name) {
            auto* printers = app->printSettings()->findChild<QComboBox*>("comboDrucker(1)");
            printers->setCurrentIndex(printers->findText("PDF-Datei"));
            dialogs.files.enqueue(program.filePath(name));
            click(app->printSettings(), "cmdTabDrucken");
            return program.filePath(name);
        }
        // The file the save dialog proposed last, without its folder.
        QString proposedFile() const { return dialogs.lastText().section('|', 0, 0).section('/', -1); }
    };

private slots:
    void workspacePrintsTheListShownWhenPrintingStarts() {
        Fixture f;
        f.app->openProjectManager();
        QWidget* workspace = loadFirstProject(*f.app);
        click(workspace, "tbrDrucken");
        click(workspace, "cmdDruckvorschau");
        QVERIFY(!f.printSettingsShown());
        const QStringList captions = {"Zelvora drucken", "Firma drucken", "Auswertung drucken",
                                      "Ausgabemanager"};
        for (int tab = 4; tab >= 1; --tab) {
            f.showTab(tab);
            click(workspace, tab % 2 ? "tbrDrucken" : "cmdDruckvorschau");
            QVERIFY(f.printSettingsShown());
            QCOMPARE(f.app->printSettings()->windowTitle(), captions.at(tab - 1));
            QVERIFY(!f.app->printSettings()->isModal());
        }
        WidgetDriver(workspace).clickHeading("ListView1", 0);

        const QString payments = f.printToPdf("Zahlungen.pdf");
        QCOMPARE(f.proposedFile(), "Zelvora.pdf");
        QCOMPARE(PrintExport::pdfInfo(payments, "Pages") + ' ' + PrintExport::pdfInfo(payments, "Page size"),
                 "2 842 x 595 pts (A4)");
        const QString page1 = PrintExport::pdfText(payments).section('\f', 0, 0);
        QVERIFY2(page1.contains("Projekt: Neubau Kita") && page1.contains("Gesamtsumme: 2.000,00 Euro") &&
                     page1.contains("020") && !page1.contains("001"),
                 qPrintable(page1));

        f.showTab(0);
        QVERIFY(!QFile::exists(f.printToPdf("Nichts.pdf")));
        QVERIFY(f.dialogs.lastText().startsWith("Hier gibt es keine Liste zu drucken."));
        f.dialogs.files.clear();

        click(workspace, "tbrProjektmanager");
        QVERIFY(!f.printSettingsShown());
        QVERIFY(!f.app->printSettings());
    }

    // Printing and export read the list afresh when they start; when that read fails, they stop with the
    // message and write nothing.
    void printAndExportReadTheListAfresh_data() {
        QTest::addColumn<bool>("print");
        QTest::newRow("print") << true;
        QTest::newRow("export") << false;
    }
    void printAndExportReadTheListAfresh() {
        QFETCH(bool, print);
        Fixture f;
        f.app->openProjectManager();
        QWidget* workspace = loadFirstProject(*f.app);
        f.showTab(1);
        const auto output = [&](QString name) {
            click(workspace, print ? "tbrDrucken" : "tbrExport");
            name += print ? ".pdf" : ".csv";
            const QString path = f.program.filePath(name);
            if (print)
                return PrintExport::pdfText(f.printToPdf(name));
            f.dialogs.files.enqueue(path);
            click(f.app->exportScreen(), "Command1");
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
        };
        // Another workstation books meanwhile.
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, AnweisungVom, Zahlungsart, Betrag) "
            "VALUES (21, '1', 'Neubau Kita', 'Bau 2', 45001, 'Rückhalt', 11)");
        QVERIFY(output("neu").contains("Bau 2"));

        f.db.exec("ALTER TABLE tblBuchung RENAME TO zt_buchung");
        const qsizetype shown = f.dialogs.shown.size();
        QVERIFY(output("nicht").isEmpty());
        QVERIFY(!QFile::exists(f.program.filePath(print ? "nicht.pdf" : "nicht.csv")));
        QCOMPARE(f.dialogs.shown.size(), shown + 1);
        QCOMPARE(f.dialogs.shown.constLast().title, "Lesefehler");
        f.dialogs.files.clear();
        f.db.exec("ALTER TABLE zt_buchung RENAME TO tblBuchung");
    }

    // The company list prints as the register shows it, with the search text and the count, in portrait.
    void companyRegisterPrintsItsList() {
        Fixture f;
        f.app->openCompanyRegister();
        QWidget* companies = f.app->companyRegister();
        WidgetDriver(companies).type("Text10", "bau");
        click(companies, "Command7");
        QCOMPARE(f.app->printSettings()->windowTitle(), "Ausgabemanager");
        const QString list = f.printToPdf("Firmen.pdf");
        QCOMPARE(f.proposedFile(), "Firmenliste.pdf");
        QCOMPARE(PrintExport::pdfInfo(list, "Page size"), "595 x 842 pts (A4)");
        const QString text = PrintExport::pdfText(list);
        QVERIFY2(text.contains("Gesetzter Filter = 'bau'") && text.contains("Anzahl Firmen: 3") &&
                     text.contains("Bau 3") && !text.contains("Elektro"),
                 qPrintable(text));
        click(companies, "Command8");
        QVERIFY(!f.printSettingsShown());
    }

    // Export opens beside the workspace but not on the entry tab, writes the tab shown at that moment, and
    // closes after writing or with the workspace.
    void workspaceExportsTheListShownWhenExportStarts() {
        Fixture f;
        f.app->openProjectManager();
        QWidget* workspace = loadFirstProject(*f.app);
        click(workspace, "tbrExport");
        QCOMPARE(visibleWindows(), QStringList{"frmAusgabe"});
        f.showTab(1);
        click(workspace, "cmdExport");
        QCOMPARE(visibleWindows(), (QStringList{"frmAusgabe", "frmExport"}));
        f.showTab(4);
        f.dialogs.files.enqueue(f.program.filePath("bericht.csv"));
        click(f.app->exportScreen(), "Command1");
        QFile written(f.program.filePath("bericht.csv"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith("Kostenbericht   -  Projekt: Neubau Kita\r\n\r\n"));
        QVERIFY2(f.dialogs.lastText().contains("/Kostenbericht|"), qPrintable(f.dialogs.lastText()));
        QVERIFY(!f.app->exportScreen());

        click(workspace, "tbrExport");
        const qsizetype shown = f.dialogs.shown.size();
        f.showTab(0);
        click(f.app->exportScreen(), "Command1");
        QCOMPARE(f.dialogs.shown.size(), shown);
        QVERIFY(!f.app->exportScreen());

        f.showTab(3);
        click(workspace, "tbrExport");
        click(workspace, "tbrProjektmanager");
        QCOMPARE(visibleWindows(), QStringList{"frmProjekt"});
        QVERIFY(!f.app->exportScreen());
    }
};

QTEST_MAIN(PrintAndExportFromScreensTest)
#include "PrintAndExportFromScreensTest.moc"
