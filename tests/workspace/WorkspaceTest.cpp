#include "Workspace.h"
#include "AmountField.h"
#include "DateField.h"
#include "ReportListView.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "Twips.h"

#include <algorithm>
#include <memory>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

// The workspace driven through its widgets: booking, the booking list with its total and sorting,
// taking back and deleting, the filter lists, the window's settings, and writes the file refuses.
class WorkspaceTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestDatabase db;
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        std::unique_ptr<Settings> settings = std::make_unique<Settings>(dir.filePath("zlv.ini"));
        std::unique_ptr<Workspace> screen;

        // Three companies, one without a trade; projects 1 and 2 share the name "Schule".
        Fixture() {
            db.exec("INSERT INTO tblFirma (Name, PLZ, Ort, \"Straße\", Telefon1, GewerkID, KostengruppeID) "
                    "VALUES "
                    "('Hochbau Nord', '97070', 'Würzburg', 'Am Hang 1', '0931-1', 'Rohbau', '300 Bauwerk'), "
                    "('O''Neill & Co_%', '40210', 'Düsseldorf', NULL, NULL, 'Elektro', '400 Technik'), "
                    "('Ohne Gewerk', '10115', 'Berlin', NULL, NULL, NULL, NULL)");
            db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Schule', 45000), "
                    "(2, 'Schule', 45001)");
        }
        ~Fixture() {
            if (screen)
                screen->close();
        }
        Workspace& open(const QString& project = "1") {
            screen = std::make_unique<Workspace>(db.path(), dialogs, *settings);
            screen->setProject(project, "Schule");
            screen->show();
            activate();
            return *screen;
        }
        void activate() {
            QEvent activation(QEvent::WindowActivate);
            QCoreApplication::sendEvent(screen.get(), &activation);
        }
        void reopen() {
            screen->close();
            screen.reset();
            settings = std::make_unique<Settings>(dir.filePath("zlv.ini"));
            open();
        }
        template <typename T> T* find(const QString& name) const {
            T* widget = screen->findChild<T*>(name);
            if (!widget)
                qWarning("no widget %s", qPrintable(name));
            return widget;
        }
        void type(const QString& field, const QString& text) {
            find<QLineEdit>(field)->clear();
            QTest::keyClicks(find<QLineEdit>(field), text);
        }
        void click(const QString& name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
        void chooseCompany(const QString& name) {
            auto* picker = find<QComboBox>("cboFirma");
            const int index = picker->findText(name);
            picker->setCurrentIndex(index);
            emit picker->activated(index);
        }
        // Books one entry through the entry tab.
        void book(const QString& company, const QString& kind, const QString& amount,
                  const QDate& instructed = {}) {
            chooseCompany(company);
            find<QComboBox>("cboZahlungsart")->setCurrentText(kind);
            type("txtBetrag", amount);
            if (instructed.isValid())
                find<QDateEdit>("dtpAnweisung")->setDate(instructed);
            click("cmdBuchen");
        }
        void showTab(int tab) { find<QTabWidget>("SSTab1")->setCurrentIndex(tab); }
        QTreeView* list() { return find<QTreeView>("ListView1"); }
        // The booking list's column as shown, joined by commas.
        QString column(int column) {
            QAbstractItemModel* model = list()->model();
            QStringList texts;
            for (int row = 0; row < model->rowCount(); ++row)
                texts.append(model->index(row, column).data().toString());
            return texts.join(',');
        }
        void selectRow(int row) {
            list()->selectionModel()->setCurrentIndex(list()->model()->index(row, 0),
                                                      QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
        }
        void clickHeading(int column, QTreeView* view = nullptr) {
            QHeaderView* header = (view ? view : list())->header();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        }
        QString status() { return find<QLabel>("lblStatus")->text(); }
        QString total() { return find<QLineEdit>("txtGesamtsumme")->text(); }
        QString stored(const QString& expression) {
            return db.scalar(
                QStringLiteral("SELECT group_concat(%1, ',') FROM (SELECT * FROM tblBuchung ORDER BY ID)")
                    .arg(expression));
        }
        QStringList items(const QString& picker) {
            auto* box = find<QComboBox>(picker);
            QStringList texts;
            for (int i = 0; i < box->count(); ++i)
                texts.append(box->itemText(i));
            return texts;
        }
    };

private slots:
    // Booked with the next running number of the file, listed with the German amount and the total;
    // the company's trade, cost group and details come with the company, the fields that belong to one
    // booking are emptied for the next. Projects sharing a name do not mix.
    void bookingIsNumberedListedAndTotalled() {
        Fixture f;
        for (const int pid : {1, 2, 5})
            f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Betrag) "
                      "VALUES (?, '1', 'Schule', 'Hochbau Nord', 'Rohbau', 100)",
                      {pid});
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Betrag) "
                  "VALUES (9, '2', 'Schule', 'Andere Firma', 'Dach', 7)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        QCOMPARE(f.find<QLineEdit>("txtGewerk")->text() + '|' + f.find<QLineEdit>("txtKostengruppe")->text(),
                 "Rohbau|300 Bauwerk");
        QCOMPARE(f.find<QLabel>("lblSitz")->text(), "Sitz: 97070 Würzburg");
        QCOMPARE(f.find<QLabel>("lblAnschrift")->text(),
                 "Straße:  Am Hang 1\nTelefon: 0931-1   Fax: \nMobil:   \n"
                 "eMail:   \nAnspr:   ");
        f.type("txtRechnungsNr", "R-17");
        f.type("txtBemerkungen", "Rest");
        f.book("Hochbau Nord", "Schlußzahlung", "1234,5");
        QCOMPARE(
            f.stored("PID || ':' || Betrag || ':' || Gewerk || ':' || Kostengruppe || ':' || RechnungsNr")
                .section(',', -1),
            "6:1234.5:Rohbau:300 Bauwerk:R-17");
        QCOMPARE(f.find<QLineEdit>("txtBetrag")->text() + f.find<QLineEdit>("txtRechnungsNr")->text() +
                     f.find<QLineEdit>("txtBemerkungen")->text() +
                     f.find<QComboBox>("cboZahlungsart")->currentText(),
                 QString());
        QCOMPARE(f.find<QComboBox>("cboFirma")->currentText(), "Hochbau Nord");

        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column(0), "001,002,005,006");
        QCOMPARE(f.column(8), "100,00,100,00,100,00,1.234,50");
        QCOMPARE(f.total() + '|' + f.status(), "1.534,50|Buchungen: 4");
        QCOMPARE(f.items("cboAuswertungFirma"), QStringList{"Hochbau Nord"});
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void amountsAreSummedInCents() {
        Fixture f;
        f.open();
        f.book("Hochbau Nord", "Rückhalt", "100");
        f.book("Hochbau Nord", "Rückhalt", "0,5");
        f.book("Hochbau Nord", "Rückhalt", "0,1");
        f.book("Hochbau Nord", "Rückhalt", "0,2");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.total(), "100,80");
    }

    // What "&Buchen" refuses, each with its German message, keeping every field.
    void incompleteEntryIsRefused_data() {
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("detail");
        QTest::newRow("no kind") << "Hochbau Nord"
                                 << ""
                                 << "5"
                                 << "Bitte geben Sie alle notwendigen Daten ein!";
        QTest::newRow("no amount") << "Hochbau Nord"
                                   << "Rückhalt"
                                   << ""
                                   << "Bitte geben Sie alle notwendigen Daten ein!";
        QTest::newRow("partial amount") << "Hochbau Nord"
                                        << "Rückhalt"
                                        << "-"
                                        << "keine vollständige Zahl";
        QTest::newRow("no trade") << "Ohne Gewerk"
                                  << "Rückhalt"
                                  << "5"
                                  << "Gewerk";
    }
    void incompleteEntryIsRefused() {
        QFETCH(QString, company);
        QFETCH(QString, kind);
        QFETCH(QString, amount);
        QFETCH(QString, detail);
        Fixture f;
        f.open();
        f.book(company, kind, amount);
        QCOMPARE(f.stored("ID"), QString());
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, "Buchung abgebrochen");
        QCOMPARE(f.dialogs.shown.first().icon, Dialogs::Icon::Critical);
        QVERIFY2(f.dialogs.lastText().startsWith("Angaben unvollständig!\n") &&
                     f.dialogs.lastText().contains(detail),
                 qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.find<QLineEdit>("txtBetrag")->text(), amount);
    }

    // A file that refuses the write: a German message, every entry field kept, nothing listed.
    void failedWriteKeepsTheEntry() {
        Fixture f;
        f.db.exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON tblBuchung BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
        f.open();
        f.type("txtBemerkungen", "Wichtig");
        f.book("Hochbau Nord", "Rückhalt", "12,34");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QVERIFY(f.dialogs.lastText().contains("gesperrt"));
        QCOMPARE(f.find<QLineEdit>("txtBetrag")->text() + '|' + f.find<QLineEdit>("txtBemerkungen")->text() +
                     '|' + f.find<QComboBox>("cboZahlungsart")->currentText(),
                 "12,34|Wichtig|Rückhalt");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.status(), "Buchungen: 0");
    }

    // Names with an apostrophe and the engine's wildcards are searched, booked and listed as themselves.
    void awkwardNamesAreBookedAsThemselves() {
        Fixture f;
        f.open();
        f.type("txtSuchen", "o'neill & co_%");
        QCOMPARE(f.items("cboFirma"), QStringList{"O'Neill & Co_%"});
        f.type("txtRechnungsNr", "R'1*?%_");
        f.chooseCompany("O'Neill & Co_%");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Eigene Art");
        f.type("txtBetrag", "7");
        f.click("cmdBuchen");
        QCOMPARE(f.stored("Firma || '|' || RechnungsNr || '|' || Zahlungsart"),
                 "O'Neill & Co_%|R'1*?%_|Eigene Art");
        f.type("txtSuchen", "_");
        QCOMPARE(f.items("cboFirma"), QStringList{"O'Neill & Co_%"});
        f.type("txtSuchen", "kein Treffer");
        QCOMPARE(f.items("cboFirma"), QStringList{QString()});
        QCOMPARE(f.find<QLabel>("lblAnzahlFirmen")->text() + f.find<QLineEdit>("txtGewerk")->text(),
                 QString());
    }

    // Every list sorts amounts by value, running numbers by number and dates by day number (one before
    // 1927 too), the cost report's sums staying last; the sorted column shows the arrow. A click sorts
    // descending, on the estimate list (descending after each refill) ascending; without a click, or
    // with one on a column that sorts nothing of its own, the arrow stays with the rows' order.
    void headingsSortByValue_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("clicked"); // -1: none
        QTest::addColumn<int>("heading");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<Qt::SortOrder>("order");
        const auto down = Qt::DescendingOrder;
        const auto up = Qt::AscendingOrder;
        QTest::newRow("booking amounts") << 1 << "ListView1"
                                         << "" << 8 << 8 << "69.002,34|9.887,45|100,00" << down;
        QTest::newRow("booking numbers") << 1 << "ListView1"
                                         << "" << 0 << 0 << "1000|999|009" << down;
        QTest::newRow("booking dates") << 1 << "ListView1"
                                       << "" << 3 << 3 << "01.01.2024|15.03.2023|21.08.1924" << down;
        QTest::newRow("bookings refilled") << 1 << "ListView1"
                                           << "" << -1 << 0 << "009|999|1000" << up;
        QTest::newRow("booking spare column") << 1 << "ListView1"
                                              << "" << 10 << 0 << "009|999|1000" << up;
        QTest::newRow("estimates refilled") << 2 << "ListView2"
                                            << "" << -1 << 0 << "10|9" << down;
        QTest::newRow("estimate spare column") << 2 << "ListView2"
                                               << "" << 7 << 0 << "9|10" << up;
        QTest::newRow("estimate amounts") << 2 << "ListView2"
                                          << "" << 2 << 2 << "9.887,45|69.002,34" << up;
        QTest::newRow("evaluation amounts")
            << 3 << "ListView3"
            << "optKostengruppe" << 7 << 7 << "69.002,34|9.887,45|100,00" << down;
        QTest::newRow("cost report payments")
            << 4 << "ListView4"
            << "" << 8 << 8 << "69.002,34|9.887,45|100,00|78.989,79" << down;
    }
    void headingsSortByValue() {
        QFETCH(int, tab);
        QFETCH(QString, list);
        QFETCH(QString, option);
        QFETCH(int, clicked);
        QFETCH(int, heading);
        QFETCH(Qt::SortOrder, order);
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Firma, Kostengruppe, AnweisungVom, Betrag) VALUES "
            "(9, '1', 'Hochbau Nord', '300', 45292, 9887.45), (999, '1', 'O''Neill & Co_%', '300', 9000, "
            "69002.34), (1000, '1', 'Ohne Gewerk', '300', 45000, 100)");
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektKosten) VALUES "
                  "(9, '1', 'Hochbau Nord', 9887.45), (10, '1', 'Hochbau Nord', 69002.34)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.showTab(tab);
        if (!option.isEmpty())
            f.click(option);
        auto* view = f.find<QTreeView>(list);
        if (clicked >= 0)
            f.clickHeading(clicked, view);
        QStringList texts;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            texts.append(view->model()->index(row, heading).data().toString());
        QTEST(texts.join('|'), "expected");
        QCOMPARE(view->header()->sortIndicatorSection(), heading);
        QCOMPARE(view->header()->sortIndicatorOrder(), order);
    }

    // Deleting asks with the shown number and removes exactly the selected one of two alike bookings;
    // the last one gone leaves "Buchungen: 0" and 0,00.
    void deleteRemovesTheSelectedBooking() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom, Betrag) VALUES "
                  "(7, '1', 'A', 45300, 1), (7, '1', 'A', 45300, 2)");
        f.open();
        f.showTab(Workspace::BookingsTabIndex);
        f.selectRow(1);
        f.dialogs.answers.enqueue(Dialogs::Answer::No);
        f.click("cmdBuchungLoeschen");
        QCOMPARE(f.dialogs.shown.last().title + '|' + f.dialogs.lastText(),
                 "Buchung löschen|LfdNr. '007' löschen?          ");
        QCOMPARE(f.dialogs.shown.last().defaultButton, Dialogs::Answer::No);
        QCOMPARE(f.stored("Betrag"), "1.0,2.0");
        f.selectRow(1);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdBuchungLoeschen");
        QCOMPARE(f.stored("Betrag"), "1.0");
        QCOMPARE(f.column(8), "1,00");
        f.selectRow(0);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdBuchungLoeschen");
        QCOMPARE(f.column(0) + '|' + f.status() + '|' + f.total(), "|Buchungen: 0|0,00");
    }

    // A booking taken back stays in the file but leaves the list; closing answered No keeps it as it
    // was, and after reopening it is listed again. Booking the correction replaces it.
    void takenBackBookingIsNeverLost() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
            "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) VALUES "
            "(1, '1', 'Schule', 'Hochbau Nord', 'Rohbau', '300 Bauwerk', 45300, 45290, 'R1', 'Rückhalt', "
            "'x', 1234.5), "
            "(2, '1', 'Schule', 'Hochbau Nord', 'Rohbau', '300 Bauwerk', 45301, 45291, 'R2', 'Rückhalt', "
            "'y', 10)");
        f.open();
        f.showTab(Workspace::BookingsTabIndex);
        f.selectRow(0);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdBuchungBearbeiten");
        QCOMPARE(f.dialogs.shown.last().title, "Buchung bearbeiten");
        QCOMPARE(f.dialogs.lastText(),
                 "LfdNr. '001'  -  'Hochbau Nord' bearbeiten? \nBuchungsdaten werden in die "
                 "Eingabefelder (Register Eingabe) kopiert\nund dann aus dieser Liste entfernt. ");
        QCOMPARE(f.find<QTabWidget>("SSTab1")->currentIndex(), int(Workspace::EntryTabIndex));
        QCOMPARE(f.find<QLineEdit>("txtBetrag")->text() + '|' + f.find<QLineEdit>("txtRechnungsNr")->text() +
                     '|' + f.find<QComboBox>("cboZahlungsart")->currentText() + '|' +
                     f.find<QDateEdit>("dtpAnweisung")->date().toString("dd.MM.yyyy"),
                 "1.234,50|R1|Rückhalt|09.01.2024");
        QVERIFY(!f.find<QLabel>("lblBearbeitungsmodus")->isHidden());
        QCOMPARE(f.stored("PID"), "1,2");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column(0) + '|' + f.total(), "002|10,00");

        f.dialogs.answers.enqueue(Dialogs::Answer::No);
        f.reopen();
        QVERIFY(f.dialogs.lastText().contains("Soll die korrigierte Buchung jetzt gebucht werden?"));
        QCOMPARE(f.stored("PID || Betrag"), "11234.5,210.0");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column(0), "001,002");

        f.selectRow(0);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdBuchungBearbeiten");
        f.type("txtBetrag", "1000");
        f.click("cmdBuchen");
        QCOMPARE(f.stored("PID || ':' || Betrag || ':' || RechnungsNr"), "2:10.0:R2,3:1000.0:R1");
        QVERIFY(f.find<QLabel>("lblBearbeitungsmodus")->isHidden());

        // Taking back a second booking while one waits asks first; Yes books the waiting correction.
        f.showTab(Workspace::BookingsTabIndex);
        f.selectRow(0);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdBuchungBearbeiten");
        f.type("txtBetrag", "11");
        f.showTab(Workspace::BookingsTabIndex);
        f.selectRow(0);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.dialogs.answers.enqueue(Dialogs::Answer::No);
        f.click("cmdBuchungBearbeiten");
        QCOMPARE(f.stored("PID || ':' || Betrag"), "3:1000.0,4:11.0");
    }

    // The filter lists hold the project's companies, trades and cost groups once each, whatever their
    // letter case and however often the window is activated; another project of the same name adds none.
    void filterListsHoldEachValueOnce() {
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe) VALUES "
            "(1, '1', 'Schule', 'Zimmerei', 'Dach', '300'), (2, '1', 'Schule', 'ZIMMEREI', 'dach', '300'), "
            "(3, '1', 'Schule', 'Öl Meier', 'Heizung', ''), (4, '2', 'Schule', 'Fremd', 'Fremd', 'Fremd')");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "check1", {}}, "0");
        f.open();
        f.activate();
        f.activate();
        QCOMPARE(f.items("cboAuswertungFirma"), (QStringList{"Öl Meier", "Zimmerei"}));
        QCOMPARE(f.items("cboFirmaFirma"), (QStringList{"", "Öl Meier", "Zimmerei"}));
        QCOMPARE(f.items("cboAuswertungGewerk"), (QStringList{"Dach", "Heizung"}));
        QCOMPARE(f.items("cboAuswertungKostengruppe"), QStringList{"300"});
        QTest::mouseClick(f.find<QAbstractButton>("chkAlleFirmen"), Qt::LeftButton);
        QCOMPARE(f.items("cboFirmaFirma"),
                 (QStringList{"", "Hochbau Nord", "O'Neill & Co_%", "Ohne Gewerk"}));
    }

    // A first start: the window takes the width its lists need, here more than the screen offers, so 90 %
    // of it, centred; "Alle Firmen anzeigen" on, 33 kinds of payment. The geometry, the booking list's
    // widths and the check box come back after a close; a saved width below 9200 twips is raised to it;
    // a place off every screen comes back onto the screen.
    void windowSettings() {
        Fixture f;
        Workspace& w = f.open();
        QCOMPARE(w.focusWidget() ? w.focusWidget()->objectName() : QString(), "cboFirma");
        const QRect room = w.screen()->availableGeometry();
        QCOMPARE(w.size(), room.size() * 0.9);
        QCOMPARE(w.frameGeometry().center(), room.center());
        QVERIFY(f.find<QAbstractButton>("chkAlleFirmen")->isChecked());
        QCOMPARE(f.items("cboZahlungsart").size(), 33);
        QCOMPARE(f.items("cboZahlungsart").mid(0, 4),
                 (QStringList{"", "Schlußzahlung", "Rückhalt", "1. Abschlagszahlung"}));
        QCOMPARE(f.items("cboZahlungsart").last(), "30. Abschlagszahlung");
        QCOMPARE(f.screen->windowTitle(), "Zelvora");
        QCOMPARE(f.find<QTabWidget>("SSTab1")->tabText(1) + '|' + f.find<QTabWidget>("SSTab1")->tabText(2),
                 " Zelvora | Firma   ");

        const SettingKey<QString> widths{"frmAusgabe", "LvW1", {}};
        f.settings->setValue(widths, "001482002716");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "PFensterWidth", {}}, "8000");
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "check1", {}}, "0");
        f.settings->sync();
        f.screen.reset();
        f.open();
        QCOMPARE(f.screen->width(), Twips::toPixelsX(9200, *f.screen));
        QCOMPARE(f.list()->columnWidth(1), Twips::toPixelsX(2716, *f.screen));
        QCOMPARE(f.list()->columnWidth(2), Twips::toPixelsX(2717, *f.screen));
        QVERIFY(f.list()->isColumnHidden(11) && f.list()->isColumnHidden(12) && f.list()->isColumnHidden(13));
        QVERIFY(!f.find<QAbstractButton>("chkAlleFirmen")->isChecked());
        f.list()->setColumnWidth(0, Twips::toPixelsX(3000, *f.screen));
        f.screen->close();
        QCOMPARE(f.settings->value(widths).left(12), ColumnWidthsPrefix(3000, 2716));
        QCOMPARE(f.settings->value(widths).size(), 66);

        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "PFensterLeft", {}}, "900000");
        f.settings->sync();
        f.screen.reset();
        f.open();
        QVERIFY(f.screen->screen()->availableGeometry().contains(f.screen->frameGeometry().center()));
    }

    // Picking a company whose details are long leaves the window as it opened, at its smallest.
    void windowKeepsItsSizeWhenDetailsAppear() {
        Fixture f;
        f.settings->setValue(SettingKey<QString>{"frmAusgabe", "PFensterWidth", {}}, "9200");
        f.db.exec(
            "UPDATE tblFirma SET \"Straße\" = 'Lange Straße der Handwerker und Bauleute 123', "
            "Telefon2 = '0931-123456789', Mobil = '0171-123456789', Ansprechpartner = 'Frau Dr. Müller', "
            "eMail = 'buchhaltung.abteilung@hochbau-nord-und-sued-und-west.example.de'");
        Workspace& w = f.open();
        // A layout's request travels up from the entry tab to the window, one turn of events a step.
        const auto settled = [&w] {
            for (int turn = 0; turn < 5; ++turn)
                QCoreApplication::processEvents();
            return w.size();
        };
        const QSize opened = settled();
        f.chooseCompany("Hochbau Nord");
        QCOMPARE(settled(), opened);
    }

    // Printing and export are offered only outside the entry tab; "Beenden" ends, "Projektmanager"
    // returns.
    void buttonsAndClosing() {
        Fixture f;
        f.open();
        QSignalSpy prints(f.screen.get(), &Workspace::printRequested);
        QSignalSpy exports(f.screen.get(), &Workspace::exportRequested);
        QSignalSpy closings(f.screen.get(), &Workspace::closing);
        f.click("tbrDrucken");
        f.click("cmdExport");
        QCOMPARE(prints.count() + exports.count(), 0);
        f.showTab(Workspace::BookingsTabIndex);
        f.click("cmdDruckvorschau");
        f.click("tbrExport");
        QCOMPARE(prints.count() * 10 + exports.count(), 11);
        f.click("cmdProjektmanager");
        QCOMPARE(closings.count(), 1);
        QCOMPARE(closings.first().first().toBool(), false);
        f.open();
        QSignalSpy quits(f.screen.get(), &Workspace::closing);
        f.click("tbrBeenden");
        QCOMPARE(quits.count(), 1);
        QCOMPARE(quits.first().first().toBool(), true);
    }

    // The tabs feed the status bar and the report from the same bookings: the evaluation counts the first
    // company's bookings, the cost report's payments sum to the booking list's total.
    void tabsShareTheProjectsBookings() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                  "AnweisungVom, Betrag) "
                  "VALUES (1, '1', 'Schule', 'Hochbau Nord', 'Rohbau', '300', 45300, 100), "
                  "(2, '1', 'Schule', 'Hochbau Nord', 'Rohbau', '300', 45301, 0.5), "
                  "(3, '1', 'Schule', 'Zimmerei', 'Dach', '300', 45302, 7)");
        f.open();
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.status(), "Buchungen: 2");
        f.showTab(Workspace::CostReportTabIndex);
        QAbstractItemModel* report = f.find<QTreeView>("ListView4")->model();
        QCOMPARE(report->rowCount(), 3);
        QCOMPARE(report->index(2, 2).data().toString() + '|' + report->index(2, 8).data().toString(),
                 "Summen:|107,50");
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.total(), "107,50");
        QCOMPARE(f.screen->snapshot().value("Gesamtsumme"), "107,50");
        QCOMPARE(f.status(), "Buchungen: 3");
        // A return to the window refills the evaluation behind the booking list: the status bar keeps
        // the count of the list in view, on the entry tab too.
        f.activate();
        QCOMPARE(f.status(), "Buchungen: 3");
        f.showTab(Workspace::EvaluationTabIndex);
        QCOMPARE(f.status(), "Buchungen: 2");
        f.showTab(Workspace::EntryTabIndex);
        QCOMPARE(f.status(), "Buchungen: 3");
        f.activate();
        QCOMPARE(f.status(), "Buchungen: 3");
    }

    // The printed company and evaluation lists are headed by the seat of the company they are about,
    // whichever company was last picked on the entry tab; the booking list has no seat line.
    void snapshotsCarryTheSeatOfTheirCompany() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma) VALUES (1, '1', 'O''Neill & Co_%')");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.showTab(Workspace::CompanyTabIndex);
        f.find<QComboBox>("cboFirmaFirma")->setCurrentText("O'Neill & Co_%");
        f.showTab(Workspace::EvaluationTabIndex);
        f.click("optFirma");
        for (const int tab : {Workspace::CompanyTabIndex, Workspace::EvaluationTabIndex}) {
            f.showTab(tab);
            QCOMPARE(f.screen->snapshot().value("Sitz"), "Sitz: 40210 Düsseldorf");
        }
        f.showTab(Workspace::BookingsTabIndex);
        const ListSnapshot bookings = f.screen->snapshot();
        QVERIFY(std::none_of(bookings.values.begin(), bookings.values.end(),
                             [](const auto& value) { return value.first == "Sitz"; }));
    }

    // A return from another window (the print settings, the export screen) refills the evaluation but
    // keeps the filter, its value and the sort the user chose, so the next print shows the same rows.
    void returnKeepsTheEvaluationsChoice_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("picker");
        QTest::newRow("company") << "optFirma"
                                 << "cboAuswertungFirma";
        QTest::newRow("trade") << "optGewerk"
                               << "cboAuswertungGewerk";
        QTest::newRow("cost group") << "optKostengruppe"
                                    << "cboAuswertungKostengruppe";
        QTest::newRow("year") << "optJahr"
                              << "";
    }
    void returnKeepsTheEvaluationsChoice() {
        QFETCH(QString, option);
        QFETCH(QString, picker);
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Kostengruppe, AnweisungVom, Betrag) "
            "VALUES (1, '1', 'A', 'Dach', '300', 45292, 1), (2, '1', 'B', 'Elektro', '400', 45658, 2), "
            "(3, '1', 'B', 'Elektro', '400', 45659, 3)");
        f.open();
        f.showTab(Workspace::EvaluationTabIndex);
        if (picker.isEmpty()) {
            f.find<QDateEdit>("dtpJahr")->setDate(QDate(2025, 6, 1));
        } else {
            auto* box = f.find<QComboBox>(picker);
            box->setCurrentIndex(1);
            emit box->activated(1);
        }
        f.clickHeading(7, f.find<QTreeView>("ListView3"));
        const QList<QStringList> rows = f.screen->snapshot().rows;
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.first().at(7), "3,00");
        f.activate();
        QVERIFY(f.find<QAbstractButton>(option)->isChecked());
        QCOMPARE(f.screen->snapshot().rows, rows);
    }

    // An estimate row taken back on the company tab is left out of the cost report while it waits, and
    // closing answered No keeps it as it was.
    void waitingEstimateRowLeavesTheReport() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Betrag) "
                  "VALUES (1, '1', 'Schule', 'Hochbau Nord', 'Rohbau', 50)");
        f.db.exec(
            "INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragArt, NachtragDatum, ArchitektDatum, "
            "ArchitektKosten, NachtragKosten) VALUES (1, '1', 'Hochbau Nord', 'Auftrag vom', 45300, 45300, "
            "100, 80)");
        f.open();
        f.showTab(Workspace::CompanyTabIndex);
        auto* picker = f.find<QComboBox>("cboFirmaFirma");
        picker->setCurrentIndex(picker->findText("Hochbau Nord"));
        emit picker->activated(picker->currentIndex());
        auto* estimates = f.find<QTreeView>("ListView2");
        estimates->selectionModel()->setCurrentIndex(
            estimates->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragBearbeiten");
        f.showTab(Workspace::CostReportTabIndex);
        QAbstractItemModel* report = f.find<QTreeView>("ListView4")->model();
        QCOMPARE(report->index(0, 4).data().toString() + '|' + report->index(0, 5).data().toString(), " | ");
        f.dialogs.answers.enqueue(Dialogs::Answer::No);
        f.reopen();
        QCOMPARE(f.db.scalar("SELECT count(*) || NachtragKosten FROM tblNachtrag"), "180.0");
        f.showTab(Workspace::CostReportTabIndex);
        report = f.find<QTreeView>("ListView4")->model();
        QCOMPARE(report->index(0, 4).data().toString() + '|' + report->index(0, 5).data().toString(),
                 "100,00|80,00");
    }

    // Enter in a field of the entry, or on its "&Buchen", books: on the entry tab a booking, on the
    // company tab an estimate row. Enter in the search field books nothing.
    void enterBooks_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        const QString none = "0|0";
        for (const char* field : {"cboFirma", "dtpAnweisung", "dtpRechnung", "txtRechnungsNr",
                                  "cboZahlungsart", "txtBetrag", "txtBemerkungen", "cmdBuchen"})
            QTest::newRow(field) << int(Workspace::EntryTabIndex) << field << "1|0";
        QTest::newRow("txtSuchen") << int(Workspace::EntryTabIndex) << "txtSuchen" << none;
        for (const char* field : {"dtpArchitektDatum", "txtArchitektBetrag", "cboAuftragsart",
                                  "dtpAuftragDatum", "txtAuftragBetrag", "cmdNachtragBuchen"})
            QTest::newRow(field) << int(Workspace::CompanyTabIndex) << field << "0|1";
        QTest::newRow("ListView2") << int(Workspace::CompanyTabIndex) << "ListView2" << none;
    }
    void enterBooks() {
        QFETCH(int, tab);
        QFETCH(QString, field);
        QFETCH(QString, stored);
        Fixture f;
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        f.type("txtBetrag", "5");
        f.showTab(tab);
        f.type("txtAuftragBetrag", "7");
        QWidget* focused = f.find<QWidget>(field);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Return);
        QCOMPARE(f.db.scalar("SELECT (SELECT count(*) FROM tblBuchung) || '|' || "
                             "(SELECT count(*) FROM tblNachtrag)"),
                 stored);
    }

    // Leaving the workspace while a row taken back waits asks with "Abbrechen" too, which keeps the
    // workspace open and the row waiting.
    void leavingCanBeCancelled_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("booking") << "cmdBuchungBearbeiten";
        QTest::newRow("estimate row") << "cmdNachtragBearbeiten";
    }
    void leavingCanBeCancelled() {
        QFETCH(QString, button);
        Fixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Betrag) VALUES (1, '1', 'Hochbau Nord', "
            "'Rohbau', 5)");
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (1, '1', 'Hochbau "
                  "Nord', 8)");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.showTab(button == "cmdBuchungBearbeiten" ? Workspace::BookingsTabIndex
                                                   : Workspace::CompanyTabIndex);
        auto* list = f.find<QTreeView>(button == "cmdBuchungBearbeiten" ? "ListView1" : "ListView2");
        list->selectionModel()->setCurrentIndex(
            list->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click(button);
        QSignalSpy closings(f.screen.get(), &Workspace::closing);
        f.dialogs.answers.enqueue(Dialogs::Answer::Cancel);
        f.click("tbrBeenden");
        QCOMPARE(f.dialogs.shown.last().kind, ScriptedDialogs::Shown::Kind::AskWithCancel);
        QVERIFY(f.screen->isVisible());
        QCOMPARE(closings.count(), 0);
        QVERIFY(!f.find<QLabel>(button == "cmdBuchungBearbeiten" ? "lblBearbeitungsmodus"
                                                                 : "lblNachtragBearbeitungsmodus")
                     ->isHidden());
    }

    // A button that has nothing to act on says so in one sentence.
    void silentButtonsSaySo_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("said");
        const QString noBooking = "Bitte wählen Sie zuerst eine Buchung in der Liste.";
        const QString noRow = "Bitte wählen Sie zuerst einen Eintrag in der Liste.";
        const QString noReport =
            "Das Register „Eingabe“ hat keinen Bericht. Bitte wählen Sie das Register der "
            "Liste, die gedruckt werden soll.";
        QTest::newRow("Buchung bearbeiten")
            << int(Workspace::BookingsTabIndex) << "cmdBuchungBearbeiten" << noBooking;
        QTest::newRow("Buchung löschen")
            << int(Workspace::BookingsTabIndex) << "cmdBuchungLoeschen" << noBooking;
        QTest::newRow("Bearbeiten") << int(Workspace::CompanyTabIndex) << "cmdNachtragBearbeiten" << noRow;
        QTest::newRow("Löschen") << int(Workspace::CompanyTabIndex) << "cmdNachtragLoeschen" << noRow;
        QTest::newRow("Drucken") << int(Workspace::EntryTabIndex) << "tbrDrucken" << noReport;
        QTest::newRow("Druckvorschau") << int(Workspace::EntryTabIndex) << "cmdDruckvorschau" << noReport;
        QTest::newRow("Export")
            << int(Workspace::EntryTabIndex) << "tbrExport"
            << "Das Register „Eingabe“ hat keine Liste. Bitte wählen Sie das Register der "
               "Liste, die exportiert werden soll.";
    }
    void silentButtonsSaySo() {
        QFETCH(int, tab);
        QFETCH(QString, button);
        QFETCH(QString, said);
        Fixture f;
        f.open();
        f.showTab(tab);
        f.click(button);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.last().kind, ScriptedDialogs::Shown::Kind::Inform);
        QCOMPARE(f.dialogs.lastText(), said);
    }

    // Correcting a row whose stored date the field cannot show: the field is empty with a notice, and the
    // stored value is written back as it was unless the user sets a date.
    void unreadableDateIsKeptOnCorrection_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("notice");
        QTest::newRow("booking, text") << "cmdBuchungBearbeiten"
                                       << "dtpAnweisung"
                                       << "'abc'"
                                       << "Gespeichertes Datum nicht lesbar: abc";
        QTest::newRow("booking, year 5881510") << "cmdBuchungBearbeiten"
                                               << "dtpRechnung"
                                               << "2147483647"
                                               << "Gespeichertes Datum nicht lesbar: 2147483647";
        QTest::newRow("booking, empty") << "cmdBuchungBearbeiten"
                                        << "dtpRechnung"
                                        << "NULL"
                                        << "";
        QTest::newRow("estimate row, text") << "cmdNachtragBearbeiten"
                                            << "dtpArchitektDatum"
                                            << "'31.02.'"
                                            << "Gespeichertes Datum nicht lesbar: 31.02.";
        QTest::newRow("estimate row, year 5881510") << "cmdNachtragBearbeiten"
                                                    << "dtpAuftragDatum"
                                                    << "2147483647"
                                                    << "Gespeichertes Datum nicht lesbar: 2147483647";
    }
    void unreadableDateIsKeptOnCorrection() {
        QFETCH(QString, button);
        QFETCH(QString, field);
        QFETCH(QString, stored);
        QFETCH(QString, notice);
        const bool booking = button == "cmdBuchungBearbeiten";
        const QString table = booking ? "tblBuchung" : "tblNachtrag";
        const QString column = QMap<QString, QString>{
            {"dtpAnweisung", "AnweisungVom"},
            {"dtpRechnung", "RechnungVom"},
            {"dtpArchitektDatum", "ArchitektDatum"},
            {"dtpAuftragDatum",
             "NachtragDatum"}}.value(field);
        for (int round = 0; round < 2; ++round) {
            Fixture f;
            f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, AnweisungVom, RechnungVom, "
                      "Zahlungsart, "
                      "Betrag) VALUES (1, '1', 'Hochbau Nord', 'Rohbau', 45000, 45000, 'Rückhalt', 5)");
            f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektDatum, NachtragDatum, "
                      "NachtragKosten) "
                      "VALUES (1, '1', 'Hochbau Nord', 45000, 45000, 8)");
            f.db.exec(QStringLiteral("UPDATE %1 SET %2 = %3").arg(table, column, stored));
            const QString before = f.db.scalar(QStringLiteral("SELECT quote(%1) FROM %2").arg(column, table));
            f.open();
            f.chooseCompany("Hochbau Nord");
            f.showTab(booking ? Workspace::BookingsTabIndex : Workspace::CompanyTabIndex);
            auto* list = f.find<QTreeView>(booking ? "ListView1" : "ListView2");
            list->selectionModel()->setCurrentIndex(
                list->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
            f.click(button);
            auto* date = f.find<DateField>(field);
            QVERIFY(date->isEmpty());
            QCOMPARE(date->notice()->isHidden() ? QString() : date->notice()->text(), notice);
            if (round == 1)
                date->setDate(QDate(2024, 3, 15));
            f.click(booking ? "cmdBuchen" : "cmdNachtragBuchen");
            QCOMPARE(
                f.db.scalar(QStringLiteral("SELECT count(*) || ':' || quote(%1) FROM %2").arg(column, table)),
                "1:" + (round == 0 ? before : "45366"));
            QVERIFY(date->notice()->isHidden());
        }
    }

    // A foreign file: an amount in German notation counts, a project number with blanks around it is the
    // project's, and rows whose amount cannot be read are named once per project, listed with their
    // running numbers and stored texts, never silently left out of the sums.
    void foreignAmountsAreCountedOrNamed_data() {
        QTest::addColumn<QString>("projectId");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("listed");
        QTest::newRow("German notation") << "1" << QVariant("1.234,50") << "1.334,50"
                                         << ""
                                         << "";
        QTest::newRow("project number with blanks") << " 1 " << QVariant(5) << "105,00"
                                                    << ""
                                                    << "";
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
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, '1', 'A', 100), "
                  "(2, ?, 'B', ?)",
                  {projectId, stored});
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (1, ?, 'B', ?)",
                  {projectId, stored.typeId() == QMetaType::Double ? QVariant(7) : stored});
        f.open();
        f.activate();
        f.showTab(Workspace::BookingsTabIndex);
        QCOMPARE(f.column(0) + ' ' + f.total(), "001,002 " + total);
        auto* note = f.find<QPushButton>("cmdUnlesbareBetraege");
        QCOMPARE(note->isVisible(), !notice.isEmpty());
        QCOMPARE(note->text().left(notice.size()), notice);
        QCOMPARE(f.dialogs.shown.size(), notice.isEmpty() ? 0 : 1);
        if (notice.isEmpty())
            return;
        QVERIFY2(f.dialogs.lastText().contains(listed), qPrintable(f.dialogs.lastText()));
        f.click("cmdUnlesbareBetraege");
        QCOMPARE(f.dialogs.shown.size(), 2);
    }

    // The file deleted while the workspace is open: a booking is refused in plain words, keeping the
    // entry; each list keeps its rows and count marked as not current; the file put back, the same click
    // books and the lists are current again, without the project being opened anew.
    void listsKeepTheirRowsWhileTheFileIsGone_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("list");
        QTest::newRow("bookings") << int(Workspace::BookingsTabIndex) << "ListView1";
        QTest::newRow("estimates") << int(Workspace::CompanyTabIndex) << "ListView2";
        QTest::newRow("evaluation") << int(Workspace::EvaluationTabIndex) << "ListView3";
        QTest::newRow("cost report") << int(Workspace::CostReportTabIndex) << "ListView4";
    }
    void listsKeepTheirRowsWhileTheFileIsGone() {
        QFETCH(int, tab);
        QFETCH(QString, list);
        Fixture f;
        f.db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (1, '1', "
                  "'Hochbau Nord', 80)");
        f.open();
        f.book("Hochbau Nord", "Schlußzahlung", "100");
        f.showTab(tab);
        auto* view = qobject_cast<ReportListView*>(f.find<QTreeView>(list));
        const int rows = view->model()->rowCount();
        const QString status = f.status();
        QVERIFY(rows > 0 && !view->isOutdated());
        QFile file(f.db.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        file.close();
        QVERIFY(QFile::remove(f.db.path()));

        f.showTab(Workspace::EntryTabIndex);
        f.book("Hochbau Nord", "Schlußzahlung", "7");
        QVERIFY2(f.dialogs.lastText().contains("Die Datenbankdatei ist nicht mehr vorhanden"),
                 qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.find<QLineEdit>("txtBetrag")->text(), "7");
        f.showTab(Workspace::EntryTabIndex);
        f.showTab(tab);
        QCOMPARE(view->model()->rowCount(), rows);
        QCOMPARE(f.status(), status);
        QVERIFY(view->isOutdated() && view->findChild<QLabel*>("lblNichtAktuell")->isVisible());

        QVERIFY(TestDatabase::writeFile(f.db.path(), content));
        f.showTab(Workspace::EntryTabIndex);
        f.click("cmdBuchen");
        QCOMPARE(f.stored("Betrag"), "100.0,7.0");
        f.showTab(Workspace::EntryTabIndex);
        f.showTab(tab);
        QVERIFY(!view->isOutdated());
    }

    // A correction whose original another workstation deleted meanwhile: the user is told and asked, "Nein"
    // preselected, whether to book the entry as a new one; "Nein" keeps the entry and books nothing.
    void correctionOfAVanishedOriginal_data() {
        QTest::addColumn<bool>("estimate");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("booking, booked as new") << false << Dialogs::Answer::Yes << "1";
        QTest::newRow("booking kept in the entry") << false << Dialogs::Answer::No << "0";
        QTest::newRow("estimate row, booked as new") << true << Dialogs::Answer::Yes << "1";
        QTest::newRow("estimate row kept in the entry") << true << Dialogs::Answer::No << "0";
    }
    void correctionOfAVanishedOriginal() {
        QFETCH(bool, estimate);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QString, stored);
        Fixture f;
        const QString table = estimate ? "tblNachtrag" : "tblBuchung";
        f.db.exec("INSERT INTO " + table +
                  " (ProjektID, Firma, Gewerk) VALUES ('1', 'Hochbau Nord', 'Rohbau')");
        f.open();
        f.chooseCompany("Hochbau Nord");
        f.showTab(estimate ? Workspace::CompanyTabIndex : Workspace::BookingsTabIndex);
        auto* view = f.find<QTreeView>(estimate ? "ListView2" : "ListView1");
        view->selectionModel()->setCurrentIndex(
            view->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click(estimate ? "cmdNachtragBearbeiten" : "cmdBuchungBearbeiten");
        f.db.exec("DELETE FROM " + table);
        const QString amountField = estimate ? "txtAuftragBetrag" : "txtBetrag";
        f.type(amountField, "12");
        f.find<QComboBox>("cboZahlungsart")->setCurrentText("Rückhalt");
        f.dialogs.answers.enqueue(answer);
        f.click(estimate ? "cmdNachtragBuchen" : "cmdBuchen");
        QCOMPARE(f.dialogs.shown.last().title, "Original nicht mehr vorhanden");
        QCOMPARE(f.dialogs.shown.last().defaultButton, Dialogs::Answer::No);
        QCOMPARE(f.db.scalar("SELECT count(*) FROM " + table), stored);
        QCOMPARE(f.find<QLineEdit>(amountField)->text(), stored == "1" ? "" : "12");
    }

private:
    static QString ColumnWidthsPrefix(int first, int second) {
        return QStringLiteral("%1%2")
            .arg(first, 6, 10, QLatin1Char('0'))
            .arg(second, 6, 10, QLatin1Char('0'));
    }
};

QTEST_MAIN(WorkspaceTest)
#include "WorkspaceTest.moc"
