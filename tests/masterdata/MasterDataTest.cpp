#include "CompanyRegister.h"
#include "Presets.h"
#include "ProjectManager.h"
#include "ScreenFixture.h"

#include "AuthorityDetails.h"
#include "ChangeWatch.h"
#include "DayNumber.h"

#include <QColor>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>

using namespace Qt::StringLiterals;

// The entry flow that the project manager, the company register and both presets tabs share, driven
// through each screen's widgets: the list, the name field, the buttons to add, edit and remove; the table,
// its name field and the field of the bookings and estimate rows copying the name; the presets tab or -1.
// copiesAfterRename: that field of the copies (of project 1 "ERSTER", of project 2 "Erster" and "Zweiter")
// after "Erster" is renamed to "Neu". The question before deleting number 2, "Zweiter"; the rename that
// merges copies with another record's, and the start of the question before it.
struct EntryScreen {
    QString list, field, add, edit, remove, table, nameField, copyField;
    int tab;
    QString copiesAfterRename, deleteQuestion;
    Dialogs::Icon deleteIcon;
    QString namesake, renameQuestion;
};
Q_DECLARE_METATYPE(EntryScreen)

namespace {

struct Fixture : DatabaseScreen<> {
    EntryScreen entry;

    // Two records, "Erster" (number 1) and "Zweiter" (number 2), and their copies.
    explicit Fixture(const EntryScreen& screenUnderTest) : entry(screenUnderTest) {
        db.clearPresets();
        db.exec(u"INSERT INTO %1 (ID, %2) VALUES (1, 'Erster'), (2, 'Zweiter')"_s.arg(entry.table,
                                                                                      entry.nameField));
        bookings("ProjektID, " + entry.copyField, {{1, "ERSTER"}, {2, "Erster"}, {2, "Zweiter"}});
    }
    void open() {
        session = Session::open(db.path());
        if (entry.table == "tblProjekt")
            screen = std::make_unique<ProjectManager>(*session, dialogs);
        else if (entry.table == "tblFirma")
            screen = std::make_unique<CompanyRegister>(*session, dialogs);
        else
            screen = std::make_unique<Presets>(*session, dialogs, settings);
        if (entry.tab >= 0)
            screen->findChild<QTabWidget*>()->setCurrentIndex(entry.tab);
        screen->show();
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen.get()));
    }
    // The page holding the list: the screen, or the presets tab.
    QWidget* page() const { return find<QWidget>(entry.list)->parentWidget(); }
    bool editing() const {
        const auto* notice = page()->findChild<QLabel*>("lblBearbeitungsmodus");
        return notice->isVisible() &&
               page()->findChild<QPushButton*>("cmdBearbeitungAbbrechen")->isVisible() &&
               notice->text() == "Bearbeitungsmodus";
    }
    QString names() { return rows(entry.table, entry.nameField); }
};

void screenRows() {
    QTest::addColumn<EntryScreen>("entry");
    QTest::newRow("project manager") << EntryScreen(
        "lvwProjekte", "txtName", "cmdHinzufuegen", "cmdBearbeiten", "cmdLoeschen", "tblProjekt",
        "ProjektName", "Projekt", -1, "Neu,Erster,Zweiter", "Projekt löschen? : Projekt 'Zweiter' löschen?",
        Dialogs::Icon::Critical, "zweiter", "");
    QTest::newRow("company register")
        << EntryScreen("ListView1", "Text1", "Command2", "Command4", "Command3", "tblFirma", "Name", "Firma",
                       -1, "Neu,Neu,Zweiter", "Firma löschen: Nr. '2' löschen?", Dialogs::Icon::Question,
                       "ZWEITER", "Firma umbenennen: Eine Firma 'ZWEITER'");
    QTest::newRow("presets: trades") << EntryScreen(
        "ListView2", "Text2", "Command4", "Command6", "Command5", "tblGewerk", "Gewerk", "Gewerk", 0,
        "ERSTER,Neu,Zweiter", "Gewerk löschen: LfdNr: 2 löschen?", Dialogs::Icon::Question, "Zweiter",
        "Gewerk umbenennen: Ein Gewerk 'Zweiter'");
    QTest::newRow("presets: cost groups") << EntryScreen(
        "ListView1", "Text1", "Command1", "Command7", "Command2", "tblKostengruppe", "Kostengruppe",
        "Kostengruppe", 1, "ERSTER,Neu,Zweiter", "Kostenstelle löschen: LfdNr: 2 löschen?",
        Dialogs::Icon::Question, "Zweiter", "Kostenstelle umbenennen: Eine Kostenstelle 'Zweiter'");
}

} // namespace

// The master-data screens driven through their widgets, checked against their lists, the database and the
// settings.
class MasterDataTest : public QObject {
    Q_OBJECT

    // Two trades, two cost groups and four companies numbered 1 to 4.
    struct Companies : DatabaseScreen<CompanyRegister> {
        Companies() {
            db.clearPresets();
            db.exec("INSERT INTO tblGewerk (Gewerk) VALUES ('Rohbau'), ('Elektro')");
            db.exec("INSERT INTO tblKostengruppe (Kostengruppe) VALUES ('300'), ('400')");
            db.exec("INSERT INTO tblFirma (Name, PLZ, Ort, GewerkID, KostengruppeID, Mobil) VALUES "
                    "('Hochbau Nord', '97070', 'Würzburg', 'Rohbau', '300', '0170'), "
                    "('O''Neill Bau', '40210', 'Düsseldorf', 'Elektro', '400', '0170'), "
                    "('Putz 4you', '80331', 'München', 'Rohbau', '300', '0170'), "
                    "('Zimmerei', '14467', 'Potsdam', 'Rohbau', '300', '0170')");
        }
        QString count() const {
            return find<QStatusBar>("StatusBar1")->findChildren<QLabel*>().constLast()->text();
        }
    };

    // Trades and cost groups with known numbers.
    struct PresetLists : DatabaseScreen<Presets> {
        PresetLists() {
            db.clearPresets();
            db.exec("INSERT INTO tblGewerk (ID, Gewerk) VALUES (1, 'Elektro'), (2, 'Dach'), (10, 'Heizung')");
            db.exec("INSERT INTO tblKostengruppe (ID, Kostengruppe) VALUES (1, '300 Bauwerk'), (2, '200 "
                    "Erschließung')");
        }
    };

private slots:
    // "Bearbeiten" loads a record and shows the notice; saving stores onto the loaded record, whatever row is
    // selected then, and carries the name into its copies by the screen's rule. A save the database refuses
    // keeps entry, edit mode and rows; a save that works leaves edit mode. Escape and the cancel button leave
    // edit mode, clear the fields and store nothing; Enter in the name field adds.
    void savingRenamesTheLoadedRecordAndItsCopies_data() { screenRows(); }
    void savingRenamesTheLoadedRecordAndItsCopies() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        f.refuseWrites();
        f.open();
        QVERIFY(!f.editing());
        f.select(entry.list, 0, "1", entry.edit);
        QVERIFY(f.text(entry.field) == "Erster" && f.editing());
        f.select(entry.list, 0, "2");
        f.type(entry.field, "Neu", entry.add);
        QVERIFY(f.messages().startsWith("Speichern nicht möglich: ") && f.editing());
        QCOMPARE(f.text(entry.field) + '|' + f.names() + '|' + f.bookings(entry.copyField),
                 "Neu|Erster,Zweiter|ERSTER,Erster,Zweiter");

        f.refuseWrites(false);
        f.click(entry.add);
        QCOMPARE(f.names() + '|' + f.bookings(entry.copyField), "Neu,Zweiter|" + entry.copiesAfterRename);
        QVERIFY(!f.editing() && f.column(entry.list, 1).contains("Neu") && f.text(entry.field).isEmpty());

        f.select(entry.list, 0, "1", entry.edit);
        f.type(entry.field, "Anders");
        QTest::keyClick(f.find<QLineEdit>(entry.field), Qt::Key_Escape);
        QVERIFY(!f.editing() && f.text(entry.field).isEmpty());
        f.select(entry.list, 0, "2", entry.edit);
        f.type(entry.field, "Anders");
        WidgetDriver(f.page()).click("cmdBearbeitungAbbrechen");
        QVERIFY(!f.editing());
        f.type(entry.field, "Dritter");
        QTest::keyClick(f.find<QLineEdit>(entry.field), Qt::Key_Return);
        QCOMPARE(f.names() + '|' + f.text(entry.field), "Neu,Zweiter,Dritter|");
        QCOMPARE(f.dialogs.shown.size(), 1);
    }

    // Deleting asks first, No keeps the record; deleting leaves the copies. Deleting another record keeps
    // edit mode, deleting the loaded one leaves it; one deleted elsewhere makes the save say so, store
    // nothing and keep the entry, which the next "&Hinzufügen" adds as a new record.
    void deletingAsksAndLeavesEditModeOfTheLoadedRecord_data() { screenRows(); }
    void deletingAsksAndLeavesEditModeOfTheLoadedRecord() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        f.open();
        f.select(entry.list, 0, "1", entry.edit);
        f.select(entry.list, 0, "2", entry.remove);
        QCOMPARE(f.messages(), entry.deleteQuestion + "          ");
        QVERIFY(
            f.dialogs.shown[0].icon == entry.deleteIcon &&
            f.dialogs.shown[0].defaultButton ==
                (entry.deleteIcon == Dialogs::Icon::Critical ? Dialogs::Answer::No : Dialogs::Answer::Yes));
        QCOMPARE(f.names(), "Erster,Zweiter");
        f.dialogs.answers.append({Dialogs::Answer::Yes, Dialogs::Answer::Yes});
        f.select(entry.list, 0, "2", entry.remove);
        QVERIFY(f.editing());
        f.select(entry.list, 0, "1", entry.remove);
        QVERIFY(!f.editing());
        QCOMPARE(f.text(entry.field) + '|' + f.column(entry.list, 0) + '|' + f.names() + '|' +
                     f.bookings(entry.copyField),
                 "|||ERSTER,Erster,Zweiter");

        f.type(entry.field, "Fuenfter", entry.add);
        f.select(entry.list, 1, "Fuenfter", entry.edit);
        f.db.exec(u"DELETE FROM %1"_s.arg(entry.table));
        f.type(entry.field, "Fuenfter neu", entry.add);
        QCOMPARE(f.dialogs.shown.size(), 4);
        QVERIFY(f.dialogs.shown.last().title == "Speichern nicht möglich" &&
                f.dialogs.lastText().contains("nicht mehr vorhanden") && !f.editing());
        QCOMPARE(f.text(entry.field) + '|' + f.names(), "Fuenfter neu|");
        f.click(entry.add);
        QCOMPARE(f.names(), "Fuenfter neu");

        // One changed elsewhere since it was loaded is not overwritten; Yes loads its current state.
        f.select(entry.list, 1, "Fuenfter neu", entry.edit);
        f.db.exec(u"UPDATE %1 SET %2 = 'Anderswo'"_s.arg(entry.table, entry.nameField));
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.type(entry.field, "Mein Name", entry.add);
        QVERIFY(f.dialogs.lastText().contains("an einem anderen Arbeitsplatz geändert") && f.editing());
        QCOMPARE(f.text(entry.field) + '|' + f.names(), "Anderswo|Anderswo");
        f.type(entry.field, "Mein Name", entry.add);
        QCOMPARE(f.names(), "Mein Name");
    }

    // Renaming onto a name that another record carries (as the cascade matches names) asks first: No
    // stores nothing and keeps the entry in edit mode, Yes renames. Projects are matched by number and
    // never ask. The screen refilled itself after its own write, so activating it refills nothing.
    void renameOntoExistingNameAsks_data() { screenRows(); }
    void renameOntoExistingNameAsks() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        f.open();
        QSignalSpy refills(f.screen->findChild<ChangeWatch*>(), &ChangeWatch::changed);
        QEvent activate(QEvent::WindowActivate);
        f.select(entry.list, 0, "1", entry.edit);
        f.type(entry.field, entry.namesake, entry.add);
        if (entry.renameQuestion.isEmpty()) {
            QVERIFY(f.dialogs.shown.isEmpty());
            QCOMPARE(f.names(), entry.namesake + ",Zweiter");
            QCoreApplication::sendEvent(f.screen.get(), &activate);
            QVERIFY(refills.isEmpty());
            return;
        }
        QVERIFY(f.dialogs.shown.last().icon == Dialogs::Icon::Warning &&
                f.dialogs.shown.last().defaultButton == Dialogs::Answer::No);
        QVERIFY(f.messages().startsWith(entry.renameQuestion + " ist bereits vorhanden.") &&
                f.messages().endsWith("lassen sich nicht mehr trennen. Trotzdem umbenennen?"));
        QCOMPARE(f.names() + '|' + f.text(entry.field), "Erster,Zweiter|" + entry.namesake);
        QVERIFY(f.editing());

        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click(entry.add);
        QVERIFY(f.names() == entry.namesake + ",Zweiter" && !f.editing());
        QCoreApplication::sendEvent(f.screen.get(), &activate);
        QVERIFY(refills.isEmpty());

        // Renaming 2 to "zweiter", which record 3 carries: the cascade of a company already treats them
        // as one name and asks nothing, a trade's or cost group's tells them apart and asks.
        f.db.exec(u"INSERT INTO %1 (ID, %2) VALUES (3, 'zweiter')"_s.arg(entry.table, entry.nameField));
        f.select(entry.list, 0, "2", entry.edit);
        f.type(entry.field, "zweiter", entry.add);
        const bool company = entry.table == "tblFirma";
        QCOMPARE(f.dialogs.shown.size(), company ? 2 : 3);
        QCOMPARE(f.names(), entry.namesake + (company ? ",zweiter,zweiter" : ",Zweiter,zweiter"));
    }

    void companySearchShowsTheHitsAndTheirCount_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fromLeft");
        QTest::addColumn<QString>("numbers");
        QTest::newRow("4 anywhere") << u"4"_s << false << "2,3,4";
        QTest::newRow("4 from left") << u"4"_s << true << "2";
        QTest::newRow("apostrophe") << u"o'n"_s << false << "2";
        QTest::newRow("wildcard") << u"h*nord"_s << true << "1";
        QTest::newRow("no hit: mobile is not searched") << u"0170"_s << false << "";
        QTest::newRow("cleared") << u""_s << true << "1,2,3,4";
    }
    void companySearchShowsTheHitsAndTheirCount() {
        QFETCH(QString, typed);
        QFETCH(bool, fromLeft);
        QFETCH(QString, numbers);
        Companies f;
        f.open();
        f.type("Text10", typed, fromLeft ? "Option2" : "Option1");
        QCOMPARE(f.column("ListView1", 0), numbers);
        QCOMPARE(f.count(),
                 "Anzahl Firmen: " + QString::number(numbers.split(',', Qt::SkipEmptyParts).size()));
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // A new company needs a name and takes the chosen trade, and the count follows adding and deleting; the
    // icon buttons ask for the preview and close.
    void newCompanyNeedsNameAndCountFollows() {
        Companies f;
        f.open();
        QCOMPARE(f.column("ListView1", -1), "LfdNr.,Firma,Ort,Gewerk,Kostengruppe");
        QVERIFY(f.column("ListView1", 2).startsWith("97070 Würzburg,"));
        f.type("Text4", "Hauptstraße 1", "Command2");
        QCOMPARE(f.text("Text4") + '|' + f.count(), "Hauptstraße 1|Anzahl Firmen: 4");
        f.type("Text1", "Bagger Nord", "Command2");
        QCOMPARE(f.rows("tblFirma", "Name || ':' || \"Straße\" || ':' || GewerkID").section(',', -1) + '|' +
                     f.count(),
                 "Bagger Nord:Hauptstraße 1:Elektro|Anzahl Firmen: 5");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.select("ListView1", 1, "Bagger Nord", "Command3");
        QCOMPARE(f.count(), "Anzahl Firmen: 4");
        QSignalSpy previews(f.screen.get(), &CompanyRegister::printPreviewRequested);
        f.click("Command7");
        f.click("Command8");
        QVERIFY(previews.count() == 1 && !f.screen->isVisible());
    }

    // The selected company's bank accounts: an IBAN refused as typed, on adding and on changing, with the
    // reason; one added shows in groups of four, is changed and removed after the question; another company
    // has its own, and the fields are emptied for it.
    void bankAccountsOfTheSelectedCompany() {
        Companies f;
        f.db.exec("INSERT INTO tblBankverbindung (FirmaID, IBAN) VALUES (2, 'AT611904300234573201')");
        f.open();
        QVERIFY(!f.find<QWidget>("fraBankverbindungen")->isEnabled());
        f.select("ListView1", 1, "Hochbau Nord");
        QVERIFY(f.find<QWidget>("fraBankverbindungen")->isEnabled());
        QCOMPARE(f.WidgetDriver::rows("lvwBankverbindungen"), QStringList());
        f.type("txtIBAN", "DE89 3704 0044 0532 0130 0");
        QCOMPARE(f.find<QLabel>("lblIBANPruefung")->text(),
                 "Die IBAN ist mit 21 Stellen zu kurz für Deutschland (22 Stellen).");
        f.click("cmdKontoHinzufuegen");
        QCOMPARE(f.messages(),
                 "Bankverbindung: Die IBAN ist mit 21 Stellen zu kurz für Deutschland (22 Stellen).");
        QCOMPARE(f.text("txtIBAN"), "DE89 3704 0044 0532 0130 0");
        f.type("txtIBAN", "de89370400440532013000");
        QCOMPARE(f.find<QLabel>("lblIBANPruefung")->text(), "");
        f.type("txtKontoinhaber", "Hochbau Nord GmbH", "cmdKontoHinzufuegen");
        QCOMPARE(f.WidgetDriver::rows("lvwBankverbindungen"),
                 QStringList{"DE89 3704 0044 0532 0130 00||Hochbau Nord GmbH"});
        f.select("lvwBankverbindungen", 0, "DE89 3704 0044 0532 0130 00");
        QCOMPARE(f.text("txtKontoinhaber"), "Hochbau Nord GmbH");
        f.type("txtBIC", "COBADEFF", "cmdKontoAendern");
        // A refused change keeps the account selected and the entry to be mended.
        f.select("lvwBankverbindungen", 0, "DE89 3704 0044 0532 0130 00");
        f.type("txtIBAN", "DE89 3704", "cmdKontoAendern");
        QCOMPARE(f.dialogs.shown.constLast().text,
                 "Die IBAN ist mit 8 Stellen zu kurz für Deutschland (22 Stellen).");
        QCOMPARE(f.text("txtIBAN"), "DE89 3704");
        QVERIFY(f.find<QPushButton>("cmdKontoAendern")->isEnabled());
        QCOMPARE(f.rows("tblBankverbindung", "FirmaID || ' ' || IBAN || ' ' || coalesce(BIC, '-')"),
                 "2 AT611904300234573201 -,1 DE89370400440532013000 COBADEFF");
        f.select("ListView1", 1, "O'Neill Bau");
        QCOMPARE(f.WidgetDriver::rows("lvwBankverbindungen"), QStringList{"AT61 1904 3002 3457 3201||"});
        QCOMPARE(f.text("txtIBAN") + f.text("txtBIC") + f.text("txtKontoinhaber"), "");
        f.select("ListView1", 1, "Hochbau Nord");
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.select("lvwBankverbindungen", 0, "DE89 3704 0044 0532 0130 00", "cmdKontoEntfernen");
        QCOMPARE(f.dialogs.shown.constLast().text,
                 "Die Bankverbindung DE89 3704 0044 0532 0130 00 der Firma entfernen?");
        QCOMPARE(f.WidgetDriver::rows("lvwBankverbindungen"), QStringList());
        QCOMPARE(StoreFixture::joined(f.db, "tblProtokoll", "Aktion", "Vorgang = 'Bankverbindung'"),
                 "Neu,Geändert,Gelöscht");
    }

    // The selected company's exemption certificates: the register marks a certificate running out within 30
    // days in orange and one run out in red, in the company list too; a day typed wrongly is refused, and a
    // following certificate added through the fields ends the warning.
    void certificatesOfTheSelectedCompany_data() {
        QTest::addColumn<int>("daysLeft");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("colour");
        QTest::newRow("31 days left") << 31 << u"Freistellungsbescheinigung gültig bis "_s << QString();
        QTest::newRow("30 days left") << 30 << u"Freistellungsbescheinigung läuft am "_s << u"#c06000"_s;
        QTest::newRow("ran out yesterday")
            << -1 << u"Freistellungsbescheinigung abgelaufen am "_s << u"#c00000"_s;
    }
    void certificatesOfTheSelectedCompany() {
        QFETCH(int, daysLeft);
        QFETCH(QString, status);
        QFETCH(QString, colour);
        const QDate today = QDate::currentDate();
        Companies f;
        f.db.exec("INSERT INTO tblFreistellung (FirmaID, Nummer, Finanzamt, GueltigVon, GueltigBis) VALUES "
                  "(2, 'FB 1', 'Nord', ?, ?)",
                  {DayNumber::fromDate(today.addDays(-100)), DayNumber::fromDate(today.addDays(daysLeft))});
        f.open();
        const QModelIndex oneill = f.find<QTreeView>("ListView1")->model()->index(1, 1);
        QCOMPARE(oneill.data().toString(), "O'Neill Bau");
        const QColor listed = oneill.data(Qt::ForegroundRole).value<QColor>();
        QCOMPARE(listed.isValid() ? listed.name() : QString(), colour);
        f.select("ListView1", 1, "O'Neill Bau");
        const QString shown = f.find<QLabel>("lblFreistellungStatus")->text();
        QCOMPARE(shown, status + today.addDays(daysLeft).toString("dd.MM.yyyy") +
                            (daysLeft == 30 ? u" ab"_s : QString()));
        QCOMPARE(f.find<QLabel>("lblFreistellungStatus")->styleSheet(),
                 colour.isEmpty() ? QString() : u"color: "_s + colour);
        f.type("txtFreistellungNr", "FB 2");
        f.type("txtFinanzamt", "Nord");
        f.type("txtGueltigVon", today.addDays(daysLeft + 1).toString("dd.MM.yyyy"));
        f.type("txtGueltigBis", "31.13.2099", "cmdFreistellungHinzufuegen");
        QCOMPARE(f.messages(), "Freistellungsbescheinigung: Bitte geben Sie die Tage als TT.MM.JJJJ ein.");
        f.type("txtGueltigBis", today.addDays(400).toString("d.M.yyyy"), "cmdFreistellungHinzufuegen");
        QCOMPARE(f.WidgetDriver::rows("lvwFreistellungen").size(), 2);
        QCOMPARE(f.find<QLabel>("lblFreistellungStatus")->text(),
                 "Freistellungsbescheinigung gültig bis " + today.addDays(400).toString("dd.MM.yyyy"));
        QVERIFY(!f.find<QTreeView>("ListView1")->model()->index(1, 1).data(Qt::ForegroundRole).isValid());
        QCOMPARE(
            StoreFixture::joined(f.db, "tblProtokoll", "Aktion", "Vorgang = 'Freistellungsbescheinigung'"),
            "Neu");
    }

    // A company shows exactly its stored trade and cost group, also an empty one or one no longer in the
    // presets, whatever company was loaded before; saving a change of the street keeps them, in the
    // company and in its copies, and the lists lose the extra entry again.
    void storedTradeAndCostGroupStayAsStored_data() {
        QTest::addColumn<QString>("trade");
        QTest::addColumn<QString>("costGroup");
        QTest::newRow("in the lists") << u"Elektro"_s << u"400"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("no longer in the lists") << u"Gerüstbau"_s << u"999 Sonstiges"_s;
        QTest::newRow("other letter case") << u"ROHBAU"_s << u"300"_s;
    }
    void storedTradeAndCostGroupStayAsStored() {
        QFETCH(QString, trade);
        QFETCH(QString, costGroup);
        Companies f;
        f.db.exec("UPDATE tblFirma SET GewerkID = ?, KostengruppeID = ? WHERE ID = 4",
                  {trade.isEmpty() ? QVariant() : trade, costGroup.isEmpty() ? QVariant() : costGroup});
        f.bookings("ProjektID, Firma, Gewerk, Kostengruppe", {{1, "Zimmerei", "Alt", "Alt"}});
        f.open();
        auto* trades = f.find<QComboBox>("Combo1");
        auto* costGroups = f.find<QComboBox>("Combo2");
        f.select("ListView1", 0, "2", "Command4");
        QCOMPARE(trades->currentText() + '|' + costGroups->currentText(), "Elektro|400");
        f.select("ListView1", 0, "4", "Command4");
        QCOMPARE(trades->currentText() + '|' + costGroups->currentText(), trade + '|' + costGroup);
        f.type("Text4", "Am Hang 2", "Command2");
        QCOMPARE(f.rows("tblFirma",
                        "\"Straße\" || '|' || coalesce(GewerkID, '') || '|' || coalesce(KostengruppeID, '')")
                     .section(',', -1),
                 "Am Hang 2|" + trade + '|' + costGroup);
        QCOMPARE(f.bookings("Firma || ':' || coalesce(Gewerk, '') || ':' || coalesce(Kostengruppe, '')"),
                 "Zimmerei:" + trade + ':' + costGroup);
        QVERIFY(trades->count() + costGroups->count() == 4 && f.dialogs.shown.isEmpty());
    }

    // A heading click sorts once, numbers by value; activating the window keeps the list sorted by name,
    // German order ignoring case, through changes and searches.
    void headingSortsOnceAndActivationKeepsNameOrder() {
        Companies f;
        f.db.exec("DELETE FROM tblFirma");
        f.db.exec("INSERT INTO tblFirma (ID, Name) VALUES (1, 'Zimmerei'), (2, 'Öl Meier'), (3, '2er Bau'), "
                  "(4, 'abbruch'), (5, 'Oberbau'), (10, '10er Bau')");
        f.open();
        f.clickHeading("ListView1", 0);
        QCOMPARE(f.column("ListView1", 0), "10,5,4,3,2,1");
        f.clickHeading("ListView1", 0);
        QCOMPARE(f.column("ListView1", 0), "1,2,3,4,5,10");
        f.type("Text10", "x");
        f.type("Text10", QString());
        QCOMPARE(f.column("ListView1", 0), "1,2,3,4,5,10");

        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(f.screen.get(), &activate);
        QCOMPARE(f.column("ListView1", 1), "10er Bau,2er Bau,abbruch,Oberbau,Öl Meier,Zimmerei");
        f.select("ListView1", 1, "Zimmerei", "Command4");
        f.type("Text1", "Aachen Bau", "Command2");
        QCOMPARE(f.column("ListView1", 1) + '|' + f.column("ListView1", 0),
                 "10er Bau,2er Bau,Aachen Bau,abbruch,Oberbau,Öl Meier|10,3,1,4,5,2");
        f.type("Text10", "bau");
        QCOMPARE(f.column("ListView1", 1), "10er Bau,2er Bau,Aachen Bau,Oberbau");
    }

    // The lists are sorted by name. A cost group loaded for editing leaves the trade tab adding, and is
    // itself still saved as a change.
    void eachPresetsTabKeepsItsOwnEditMode() {
        PresetLists f;
        f.open(f.settings);
        QTabWidget* tabs = f.find<QTabWidget>(QString());
        QCOMPARE(tabs->tabText(2) + '|' + f.column("ListView2", -1) + '|' + f.column("ListView1", -1) + '|' +
                     f.column("ListView2", 0) + '|' + f.column("ListView1", 1),
                 "Eigene Daten|LfdNr.,Gewerk|LfdNr.,Kostenstelle|2,1,10|200 Erschließung,300 Bauwerk");
        f.select("ListView1", 0, "1", "Command7");
        QCOMPARE(f.text("Text1"), "300 Bauwerk");
        f.select("ListView2", 1, "Dach");
        f.type("Text2", "Fenster", "Command4");
        QCOMPARE(f.rows("tblGewerk", "Gewerk"), "Elektro,Dach,Heizung,Fenster");
        f.type("Text1", "300 Bauwerk neu", "Command1");
        QCOMPARE(f.rows("tblKostengruppe", "Kostengruppe"), "300 Bauwerk neu,200 Erschließung");
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // OK stores the details and closes; closing otherwise drops what was typed.
    void authorityDetailsSurviveReopen() {
        PresetLists f;
        const QStringList fields{"Text3", "Text6", "Text7", "Text8", "Text4", "Text5"};
        const QStringList typed{"LRA Wernholm", "Bauamt", "97000", "Wernholm", "Wernholm", "Unterfranken"};
        f.open(f.settings);
        for (int i = 0; i < fields.size(); ++i)
            f.type(fields[i], typed[i]);
        f.click("Command3");
        QVERIFY(!f.screen->isVisible());

        Settings reopened(f.settings.filePath());
        f.open(reopened);
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(f.text(fields[i]), typed[i]);
        f.type("Text6", "Hochbau");
        f.screen->close();
        QCOMPARE(reopened.value(AuthorityDetails::department) + '|' + f.text("Text6"), "Bauamt|Bauamt");
    }

    // Buttons acting on a selection do nothing without one; a project is added once and can be loaded.
    void addsOnceAndLoadsTheSelectedProject() {
        DatabaseScreen<ProjectManager> f;
        f.open();
        QSignalSpy loads(f.screen.get(), &ProjectManager::projectLoadRequested);
        QCOMPARE(f.column("lvwProjekte", -1),
                 "ProjektNr.,Projektbezeichnung,Datum,Budget (€),Bezahlt,Gebunden,Verbleibend,Anteil %,");
        for (const char* button : {"cmdBearbeiten", "cmdLoeschen", "cmdProjektLaden", "cmdHinzufuegen"})
            f.click(button);
        QVERIFY(loads.isEmpty() && f.dialogs.shown.isEmpty() && f.rows("tblProjekt", "ID").isEmpty());
        f.find<QDateEdit>("dtpStart")->setDate(QDate(2005, 1, 1));
        f.type("txtName", "O'Neill-Halle", "cmdHinzufuegen");
        f.click("cmdHinzufuegen");
        QCOMPARE(f.text("txtName") + '|' + f.column("lvwProjekte", 1) + '|' + f.column("lvwProjekte", 2),
                 "|O'Neill-Halle|01.01.2005");
        QCOMPARE(f.rows("tblProjekt", "ID||'|'||ProjektName||'|'||Datumwert"), "1|O'Neill-Halle|38353");
        f.select("lvwProjekte", 0, "1", "cmdProjektLaden");
        QCOMPARE(QList<QVariantList>(loads), QList<QVariantList>({{"1", "O'Neill-Halle"}}));
        f.click("cmdBeenden");
        QVERIFY(!f.screen->isVisible());
    }

    // Matches the number or the name anywhere; the list is newest first, projects without date last.
    void projectSearchMatchesNumberOrName_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("numbers");
        QTest::newRow("number and name") << u"12"_s << "112,12,3";
        QTest::newRow("apostrophe") << u"o'n"_s << "5";
        QTest::newRow("wildcard") << u"Hal*2"_s << "3";
        QTest::newRow("percent is a plain character") << u"%"_s << "";
        QTest::newRow("cleared") << u""_s << "112,12,5,3,1,7";
    }
    void projectSearchMatchesNumberOrName() {
        QFETCH(QString, typed);
        DatabaseScreen<ProjectManager> f;
        f.db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (1, 'Schule', 38000), "
                  "(3, 'Halle 12b', 38100), (5, 'O''Neill', 38150), (7, 'Ohne Datum', NULL), "
                  "(12, 'Rathaus', 38200), (112, 'Bad', 38717)");
        f.open();
        f.type("txtSuche", "1");
        f.type("txtSuche", typed);
        QTEST(f.column("lvwProjekte", 0), "numbers");
        QVERIFY(f.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(MasterDataTest)
#include "MasterDataTest.moc"
