#include "Database.h"
#include "Registers.h"
#include "SaveCompany.h"
#include "SaveNameEntry.h"
#include "SaveProject.h"
#include "Session.h"
#include "StoreFixture.h"

#include <QTest>

using namespace Qt::StringLiterals;
using StoreFixture::joined;

namespace {

// A small office: projects 3 and 4 both "Altbau", two companies, trades and cost groups that differ only in
// letter case, and the same four copies in bookings and in estimate rows.
void fillOffice(TestDatabase& db) {
    db.clearPresets();
    db.exec("INSERT INTO tblProjekt (ID, ProjektName) VALUES (3, 'Altbau'), (4, 'Altbau')");
    db.exec("INSERT INTO tblFirma (ID, Name, GewerkID, KostengruppeID) VALUES "
            "(1, 'Müller Bau', 'Elektro', '440 Elektro'), (2, 'Ärzte Bau', 'ELEKTRO', '440 ELEKTRO')");
    db.exec("INSERT INTO tblGewerk (ID, Gewerk) VALUES (1, 'Elektro'), (2, 'ELEKTRO')");
    db.exec("INSERT INTO tblKostengruppe (ID, Kostengruppe) VALUES (1, '440 Elektro'), (2, '440 ELEKTRO')");
    for (const QString table : {"tblBuchung", "tblNachtrag"})
        db.exec(u"INSERT INTO %1 (ProjektID, Projekt, Firma, Gewerk, Kostengruppe) VALUES "
                "('3', 'altbau', 'MÜLLER BAU', 'Elektro', '440 Elektro'), "
                "('3', 'ALTBAU', 'ärzte bau', 'ELEKTRO', '440 ELEKTRO'), "
                "('3', 'Altbau Süd', 'Müller Bau Süd', 'Elektro*', '440 Elektro '), "
                "('4', 'Altbau', 'müller bau', 'Elektro', '440 Elektro')"_s.arg(table));
}

// The master rows of the four lists, then the copies in bookings and in estimate rows.
QStringList contents(TestDatabase& db) {
    const QString copy =
        u"ProjektID || '/' || Projekt || '/' || Firma || '/' || Gewerk || '/' || Kostengruppe"_s;
    return {joined(db, "tblProjekt", "ProjektName || '/' || COALESCE(CAST(Datumwert AS TEXT), '')", "1 = 1",
                   ";") +
                '|' +
                joined(db, "tblFirma", "Name || '/' || GewerkID || '/' || KostengruppeID", "1 = 1", ";") +
                '|' + joined(db, "tblGewerk", "Gewerk", "1 = 1", ";") + '|' +
                joined(db, "tblKostengruppe", "Kostengruppe", "1 = 1", ";"),
            joined(db, "tblBuchung", copy, "1 = 1", ";"), joined(db, "tblNachtrag", copy, "1 = 1", ";")};
}

// Renames project 3, or company, trade or cost group 1 (or the missing row 99) to "Neu", as loaded by
// loaded (nothing loaded: no check).
Outcome rename(Session& session, const QString& cascade, const QString& oldName, bool missing = false,
               const AsLoaded& loaded = {}) {
    const qint64 id = missing ? 99 : cascade == "project" ? 3 : 1;
    Company changed;
    changed.id = id;
    changed.name = "Neu";
    changed.trade = "Dach";
    changed.costGroup = "360 Dächer";
    return cascade == "project"
               ? SaveProject(session).change(Project{id, "Neu", 45000}, oldName, std::nullopt, loaded)
           : cascade == "company" ? SaveCompany(session).change(changed, oldName, loaded)
           : cascade == "trade"
               ? SaveNameEntry(session, NameList::Trades).change({id, "Neu"}, oldName, loaded)
               : SaveNameEntry(session, NameList::CostGroups).change({id, "Neu"}, oldName, loaded);
}

// The row the cascade renames, as loaded for editing.
AsLoaded load(Session& session, const QString& cascade) {
    const Registers registers(session);
    return cascade == "project"   ? registers.projectForEditing(3).value->asLoaded
           : cascade == "company" ? registers.companyForEditing(1).value->asLoaded
           : cascade == "trade"   ? registers.nameForEditing(NameList::Trades, 1).value->asLoaded
                                  : registers.nameForEditing(NameList::CostGroups, 1).value->asLoaded;
}

} // namespace

// Saving a master row carries its new name into its copies, by each cascade's own matching rule, in one
// transaction, and only while the row is still as loaded.
class NameCascadeTest : public QObject {
    Q_OBJECT

private slots:
    void renameReachesTheCopiesByEachCascadesRuleOrNothing_data() {
        QTest::addColumn<QString>("cascade");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* cascade, const char* failure, const char* masters,
                            const QStringList& copies) {
            QTest::addRow("%s%s%s", cascade, *failure ? ", " : "", failure)
                << QString::fromLatin1(cascade) << QString::fromLatin1(failure)
                << QStringList{QString::fromUtf8(masters), copies.join(u';'), copies.join(u';')};
        };
        const QString row1 = u"3/altbau/MÜLLER BAU/Elektro/440 Elektro"_s;
        const QString row2 = u"3/ALTBAU/ärzte bau/ELEKTRO/440 ELEKTRO"_s;
        const QString row3 = u"3/Altbau Süd/Müller Bau Süd/Elektro*/440 Elektro "_s;
        const QString row4 = u"4/Altbau/müller bau/Elektro/440 Elektro"_s;
        row("project", "",
            "Neu/45000;Altbau/|Müller Bau/Elektro/440 Elektro;Ärzte Bau/ELEKTRO/440 ELEKTRO|"
            "Elektro;ELEKTRO|440 Elektro;440 ELEKTRO",
            {"3/Neu/MÜLLER BAU/Elektro/440 Elektro", "3/Neu/ärzte bau/ELEKTRO/440 ELEKTRO", row3, row4});
        row("company", "",
            "Altbau/;Altbau/|Neu/Dach/360 Dächer;Ärzte Bau/ELEKTRO/440 ELEKTRO|Elektro;ELEKTRO|440 "
            "Elektro;440 ELEKTRO",
            {"3/altbau/Neu/Dach/360 Dächer", row2, row3, "4/Altbau/Neu/Dach/360 Dächer"});
        row("trade", "",
            "Altbau/;Altbau/|Müller Bau/Neu/440 Elektro;Ärzte Bau/ELEKTRO/440 ELEKTRO|Neu;ELEKTRO|440 "
            "Elektro;440 ELEKTRO",
            {"3/altbau/MÜLLER BAU/Neu/440 Elektro", row2, row3, "4/Altbau/müller bau/Neu/440 Elektro"});
        row("cost group", "",
            "Altbau/;Altbau/|Müller Bau/Elektro/Neu;Ärzte Bau/ELEKTRO/440 ELEKTRO|Elektro;ELEKTRO|Neu;440 "
            "ELEKTRO",
            {"3/altbau/MÜLLER BAU/Elektro/Neu", row2, row3, "4/Altbau/müller bau/Elektro/Neu"});
        const char* unchanged =
            "Altbau/;Altbau/|Müller Bau/Elektro/440 Elektro;Ärzte Bau/ELEKTRO/440 ELEKTRO|"
            "Elektro;ELEKTRO|440 Elektro;440 ELEKTRO";
        for (const char* cascade : {"project", "company", "trade", "cost group"})
            row(cascade, "estimate rows refuse", unchanged, {row1, row2, row3, row4});
        row("trade", "master row deleted", unchanged, {row1, row2, row3, row4});
    }
    void renameReachesTheCopiesByEachCascadesRuleOrNothing() {
        QFETCH(QString, cascade);
        QFETCH(QString, failure);
        TestDatabase db;
        fillOffice(db);
        const std::unique_ptr<Session> session = Session::open(db.path());
        if (failure == "estimate rows refuse")
            StoreFixture::refuse(db, "tblNachtrag", "UPDATE", "tblNachtrag schreibgeschützt");
        const bool deleted = failure == "master row deleted";
        const QString oldName = cascade == "project"   ? u"Altbau"_s
                                : cascade == "company" ? u"Müller Bau"_s
                                : cascade == "trade"   ? u"Elektro"_s
                                                       : u"440 Elektro"_s;

        const quint64 writes = session->writes();
        const Outcome outcome = rename(*session, cascade, oldName, deleted);

        QCOMPARE(outcome.ok(), failure.isEmpty());
        QCOMPARE(session->writes(), writes + (outcome.ok() ? 1 : 0));
        QVERIFY(failure.isEmpty() ||
                outcome.text().contains(deleted ? "ist nicht mehr vorhanden" : "schreibgeschützt"));
        QVERIFY(!session->database().inTransaction());
        QTEST(contents(db), "expected");
    }

    void renameFromAnEmptyNameLeavesEmptyCopies_data() {
        QTest::addColumn<QString>("cascade");
        for (const char* cascade : {"project", "company", "trade", "cost group"})
            QTest::newRow(cascade) << QString::fromLatin1(cascade);
    }
    void renameFromAnEmptyNameLeavesEmptyCopies() {
        QFETCH(QString, cascade);
        TestDatabase db;
        fillOffice(db);
        db.exec("INSERT INTO tblFirma (ID, Name, GewerkID, KostengruppeID) VALUES (3, '', '', '')");
        for (const QString table : {"tblBuchung", "tblNachtrag"})
            db.exec(u"INSERT INTO %1 (ProjektID, Projekt, Firma, Gewerk, Kostengruppe) VALUES "
                    "('3', '', '', '', ''), ('3', NULL, NULL, NULL, NULL)"_s.arg(table));
        const QStringList before = contents(db);

        QVERIFY(rename(*Session::open(db.path()), cascade, QString()).ok());

        const QStringList after = contents(db);
        QVERIFY(after.first() != before.first());
        QCOMPARE(after.mid(1), before.mid(1));
        QCOMPARE(joined(db, "tblFirma", "Name || GewerkID || KostengruppeID", "ID = 3"), QString());
    }

    // A row changed or deleted at another workstation since it was loaded is not overwritten: nothing is
    // stored and the outcome says why. Loaded anew, the change is stored.
    void rowChangedSinceLoadedIsNotOverwritten_data() {
        QTest::addColumn<QString>("cascade");
        QTest::addColumn<QString>("elsewhere");
        QTest::addColumn<Outcome::Kind>("kind");
        const QList<std::pair<const char*, const char*>> rows{
            {"project", "tblProjekt SET ProjektName"},
            {"company", "tblFirma SET Ort"},
            {"trade", "tblGewerk SET Gewerk"},
            {"cost group", "tblKostengruppe SET Kostengruppe"}};
        for (const auto& [cascade, field] : rows) {
            const QString table = QString::fromLatin1(field).section(' ', 0, 0);
            QTest::addRow("%s changed", cascade)
                << cascade << u"UPDATE %1 = 'anders'"_s.arg(QString::fromLatin1(field))
                << Outcome::Kind::Changed;
            QTest::addRow("%s deleted", cascade) << cascade << "DELETE FROM " + table << Outcome::Kind::Gone;
        }
        const QString budget = "INSERT INTO tblBudget (ProjektID, Budget) VALUES (3, 100)";
        QTest::newRow("budget set") << "project" << budget << Outcome::Kind::Changed;
        QTest::newRow("budget changed")
            << "project" << budget + ";UPDATE tblBudget SET Budget = 200" << Outcome::Kind::Changed;
        QTest::newRow("budget removed")
            << "project" << budget + ";DELETE FROM tblBudget" << Outcome::Kind::Changed;
    }
    void rowChangedSinceLoadedIsNotOverwritten() {
        QFETCH(QString, cascade);
        QFETCH(QString, elsewhere);
        TestDatabase db;
        fillOffice(db);
        const std::unique_ptr<Session> session = Session::open(db.path());
        QStringList statements = elsewhere.split(';');
        if (statements.size() > 1)
            db.exec(statements.takeFirst());
        const AsLoaded loaded = load(*session, cascade);
        db.exec(statements.first());
        const QStringList before =
            contents(db) + QStringList(db.scalar("SELECT COALESCE(MAX(Budget), -1) FROM tblBudget"));

        const Outcome outcome = rename(*session, cascade, "Altbau", false, loaded);

        QTEST(outcome.kind(), "kind");
        QCOMPARE(contents(db) + QStringList(db.scalar("SELECT COALESCE(MAX(Budget), -1) FROM tblBudget")),
                 before);
        QVERIFY(!session->database().inTransaction());
        if (outcome.kind() == Outcome::Kind::Changed)
            QVERIFY2(rename(*session, cascade, "Altbau", false, load(*session, cascade)).ok(),
                     qPrintable(outcome.text()));
    }
};

QTEST_GUILESS_MAIN(NameCascadeTest)
#include "NameCascadeTest.moc"
