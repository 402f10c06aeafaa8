#include "CompanyTab.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "Twips.h"
#include "WorkspaceContext.h"

#include <memory>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// The company tab driven through its widgets: booking estimate rows with their running numbers, the
// list with its sums and order, taking a row back and booking it again, deleting, and what it refuses.
class CompanyTabTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestDatabase db;
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        Settings settings{dir.filePath("zlv.ini")};
        WorkspaceContext context{db.db(), dialogs, settings, "1", "Schule", std::nullopt, std::nullopt};
        CompanyTab tab{context};

        Fixture() {
            db.exec("INSERT INTO tblFirma (Name, GewerkID, KostengruppeID) VALUES "
                    "('Hochbau Nord', 'Rohbau', '300 Bauwerk'), ('Dach*', 'Dach', '360 Dächer'), "
                    "('Dachdecker Süd', 'Dach', '360 Dächer'), ('Ohne Gewerk', NULL, NULL)");
            tab.setCompanies({"", "Dach*", "Dachdecker Süd", "Hochbau Nord", "Ohne Gewerk"});
            tab.show();
        }
        template <typename T> T* find(const QString& name) const {
            T* widget = tab.findChild<T*>(name);
            if (!widget)
                qWarning("no widget %s", qPrintable(name));
            return widget;
        }
        void choose(const QString& company) {
            auto* picker = find<QComboBox>("cboFirmaFirma");
            const int index = picker->findText(company);
            QVERIFY(index >= 0);
            picker->setCurrentIndex(index);
            emit picker->activated(index);
            tab.List2Fuellen();
        }
        void type(const QString& field, const QString& text) {
            find<QLineEdit>(field)->clear();
            QTest::keyClicks(find<QLineEdit>(field), text);
        }
        void click(const QString& name) { QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton); }
        void book(const QString& kind, const QString& architect, const QString& order) {
            find<QComboBox>("cboAuftragsart")->setCurrentText(kind);
            type("txtArchitektBetrag", architect);
            type("txtAuftragBetrag", order);
            click("cmdNachtragBuchen");
        }
        QTreeView* list() { return find<QTreeView>("ListView2"); }
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
        void selectNumber(const QString& number) {
            QAbstractItemModel* model = list()->model();
            for (int row = 0; row < model->rowCount(); ++row)
                if (model->index(row, 0).data().toString() == number)
                    return selectRow(row);
            QFAIL("number not listed");
        }
        void clickHeading(int column) {
            QHeaderView* header = list()->header();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        }
        QString cell(int row, int column) { return list()->model()->index(row, column).data().toString(); }
        QString text(const QString& field) { return find<QLineEdit>(field)->text(); }
        QString sums() { return text("txtArchitektSumme") + '|' + text("txtAuftragSumme"); }
        QString stored(const QString& expression, const QString& where = "1") {
            return db.scalar(QStringLiteral("SELECT group_concat(%1, ',') FROM (SELECT * FROM tblNachtrag "
                                            "WHERE %2 ORDER BY rowid)")
                                 .arg(expression, where));
        }
        void insert(int nid, const QString& project, const QString& company, const QVariant& architectDate,
                    const QVariant& orderDate, const QString& kind = "Auftrag vom",
                    const QVariant& orderCost = 100) {
            db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, Gewerk, ArchitektDatum, "
                    "NachtragDatum, NachtragArt, NachtragKosten) VALUES (?, ?, 'Schule', ?, 'Rohbau', ?, ?, "
                    "?, ?)",
                    {nid, project, company, architectDate, orderDate, kind, orderCost});
        }
    };

private slots:
    void orderKindsAreOfferedWithTheEmptyOneChosen() {
        Fixture f;
        auto* kinds = f.find<QComboBox>("cboAuftragsart");
        QCOMPARE(kinds->currentText() + '|' + kinds->itemText(1) + '|' + kinds->itemText(2) + '|' +
                     kinds->itemText(31) + '|' + QString::number(kinds->count()),
                 "|Auftrag vom|1. Nachtr. Auftrag|30. Nachtr. Auftrag|32");
        QVERIFY(kinds->isEditable());
    }

    // The first row of a company gets 1, the next 2, whatever other companies of the project and the
    // same company in another project hold; a company named with a wildcard counts only its own rows.
    void numbersArePerProjectAndCompany() {
        Fixture f;
        f.insert(7, "1", "Dachdecker Süd", 45000, 45000);
        f.insert(4, "2", "Hochbau Nord", 45000, 45000);
        f.insert(5, "1", "Dach*", 45000, 45000);
        f.choose("Hochbau Nord");
        f.book("Auftrag vom", "10", "20");
        f.book("1. Nachtr. Auftrag", "", "5");
        QCOMPARE(f.stored("NID", "ProjektID = '1' AND Firma = 'Hochbau Nord'"), "1,2");
        QCOMPARE(f.column(0), "2,1");
        f.choose("Dachdecker Süd");
        f.book("Auftrag vom", "", "1");
        QCOMPARE(f.column(0), "8,7");
        f.choose("Dach*");
        f.book("Auftrag vom", "", "1");
        QCOMPARE(f.column(0), "6,5");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // A booked row keeps the tab's company details and the dates as day numbers; the amount fields are
    // emptied for the next entry while kind and dates stay. An empty amount is stored as null.
    void bookingStoresTheEntry() {
        Fixture f;
        f.context.projectName = "Neubau Schule";
        f.choose("Hochbau Nord");
        f.find<QDateEdit>("dtpArchitektDatum")->setDate(QDate(2023, 3, 1));
        f.find<QDateEdit>("dtpAuftragDatum")->setDate(QDate(2023, 4, 2));
        f.book("2. Nachtr. Auftrag", "1.234,5", "");
        QCOMPARE(
            f.stored("NID || '|' || ProjektID || '|' || Projekt || '|' || Firma || '|' || Gewerk || '|' || "
                     "Kostengruppe || '|' || ArchitektDatum || '|' || NachtragDatum || '|' || NachtragArt || "
                     "'|' || ArchitektKosten || '|' || ifnull(NachtragKosten, 'null')"),
            "1|1|Neubau Schule|Hochbau Nord|Rohbau|300 Bauwerk|44986|45018|2. Nachtr. Auftrag|1234.5|null");
        QCOMPARE(f.text("txtArchitektBetrag") + f.text("txtAuftragBetrag"), QString());
        QCOMPARE(f.find<QComboBox>("cboAuftragsart")->currentText(), "2. Nachtr. Auftrag");
        QCOMPARE(f.find<QDateEdit>("dtpAuftragDatum")->date(), QDate(2023, 4, 2));
        QCOMPARE(f.column(1) + '|' + f.column(2) + '|' + f.column(4) + '|' + f.column(5) + '|' + f.column(6) +
                     '|' + f.column(8) + '|' + f.column(9),
                 "01.03.2023|1.234,50|02.04.2023| 2. Nachtr. Auftrag||44986|45018");
        QCOMPARE(f.sums(), "1.234,50|0,00");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void sumsAreAddedInCents() {
        Fixture f;
        f.choose("Hochbau Nord");
        for (const QString amount : {"0,1", "0,2", "0,5", "100"})
            f.book("Auftrag vom", amount, amount);
        // A foreign value in the file adds nothing.
        f.insert(9, "1", "Hochbau Nord", 44000, 44000, "Auftrag vom", "zehn");
        f.tab.List2Fuellen();
        QCOMPARE(f.cell(0, 0) + '|' + f.cell(0, 6), "9|");
        QCOMPARE(f.sums(), "100,80|100,80");
        QCOMPARE(f.tab.sums().order.cents(), 10080);
    }

    // What "&Buchen" refuses, each with its German message, storing nothing and keeping every field.
    void incompleteEntryIsRefused_data() {
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("architect");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("detail");
        const QString noTrade = "eine Firma, bei der ein Gewerk eingetragen ist";
        QTest::newRow("no company") << QString() << "5"
                                    << "5" << noTrade;
        QTest::newRow("no trade") << "Ohne Gewerk"
                                  << "5"
                                  << "5" << noTrade;
        QTest::newRow("partial architect amount") << "Hochbau Nord"
                                                  << "-"
                                                  << "5"
                                                  << "Der Betrag \"-\" ist keine vollständige Zahl";
        QTest::newRow("partial order amount") << "Hochbau Nord" << QString() << ","
                                              << "Der Betrag \",\" ist keine vollständige Zahl";
    }
    void incompleteEntryIsRefused() {
        QFETCH(QString, company);
        QFETCH(QString, architect);
        QFETCH(QString, order);
        QFETCH(QString, detail);
        Fixture f;
        f.choose(company);
        f.book("Auftrag vom", architect, order);
        QCOMPARE(f.db.scalar("SELECT count(*) FROM tblNachtrag"), "0");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, "Buchung abgebrochen");
        QVERIFY2(f.dialogs.lastText().contains(detail), qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.text("txtArchitektBetrag") + '|' + f.text("txtAuftragBetrag"), architect + '|' + order);
    }

    // "Be&arbeiten" on the main order: the row waits in the file, left out of the list and sums, and
    // "&Buchen" stores it again as "Auftrag vom", without the list's leading blank, in its place.
    void mainOrderTakenBackIsStoredBackWithoutLeadingBlank() {
        Fixture f;
        f.choose("Hochbau Nord");
        f.book("Auftrag vom", "50", "1.000");
        f.book("1. Nachtr. Auftrag", "", "20");
        f.selectNumber("1");
        QCOMPARE(f.column(5).split(',').last(), " Auftrag vom");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragBearbeiten");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, "Buchung bearbeiten oder ändern");
        QCOMPARE(f.dialogs.shown.first().text, "Buchung Nr. '1' bearbeiten?          ");
        QCOMPARE(f.dialogs.shown.first().icon, Dialogs::Icon::Question);
        QVERIFY(f.find<QLabel>("lblNachtragBearbeitungsmodus")->isVisible());
        QVERIFY(f.tab.hasWaitingRow());
        QCOMPARE(f.find<QComboBox>("cboAuftragsart")->currentText(), "Auftrag vom");
        QCOMPARE(f.text("txtArchitektBetrag") + '|' + f.text("txtAuftragBetrag"), "50,00|1.000,00");
        QCOMPARE(f.column(0), "2");
        QCOMPARE(f.sums(), "0,00|20,00");
        QCOMPARE(f.db.scalar("SELECT count(*) FROM tblNachtrag"), "2");

        f.click("cmdNachtragBuchen");
        QCOMPARE(f.stored("NachtragArt || ':' || NachtragKosten"),
                 "1. Nachtr. Auftrag:20.0,Auftrag vom:1000.0");
        QVERIFY(!f.find<QLabel>("lblNachtragBearbeitungsmodus")->isVisible());
        QVERIFY(!f.tab.hasWaitingRow());
        QCOMPARE(f.column(0), "3,2");
    }

    // Two rows share number and dates but one has no dates: the selected one is taken back and, booked
    // again, replaces exactly that row.
    void rowWithEmptyDateIsTakenBackAndReplacedOnce() {
        Fixture f;
        f.insert(1, "1", "Hochbau Nord", 44000, 44000, "Auftrag vom", 10);
        f.insert(1, "1", "Hochbau Nord", QVariant(), QVariant(), "1. Nachtr. Auftrag", 20);
        f.choose("Hochbau Nord");
        QCOMPARE(f.column(1), "18.06.2020,");
        f.selectRow(1);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragBearbeiten");
        QCOMPARE(f.column(5), " Auftrag vom");
        f.find<QDateEdit>("dtpArchitektDatum")->setDate(QDate(2023, 3, 1));
        f.click("cmdNachtragBuchen");
        QCOMPARE(f.stored("NID || ':' || NachtragArt || ':' || ifnull(ArchitektDatum, '-')"),
                 "1:Auftrag vom:44000,2:1. Nachtr. Auftrag:44986");
    }

    // Deleting the row without dates removes it alone, not its namesake with dates.
    void rowWithEmptyDateIsDeletedExactlyOnce() {
        Fixture f;
        f.insert(1, "1", "Hochbau Nord", 44000, 44000, "Auftrag vom", 10);
        f.insert(1, "1", "Hochbau Nord", QVariant(), QVariant(), "1. Nachtr. Auftrag", 20);
        f.insert(1, "1", "Hochbau Nord", QVariant(), QVariant(), "2. Nachtr. Auftrag", 30);
        f.choose("Hochbau Nord");
        f.selectRow(1);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragLoeschen");
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, "Buchung löschen");
        QCOMPARE(f.dialogs.shown.first().text, "Buchung Nr. '1' löschen?          ");
        QCOMPARE(f.dialogs.shown.first().defaultButton, Dialogs::Answer::No);
        QCOMPARE(f.stored("NachtragArt"), "Auftrag vom,2. Nachtr. Auftrag");
        QCOMPARE(f.sums(), "0,00|40,00");
    }

    void answeredNoChangesNothing_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("take back") << "cmdNachtragBearbeiten";
        QTest::newRow("delete") << "cmdNachtragLoeschen";
    }
    void answeredNoChangesNothing() {
        QFETCH(QString, button);
        Fixture f;
        f.choose("Hochbau Nord");
        f.book("Auftrag vom", "", "1");
        f.selectRow(0);
        QSignalSpy changed(&f.tab, &CompanyTab::estimatesChanged);
        f.click(button);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.stored("NachtragKosten") + '|' + f.column(0) + '|' + f.text("txtAuftragBetrag"), "1.0|1|");
        QVERIFY(!f.tab.hasWaitingRow() && !f.find<QLabel>("lblNachtragBearbeitungsmodus")->isVisible());
        QCOMPARE(changed.count(), 0);
    }

    void deleteRemovesTheRowAndEmptiesTheSums() {
        Fixture f;
        f.choose("Hochbau Nord");
        f.book("Auftrag vom", "", "1");
        f.selectRow(0);
        QSignalSpy changed(&f.tab, &CompanyTab::estimatesChanged);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragLoeschen");
        QCOMPARE(f.db.scalar("SELECT count(*) FROM tblNachtrag"), "0");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(f.column(0) + '|' + f.sums(), "||");
    }

    // A company without rows shows empty sums, while "Gesamtmaßnahme" keeps the project's total.
    void companyWithoutRowsHasEmptySums() {
        Fixture f;
        f.tab.setProjectTotal(Money::fromCents(123450));
        f.insert(1, "1", "Hochbau Nord", 44000, 44000, "Auftrag vom", 10);
        f.choose("Hochbau Nord");
        QCOMPARE(f.sums(), "0,00|10,00");
        f.choose("Dachdecker Süd");
        QCOMPARE(f.column(0), QString());
        QCOMPARE(f.sums(), "|");
        QCOMPARE(f.text("txtGesamtmassnahme"), "1.234,50");
        QCOMPARE(f.text("txtFirmaGewerk") + '|' + f.text("txtFirmaKostengruppe"), "Dach|360 Dächer");
    }

    // A date heading sorts by the hidden day number, not by the shown text.
    void dateHeadingSortsByDayNumber_data() {
        QTest::addColumn<int>("heading");
        QTest::newRow("architect date") << 1;
        QTest::newRow("order date") << 4;
    }
    void dateHeadingSortsByDayNumber() {
        QFETCH(int, heading);
        Fixture f;
        f.insert(1, "1", "Hochbau Nord", 44228, 44228);
        f.insert(2, "1", "Hochbau Nord", 44198, 44198);
        f.choose("Hochbau Nord");
        f.clickHeading(heading);
        QCOMPARE(f.column(heading), "02.01.2021,01.02.2021");
        f.clickHeading(heading);
        QCOMPARE(f.column(heading), "01.02.2021,02.01.2021");
    }

    // Taking back a second row while one waits asks first: No leaves the first row as it was.
    void takingBackAnotherRowAsksAboutTheWaitingOne_data() {
        QTest::addColumn<bool>("bookFirst");
        QTest::addColumn<QString>("stored");
        QTest::newRow("No keeps the row") << false << "Auftrag vom:1000.0,1. Nachtr. Auftrag:20.0";
        QTest::newRow("Yes books it") << true << "1. Nachtr. Auftrag:20.0,Auftrag vom:1.5";
    }
    void takingBackAnotherRowAsksAboutTheWaitingOne() {
        QFETCH(bool, bookFirst);
        QFETCH(QString, stored);
        Fixture f;
        f.choose("Hochbau Nord");
        f.book("Auftrag vom", "", "1.000");
        f.book("1. Nachtr. Auftrag", "", "20");
        f.selectNumber("1");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragBearbeiten");
        f.type("txtAuftragBetrag", "1,5");
        f.selectNumber("2");
        f.dialogs.answers.enqueue(bookFirst ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragBearbeiten");
        QCOMPARE(f.dialogs.shown.size(), 3);
        QCOMPARE(f.dialogs.shown.at(1).title, "Buchung bearbeiten oder ändern");
        QVERIFY(f.dialogs.shown.at(1).text.contains("jetzt gebucht werden?"));
        QCOMPARE(f.dialogs.shown.at(2).text, "Buchung Nr. '2' bearbeiten?          ");
        QCOMPARE(f.stored("NachtragArt || ':' || NachtragKosten"), stored);
        QVERIFY(f.tab.hasWaitingRow());
        QCOMPARE(f.column(5), " Auftrag vom");
        QCOMPARE(f.text("txtAuftragBetrag"), "20,00");
    }

    // The question asked when the workspace closes while a row waits.
    void closeQuestionBooksOrKeepsTheWaitingRow_data() {
        QTest::addColumn<bool>("book");
        QTest::addColumn<QString>("stored");
        QTest::newRow("No keeps the row") << false << "1:1000.0";
        QTest::newRow("Yes books the correction") << true << "1:3.0";
    }
    void closeQuestionBooksOrKeepsTheWaitingRow() {
        QFETCH(bool, book);
        QFETCH(QString, stored);
        Fixture f;
        f.choose("Hochbau Nord");
        f.book("Auftrag vom", "", "1.000");
        f.selectRow(0);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragBearbeiten");
        f.type("txtAuftragBetrag", "3");
        f.dialogs.answers.enqueue(book ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        QVERIFY(f.tab.settleWaitingRow());
        QCOMPARE(f.dialogs.shown.last().title, "Buchung bearbeiten oder ändern");
        QVERIFY(!f.tab.hasWaitingRow());
        QCOMPARE(f.stored("NID || ':' || NachtragKosten"), stored);
        QCOMPARE(f.column(0) + '|' + f.sums(), "1|0,00|" + QString(book ? "3,00" : "1.000,00"));
        QVERIFY(f.tab.settleWaitingRow());
        QCOMPARE(f.dialogs.shown.size(), 2);
    }

    // Refilling the picker while a row waits keeps its company, and with it the trade "&Buchen" needs.
    void waitingRowKeepsItsCompanyWhenThePickerIsRefilled() {
        Fixture f;
        f.choose("Hochbau Nord");
        f.book("Auftrag vom", "", "1.000");
        f.tab.setCompanies({"", "Hochbau Nord"});
        QCOMPARE(f.tab.company(), QString());
        f.choose("Hochbau Nord");
        f.selectRow(0);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragBearbeiten");
        f.tab.setCompanies({"", "Dachdecker Süd", "Hochbau Nord"});
        QCOMPARE(f.tab.company() + '|' + f.text("txtFirmaGewerk"), "Hochbau Nord|Rohbau");
        f.click("cmdNachtragBuchen");
        QCOMPARE(f.stored("Firma || ':' || NachtragKosten"), "Hochbau Nord:1000.0");
        QVERIFY(!f.tab.hasWaitingRow());
    }

    // A write the file refuses shows a German message, keeps the entry and the row that waits.
    void failedWriteKeepsEntryAndWaitingRow() {
        Fixture f;
        f.choose("Hochbau Nord");
        f.book("Auftrag vom", "", "1.000");
        f.selectRow(0);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click("cmdNachtragBearbeiten");
        f.db.exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON tblNachtrag BEGIN SELECT RAISE(ABORT, 'voll'); END");
        f.type("txtAuftragBetrag", "2");
        f.click("cmdNachtragBuchen");
        QCOMPARE(f.dialogs.shown.last().title, "Buchung nicht gespeichert");
        QCOMPARE(f.stored("NachtragKosten"), "1000.0");
        QVERIFY(f.tab.hasWaitingRow());
        QVERIFY(f.find<QLabel>("lblNachtragBearbeitungsmodus")->isVisible());
        QCOMPARE(f.text("txtAuftragBetrag"), "2");
        QCOMPARE(f.column(0), QString());
    }

    void snapshotHoldsTheListAsShown() {
        Fixture f;
        f.tab.setProjectTotal(Money::fromCents(99));
        f.insert(1, "1", "Hochbau Nord", 44000, QVariant(), "Auftrag vom", 10);
        f.choose("Hochbau Nord");
        const ListSnapshot snapshot = f.tab.snapshot();
        QCOMPARE(snapshot.kind, ListSnapshot::Kind::CompanyEstimates);
        QCOMPARE(snapshot.headings, (QStringList{"LfdNr.", "Architekt Datum", "Architekt Betrag", "",
                                                 "Auträge Datum", "Aufträge Art", "Aufträge Betrag"}));
        QCOMPARE(snapshot.rows,
                 (QList<QStringList>{{"1", "18.06.2020", "", "", "", " Auftrag vom", "10,00"}}));
        QCOMPARE(snapshot.rightAligned, (QList<int>{2, 6}));
        QCOMPARE(snapshot.value("Projekt") + '|' + snapshot.value("Gesamtsumme") + '|' +
                     snapshot.value("Firma") + '|' + snapshot.value("Gewerk") + '|' +
                     snapshot.value("Kostengruppe") + '|' +
                     snapshot.value("Summe Kostenberechnung Architekt") + '|' +
                     snapshot.value("Summe Aufträge, Kostenanschläge"),
                 "Schule|0,99|Hochbau Nord|Rohbau|300 Bauwerk|0,00|10,00");
    }

    void storedColumnWidthsAreShownAndTheRestKeepTheirDesign() {
        Fixture f;
        f.tab.setColumnWidthsInTwips({1482, 2716});
        QCOMPARE(f.tab.columnWidthsInTwips(3), (QList<int>{1482, 2716, 2540}));
        QCOMPARE(f.list()->columnWidth(0), Twips::toPixelsX(1482, *f.list()));
        QVERIFY(f.list()->isColumnHidden(8) && f.list()->isColumnHidden(9) && !f.list()->isColumnHidden(7));
    }

    // Every entry field is named by its label for screen readers; the sum fields by their frame.
    void fieldsHaveAccessibleNames() {
        Fixture f;
        QCOMPARE(f.find<QWidget>("txtArchitektSumme")->accessibleName(), "Summe Kostenberechnung Architekt");
        QCOMPARE(f.find<QWidget>("txtAuftragSumme")->accessibleName(), "Summe Aufträge, Kostenanschläge");
        for (const QString name : {"dtpArchitektDatum", "txtArchitektBetrag", "cboAuftragsart",
                                   "dtpAuftragDatum", "txtAuftragBetrag", "txtGesamtmassnahme"}) {
            bool labelled = false;
            for (const QLabel* label : f.tab.findChildren<QLabel*>())
                labelled = labelled || label->buddy() == f.find<QWidget>(name);
            QVERIFY2(labelled, qPrintable(name));
        }
    }
};

QTEST_MAIN(CompanyTabTest)
#include "CompanyTabTest.moc"
