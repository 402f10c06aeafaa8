#include "PrintSettingsScreen.h"
#include "PrintSettings.h"
#include "QPainterPrintEngine.h"
#include "ScriptedDialogs.h"
#include "Settings.h"

#include <memory>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The print settings screen driven through its widgets with a list handed over as the workspace hands it:
// the margin fields, the stored preferences, the printer list with its PDF file target, and print runs
// that write a PDF, are cancelled, or are refused.
class PrintSettingsScreenTest : public QObject {
    Q_OBJECT

    struct Fixture {
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        std::unique_ptr<Settings> settings = std::make_unique<Settings>(dir.filePath("zlv.ini"));
        std::unique_ptr<PrintSettingsScreen> screen;
        int snapshotsTaken = 0;
        int rows = 20;

        ~Fixture() {
            if (screen)
                screen->close();
        }
        PrintSettingsScreen& open(const PrinterCatalog& printers = {}) {
            screen = std::make_unique<PrintSettingsScreen>(dialogs, *settings, printers);
            screen->setSource(QStringLiteral("Zelvora drucken"), [this]() -> std::optional<ListSnapshot> {
                ++snapshotsTaken;
                return payments(rows);
            });
            screen->show();
            return *screen;
        }
        // The bookings list of a project with count bookings, as the workspace hands it over.
        static ListSnapshot payments(int count) {
            ListSnapshot snapshot;
            snapshot.kind = ListSnapshot::Kind::Payments;
            for (int i = 1; i <= count; ++i)
                snapshot.rows.append({QString::number(i).rightJustified(3, '0'), "Hochbau Nord", "Rohbau",
                                      "01.02.2024", "15.01.2024", "R-" + QString::number(i),
                                      "1. Abschlagszahlung", "300 Bauwerk", "100,00", ""});
            snapshot.values = {{"Projekt", "Neubau Kita"}, {"Gesamtsumme", "2.000,00"}};
            return snapshot;
        }
        template <typename T> T* find(const QString& name) const {
            T* widget = screen->findChild<T*>(name);
            if (!widget)
                qWarning("no widget %s", qPrintable(name));
            return widget;
        }
        // Types text over the field's whole content, as a user who selects it first.
        void typeOver(const QString& field, const QString& text) {
            QLineEdit* edit = find<QLineEdit>(field);
            edit->setFocus();
            edit->selectAll();
            if (text.isEmpty())
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(edit, text);
        }
        void click(const QString& name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
        QString text(const QString& field) const { return find<QLineEdit>(field)->text(); }
        QComboBox* printers() const { return find<QComboBox>("comboDrucker(1)"); }
        QStringList printerItems() const {
            QStringList items;
            for (int i = 0; i < printers()->count(); ++i)
                items.append(printers()->itemText(i));
            return items;
        }
        // The settings file as a new program start reads it.
        QString stored(const SettingKey<QString>& key) const {
            return Settings(dir.filePath("zlv.ini")).value(key);
        }
        // The files in the test's folder beside the settings file.
        QStringList filesInDir() const {
            QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
            files.removeAll(QStringLiteral("zlv.ini"));
            return files;
        }
    };

    static int pdfPages(const QString& path) {
        QProcess pdfinfo;
        pdfinfo.start("pdfinfo", {path});
        if (!pdfinfo.waitForFinished(60000))
            return -1;
        for (const QByteArray& line : pdfinfo.readAllStandardOutput().split('\n')) {
            if (line.startsWith("Pages:"))
                return line.mid(6).trimmed().toInt();
        }
        return -1;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // Each margin field turns an empty text, letters, 0 or a number above 100 into "20" at once; a margin
    // from 1 to 100 stays as typed. The font size is taken as typed.
    void marginFieldsTurnInvalidTextsInto20_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("15 stays") << "15"
                                  << "15";
        QTest::newRow("1 stays") << "1"
                                 << "1";
        QTest::newRow("100 stays") << "100"
                                   << "100";
        QTest::newRow("decimal stays") << "12,5"
                                       << "12,5";
        QTest::newRow("0") << "0"
                           << "20";
        QTest::newRow("101") << "101"
                             << "20";
        QTest::newRow("letters") << "abc"
                                 << "20";
        QTest::newRow("number then letter") << "1x"
                                            << "20";
        QTest::newRow("negative") << "-5"
                                  << "20";
        QTest::newRow("cleared") << ""
                                 << "20";
    }
    void marginFieldsTurnInvalidTextsInto20() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Fixture f;
        f.open();
        f.typeOver("Text1", typed);
        f.typeOver("Text2", typed);
        f.typeOver("Text3", typed);
        QCOMPARE(f.text("Text1"), shown);
        QCOMPARE(f.text("Text2"), shown);
        QCOMPARE(f.text("Text3"), typed);
    }

    // The font size field selects its whole text when it gains the focus, also by a click, so a new size
    // replaces it.
    void fontSizeIsSelectedOnFocus() {
        Fixture f;
        f.open();
        QApplication::setActiveWindow(f.screen.get());
        f.find<QLineEdit>("Text1")->setFocus();
        QTest::mouseClick(f.find<QLineEdit>("Text3"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(f.find<QLineEdit>("Text3")->selectedText(), "8");
        QTest::keyClicks(f.find<QLineEdit>("Text3"), "11");
        QCOMPARE(f.text("Text3"), "11");
    }

    // At opening the fields show the stored preferences, or 15, 15, 8 and no draft quality on a first
    // start; a stored margin that is no margin shows as "20". "Einstellungen speichern" writes all eight
    // keys; the screen stays open.
    void preferencesAreReadAtOpeningAndWrittenBySave() {
        Fixture f;
        f.open({{"Empfang", "Büro-Laser"}, "Empfang"});
        QCOMPARE(QStringList({f.text("Text1"), f.text("Text2"), f.text("Text3")}).join('|'), "15|15|8");
        QVERIFY(!f.find<QCheckBox>("Check3")->isChecked());
        QCOMPARE(f.find<QComboBox>("ComboSeitengröße(1)")->currentText(), "Din A4");
        QCOMPARE(f.printers()->currentText(), "Empfang");
        f.screen->close();

        f.settings->setValue(PrintSettings::topMargin, "30");
        f.settings->setValue(PrintSettings::leftMargin, "abc");
        f.settings->setValue(PrintSettings::fontSize, "12");
        f.settings->setValue(PrintSettings::draftQuality, 1);
        f.settings->setValue(PrintSettings::tablePrinter, "Büro-Laser");
        f.open({{"Empfang", "Büro-Laser"}, "Empfang"});
        QCOMPARE(QStringList({f.text("Text1"), f.text("Text2"), f.text("Text3")}).join('|'), "30|20|12");
        QVERIFY(f.find<QCheckBox>("Check3")->isChecked());
        QCOMPARE(f.printers()->currentText(), "Büro-Laser");

        f.typeOver("Text1", "25");
        f.typeOver("Text2", "35");
        f.typeOver("Text3", "10");
        f.find<QCheckBox>("Check3")->setChecked(false);
        f.printers()->setCurrentIndex(f.printers()->findText("PDF-Datei"));
        f.click("Command2");
        QVERIFY(f.screen->isVisible());
        QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.dialogs.lastText()));
        const QStringList written = {
            f.stored({"Zlv", "MBerichtSeite", "-"}), f.stored({"Zlv", "MTabelleSeite", "-"}),
            f.stored(PrintSettings::reportPrinter),  f.stored(PrintSettings::tablePrinter),
            f.stored(PrintSettings::topMargin),      f.stored(PrintSettings::leftMargin),
            f.stored(PrintSettings::fontSize),       f.stored({"Zlv", "MTabelleDruckQualität", "-"})};
        QCOMPARE(written.join('|'), "0|0|PDF-Datei|PDF-Datei|25|35|10|0");
    }

    // "Abbrechen" closes the screen and keeps the stored preferences as they were.
    void cancelClosesWithoutSaving() {
        Fixture f;
        f.settings->setValue(PrintSettings::topMargin, "30");
        f.settings->sync();
        f.open({{"Empfang"}, "Empfang"});
        f.typeOver("Text1", "40");
        f.typeOver("Text3", "14");
        f.find<QCheckBox>("Check3")->setChecked(true);
        f.click("cmdSchließen");
        QVERIFY(!f.screen->isVisible());
        QCOMPARE(f.stored(PrintSettings::topMargin), "30");
        QCOMPARE(f.stored({"Zlv", "MTabelleDruckerSchrift", "-"}), "-");
        QCOMPARE(f.stored({"Zlv", "MTabelleDruckQualität", "-"}), "-");
    }

    // The installed printers in the system's order, then "PDF-Datei". The stored printer is selected, the
    // default printer when none is stored; with neither (no printer installed, or the stored one gone)
    // "PDF-Datei" is selected instead of nothing.
    void storedPrinterOrDefaultOrPdfIsSelected_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("defaultPrinter");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        const QStringList two = {"Empfang", "Büro-Laser"};
        QTest::newRow("no printer installed") << QStringList() << ""
                                              << ""
                                              << "PDF-Datei";
        QTest::newRow("stored printer vanished") << two << "Empfang"
                                                 << "Alter Drucker"
                                                 << "PDF-Datei";
        QTest::newRow("stored printer installed") << two << "Empfang"
                                                  << "Büro-Laser"
                                                  << "Büro-Laser";
        QTest::newRow("none stored: the default") << two << "Büro-Laser"
                                                  << ""
                                                  << "Büro-Laser";
        QTest::newRow("none stored, no default") << two << ""
                                                 << ""
                                                 << "PDF-Datei";
        QTest::newRow("PDF stored") << two << "Empfang"
                                    << "PDF-Datei"
                                    << "PDF-Datei";
    }
    void storedPrinterOrDefaultOrPdfIsSelected() {
        QFETCH(QStringList, installed);
        QFETCH(QString, defaultPrinter);
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        Fixture f;
        f.settings->setValue(PrintSettings::tablePrinter, stored);
        f.open({installed, defaultPrinter});
        QCOMPARE(f.printerItems(), installed + QStringList{"PDF-Datei"});
        QCOMPARE(f.printers()->currentText(), selected);
    }

    // "Drucken" to "PDF-Datei" asks for the file, proposing the report's name, and writes the list handed
    // over when the button is pressed: 20 bookings on two pages. A cancelled save dialog writes nothing.
    void printingToPdfAsksForTheFileAndWritesIt() {
        Fixture f;
        f.open();
        f.click("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(int(f.dialogs.shown.at(0).kind), int(ScriptedDialogs::Shown::Kind::SaveFile));
        QCOMPARE(f.dialogs.shown.at(0).title, "Als PDF-Datei speichern");
        QVERIFY2(f.dialogs.lastText().endsWith("/Zelvora.pdf|PDF-Dateien (*.pdf)"),
                 qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.filesInDir(), QStringList());

        f.rows = 21;
        f.dialogs.files.enqueue(f.dir.filePath("Bericht"));
        f.click("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(pdfPages(f.dir.filePath("Bericht.pdf")), 2);
        QVERIFY(f.find<QRadioButton>("optCOpen(3)")->isChecked());
        QCOMPARE(f.snapshotsTaken, 2);

        f.rows = 39;
        f.dialogs.files.enqueue(f.dir.filePath("Bericht.pdf"));
        f.click("cmdTabDrucken");
        QCOMPARE(pdfPages(f.dir.filePath("Bericht.pdf")), 3);
        QVERIFY2(f.dialogs.lastText().startsWith(f.dir.filePath("Zelvora.pdf")),
                 qPrintable(f.dialogs.lastText()));
    }

    // A file that cannot be written is said in German, naming it; the screen stays open and no file is
    // left behind.
    void unwritablePdfIsReported() {
        Fixture f;
        f.open();
        const QString target = f.dir.filePath("fehlt/Zelvora.pdf");
        f.dialogs.files.enqueue(target);
        f.click("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.size(), 2);
        QCOMPARE(f.dialogs.shown.at(1).title, "Drucken nicht möglich");
        QCOMPARE(int(f.dialogs.shown.at(1).icon), int(Dialogs::Icon::Warning));
        QVERIFY2(f.dialogs.lastText().contains("„" + target + "“"), qPrintable(f.dialogs.lastText()));
        QVERIFY(f.screen->isVisible());
        QVERIFY(!QFileInfo::exists(target));
    }

    // A printer the system cannot take is said in German, naming it, before anything is built; the screen
    // stays open with its choice.
    void unusablePrinterIsReported() {
        Fixture f;
        f.open({{"Büro-Laser"}, "Büro-Laser"});
        f.click("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.at(0).title, "Drucker nicht verfügbar");
        QVERIFY2(f.dialogs.lastText().startsWith("Der Drucker „Büro-Laser“ kann nicht verwendet werden."),
                 qPrintable(f.dialogs.lastText()));
        QVERIFY(f.screen->isVisible());
        QCOMPARE(f.printers()->currentText(), "Büro-Laser");
        QCOMPARE(f.filesInDir(), QStringList());
    }

    // A long report shows "Seite p von P" while it is written and can be cancelled there: nothing is
    // written, and no message follows.
    void longRunShowsProgressAndCanBeCancelled() {
        Fixture f;
        f.rows = 19 * 400;
        f.open();
        f.dialogs.files.enqueue(f.dir.filePath("Lang.pdf"));
        QString label;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<QProgressDialog*>(window);
                if (progress && progress->isVisible() && !progress->wasCanceled()) {
                    label = progress->labelText();
                    QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
                }
            }
        });
        watcher.start(20);
        f.click("cmdTabDrucken");
        watcher.stop();
        QVERIFY2(QRegularExpression("^Seite [1-9][0-9]* von 400$").match(label).hasMatch(),
                 qPrintable(label));
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.filesInDir(), QStringList());
        QVERIFY(f.screen->isVisible());
    }

    // "Vorschau" shows the report's pages in the preview window, whichever printer is chosen, maximised
    // and at the page's width; its own print button proposes the report's file in the save folder.
    void previewShowsTheReport() {
        Fixture f;
        f.rows = 40;
        f.open();
        int pages = -1;
        QString title;
        QStringList view;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!preview)
                return;
            title = preview->windowTitle();
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            if (widget)
                pages = widget->pageCount();
            view << QString::number(preview->isMaximized()) << QString::number(widget->zoomMode())
                 << preview->printer()->docName() << preview->printer()->outputFileName();
            QTest::qWait(700);
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (qobject_cast<QProgressDialog*>(window) && window->isVisible())
                    title = "progress over the preview";
            }
            preview->close();
        });
        f.click("tabCommand1");
        QCOMPARE(title, "Druckervorschau");
        QCOMPARE(pages, 3);
        QCOMPARE(view, (QStringList{"1", QString::number(QPrintPreviewWidget::FitToWidth), "Zelvora",
                                    QDir(f.dialogs.saveFolder()).filePath("Zelvora.pdf")}));
        QVERIFY(f.find<QRadioButton>("optCOpen(2)")->isChecked());
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(f.filesInDir(), QStringList());
    }

    // The engine is prepared with the screen's choices: draft quality only when ticked, A4, landscape for
    // the workspace's lists, the margins of the fields. A paper size the printer refuses is said in German,
    // naming the printer, and nothing is built.
    void engineIsPreparedWithTheChoicesAndARefusedPaperIsSaid() {
        struct WatchedEngine : QPainterPrintEngine {
            QStringList* calls;
            bool refusePaper;
            WatchedEngine(QStringList* calls, bool refusePaper) : calls(calls), refusePaper(refusePaper) {}
            void SetOrientation(int orientation) override {
                calls->append("orientation " + QString::number(orientation));
                QPainterPrintEngine::SetOrientation(orientation);
            }
            void SetDraftQuality(int draft) override {
                calls->append("draft " + QString::number(draft));
                QPainterPrintEngine::SetDraftQuality(draft);
            }
            int SetPaperSize(int code) override {
                calls->append("paper " + QString::number(code));
                return refusePaper ? 1 : QPainterPrintEngine::SetPaperSize(code);
            }
            void SetPrintDirect(bool direct) override {
                calls->append(direct ? "direct" : "preview");
                QPainterPrintEngine::SetPrintDirect(direct);
            }
            void setMargins(qreal top, qreal left) override {
                calls->append(QString("margins %1 %2").arg(top).arg(left));
                QPainterPrintEngine::setMargins(top, left);
            }
            Outcome ShowDocument() override {
                calls->append("show " + QString::number(pageCount()));
                return Outcome::Done;
            }
        };
        Fixture f;
        f.open();
        QStringList calls;
        bool refusePaper = false;
        f.screen->setEngineFactory(
            [&](QWidget*) { return std::make_unique<WatchedEngine>(&calls, refusePaper); });
        f.dialogs.files.enqueue(f.dir.filePath("a.pdf"));
        f.click("cmdTabDrucken");
        QCOMPARE(calls.join(','), "orientation 2,paper 9,direct,margins 15 15,show 2");

        calls.clear();
        f.find<QCheckBox>("Check3")->setChecked(true);
        f.typeOver("Text1", "30");
        f.typeOver("Text2", "25");
        f.click("tabCommand1");
        QCOMPARE(calls.join(','), "orientation 2,draft -1,paper 9,preview,margins 30 25,show 2");

        calls.clear();
        refusePaper = true;
        f.click("cmdTabDrucken");
        QCOMPARE(calls.join(','), "orientation 2,draft -1,paper 9");
        QCOMPARE(f.dialogs.shown.constLast().title, "Papiergröße nicht möglich");
        QCOMPARE(f.dialogs.lastText(),
                 "Der Drucker „PDF-Datei“ kann auf der Papiergröße „Din A4“ nicht drucken.");
        QVERIFY(f.screen->isVisible());
    }

    // Where the opener shows no list to print, printing says so and builds nothing.
    void nothingToPrintIsSaid() {
        Fixture f;
        f.open();
        f.screen->setSource("Ausgabemanager", [] { return std::optional<ListSnapshot>(); });
        f.click("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(int(f.dialogs.shown.at(0).kind), int(ScriptedDialogs::Shown::Kind::Inform));
        QVERIFY(f.dialogs.lastText().startsWith("Hier gibt es keine Liste zu drucken."));
        QCOMPARE(f.screen->windowTitle(), "Ausgabemanager");
    }
};

QTEST_MAIN(PrintSettingsScreenTest)
#include "PrintSettingsScreenTest.moc"
