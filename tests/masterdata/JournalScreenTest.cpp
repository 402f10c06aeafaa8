#include "JournalScreen.h"
#include "BookingOperation.h"
#include "ExportFormat.h"
#include "Journal.h"
#include "JournalHistoryDialog.h"
#include "JournalHistoryModel.h"
#include "JournalListModel.h"
#include "RestoreOperation.h"
#include "ScreenFixture.h"
#include "Transaction.h"
#include "WorkspaceFixture.h"

#include <algorithm>
#include <QAction>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The change journal's screen and a row's history, on a journal written by the program's operations.
class JournalScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<DatabaseScreen<JournalScreen>> f;
    qint64 first = 0;

    qint64 book(Session& session, const QString& project, const QString& company, qint64 cents,
                const std::optional<AsLoaded>& replacing = std::nullopt) {
        Booking booking;
        booking.projectId = project;
        booking.company = company;
        booking.instructedOn = 45292;
        booking.amount = Money::fromCents(cents);
        const Outcome outcome = BookingOperation(session).book(booking, replacing);
        return outcome.ok() ? booking.id : 0;
    }
    // Each line of the list as the columns Tabelle, Zeile, Projekt, Aktion, Anzahl, Feld, Alt, Neu show it.
    QStringList lines() {
        QStringList found;
        for (const QString& row : f->WidgetDriver::rows("lvwProtokoll"))
            found.append(row.split('|').mid(4).join('|'));
        return found;
    }
    // The distinct entries of the list: Tabelle, Zeile and Aktion of each.
    QString entries() {
        QStringList found;
        for (const QString& line : lines()) {
            const QString entry = line.section('|', 0, 1) + '|' + line.section('|', 3, 3);
            if (!found.contains(entry))
                found.append(entry);
        }
        return found.join(',');
    }

private slots:
    void init() {
        f = std::make_unique<DatabaseScreen<JournalScreen>>();
        f->db.exec("INSERT INTO tblProjekt (ID, ProjektName) VALUES (1, 'Schule'), (2, 'Halle')");
        auto session = Session::open(f->db.path());
        first = book(*session, "1", "Krämer Bau", 123450);
        QVERIFY(first && book(*session, "2", "Halle GmbH", 500));
        f->db.exec("UPDATE tblBuchung SET Betrag = 99.99 WHERE ID = ?", {first});
        Transaction transaction(session->database());
        Journal(session->database())
            .append("tblBuchung", QString(), "1", "Namensänderung", 2,
                    {{"Firma", QJsonArray{"Krämer Bau", "KRÄMER BAU"}}}, {{"Firma", "Krämer Bau GmbH"}});
        QVERIFY(transaction.commit());
        f->open();
    }
    void cleanup() { f.reset(); }

    void filters_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        const QString project1 =
            "tblProjekt|1|Neu,tblBuchung|1|Neu,tblBuchung|1|Geändert,tblBuchung||Namensänderung";
        QTest::newRow("project") << "cboProjekt"
                                 << "1 - Schule" << project1;
        QTest::newRow("table") << "cboTabelle"
                               << "tblProjekt"
                               << "tblProjekt|1|Neu,tblProjekt|2|Neu";
        QTest::newRow("text") << "txtSuche"
                              << "hall?"
                              << "tblProjekt|2|Neu,tblBuchung|2|Neu";
        QTest::newRow("text, no hit") << "txtSuche"
                                      << "Dach*"
                                      << "";
        QTest::newRow("from tomorrow")
            << "txtVon" << QDate::currentDate().addDays(1).toString("dd.MM.yyyy") << "";
        QTest::newRow("until today") << "txtBis" << QDate::currentDate().toString("dd.MM.yyyy")
                                     << "tblProjekt|1|Neu,tblProjekt|2|Neu,tblBuchung|1|Neu,tblBuchung|2|Neu,"
                                        "tblBuchung|1|Geändert,tblBuchung||Namensänderung";
    }
    void filters() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        if (field.startsWith("cbo"))
            f->choose(field, value);
        else
            f->type(field, value, "cmdAnzeigen");
        QCOMPARE(entries(), shown);
        QVERIFY(f->screen->filterText().contains(value));
    }

    // The pickers offer what the journal holds of the project chosen; an entry another tool wrote under
    // another login is found by its user.
    void users() {
        f->db.execElsewhere(
            QString(f->db.onServer() ? "SET session_replication_role = replica; " : "") +
            "INSERT INTO tblProtokoll (Zeit, Benutzer, Arbeitsplatz, Tabelle, Zeile, ProjektID, Aktion, "
            "Vorgang, "
            "Anzahl, Alt, Neu, Vorgaenger, Hash) VALUES ('2020-01-01T00:00:00.000Z', 'prüfer', 'PC9', "
            "'tblBuchung', '2', '2', 'Geändert', '', 1, '{\"Betrag\":5}', '{\"Betrag\":6}', 'x', 'y')");
        f->choose("cboProjekt", "2 - Halle");
        QVERIFY(f->items("cboBenutzer").contains("prüfer"));
        f->choose("cboBenutzer", "prüfer");
        QCOMPARE(lines(), QStringList{"tblBuchung|2|2|Geändert||1|Betrag|5,00|6,00"});
        QCOMPARE(f->items("cboTabelle"), QStringList({"Alle Tabellen", "tblBuchung", "tblProjekt"}));
    }

    // A change shows its field's old and new value side by side, in German notation; a name change its
    // count and the old names together.
    void oldAndNewSideBySide() {
        const QStringList shown = lines();
        QVERIFY(shown.contains("tblBuchung|1|1|Geändert||1|Betrag|1.234,50|99,99"));
        QVERIFY(
            shown.contains("tblBuchung||1|Namensänderung||2|Firma|Krämer Bau; KRÄMER BAU|Krämer Bau GmbH"));
        QVERIFY(shown.contains("tblBuchung|1|1|Neu||1|AnweisungVom||01.01.2024"));
        QVERIFY(f->WidgetDriver::rows("lvwProtokoll")
                    .first()
                    .section('|', 1, 1)
                    .contains(QRegularExpression("^\\d\\d\\.\\d\\d\\.20\\d\\d \\d\\d:\\d\\d:\\d\\d$")));
    }

    void sorting() {
        const int number = int(JournalListModel::Column::Number);
        const int old = int(JournalListModel::Column::Old);
        const QString ascending = f->column("lvwProtokoll", number);
        f->clickHeading("lvwProtokoll", number);
        f->clickHeading("lvwProtokoll", number);
        QStringList descending = f->column("lvwProtokoll", number).split(',');
        std::reverse(descending.begin(), descending.end());
        QCOMPARE(descending.join(','), ascending);
        QVERIFY(f->column("lvwProtokoll", number).startsWith("6,"));
        f->clickHeading("lvwProtokoll", old);
        QVERIFY(f->column("lvwProtokoll", old, '|').endsWith("|1.234,50|Krämer Bau; KRÄMER BAU"));
    }

    // The check tells a whole chain; an entry changed behind the program's back is named.
    void checkChain() {
        f->click("cmdPruefen");
        QCOMPARE(f->dialogs.shown.last().icon, Dialogs::Icon::Information);
        f->db.execElsewhere(QString(f->db.onServer() ? "SET session_replication_role = replica; "
                                                     : "DROP TRIGGER zlv_protokoll_schutz_update; ") +
                            "UPDATE tblProtokoll SET Neu = '{\"Betrag\":1}' WHERE Aktion = 'Geändert'");
        f->click("cmdPruefen");
        QCOMPARE(f->dialogs.shown.last().icon, Dialogs::Icon::Warning);
        const QString changed = f->db.scalar("SELECT ID FROM tblProtokoll WHERE Aktion = 'Geändert'");
        QVERIFY2(f->dialogs.shown.last().text.contains(changed), qPrintable(f->messages()));
    }

    // Restoring is offered on a deletion only, as far as the restore allows it.
    void restoreOffered() {
        auto* restore = f->find<QAbstractButton>("cmdWiederherstellen");
        f->select("lvwProtokoll", int(JournalListModel::Column::Action), "Neu");
        QVERIFY(!restore->isEnabled());
        QVERIFY(BookingOperation(*f->session).remove(first).ok());
        f->click("cmdAnzeigen");
        f->select("lvwProtokoll", int(JournalListModel::Column::Action), "Gelöscht");
        const qint64 id =
            f->screen->snapshot().rows.isEmpty()
                ? 0
                : f->db.scalar("SELECT ID FROM tblProtokoll WHERE Aktion = 'Gelöscht'").toLongLong();
        QCOMPARE(restore->isEnabled(), RestoreOperation(*f->session).restorable(id));
    }

    // Print and export take the list as shown, with the filter above it.
    void snapshot() {
        f->choose("cboProjekt", "1 - Schule");
        f->choose("cboTabelle", "tblBuchung");
        const ListSnapshot snapshot = f->screen->snapshot();
        QCOMPARE(snapshot.kind, ListSnapshot::Kind::Journal);
        QCOMPARE(snapshot.rows.size(), f->WidgetDriver::rows("lvwProtokoll").size());
        const QStringList csv = ExportFormat::text(snapshot, ";").split("\r\n");
        QCOMPARE(csv.first(), "Änderungsprotokoll  -  Filter: Projekt 1 - Schule, Tabelle tblBuchung");
        QCOMPARE(csv.at(2),
                 "Nr.;Zeit;Benutzer;Arbeitsplatz;Tabelle;Zeile;Projekt;Aktion;Vorgang;Anzahl;Feld;Alt;Neu");
        QVERIFY(csv.filter(";Geändert;;1;Betrag;1.234,50;99,99").size() == 1);
    }

    // A booking booked, taken back and replaced: its history tells both, the new booking its own.
    void history() {
        const auto loaded = BookingOperation(*f->session).takeBack(first);
        QVERIFY(loaded);
        const qint64 replaced = book(*f->session, "1", "Krämer Bau", 2000, loaded->asLoaded);
        QVERIFY(replaced);
        JournalHistoryDialog dialog(*f->session, "tblBuchung", first, "Buchung 001");
        WidgetDriver driver(&dialog);
        QStringList what = driver.column("lvwVerlauf", int(JournalHistoryModel::Column::What)).split(',');
        what.removeDuplicates();
        QCOMPARE(what.join(','), "gebucht,geändert,ersetzt (Korrektur)");
        const QStringList rows = driver.rows("lvwVerlauf");
        QVERIFY(std::any_of(rows.cbegin(), rows.cend(), [](const QString& row) {
            return row.section('|', 2) == "geändert|Betrag|1.234,50|99,99";
        }));
        JournalHistoryDialog replacement(*f->session, "tblBuchung", replaced, "Buchung 001");
        QCOMPARE(WidgetDriver(&replacement).column("lvwVerlauf", 2).section(',', 0, 0), "gebucht");
    }

    // "Verlauf" from the context menus of the booking list and the estimate list; the project's journal.
    void historyFromTheLists() {
        f.reset();
        WorkspaceFixture work;
        // Its row number differs from the booking's ID, so each list's history must read its own table.
        work.db.exec(
            "INSERT INTO tblNachtrag (rowid, NID, ProjektID, Firma) VALUES (7, 1, '1', 'Hochbau Nord')");
        work.open();
        work.book("Hochbau Nord", "Abschlag", "10,00");
        QSignalSpy journal(work.screen.get(), &Workspace::journalRequested);
        const auto trigger = [&work](const char* list, const QString& name) {
            for (QAction* action : work.list(list)->actions())
                if (action->objectName() == name)
                    return action->trigger();
            QFAIL(qPrintable(name));
        };
        for (const auto& [tab, list] : {std::pair{1, "ListView1"}, std::pair{2, "ListView2"}}) {
            work.showTab(tab);
            work.activate();
            work.selectRow(list, 0);
            QString shown;
            QTimer::singleShot(0, [&shown] {
                QWidget* dialog = QApplication::activeModalWidget();
                if (!dialog)
                    return;
                shown = WidgetDriver(dialog).column("lvwVerlauf", 2);
                dialog->close();
            });
            trigger(list, "cmdVerlauf");
            QVERIFY2(shown.startsWith("gebucht"), qPrintable(list + (": " + shown)));
        }
        trigger("ListView1", "cmdProtokoll");
        QCOMPARE(journal.value(0).value(0).toString(), "1");
    }
};

QTEST_MAIN(JournalScreenTest)
#include "JournalScreenTest.moc"
