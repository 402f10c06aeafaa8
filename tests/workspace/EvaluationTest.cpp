#include "BookingRepository.h"
#include "EvaluationListModel.h"
#include "EvaluationTab.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "Twips.h"
#include "Workspace.h"
#include "WorkspaceContext.h"
#include "WorkspaceFixture.h"

#include <memory>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

// The tab "Auswertung / Filter" driven through its widgets: the four criteria and their pickers, the
// list with its count, partial sum and sorting, and what it hands over for print and export.
class EvaluationTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestDatabase db;
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        Settings settings{dir.filePath("zlv.ini")};
        std::unique_ptr<WorkspaceContext> context;
        std::unique_ptr<EvaluationTab> tab;
        std::unique_ptr<QSignalSpy> counts;

        // The tab of project 1 "Schule", its pickers filled from the project's bookings as the
        // workspace fills them.
        EvaluationTab& open() {
            context.reset(
                new WorkspaceContext{db.db(), dialogs, settings, "1", "Schule", std::nullopt, std::nullopt});
            tab = std::make_unique<EvaluationTab>(*context);
            counts = std::make_unique<QSignalSpy>(tab.get(), &EvaluationTab::counted);
            BookingRepository bookings(db.db());
            tab->setCompanies(bookings.distinctValues(BookingRepository::Field::Company, "1"));
            tab->setTrades(bookings.distinctValues(BookingRepository::Field::Trade, "1"));
            tab->setCostGroups(bookings.distinctValues(BookingRepository::Field::CostGroup, "1"));
            tab->show();
            return *tab;
        }
        template <typename T> T* find(const QString& name) const {
            T* widget = tab->findChild<T*>(name);
            if (!widget)
                qWarning("no widget %s", qPrintable(name));
            return widget;
        }
        // Clicks near the left edge, where an option's circle is, whatever width the layout gives it.
        void click(const QString& name) {
            QAbstractButton* button = find<QAbstractButton>(name);
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        }
        QTreeView* list() const { return find<QTreeView>("ListView3"); }
        // A column of the list as shown, joined by commas.
        QString column(int column) const {
            QAbstractItemModel* model = list()->model();
            QStringList texts;
            for (int row = 0; row < model->rowCount(); ++row)
                texts.append(model->index(row, column).data().toString());
            return texts.join(',');
        }
        void clickHeading(int column) {
            QHeaderView* header = list()->header();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        }
        QString sum() const { return find<QLineEdit>("txtTeilsumme")->text(); }
        int lastCount() const { return counts->isEmpty() ? -1 : counts->constLast().first().toInt(); }
        QString checkedOption() const {
            for (const char* name : {"optFirma", "optGewerk", "optKostengruppe", "optJahr"})
                if (find<QRadioButton>(name)->isChecked())
                    return name;
            return {};
        }
    };

private slots:
    // The year picker shows only the year and takes its whole calendar year, both ends included;
    // changing it selects "Jahr der Anweisung".
    void yearTakesTheWholeCalendarYear_data() {
        QTest::addColumn<double>("day");
        QTest::addColumn<bool>("included");
        QTest::newRow("31.12.2023") << 45291.0 << false;
        QTest::newRow("01.01.2024") << 45292.0 << true;
        QTest::newRow("31.12.2024") << 45657.0 << true;
        QTest::newRow("01.01.2025") << 45658.0 << false;
        // A day stored with its time of day belongs to that day.
        QTest::newRow("31.12.2023 18:00") << 45291.75 << false;
        QTest::newRow("31.12.2024 18:00") << 45657.75 << true;
    }
    void yearTakesTheWholeCalendarYear() {
        QFETCH(double, day);
        QFETCH(bool, included);
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom, Betrag) VALUES "
                  "(1, '1', 'A', ?, 10), (2, '1', 'B', 45400, 1)",
                  {day});
        f.open().selectFilter(EvaluationTab::Filter::Company);
        auto* year = f.find<QDateEdit>("dtpJahr");
        year->setDate(QDate(2023, 6, 15));
        QCOMPARE(year->text(), "2023");
        QCOMPARE(f.checkedOption(), "optJahr");
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Up);
        QCOMPARE(year->text(), "2024");
        QCOMPARE(f.column(0), included ? "001,002" : "002");
        QCOMPARE(f.sum(), included ? "11,00" : "1,00");
        QCOMPARE(f.lastCount(), included ? 2 : 1);
        QCOMPARE(f.tab->snapshot().value("Jahr der Anweisung"), "2024");
    }

    // Running numbers at least three digits wide, in that order, whatever order the file gives them.
    void runningNumbersShowPaddedInOrder() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom) VALUES "
                  "(105, '1', 'A', 45300), (7, '1', 'A', 45400), (12, '1', 'A', 45500)");
        f.open().selectFilter(EvaluationTab::Filter::Company);
        QCOMPARE(f.column(0), "007,012,105");
        f.find<QDateEdit>("dtpJahr")->setDate(QDate(2024, 1, 1));
        QCOMPARE(f.column(0), "007,012,105");
    }

    // A booking without an amount, or with one that is no number, is listed and counted and adds
    // nothing; the others are added in whole cents.
    void bookingWithoutAmountAddsNothing() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES "
                  "(1, '1', 'A', NULL), (2, '1', 'A', 0.1), (3, '1', 'A', 'zehn'), (4, '1', 'A', 0.2), "
                  "(5, '1', 'A', '')");
        f.open().selectFilter(EvaluationTab::Filter::Company);
        QCOMPARE(f.column(0), "001,002,003,004,005");
        QCOMPARE(f.column(7), ",0,10,,0,20,");
        QCOMPARE(f.sum(), "0,30");
        QCOMPARE(f.lastCount(), 5);
        QCOMPARE(f.tab->partialSum().cents(), 30);
    }

    // Choosing an entry of a picker by keyboard selects its option, and only that criterion applies.
    void choosingAnEntrySelectsItsOption_data() {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("rows");
        QTest::newRow("trade") << "cboAuswertungGewerk"
                               << "optGewerk"
                               << "003";
        QTest::newRow("cost group") << "cboAuswertungKostengruppe"
                                    << "optKostengruppe"
                                    << "002";
        QTest::newRow("company") << "cboAuswertungFirma"
                                 << "optFirma"
                                 << "002,003";
    }
    void choosingAnEntrySelectsItsOption() {
        QFETCH(QString, picker);
        QFETCH(QString, option);
        QFETCH(QString, rows);
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Kostengruppe, AnweisungVom) VALUES "
                  "(1, '1', 'Aal', 'Dach', '300', 45300), (2, '1', 'Bau', 'Dach', '400', 45300), "
                  "(3, '1', 'Bau', 'Elektro', '300', 45300)");
        f.open().selectFilter(EvaluationTab::Filter::Company);
        QCOMPARE(f.column(0), "001");
        f.click("optJahr");
        QCOMPARE(f.checkedOption(), "optJahr");
        auto* box = f.find<QComboBox>(picker);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(f.checkedOption(), option);
        QCOMPARE(f.column(0), rows);
    }

    // The criterion of a picker compares for equality ignoring case: "*" and "?" are themselves, and
    // another project's bookings of the same name stay out.
    void namesMatchOnlyThemselves() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk) VALUES "
                  "(1, '1', 'Schule', 'Ärzte*', 'x'), (2, '1', 'Schule', 'ÄRZTE*', 'x'), "
                  "(3, '1', 'Schule', 'Ärzte?', 'x'), (4, '1', 'Schule', 'Ärztehaus', 'x'), "
                  "(5, '2', 'Schule', 'Ärzte*', 'x')");
        EvaluationTab& tab = f.open();
        QVERIFY(tab.chooseCompany("Ärzte*"));
        tab.selectFilter(EvaluationTab::Filter::Company);
        QCOMPARE(f.column(0), "001,002");
        QVERIFY(tab.chooseCompany("Ärzte?"));
        f.click("cmdAuswertungAktualisieren");
        QCOMPARE(f.column(0), "003");
    }

    // A booking that waits taken back is neither listed nor added until it is booked again.
    void waitingBookingIsLeftOut() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES "
                  "(1, '1', 'A', 10), (2, '1', 'A', 5)");
        f.open().selectFilter(EvaluationTab::Filter::Company);
        f.context->waitingBookingId = f.db.scalar("SELECT ID FROM tblBuchung WHERE PID = 1").toLongLong();
        f.click("cmdAuswertungAktualisieren");
        QCOMPARE(f.column(0) + '|' + f.sum(), "002|5,00");
        QCOMPARE(f.lastCount(), 1);
        f.context->waitingBookingId.reset();
        f.click("cmdAuswertungAktualisieren");
        QCOMPARE(f.column(0) + '|' + f.sum(), "001,002|15,00");
    }

    // Before any option is chosen nothing is listed, whatever the pickers show.
    void noOptionListsNothing() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, '1', 'A', 10)");
        f.open();
        QCOMPARE(f.checkedOption(), QString());
        f.click("cmdAuswertungAktualisieren");
        QCOMPARE(f.column(0) + '|' + f.sum(), "|0,00");
        QCOMPARE(f.lastCount(), 0);
        f.click("optFirma");
        QCOMPARE(f.column(0) + '|' + f.sum(), "001|10,00");
    }

    // The arrow keys move among the options, and each option reached rebuilds the list.
    void optionsFollowTheArrowKeys() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk) VALUES "
                  "(1, '1', 'Aal', 'Dach'), (2, '1', 'Bau', 'Dach')");
        f.open().selectFilter(EvaluationTab::Filter::Company);
        QCOMPARE(f.column(0), "001");
        f.tab->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.tab.get()));
        auto* byCompany = f.find<QRadioButton>("optFirma");
        byCompany->setFocus();
        QTest::keyClick(byCompany, Qt::Key_Down);
        QCOMPARE(f.checkedOption(), "optGewerk");
        QCOMPARE(f.column(0), "001,002");
    }

    // A project without bookings: empty pickers and list, zero counted and 0,00.
    void projectWithoutBookings() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, '2', 'A', 10)");
        EvaluationTab& tab = f.open();
        QVERIFY(tab.companies().isEmpty() && tab.trades().isEmpty() && tab.costGroups().isEmpty());
        for (const auto filter : {EvaluationTab::Filter::Company, EvaluationTab::Filter::Trade,
                                  EvaluationTab::Filter::CostGroup, EvaluationTab::Filter::Year}) {
            tab.selectFilter(filter);
            QCOMPARE(f.column(0) + '|' + f.sum(), "|0,00");
            QCOMPARE(f.lastCount(), 0);
        }
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // Headings, the design widths and the two hidden day-number columns.
    void columns() {
        Fixture f;
        f.open();
        QList<bool> hidden;
        for (int column = 0; column < EvaluationListModel::kColumnCount; ++column)
            hidden.append(f.list()->isColumnHidden(column));
        QCOMPARE(hidden,
                 (QList<bool>{false, false, false, false, false, false, false, false, false, true, true}));
        f.tab->setColumnWidthsInTwips({2000});
        QCOMPARE(f.list()->columnWidth(0), Twips::toPixelsX(2000, *f.list()));
        QCOMPARE(f.tab->columnWidthsInTwips(2), (QList<int>{2000, 3246}));
        QCOMPARE(f.find<QLineEdit>("txtTeilsumme")->accessibleName(), "Teilsumme");
    }

    // Dates sort by their hidden day numbers, an empty one first; amounts by value; one direction
    // shared by every column and reversed by each click; the empty column sorts by the column before;
    // each rebuild starts ascending by running number.
    void headingsSort() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom, RechnungVom, Betrag) VALUES "
                  "(1, '1', 'A', 45292, 45292, 9), (2, '1', 'A', 38353, NULL, 10), "
                  "(3, '1', 'A', 45000, 45000, 100)");
        f.open().selectFilter(EvaluationTab::Filter::Company);
        QCOMPARE(f.column(0), "001,002,003");
        f.clickHeading(3);
        QCOMPARE(f.column(3), "01.01.2024,15.03.2023,01.01.2005");
        f.clickHeading(3);
        QCOMPARE(f.column(3), "01.01.2005,15.03.2023,01.01.2024");
        f.clickHeading(8);
        QCOMPARE(f.column(0), "001,003,002");
        f.clickHeading(4);
        QCOMPARE(f.column(0), "002,003,001");
        f.clickHeading(7);
        QCOMPARE(f.column(7), "100,00,10,00,9,00");
        f.click("cmdAuswertungAktualisieren");
        QCOMPARE(f.column(0), "001,002,003");
        f.clickHeading(0);
        QCOMPARE(f.column(0), "003,002,001");
    }

    // What print and export receive: the shown columns' headings and the rows as displayed, the amount
    // right-aligned, the project, the partial sum and the criterion (a company with its seat, empty for one
    // the register does not hold).
    void snapshotHoldsTheListAsShown() {
        Fixture f;
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, Kostengruppe, AnweisungVom, "
                  "RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) VALUES "
                  "(1, '1', 'Aal', 'Dach', '300 Bauwerk', 45300, NULL, 'R1', 'Rückhalt', 'geheim', 1234.5), "
                  "(2, '1', 'Aal', 'Dach', '400 Technik', 45292, 45290, 'R2', 'Schlußzahlung', '', 0.5)");
        EvaluationTab& tab = f.open();
        tab.selectFilter(EvaluationTab::Filter::Company);
        f.clickHeading(0);
        ListSnapshot snapshot = tab.snapshot();
        QCOMPARE(snapshot.kind, ListSnapshot::Kind::Evaluation);
        QCOMPARE(snapshot.headings, (QStringList{"LfdNr.", "Firma", "Gewerk", "Anweisung vom", "Rechnung vom",
                                                 "Zahlungsart", "Kostengruppe", "Angew. Betrag"}));
        QCOMPARE(snapshot.rows, (QList<QStringList>{{"002", "Aal", "Dach", "01.01.2024", "30.12.2023",
                                                     "Schlußzahlung", "400 Technik", "0,50"},
                                                    {"001", "Aal", "Dach", "09.01.2024", "", "Rückhalt",
                                                     "300 Bauwerk", "1.234,50"}}));
        QCOMPARE(snapshot.rightAligned, QList<int>{7});
        QCOMPARE(snapshot.values,
                 (QList<QPair<QString, QString>>{
                     {"Projekt", "Schule"}, {"Teilsumme", "1.235,00"}, {"Firma", "Aal"}, {"Sitz", ""}}));
        tab.selectFilter(EvaluationTab::Filter::Trade);
        QCOMPARE(tab.snapshot().value("Gewerk"), "Dach");
        tab.selectFilter(EvaluationTab::Filter::CostGroup);
        QCOMPARE(tab.snapshot().value("Kostengruppe"), "300 Bauwerk");
        QCOMPARE(tab.snapshot().value("Firma"), QString());
    }

    // The partial sum apart from the screen: the waiting booking left out, amounts added in cents.
    void resultAddsInCents() {
        QList<Booking> bookings(4);
        const qint64 amounts[] = {10, 20, -5, 0};
        for (int i = 0; i < 4; ++i) {
            bookings[i].id = i + 1;
            bookings[i].amount = Money::fromCents(amounts[i]);
        }
        bookings[3].amount.reset();
        const EvaluationResult all = EvaluationResult::of(bookings, std::nullopt);
        QCOMPARE(all.sum.cents(), 25);
        QCOMPARE(all.count(), 4);
        const EvaluationResult waiting = EvaluationResult::of(bookings, 2);
        QCOMPARE(waiting.sum.cents(), 5);
        QCOMPARE(waiting.count(), 3);
    }

    // A file whose bookings cannot be read gives a German message, not a silent empty list.
    void readErrorIsReported() {
        Fixture f;
        QVERIFY(f.db.damageBookings());
        f.open().selectFilter(EvaluationTab::Filter::Year);
        QCOMPARE(f.dialogs.shown.size(), 1);
        QCOMPARE(f.dialogs.shown.first().title, "Lesefehler");
    }

    // Activating the workspace selects "Firma" and shows the first company's bookings; selecting the
    // tab rebuilds the list, so a booking entered meanwhile appears.
    void activationShowsTheFirstCompany() {
        WorkspaceFixture f;
        f.db.exec(
            "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Betrag) VALUES "
            "(1, '1', 'Schule', 'Zimmerei', 1), (2, '1', 'Schule', 'Aal', 2), (3, '1', 'Schule', 'Aal', 3)");
        Workspace& screen = f.open();
        QVERIFY(screen.findChild<QRadioButton*>("optFirma")->isChecked());
        QTreeView* list = screen.findChild<QTreeView*>("ListView3");
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(screen.findChild<QLineEdit*>("txtTeilsumme")->text(), "5,00");
        f.db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Betrag) VALUES (4, '1', 'Schule', "
                  "'Aal', 4)");
        screen.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(Workspace::EvaluationTabIndex);
        QCOMPARE(list->model()->rowCount(), 3);
    }
};

QTEST_MAIN(EvaluationTest)
#include "EvaluationTest.moc"
