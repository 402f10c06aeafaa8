#include "AmountField.h"
#include "BookingRepository.h"
#include "ChangeWatch.h"
#include "CompanyPicker.h"
#include "CompanyTab.h"
#include "CostReportModel.h"
#include "DateField.h"
#include "FittedColumns.h"
#include "ReportListView.h"
#include "SessionEnder.h"
#include "StyleIcon.h"
#include "Twips.h"
#include "WorkspaceFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTreeView>

class WorkspaceTest : public QObject {
    Q_OBJECT
    using Fixture = WorkspaceFixture;

    static void row(const char* name, const QStringList& cells) {
        QTestData& data = QTest::newRow(name);
        for (const QString& cell : cells)
            data << cell;
    }

    struct CompanyFixture : WorkspaceFixture {
        explicit CompanyFixture(const QString& bookings = {}) {
            if (!bookings.isEmpty())
                db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES " + bookings);
            open();
            showTab(Workspace::CompanyTabIndex);
            choose("cboFirmaFirma", "Hochbau Nord");
        }
        QString column(int column) { return WorkspaceFixture::column("ListView2", column); }
        bool waiting() { return !find<QLabel>("lblNachtragBearbeitungsmodus")->isHidden(); }
        void selectNumber(const QString& number) {
            selectRow("ListView2", column(0).split(',').indexOf(number));
        }
        void takeBackNumber(const QString& number) {
            selectNumber(number);
            dialogs.answers.enqueue(Dialogs::Answer::Yes);
            click("cmdNachtragBearbeiten");
        }
    };

    struct EvaluationFixture : WorkspaceFixture {
        explicit EvaluationFixture(const QString& bookings) {
            const QString columns = "PID, ProjektID, Firma, Gewerk, Kostengruppe, AnweisungVom, Betrag";
            db.exec("INSERT INTO tblBuchung (" + columns + ") VALUES " + bookings);
            open();
            showTab(Workspace::EvaluationTabIndex);
        }
        QString column(int column) { return WorkspaceFixture::column("ListView3", column); }
        QString shown() { return column(0) + '|' + text("txtTeilsumme") + '|' + status(); }
        QString checkedOption() {
            for (const char* name : {"optFirma", "optGewerk", "optKostengruppe", "optJahr"})
                if (find<QRadioButton>(name)->isChecked())
                    return name;
            return {};
        }
    };

    // Shows the list of model at width, its columns fitted.
    static void showFitted(QTreeView& view, QAbstractItemModel& model, int width) {
        view.setModel(&model);
        view.header()->setStretchLastSection(false);
        new FittedColumns(view, {});
        view.resize(width, 200);
        view.show();
        QApplication::processEvents();
    }

private slots:
    // A list refilled while hidden fits its columns to the new texts when it is shown again.
    void hiddenListFitsWhenShownAgain() {
        QTreeView view;
        QStringListModel model({"kurz"});
        showFitted(view, model, 400);
        const int shortWidth = view.columnWidth(0);
        view.hide();
        model.setStringList({QString(80, 'W')});
        view.show();
        QApplication::processEvents();
        QCOMPARE_GT(view.columnWidth(0), shortWidth);
    }

    // A list made wider shares the new room among what its texts were measured to need, without
    // measuring them again; once its texts changed, it measures them again.
    void widerListSharesItsRoomMeasuredOnce() {
        struct Counting : QStyledItemDelegate {
            using QStyledItemDelegate::QStyledItemDelegate;
            mutable int asked = 0;
            QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
                ++asked;
                return QStyledItemDelegate::sizeHint(option, index);
            }
        };
        QTreeView view;
        QStandardItemModel model(3, 2);
        for (int row = 0; row < 3; ++row) {
            model.setItem(row, 0, new QStandardItem(QString(60, 'W')));
            model.setItem(row, 1, new QStandardItem(QString(60, 'M')));
        }
        auto* delegate = new Counting(&view);
        view.setItemDelegate(delegate);
        showFitted(view, model, 300);
        const int cut = view.columnWidth(0);
        const int measured = delegate->asked;
        QVERIFY(measured > 0);
        view.resize(3000, 200);
        QApplication::processEvents();
        QCOMPARE_GT(view.columnWidth(0), cut);
        QCOMPARE(delegate->asked, measured);
        const int whole = view.columnWidth(0);
        model.item(1, 0)->setText(QString(90, 'W'));
        view.resize(2900, 200);
        QApplication::processEvents();
        QCOMPARE_GT(view.columnWidth(0), whole);
    }

    // The sizes of texts are kept for every list of the program, for each font apart.
    void listsOfAnotherFontMeasureTheirOwnTexts() {
        QStringListModel model({"Öffentliche Erschließung Nordwest GmbH"});
        ReportListView small("small");
        ReportListView large("large");
        QFont font = small.font();
        font.setPointSize(font.pointSize() + 8);
        large.setFont(font);
        for (ReportListView* view : {&small, &large}) {
            view->setModel(&model);
            new FittedColumns(*view, {});
            view->resize(3000, 200);
            view->show();
        }
        QApplication::processEvents();
        QCOMPARE_GT(large.columnWidth(0), small.columnWidth(0));
        QCOMPARE_GT(large.sizeHintForRow(0), small.sizeHintForRow(0));
    }

    // The icons kept are the style's: a widget of another style gets that style's icon.
    void iconsFollowTheStyle() {
        struct Marked : QProxyStyle {
            QIcon standardIcon(StandardPixmap, const QStyleOption*, const QWidget*) const override {
                QPixmap marked(16, 16);
                marked.fill(Qt::red);
                return QIcon(marked);
            }
        };
        QWidget plain;
        QWidget styled;
        Marked style;
        styled.setStyle(&style);
        const auto red = [](const QIcon& icon) {
            return icon.pixmap(16, 16).toImage().pixelColor(8, 8) == QColor(Qt::red);
        };
        QVERIFY(!red(StyleIcon::of(plain, QStyle::SP_ArrowBack)));
        QVERIFY(red(StyleIcon::of(styled, QStyle::SP_ArrowBack)));
        QVERIFY(!red(StyleIcon::of(plain, QStyle::SP_ArrowBack)));
    }

    void pickerIsSizedLikeTheComboBox() {
        QWidget window;
        auto* picker = new CompanyPicker(QStringLiteral("picker"), &window);
        auto* plain = new QComboBox(&window);
        plain->setMinimumContentsLength(30);
        const auto list = [&](const QStringList& names) {
            picker->setNames(names, 0);
            plain->clear();
            plain->addItems(names);
        };
        const auto compare = [&] { QCOMPARE(picker->sizeHint(), plain->sizeHint()); };
        compare();
        list({QString(), QString(45, 'W') + " Bau GmbH", "Hochbau Nord"});
        compare();
        window.show();
        compare();
        QFont larger = window.font();
        larger.setPointSize(larger.pointSize() + 6);
        window.setFont(larger);
        compare();
        list({"Ilm"});
        compare();
    }

    void bookingIsNumberedListedAndTotalledInCents() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Betrag) VALUES "
                  "(1, '1', 'Schule', 'Hochbau Nord', 100), (5, '1', 'Schule', 'Hochbau Nord', 100), "
                  "(9, '2', 'Schule', 'Andere Firma', 7)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        QCOMPARE(f.find<QLabel>("lblSitz")->text() + '|' + f.text("txtKostengruppe"),
                 "Sitz: 97070 Würzburg|300 Bauwerk");
        f.type("txtRechnungsNr", "R-17");
        f.book("Hochbau Nord", "Schlußzahlung", "1234,5");
        QCOMPARE(f.stored("PID || ':' || Betrag || ':' || Gewerk || ':' || RechnungsNr").section(',', -1),
                 "6:1234.5:Rohbau:R-17");
        QCOMPARE(f.text("txtBetrag") + f.text("txtRechnungsNr") +
                     f.find<QComboBox>("cboZahlungsart")->currentText() + '|' +
                     f.find<QComboBox>("cboFirma")->currentText(),
                 "|Hochbau Nord");
        for (const char* amount : {"0,5", "0,1", "0,2"})
            f.book("Hochbau Nord", "Rückhalt", amount);
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column("ListView1", 0) + ' ' + f.column("ListView1", 8, '|') + ' ' + f.total() + ' ' +
                     f.status() + ' ' + f.items("cboAuswertungFirma").join(','),
                 "001,005,006,007,008,009 100,00|100,00|1.234,50|0,50|0,10|0,20 1.435,30 Buchungen: 6 "
                 "Hochbau Nord");
    }

    void incompleteEntryIsRefused_data() {
        for (const char* column : {"tab", "company", "kind", "amounts", "detail"})
            QTest::addColumn<QString>(column);
        const QString missing = "Bitte geben Sie alle notwendigen Daten ein!";
        const QString noTrade = "eine Firma, bei der ein Gewerk eingetragen ist";
        row("no kind", {"entry", "Hochbau Nord", "", "5", missing});
        row("no amount", {"entry", "Hochbau Nord", "Rückhalt", "", missing});
        row("partial amount", {"entry", "Hochbau Nord", "Rückhalt", "-", "keine vollständige Zahl"});
        row("no trade", {"entry", "Ohne Gewerk", "Rückhalt", "5", "Gewerk"});
        row("estimate row, no company", {"company", "", "Auftrag vom", "5|5", noTrade});
        row("estimate row, no trade", {"company", "Ohne Gewerk", "Auftrag vom", "5|5", noTrade});
        row("estimate row, partial architect amount",
            {"company", "Hochbau Nord", "Auftrag vom", "-|5", "Der Betrag \"-\" ist keine"});
        row("estimate row, partial order amount",
            {"company", "Hochbau Nord", "Auftrag vom", "|,", "Der Betrag \",\" ist keine"});
    }
    void incompleteEntryIsRefused() {
        QFETCH(QString, tab);
        QFETCH(QString, company);
        QFETCH(QString, kind);
        QFETCH(QString, amounts);
        QFETCH(QString, detail);
        const bool estimate = tab == "company";
        Fixture f;
        f.open();
        if (estimate) {
            f.showTab(Workspace::CompanyTabIndex);
            f.choose("cboFirmaFirma", company);
            f.bookEstimate(kind, amounts.section('|', 0, 0), amounts.section('|', 1));
        } else {
            f.book(company, kind, amounts);
        }
        QCOMPARE(f.stored("ID") + f.estimates("NID") + '|' + QString::number(f.dialogs.shown.size()) + '|' +
                     f.dialogs.shown.first().title,
                 "|1|Buchung abgebrochen");
        QVERIFY(estimate || f.dialogs.lastText().startsWith("Angaben unvollständig!\n"));
        QVERIFY2(f.dialogs.lastText().contains(detail), qPrintable(f.dialogs.lastText()));
        QCOMPARE(estimate ? f.text("txtArchitektBetrag") + '|' + f.text("txtAuftragBetrag")
                          : f.text("txtBetrag"),
                 amounts);
    }

    void headingsSortByValue_data() {
        for (const char* column : {"tab", "clicks", "expected"})
            QTest::addColumn<QString>(column);
        row("booking amounts", {"1", "8", "69.002,34|9.887,45|100,00 by 8 down"});
        row("booking numbers", {"1", "0", "1000|999|009 by 0 down"});
        row("booking dates", {"1", "3", "01.01.2024|15.03.2023|21.08.1924 by 3 down"});
        row("bookings refilled", {"1", "", "009|999|1000 by 0 up"});
        row("booking spare column", {"1", "10", "009|999|1000 by 0 up"});
        row("estimates refilled", {"2", "", "10|9 by 0 down"});
        row("estimate dates descending, refilled", {"2", "1 1 refill", "01.01.2024|21.08.1924 by 1 down"});
        row("estimate amounts", {"2", "2", "9.887,45|69.002,34 by 2 up"});
        row("estimate spare column", {"2", "7", "9|10 by 0 up"});
        row("evaluation dates", {"3", "3", "01.01.2024|15.03.2023|21.08.1924 by 3 down"});
        row("evaluation amounts", {"3", "7", "69.002,34|9.887,45|100,00 by 7 down"});
        row("cost report payments", {"4", "8", "69.002,34|9.887,45|100,00|78.989,79||| by 8 down"});
    }
    void headingsSortByValue() {
        QFETCH(QString, tab);
        QFETCH(QString, clicks);
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Kostengruppe, AnweisungVom, Betrag) VALUES "
                  "(9, '1', 'Hochbau Nord', '300', 45292, 9887.45), "
                  "(999, '1', 'O''Neill & Co_%', '300', 9000, 69002.34), "
                  "(1000, '1', 'Ohne Gewerk', '300', 45000, 100)");
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektDatum, ArchitektKosten) VALUES "
                  "(9, '1', 'Hochbau Nord', 45292, 9887.45), (10, '1', 'Hochbau Nord', 9000, 69002.34)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.showTab(tab.toInt());
        if (tab == "3")
            f.click("optKostengruppe");
        const QString list = "ListView" + tab;
        for (const QString& click : clicks.split(' ', Qt::SkipEmptyParts))
            click == "refill" ? f.screen->List2Fuellen() : f.clickHeading(list, click.toInt());
        const QHeaderView* header = f.list(list)->header();
        const int by = header->sortIndicatorSection();
        QTEST(f.column(list, by, '|') + QString(" by %1 ").arg(by) +
                  (header->sortIndicatorOrder() == Qt::AscendingOrder ? "up" : "down"),
              "expected");
    }

    // The list sorts by the numbers its texts show, also where a running number is missing or negative
    // and an amount is missing or negative: the missing ones first.
    void oddNumbersSortAsTheirTexts_data() {
        for (const char* column : {"clicks", "expected"})
            QTest::addColumn<QString>(column);
        row("numbers refilled", {"", "|-50|-05|000|007|1000"});
        row("numbers down", {"0", "1000|007|000|-05|-50|"});
        row("amounts down", {"8", "9.999.999,99|123,45|0,00|-0,50||"});
        row("amounts up", {"8 8", "||-0,50|0,00|123,45|9.999.999,99"});
    }
    void oddNumbersSortAsTheirTexts() {
        QFETCH(QString, clicks);
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (7, '1', 'A', 123.45), "
                  "(NULL, '1', 'B', NULL), (-5, '1', 'C', -0.5), (1000, '1', 'D', 9999999.99), "
                  "(-50, '1', 'E', 0), (0, '1', 'F', NULL)");
        f.open();
        f.showTab(Workspace::BookingsTabIndex);
        for (const QString& click : clicks.split(' ', Qt::SkipEmptyParts))
            f.clickHeading("ListView1", click.toInt());
        QTEST(f.column("ListView1", clicks.isEmpty() ? 0 : clicks.left(1).toInt(), '|'), "expected");
    }

    // A booking another workstation stores shows up by itself: on the server through its notification, on
    // the file when the window is activated. The sort, the selected booking and what is typed stay.
    void listsFollowOtherWorkstations() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, '1', 'Hochbau Nord', 5), "
            "(2, '1', 'Hochbau Nord', 70)");
        f.open();
        f.type("txtBetrag", "12,3");
        f.showTab(Workspace::BookingsTabIndex);
        f.clickHeading("ListView1", 8);
        f.selectRow("ListView1", 1);
        const std::unique_ptr<Database> other = Database::open(f.db.path());
        Booking booking;
        booking.projectId = "1";
        booking.company = "Tiefbau Süd";
        booking.amount = Money::fromCents(900);
        QVERIFY(other && BookingRepository(*other).book(booking));
        if (!f.db.onServer())
            f.activate();
        QTRY_COMPARE(f.column("ListView1", 8, '|'), "70,00|9,00|5,00");
        QCOMPARE(f.list()->selectionModel()->selectedRows().value(0).row(), 2);
        QCOMPARE(f.text("txtBetrag"), "12,3");
        // The pickers follow when their tab is shown after the window's next activation, and so does the
        // note of unreadable amounts.
        f.activate();
        QVERIFY(f.items("cboAuswertungFirma").isEmpty());
        f.db.exec("UPDATE tblBuchung SET Betrag = 1e14 WHERE PID = 1");
        if (f.db.onServer())
            QTRY_COMPARE(f.column("ListView1", 8, '|'), "70,00|9,00|");
        f.activate();
        QCOMPARE(f.find<QPushButton>("cmdUnlesbareBetraege")->text(),
                 "1 Buchung mit unlesbarem Betrag wird nicht mitgezählt (anzeigen)");
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.items("cboAuswertungFirma").join(','), "Hochbau Nord,Tiefbau Süd");
    }

    void deleteAsksAndRemovesTheSelectedBooking() {
        Fixture f;
        // Two bookings of an older program under one running number: the selected one goes.
        f.db.exec("DROP INDEX uxBuchungProjektPID");
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom, Betrag) VALUES "
                  "(7, '1', 'A', 45300, 1), (7, '1', 'A', 45300, 2)");
        f.open();
        f.showTab(Workspace::BookingsTabIndex);
        for (const auto& [row, answer, left] : {std::tuple{1, Dialogs::Answer::No, "1.0,2.0"},
                                                {1, Dialogs::Answer::Yes, "1.0"},
                                                {0, Dialogs::Answer::Yes, ""}}) {
            f.selectRow("ListView1", row);
            f.dialogs.answers.enqueue(answer);
            f.click("cmdBuchungLoeschen");
            QCOMPARE(f.stored("Betrag"), left);
        }
        QCOMPARE(f.dialogs.shown.first().text + '|' + f.column("ListView1", 0) + '|' + f.status() + '|' +
                     f.total(),
                 "LfdNr. '007' löschen?          ||Buchungen: 0|0,00");
        QCOMPARE(f.dialogs.shown.first().defaultButton, Dialogs::Answer::No);
    }

    void takenBackBookingStaysUntilReplaced() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, AnweisungVom, RechnungsNr, Zahlungsart, "
            "Betrag) VALUES (1, '1', 'Hochbau Nord', 'Rohbau', 45300, 'R1', 'Rückhalt', 1234.5), "
            "(2, '1', 'Hochbau Nord', 'Rohbau', 45301, 'R2', 'Rückhalt', 10)");
        f.open();
        f.takeBack(false);
        QCOMPARE(f.dialogs.lastText(),
                 "LfdNr. '001'  -  'Hochbau Nord' bearbeiten? \nBuchungsdaten werden in die "
                 "Eingabefelder (Register Eingabe) kopiert\nund dann aus dieser Liste "
                 "entfernt. ");
        QCOMPARE(QString::number(f.find<QTabWidget>("SSTab1")->currentIndex()) + '|' + f.text("txtBetrag") +
                     '|' + f.text("txtRechnungsNr") + '|' +
                     f.find<QComboBox>("cboZahlungsart")->currentText() + '|' +
                     f.find<QDateEdit>("dtpAnweisung")->date().toString("dd.MM.yyyy") + '|' + f.stored("PID"),
                 "0|1.234,50|R1|Rückhalt|09.01.2024|1,2");
        QVERIFY(!f.find<QLabel>("lblBearbeitungsmodus")->isHidden());
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column("ListView1", 0) + '|' + f.total(), "002|10,00");

        f.dialogs.answers.enqueue(Dialogs::Answer::No);
        f.screen->close();
        f.open();
        QVERIFY(f.dialogs.lastText().contains(
            "Soll die korrigierte Buchung jetzt unter der nächsten laufenden Nummer "
            "gebucht werden?"));
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.stored("PID || Betrag") + '|' + f.column("ListView1", 0), "11234.5,210.0|001,002");

        f.takeBack(false);
        f.type("txtBetrag", "1000");
        f.click("cmdBuchen");
        QCOMPARE(f.stored("PID || ':' || Betrag || ':' || RechnungsNr"), "2:10.0:R2,3:1000.0:R1");
        QVERIFY(f.find<QLabel>("lblBearbeitungsmodus")->isHidden());

        f.takeBack(false);
        f.type("txtBetrag", "11");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.takeBack(false);
        QCOMPARE(f.stored("PID || ':' || Betrag"), "3:1000.0,4:11.0");
    }

    void windowSettingsAreKeptAndKeptOnScreen() {
        Fixture f;
        const SettingKey<QString> widths{"frmAusgabe", "LvW1", {}};
        f.settings->setValue(widths, "001482002716");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "PFensterWidth", {}}, "8000");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "PFensterLeft", {}}, "900000");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "check1", {}}, "0");
        f.open();
        QCOMPARE(f.screen->width(), Twips::toPixelsX(9200, *f.screen));
        QCOMPARE(f.list()->columnWidth(1), Twips::toPixelsX(2716, *f.screen));
        QVERIFY(f.list()->isColumnHidden(13) && !f.find<QAbstractButton>("chkAlleFirmen")->isChecked());
        QVERIFY(f.screen->screen()->availableGeometry().contains(f.screen->frameGeometry().center()));
        f.list()->setColumnWidth(0, Twips::toPixelsX(3000, *f.screen));
        f.screen->close();
        QCOMPARE(f.settings->value(widths).left(12), "003000002716");
    }

    // The company tab shown first after opening lists the project's companies in its picker.
    void companyTabShownFirstListsTheCompanies() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, '1', 'Zimmerei', 7), "
                  "(2, '2', 'Fremd', 1)");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "check1", {}}, "0");
        f.open();
        f.showTab(Workspace::CompanyTabIndex);
        QCOMPARE(f.items("cboFirmaFirma").join(','), ",Zimmerei");
    }

    // Another project chosen while the evaluation is in view: back in the window, its pickers list the new
    // project's companies.
    void evaluationInViewFollowsAnotherProject() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, '1', 'Zimmerei', 7), "
                  "(1, '2', 'Fremd', 1)");
        f.open();
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.items("cboAuswertungFirma").join(','), "Zimmerei");
        f.screen->setProject("2", "Rathaus");
        f.activate();
        QCOMPARE(f.items("cboAuswertungFirma").join(','), "Fremd");
    }

    void tabsShareTheBookingsAndListEachValueAndTheirCompanysSeat() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Kostengruppe, Betrag) VALUES "
                  "(1, '1', 'O''Neill & Co_%', 'Rohbau', '300', 100), (2, '1', 'O''Neill & Co_%', 'Rohbau', "
                  "'300', 0.5), (3, '1', 'Zimmerei', 'Dach', '300', 7), (4, '1', 'ZIMMEREI', 'dach', '', 0), "
                  "(5, '2', 'Fremd', 'Fremd', 'Fremd', 1)");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "check1", {}}, "0");
        f.open();
        f.chooseCompany("O'Neill & Co_%");
        f.showTab(Workspace::CompanyTabIndex);
        QCOMPARE(f.find<QComboBox>("cboFirmaFirma")->currentText(), "O'Neill & Co_%");
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.items("cboAuswertungFirma") + f.items("cboFirmaFirma") + f.items("cboAuswertungGewerk") +
                     f.items("cboAuswertungKostengruppe"),
                 (QStringList{"O'Neill & Co_%", "Zimmerei", "", "O'Neill & Co_%", "Zimmerei", "Dach",
                              "Rohbau", "300"}));
        f.click("chkAlleFirmen");
        QCOMPARE(f.items("cboFirmaFirma").join(','), ",Hochbau Nord,O'Neill & Co_%,Ohne Gewerk");
        f.chooseCompany("Hochbau Nord");
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.status() + '|' + f.screen->snapshot().value("Sitz"),
                 "Buchungen: 2|Sitz: 40210 Düsseldorf");
        f.showTab(Workspace::CompanyTabIndex);
        f.choose("cboFirmaFirma", "O'Neill & Co_%");
        QCOMPARE(f.screen->snapshot().value("Sitz"), "Sitz: 40210 Düsseldorf");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.total() + '|' + f.screen->snapshot().value("Gesamtsumme") + '|' +
                     f.screen->snapshot().value("Sitz") + '|' + f.status(),
                 "107,50|107,50||Buchungen: 4");
        f.showTab(Workspace::EvaluationTabIndex);
        f.showTab(Workspace::EntryTabIndex);
        QCOMPARE(f.status(), "Buchungen: 4");
    }

    void enterBooks_data() {
        for (const char* column : {"tab", "field", "stored"})
            QTest::addColumn<QString>(column);
        for (const char* field : {"cboFirma", "dtpAnweisung", "dtpRechnung", "txtRechnungsNr",
                                  "cboZahlungsart", "txtBetrag", "txtBemerkungen", "cmdBuchen"})
            row(field, {"0", field, "1|0"});
        row("txtSuchen", {"0", "txtSuchen", "0|0"});
        for (const char* field : {"dtpArchitektDatum", "txtArchitektBetrag", "cboAuftragsart",
                                  "dtpAuftragDatum", "txtAuftragBetrag", "cmdNachtragBuchen"})
            row(field, {"2", field, "0|1"});
        row("ListView2", {"2", "ListView2", "0|0"});
    }
    void enterBooks() {
        QFETCH(QString, tab);
        QFETCH(QString, field);
        Fixture f;
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        f.type("txtBetrag", "5");
        f.showTab(tab.toInt());
        f.type("txtAuftragBetrag", "7");
        f.find<QWidget>(field)->setFocus();
        QTest::keyClick(f.find<QWidget>(field), Qt::Key_Return);
        QTEST(f.db.scalar(
                  "SELECT (SELECT count(*) FROM tblBuchung) || '|' || (SELECT count(*) FROM tblNachtrag)"),
              "stored");
    }

    void waitingRowCanBeKeptByCancellingTheLeave_data() {
        QTest::addColumn<bool>("estimate");
        QTest::newRow("booking") << false;
        QTest::newRow("estimate row") << true;
    }
    void waitingRowCanBeKeptByCancellingTheLeave() {
        QFETCH(bool, estimate);
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Betrag) VALUES "
                  "(1, '1', 'Hochbau Nord', 'Rohbau', 50)");
        f.db.exec(
            "INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragArt, NachtragDatum, ArchitektDatum, "
            "ArchitektKosten, NachtragKosten) VALUES (1, '1', 'Hochbau Nord', 'Auftrag vom', 45300, 45300, "
            "100, 80)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.takeBack(estimate);
        f.showTab(Workspace::EvaluationTabIndex);
        f.showTab(Workspace::CostReportTabIndex);
        QCOMPARE(f.column("ListView3", 7) + '|' + f.column("ListView4", 4) + '|' + f.column("ListView4", 5) +
                     '|' + f.column("ListView4", 8),
                 estimate ? "50,00| ,0,00,,,| ,0,00,,,|50,00,50,00,,," : "|0,00,,,|0,00,,,|0,00,,,");
        QSignalSpy closings(f.screen.get(), &Workspace::closing);
        f.dialogs.answers.enqueue(Dialogs::Answer::Cancel);
        f.click("tbrBeenden");
        QCOMPARE(f.dialogs.shown.last().kind, ScriptedDialogs::Shown::Kind::AskWithCancel);
        QVERIFY(
            f.screen->isVisible() && closings.isEmpty() &&
            !f.find<QLabel>(estimate ? "lblNachtragBearbeitungsmodus" : "lblBearbeitungsmodus")->isHidden());
        f.dialogs.answers.enqueue(Dialogs::Answer::No);
        f.click("tbrBeenden");
        QVERIFY(closings.count() == 1 && closings.first().first().toBool());
    }

    void silentButtonsSaySo_data() {
        for (const char* column : {"tab", "button", "said"})
            QTest::addColumn<QString>(column);
        const QString noBooking = "Bitte wählen Sie zuerst eine Buchung in der Liste.";
        const QString noRow = "Bitte wählen Sie zuerst einen Eintrag in der Liste.";
        const QString onEntry =
            "Das Register „Eingabe“ hat kein%1. Bitte wählen Sie das Register der Liste, die %2 soll.";
        row("Buchung bearbeiten", {"1", "cmdBuchungBearbeiten", noBooking});
        row("Buchung löschen", {"1", "cmdBuchungLoeschen", noBooking});
        row("Bearbeiten", {"2", "cmdNachtragBearbeiten", noRow});
        row("Löschen", {"2", "cmdNachtragLoeschen", noRow});
        row("Drucken", {"0", "tbrDrucken", onEntry.arg("en Bericht", "gedruckt werden")});
        row("Export", {"0", "tbrExport", onEntry.arg("e Liste", "exportiert werden")});
    }
    void silentButtonsSaySo() {
        QFETCH(QString, tab);
        QFETCH(QString, button);
        Fixture f;
        f.open();
        f.showTab(tab.toInt());
        f.click(button);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.last().kind, ScriptedDialogs::Shown::Kind::Inform);
        QTEST(f.dialogs.lastText(), "said");
    }

    void unreadableDateIsKeptOnCorrection_data() {
        for (const char* column : {"table", "field", "column", "stored", "notice"})
            QTest::addColumn<QString>(column);
        const QString unreadable = "Gespeichertes Datum nicht lesbar: ";
        row("booking, year 5881510",
            {"tblBuchung", "dtpRechnung", "RechnungVom", "2147483647", unreadable + "2147483647"});
        row("booking, empty", {"tblBuchung", "dtpRechnung", "RechnungVom", "NULL", ""});
        row("estimate row, year 5881510",
            {"tblNachtrag", "dtpAuftragDatum", "NachtragDatum", "2147483647", unreadable + "2147483647"});
        row("text in a day field, booking",
            {"tblBuchung", "dtpAnweisung", "AnweisungVom", "'abc'", unreadable + "abc"});
        row("text in a day field, estimate row",
            {"tblNachtrag", "dtpArchitektDatum", "ArchitektDatum", "'31.02.'", unreadable + "31.02."});
    }
    void unreadableDateIsKeptOnCorrection() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        QFETCH(QString, notice);
        if (TestDatabase::requestedEngine() == TestDatabase::Engine::Server && stored.startsWith('\''))
            QSKIP("a server's day fields hold whole numbers only");
        const bool estimate = table == "tblNachtrag";
        for (const bool dateSet : {false, true}) {
            Fixture f;
            f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, AnweisungVom, RechnungVom, "
                      "Zahlungsart, Betrag) VALUES (1, '1', 'Hochbau Nord', 'Rohbau', 45000, 45000, "
                      "'Rückhalt', 5)");
            f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektDatum, NachtragDatum, "
                      "NachtragKosten) VALUES (1, '1', 'Hochbau Nord', 45000, 45000, 8)");
            f.db.exec(QStringLiteral("UPDATE %1 SET %2 = %3").arg(table, column, stored));
            const QString before = f.held(column, table);
            f.open();
            f.chooseCompany("Hochbau Nord");
            f.takeBack(estimate);
            auto* date = f.find<DateField>(field);
            QVERIFY(date->isEmpty());
            QCOMPARE(date->notice()->isHidden() ? QString() : date->notice()->text(), notice);
            if (dateSet)
                date->setDate(QDate(2024, 3, 15));
            f.click(estimate ? "cmdNachtragBuchen" : "cmdBuchen");
            QCOMPARE(f.db.scalar("SELECT count(*) FROM " + table) + ':' + f.held(column, table),
                     "1:" + (dateSet ? "45366" : before));
            QVERIFY(date->notice()->isHidden());
        }
    }

    void foreignAmountsAreCountedOrNamed_data() {
        QTest::addColumn<QString>("projectId");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("listed");
        QTest::newRow("German notation")
            << "1" << QVariant("1.234,50") << "1.334,50" << QString() << QString();
        QTest::newRow("project number with blanks")
            << " 1 " << QVariant(5) << "105,00" << QString() << QString();
        QTest::newRow("text") << "1" << QVariant("abc") << "100,00"
                              << "1 Buchung mit unlesbarem Betrag wird nicht mitgezählt; 1 Eintrag der "
                                 "Kostenberechnung und Aufträge mit unlesbarem Betrag wird nicht mitgezählt"
                              << "LfdNr. 002  B: „abc“\nNr. 1  B, Auftrag: „abc“";
        QTest::newRow("beyond any amount") << "1" << QVariant(1e308) << "100,00"
                                           << "1 Buchung mit unlesbarem Betrag wird nicht mitgezählt"
                                           << "LfdNr. 002  B: „1e+308“";
    }
    void foreignAmountsAreCountedOrNamed() {
        QFETCH(QString, projectId);
        QFETCH(QVariant, stored);
        QFETCH(QString, total);
        QFETCH(QString, notice);
        QFETCH(QString, listed);
        if (TestDatabase::requestedEngine() == TestDatabase::Engine::Server &&
            stored.typeId() == QMetaType::QString)
            QSKIP("a server's amount fields hold numbers only");
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, '1', 'A', 100), (2, ?, "
                  "'B', ?)",
                  {projectId, stored});
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (1, ?, 'B', ?)",
                  {projectId, stored.typeId() == QMetaType::Double ? QVariant(7) : stored});
        f.open();
        f.activate();
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column("ListView1", 0) + ' ' + f.total(), "001,002 " + total);
        auto* note = f.find<QPushButton>("cmdUnlesbareBetraege");
        QCOMPARE(note->isVisible() ? note->text().left(notice.size()) : QString(), notice);
        QCOMPARE(f.dialogs.shown.size(), notice.isEmpty() ? 0 : 1);
        QVERIFY2(f.dialogs.lastText().contains(listed), qPrintable(f.dialogs.lastText()));
        if (!notice.isEmpty()) {
            f.click("cmdUnlesbareBetraege");
            QCOMPARE(f.dialogs.shown.size(), 2);
        }
    }

    void listsKeepTheirRowsWhileTheFileIsGone_data() {
        QTest::addColumn<int>("tab");
        for (const int tab : {Workspace::BookingsTabIndex, Workspace::CompanyTabIndex,
                              Workspace::EvaluationTabIndex, Workspace::CostReportTabIndex})
            QTest::addRow("tab %d", tab) << tab;
    }
    void listsKeepTheirRowsWhileTheFileIsGone() {
        QFETCH(int, tab);
        if (TestDatabase::requestedEngine() == TestDatabase::Engine::Server)
            QSKIP("a file moved away");
        Fixture f;
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (1, '1', 'Hochbau "
                  "Nord', 800)");
        f.open();
        f.book("Hochbau Nord", "Schlußzahlung", "100");
        f.showTab(tab);
        auto* view = qobject_cast<ReportListView*>(f.list("ListView" + QString::number(tab)));
        const QString shown = f.rows(view->objectName()).join('\n') + f.status();
        QVERIFY(view->model()->rowCount() > 0 && !view->isOutdated());
        QVERIFY(QFile::rename(f.db.path(), f.db.path() + ".weg"));

        f.showTab(Workspace::EntryTabIndex);
        f.book("Hochbau Nord", "Schlußzahlung", "7");
        QVERIFY2(f.dialogs.lastText().contains("Die Datenbankdatei ist nicht mehr vorhanden"),
                 qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.text("txtBetrag"), "7");
        f.showTab(tab);
        QCOMPARE(f.rows(view->objectName()).join('\n') + f.status(), shown);
        QVERIFY(view->isOutdated() && view->findChild<QLabel*>("lblNichtAktuell")->isVisible());

        QVERIFY(QFile::rename(f.db.path() + ".weg", f.db.path()));
        f.showTab(Workspace::EntryTabIndex);
        f.click("cmdBuchen");
        QCOMPARE(f.stored("Betrag"), "100.0,7.0");
        f.showTab(tab);
        QVERIFY(!view->isOutdated());
    }

    // While the changes of other workstations do not arrive, the status bar says so, until they do again.
    void statusBarSaysWhileListsDoNotFollow() {
        Fixture f;
        f.open();
        auto* watch = f.screen->findChild<ChangeWatch*>();
        QVERIFY(watch && watch->isFollowing());
        QVERIFY(!f.screen->findChild<QLabel*>("lblVerbindung"));
        emit watch->followingChanged(false);
        auto* note = f.find<QStatusBar>("StatusBar1")->findChild<QLabel*>("lblVerbindung");
        QVERIFY(note && note->isVisible());
        QVERIFY2(note->text().contains("Listen werden nicht aktualisiert"), qPrintable(note->text()));
        emit watch->followingChanged(true);
        QVERIFY(!f.screen->findChild<QLabel*>("lblVerbindung"));
    }

    // A booking whose COMMIT lost its answer with the connection, while the database cannot be opened
    // again: the message says that whether it was stored is not known yet, and the entry stays.
    void bookingOfUnknownOutcomeSaysSo_data() {
        QTest::addColumn<QString>("table");
        QTest::newRow("booking") << "tblBuchung";
        QTest::newRow("estimate row") << "tblNachtrag";
    }
    void bookingOfUnknownOutcomeSaysSo() {
        QFETCH(QString, table);
        if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
            QSKIP("needs the server");
        Fixture f;
        f.open();
        f.db.exec("CREATE FUNCTION zt_hold() RETURNS trigger LANGUAGE plpgsql AS "
                  "$$BEGIN PERFORM pg_advisory_lock(592502); RETURN NULL; END$$");
        f.db.exec("CREATE CONSTRAINT TRIGGER zt_hold AFTER INSERT ON " + table +
                  " DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION zt_hold()");
        f.db.exec("SELECT pg_advisory_lock(592502)");
        SessionEnder ender(f.db.path(), 0, "advisory",
                           "ALTER TABLE tblKostengruppe RENAME TO zt_kostengruppe");
        ender.start();
        if (table == "tblBuchung") {
            f.book("Hochbau Nord", "Schlußzahlung", "100");
        } else {
            f.showTab(Workspace::CompanyTabIndex);
            f.choose("cboFirmaFirma", "Hochbau Nord");
            f.bookEstimate("Auftrag vom", "100", "100");
        }
        ender.wait();
        QVERIFY(ender.ended);
        QCOMPARE(f.dialogs.shown.constLast().title, "Buchung vielleicht nicht gespeichert");
        QVERIFY2(f.dialogs.lastText().contains("Bitte prüfen Sie dann die Liste"),
                 qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.text(table == "tblBuchung" ? "txtBetrag" : "txtAuftragBetrag"), "100");
        f.db.exec("SELECT pg_advisory_unlock_all()");
        f.db.exec("ALTER TABLE zt_kostengruppe RENAME TO tblKostengruppe");
    }

    // The original of a correction deleted elsewhere meanwhile: booking the entry as new is asked, "Nein"
    // preselected. One changed elsewhere is never overwritten: loading its current state is offered.
    void correctionOfAChangedOrVanishedOriginalAsks_data() {
        QTest::addColumn<bool>("estimate");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("shown");
        for (const bool estimate : {false, true}) {
            QTest::addRow("%d, vanished, booked as new", estimate)
                << estimate << false << Dialogs::Answer::Yes << "Original nicht mehr vorhanden|No|1|";
            QTest::addRow("%d, vanished, kept in the entry", estimate)
                << estimate << false << Dialogs::Answer::No << "Original nicht mehr vorhanden|No|0|12";
            QTest::addRow("%d, changed, current state loaded", estimate)
                << estimate << true << Dialogs::Answer::Yes << "Original inzwischen geändert|Yes|1|99,00";
            QTest::addRow("%d, changed, kept in the entry", estimate)
                << estimate << true << Dialogs::Answer::No << "Original inzwischen geändert|Yes|1|12";
        }
    }
    void correctionOfAChangedOrVanishedOriginalAsks() {
        QFETCH(bool, estimate);
        QFETCH(bool, changed);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QString, shown);
        Fixture f;
        const QString table = estimate ? "tblNachtrag" : "tblBuchung";
        const QString amount = estimate ? "NachtragKosten" : "Betrag";
        f.db.exec("INSERT INTO " + table + " (ProjektID, Firma, Gewerk, " + amount +
                  ") VALUES ('1', 'Hochbau Nord', 'Rohbau', 1)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.takeBack(estimate);
        f.db.exec(changed ? "UPDATE " + table + " SET " + amount + " = 99" : "DELETE FROM " + table);
        const QString amountField = estimate ? "txtAuftragBetrag" : "txtBetrag";
        f.type(amountField, "12");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        f.dialogs.answers.enqueue(answer);
        f.click(estimate ? "cmdNachtragBuchen" : "cmdBuchen");
        const bool yes = f.dialogs.shown.last().defaultButton == Dialogs::Answer::Yes;
        QCOMPARE(f.dialogs.shown.last().title + (yes ? "|Yes|" : "|No|") +
                     f.db.scalar("SELECT count(*) FROM " + table + " WHERE " + amount + " <> 1") + '|' +
                     f.text(amountField),
                 shown);
    }

    // A company renamed elsewhere after it was chosen: the booking is refused rather than stored under the
    // old name, the picker lists the register anew, and the entry stays.
    void bookingForACompanyRenamedElsewhereIsRefused() {
        Fixture f;
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.db.exec("UPDATE tblFirma SET Name = 'Hochbau Süd' WHERE Name = 'Hochbau Nord'");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        f.type("txtBetrag", "12");
        f.click("cmdBuchen");
        QVERIFY(f.dialogs.lastText().contains("'Hochbau Nord' ist nicht mehr im Firmenverzeichnis"));
        QCOMPARE(f.db.scalar("SELECT count(*) FROM tblBuchung") + '|' + f.text("txtBetrag"), "0|12");
        QVERIFY(f.find<QComboBox>("cboFirma")->findText("Hochbau Süd") >= 0);
    }

    // "#" is the numeric keypad's decimal key; the amount held follows "=", in cents.
    void amountFieldKeepsWhatWasTyped_data() {
        for (const char* column : {"typed", "pasted", "held"})
            QTest::addColumn<QString>(column);
        row("German amount", {"1.234,50", "", "1.234,50 = 123450"});
        row("negative", {"-5.000,00", "", "-5.000,00 = -500000"});
        row("a point that is no thousands point", {"12345.67", "", "12345,67 = 1234567"});
        row("a point after four digits", {"1234.5", "", "1234,5 = 123450"});
        row("a point with two digits at the end", {"1.50", "", "1.50 = 150"});
        row("a point with three digits is a group", {"1.234", "", "1.234 = 123400"});
        row("a minus alone", {"-", "", "- = none"});
        row("a third decimal is refused", {"12,345", "", "12,34 = 1234"});
        row("a letter is refused", {"12a", "", "12 = 1200"});
        row("a second comma is refused", {"1,2,3", "", "1,23 = 123"});
        row("a group of four is refused", {"1.2345", "", "1.234 = 123400"});
        row("the keypad's decimal key", {"12#5", "", "12,5 = 1250"});
        row("the keypad's key after three digits", {"123#45", "", "123,45 = 12345"});
        row("pasted German amount", {"", "12.345,67", "12.345,67 = 1234567"});
        row("pasted thousands", {"", "1.234", "1.234 = 123400"});
        row("pasted with a decimal point", {"", "12345.67", "12345,67 = 1234567"});
        row("pasted text is refused", {"12", "abc", "12 = 1200"});
        row("fourteen whole digits are refused", {"12345678901234", "", "1234567890123 = 123456789012300"});
    }
    void amountFieldKeepsWhatWasTyped() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        AmountField field;
        field.show();
        QApplication::setActiveWindow(&field);
        for (const QChar c : typed) {
            if (c == u'#')
                QTest::keyClick(&field, Qt::Key_Period, Qt::KeypadModifier);
            else
                QTest::keyClicks(&field, QString(c));
        }
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            field.paste();
        }
        QTEST(field.text() + " = " + (field.amount() ? QString::number(field.amount()->cents()) : "none"),
              "held");
    }

    void dateFieldTakesAWholeDate_data() {
        for (const char* column : {"typed", "clickedAt", "taken"})
            QTest::addColumn<QString>(column);
        row("eight digits", {"15032024", "", "15.03.2024"});
        row("with points", {"15.03.2024", "8", "15.03.2024"});
        row("short, then Enter", {"15.3.24\n", "4", "15.03.2024"});
        row("short, then Tab", {"1.2.99\t", "", "01.02.1999"});
        row("no such day", {"31022024", "1", "01.06.2020 „31022024“ ist kein Datum (TT.MM.JJJJ)."});
    }
    void dateFieldTakesAWholeDate() {
        QFETCH(QString, typed);
        QFETCH(QString, clickedAt);
        Fixture f;
        f.open();
        QApplication::setActiveWindow(f.screen.get());
        auto* field = f.find<DateField>("dtpAnweisung");
        field->setDate(QDate(2020, 6, 1));
        if (clickedAt.isEmpty())
            field->setFocus();
        else
            QTest::mouseClick(
                field, Qt::LeftButton, {},
                QPoint(field->fontMetrics().averageCharWidth() * clickedAt.toInt(), field->height() / 2));
        for (const QChar c : typed) {
            if (c == u'\n' || c == u'\t')
                QTest::keyClick(field, c == u'\n' ? Qt::Key_Return : Qt::Key_Tab);
            else
                QTest::keyClicks(field, QString(c));
        }
        QTEST(field->date().toString("dd.MM.yyyy") +
                  (field->notice()->isVisibleTo(f.screen.get()) ? ' ' + field->notice()->text() : QString()),
              "taken");
    }

    // The budget lines below the sums of a project without a budget: what every company's orders and
    // supplements commit, paid or not.
    static QStringList closingLines(const QString& committed) {
        return {"||Budget||||||||", "||Gebunden (Aufträge und Nachträge)|||||" + committed + "|||",
                "||Verbleibend||||||||"};
    }
    void listShowsEachPayingCompanyAndTheSums_data() {
        QTest::addColumn<QString>("bookings");
        QTest::addColumn<QString>("estimates");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("colours");
        QTest::newRow("which estimate rows count, by kind and by the last main row's dates")
            << "(1, '1', 'A', 'Dach', '300 Bauwerk - Baukonstruktionen', 0.1), (2, '1', 'B', '', '', 0.1), "
               "(3, '1', 'C', '', '', 0.1), (4, '1', 'D', '', '', 0.1), (5, '1', 'E', '', '', 0.1), "
               "(6, '1', 'F', '', '', 0.1), (7, '1', 'G', '', '', 0.1)"
            << "(1, '1', 'A', 45000, 1000, 45001, 'Auftrag vom', 900), (2, '1', 'A', 45000, 50.5, 45001, "
               "'Auftrag vom', 40.4), (3, '1', 'A', 45000, 7.77, 45001, '1. Nachtr. Auftrag', 10), "
               "(1, '1', 'B', 45000, 50, 45001, 'Auftrag', 70), (1, '1', 'C', 45000, 1, 45001, 'auftrag "
               "vom', 1), "
               "(2, '1', 'C', 45000, 1, 45001, ' Auftrag vom', 2), (3, '1', 'C', 45000, 1, 45001, 'Auftra', "
               "4), "
               "(4, '1', 'C', 45000, 1, 45001, '', 8), (1, '1', 'D', NULL, 100, 45001, 'Auftrag vom', 200), "
               "(1, '1', 'E', 45000, 100, 45001, 'Auftrag vom', 200), (2, '1', 'E', NULL, 0, NULL, 'Auftrag "
               "vom', "
               "0), (2, '1', 'F', 45000, 0, 45001, '1. Nachtr. Auftrag', 300), (1, '1', 'F', 45000, 100, "
               "NULL, "
               "'Auftrag vom', 200), (1, '1', 'K', 45000, 500, 45001, 'Auftrag vom', 600), "
               "(2, '1', 'G', 45000, 100, NULL, 'Auftrag vom', 200), (1, '1', 'G', 45000, 0, 45001, "
               "'1. Nachtr. Auftrag', 300)"
            << QStringList{"001|A|Dach|300 Bauwe|1.050,50|940,40|10,00|950,40|0,10|-1.050,40|-99,99",
                           "002|B|||50,00|70,00| |70,00|0,10|-49,90|-99,80",
                           "003|C||| | |15,00|15,00|0,10|0,10|0,00",
                           "004|D||| |200,00| |200,00|0,10|-99,90|-99,90",
                           "005|E||| | | |200,00|0,10|-99,90|-99,90",
                           "006|F|||100,00| |300,00|500,00|0,10|-99,90|-99,90",
                           "007|G|||100,00| | |500,00|0,10|-99,90|-99,90",
                           "||Summen:||1.300,50|1.210,40|325,00|2.435,40|0,70|-1.499,80|-115,32"} +
                   closingLines("3.035,40")
            << "rrrrkkrrrrrrrr";
        QTest::newRow("deviations in per cent and their colours")
            << "(1, '1', 'A', '', '', 500), (2, '1', 'B', '', '', 3300), (3, '1', 'C', '', '', 100), "
               "(4, '1', 'D', '', '', 4), (5, '1', 'E', '', '', 1), (6, '1', 'F', '', '', 999999.99)"
            << "(1, '1', 'A', 45000, 1000, 45001, 'Auftrag vom', 0), (1, '1', 'B', 45000, 3000, 45001, "
               "'Auftrag vom', 0), (1, '1', 'D', 45000, 3, 45001, 'Auftrag vom', 0), (1, '1', 'E', 45000, 3, "
               "45001, 'Auftrag vom', 0), (1, '1', 'F', 45000, 1000000, 45001, 'Auftrag vom', 0)"
            << QStringList{"001|A|||1.000,00| | |0,00|500,00|-500,00|-50,00",
                           "002|B|||3.000,00| | |0,00|3.300,00|300,00|10,00",
                           "003|C||| | | |0,00|100,00|100,00|0,00",
                           "004|D|||3,00| | |0,00|4,00|1,00|33,33",
                           "005|E|||3,00| | |0,00|1,00|-2,00|-66,67",
                           "006|F|||1.000.000,00| | |0,00|999.999,99|-0,01|0,00",
                           "||Summen:||1.004.006,00|0,00|0,00|0,00|1.003.904,99|-101,01|-0,01"} +
                   closingLines("0,00")
            << "rrkkkkkkrrrk";
        QTest::newRow(
            "only the project's own rows, every booking once, in German order, named as last booked")
            << "(1, '1', 'Bau*', '', '', 10), (2, '1', 'Bauhaus', '', '', 20), (3, '2', 'Bau*', '', '', "
               "1000), "
               "(4, '11', 'Bau?aus', '', '', 7), (5, '1', 'Maler Schulz', '', '', 100.10), (6, '1', "
               "'MALER SCHULZ', 'Maler', '100 Grundstück', 200.20), (7, '1', 'Abbruch Weg', '', '', 0.7), "
               "(8, '1', 'Öl Meier', '', '', 'abc'), (9, '1', 'Öl Meier', '', '', NULL), (10, '1', 'Öl "
               "Meier', "
               "'', '', '12,5')"
            << "(1, '1', 'Bau*', 45000, 5, 45001, 'Auftrag vom', 0), (1, '2', 'Bauhaus', 45000, 1000, 45001, "
               "'Auftrag vom', 0), (1, '1', 'maler schulz', 45000, 300, 45001, 'Auftrag vom', 250)"
            << QStringList{"001|Abbruch Weg||| | | |0,00|0,70|0,70|0,00",
                           "002|Bau*|||5,00| | |0,00|10,00|5,00|100,00",
                           "003|Bauhaus||| | | |0,00|20,00|20,00|0,00",
                           "004|MALER SCHULZ|Maler|100 Grund|300,00|250,00| |250,00|300,30|0,30|0,10",
                           "005|Öl Meier||| | | |0,00|12,50|12,50|0,00",
                           "||Summen:||305,00|250,00|0,00|250,00|343,50|38,50|12,62"} +
                   closingLines("250,00")
            << "kkkkkkkkkk";
    }
    void listShowsEachPayingCompanyAndTheSums() {
        QFETCH(QString, bookings);
        QFETCH(QString, estimates);
        QFETCH(QString, colours);
        if (TestDatabase::requestedEngine() == TestDatabase::Engine::Server && bookings.contains("'abc'"))
            QSKIP("a server's amount fields hold numbers only");
        WorkspaceFixture f;
        f.db.exec("INSERT INTO tblFirma (Name) VALUES ('Maler Schulz'), ('MALER SCHULZ')");
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Kostengruppe, Betrag) VALUES " +
                  bookings);
        if (!estimates.isEmpty())
            f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektDatum, ArchitektKosten, "
                      "NachtragDatum, NachtragArt, NachtragKosten) VALUES " +
                      estimates);
        f.open();
        f.showTab(Workspace::CostReportTabIndex);
        const QStringList rows = f.rows("ListView4", CostReportModel::kPrintedColumns);
        QTEST(rows, "rows");
        QAbstractItemModel* model = f.list("ListView4")->model();
        const auto colour = [model](int row, int column) {
            const QVariant brush = model->index(row, column).data(Qt::ForegroundRole);
            const QColor shown = brush.value<QColor>();
            return !brush.isValid() ? '-' : shown == Qt::red ? 'r' : shown == Qt::black ? 'k' : 'u';
        };
        QString shown;
        const int sums = rows.size() - 4;
        for (int row = 0; row < sums; ++row)
            shown += QString(colour(row, 9)) + colour(row, 10);
        QCOMPARE(shown, colours);
        for (int column = 0; column < CostReportModel::kPrintedColumns; ++column) {
            const bool filled =
                column == 2 || (column > 3 && !rows.at(sums).section('|', column, column).isEmpty());
            QCOMPARE(colour(sums, column), filled ? 'u' : '-');
            QCOMPARE(model->index(sums, column).data(Qt::FontRole).value<QFont>().bold(), filled);
        }
        // No number or amount is cut; where the window is narrower than all columns, names give way.
        const QTreeView* view = f.list("ListView4");
        for (int cell = 0, columns = model->columnCount(); cell < rows.size() * columns; ++cell)
            QVERIFY((cell % columns > 0 && cell % columns < 4) ||
                    view->sizeHintForIndex(model->index(cell / columns, cell % columns)).width() <=
                        view->columnWidth(cell % columns));
    }

    void yearTakesTheWholeCalendarYear_data() {
        QTest::addColumn<double>("day");
        QTest::addColumn<QString>("shown");
        const QString without = "002|1,00|Buchungen: 1", with = "001,002|11,00|Buchungen: 2";
        QTest::newRow("31.12.2023") << 45291.0 << without;
        QTest::newRow("01.01.2024") << 45292.0 << with;
        QTest::newRow("31.12.2024") << 45657.0 << with;
        QTest::newRow("01.01.2025") << 45658.0 << without;
        QTest::newRow("31.12.2023 18:00") << 45291.75 << without;
        QTest::newRow("31.12.2024 18:00") << 45657.75 << with;
    }
    void yearTakesTheWholeCalendarYear() {
        QFETCH(double, day);
        if (TestDatabase::requestedEngine() == TestDatabase::Engine::Server && day != int(day))
            QSKIP("a server's day fields hold whole numbers only");
        EvaluationFixture f(
            QString("(1, '1', 'A', '', '', %1, 10), (2, '1', 'B', '', '', 45400, 1)").arg(day));
        auto* year = f.find<QDateEdit>("dtpJahr");
        year->setDate(QDate(2023, 6, 15));
        QCOMPARE(year->text() + '|' + f.checkedOption(), "2023|optJahr");
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Up);
        QCOMPARE(year->text(), "2024");
        QTEST(f.shown(), "shown");
    }

    void bookingsAreListedInNumberOrderAndAddedInCents() {
        // A server's amount fields hold numbers only: there, no amount stands for a text.
        const bool server = TestDatabase::requestedEngine() == TestDatabase::Engine::Server;
        EvaluationFixture f(
            QString("(105, '1', 'A', '', '', 0, NULL), (7, '1', 'A', '', '', 0, 0.1), (12, '1', "
                    "'A', '', '', 0, %1), (1, '1', 'A', '', '', 0, 0.2), (5, '1', 'A', '', '', 0, "
                    "%2), (2, '2', 'A', '', '', 0, 5)")
                .arg(server ? "NULL" : "'zehn'", server ? "NULL" : "''"));
        QCOMPARE(f.shown(), "001,005,007,012,105|0,30|Buchungen: 5");
        QCOMPARE(f.column(7), "0,20,,0,10,,");
    }

    void choosingAnEntrySelectsItsOptionKeptOnReturn_data() {
        for (const char* column : {"picker", "option", "rows", "criterion"})
            QTest::addColumn<QString>(column);
        row("trade", {"cboAuswertungGewerk", "optGewerk", "003", "Gewerk: Elektro"});
        row("cost group", {"cboAuswertungKostengruppe", "optKostengruppe", "002", "Kostengruppe: 400"});
        row("company", {"cboAuswertungFirma", "optFirma", "003,002", "Firma: Bau"});
    }
    void choosingAnEntrySelectsItsOptionKeptOnReturn() {
        QFETCH(QString, picker);
        QFETCH(QString, criterion);
        EvaluationFixture f(
            "(1, '1', 'Aal', 'Dach', '300', 45300, 1), (2, '1', 'Bau', 'Dach', '400', 45300, 1), "
            "(3, '1', 'Bau', 'Elektro', '300', 45300, 1)");
        QCOMPARE(f.column(0), "001");
        f.click("optJahr");
        auto* box = f.find<QComboBox>(picker);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        f.clickHeading("ListView3", 0);
        f.activate();
        QTEST(f.checkedOption(), "option");
        QTEST(f.column(0), "rows");
        const QString name = criterion.section(": ", 0, 0);
        QCOMPARE(name + ": " + f.screen->snapshot().value(name), criterion);
    }

    void namesMatchOnlyThemselves() {
        EvaluationFixture f(
            "(1, '1', 'Ärzte*', 'x', '', 0, 1), (2, '1', 'ÄRZTE*', 'x', '', 0, 1), (3, '1', 'Ärzte?', 'x', "
            "'', 0, 1), (4, '1', 'Ärztehaus', 'x', '', 0, 1), (5, '2', 'Ärzte*', 'x', '', 0, 1)");
        f.choose("cboAuswertungFirma", "Ärzte*");
        QCOMPARE(f.column(0), "001,002");
        f.choose("cboAuswertungFirma", "Ärzte?");
        QCOMPARE(f.column(0), "003");
    }

    void activationShowsTheFirstCompanyAndTheTabRebuilds() {
        EvaluationFixture f(
            "(1, '1', 'Zimmerei', '', '', 0, 1), (2, '1', 'Aal', '', '', 0, 2), (3, '1', 'Aal', '', "
            "'', 0, 3)");
        QCOMPARE(f.checkedOption() + '|' + f.shown(), "optFirma|002,003|5,00|Buchungen: 2");
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (4, '1', 'Aal', 4)");
        f.showTab(Workspace::EntryTabIndex);
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.shown(), "002,003,004|9,00|Buchungen: 3");
    }

    void rowsAreNumberedPerProjectAndCompanyAndSummedInCents() {
        CompanyFixture f("(1, '1', 'A', 1000), (2, '1', 'B', 234.5), (3, '2', 'A', 7)");
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma) VALUES (7, '1', 'O''Neill & Co__'), "
                  "(4, '2', 'Hochbau Nord'), (5, '1', 'O''Neill & Co_%')");
        f.find<QDateEdit>("dtpArchitektDatum")->setDate(QDate(2023, 3, 1));
        f.find<QDateEdit>("dtpAuftragDatum")->setDate(QDate(2023, 4, 2));
        for (const char* amount : {"0,1", "0,2", "0,5"})
            f.bookEstimate("Auftrag vom", amount, amount);
        f.bookEstimate("2. Nachtr. Auftrag", "1.234,5", "");
        QCOMPARE(
            f.estimates("NID || '|' || ProjektID || '|' || Projekt || '|' || Firma || '|' || Gewerk || "
                        "'|' || Kostengruppe || '|' || ArchitektKosten || '|' || coalesce(NachtragKosten, "
                        "'null')")
                .section(',', -1),
            "4|1|Schule|Hochbau Nord|Rohbau|300 Bauwerk|1234.5|null");
        QCOMPARE(f.text("txtArchitektBetrag") + f.text("txtAuftragBetrag") + '|' +
                     f.find<QComboBox>("cboAuftragsart")->currentText() + '|' + f.sums() + '|' +
                     f.text("txtGesamtmassnahme"),
                 "|2. Nachtr. Auftrag|1.235,30|0,80|1.234,50");
        QCOMPARE(f.rows("ListView2").first(),
                 "4|01.03.2023|1.234,50||02.04.2023| 2. Nachtr. Auftrag|||44986|45018");
        f.choose("cboFirmaFirma", "O'Neill & Co_%");
        f.bookEstimate("Auftrag vom", "", "1");
        QCOMPARE(f.column(0), "6,5");
    }

    void takenBackMainOrderWaitsAndIsBookedBackInItsPlace() {
        CompanyFixture f;
        f.bookEstimate("Auftrag vom", "50", "1.000");
        f.bookEstimate("1. Nachtr. Auftrag", "", "20");
        QCOMPARE(f.column(5), " 1. Nachtr. Auftrag, Auftrag vom");
        f.takeBackNumber("1");
        QCOMPARE(f.dialogs.shown.first().title + '|' + f.dialogs.shown.first().text,
                 "Buchung bearbeiten oder ändern|Buchung Nr. '1' bearbeiten?          ");
        QVERIFY(f.waiting());
        QCOMPARE(f.find<QComboBox>("cboAuftragsart")->currentText() + '|' + f.text("txtArchitektBetrag") +
                     '|' + f.text("txtAuftragBetrag") + '|' + f.column(0) + '|' + f.sums() + '|' +
                     f.estimates("NID"),
                 "Auftrag vom|50,00|1.000,00|2|0,00|20,00|1,2");

        f.screen->findChild<CompanyTab*>()->setCompanies({"", "O'Neill & Co_%", "Hochbau Nord"});
        f.click("cmdNachtragBuchen");
        QCOMPARE(f.estimates("Firma || ':' || NachtragArt || ':' || NachtragKosten"),
                 "Hochbau Nord:1. Nachtr. Auftrag:20.0,Hochbau Nord:Auftrag vom:1000.0");
        QVERIFY(!f.waiting());
        f.bookEstimate("2. Nachtr. Auftrag", "", "5");
        QCOMPARE(f.column(0) + '|' + QString::number(f.dialogs.shown.size()), "4,3,2|1");
    }

    void undatedRowIsTakenBackOrDeletedAlone_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("stored");
        const auto yes = Dialogs::Answer::Yes;
        QTest::newRow("taken back") << "cmdNachtragBearbeiten" << yes
                                    << "Auftrag vom:44000,2. Nachtr. Auftrag:-,1. Nachtr. Auftrag:44986";
        QTest::newRow("deleted") << "cmdNachtragLoeschen" << yes << "Auftrag vom:44000,2. Nachtr. Auftrag:-";
        QTest::newRow("delete answered No") << "cmdNachtragLoeschen" << Dialogs::Answer::No
                                            << "Auftrag vom:44000,1. Nachtr. Auftrag:-,2. Nachtr. Auftrag:-";
    }
    void undatedRowIsTakenBackOrDeletedAlone() {
        QFETCH(QString, button);
        QFETCH(Dialogs::Answer, answer);
        CompanyFixture f;
        f.db.exec(
            "INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragArt, ArchitektDatum, NachtragDatum) "
            "VALUES "
            "(1, '1', 'Hochbau Nord', 'Auftrag vom', 44000, 44000), (1, '1', 'Hochbau Nord', '1. Nachtr. "
            "Auftrag', NULL, NULL), (1, '1', 'Hochbau Nord', '2. Nachtr. Auftrag', NULL, NULL)");
        f.choose("cboFirmaFirma", "Hochbau Nord");
        f.selectRow("ListView2", 1);
        f.dialogs.answers.enqueue(answer);
        f.click(button);
        QCOMPARE(f.dialogs.shown.first().defaultButton,
                 button.endsWith("Loeschen") ? Dialogs::Answer::No : Dialogs::Answer::Yes);
        f.find<QDateEdit>("dtpArchitektDatum")->setDate(QDate(2023, 3, 1));
        f.click("cmdNachtragBuchen");
        QTEST(f.estimates("NachtragArt || ':' || coalesce(CAST(ArchitektDatum AS TEXT), '-')") +
                  (f.waiting() ? "+" : ""),
              "stored");
    }

    void waitingRowIsBookedOrKeptWhenAsked_data() {
        for (const char* column : {"leaving", "answer", "stored"})
            QTest::addColumn<QString>(column);
        const QString kept = "Auftrag vom:1000.0,1. Nachtr. Auftrag:20.0";
        const QString booked = "1. Nachtr. Auftrag:20.0,Auftrag vom:1.5";
        row("another row, No", {"cmdNachtragBearbeiten", "No", kept});
        row("another row, Yes", {"cmdNachtragBearbeiten", "Yes", booked});
        row("leaving, No", {"cmdProjektmanager", "No", kept});
        row("leaving, Yes", {"cmdProjektmanager", "Yes", booked});
    }
    void waitingRowIsBookedOrKeptWhenAsked() {
        QFETCH(QString, leaving);
        QFETCH(QString, answer);
        CompanyFixture f;
        f.bookEstimate("Auftrag vom", "", "1.000");
        f.bookEstimate("1. Nachtr. Auftrag", "", "20");
        f.takeBackNumber("1");
        f.type("txtAuftragBetrag", "1,5");
        f.selectNumber("2");
        f.dialogs.answers.enqueue(answer == "Yes" ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click(leaving);
        QVERIFY(f.dialogs.shown.at(1).text.contains("jetzt gebucht werden?"));
        QTEST(f.estimates("NachtragArt || ':' || NachtragKosten"), "stored");
        if (leaving == "cmdNachtragBearbeiten")
            QCOMPARE(f.column(5) + '|' + f.text("txtAuftragBetrag"), " Auftrag vom|20,00");
    }

    void failedWriteKeepsEntryAndWaitingRow() {
        CompanyFixture f;
        f.bookEstimate("Auftrag vom", "", "1.000");
        f.takeBackNumber("1");
        StoreFixture::refuse(f.db, "tblNachtrag", "INSERT");
        f.type("txtAuftragBetrag", "2");
        f.click("cmdNachtragBuchen");
        QCOMPARE(f.dialogs.shown.last().title + '|' + f.estimates("NachtragKosten") + '|' + f.column(0) +
                     '|' + f.text("txtAuftragBetrag") + '|' + QString::number(f.waiting()),
                 "Buchung nicht gespeichert|1000.0||2|1");
    }
};

QTEST_MAIN(WorkspaceTest)
#include "WorkspaceTest.moc"
