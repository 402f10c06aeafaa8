#include "NameCascade.h"
#include "Database.h"
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

// Renames project 3, or company, trade or cost group 1 (or the missing row 99) to "Neu".
bool rename(Database& db, const QString& cascade, const QString& oldName, bool missing = false) {
    const qint64 id = missing ? 99 : cascade == "project" ? 3 : 1;
    NameCascade names(db);
    Company changed;
    changed.id = id;
    changed.name = "Neu";
    changed.trade = "Dach";
    changed.costGroup = "360 Dächer";
    return cascade == "project"   ? names.changeProject(Project{id, "Neu", 45000}, oldName)
           : cascade == "company" ? names.changeCompany(changed, oldName)
           : cascade == "trade"   ? names.changeTrade(NameEntry{id, "Neu"}, oldName)
                                  : names.changeCostGroup(NameEntry{id, "Neu"}, oldName);
}

} // namespace

// Renaming a master row carries the new name into its copies, by each cascade's own matching rule, in one
// transaction.
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
        if (failure == "estimate rows refuse")
            StoreFixture::refuse(db, "tblNachtrag", "UPDATE", "tblNachtrag schreibgeschützt");
        const bool deleted = failure == "master row deleted";
        const QString oldName = cascade == "project"   ? u"Altbau"_s
                                : cascade == "company" ? u"Müller Bau"_s
                                : cascade == "trade"   ? u"Elektro"_s
                                                       : u"440 Elektro"_s;

        QCOMPARE(rename(db.db(), cascade, oldName, deleted), failure.isEmpty());

        QVERIFY(failure.isEmpty() ||
                db.db().lastError().contains(deleted ? "ist nicht mehr vorhanden" : "schreibgeschützt"));
        QVERIFY(!db.db().inTransaction());
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

        QVERIFY(rename(db.db(), cascade, QString()));

        const QStringList after = contents(db);
        QVERIFY(after.first() != before.first());
        QCOMPARE(after.mid(1), before.mid(1));
        QCOMPARE(joined(db, "tblFirma", "Name || GewerkID || KostengruppeID", "ID = 3"), QString());
    }
};

QTEST_GUILESS_MAIN(NameCascadeTest)
#include "NameCascadeTest.moc"
