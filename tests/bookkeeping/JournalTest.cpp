#include "Company.h"
#include "Database.h"
#include "JournalChain.h"
#include "JournalCheck.h"
#include "JournalCheckCommand.h"
#include "JournalRepository.h"
#include "NameCascade.h"
#include "Session.h"
#include "TestDatabase.h"
#include "Transaction.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<JournalEntry> entries(Database& db) {
    QList<JournalEntry> all;
    JournalRepository(db).read({}, [&](const JournalEntry& entry) { all += entry; });
    return all;
}

// A field's value in an entry's JSON of old or new values, as text; "-" when the field is not there.
QString valueOf(const QString& json, const QString& field) {
    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8()).object();
    if (!object.contains(field))
        return u"-"_s;
    const QJsonValue value = object.value(field);
    return value.isArray() ? u"%1 Werte"_s.arg(value.toArray().size()) : value.toVariant().toString();
}

// Writes around the journal's guard, as someone with the file or the server's owner rights could.
QString pastTheGuard(const TestDatabase& db, const QString& sql) {
    return db.onServer()
               ? u"SET session_replication_role = replica; "_s + sql
               : u"DROP TRIGGER zlv_protokoll_schutz_update; DROP TRIGGER zlv_protokoll_schutz_delete; "_s +
                     sql;
}

int checkCommand(const TestDatabase& db) {
    return JournalCheckCommand::run({u"Zlv"_s, QString::fromLatin1(JournalCheckCommand::kOption), db.path()});
}

} // namespace

// The journal of every change: each change recorded with its old and new values in its own transaction, a
// name change as one entry per table, the chain that shows what was changed, removed or inserted, and a
// journal begun anew where it was removed.
class JournalTest : public QObject {
    Q_OBJECT

private slots:
    void eachChangeIsRecordedWithItsValues_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected");
        const QString booked =
            u"INSERT INTO tblBuchung (ProjektID, Firma, Betrag) VALUES (' 7 ', 'Bau', 12.5)"_s;
        QTest::newRow("booked") << QString() << booked << u"tblBuchung|Neu|7|Betrag|-|12.5"_s;
        QTest::newRow("amount changed") << booked << u"UPDATE tblBuchung SET Betrag = 20"_s
                                        << u"tblBuchung|Geändert|7|Betrag|12.5|20|Firma|-|-"_s;
        QTest::newRow("deleted") << booked << u"DELETE FROM tblBuchung"_s
                                 << u"tblBuchung|Gelöscht|7|Firma|Bau|-|Betrag|12.5|-"_s;
        QTest::newRow("estimate row")
            << QString()
            << u"INSERT INTO tblNachtrag (NID, ProjektID, NachtragKosten) VALUES (2, '8', "
               "-3.25)"_s
            << u"tblNachtrag|Neu|8|NachtragKosten|-|-3.25"_s;
        QTest::newRow("company's street")
            << u"INSERT INTO tblFirma (Name, \"Straße\") VALUES ('Bau', 'Weg 1')"_s
            << u"UPDATE tblFirma SET \"Straße\" = 'Weg 2'"_s << u"tblFirma|Geändert||Straße|Weg 1|Weg 2"_s;
        QTest::newRow("budget") << QString()
                                << u"INSERT INTO tblBudget (ProjektID, Budget) VALUES ('7', 1000)"_s
                                << u"tblBudget|Neu|7|Budget|-|1000"_s;
        QTest::newRow("project renamed") << u"INSERT INTO tblProjekt (ID, ProjektName) VALUES (5, 'Alt')"_s
                                         << u"UPDATE tblProjekt SET ProjektName = 'Neu'"_s
                                         << u"tblProjekt|Geändert|5|ProjektName|Alt|Neu"_s;
    }
    void eachChangeIsRecordedWithItsValues() {
        QFETCH(QString, before);
        QFETCH(QString, change);
        QFETCH(QString, expected);
        TestDatabase db;
        if (!before.isEmpty())
            db.exec(before);
        const qsizetype known = entries(db.db()).size();
        db.exec(change);
        // A change that changes nothing is none.
        db.exec(u"UPDATE tblBuchung SET Firma = Firma"_s);
        const QList<JournalEntry> all = entries(db.db());
        QCOMPARE(all.size(), known + 1);
        const JournalEntry& entry = all.last();
        // The table, action and project, then each field named with its value before and after.
        QStringList seen = {entry.table, entry.action, entry.projectId};
        const QStringList fields = expected.split(u'|').mid(3);
        for (qsizetype i = 0; i < fields.size(); i += 3)
            seen << fields.at(i) << valueOf(entry.oldValues, fields.at(i))
                 << valueOf(entry.newValues, fields.at(i));
        QCOMPARE(seen.join(u'|'), expected);
        QVERIFY(!entry.row.isEmpty() && !entry.user.isEmpty());
        QCOMPARE(entry.workstation, QSysInfo::machineHostName());
        QCOMPARE(entry.count, 1);
        QVERIFY(JournalCheck::run(db.db()).whole);
    }

    void nameChangeIsOneEntryPerTable() {
        TestDatabase db;
        db.exec(u"INSERT INTO tblFirma (ID, Name, GewerkID) VALUES (1, 'Bau', 'Dach')"_s);
        db.exec(
            u"INSERT INTO tblBuchung (ProjektID, Firma, Gewerk) VALUES ('1', 'Bau', 'Dach'), ('1', 'BAU', "
            "'Dach'), ('2', 'bau', 'Dach'), ('2', 'Andere', 'Dach')"_s);
        db.exec(u"INSERT INTO tblNachtrag (ProjektID, Firma, Gewerk) VALUES ('1', 'Bau', 'Dach')"_s);
        const qsizetype known = entries(db.db()).size();
        Company renamed{1, u"Neu Bau"_s, {}, {}, {}, {}, {}, {}, {}, {}, u"Dach"_s, {}};
        {
            Transaction transaction(db.db());
            QVERIFY(NameCascade(db.db()).changeCompany(renamed, u"Bau"_s) && transaction.commit());
        }
        QStringList seen;
        for (const JournalEntry& entry : entries(db.db()).mid(known))
            seen += u"%1 %2 %3 %4 %5"_s.arg(entry.table, entry.action)
                        .arg(entry.count)
                        .arg(valueOf(entry.oldValues, u"Firma"_s), valueOf(entry.newValues, u"Firma"_s));
        QCOMPARE(seen.join(u"; "), u"tblFirma Geändert 1 - -; tblBuchung Namensänderung 3 3 Werte Neu Bau; "
                                   "tblNachtrag Namensänderung 1 Bau Neu Bau"_s);
        QVERIFY(JournalCheck::run(db.db()).whole);
    }

    // On the server no writer escapes the journal, and no login but the owner may change it.
    void anotherLoginIsRecordedAndMayOnlyAdd() {
        TestDatabase db;
        if (!db.onServer())
            QSKIP("logins are the server's");
        const QString role = u"zlv_sachbearbeitung_%1"_s.arg(QCoreApplication::applicationPid());
        db.execElsewhere(
            u"CREATE ROLE %1; DO $$BEGIN EXECUTE format('GRANT USAGE ON SCHEMA %I TO %1; GRANT ALL ON "
            "ALL TABLES IN SCHEMA %I TO %1', current_schema(), current_schema()); END$$"_s.arg(role));
        const QString as = u"SET SESSION AUTHORIZATION %1; "_s.arg(role);
        db.execElsewhere(as + u"INSERT INTO tblBuchung (ProjektID, Firma) VALUES ('3', 'Bau')"_s);
        const JournalEntry entry = entries(db.db()).last();
        QCOMPARE(entry.user + u' ' + entry.table + u' ' + entry.action, role + u" tblBuchung Neu"_s);
        QString error;
        for (const QString& statement : {u"UPDATE tblProtokoll SET Benutzer = 'x'"_s,
                                         u"DELETE FROM tblProtokoll"_s, u"TRUNCATE tblProtokoll"_s}) {
            QVERIFY2(!db.runElsewhere(as + statement, &error), qPrintable(statement));
            QVERIFY2(error.contains(u"nur ergänzt"_s), qPrintable(error));
        }
        db.execElsewhere(u"DROP OWNED BY %1; DROP ROLE %1"_s.arg(role));
        QVERIFY(JournalCheck::run(db.db()).whole);
    }

    // A journal whose statistics were taken while it was small (a new database, one just transferred): a
    // connection that goes on writing finds each entry's predecessor through the key, never by reading
    // the whole journal.
    void predecessorIsFoundThroughTheKeyOnAYoungJournal() {
        TestDatabase db;
        if (!db.onServer())
            QSKIP("the server plans a connection's lookups once");
        db.exec(u"INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', 5)"_s);
        db.execElsewhere(u"ANALYZE tblProtokoll"_s);
        Transaction transaction(db.db());
        for (int booking = 0; booking < 3; ++booking)
            QVERIFY(db.db().exec(u"INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', 5)"_s, {}));
        const QString scans =
            u"SELECT %1 FROM pg_stat_xact_user_tables WHERE relid = 'tblProtokoll'::regclass"_s;
        QCOMPARE(db.scalar(scans.arg(u"seq_scan"_s)), u"0"_s);
        QVERIFY(db.scalar(scans.arg(u"idx_scan"_s)).toInt() >= 3);
    }

    void checkNamesTheFirstEntryThatDoesNotFit_data() {
        QTest::addColumn<QString>("tampering");
        QTest::addColumn<int>("broken");
        QTest::addColumn<QString>("found");
        QTest::newRow("changed")
            << u"UPDATE tblProtokoll SET Neu = replace(Neu, '30', '300') WHERE ID = {ID}"_s << 3
            << u"Eintrag %1 wurde nachträglich geändert"_s;
        QTest::newRow("removed") << u"DELETE FROM tblProtokoll WHERE ID = {ID}"_s << 4
                                 << u"Vor Eintrag %1 fehlen Einträge"_s;
        QTest::newRow("inserted")
            << u"UPDATE tblProtokoll SET ID = ID + 1000 WHERE ID >= {ID}; INSERT INTO "
               "tblProtokoll (ID, Zeit, Benutzer, Arbeitsplatz, Tabelle, Zeile, ProjektID, "
               "Aktion, Vorgang, Anzahl, Alt, Neu, Vorgaenger, Hash) VALUES ({ID}, "
               "'2020-01-01T00:00:00.000Z', 'x', 'x', 'tblBuchung', '99', '1', 'Neu', '', 1, "
               "NULL, '{}', '{PREVIOUS}', '{HASH}')"_s
            << 3 << u"Eintrag %1 wurde nachträglich eingefügt"_s;
    }
    void checkNamesTheFirstEntryThatDoesNotFit() {
        QFETCH(QString, tampering);
        QFETCH(int, broken);
        QFETCH(QString, found);
        TestDatabase db;
        for (int amount = 10; amount <= 50; amount += 10)
            db.exec(u"INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', ?)"_s, {amount});
        const QList<JournalEntry> all = entries(db.db());
        QCOMPARE(all.size(), 5);
        QCOMPARE(checkCommand(db), 0);
        const qint64 second = all.at(1).id;
        const QString secondHash = db.scalar(u"SELECT Hash FROM tblProtokoll WHERE ID = ?"_s, {second});
        const QStringList forged = {u"2020-01-01T00:00:00.000Z"_s,
                                    u"x"_s,
                                    u"x"_s,
                                    u"tblBuchung"_s,
                                    u"99"_s,
                                    u"1"_s,
                                    u"Neu"_s,
                                    QString(),
                                    u"1"_s,
                                    QString(),
                                    u"{}"_s};
        tampering.replace(u"{ID}"_s, QString::number(all.at(2).id))
            .replace(u"{PREVIOUS}"_s, secondHash)
            .replace(u"{HASH}"_s, JournalChain::hash(forged, secondHash));
        db.execElsewhere(pastTheGuard(db, tampering));
        const JournalCheck::Result result = JournalCheck::run(db.db());
        QVERIFY(!result.whole);
        QCOMPARE(result.firstBroken, all.at(broken - 1).id);
        QVERIFY2(result.text.startsWith(found.arg(all.at(broken - 1).id)), qPrintable(result.text));
        QCOMPARE(checkCommand(db), 1);
    }

    // A journal removed from data that hold rows begins anew, with an entry and a warning; a new
    // database's empty journal is no such case.
    void removedJournalBeginsAnew() {
        TestDatabase db;
        QVERIFY(Session::open(db.path())->notices().filter(u"Änderungsprotokoll"_s).isEmpty());
        db.exec(u"INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', 5)"_s);
        db.execElsewhere(u"DROP TABLE tblProtokoll"_s);
        const std::unique_ptr<Session> session = Session::open(db.path());
        QVERIFY(session);
        QVERIFY2(session->notices().join(u' ').contains(u"Das Änderungsprotokoll dieser Datenbank fehlt"_s),
                 qPrintable(session->notices().join(u' ')));
        const QList<JournalEntry> all = entries(session->database());
        QCOMPARE(all.size(), 1);
        QCOMPARE(all.first().action, u"Neuer Anfang"_s);
        QVERIFY(valueOf(all.first().newValues, u"tblBuchung"_s) != u"-"_s);
        QVERIFY(JournalCheck::run(session->database()).whole);
    }
};

QTEST_GUILESS_MAIN(JournalTest)
#include "JournalTest.moc"
