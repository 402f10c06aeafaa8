#include "SecuritiesScreen.h"
#include "CostReportModel.h"
#include "SecurityListModel.h"
#include "WorkspaceFixture.h"

#include <QAction>
#include <QDialog>
#include <QSignalSpy>

// Payment terms, securities and retentions on the screens: the terms dialog of an order, the window
// "Sicherheiten" with its filters, a guarantee recorded and a retention released there, and the column of
// what was retained in the cost report and the evaluation, which stays out of print and export.
class SecuritiesScreenTest : public QObject {
    Q_OBJECT

    // Hochbau Nord's order of 100.000,00 € in project 1 and an instalment of 10.000,00 € that retained
    // 1.000,00 € for performance.
    struct Fixture : WorkspaceFixture {
        Fixture() {
            db.exec(
                "INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, NachtragDatum, NachtragArt, "
                "NachtragKosten) VALUES (1, '1', 'Schule', 'Hochbau Nord', 45000, 'Auftrag vom', 100000)");
            db.exec("INSERT INTO tblBuchung (ID, PID, ProjektID, Projekt, Firma, Zahlungsart, AnweisungVom, "
                    "Betrag) "
                    "VALUES (7, 1, '1', 'Schule', 'Hochbau Nord', '1. Abschlagszahlung', 45100, 9000), "
                    "(8, 2, '1', 'Schule', 'O''Neill & Co_%', 'Schlußzahlung', 45100, 50)");
            db.exec("INSERT INTO tblZahlung (BuchungID, ProjektID, Brutto, Einbehalt, EinbehaltArt) VALUES "
                    "(7, '1', 10000, 1000, 'Vertragserfüllung')");
            open();
            showTab(Workspace::CompanyTabIndex);
            choose("cboFirmaFirma", "Hochbau Nord");
        }
        QAction* action(const QString& name) { return find<QAction>(name); }
        QDialog* terms() { return screen->findChild<QDialog*>("frmZahlungsbedingung"); }
    };

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // Each row: the percentage typed for performance and its form, and what follows from saving.
    void termsDialog_data() {
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("stored");
        QTest::newRow("5 % retained") << "5"
                                      << "Einbehalt"
                                      << ""
                                      << "5|Einbehalt|2";
        QTest::newRow("over 5 % under VOB/B") << "5,5"
                                              << "Einbehalt"
                                              << "höchstens 5,00 %"
                                              << "";
        QTest::newRow("three decimals") << "4,125"
                                        << "Einbehalt"
                                        << "höchstens zwei Nachkommastellen"
                                        << "";
        QTest::newRow("no form") << "3"
                                 << ""
                                 << "Bürgschaft"
                                 << "";
    }
    void termsDialog() {
        QFETCH(QString, percent);
        QFETCH(QString, form);
        QFETCH(QString, told);
        QFETCH(QString, stored);
        Fixture f;
        f.selectRow("ListView2", 0);
        f.action("cmdZahlungsbedingungen")->trigger();
        QDialog* dialog = f.terms();
        QVERIFY(dialog && dialog->isVisible());
        WidgetDriver terms(dialog);
        terms.type("txtErfuellungProzent", percent);
        terms.choose("cboErfuellungForm", form);
        terms.click("cmdSpeichern");
        QCOMPARE(dialog->isVisible(), !told.isEmpty());
        QVERIFY2(told.isEmpty() ? f.dialogs.shown.isEmpty() : f.dialogs.lastText().contains(told),
                 qPrintable(f.dialogs.lastText()));
        QCOMPARE(f.stored("ErfuellungProzent || '|' || ErfuellungForm || '|' || MaengelJahre",
                          "tblZahlungsbedingung")
                     .replace(".0|", "|"),
                 stored);
        if (!told.isEmpty())
            return;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.terms());
        f.action("cmdZahlungsbedingungen")->trigger();
        QCOMPARE(WidgetDriver(f.terms()).text("txtErfuellungProzent"), QString("5,00"));
    }

    // The securities of the project: the agreed security missing until a guarantee comes, the guarantee
    // due back on its day, and a retention released by a booking of its own.
    void securitiesWindow() {
        Fixture f;
        f.db.exec("INSERT INTO tblZahlungsbedingung (ProjektID, FirmaID, NID, VOB, ErfuellungProzent, "
                  "ErfuellungForm) VALUES ('1', 1, 1, 1, 5, 'Bürgschaft')");
        f.action("cmdSicherheiten")->trigger();
        auto* window = f.screen->findChild<SecuritiesScreen*>("frmSicherheiten");
        QVERIFY(window && window->isVisible());
        window->setToday(46000);
        WidgetDriver w(window);
        QCOMPARE(w.rows("lvwSicherheiten"),
                 QStringList{"Hochbau Nord|Vertragserfüllung|5.000,00|1.000,00||||||||Sicherheit fehlt"});
        w.choose("cboFilter", "Rückgabe fällig");
        QCOMPARE(w.rows("lvwSicherheiten"), QStringList());

        w.click("cmdNeu");
        auto* dialog = window->findChild<QDialog*>("frmSicherheit");
        QVERIFY(dialog);
        WidgetDriver guarantee(dialog);
        guarantee.choose("cboFirma", "Hochbau Nord");
        guarantee.type("txtBetrag", "4000");
        guarantee.type("txtBuerge", "Sparkasse");
        guarantee.type("txtErhaltenAm", "01.02.2025");
        guarantee.type("txtRueckgabeAm", "09.12.2025");
        guarantee.click("cmdSpeichern");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.stored("FirmaID || '|' || Form || '|' || Buerge || '|' || RueckgabeAm", "tblSicherheit"),
                 QString("1|Bürgschaft|Sparkasse|46000"));
        QCOMPARE(w.column("lvwSicherheiten", int(SecurityListModel::Column::Notice)),
                 QString("Rückgabe fällig"));
        window->setToday(45999);
        QCOMPARE(w.rows("lvwSicherheiten"), QStringList());
        w.choose("cboFilter", "Alle");
        QCOMPARE(w.column("lvwSicherheiten", int(SecurityListModel::Column::Notice)), QString());

        f.dialogs.texts.enqueue("400");
        w.selectRow("lvwSicherheiten", 0);
        QSignalSpy released(window, &SecuritiesScreen::released);
        w.click("cmdFreigeben");
        QCOMPARE(released.size(), 1);
        QCOMPARE(f.stored("Zahlungsart || '|' || Betrag", "tblBuchung").split(',').last(),
                 QString("Rückhalt|400.0"));
        QCOMPARE(w.column("lvwSicherheiten", int(SecurityListModel::Column::Retained)), QString("600,00"));
        QCOMPARE(w.column("lvwSicherheiten", int(SecurityListModel::Column::Notice)),
                 QString("Sicherheit fehlt"));
        const ListSnapshot snapshot = window->snapshot();
        QCOMPARE(snapshot.kind, ListSnapshot::Kind::Securities);
        QCOMPARE(snapshot.rows.first().value(6), QString("Sparkasse"));
    }

    // A click on a heading sorts the list, days by their dates, a second click the other way round; the red
    // of a guarantee due back and the one opened for editing go with their rows.
    void sortedByHeading() {
        Fixture f;
        f.db.exec("INSERT INTO tblSicherheit (ProjektID, FirmaID, Art, Form, Betrag, Buerge, ErhaltenAm, "
                  "RueckgabeAm) VALUES ('1', 1, 'Vertragserfüllung', 'Bürgschaft', 4000, 'Sparkasse', 45662, "
                  "45900), ('1', 1, 'Mängelansprüche', 'Bürgschaft', 3000, 'Volksbank', 45689, 46500)");
        f.action("cmdSicherheiten")->trigger();
        auto* window = f.screen->findChild<SecuritiesScreen*>("frmSicherheiten");
        QVERIFY(window);
        window->setToday(46000);
        WidgetDriver w(window);
        const int guarantor = int(SecurityListModel::Column::Guarantor);
        w.clickHeading("lvwSicherheiten", int(SecurityListModel::Column::ReceivedOn));
        QCOMPARE(w.column("lvwSicherheiten", guarantor), QString("Sparkasse,Volksbank"));
        w.clickHeading("lvwSicherheiten", int(SecurityListModel::Column::ReceivedOn));
        QCOMPARE(w.column("lvwSicherheiten", guarantor), QString("Volksbank,Sparkasse"));
        QAbstractItemModel* model = w.find<QTreeView>("lvwSicherheiten")->model();
        QCOMPARE(model->index(1, guarantor).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QVERIFY(!model->index(0, guarantor).data(Qt::ForegroundRole).isValid());

        w.selectRow("lvwSicherheiten", 0);
        w.click("cmdBearbeiten");
        auto* dialog = window->findChild<QDialog*>("frmSicherheit");
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(WidgetDriver(dialog).text("txtBuerge"), QString("Volksbank"));
    }

    // What was retained stands last in the cost report and the evaluation, and neither is printed with it.
    void retainedColumn() {
        Fixture f;
        f.showTab(Workspace::CostReportTabIndex);
        f.screen->KostenberichtEinlesen();
        QCOMPARE(f.column("ListView4", -1).split(',').last(), QString("Einbehalten"));
        QCOMPARE(f.column("ListView4", int(CostReportModel::Column::Retained)),
                 QString("1.000,00,,1.000,00,,,"));
        ListSnapshot printed = f.screen->snapshot();
        QCOMPARE(printed.headings.size(), 11);
        QCOMPARE(printed.rows.first().size(), 11);
        f.showTab(Workspace::EvaluationTabIndex);
        f.choose("cboAuswertungFirma", "Hochbau Nord");
        f.screen->AusWertung();
        QCOMPARE(f.column("ListView3", 11), QString("1.000,00"));
        QVERIFY(!f.list("ListView3")->isColumnHidden(11));
        printed = f.screen->snapshot();
        QCOMPARE(printed.headings.size(), 8);
    }
};

QTEST_MAIN(SecuritiesScreenTest)
#include "SecuritiesScreenTest.moc"
