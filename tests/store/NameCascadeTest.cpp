#include "NameCascade.h"
#include "Database.h"
#include "TestDatabase.h"

#include <QTest>

namespace {

// A small office: projects 3 and 4 both "Altbau", two companies, trades and cost groups that differ only in
// letter case, and the same four copies in bookings and in estimate rows.
void fillOffice(TestDatabase& db) {
    db.clearPresets();
    db.exec(QStringLiteral("INSERT INTO tblProjekt (ID, ProjektName) VALUES (3, 'Altbau'), (4, 'Altbau')"));
    db.exec(QStringLiteral(
        "INSERT INTO tblFirma (ID, Name, GewerkID, KostengruppeID) VALUES "
        "(1, 'Müller Bau', 'Elektro', '440 Elektro'), (2, 'Ärzte Bau', 'ELEKTRO', '440 ELEKTRO')"));
    db.exec(QStringLiteral("INSERT INTO tblGewerk (ID, Gewerk) VALUES (1, 'Elektro'), (2, 'ELEKTRO')"));
    db.exec(QStringLiteral(
        "INSERT INTO tblKostengruppe (ID, Kostengruppe) VALUES (1, '440 Elektro'), (2, '440 ELEKTRO')"));
    for (const QString& table : {QStringLiteral("tblBuchung"), QStringLiteral("tblNachtrag")}) {
        db.exec(QStringLiteral("INSERT INTO %1 (ProjektID, Projekt, Firma, Gewerk, Kostengruppe) VALUES "
                               "('3', 'altbau', 'MÜLLER BAU', 'Elektro', '440 Elektro'), "
                               "('3', 'ALTBAU', 'ärzte bau', 'ELEKTRO', '440 ELEKTRO'), "
                               "('3', 'Altbau Süd', 'Müller Bau Süd', 'Elektro*', '440 Elektro '), "
                               "('4', 'Altbau', 'müller bau', 'Elektro', '440 Elektro')")
                    .arg(table));
    }
}

// The master rows of the four lists, then the copies in bookings and in estimate rows.
QStringList contents(TestDatabase& db) {
    const QString copies = QStringLiteral(
        "SELECT group_concat(ProjektID || '/' || Projekt || '/' || Firma || '/' || Gewerk || '/' || "
        "Kostengruppe, ';') FROM (SELECT * FROM %1 ORDER BY rowid)");
    return {
        db.scalar(QStringLiteral(
            "SELECT (SELECT group_concat(ProjektName || '/' || IFNULL(Datumwert, ''), ';') FROM tblProjekt) "
            "|| '|' || (SELECT group_concat(Name || '/' || GewerkID || '/' || KostengruppeID, ';') FROM "
            "tblFirma) || '|' || (SELECT group_concat(Gewerk, ';') FROM tblGewerk) || '|' || "
            "(SELECT group_concat(Kostengruppe, ';') FROM tblKostengruppe)")),
        db.scalar(copies.arg(QStringLiteral("tblBuchung"))),
        db.scalar(copies.arg(QStringLiteral("tblNachtrag")))};
}

// Renames project 3, or company, trade or cost group 1 (or the missing row 99) to "Neu".
bool rename(Database& db, const QString& cascade, const QString& oldName, bool missing = false) {
    const QString neu = QStringLiteral("Neu");
    const qint64 id = missing ? 99 : cascade == QLatin1String("project") ? 3 : 1;
    NameCascade names(db);
    if (cascade == QLatin1String("project"))
        return names.changeProject(Project{id, neu, 45000}, oldName);
    if (cascade == QLatin1String("company")) {
        Company changed;
        changed.id = id;
        changed.name = neu;
        changed.trade = QStringLiteral("Dach");
        changed.costGroup = QStringLiteral("360 Dächer");
        return names.changeCompany(changed, oldName);
    }
    if (cascade == QLatin1String("trade"))
        return names.changeTrade(NameEntry{id, neu}, oldName);
    return names.changeCostGroup(NameEntry{id, neu}, oldName);
}

} // namespace

// Renaming a master row carries the new name into its copies, by each cascade's own matching rule, in one
// transaction.
class NameCascadeTest : public QObject {
    Q_OBJECT

private slots:
    void renameReachesTheCopiesByEachCascadesRuleOrNothing_data();
    void renameReachesTheCopiesByEachCascadesRuleOrNothing();
    void renameFromAnEmptyNameLeavesEmptyCopies_data();
    void renameFromAnEmptyNameLeavesEmptyCopies();
};

void NameCascadeTest::renameReachesTheCopiesByEachCascadesRuleOrNothing_data() {
    QTest::addColumn<QString>("cascade");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char* cascade, const char* failure, const char* masters,
                        const QStringList& copies) {
        QTest::addRow("%s%s%s", cascade, *failure ? ", " : "", failure)
            << QString::fromLatin1(cascade) << QString::fromLatin1(failure)
            << QStringList{QString::fromUtf8(masters), copies.join(u';'), copies.join(u';')};
    };
    const QString row1 = QStringLiteral("3/altbau/MÜLLER BAU/Elektro/440 Elektro");
    const QString row2 = QStringLiteral("3/ALTBAU/ärzte bau/ELEKTRO/440 ELEKTRO");
    const QString row3 = QStringLiteral("3/Altbau Süd/Müller Bau Süd/Elektro*/440 Elektro ");
    const QString row4 = QStringLiteral("4/Altbau/müller bau/Elektro/440 Elektro");
    row("project", "",
        "Neu/45000;Altbau/|Müller Bau/Elektro/440 Elektro;Ärzte Bau/ELEKTRO/440 ELEKTRO|"
        "Elektro;ELEKTRO|440 Elektro;440 ELEKTRO",
        {"3/Neu/MÜLLER BAU/Elektro/440 Elektro", "3/Neu/ärzte bau/ELEKTRO/440 ELEKTRO", row3, row4});
    row("company", "",
        "Altbau/;Altbau/|Neu/Dach/360 Dächer;Ärzte Bau/ELEKTRO/440 ELEKTRO|"
        "Elektro;ELEKTRO|440 Elektro;440 ELEKTRO",
        {"3/altbau/Neu/Dach/360 Dächer", row2, row3, "4/Altbau/Neu/Dach/360 Dächer"});
    row("trade", "",
        "Altbau/;Altbau/|Müller Bau/Neu/440 Elektro;Ärzte Bau/ELEKTRO/440 ELEKTRO|"
        "Neu;ELEKTRO|440 Elektro;440 ELEKTRO",
        {"3/altbau/MÜLLER BAU/Neu/440 Elektro", row2, row3, "4/Altbau/müller bau/Neu/440 Elektro"});
    row("cost group", "",
        "Altbau/;Altbau/|Müller Bau/Elektro/Neu;Ärzte Bau/ELEKTRO/440 ELEKTRO|"
        "Elektro;ELEKTRO|Neu;440 ELEKTRO",
        {"3/altbau/MÜLLER BAU/Elektro/Neu", row2, row3, "4/Altbau/müller bau/Elektro/Neu"});
    const char* unchanged = "Altbau/;Altbau/|Müller Bau/Elektro/440 Elektro;Ärzte Bau/ELEKTRO/440 ELEKTRO|"
                            "Elektro;ELEKTRO|440 Elektro;440 ELEKTRO";
    for (const char* cascade : {"project", "company", "trade", "cost group"})
        row(cascade, "estimate rows refuse", unchanged, {row1, row2, row3, row4});
    row("trade", "master row deleted", unchanged, {row1, row2, row3, row4});
}

void NameCascadeTest::renameReachesTheCopiesByEachCascadesRuleOrNothing() {
    QFETCH(QString, cascade);
    QFETCH(QString, failure);
    QFETCH(QStringList, expected);
    TestDatabase db;
    fillOffice(db);
    if (failure == QLatin1String("estimate rows refuse"))
        db.exec(QStringLiteral("CREATE TRIGGER readOnly BEFORE UPDATE ON tblNachtrag "
                               "BEGIN SELECT RAISE(ABORT, 'tblNachtrag schreibgeschützt'); END"));
    const bool deleted = failure == QLatin1String("master row deleted");

    const bool written = rename(db.db(), cascade,
                                cascade == QLatin1String("project")   ? QStringLiteral("Altbau")
                                : cascade == QLatin1String("company") ? QStringLiteral("Müller Bau")
                                : cascade == QLatin1String("trade")   ? QStringLiteral("Elektro")
                                                                      : QStringLiteral("440 Elektro"),
                                deleted);

    QCOMPARE(written, failure.isEmpty());
    QVERIFY(failure.isEmpty() ||
            db.db().lastError().contains(deleted ? QStringLiteral("ist nicht mehr vorhanden")
                                                 : QStringLiteral("schreibgeschützt")));
    QVERIFY(!db.db().inTransaction());
    QCOMPARE(contents(db), expected);
}

void NameCascadeTest::renameFromAnEmptyNameLeavesEmptyCopies_data() {
    QTest::addColumn<QString>("cascade");
    for (const char* cascade : {"project", "company", "trade", "cost group"})
        QTest::newRow(cascade) << QString::fromLatin1(cascade);
}

void NameCascadeTest::renameFromAnEmptyNameLeavesEmptyCopies() {
    QFETCH(QString, cascade);
    TestDatabase db;
    fillOffice(db);
    db.exec(
        QStringLiteral("INSERT INTO tblFirma (ID, Name, GewerkID, KostengruppeID) VALUES (3, '', '', '')"));
    for (const QString& table : {QStringLiteral("tblBuchung"), QStringLiteral("tblNachtrag")})
        db.exec(QStringLiteral("INSERT INTO %1 (ProjektID, Projekt, Firma, Gewerk, Kostengruppe) VALUES "
                               "('3', '', '', '', ''), ('3', NULL, NULL, NULL, NULL)")
                    .arg(table));
    const QStringList before = contents(db);

    QVERIFY(rename(db.db(), cascade, QString()));

    const QStringList after = contents(db);
    QVERIFY(after.first() != before.first());
    QCOMPARE(after.mid(1), before.mid(1));
    QCOMPARE(
        db.scalar(QStringLiteral("SELECT Name || GewerkID || KostengruppeID FROM tblFirma WHERE ID = 3")),
        QString());
}

QTEST_GUILESS_MAIN(NameCascadeTest)
#include "NameCascadeTest.moc"
