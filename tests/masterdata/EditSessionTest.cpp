#include "CompanyRegister.h"
#include "Presets.h"
#include "ProjectManager.h"
#include "ScreenFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

using namespace Qt::StringLiterals;

// The entry flow that the project manager, the company register and both presets tabs share, driven
// through each screen's widgets.
struct EntryScreen {
    QString list, field, add, edit, remove;
    // The table and its name field, and the field of the bookings and estimate rows copying the name.
    QString table, nameField, copyField;
    int tab; // the tab of the presets to show, or -1
    // That field of the copies (of project 1 "ERSTER", of project 2 "Erster" and "Zweiter") after "Erster"
    // is renamed to "Neu".
    QString copiesAfterRename;
    // The question before deleting number 2, "Zweiter".
    QString deleteQuestion;
    Dialogs::Icon deleteIcon;
    // The rename that merges copies with another record's, and the title of the question before it.
    QString namesake, renameTitle;
};
Q_DECLARE_METATYPE(EntryScreen)

namespace {

// widgets: list, field and the buttons to add, edit and remove; fields: table, name field, copy field.
EntryScreen entryScreen(const QString& widgets, const QString& fields, int tab, const QString& copies,
                        const QString& deleteQuestion, Dialogs::Icon icon, const QString& namesake,
                        const QString& renameTitle = {}) {
    const QStringList w = widgets.split(' '), f = fields.split(' ');
    return {w[0],
            w[1],
            w[2],
            w[3],
            w[4],
            f[0],
            f[1],
            f[2],
            tab,
            copies,
            deleteQuestion + u" löschen?          "_s,
            icon,
            namesake,
            renameTitle};
}

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
        if (entry.table == "tblProjekt")
            screen = std::make_unique<ProjectManager>(db.path(), dialogs);
        else if (entry.table == "tblFirma")
            screen = std::make_unique<CompanyRegister>(db.path(), dialogs);
        else
            screen = std::make_unique<Presets>(db.path(), dialogs, settings);
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
    QTest::newRow("project manager") << entryScreen(
        "lvwProjekte txtName cmdHinzufuegen cmdBearbeiten cmdLoeschen", "tblProjekt ProjektName Projekt", -1,
        "Neu,Erster,Zweiter", "Projekt löschen? : Projekt 'Zweiter'", Dialogs::Icon::Critical, "zweiter");
    QTest::newRow("company register") << entryScreen(
        "ListView1 Text1 Command2 Command4 Command3", "tblFirma Name Firma", -1, "Neu,Neu,Zweiter",
        "Firma löschen: Nr. '2'", Dialogs::Icon::Question, "ZWEITER", "Firma umbenennen");
    QTest::newRow("presets: trades") << entryScreen(
        "ListView2 Text2 Command4 Command6 Command5", "tblGewerk Gewerk Gewerk", 0, "ERSTER,Neu,Zweiter",
        "Gewerk löschen: LfdNr: 2", Dialogs::Icon::Question, "Zweiter", "Gewerk umbenennen");
    QTest::newRow("presets: cost groups") << entryScreen(
        "ListView1 Text1 Command1 Command7 Command2", "tblKostengruppe Kostengruppe Kostengruppe", 1,
        "ERSTER,Neu,Zweiter", "Kostenstelle löschen: LfdNr: 2", Dialogs::Icon::Question, "Zweiter",
        "Kostenstelle umbenennen");
}

} // namespace

class EditSessionTest : public QObject {
    Q_OBJECT

private slots:
    // "Bearbeiten" loads a record and shows the notice; saving stores onto the loaded record, whatever row is
    // selected then, and carries the name into its copies by the screen's rule. A save the database refuses
    // keeps entry, edit mode and rows; a save that works leaves edit mode, so the next "&Hinzufügen" adds.
    void savingRenamesTheLoadedRecordAndItsCopies_data() { screenRows(); }
    void savingRenamesTheLoadedRecordAndItsCopies() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        f.refuseWrites();
        f.open();
        QVERIFY(!f.editing());
        f.select(entry.list, 0, "1", entry.edit);
        QCOMPARE(f.text(entry.field), "Erster");
        QVERIFY(f.editing());
        f.select(entry.list, 0, "2");
        f.type(entry.field, "Neu", entry.add);
        QVERIFY(f.messages().startsWith("Speichern nicht möglich: "));
        QVERIFY(f.editing());
        QCOMPARE(f.text(entry.field) + '|' + f.names() + '|' + f.bookings(entry.copyField),
                 "Neu|Erster,Zweiter|ERSTER,Erster,Zweiter");

        f.refuseWrites(false);
        f.click(entry.add);
        QCOMPARE(f.names() + '|' + f.bookings(entry.copyField), "Neu,Zweiter|" + entry.copiesAfterRename);
        QVERIFY(!f.editing());
        QVERIFY(f.column(entry.list, 1).contains("Neu"));
        QCOMPARE(f.text(entry.field), QString());
        f.type(entry.field, "Dritter", entry.add);
        QCOMPARE(f.names(), "Neu,Zweiter,Dritter");
        QCOMPARE(f.dialogs.shown.size(), 1);
    }

    // Escape and the cancel button leave edit mode, clear the fields and store nothing; Enter in the
    // name field presses "&Hinzufügen".
    void escapeCancelsAndEnterAdds_data() { screenRows(); }
    void escapeCancelsAndEnterAdds() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        f.open();
        f.select(entry.list, 0, "1", entry.edit);
        f.type(entry.field, "Anders");
        QTest::keyClick(f.find<QLineEdit>(entry.field), Qt::Key_Escape);
        QVERIFY(!f.editing());
        QCOMPARE(f.text(entry.field), QString());
        f.select(entry.list, 0, "2", entry.edit);
        f.type(entry.field, "Anders");
        QTest::mouseClick(f.page()->findChild<QPushButton*>("cmdBearbeitungAbbrechen"), Qt::LeftButton);
        QVERIFY(!f.editing());
        QCOMPARE(f.names(), "Erster,Zweiter");

        f.type(entry.field, "Dritter");
        QTest::keyClick(f.find<QLineEdit>(entry.field), Qt::Key_Return);
        QCOMPARE(f.names() + '|' + f.text(entry.field), "Erster,Zweiter,Dritter|");
        QVERIFY(f.dialogs.shown.isEmpty());
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
        QCOMPARE(f.messages(), entry.deleteQuestion);
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
        QCOMPARE(f.dialogs.shown.last().title, "Speichern nicht möglich");
        QVERIFY(f.dialogs.lastText().contains("nicht mehr vorhanden"));
        QCOMPARE(f.text(entry.field) + '|' + f.names(), "Fuenfter neu|");
        QVERIFY(!f.editing());
        f.click(entry.add);
        QCOMPARE(f.names(), "Fuenfter neu");
    }

    // Renaming onto a name that another record carries (as the cascade matches names) asks first: No
    // stores nothing and keeps the entry in edit mode, Yes renames. Projects are matched by number and
    // never ask.
    void renameOntoExistingNameAsks_data() { screenRows(); }
    void renameOntoExistingNameAsks() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        f.open();
        f.select(entry.list, 0, "1", entry.edit);
        f.type(entry.field, entry.namesake, entry.add);
        if (entry.renameTitle.isEmpty()) {
            QVERIFY(f.dialogs.shown.isEmpty());
            QCOMPARE(f.names(), entry.namesake + ",Zweiter");
            return;
        }
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Warning);
        QCOMPARE(f.dialogs.shown.last().defaultButton, Dialogs::Answer::No);
        QVERIFY(f.messages().startsWith(
            entry.renameTitle +
            u": %1 '%2' ist bereits vorhanden."_s.arg(entry.table == "tblGewerk"  ? "Ein Gewerk"
                                                      : entry.table == "tblFirma" ? "Eine Firma"
                                                                                  : "Eine Kostenstelle",
                                                      entry.namesake)));
        QVERIFY(f.dialogs.lastText().endsWith("lassen sich nicht mehr trennen. Trotzdem umbenennen?"));
        QCOMPARE(f.names() + '|' + f.text(entry.field), "Erster,Zweiter|" + entry.namesake);
        QVERIFY(f.editing());

        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        f.click(entry.add);
        QCOMPARE(f.names(), entry.namesake + ",Zweiter");
        QVERIFY(!f.editing());

        // Renaming 2 to "zweiter", which record 3 carries: the cascade of a company already treats them
        // as one name and asks nothing, a trade's or cost group's tells them apart and asks.
        f.db.exec(u"INSERT INTO %1 (ID, %2) VALUES (3, 'zweiter')"_s.arg(entry.table, entry.nameField));
        f.select(entry.list, 0, "2", entry.edit);
        f.type(entry.field, "zweiter", entry.add);
        const bool company = entry.table == "tblFirma";
        QCOMPARE(f.dialogs.shown.size(), company ? 2 : 3);
        QCOMPARE(f.names(), entry.namesake + (company ? ",zweiter,zweiter" : ",Zweiter,zweiter"));
    }
};

QTEST_MAIN(EditSessionTest)
#include "EditSessionTest.moc"
