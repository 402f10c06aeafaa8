#include "AppController.h"
#include "AppTestWindows.h"
#include "PrintExportFixture.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

// Printing from the workspace and from the company register through the print settings screen, as the
// program opens it: captioned by tab, the list shown when printing starts written as a PDF file, and the
// screen closing with its opener.
class PrintFromScreensTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestDatabase db;
        QDir program{db.folder()};
        Settings settings{program.filePath("TalbrinZlv.ini")};
        ScriptedDialogs dialogs;
        std::unique_ptr<AppController> app;

        // Project "Neubau Kita" with 20 bookings of 100 euros; 31 companies "Bau nn" and one other.
        Fixture() {
            db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
            db.exec("INSERT INTO tblFirma (Name, PLZ, Ort) VALUES ('Elektro Süd', '80331', 'München')");
            for (int i = 1; i <= 31; ++i)
                db.exec("INSERT INTO tblFirma (Name, PLZ, Ort, GewerkID, KostengruppeID) VALUES (?, '97070', "
                        "'Würzburg', 'Rohbau', '300 Bauwerk')",
                        {QString("Bau %1").arg(i, 2, 10, QChar('0'))});
            for (int pid = 1; pid <= 20; ++pid)
                db.exec(
                    "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                    "AnweisungVom, "
                    "RechnungVom, Zahlungsart, Betrag) VALUES (?, '1', 'Neubau Kita', 'Bau 01', 'Rohbau', "
                    "'300 Bauwerk', 45000, 44990, 'Rückhalt', 100)",
                    {pid});
            app = std::make_unique<AppController>(program.path(), dialogs, settings);
            if (!app->start())
                qFatal("no start");
            settle();
        }
        ~Fixture() {
            app.reset();
            settle();
        }
        static void click(QWidget* window, const QString& name) {
            QTest::mouseClick(window->findChild<QAbstractButton*>(name), Qt::LeftButton);
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
    // The print buttons open the print settings beside the workspace, captioned by the tab (none on the
    // entry tab); "Drucken" writes the list of the tab shown at that moment in the order shown; closing
    // the workspace closes them.
    void workspacePrintsTheListShownWhenPrintingStarts() {
        Fixture f;
        f.app->openProjectManager();
        QWidget* workspace = loadFirstProject(*f.app);
        f.click(workspace, "tbrDrucken");
        f.click(workspace, "cmdDruckvorschau");
        QVERIFY(!f.printSettingsShown());
        const QStringList captions = {"Zelvora drucken", "Firma drucken", "Auswertung drucken",
                                      "Ausgabemanager"};
        for (int tab = 4; tab >= 1; --tab) {
            f.showTab(tab);
            f.click(workspace, tab % 2 ? "tbrDrucken" : "cmdDruckvorschau");
            QVERIFY(f.printSettingsShown());
            QCOMPARE(f.app->printSettings()->windowTitle(), captions.at(tab - 1));
            QVERIFY(!f.app->printSettings()->isModal());
        }
        auto* list = workspace->findChild<QTreeView*>("ListView1");
        QHeaderView* header = list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        QCOMPARE(list->model()->index(0, 0).data().toString() + '|' +
                     list->model()->index(19, 0).data().toString(),
                 "020|001");

        const QString payments = f.printToPdf("Zahlungen.pdf");
        QCOMPARE(f.proposedFile(), "Zelvora.pdf");
        QCOMPARE(PrintExport::pdfInfo(payments, "Pages") + ' ' + PrintExport::pdfInfo(payments, "Page size"),
                 "2 842 x 595 pts (A4)");
        const QString page1 = PrintExport::pdfText(payments, 1);
        QVERIFY2(page1.contains("Projekt: Neubau Kita") && page1.contains("Gesamtsumme: 2.000,00 Euro") &&
                     page1.contains("020") && !page1.contains("001"),
                 qPrintable(page1));
        QVERIFY(PrintExport::pdfText(payments, 2).contains("001"));

        f.showTab(4);
        const QString costReport = f.printToPdf("Bericht.pdf");
        QCOMPARE(f.proposedFile(), "Kostenbericht.pdf");
        QVERIFY(PrintExport::pdfText(costReport).contains("Kostenbericht in Euro, alle Angaben incl. MwSt."));

        f.showTab(0);
        QVERIFY(!QFile::exists(f.printToPdf("Nichts.pdf")));
        QCOMPARE(f.dialogs.shown.constLast().kind, ScriptedDialogs::Shown::Kind::Inform);
        QVERIFY(f.dialogs.lastText().startsWith("Hier gibt es keine Liste zu drucken."));
        f.dialogs.files.clear();

        f.click(workspace, "tbrProjektmanager");
        QVERIFY(!f.printSettingsShown());
        QVERIFY(!f.app->printSettings());
    }

    // From the company register the print settings print the company list as it shows, with the search
    // text and the count, in portrait; closing the register closes them.
    void companyRegisterPrintsItsList() {
        Fixture f;
        f.app->openCompanyRegister();
        QWidget* companies = f.app->companyRegister();
        QTest::keyClicks(companies->findChild<QLineEdit*>("Text10"), "bau");
        f.click(companies, "Command7");
        QCOMPARE(f.app->printSettings()->windowTitle(), "Ausgabemanager");
        const QString list = f.printToPdf("Firmen.pdf");
        QCOMPARE(f.proposedFile(), "Firmenliste.pdf");
        QCOMPARE(PrintExport::pdfInfo(list, "Pages") + ' ' + PrintExport::pdfInfo(list, "Page size"),
                 "2 595 x 842 pts (A4)");
        const QString page1 = PrintExport::pdfText(list, 1);
        QVERIFY2(page1.contains("Gesetzter Filter = 'bau'") && page1.contains("Anzahl Firmen: 31") &&
                     page1.contains("Bau 01") && !page1.contains("Elektro"),
                 qPrintable(page1));
        f.click(companies, "Command8");
        QVERIFY(!f.printSettingsShown());
    }
};

QTEST_MAIN(PrintFromScreensTest)
#include "PrintFromScreensTest.moc"
