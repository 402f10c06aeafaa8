#include "AppController.h"
#include "AppTestWindows.h"
#include "Database.h"
#include "ScriptedDialogs.h"
#include "Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

// Printing from the workspace and from the company register through the print settings screen, as the
// program opens it: the caption by tab, the report of the list shown when printing starts written as a
// PDF file, and the screen closing with its opener.
class PrintFromScreensTest : public QObject {
    Q_OBJECT

    struct Fixture {
        QTemporaryDir program;
        Settings settings{program.filePath("TalbrinZlv.ini")};
        ScriptedDialogs dialogs;
        std::unique_ptr<AppController> app;

        // Project 1 "Neubau Kita" with 20 bookings of 100 euros; 31 companies whose names hold "Bau" and
        // one other.
        Fixture() {
            const QString dbPath = program.filePath("ZLV.mdb");
            if (!Database::create(dbPath))
                qFatal("no database");
            std::unique_ptr<Database> db = Database::open(dbPath);
            bool ok = db->exec(
                "INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Neubau Kita', 45000)");
            for (int i = 1; i <= 31; ++i)
                ok =
                    ok &&
                    db->exec(QStringLiteral("INSERT INTO tblFirma (Name, PLZ, Ort, GewerkID, KostengruppeID) "
                                            "VALUES ('Bau %1', '97070', 'Würzburg', 'Rohbau', '300 Bauwerk')")
                                 .arg(i, 2, 10, QLatin1Char('0')));
            ok = ok &&
                 db->exec("INSERT INTO tblFirma (Name, PLZ, Ort) VALUES ('Elektro Süd', '80331', 'München')");
            for (int pid = 1; pid <= 20; ++pid)
                ok =
                    ok &&
                    db->exec(QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, "
                                            "Kostengruppe, AnweisungVom, RechnungVom, Zahlungsart, Betrag) "
                                            "VALUES (%1, '1', 'Neubau Kita', 'Bau 01', 'Rohbau', "
                                            "'300 Bauwerk', 45000, 44990, 'Rückhalt', 100)")
                                 .arg(pid));
            if (!ok)
                qFatal("fixture not written");
            db.reset();
            app = std::make_unique<AppController>(program.path(), dialogs, settings);
            if (!app->start())
                qFatal("no start");
            settle();
        }
        ~Fixture() {
            app.reset();
            settle();
        }
        QWidget* openWorkspace() {
            app->openProjectManager();
            return loadFirstProject(*app);
        }
        void showTab(int tab) { app->workspace()->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(tab); }
        static void click(QWidget* window, const QString& name) {
            auto* button = window->findChild<QAbstractButton*>(name);
            if (!button)
                qWarning("no button %s", qPrintable(name));
            QTest::mouseClick(button, Qt::LeftButton);
            settle();
        }
        bool printSettingsShown() const { return visibleWindows().contains(QStringLiteral("frmFürExe")); }
        // Presses "Drucken" with "PDF-Datei" chosen and the save dialog answered with name.
        QString printToPdf(const QString& name) {
            auto* printers = app->printSettings()->findChild<QComboBox*>("comboDrucker(1)");
            printers->setCurrentIndex(printers->findText("PDF-Datei"));
            const QString path = program.filePath(name);
            dialogs.files.enqueue(path);
            click(app->printSettings(), "cmdTabDrucken");
            return path;
        }
        // What the save dialog proposed last, without its folder.
        QString proposedFile() const {
            const QString shown = dialogs.lastText();
            return shown.section('|', 0, 0).section('/', -1);
        }
    };

    static QString pdfInfo(const QString& path, const QByteArray& field) {
        QProcess pdfinfo;
        pdfinfo.start("pdfinfo", {path});
        pdfinfo.waitForFinished(60000);
        for (const QByteArray& line : pdfinfo.readAllStandardOutput().split('\n')) {
            if (line.startsWith(field + ':'))
                return QString::fromUtf8(line.mid(field.size() + 1).trimmed());
        }
        return QStringLiteral("<no %1>").arg(QString::fromLatin1(field));
    }
    static QString pdfText(const QString& path, int page) {
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), path, "-"});
        pdftotext.waitForFinished(60000);
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }
    static bool isLandscape(const QString& path) {
        const QStringList size = pdfInfo(path, "Page size").split(' ');
        return size.size() > 2 && size.at(0).toDouble() > size.at(2).toDouble();
    }

private slots:
    // The print button opens the print settings without blocking the workspace, captioned by the tab;
    // on the entry tab it opens nothing.
    void workspaceOpensThePrintSettingsCaptionedByTab() {
        Fixture f;
        QWidget* workspace = f.openWorkspace();
        f.click(workspace, "tbrDrucken");
        f.click(workspace, "cmdDruckvorschau");
        QVERIFY(!f.printSettingsShown());
        const QStringList captions = {"Zelvora drucken", "Firma drucken", "Auswertung drucken",
                                      "Ausgabemanager"};
        for (int tab = 1; tab <= 4; ++tab) {
            f.showTab(tab);
            f.click(workspace, tab % 2 ? "tbrDrucken" : "cmdDruckvorschau");
            QVERIFY(f.printSettingsShown());
            QCOMPARE(f.app->printSettings()->windowTitle(), captions.at(tab - 1));
            QVERIFY(!f.app->printSettings()->isModal());
        }
        QCOMPARE(f.app->printSettings()->findChild<QLineEdit*>("Text1")->text(), "15");
    }

    // "Drucken" writes the list of the tab shown at that moment, in the order shown, as a landscape PDF
    // under the report's proposed name; on the entry tab nothing is printed. Closing the workspace closes
    // the print settings.
    void workspacePrintsTheListShownWhenPrintingStarts() {
        Fixture f;
        QWidget* workspace = f.openWorkspace();
        f.showTab(1);
        auto* list = workspace->findChild<QTreeView*>("ListView1");
        QHeaderView* header = list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        const QString first = list->model()->index(0, 0).data().toString();
        const QString last = list->model()->index(19, 0).data().toString();
        QCOMPARE(first + '|' + last, "020|001");
        f.click(workspace, "tbrDrucken");

        const QString payments = f.printToPdf("Zahlungen.pdf");
        QCOMPARE(f.dialogs.shown.constLast().title, "Als PDF-Datei speichern");
        QCOMPARE(f.proposedFile(), "Zelvora.pdf");
        QVERIFY2(f.dialogs.lastText().endsWith("|PDF-Dateien (*.pdf)"), qPrintable(f.dialogs.lastText()));
        QCOMPARE(pdfInfo(payments, "Pages"), "2");
        QVERIFY(isLandscape(payments));
        const QString page1 = pdfText(payments, 1);
        QVERIFY2(page1.contains("Zelvora, gesamte Maßnahme") && page1.contains("Projekt: Neubau Kita") &&
                     page1.contains("Gesamtsumme: 2.000,00 Euro"),
                 qPrintable(page1));
        QVERIFY(page1.contains(first) && !page1.contains(last));
        QVERIFY(pdfText(payments, 2).contains(last));

        f.showTab(4);
        const QString costReport = f.printToPdf("Bericht.pdf");
        QCOMPARE(f.app->printSettings()->windowTitle(), "Zelvora drucken");
        QCOMPARE(f.proposedFile(), "Kostenbericht.pdf");
        QVERIFY(pdfText(costReport, 1).contains("Kostenbericht in Euro, alle Angaben incl. MwSt."));

        f.showTab(0);
        const int dialogsBefore = int(f.dialogs.shown.size());
        const QString nothing = f.printToPdf("Nichts.pdf");
        QCOMPARE(int(f.dialogs.shown.size()), dialogsBefore + 1);
        QCOMPARE(int(f.dialogs.shown.constLast().kind), int(ScriptedDialogs::Shown::Kind::Inform));
        QVERIFY(!QFile::exists(nothing));
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
        QVERIFY(f.printSettingsShown());
        QCOMPARE(f.app->printSettings()->windowTitle(), "Ausgabemanager");

        const QString list = f.printToPdf("Firmen.pdf");
        QCOMPARE(f.proposedFile(), "Firmenliste.pdf");
        QCOMPARE(pdfInfo(list, "Pages"), "2");
        QVERIFY(!isLandscape(list));
        const QString page1 = pdfText(list, 1);
        QVERIFY2(page1.contains("Gesetzter Filter = 'bau'") && page1.contains("Anzahl Firmen: 31") &&
                     page1.contains("Bau 01") && !page1.contains("Elektro"),
                 qPrintable(page1));

        f.click(companies, "Command8");
        QVERIFY(!f.printSettingsShown());
    }
};

QTEST_MAIN(PrintFromScreensTest)
#include "PrintFromScreensTest.moc"
