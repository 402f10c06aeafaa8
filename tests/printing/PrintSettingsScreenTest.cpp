#include "PrintSettingsScreen.h"
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
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

class PrintSettingsScreenTest : public QObject {
    Q_OBJECT

    struct Fixture : ScreenFixture {
        std::unique_ptr<PrintSettingsScreen> screen;
        int snapshotsTaken = 0;
        int rows = 20;

        ~Fixture() {
            if (screen)
                screen->close();
        }
        PrintSettingsScreen& open(const PrinterCatalog& printers = {}) {
            screen = std::make_unique<PrintSettingsScreen>(dialogs, settings, printers);
            screen->setSource(QStringLiteral("Zelvora drucken"), [this]() -> std::optional<ListSnapshot> {
                ++snapshotsTaken;
                ListSnapshot snapshot;
                snapshot.kind = ListSnapshot::Kind::Payments;
                for (int i = 1; i <= rows; ++i)
                    snapshot.rows.append({QString::number(i), "Hochbau Nord", "Rohbau", "01.02.2024",
                                          "15.01.2024", "R-1", "1. Abschlagszahlung", "300 Bauwerk", "100,00",
                                          ""});
                snapshot.values = {{"Projekt", "Neubau Kita"}, {"Gesamtsumme", "2.000,00"}};
                return snapshot;
            });
            screen->show();
            return *screen;
        }
        void type(const QString& field, const QString& text) { typeOver(screen.get(), field, text); }
        void press(const QString& name) { click(screen.get(), name); }
        QString text(const QString& field) const { return find<QLineEdit>(screen.get(), field)->text(); }
        QString fields() const {
            return QStringList({text("Text1"), text("Text2"), text("Text3")}).join('|');
        }
        QCheckBox* draft() const { return find<QCheckBox>(screen.get(), "Check3"); }
        QComboBox* printers() const { return find<QComboBox>(screen.get(), "comboDrucker(1)"); }
        QString stored(const SettingKey<QString>& key) const { return Settings(file("zlv.ini")).value(key); }
    };

    static int pdfPages(const QString& path) {
        QProcess pdfinfo;
        pdfinfo.start("pdfinfo", {path});
        pdfinfo.waitForFinished(60000);
        const QRegularExpressionMatch pages =
            QRegularExpression("Pages:\\s*(\\d+)").match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
        return pages.hasMatch() ? pages.captured(1).toInt() : -1;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void marginFieldsTurnInvalidTextsInto20_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        for (const auto& [typed, shown] : {std::pair{"1", "1"},
                                           {"100", "100"},
                                           {"12,5", "12,5"},
                                           {"0", "20"},
                                           {"101", "20"},
                                           {"1x", "20"},
                                           {"-5", "20"},
                                           {"", "20"}})
            QTest::newRow(typed) << QString(typed) << QString(shown);
    }
    void marginFieldsTurnInvalidTextsInto20() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Fixture f;
        f.open();
        f.type("Text1", typed);
        f.type("Text2", typed);
        f.type("Text3", typed);
        QCOMPARE(f.fields(), QStringList({shown, shown, typed}).join('|'));
    }

    void fontSizeIsSelectedOnFocus() {
        Fixture f;
        f.open();
        QApplication::setActiveWindow(f.screen.get());
        Fixture::find<QLineEdit>(f.screen.get(), "Text1")->setFocus();
        QTest::mouseClick(Fixture::find<QLineEdit>(f.screen.get(), "Text3"), Qt::LeftButton);
        QTRY_COMPARE(Fixture::find<QLineEdit>(f.screen.get(), "Text3")->selectedText(), "8");
        QTest::keyClicks(Fixture::find<QLineEdit>(f.screen.get(), "Text3"), "11");
        QCOMPARE(f.text("Text3"), "11");
    }

    void preferencesAreReadAtOpeningAndWrittenBySave() {
        Fixture f;
        f.open({{"Empfang", "Büro-Laser"}, "Empfang"});
        QCOMPARE(f.fields(), "15|15|8");
        QVERIFY(!f.draft()->isChecked());
        QCOMPARE(f.printers()->currentText(), "Empfang");
        f.screen->close();

        f.settings.setValue(PrintSettings::topMargin, "30");
        f.settings.setValue(PrintSettings::leftMargin, "abc");
        f.settings.setValue(PrintSettings::fontSize, "12");
        f.settings.setValue(PrintSettings::draftQuality, 1);
        f.open({{"Empfang", "Büro-Laser"}, "Empfang"});
        QCOMPARE(f.fields(), "30|20|12");
        QVERIFY(f.draft()->isChecked());

        f.type("Text1", "25");
        f.type("Text2", "35");
        f.type("Text3", "10");
        f.draft()->setChecked(false);
        f.printers()->setCurrentIndex(f.printers()->findText("PDF-Datei"));
        f.press("Command2");
        QVERIFY(f.screen->isVisible());
        QVERIFY2(f.dialogs.shown.isEmpty(), qPrintable(f.messages()));
        const QStringList written = {
            f.stored({"Zlv", "MBerichtSeite", "-"}), f.stored({"Zlv", "MTabelleSeite", "-"}),
            f.stored(PrintSettings::reportPrinter),  f.stored(PrintSettings::tablePrinter),
            f.stored(PrintSettings::topMargin),      f.stored(PrintSettings::leftMargin),
            f.stored(PrintSettings::fontSize),       f.stored({"Zlv", "MTabelleDruckQualität", "-"})};
        QCOMPARE(written.join('|'), "0|0|PDF-Datei|PDF-Datei|25|35|10|0");
    }

    void cancelClosesWithoutSaving() {
        Fixture f;
        f.settings.setValue(PrintSettings::topMargin, "30");
        f.settings.sync();
        f.open({{"Empfang"}, "Empfang"});
        f.type("Text1", "40");
        f.draft()->setChecked(true);
        f.press("cmdSchließen");
        QVERIFY(!f.screen->isVisible());
        QCOMPARE(f.stored(PrintSettings::topMargin) + '|' + f.stored({"Zlv", "MTabelleDruckQualität", "-"}),
                 "30|-");
    }

    void storedPrinterOrDefaultOrPdfIsSelected_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("defaultPrinter");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        const QStringList two = {"Empfang", "Büro-Laser"};
        QTest::newRow("no printer installed") << QStringList() << QString() << QString() << "PDF-Datei";
        QTest::newRow("stored printer vanished")
            << two << "Empfang" << QString("Alter Drucker") << "PDF-Datei";
        QTest::newRow("stored printer installed")
            << two << "Empfang" << QString("Büro-Laser") << "Büro-Laser";
        QTest::newRow("none stored: the default") << two << "Büro-Laser" << QString() << "Büro-Laser";
        QTest::newRow("none stored, no default") << two << QString() << QString() << "PDF-Datei";
    }
    void storedPrinterOrDefaultOrPdfIsSelected() {
        QFETCH(QStringList, installed);
        QFETCH(QString, defaultPrinter);
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        Fixture f;
        f.settings.setValue(PrintSettings::tablePrinter, stored);
        f.open({installed, defaultPrinter});
        QStringList items;
        for (int i = 0; i < f.printers()->count(); ++i)
            items.append(f.printers()->itemText(i));
        QCOMPARE(items, installed + QStringList{"PDF-Datei"});
        QCOMPARE(f.printers()->currentText(), selected);
    }

    void printingToPdfAsksForTheFileAndWritesIt() {
        Fixture f;
        f.open();
        f.press("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.at(0).title, "Als PDF-Datei speichern");
        QVERIFY2(f.dialogs.lastText().endsWith("/Zelvora.pdf|PDF-Dateien (*.pdf)"), qPrintable(f.messages()));
        QCOMPARE(f.written(), QStringList());

        f.rows = 21;
        f.dialogs.files.enqueue(f.file("Bericht"));
        f.press("cmdTabDrucken");
        QCOMPARE(pdfPages(f.file("Bericht.pdf")), 2);
        QVERIFY(Fixture::find<QRadioButton>(f.screen.get(), "optCOpen(3)")->isChecked());

        f.rows = 39;
        f.dialogs.files.enqueue(f.file("Bericht.pdf"));
        f.press("cmdTabDrucken");
        QCOMPARE(pdfPages(f.file("Bericht.pdf")), 3);
        QCOMPARE(f.snapshotsTaken, 3);
    }

    void printFailureIsSaidAndWritesNothing_data() {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("folder missing") << QStringList() << "Drucken nicht möglich"
                                        << "„%1/fehlt/Zelvora.pdf“";
        QTest::newRow("printer unusable") << QStringList{"Büro-Laser"} << "Drucker nicht verfügbar"
                                          << "Der Drucker „Büro-Laser“ kann nicht verwendet werden.";
    }
    void printFailureIsSaidAndWritesNothing() {
        QFETCH(QStringList, installed);
        QFETCH(QString, title);
        QFETCH(QString, text);
        Fixture f;
        f.open({installed, installed.value(0)});
        f.dialogs.files.enqueue(f.file("fehlt/Zelvora.pdf"));
        f.press("cmdTabDrucken");
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
        f.press("cmdTabDrucken");
        QVERIFY2(QRegularExpression("^Seite [1-9][0-9]* von 400$").match(label).hasMatch(),
                 qPrintable(label));
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.written(), QStringList());
    }

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
            for (QProgressDialog* progress : f.screen->findChildren<QProgressDialog*>()) {
                if (progress->isVisible() || progress->value() >= progress->minimum())
                    view << "progress pending over the preview";
            }
            preview->close();
        });
        f.press("tabCommand1");
        QCOMPARE(view,
                 (QStringList{"Druckervorschau", "1", "3", QString::number(QPrintPreviewWidget::FitToWidth),
                              "Zelvora", QDir(f.dialogs.saveFolder()).filePath("Zelvora.pdf")}));
        QVERIFY(Fixture::find<QRadioButton>(f.screen.get(), "optCOpen(2)")->isChecked());
        QVERIFY(f.dialogs.shown.isEmpty());
        QCOMPARE(f.written(), QStringList());
    }

    void engineIsPreparedWithTheChoicesAndARefusedPaperIsSaid() {
        struct WatchedEngine : QPainterPrintEngine {
            QStringList& calls;
            const bool& refusePaper;
            WatchedEngine(QStringList& calls, const bool& refusePaper)
                : calls(calls), refusePaper(refusePaper) {}
            qreal log(const QString& call, qreal value) {
                calls.append(call + ' ' + QString::number(value));
                return value;
            }
            void SetOrientation(int value) override {
                QPainterPrintEngine::SetOrientation(log("orientation", value));
            }
            void SetDraftQuality(int value) override {
                QPainterPrintEngine::SetDraftQuality(log("draft", value));
            }
            void SetPrintDirect(bool value) override {
                QPainterPrintEngine::SetPrintDirect(log("direct", value));
            }
            void setMargins(qreal top, qreal left) override {
                QPainterPrintEngine::setMargins(top, log(QString("margins %1").arg(top), left));
            }
            int SetPaperSize(int code) override {
                return refusePaper ? 1 : QPainterPrintEngine::SetPaperSize(log("paper", code));
            }
            Outcome ShowDocument() override {
                log("show", pageCount());
                return Outcome::Done;
            }
        };
        Fixture f;
        f.open();
        QStringList calls;
        bool refusePaper = false;
        f.screen->setEngineFactory(
            [&](QWidget*) { return std::make_unique<WatchedEngine>(calls, refusePaper); });
        f.dialogs.files.enqueue(f.file("a.pdf"));
        f.press("cmdTabDrucken");
        QCOMPARE(calls.join(','), "orientation 2,paper 9,direct 1,margins 15 15,show 2");

        calls.clear();
        f.draft()->setChecked(true);
        f.type("Text1", "30");
        f.type("Text2", "25");
        f.press("tabCommand1");
        QCOMPARE(calls.join(','), "orientation 2,draft -1,paper 9,direct 0,margins 30 25,show 2");

        calls.clear();
        refusePaper = true;
        f.press("cmdTabDrucken");
        QCOMPARE(calls.join(','), "orientation 2,draft -1");
        QCOMPARE(f.dialogs.shown.constLast().title, "Papiergröße nicht möglich");
        QCOMPARE(f.dialogs.lastText(),
                 "Der Drucker „PDF-Datei“ kann auf der Papiergröße „Din A4“ nicht drucken.");
    }

    void nothingToPrintIsSaid() {
        Fixture f;
        f.open();
        f.screen->setSource("Ausgabemanager", [] { return std::optional<ListSnapshot>(); });
        f.press("cmdTabDrucken");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.dialogs.lastText().startsWith("Hier gibt es keine Liste zu drucken."));
    }
};

QTEST_MAIN(PrintSettingsScreenTest)
#include "PrintSettingsScreenTest.moc"
