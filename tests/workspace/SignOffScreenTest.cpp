#include "SignOffScreen.h"
#include "Presets.h"
#include "SignOffOperation.h"
#include "SignOffReading.h"
#include "WorkspaceFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeView>

// The sign-off on the screens: the state in the booking list and its actions, the state filter of the
// evaluation, the window "Anordnungen" and the rules in the presets.
class SignOffScreenTest : public QObject {
    Q_OBJECT

    static constexpr int kState = 14;

    // Two bookings of project 1 and one of project 2; the rules let the one login take every step.
    struct Fixture : WorkspaceFixture {
        Fixture() {
            db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, RechnungsNr, RechnungVom, "
                    "Zahlungsart, Betrag) VALUES (1, '1', 'Schule', 'Hochbau Nord', 'R-1', 45300, "
                    "'Schlußzahlung', 100), "
                    "(2, '1', 'Schule', 'O''Neill & Co_%', 'R-2', 45301, 'Abschlagszahlung', 50), "
                    "(1, '2', 'Schule', 'Hochbau Nord', 'R-3', 45302, 'Schlußzahlung', 75)");
            open();
            QVERIFY(SignOffOperation(*session).saveRules({false, false}).ok());
            showTab(Workspace::BookingsTabIndex);
            click("cmdAktualisieren");
        }
        QString states() { return column("ListView1", kState); }
        QAction* action(const QString& name) { return find<QAction>(name); }
        void trigger(const QString& name, int row) {
            selectRow("ListView1", row);
            QVERIFY2(action(name)->isEnabled(), qPrintable(action(name)->toolTip()));
            action(name)->trigger();
        }
    };

    // The window "Anordnungen" over the fixture's session.
    struct Window : WidgetDriver {
        Fixture& fixture;
        SignOffScreen screen;
        explicit Window(Fixture& f) : fixture(f), screen(*f.session, f.dialogs, *f.settings) {
            screen.show();
        }
        const QObject* root() const override { return &screen; }
        QString column(int column) { return WidgetDriver::column("lvwAnordnungen", column); }
        void choose(const QList<int>& rows) {
            auto* view = find<QTreeView>("lvwAnordnungen");
            view->clearSelection();
            for (const int row : rows)
                view->selectionModel()->select(view->model()->index(row, 0),
                                               QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    };

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // Each step moves the booking's state in the list; an ordered booking can no longer be taken back or
    // deleted, and is cancelled by a counter-booking that the sum counts.
    void bookingListSteps() {
        Fixture f;
        QCOMPARE(f.column("ListView1", -1).split(',').value(kState), QString("Status"));
        QCOMPARE(f.states(), QString("erfasst,erfasst"));
        f.selectRow("ListView1", 0);
        QVERIFY(!f.action("cmdAuszahlungsanordnung")->isEnabled());
        QVERIFY(!f.action("cmdStornieren")->isEnabled());
        QVERIFY(!f.action("cmdStornieren")->toolTip().isEmpty());
        f.trigger("cmdFeststellen", 0);
        QCOMPARE(f.states(), QString("festgestellt,erfasst"));
        f.trigger("cmdAnordnen", 0);
        QCOMPARE(f.states(), QString("angeordnet,erfasst"));

        f.selectRow("ListView1", 0);
        for (const char* name : {"cmdBuchungBearbeiten", "cmdBuchungLoeschen"}) {
            QVERIFY(!f.find<QPushButton>(name)->isEnabled());
            QVERIFY(!f.find<QPushButton>(name)->toolTip().isEmpty());
        }
        f.selectRow("ListView1", 1);
        QVERIFY(f.find<QPushButton>("cmdBuchungLoeschen")->isEnabled());

        f.db.exec("INSERT INTO tblBankverbindung (FirmaID, IBAN, BIC, Kontoinhaber) VALUES (1, "
                  "'DE89370400440532013000', 'COBADEFFXXX', 'Hochbau Nord GmbH')");
        QSignalSpy printed(f.screen.get(), &Workspace::paymentOrderPrintRequested);
        f.trigger("cmdAuszahlungsanordnung", 0);
        QCOMPARE(printed.size(), 1);
        const auto order = printed.first().first().value<ListSnapshot>();
        QCOMPARE(order.kind, ListSnapshot::Kind::PaymentOrder);
        QCOMPARE(order.rows.size(), 1);
        const QStringList fields = order.rows.first();
        QCOMPARE(fields.mid(0, 7),
                 (QStringList{"1 - Schule", "001", "Hochbau Nord", "97070 Würzburg",
                              "DE89 3704 0044 0532 0130 00", "COBADEFFXXX", "Hochbau Nord GmbH"}));
        QCOMPARE(fields.mid(7, 4), (QStringList{"100,00 Euro", "R-1", "09.01.2024", "Schlußzahlung"}));
        QVERIFY(fields.last().startsWith(SignOffReading::login(*f.session) + ", "));

        for (const char* day : {"31.02.2024", "01.01.2999", "15.01.2024"})
            f.dialogs.texts.enqueue(day);
        f.trigger("cmdBezahlt", 0);
        QCOMPARE(f.dialogs.shown.at(f.dialogs.shown.size() - 4).text + '|' +
                     f.dialogs.shown.at(f.dialogs.shown.size() - 2).text,
                 QString("Bitte geben Sie den Tag der Zahlung als TT.MM.JJJJ ein.|Der Tag der Zahlung liegt "
                         "in der Zukunft."));
        QCOMPARE(f.states(), QString("bezahlt,erfasst"));
        QCOMPARE(f.db.scalar("SELECT BezahltAm FROM tblFreigabe WHERE BuchungID = 1"), QString("45306"));

        f.dialogs.texts.enqueue("   ");
        f.dialogs.texts.enqueue("doppelt gebucht");
        f.trigger("cmdStornieren", 0);
        QCOMPARE(f.dialogs.shown.at(f.dialogs.shown.size() - 2).text,
                 QString("Bitte geben Sie den Grund der Stornierung ein."));
        QCOMPARE(f.states(), QString("storniert,erfasst,Storno, erfasst"));
        QCOMPARE(f.total(), QString("50,00"));
        const QAbstractItemModel* shown = f.find<QTreeView>("ListView1")->model();
        const auto steps = [shown](int row) {
            return shown->index(row, kState).data(Qt::ToolTipRole).toString();
        };
        QVERIFY2(steps(0).contains("Bezahlt am 15.01.2024"), qPrintable(steps(0)));
        QVERIFY2(steps(2).endsWith("Grund: doppelt gebucht"), qPrintable(steps(2)));
        QCOMPARE(StoreFixture::joined(f.db, "tblBuchung", "Betrag || ' ' || Bemerkungen", "PID = 3"),
                 QString("-100.0 Storno zu Nr. 1: doppelt gebucht"));
        f.selectRow("ListView1", 0);
        QVERIFY(!f.action("cmdStornieren")->isEnabled());
    }

    // "alle" shows what the evaluation always showed; a state narrows it to the bookings in that state.
    void evaluationByState() {
        Fixture f;
        f.trigger("cmdFeststellen", 1);
        f.showTab(Workspace::EvaluationTabIndex);
        f.click("optFirma");
        auto* state = f.find<QComboBox>("cboAuswertungStatus");
        QCOMPARE(f.items("cboAuswertungStatus"), (QStringList{"alle", "erfasst", "sachlich richtig",
                                                              "festgestellt", "angeordnet", "bezahlt"}));
        f.choose("cboAuswertungFirma", "O'Neill & Co_%");
        emit f.find<QComboBox>("cboAuswertungFirma")->activated(0);
        QCOMPARE(f.column("ListView3", 0), QString("002"));
        for (const auto& [word, rows] :
             {std::pair{"festgestellt", "002"}, {"erfasst", ""}, {"alle", "002"}}) {
            state->setCurrentText(word);
            emit state->activated(state->currentIndex());
            QCOMPARE(f.column("ListView3", 0), QString(rows));
        }
    }

    // The bookings of both projects wait; several are confirmed in one step, then ordered in one step,
    // whose payment orders are offered for printing. A step another workstation took meanwhile is refused
    // with the operation's reason.
    void waitingAcrossProjects() {
        Fixture f;
        Window w(f);
        QCOMPARE(w.column(0), QString("1 - Schule,1 - Schule,2 - Schule"));
        QCOMPARE(w.column(6), QString("erfasst,erfasst,erfasst"));
        QVERIFY(!w.find<QPushButton>("cmdFeststellen")->isEnabled());
        w.choose({0, 1, 2});
        w.click("cmdFeststellen");
        QCOMPARE(w.column(6), QString("festgestellt,festgestellt,festgestellt"));
        w.clickHeading("lvwAnordnungen", 5);
        QCOMPARE(w.column(5), QString("50,00,75,00,100,00"));

        QSignalSpy printed(&w.screen, &SignOffScreen::paymentOrderPrintRequested);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        w.choose({0, 1});
        w.click("cmdAnordnen");
        QCOMPARE(w.column(5), QString("100,00"));
        QCOMPARE(printed.size(), 1);
        const auto orders = printed.first().first().value<ListSnapshot>();
        QCOMPARE(orders.rows.size(), 2);
        QCOMPARE(orders.rows.at(0).mid(2, 3),
                 (QStringList{"O'Neill & Co_%", "40210 Düsseldorf", "keine Bankverbindung gespeichert"}));
        QCOMPARE(orders.rows.at(1).at(0), QString("2 - Schule"));

        w.choose({0});
        QVERIFY(SignOffOperation(*f.session).order({1}).ok());
        w.click("cmdAnordnen");
        QCOMPARE(f.dialogs.shown.last().title, QString("Anordnen nicht möglich"));
        QVERIFY(!f.dialogs.lastText().isEmpty());
        QCOMPARE(w.column(5), QString());
    }

    // The rules are saved from the presets and read back.
    void rulesInPresets() {
        Fixture f;
        Presets presets(*f.session, f.dialogs, *f.settings);
        WidgetDriver driver(&presets);
        QVERIFY(!driver.find<QCheckBox>("chkVierAugen")->isChecked());
        driver.find<QCheckBox>("chkVierAugen")->setChecked(true);
        driver.find<QCheckBox>("chkZweiStufig")->setChecked(true);
        driver.click("Command3");
        const SignOffRules rules = SignOffReading::rules(*f.session);
        QVERIFY(rules.fourEyes && rules.twoStep);
    }
};

QTEST_MAIN(SignOffScreenTest)
#include "SignOffScreenTest.moc"
