#include "BankAccountOperation.h"
#include "BankAccountReading.h"
#include "BookingChecks.h"
#include "BookingOperation.h"
#include "EstimateOperation.h"
#include "ExemptionOperation.h"
#include "Journal.h"
#include "RemoveCompany.h"
#include "RemoveProject.h"
#include "RestoreOperation.h"
#include "SaveProject.h"
#include "Session.h"
#include "StoreFixture.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace StoreFixture;

// The operations on bookings and estimate rows, on their own connection as a window has it: a correction
// replaces its row only while it is still as loaded, and wholly or not at all.
class OperationTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_file;
    std::unique_ptr<Session> m_session;

    static Booking booking(const QString& company, const QString& project = u"1"_s) {
        Booking b;
        b.projectId = project;
        b.company = company;
        return b;
    }
    // Takes back the booking or estimate row and books a correction of it; outcome of the booking.
    Outcome correct(bool estimate, qint64 id, const std::function<void()>& meanwhile = {}) {
        if (estimate) {
            const auto taken = EstimateOperation(*m_session).takeBack(id);
            if (!taken)
                return Outcome::failed(Outcome::Kind::Gone, {});
            if (meanwhile)
                meanwhile();
            EstimateRow row = taken->row;
            return EstimateOperation(*m_session).book(row, taken->asLoaded);
        }
        const auto taken = BookingOperation(*m_session).takeBack(id);
        if (!taken)
            return Outcome::failed(Outcome::Kind::Gone, {});
        if (meanwhile)
            meanwhile();
        Booking corrected = taken->row;
        return BookingOperation(*m_session).book(corrected, taken->asLoaded);
    }

private slots:
    void init() {
        m_file = std::make_unique<TestDatabase>();
        m_session = Session::open(m_file->path());
        QVERIFY(m_session);
    }
    void cleanup() {
        m_session.reset();
        m_file.reset();
    }

    // Changed or removed at another workstation after it was taken back, the row is not replaced: nothing
    // is stored and the outcome says why. Taken back anew, the change is stored.
    void replacesOnlyWhatIsStillAsLoaded_data() {
        QTest::addColumn<bool>("estimate");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<Outcome::Kind>("kind");
        for (const bool estimate : {false, true}) {
            const QString table = estimate ? u"tblNachtrag"_s : u"tblBuchung"_s;
            const QString key = estimate ? u"rowid"_s : u"ID"_s;
            QTest::addRow("%s changed", qPrintable(table))
                << estimate << u"UPDATE %1 SET Firma = 'B' WHERE %2 = ?"_s.arg(table, key)
                << Outcome::Kind::Changed;
            QTest::addRow("%s removed", qPrintable(table))
                << estimate << u"DELETE FROM %1 WHERE %2 = ?"_s.arg(table, key) << Outcome::Kind::Gone;
            QTest::addRow("%s untouched", qPrintable(table)) << estimate << QString() << Outcome::Kind::Done;
        }
    }
    void replacesOnlyWhatIsStillAsLoaded() {
        QFETCH(bool, estimate);
        QFETCH(QString, meanwhile);
        QFETCH(Outcome::Kind, kind);
        const QString table = estimate ? u"tblNachtrag"_s : u"tblBuchung"_s;
        EstimateRow row;
        row.projectId = u"1"_s;
        row.company = u"A"_s;
        Booking entry = booking(u"A"_s);
        QVERIFY(estimate ? EstimateOperation(*m_session).book(row).ok()
                         : BookingOperation(*m_session).book(entry).ok());
        const qint64 id = estimate ? row.rowId : entry.id;
        const quint64 writes = m_session->writes();
        const Outcome outcome = correct(estimate, id, [&] {
            if (!meanwhile.isEmpty())
                m_file->exec(meanwhile, {id});
        });
        QCOMPARE(outcome.kind(), kind);
        QCOMPARE(m_session->writes(), writes + (outcome.ok() ? 1 : 0));
        QCOMPARE(joined(*m_file, table, "Firma"), kind == Outcome::Kind::Done   ? "A"
                                                  : kind == Outcome::Kind::Gone ? ""
                                                                                : "B");
        if (kind == Outcome::Kind::Changed)
            QVERIFY(correct(estimate, id).ok());
    }

    // A correction replaces its booking in one transaction with the next number, handing on the booking's
    // e-invoice; when the new row cannot be written, the booking corrected stays as it was. Replaced, it is
    // no deletion to restore.
    void replacementIsWholeOrNothing() {
        Booking first = booking(u"A"_s);
        const BookingOperation::InvoiceOriginal invoice{u"r.xml"_s, "<Invoice/>", QString()};
        QVERIFY(BookingOperation(*m_session).book(first, std::nullopt, false, &invoice).ok());
        Booking other = booking(u"A"_s, u"2"_s);
        QVERIFY(BookingOperation(*m_session).book(other).ok());
        refuse(*m_file, "tblBuchung", "INSERT");
        QCOMPARE(correct(false, first.id).kind(), Outcome::Kind::Other);
        QCOMPARE(joined(*m_file, "tblBuchung", "PID || ProjektID"), "11,12");
        allow(*m_file);
        const Outcome corrected = correct(false, first.id);
        QVERIFY(corrected.ok());
        QCOMPARE(joined(*m_file, "tblBuchung", "PID || ProjektID"), "12,11");
        QCOMPARE(m_file->scalar("SELECT BuchungID FROM tblRechnungsdatei"),
                 QString::number(*corrected.identity()));
        const QString replaced =
            m_file->scalar("SELECT MAX(ID) FROM tblProtokoll WHERE Tabelle = 'tblBuchung' AND Zeile = ?",
                           {QString::number(first.id)});
        QVERIFY(!RestoreOperation(*m_session).restorable(replaced.toLongLong()));
        QVERIFY(BookingOperation(*m_session).remove(*corrected.identity()).ok());
        QCOMPARE(m_file->scalar("SELECT COUNT(*) || ' ' || COUNT(BuchungID) FROM tblRechnungsdatei"), "1 0");
    }

    // A booking for a company that is no longer in the register (renamed or deleted meanwhile) is refused,
    // with the reason alone, when the company must be in the register.
    void bookingForCompanyGoneIsRefused() {
        m_file->exec("INSERT INTO tblFirma (Name) VALUES ('Müller Bau')");
        Booking entry = booking(u"MÜLLER BAU"_s);
        QVERIFY(BookingOperation(*m_session).book(entry, std::nullopt, true).ok());
        m_file->exec("UPDATE tblFirma SET Name = 'Müller Bau GmbH'");
        const Outcome refused = BookingOperation(*m_session).book(entry, std::nullopt, true);
        QCOMPARE(refused.kind(), Outcome::Kind::NameGone);
        QVERIFY(!refused.text().isEmpty());
        QVERIFY(BookingOperation(*m_session).book(entry).ok());
        QCOMPARE(m_file->scalar("SELECT COUNT(*) FROM tblBuchung"), "2");
    }

    // A deletion recorded in the journal is restored with its identity and fields, as one entry of its own,
    // and only once: a project with the rows removed with it, a booking with its e-invoice file. A running
    // number taken meanwhile gives way to the next, a name gone meanwhile stays; the user is told both.
    void restoresADeletion_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<qint64>("row");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<qint64>("count");
        const QString unchanged;
        QTest::newRow("booking, e-invoice")
            << u"tblBuchung"_s << 1LL << unchanged << unchanged << unchanged << unchanged << 1LL;
        QTest::newRow("booking, number taken")
            << u"tblBuchung"_s << 9LL << u"INSERT INTO tblBuchung (ID, PID, ProjektID) VALUES (5, 3, '1')"_s
            << u"PID"_s << u"1,2,3,4"_s
            << u"Die Buchung erhielt die Nummer 004, weil 003 inzwischen vergeben ist."_s << 1LL;
        QTest::newRow("estimate row")
            << u"tblNachtrag"_s << 1LL << unchanged << unchanged << unchanged << unchanged << 1LL;
        QTest::newRow("estimate row, number taken, company gone")
            << u"tblNachtrag"_s << 1LL
            << u"INSERT INTO tblNachtrag (rowid, NID, ProjektID, Firma) VALUES (5, 1, '1', 'A');DELETE FROM "
               "tblFirma"_s
            << u"NID || Firma"_s << u"2A,1A"_s << u"Die Firma „A“ gibt es nicht mehr"_s << 1LL;
        QTest::newRow("company") << u"tblFirma"_s << 1LL << unchanged << unchanged << unchanged << unchanged
                                 << 1LL;
        QTest::newRow("company with its bank accounts and certificate")
            << u"tblFirma"_s << 2LL << unchanged << u"Name"_s << u"A,B"_s << unchanged << 4LL;
        QTest::newRow("company, trade gone")
            << u"tblFirma"_s << 1LL << u"DELETE FROM tblGewerk WHERE ID = 1"_s << u"Name"_s << u"A,B,C"_s
            << u"Das Gewerk „"_s << 1LL;
        QTest::newRow("trade") << u"tblGewerk"_s << 1LL << unchanged << unchanged << unchanged << unchanged
                               << 1LL;
        QTest::newRow("cost group") << u"tblKostengruppe"_s << 1LL << unchanged << unchanged << unchanged
                                    << unchanged << 1LL;
        QTest::newRow("project") << u"tblProjekt"_s << 1LL << unchanged << unchanged << unchanged << unchanged
                                 << 6LL;
    }
    void restoresADeletion() {
        QFETCH(QString, table);
        QFETCH(qint64, row);
        QFETCH(QString, meanwhile);
        QFETCH(QString, check);
        QFETCH(QString, expected);
        QFETCH(QString, notice);
        QFETCH(qint64, count);
        m_file->exec("INSERT INTO tblFirma (Name, GewerkID) SELECT 'A', Gewerk FROM tblGewerk WHERE ID = 1");
        QCOMPARE(SaveProject(*m_session).add(u"P"_s, 45000, Money::fromCents(100000)).identity(), 1);
        Booking first = booking(u"A"_s);
        const BookingOperation::InvoiceOriginal invoice{u"r.xml"_s, "<Invoice/>", QString()};
        QVERIFY(BookingOperation(*m_session).book(first, std::nullopt, false, &invoice).ok());
        Booking second = booking(u"A"_s);
        QVERIFY(BookingOperation(*m_session).book(second).ok());
        m_file->exec(
            "INSERT INTO tblBuchung (ID, PID, ProjektID, Firma, Betrag) VALUES (9, 3, '1', 'A', 2.5)");
        EstimateRow estimate;
        estimate.projectId = u"1"_s;
        estimate.company = u"A"_s;
        estimate.orderCost = Money::fromCents(1050);
        QVERIFY(EstimateOperation(*m_session).book(estimate).ok());
        m_file->exec("INSERT INTO tblFirma (Name) VALUES ('B'), ('C')");
        for (const auto& [company, iban] :
             {std::pair{2, "DE89370400440532013000"}, {2, "AT611904300234573201"}, {3, "NL91ABNA0417164300"}})
            QVERIFY(BankAccountOperation(*m_session).add({0, company, iban, {}, u"Inhaber"_s}).ok());
        QVERIFY(ExemptionOperation(*m_session).add({0, 2, u"FB 7"_s, u"Nord"_s, 45000, 45400, 45001}).ok());
        const auto contents = [&] {
            QStringList all{m_file->scalar("SELECT ProjektID || ':' || Budget FROM tblBudget"),
                            joined(*m_file, "tblRechnungsdatei", "ID || ':' || coalesce(BuchungID, 0)")};
            for (const QString each : {"tblProjekt", "tblFirma", "tblGewerk", "tblKostengruppe", "tblBuchung",
                                       "tblNachtrag", "tblBankverbindung", "tblFreistellung"}) {
                QStringList fields;
                for (const QString& field : Schema::fieldNames(each))
                    fields += u"coalesce(CAST(%1 AS TEXT), '-')"_s.arg(Schema::column(field));
                all += joined(*m_file, each, fields.join(u" || '|' || "_s));
            }
            return all;
        };
        const QStringList before = contents();
        const QString key = table == u"tblNachtrag"_s ? u"rowid"_s : u"ID"_s;
        if (table == u"tblProjekt"_s) {
            Database& other = m_file->db();
            QVERIFY(other.beginTransaction() && Journal(other).label(RemoveProject::task()));
            m_file->exec("DELETE FROM tblBuchung WHERE ProjektID = '1'");
            m_file->exec("DELETE FROM tblNachtrag WHERE ProjektID = '1'");
            QVERIFY(other.commit());
            QVERIFY(RemoveProject(*m_session).run(row).ok());
        } else if (table == u"tblBuchung"_s) {
            QVERIFY(BookingOperation(*m_session).remove(row).ok());
        } else if (row == 2) {
            QVERIFY(RemoveCompany(*m_session).run(row).ok());
            QVERIFY(RemoveCompany(*m_session).run(row + 1).ok());
            QCOMPARE(joined(*m_file, "tblBankverbindung", "FirmaID"), "");
            QCOMPARE(joined(*m_file, "tblFreistellung", "FirmaID"), "");
        } else {
            m_file->exec(u"DELETE FROM %1 WHERE %2 = ?"_s.arg(table, key), {row});
        }
        const qint64 entry = m_file
                                 ->scalar("SELECT MAX(ID) FROM tblProtokoll WHERE Aktion = ? AND Tabelle = ? "
                                          "AND Zeile = ?",
                                          {u"Gelöscht"_s, table, QString::number(row)})
                                 .toLongLong();
        for (const QString& statement : meanwhile.split(u';', Qt::SkipEmptyParts))
            m_file->exec(statement);
        RestoreOperation restore(*m_session);
        const QString added =
            m_file->scalar("SELECT MIN(ID) FROM tblProtokoll WHERE Aktion = 'Neu' AND Tabelle = ? "
                           "AND Zeile = ?",
                           {table, QString::number(row)});
        QCOMPARE(restore.restore(added.toLongLong()).kind(), Outcome::Kind::Refused);
        QVERIFY(restore.restorable(entry));
        const quint64 writes = m_session->writes();
        QString told;
        QVERIFY(restore.restore(entry, &told).ok());
        QCOMPARE(m_session->writes(), writes + 1);
        QVERIFY2(notice.isEmpty() ? told.isEmpty() : told.contains(notice), qPrintable(told));
        if (expected.isEmpty())
            QCOMPARE(contents(), before);
        else
            QCOMPARE(joined(*m_file, table, check), expected);
        const QString last = u"(SELECT MAX(ID) FROM tblProtokoll)"_s;
        QCOMPARE(
            m_file->scalar(u"SELECT Aktion || ' ' || Vorgang || ' ' || Tabelle || ' ' || Zeile || ' ' || "
                           "Anzahl FROM tblProtokoll WHERE ID = "_s +
                           last),
            u"Wiederhergestellt Wiederherstellung %1 %2 %3"_s.arg(table).arg(row).arg(count));
        QCOMPARE(m_file->scalar(u"SELECT Neu FROM tblProtokoll WHERE ID = "_s + last).remove(u' '),
                 u"{\"Eintrag\":%1}"_s.arg(entry));
        QVERIFY(!restore.restorable(entry));
        QCOMPARE(restore.restore(entry).kind(), Outcome::Kind::Refused);
        Booking later = booking(u"A"_s);
        QVERIFY(BookingOperation(*m_session).book(later).ok());
        QCOMPARE_GT(later.id, 9);
    }

    // One rule tells an invoice booked before, for the e-invoice taken and the booking's warnings alike.
    void sameInvoiceNumber_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("same");
        QTest::newRow("equal") << "R-1"
                               << "R-1" << true;
        QTest::newRow("letter case") << "re-2024-17"
                                     << "RE-2024-17" << true;
        QTest::newRow("blanks") << " R 1 "
                                << "R1" << true;
        QTest::newRow("umlaut case") << "ÄB1"
                                     << "äb1" << true;
        QTest::newRow("different") << "R-1"
                                   << "R-2" << false;
        QTest::newRow("empty") << ""
                               << "" << false;
        QTest::newRow("blanks only") << "  "
                                     << "" << false;
    }
    void sameInvoiceNumber() {
        QFETCH(QString, number);
        QFETCH(QString, other);
        QTEST(BookingChecks::sameInvoiceNumber(number, other), "same");
        QTEST(BookingChecks::sameInvoiceNumber(other, number), "same");
    }
    // An account is stored as its check allows, without blanks and in capitals, once per company; a refused
    // entry writes nothing and says why; a change meets the account as loaded or is refused; the journal
    // names each change "Bankverbindung".
    void bankAccountsOfACompany() {
        m_file->exec("INSERT INTO tblFirma (Name) VALUES ('Bau GmbH')");
        BankAccountOperation accounts(*m_session);
        QCOMPARE(
            accounts.add({0, 1, u"de89 3704 0044 0532 0130 00"_s, u"cobadeff"_s, u" Bau GmbH "_s}).identity(),
            1);
        const QString held = u"Die Firma hat die Bankverbindung DE89 3704 0044 0532 0130 00 schon."_s;
        for (const auto& [iban, bic, refusal] :
             {std::tuple{"DE89370400440532013001", "", "Die Prüfziffern der IBAN stimmen nicht"},
              {"AT611904300234573201", "COBADEFF3", "Die BIC hat 8 oder 11 Stellen, nicht 9."},
              {"DE89370400440532013000", "", qPrintable(held)}}) {
            const Outcome refused = accounts.add({0, 1, iban, bic, {}});
            QCOMPARE(refused.kind(), Outcome::Kind::Refused);
            QVERIFY2(refused.text().startsWith(QString::fromUtf8(refusal)), qPrintable(refused.text()));
        }
        QCOMPARE(accounts.add({0, 2, u"AT611904300234573201"_s, {}, {}}).kind(), Outcome::Kind::Gone);
        QCOMPARE(joined(*m_file, "tblBankverbindung", "IBAN || ' ' || BIC || ' ' || Kontoinhaber"),
                 "DE89370400440532013000 COBADEFF Bau GmbH");
        QList<BankAccount> read = BankAccountReading::forCompany(*m_session, u"BAU gmbh"_s);
        QCOMPARE(read.size(), 1);
        QCOMPARE(BankAccountReading::forCompany(*m_session, 1).constFirst().iban,
                 u"DE89370400440532013000"_s);
        QVERIFY(BankAccountReading::forCompany(*m_session, 2).isEmpty());
        BankAccount changed = read.constFirst();
        changed.iban = u"AT61 1904 3002 3457 3201"_s;
        m_file->exec("UPDATE tblBankverbindung SET Kontoinhaber = 'Bau AG'");
        QCOMPARE(accounts.change(read.constFirst(), changed).kind(), Outcome::Kind::Changed);
        read = BankAccountReading::forCompany(*m_session, 1);
        QVERIFY(accounts.change(read.constFirst(), changed).ok());
        QCOMPARE(joined(*m_file, "tblBankverbindung", "IBAN || ' ' || Kontoinhaber"),
                 "AT611904300234573201 Bau GmbH");
        QVERIFY(accounts.remove(read.constFirst().id).ok());
        QCOMPARE(accounts.remove(read.constFirst().id).kind(), Outcome::Kind::Gone);
        QCOMPARE(joined(*m_file, "tblProtokoll", "Aktion || ':' || coalesce(Vorgang, '')",
                        "Tabelle = 'tblBankverbindung'"),
                 u"Neu:Bankverbindung,Geändert:,Geändert:Bankverbindung,Gelöscht:Bankverbindung"_s);
    }
};

QTEST_GUILESS_MAIN(OperationTest)
#include "OperationTest.moc"
