#include "ServerTransfer.h"
#include "BookingRepository.h"
#include "JournalCheck.h"
#include "TestDatabase.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

// Moving an office's file onto the server: every row with its number, nothing on the server when the
// copy fails, and both sides' figures side by side.
class ServerTransferTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        if (TestDatabase::requestedEngine() != TestDatabase::Engine::Server)
            QSKIP("needs the server");
    }

    void everyRowKeepsItsNumberAndTheNextRowGetsTheNext() {
        TestDatabase file(TestDatabase::Engine::File);
        file.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (7, 'Schule', 45000)");
        file.exec("INSERT INTO tblFirma (ID, Name, \"Straße\") VALUES (3, 'O''Neill', 'Weg 1')");
        file.exec("INSERT INTO tblBuchung (ID, PID, ProjektID, Firma, Bemerkungen, Betrag) VALUES "
                  "(2, 1, '7', 'O''Neill', 'Tab\there\nBackslash \\ 100%', 12.5), "
                  "(9, 2, '7', 'O''Neill', NULL, 'abc'), (4, 3, '7', 'Bau', '', -0.01)");
        // A running number given twice by an older program comes along and is named.
        file.exec("DROP INDEX uxBuchungProjektPID");
        file.exec("INSERT INTO tblBuchung (ID, PID, ProjektID, Betrag) VALUES (5, 3, '7', 0)");
        const QByteArray original("%PDF\0\x01\xff\\x\t\n", 11);
        file.exec("INSERT INTO tblRechnungsdatei (BuchungID, Inhalt) VALUES (2, ?)", {original});
        file.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, ArchitektKosten, NachtragDatum) VALUES "
                  "(1, '7', 'Bau', 1000, 'gestern'), (1, '7', 'Bau', 1000, 45001)");
        file.exec("INSERT INTO tblBudget (ProjektID, Budget) VALUES (7, 250000.01)");
        file.exec(
            "INSERT INTO tblBankverbindung (ID, FirmaID, IBAN) VALUES (4, 3, 'DE89370400440532013000')");
        file.exec("INSERT INTO tblZahlungsbedingung (ID, ProjektID, FirmaID, NID, ErfuellungProzent) VALUES "
                  "(6, '7', 3, 1, 2.5)");
        file.exec("INSERT INTO tblSicherheit (ID, ProjektID, FirmaID, Art, Betrag) VALUES "
                  "(8, '7', 3, 'Mängelansprüche', 300.01)");
        file.exec(
            "INSERT INTO tblFreistellung (ID, FirmaID, Nummer, Finanzamt, GueltigVon, GueltigBis) VALUES "
            "(6, 3, 'FB 1', 'Nord', 45000, 45365)");
        file.exec("INSERT INTO tblZahlung (BuchungID, ProjektID, Eingang, Brutto, SkontoProzent, Skonto) "
                  "VALUES (2, '7', 46082, 12.76, 2.5, 0.32)");
        const QString before = TestDatabase::fileState(file.path());
        TestDatabase server(TestDatabase::Engine::Server, false);
        // A table of someone else's on the server, whose figures were never gathered.
        const QString foreign = QStringLiteral("public.zt_fremd_%1").arg(QCoreApplication::applicationPid());
        QSqlDatabase other = QSqlDatabase::addDatabase("QPSQL", "zt-other");
        QVERIFY(other.open());
        QSqlQuery otherQuery(other);
        QVERIFY(otherQuery.exec("CREATE TABLE " + foreign + " AS SELECT generate_series(1, 10) AS i"));

        ServerTransfer::Report report;
        QString message;
        QVERIFY2(ServerTransfer::run(file.path(), server.path(), report, &message), qPrintable(message));

        QVERIFY2(report.agrees(), qPrintable(report.text()));
        QVERIFY(report.text().contains("tblBuchung, Summe Betrag: 12,49 | 12,49"));
        QVERIFY2(report.text().contains("tblBudget, Summe Budget: 250.000,01 | 250.000,01"),
                 qPrintable(report.text()));
        QCOMPARE(report.unreadable,
                 QStringList({"tblBuchung 9 Betrag: abc", "tblNachtrag 1 NachtragDatum: gestern"}));
        QCOMPARE(TestDatabase::fileState(file.path()), before);
        const std::unique_ptr<Database> db = Database::open(server.path());
        QVERIFY(db);
        QString rows;
        db->read(
            "SELECT ID, PID, Firma, Bemerkungen FROM tblBuchung ORDER BY ID", {},
            [&](const Database::Row& row) {
                rows +=
                    QStringLiteral("%1/%2/%3/%4;").arg(row.text(0), row.text(1), row.text(2), row.text(3));
            });
        QCOMPARE(rows, "2/1/O'Neill/Tab\there\nBackslash \\ 100%;4/3/Bau/;5/3//;9/2/O'Neill/;");
        QVERIFY2(db->notices().join('\n').contains("Projekt 7: Nr. 3 (2-mal)"),
                 qPrintable(db->notices().join('\n')));
        QList<QByteArray> files;
        db->read("SELECT Inhalt FROM tblRechnungsdatei", {},
                 [&](const Database::Row& row) { files.append(row.bytes(0)); });
        QCOMPARE(files, QList<QByteArray>({original}));
        QString accounts;
        db->read("SELECT ID || ' ' || FirmaID || ' ' || IBAN FROM tblBankverbindung", {},
                 [&](const Database::Row& row) { accounts += row.text(0); });
        QCOMPARE(accounts, "4 3 DE89370400440532013000");
        QString securities;
        db->read(
            "SELECT z.ID || ' ' || z.ErfuellungProzent || ' ' || s.ID || ' ' || s.Art || ' ' || s.Betrag "
            "FROM tblZahlungsbedingung z JOIN tblSicherheit s ON s.FirmaID = z.FirmaID",
            {}, [&](const Database::Row& row) { securities += row.text(0); });
        QCOMPARE(securities, "6 2.5 8 Mängelansprüche 300.01");
        QString certificates;
        db->read("SELECT ID || ' ' || FirmaID || ' ' || Nummer || ' ' || GueltigBis FROM tblFreistellung", {},
                 [&](const Database::Row& row) { certificates += row.text(0); });
        QCOMPARE(certificates, "6 3 FB 1 45365");
        QString payments;
        db->read("SELECT BuchungID, ProjektID, Eingang, Brutto, SkontoProzent, Skonto FROM tblZahlung", {},
                 [&](const Database::Row& row) {
                     payments = QStringLiteral("%1 %2 %3 %4 %5 %6")
                                    .arg(row.text(0), row.text(1), row.text(2), row.amount(3)->toGerman(),
                                         row.amount(4)->toGerman(), row.amount(5)->toGerman());
                 });
        QCOMPARE(payments, "2 7 46082 12,76 2,50 0,32");
        // The file's journal came along and goes on in one chain, the transfer its last entry.
        const JournalCheck::Result chain = JournalCheck::run(*db);
        QVERIFY2(chain.whole && chain.entries > 9, qPrintable(chain.text));
        QCOMPARE(db->read("SELECT Aktion FROM tblProtokoll ORDER BY ID DESC LIMIT 1", {},
                          [](const Database::Row& row) { QCOMPARE(row.text(0), "Übertragung"); }),
                 true);
        // The server plans the first lists with figures of the copied rows (never gathered: -1), its
        // tables vacuumed.
        QString figures;
        db->read("SELECT c.reltuples || ' ' || (s.last_vacuum IS NOT NULL) FROM pg_class c JOIN "
                 "pg_stat_user_tables s ON s.relid = c.oid WHERE c.oid = 'tblbuchung'::regclass",
                 {}, [&](const Database::Row& row) { figures = row.text(0); });
        QCOMPARE(figures, "4 true");
        QVERIFY(otherQuery.exec("SELECT reltuples FROM pg_class WHERE oid = '" + foreign + "'::regclass") &&
                otherQuery.next());
        QCOMPARE(otherQuery.value(0).toString(), "-1");
        QVERIFY(otherQuery.exec("DROP TABLE " + foreign));
        Booking next;
        next.projectId = "7";
        QVERIFY(BookingRepository(*db).book(next));
        QCOMPARE(next.id, 10);
        QCOMPARE(next.runningNumber, 4);

        QVERIFY(!ServerTransfer::run(file.path(), server.path(), report, &message));
        QVERIFY2(message.contains("nicht leer"), qPrintable(message));
    }

    void eachProjectsBookingsLieTogether() {
        TestDatabase file(TestDatabase::Engine::File);
        // Companies, trades and cost groups run against the numbers: only the numbers order each project.
        file.exec("INSERT INTO tblBuchung (ID, PID, ProjektID, Firma, Gewerk, Kostengruppe, Betrag) VALUES "
                  "(1, 1, '2', 'Z', 'Z', '900', 1), (2, 1, '1', 'Z', 'Z', '900', 2), "
                  "(3, 2, '2', 'M', 'M', '500', 3), (4, 2, '1', 'A', 'A', '100', 4), "
                  "(5, 3, '2', 'A', 'A', '100', 5)");
        TestDatabase server(TestDatabase::Engine::Server, false);
        ServerTransfer::Report report;
        QString message;
        // The window is told what takes the seconds after the last row, and in which order.
        QStringList told;
        QVERIFY2(ServerTransfer::run(
                     file.path(), server.path(), report, &message,
                     [&](const QString& table, qint64) { told += table; },
                     [&](const QString& text) { told += text.section(' ', 0, 2); }),
                 qPrintable(message));
        const qsizetype arranging = told.indexOf("Die Buchungen werden");
        QCOMPARE(told.mid(arranging), QStringList({"Die Buchungen werden", "Datei und Server"}));
        QVERIFY(told.indexOf("tblBuchung") >= 0 && told.indexOf("tblBuchung") < arranging);
        const std::unique_ptr<Database> db = Database::open(server.path());
        QVERIFY(db);
        QString stored;
        QVERIFY(db->read("SELECT string_agg(ProjektID || '/' || ID, ' ' ORDER BY ctid) FROM tblBuchung", {},
                         [&](const Database::Row& row) { stored = row.text(0); }));
        QCOMPARE(stored, "1/2 1/4 2/1 2/3 2/5");
    }

    void failedCopyLeavesNothingOnTheServer() {
        TestDatabase file(TestDatabase::Engine::File);
        file.exec("INSERT INTO tblBuchung (ProjektID, Firma) VALUES ('1', 'Bau')");
        TestDatabase server(TestDatabase::Engine::Server);
        // Unjournaled, as the presets of a new database are.
        server.exec(
            "SET session_replication_role = replica; DELETE FROM tblGewerk; SET session_replication_role = "
            "origin");
        server.exec("ALTER TABLE tblBuchung ADD CHECK (Firma <> 'Bau')");

        ServerTransfer::Report report;
        QString message;
        QVERIFY(!ServerTransfer::run(file.path(), server.path(), report, &message));
        QVERIFY2(message.contains("blieb nichts zurück"), qPrintable(message));
        QCOMPARE(server.scalar("SELECT (SELECT COUNT(*) FROM tblGewerk) + (SELECT COUNT(*) FROM tblBuchung)"),
                 "0");
    }
};

QTEST_GUILESS_MAIN(ServerTransferTest)
#include "ServerTransferTest.moc"
