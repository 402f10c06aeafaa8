#include "PrintSettingsScreen.h"
#include "PrintExportFixture.h"
#include "PrintSettings.h"
#include "QPainterPrintEngine.h"
#include "ScreenFixture.h"

#include <memory>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

class PrintSettingsScreenTest : public QObject {
    Q_OBJECT

    struct Fixture : ScreenFixture, WidgetDriver {
        std::unique_ptr<PrintSettingsScreen> screen;
        int rows = 20;

        void open(const PrinterCatalog& printers = {}) {
            screen = std::make_unique<PrintSettingsScreen>(dialogs, settings, printers);
            screen->setSource("Zelvora drucken", [this]() -> std::optional<ListSnapshot> {
                return PrintExport::list(ListSnapshot::Kind::Payments, rows, {"Projekt", "Neubau Kita"});
            });
            screen->show();
        }
        const QObject* root() const override { return screen.get(); }
        QString fields() const {
            QStringList texts;
            for (const char* name : {"Text1", "Text2", "Text3"})
                texts << find<QLineEdit>(name)->text();
            return texts.join('|');
        }
        QCheckBox* draft() const { return find<QCheckBox>("Check3"); }
        QComboBox* printers() const { return find<QComboBox>("comboDrucker(1)"); }
    };

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void marginFieldsTurnInvalidTextsInto20_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        const QStringList cases{"1",   "1",  "100", "100", "12,5", "12,5", "0", "20",
                                "101", "20", "1x",  "20",  "-5",   "20",   "",  "20"};
        for (int i = 0; i < cases.size(); i += 2)
            QTest::newRow(qPrintable(cases.at(i))) << cases.at(i) << cases.at(i + 1);
    }
    void marginFieldsTurnInvalidTextsInto20() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Fixture f;
        f.open();
        for (const char* field : {"Text1", "Text2", "Text3"})
            f.typeOver(field, typed);
        QCOMPARE(f.fields(), QStringList({shown, shown, typed}).join('|'));
    }

    void fontSizeIsSelectedOnFocus() {
        Fixture f;
        f.open();
        QApplication::setActiveWindow(f.screen.get());
        f.find<QLineEdit>("Text1")->setFocus();
        auto* size = f.find<QLineEdit>("Text3");
        QTest::mouseClick(size, Qt::LeftButton);
        QTRY_COMPARE(size->selectedText(), "8");
        QTest::keyClicks(size, "11");
        QCOMPARE(size->text(), "11");
    }

    // The stored preferences fill the screen (an unreadable margin as 20); "Speichern" writes the fields
    // and stays open, "Schließen" closes without writing.
    void preferencesAreReadAtOpeningAndWrittenBySave() {
        Fixture f;
        f.settings.setValue(PrintSettings::topMargin, "30");
        f.settings.setValue(PrintSettings::leftMargin, "abc");
        f.settings.setValue(PrintSettings::fontSize, "12");
        f.settings.setValue(PrintSettings::draftQuality, 1);
        f.open({{"Empfang", "Büro-Laser"}, "Empfang"});
        QCOMPARE(f.fields(), "30|20|12");
        QVERIFY(f.draft()->isChecked());
        f.typeOver("Text1", "25");
        f.typeOver("Text2", "35");
        f.typeOver("Text3", "10");
        f.draft()->setChecked(false);
        f.printers()->setCurrentIndex(f.printers()->findText("PDF-Datei"));
        f.click("Command2");
        QVERIFY(f.screen->isVisible());
        QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.messages()));
        const QList<SettingKey<QString>> keys{
            {"Zlv", "MBerichtSeite", "-"}, {"Zlv", "MTabelleSeite", "-"},
            PrintSettings::reportPrinter,  PrintSettings::tablePrinter,
            PrintSettings::topMargin,      PrintSettings::leftMargin,
            PrintSettings::fontSize,       {"Zlv", "MTabelleDruckQualität", "-"}};
        const auto stored = [&] {
            QStringList values;
            for (const SettingKey<QString>& key : keys)
                values << Settings(f.file("zlv.ini")).value(key);
            return values.join('|');
        };
        QCOMPARE(stored(), "0|0|PDF-Datei|PDF-Datei|25|35|10|0");
        f.typeOver("Text1", "40");
        f.draft()->setChecked(true);
        f.click("cmdSchließen");
        QVERIFY(!f.screen->isVisible());
        QCOMPARE(stored(), "0|0|PDF-Datei|PDF-Datei|25|35|10|0");
    }

    // Each row: the printers installed, the default printer, the stored one and the one selected.
    void storedPrinterOrDefaultOrPdfIsSelected_data() {
        QTest::addColumn<QString>("printers");
        QTest::newRow("no printer installed") << "|||PDF-Datei";
        QTest::newRow("stored printer vanished") << "Empfang,Büro-Laser|Empfang|Alter Drucker|PDF-Datei";
        QTest::newRow("stored printer installed") << "Empfang,Büro-Laser|Empfang|Büro-Laser|Büro-Laser";
        QTest::newRow("none stored: the default") << "Empfang,Büro-Laser|Büro-Laser||Büro-Laser";
        QTest::newRow("none stored, no default") << "Empfang,Büro-Laser|||PDF-Datei";
    }
    void storedPrinterOrDefaultOrPdfIsSelected() {
        QFETCH(QString, printers);
        const QStringList installed = printers.section('|', 0, 0).split(',', Qt::SkipEmptyParts);
        Fixture f;
        f.settings.setValue(PrintSettings::tablePrinter, printers.section('|', 2, 2));
        f.open({installed, printers.section('|', 1, 1)});
        QStringList items;
        for (int i = 0; i < f.printers()->count(); ++i)
            items.append(f.printers()->itemText(i));
        QCOMPARE(items, installed + QStringList{"PDF-Datei"});
        QCOMPARE(f.printers()->currentText(), printers.section('|', 3));
    }

    void printFailureIsSaidAndWritesNothing_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<bool>("a4");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("folder missing") << QStringList() << true << "Drucken nicht möglich"
                                        << "„%1/fehlt/Zelvora.pdf“";
        QTest::newRow("printer unusable") << QStringList{"Büro-Laser"} << true << "Drucker nicht verfügbar"
                                          << "Der Drucker „Büro-Laser“ kann nicht verwendet werden.";
        QTest::newRow("no A4") << QStringList() << false << "Papiergröße nicht möglich"
                               << "Der Drucker „PDF-Datei“ kann auf der Papiergröße „Din A4“ nicht drucken.";
    }
    void printFailureIsSaidAndWritesNothing() {
        QFETCH(QStringList, installed);
        QFETCH(bool, a4);
        QFETCH(QString, title);
        QFETCH(QString, text);
        struct NoA4 : QPainterPrintEngine {
            int SetPaperSize(int) override { return 1; }
        };
        Fixture f;
        f.open({installed, installed.value(0)});
        if (!a4)
            f.screen->setEngineFactory([](QWidget*) { return std::make_unique<NoA4>(); });
        f.dialogs.files.enqueue(f.file("fehlt/Zelvora.pdf"));
        f.click("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.constLast().title, title);
        QCOMPARE(f.dialogs.shown.constLast().icon, Dialogs::Icon::Warning);
        QVERIFY2(f.dialogs.lastText().contains(text.arg(f.dir.path())), qPrintable(f.messages()));
        QVERIFY(f.screen->isVisible());
        QCOMPARE(f.printers()->currentText(), installed.value(0, "PDF-Datei"));
        QVERIFY(!QFileInfo::exists(f.file("fehlt")));
    }

    void longRunShowsProgressAndCanBeCancelled() {
        Fixture f;
        f.rows = 19 * 400;
        f.open();
        f.dialogs.files.enqueue(f.file("Lang.pdf"));
        QString label;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            auto* progress = f.screen->findChild<QProgressDialog*>();
            if (progress && progress->isVisible() && !progress->wasCanceled()) {
                label = progress->labelText();
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        watcher.start(20);
        f.click("cmdTabDrucken");
        QVERIFY2(QRegularExpression("^Seite [1-9][0-9]* von 400$").match(label).hasMatch(),
                 qPrintable(label));
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.written(), QStringList());
    }

    // The preview comes maximised at page width with no progress over it, proposing the report's file
    // in the folder saved into last.
    void previewShowsTheReportWithNoProgressOverIt() {
        Fixture f;
        f.rows = 40;
        f.open();
        QStringList view;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            QVERIFY(preview);
            view << preview->windowTitle() << QString::number(preview->isMaximized())
                 << QString::number(preview->findChild<QPrintPreviewWidget*>()->pageCount())
                 << QString::number(preview->findChild<QPrintPreviewWidget*>()->zoomMode())
                 << preview->printer()->docName() << preview->printer()->outputFileName();
            for (QProgressDialog* progress : f.screen->findChildren<QProgressDialog*>())
                if (progress->isVisible() || progress->value() >= progress->minimum())
                    view << "progress pending over the preview";
            preview->close();
        });
        f.click("tabCommand1");
        QCOMPARE(view,
                 (QStringList{"Druckervorschau", "1", "3", QString::number(QPrintPreviewWidget::FitToWidth),
                              "Zelvora", QDir(f.dialogs.saveFolder()).filePath("Zelvora.pdf")}));
        QVERIFY(f.find<QRadioButton>("optCOpen(2)")->isChecked());
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(f.written(), QStringList());
    }

    // The save dialog proposes the report's name, and cancelled, nothing is written; a name without
    // extension gets ".pdf"; the list is the one at the moment of printing, placed inside the screen's
    // margins.
    void printingToPdfAsksForTheFileAndKeepsTheMargins() {
        Fixture f;
        f.open();
        f.click("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.at(0).title, "Als PDF-Datei speichern");
        QVERIFY2(f.dialogs.lastText().endsWith("/Zelvora.pdf|PDF-Dateien (*.pdf)"), qPrintable(f.messages()));
        QCOMPARE(f.written(), QStringList());
        f.rows = 39;
        f.typeOver("Text1", "30");
        f.typeOver("Text2", "25");
        f.dialogs.files.enqueue(f.file("Bericht"));
        f.click("cmdTabDrucken");
        QCOMPARE(PrintExport::pdfInfo(f.file("Bericht.pdf"), "Pages"), "3");
        QVERIFY(f.find<QRadioButton>("optCOpen(3)")->isChecked());
        const QList<double> edges = PrintExport::blankEdges(f.file("Bericht.pdf"));
        QVERIFY2(qAbs(edges[0] - 25.2) < 0.8 && qAbs(edges[1] - 31) < 1.2,
                 qPrintable(QDebug::toString(edges)));
    }
};

QTEST_MAIN(PrintSettingsScreenTest)
#include "PrintSettingsScreenTest.moc"
