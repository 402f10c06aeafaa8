#include "CompanyRegister.h"
#include "Presets.h"
#include "ProjectManager.h"
#include "ScreenDriver.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"

#include <functional>
#include <memory>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

// The entry flow that the project manager, the company register and both presets tabs share, driven
// through each screen's widgets: edit mode shown and left, saving twice, Escape, Enter, deleting or
// losing the loaded record, and the question before a rename onto a name another record carries.
struct EntryScreen {
    QString list, field, add, edit, remove;
    QString table, nameField;
    // The tab of the presets to show, or -1.
    int tab = -1;
    // The rename that merges copies with another record's, and whether the screen asks before it.
    QString namesake;
    QString renameTitle;
};
Q_DECLARE_METATYPE(EntryScreen)

namespace {

const EntryScreen kProjects{"lvwProjekte", "txtName",    "cmdHinzufuegen", "cmdBearbeiten",
                            "cmdLoeschen", "tblProjekt", "ProjektName",    -1,
                            "zweiter",     QString()};
const EntryScreen kCompanies{"ListView1", "Text1", "Command2", "Command4", "Command3",
                             "tblFirma",  "Name",  -1,         "ZWEITER",  "Firma umbenennen"};
const EntryScreen kTrades{"ListView2", "Text2",  "Command4", "Command6", "Command5",
                          "tblGewerk", "Gewerk", 0,          "Zweiter",  "Gewerk umbenennen"};
const EntryScreen kCostGroups{
    "ListView1",       "Text1",        "Command1", "Command7", "Command2",
    "tblKostengruppe", "Kostengruppe", 1,          "Zweiter",  "Kostenstelle umbenennen"};

struct Fixture {
    EntryScreen entry;
    TestDatabase db;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    Settings settings{dir.filePath("zlv.ini")};
    std::unique_ptr<QWidget> screen;

    // Two records, "Erster" (number 1) and "Zweiter" (number 2).
    explicit Fixture(const EntryScreen& screenUnderTest) : entry(screenUnderTest) {
        db.clearPresets();
        db.exec(QStringLiteral("INSERT INTO %1 (ID, %2) VALUES (1, 'Erster'), (2, 'Zweiter')")
                    .arg(entry.table, entry.nameField));
    }
    ScreenDriver open() {
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
        if (!QTest::qWaitForWindowActive(screen.get()))
            qWarning("screen did not become active");
        return ScreenDriver(*screen);
    }
    // The page holding the list: the screen, or the presets tab.
    QWidget* page() const { return screen->findChild<QWidget*>(entry.list)->parentWidget(); }
    bool editing() const {
        const auto* notice = page()->findChild<QLabel*>("lblBearbeitungsmodus");
        const auto* cancel = page()->findChild<QPushButton*>("cmdBearbeitungAbbrechen");
        if (notice->isHidden() != cancel->isHidden())
            qWarning("edit-mode notice and cancel button disagree");
        return !notice->isHidden() && notice->text() == "Bearbeitungsmodus";
    }
    QString names() {
        return db.scalar(QStringLiteral("SELECT group_concat(%2, ',') FROM (SELECT %2 FROM %1 ORDER BY ID)")
                             .arg(entry.table, entry.nameField));
    }
    QString shownTitles() const {
        QStringList titles;
        for (const ScriptedDialogs::Shown& shown : dialogs.shown)
            titles.append(shown.title);
        return titles.join(',');
    }
};

void screenRows() {
    QTest::addColumn<EntryScreen>("entry");
    QTest::newRow("project manager") << kProjects;
    QTest::newRow("company register") << kCompanies;
    QTest::newRow("presets: trades") << kTrades;
    QTest::newRow("presets: cost groups") << kCostGroups;
}

} // namespace

class EditSessionTest : public QObject {
    Q_OBJECT

private slots:
    // A loaded record shows the notice; saving stores onto it and leaves edit mode, so the next
    // "&Hinzufügen" adds a new record.
    void savingLeavesEditMode_data() { screenRows(); }
    void savingLeavesEditMode() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        ScreenDriver ui = f.open();
        QVERIFY(!f.editing());
        ui.select(entry.list, 0, "1", entry.edit);
        QCOMPARE(ui.text(entry.field), "Erster");
        QVERIFY(f.editing());
        ui.type(entry.field, "Erster neu", entry.add);
        QVERIFY(!f.editing());
        QCOMPARE(ui.text(entry.field), QString());
        ui.type(entry.field, "Dritter", entry.add);
        QCOMPARE(f.names(), "Erster neu,Zweiter,Dritter");
        QCOMPARE(f.shownTitles(), QString());
    }

    // Escape and the cancel button leave edit mode, clear the fields and store nothing; Enter in the
    // name field presses "&Hinzufügen".
    void escapeCancelsAndEnterAdds_data() { screenRows(); }
    void escapeCancelsAndEnterAdds() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        ScreenDriver ui = f.open();
        ui.select(entry.list, 0, "1", entry.edit);
        ui.type(entry.field, "Anders");
        QTest::keyClick(ui.find<QLineEdit>(entry.field), Qt::Key_Escape);
        QVERIFY(!f.editing());
        QCOMPARE(ui.text(entry.field), QString());
        ui.select(entry.list, 0, "2", entry.edit);
        ui.type(entry.field, "Anders");
        QTest::mouseClick(f.page()->findChild<QPushButton*>("cmdBearbeitungAbbrechen"), Qt::LeftButton);
        QVERIFY(!f.editing());
        QCOMPARE(f.names(), "Erster,Zweiter");

        ui.type(entry.field, "Dritter");
        QTest::keyClick(ui.find<QLineEdit>(entry.field), Qt::Key_Return);
        QCOMPARE(f.names(), "Erster,Zweiter,Dritter");
        QCOMPARE(ui.text(entry.field), QString());
        QCOMPARE(f.shownTitles(), QString());
    }

    // Deleting the loaded record here leaves edit mode; one deleted elsewhere makes the save say so,
    // store nothing and keep the entry, which the next "&Hinzufügen" adds as a new record.
    void loadedRecordDeleted_data() { screenRows(); }
    void loadedRecordDeleted() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        ScreenDriver ui = f.open();
        ui.select(entry.list, 0, "1", entry.edit);
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        ui.select(entry.list, 0, "2", entry.remove);
        QVERIFY(f.editing());
        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        ui.select(entry.list, 0, "1", entry.remove);
        QVERIFY(!f.editing());
        QCOMPARE(ui.text(entry.field) + '|' + f.names(), "|");

        ui.type(entry.field, "Fuenfter", entry.add);
        ui.select(entry.list, 1, "Fuenfter", entry.edit);
        f.db.exec(QStringLiteral("DELETE FROM %1").arg(entry.table));
        ui.type(entry.field, "Fuenfter neu", entry.add);
        QCOMPARE(f.dialogs.shown.size(), 3);
        QCOMPARE(f.dialogs.shown.last().title, "Speichern nicht möglich");
        QVERIFY(f.dialogs.lastText().contains("nicht mehr vorhanden"));
        QCOMPARE(ui.text(entry.field) + '|' + f.names(), "Fuenfter neu|");
        QVERIFY(!f.editing());
        ui.click(entry.add);
        QCOMPARE(f.names(), "Fuenfter neu");
    }

    // Renaming onto a name that another record carries (as the cascade matches names) asks first: No
    // stores nothing and keeps the entry in edit mode, Yes renames. Projects are matched by number and
    // never ask.
    void renameOntoExistingNameAsks_data() { screenRows(); }
    void renameOntoExistingNameAsks() {
        QFETCH(EntryScreen, entry);
        Fixture f(entry);
        ScreenDriver ui = f.open();
        ui.select(entry.list, 0, "1", entry.edit);
        ui.type(entry.field, entry.namesake, entry.add);
        if (entry.renameTitle.isEmpty()) {
            QCOMPARE(f.shownTitles(), QString());
            QCOMPARE(f.names(), entry.namesake + ",Zweiter");
            return;
        }
        QCOMPARE(f.shownTitles(), entry.renameTitle);
        QCOMPARE(f.dialogs.shown.last().icon, Dialogs::Icon::Warning);
        QCOMPARE(f.dialogs.shown.last().defaultButton, Dialogs::Answer::No);
        QVERIFY(f.dialogs.lastText().startsWith(QStringLiteral("%1 '%2' ist bereits vorhanden.")
                                                    .arg(entry.table == "tblGewerk"  ? "Ein Gewerk"
                                                         : entry.table == "tblFirma" ? "Eine Firma"
                                                                                     : "Eine Kostenstelle",
                                                         entry.namesake)));
        QVERIFY(f.dialogs.lastText().endsWith("lassen sich nicht mehr trennen. Trotzdem umbenennen?"));
        QCOMPARE(f.names() + '|' + ui.text(entry.field), "Erster,Zweiter|" + entry.namesake);
        QVERIFY(f.editing());

        f.dialogs.answers.enqueue(Dialogs::Answer::Yes);
        ui.click(entry.add);
        QCOMPARE(f.names(), entry.namesake + ",Zweiter");
        QVERIFY(!f.editing());

        // Renaming 2 to "zweiter", which record 3 carries: the cascade of a company already treats them
        // as one name and asks nothing, a trade's or cost group's tells them apart and asks.
        f.db.exec(QStringLiteral("INSERT INTO %1 (ID, %2) VALUES (3, 'zweiter')")
                      .arg(entry.table, entry.nameField));
        ui.select(entry.list, 0, "2", entry.edit);
        ui.type(entry.field, "zweiter", entry.add);
        if (entry.table == "tblFirma") {
            QCOMPARE(f.dialogs.shown.size(), 2);
            QCOMPARE(f.names(), entry.namesake + ",zweiter,zweiter");
        } else {
            QCOMPARE(f.dialogs.shown.size(), 3);
            QCOMPARE(f.names(), entry.namesake + ",Zweiter,zweiter");
        }
    }
};

QTEST_MAIN(EditSessionTest)
#include "EditSessionTest.moc"
