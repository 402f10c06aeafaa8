#include "NameCascade.h"
#include "Database.h"
#include "TestDatabase.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

// Every row of every table, so that "nothing changed" can be compared.
QString contents(Database& db) {
    QString dump;
    for (const QString& table :
         {QStringLiteral("tblProjekt"), QStringLiteral("tblFirma"), QStringLiteral("tblGewerk"),
          QStringLiteral("tblKostengruppe"), QStringLiteral("tblBuchung"), QStringLiteral("tblNachtrag")}) {
        QSqlQuery query(db.connection());
        if (!db.run(query, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table)))
            return db.lastError();
        while (query.next()) {
            dump += table;
            for (int column = 0; column < query.record().count(); ++column)
                dump += QLatin1Char('|') + Database::text(query, column);
            dump += QLatin1Char('\n');
        }
    }
    return dump;
}

void addCopy(TestDatabase& db, const QString& table, const QString& projectId, const QString& project,
             const QString& company, const QString& trade, const QString& costGroup) {
    db.exec(QStringLiteral(
                "INSERT INTO %1 (ProjektID, Projekt, Firma, Gewerk, Kostengruppe) VALUES (?, ?, ?, ?, ?)")
                .arg(table),
            {projectId, project, company, trade, costGroup});
}

// The rows of table as "ProjektID/Projekt/Firma/Gewerk/Kostengruppe", in order of entry.
QStringList copies(TestDatabase& db, const QString& table) {
    return db
        .scalar(QStringLiteral(
                    "SELECT group_concat(ProjektID || '/' || Projekt || '/' || Firma || '/' || Gewerk || "
                    "'/' || Kostengruppe, ';') FROM (SELECT * FROM %1 ORDER BY rowid)")
                    .arg(table))
        .split(QLatin1Char(';'));
}

// A small office: project 3 "Altbau", project 4 also "Altbau", a company, trades and cost groups, with
// copies in bookings and estimate rows that differ in letter case.
void fillOffice(TestDatabase& db) {
    db.clearPresets();
    db.exec(QStringLiteral("INSERT INTO tblProjekt (ID, ProjektName) VALUES (3, 'Altbau'), (4, 'Altbau')"));
    db.exec(QStringLiteral(
        "INSERT INTO tblFirma (ID, Name, GewerkID, KostengruppeID) VALUES "
        "(1, 'Müller Bau', 'Elektro', '440 Elektro'), (2, 'Ärzte Bau', 'ELEKTRO', '440 ELEKTRO')"));
    db.exec(QStringLiteral("INSERT INTO tblGewerk (ID, Gewerk) VALUES (1, 'Elektro'), (2, 'ELEKTRO')"));
    db.exec(QStringLiteral("INSERT INTO tblKostengruppe (ID, Kostengruppe) VALUES (1, '440 Elektro'), "
                           "(2, '440 ELEKTRO')"));
    for (const QString& table : {QStringLiteral("tblBuchung"), QStringLiteral("tblNachtrag")}) {
        addCopy(db, table, "3", "altbau", "MÜLLER BAU", "Elektro", "440 Elektro");
        addCopy(db, table, "3", "ALTBAU", "ärzte bau", "ELEKTRO", "440 ELEKTRO");
        addCopy(db, table, "3", "Altbau Süd", "Müller Bau Süd", "Elektro*", "440 Elektro ");
        addCopy(db, table, "4", "Altbau", "müller bau", "Elektro", "440 Elektro");
    }
}

} // namespace

// Renaming a master row carries the new name into its copies, by each cascade's own matching rule, in one
// transaction.
class NameCascadeTest : public QObject {
    Q_OBJECT

private slots:
    void projectRename();
    void companyRename();
    void companyKeepsNameButChangesTrade();
    void exactRename_data();
    void exactRename();
    void failureMidwayChangesNothing_data();
    void failureMidwayChangesNothing();
};

void NameCascadeTest::projectRename() {
    TestDatabase db;
    QVERIFY(db.isValid());
    fillOffice(db);
    QVERIFY2(NameCascade(db.db()).changeProject(Project{3, QStringLiteral("Neubau"), 45000},
                                                QStringLiteral("Altbau")),
             qPrintable(db.db().lastError()));
    QCOMPARE(db.scalar(QStringLiteral("SELECT ProjektName || '/' || Datumwert FROM tblProjekt WHERE ID = 3")),
             QStringLiteral("Neubau/45000"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT ProjektName FROM tblProjekt WHERE ID = 4")),
             QStringLiteral("Altbau"));
    for (const QString& table : {QStringLiteral("tblBuchung"), QStringLiteral("tblNachtrag")}) {
        QStringList projects;
        for (const QString& row : copies(db, table))
            projects += row.section(QLatin1Char('/'), 0, 1);
        QCOMPARE(projects, (QStringList{"3/Neubau", "3/Neubau", "3/Altbau Süd", "4/Altbau"}));
    }
}

void NameCascadeTest::companyRename() {
    TestDatabase db;
    QVERIFY(db.isValid());
    fillOffice(db);
    Company changed;
    changed.id = 1;
    changed.name = QStringLiteral("Müller Bau GmbH");
    changed.town = QStringLiteral("Köln");
    changed.trade = QStringLiteral("Elektroanlagen");
    changed.costGroup = QStringLiteral("440 Elektrische Anlagen");
    QVERIFY2(NameCascade(db.db()).changeCompany(changed, QStringLiteral("Müller Bau")),
             qPrintable(db.db().lastError()));
    QCOMPARE(
        db.scalar(QStringLiteral("SELECT Name || '/' || Ort || '/' || GewerkID FROM tblFirma WHERE ID = 1")),
        QStringLiteral("Müller Bau GmbH/Köln/Elektroanlagen"));
    const QString renamed = QStringLiteral("/Müller Bau GmbH/Elektroanlagen/440 Elektrische Anlagen");
    for (const QString& table : {QStringLiteral("tblBuchung"), QStringLiteral("tblNachtrag")}) {
        QCOMPARE(copies(db, table),
                 (QStringList{"3/altbau" + renamed, "3/ALTBAU/ärzte bau/ELEKTRO/440 ELEKTRO",
                              "3/Altbau Süd/Müller Bau Süd/Elektro*/440 Elektro ", "4/Altbau" + renamed}));
    }
}

void NameCascadeTest::companyKeepsNameButChangesTrade() {
    TestDatabase db;
    QVERIFY(db.isValid());
    fillOffice(db);
    Company changed;
    changed.id = 2;
    changed.name = QStringLiteral("Ärzte Bau");
    changed.trade = QStringLiteral("Dach");
    changed.costGroup = QStringLiteral("360 Dächer");
    QVERIFY(NameCascade(db.db()).changeCompany(changed, QStringLiteral("Ärzte Bau")));
    QCOMPARE(copies(db, QStringLiteral("tblBuchung")).at(1),
             QStringLiteral("3/ALTBAU/Ärzte Bau/Dach/360 Dächer"));
    QCOMPARE(copies(db, QStringLiteral("tblNachtrag")).at(1),
             QStringLiteral("3/ALTBAU/Ärzte Bau/Dach/360 Dächer"));
}

void NameCascadeTest::exactRename_data() {
    QTest::addColumn<bool>("trade");
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("newName");
    QTest::newRow("trade") << true << "Elektro"
                           << "Elektroinstallation";
    QTest::newRow("cost group") << false << "440 Elektro"
                                << "440 Elektrische Anlagen";
}

void NameCascadeTest::exactRename() {
    QFETCH(bool, trade);
    QFETCH(QString, oldName);
    QFETCH(QString, newName);
    TestDatabase db;
    QVERIFY(db.isValid());
    fillOffice(db);
    NameCascade cascade(db.db());
    QVERIFY2(trade ? cascade.changeTrade(NameEntry{1, newName}, oldName)
                   : cascade.changeCostGroup(NameEntry{1, newName}, oldName),
             qPrintable(db.db().lastError()));
    const QString listTable = trade ? QStringLiteral("tblGewerk") : QStringLiteral("tblKostengruppe");
    const QString listField = trade ? QStringLiteral("Gewerk") : QStringLiteral("Kostengruppe");
    const QString companyField = trade ? QStringLiteral("GewerkID") : QStringLiteral("KostengruppeID");
    const QString upper = oldName.toUpper();
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(%1, ';') FROM (SELECT %1 FROM %2 ORDER BY ID)")
                           .arg(listField, listTable)),
             newName + QLatin1Char(';') + upper);
    QCOMPARE(
        db.scalar(QStringLiteral("SELECT group_concat(%1, ';') FROM (SELECT %1 FROM tblFirma ORDER BY ID)")
                      .arg(companyField)),
        newName + QLatin1Char(';') + upper);
    const int field = trade ? 3 : 4;
    for (const QString& table : {QStringLiteral("tblBuchung"), QStringLiteral("tblNachtrag")}) {
        QStringList values;
        for (const QString& row : copies(db, table))
            values += row.section(QLatin1Char('/'), field, field);
        QCOMPARE(values, (QStringList{newName, upper, trade ? "Elektro*" : "440 Elektro ", newName}));
    }
}

void NameCascadeTest::failureMidwayChangesNothing_data() {
    QTest::addColumn<QString>("cascade");
    QTest::addColumn<bool>("masterDeleted");
    for (const char* cascade : {"project", "company", "trade", "cost group"}) {
        QTest::addRow("%s, estimate rows refuse", cascade) << QString::fromLatin1(cascade) << false;
        QTest::addRow("%s, master row deleted", cascade) << QString::fromLatin1(cascade) << true;
    }
}

void NameCascadeTest::failureMidwayChangesNothing() {
    QFETCH(QString, cascade);
    QFETCH(bool, masterDeleted);
    TestDatabase db;
    QVERIFY(db.isValid());
    fillOffice(db);
    const qint64 id = masterDeleted ? 99 : 1;
    if (!masterDeleted)
        db.exec(QStringLiteral("CREATE TRIGGER readOnly BEFORE UPDATE ON tblNachtrag "
                               "BEGIN SELECT RAISE(ABORT, 'Nachträge schreibgeschützt'); END"));
    const QString before = contents(db.db());

    NameCascade names(db.db());
    bool written = true;
    if (cascade == QLatin1String("project")) {
        written = names.changeProject(Project{masterDeleted ? id : 3, QStringLiteral("Neubau"), std::nullopt},
                                      QStringLiteral("Altbau"));
    } else if (cascade == QLatin1String("company")) {
        Company changed;
        changed.id = id;
        changed.name = QStringLiteral("Neu GmbH");
        written = names.changeCompany(changed, QStringLiteral("Müller Bau"));
    } else if (cascade == QLatin1String("trade")) {
        written = names.changeTrade(NameEntry{id, QStringLiteral("Neu")}, QStringLiteral("Elektro"));
    } else {
        written = names.changeCostGroup(NameEntry{id, QStringLiteral("Neu")}, QStringLiteral("440 Elektro"));
    }
    QVERIFY(!written);
    const QString expectedReason = masterDeleted ? QStringLiteral("ist nicht mehr vorhanden")
                                                 : QStringLiteral("Nachträge schreibgeschützt");
    QVERIFY2(db.db().lastError().contains(expectedReason), qPrintable(db.db().lastError()));
    QVERIFY(!db.db().inTransaction());
    QCOMPARE(contents(db.db()), before);
}

QTEST_GUILESS_MAIN(NameCascadeTest)
#include "NameCascadeTest.moc"
