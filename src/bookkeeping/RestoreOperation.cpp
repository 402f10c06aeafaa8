#include "RestoreOperation.h"

#include "BookingRepository.h"
#include "Database.h"
#include "EstimateRepository.h"
#include "InvoiceFileRepository.h"
#include "Journal.h"
#include "JournalRepository.h"
#include "RemoveCompany.h"
#include "RemoveProject.h"
#include "RestoreRepository.h"
#include "RunningNumber.h"
#include "RunningNumberText.h"
#include "Session.h"
#include "Transaction.h"

#include <QJsonDocument>
#include <QStringList>

namespace {

const QString kDeleted = QStringLiteral("Gelöscht");
const QString kBookings = QStringLiteral("tblBuchung");
const QString kEstimates = QStringLiteral("tblNachtrag");

// What a row of each table that can be restored is called in a notice.
QString noun(const QString& table) {
    if (table == kBookings)
        return QStringLiteral("Die Buchung");
    if (table == kEstimates)
        return QStringLiteral("Die Auftragszeile");
    if (table == QLatin1String("tblFirma"))
        return QStringLiteral("Die Firma");
    if (table == QLatin1String("tblGewerk"))
        return QStringLiteral("Das Gewerk");
    if (table == QLatin1String("tblKostengruppe"))
        return QStringLiteral("Die Kostengruppe");
    if (table == QLatin1String("tblProjekt"))
        return QStringLiteral("Das Projekt");
    if (table == QLatin1String("tblBudget"))
        return QStringLiteral("Das Budget des Projekts");
    return QString();
}

// A booking replaced by its correction was not deleted: restoring it would pay twice.
bool replaced(const JournalEntry& entry) {
    return entry.task == QLatin1String("Korrektur");
}

bool isDeletion(const JournalEntry& entry) {
    return entry.action == kDeleted && !replaced(entry) && entry.table != QLatin1String("tblBudget") &&
           !noun(entry.table).isEmpty();
}

QJsonObject parsed(const QString& json) {
    return QJsonDocument::fromJson(json.toUtf8()).object();
}

QString textOf(const QJsonValue& value) {
    return value.toVariant().toString().trimmed();
}

// The master name a restored row refers to: its field, and the master table and field holding the name.
struct Reference {
    QString field;
    QString table;
    QString name;
    QString noun;
};

// Writes back, in the caller's transaction, the rows deleted entries recorded, and collects what the user
// should be told.
class Restorer {
public:
    explicit Restorer(Database& db) : m_db(db) {}

    // False when the store fails.
    bool row(const JournalEntry& entry);
    qint64 rows() const { return m_rows; }
    QStringList notes() const { return m_notes; }

private:
    bool renumber(const JournalEntry& entry, QJsonObject& fields);
    bool namesThere(const JournalEntry& entry, const QJsonObject& fields);
    bool reattachFile(const JournalEntry& deletion);

    Database& m_db;
    qint64 m_rows = 0;
    QStringList m_notes;
};

bool Restorer::row(const JournalEntry& entry) {
    RestoreRepository restore(m_db);
    QJsonObject fields = parsed(entry.oldValues);
    const std::optional<bool> held = restore.holds(entry.table, entry.row);
    if (!held)
        return false;
    if (*held) {
        m_notes += QStringLiteral("%1 Nr. %2 ist schon wieder vorhanden und bleibt unverändert.")
                       .arg(noun(entry.table), entry.row);
        return true;
    }
    if (!renumber(entry, fields) || !namesThere(entry, fields) ||
        !restore.insert(entry.table, entry.row, fields))
        return false;
    ++m_rows;
    return entry.table != kBookings || reattachFile(entry);
}

// A running number taken meanwhile in the project (for an estimate row: by the company's rows in it) is
// replaced by the next, read under the project's lock.
bool Restorer::renumber(const JournalEntry& entry, QJsonObject& fields) {
    const bool booking = entry.table == kBookings;
    if (!booking && entry.table != kEstimates)
        return true;
    const QString field = booking ? QStringLiteral("PID") : QStringLiteral("NID");
    if (!fields.value(field).isDouble())
        return true;
    const int wanted = fields.value(field).toInt();
    const QString projectId = textOf(fields.value(QStringLiteral("ProjektID")));
    const QString company = fields.value(QStringLiteral("Firma")).toString();
    if (!m_db.lockProject(projectId))
        return false;
    BookingRepository bookings(m_db);
    EstimateRepository estimates(m_db);
    const std::optional<bool> taken = booking ? bookings.holdsRunningNumber(projectId, wanted)
                                              : estimates.holdsRunningNumber(projectId, company, wanted);
    if (!taken)
        return false;
    if (!*taken)
        return true;
    bool ok = true;
    const int next = RunningNumber::next(booking ? bookings.highestRunningNumber(projectId, &ok)
                                                 : estimates.highestRunningNumber(projectId, company, &ok));
    if (!ok)
        return false;
    fields.insert(field, next);
    m_notes += QStringLiteral("%1 erhielt die Nummer %2, weil %3 inzwischen vergeben ist.")
                   .arg(noun(entry.table), RunningNumberText::of(next), RunningNumberText::of(wanted));
    return true;
}

// A name the row refers to that is gone meanwhile stays in the row; the user is told.
bool Restorer::namesThere(const JournalEntry& entry, const QJsonObject& fields) {
    if (entry.table != kBookings && entry.table != kEstimates && entry.table != QLatin1String("tblFirma"))
        return true;
    const QString trades = QStringLiteral("tblGewerk");
    const QString costGroups = QStringLiteral("tblKostengruppe");
    const QList<Reference> references = {
        {QStringLiteral("Firma"), QStringLiteral("tblFirma"), QStringLiteral("Name"),
         QStringLiteral("Die Firma")},
        {QStringLiteral("Gewerk"), trades, QStringLiteral("Gewerk"), QStringLiteral("Das Gewerk")},
        {QStringLiteral("GewerkID"), trades, QStringLiteral("Gewerk"), QStringLiteral("Das Gewerk")},
        {QStringLiteral("Kostengruppe"), costGroups, QStringLiteral("Kostengruppe"),
         QStringLiteral("Die Kostengruppe")},
        {QStringLiteral("KostengruppeID"), costGroups, QStringLiteral("Kostengruppe"),
         QStringLiteral("Die Kostengruppe")},
    };
    RestoreRepository restore(m_db);
    for (const Reference& reference : references) {
        const QString name = textOf(fields.value(reference.field));
        if (name.isEmpty())
            continue;
        const std::optional<bool> there = restore.holdsName(reference.table, reference.name, name);
        if (!there)
            return false;
        if (!*there)
            m_notes += QStringLiteral("%1 „%2“ gibt es nicht mehr; der Name bleibt im wiederhergestellten "
                                      "Eintrag stehen.")
                           .arg(reference.noun, name);
    }
    const QString projectId = textOf(fields.value(QStringLiteral("ProjektID")));
    if (entry.table == QLatin1String("tblFirma") || projectId.isEmpty())
        return true;
    bool number = false;
    projectId.toLongLong(&number);
    const std::optional<bool> project =
        number ? restore.holds(QStringLiteral("tblProjekt"), projectId) : std::optional<bool>(false);
    if (!project)
        return false;
    if (!*project)
        m_notes +=
            QStringLiteral("Das Projekt Nr. %1 gibt es nicht mehr; der wiederhergestellte Eintrag gehört "
                           "weiter zu dieser Nummer.")
                .arg(projectId);
    return true;
}

// The e-invoice file kept, detached, when the booking was deleted returns to it.
bool Restorer::reattachFile(const JournalEntry& deletion) {
    JournalRepository::Filter filter;
    filter.projectId = deletion.projectId;
    filter.table = QStringLiteral("tblRechnungsdatei");
    const qint64 booking = deletion.row.toLongLong();
    std::optional<qint64> file;
    const bool read = JournalRepository(m_db).read(filter, [&](const JournalEntry& entry) {
        if (file || entry.id <= deletion.id || entry.action != QStringLiteral("Geändert"))
            return;
        const QJsonValue after = parsed(entry.newValues).value(QStringLiteral("BuchungID"));
        if (parsed(entry.oldValues).value(QStringLiteral("BuchungID")).toInteger() == booking &&
            after.isNull())
            file = entry.row.toLongLong();
    });
    return read && (!file || InvoiceFileRepository(m_db).attachToBooking(*file, booking));
}

// Whether the removal of a project or company (entry) deleted the row of next with it: a row of its
// project, or an account or a certificate of the company.
bool belongsTo(const JournalEntry& entry, const JournalEntry& next) {
    if (next.table == entry.table || next.projectId != entry.projectId)
        return false;
    return entry.table != QLatin1String("tblFirma") ||
           ((next.table == QLatin1String("tblBankverbindung") ||
             next.table == QLatin1String("tblFreistellung")) &&
            parsed(next.oldValues).value(QStringLiteral("FirmaID")).toInteger() == entry.row.toLongLong());
}

// The entries of the rows a project's or company's removal deleted with it: those next to its own, of the
// same removal and belonging to it.
bool deletedWith(JournalRepository& journal, const JournalEntry& removed, QList<JournalEntry>& together) {
    for (const int step : {-1, 1}) {
        for (qint64 id = removed.id + step; id > 0; id += step) {
            bool ok = true;
            const std::optional<JournalEntry> next = journal.find(id, &ok);
            if (!ok)
                return false;
            if (!next || next->action != kDeleted || next->task != removed.task || !belongsTo(removed, *next))
                break;
            together += *next;
        }
    }
    return true;
}

} // namespace

bool RestoreOperation::restorable(qint64 entryId) {
    Database& db = m_session.database();
    const std::optional<JournalEntry> entry = JournalRepository(db).find(entryId);
    if (!entry || !isDeletion(*entry))
        return false;
    const std::optional<bool> held = RestoreRepository(db).holds(entry->table, entry->row);
    return held && !*held;
}

Outcome RestoreOperation::restore(qint64 entryId, QString* notice) {
    Database& db = m_session.database();
    JournalRepository journal(db);
    bool ok = true;
    const std::optional<JournalEntry> entry = journal.find(entryId, &ok);
    if (!ok)
        return Outcome::ofStore(db);
    if (entry && entry->action == kDeleted && replaced(*entry))
        return Outcome::failed(
            Outcome::Kind::Refused,
            QStringLiteral("Diese Buchung wurde bei einer Korrektur durch die berichtigte ersetzt, "
                           "nicht gelöscht. Wiederhergestellt würde sie doppelt gezahlt."));
    if (!entry || !isDeletion(*entry))
        return Outcome::failed(
            Outcome::Kind::Refused,
            QStringLiteral("Dieser Eintrag des Änderungsprotokolls hält nicht fest, dass eine "
                           "Buchung, eine Auftragszeile, eine Firma, ein Gewerk, eine "
                           "Kostengruppe oder ein Projekt gelöscht wurde. Es gibt nichts "
                           "wiederherzustellen."));
    QList<JournalEntry> together;
    const bool withRows =
        (entry->table == QLatin1String("tblProjekt") && entry->task == RemoveProject::task()) ||
        (entry->table == QLatin1String("tblFirma") && entry->task == RemoveCompany::task());
    if (withRows && !deletedWith(journal, *entry, together))
        return Outcome::ofStore(db);
    std::optional<Restorer> restorer;
    bool present = false;
    const bool restored = db.retryOnceWhenBusy([&] {
        restorer.emplace(db);
        Transaction transaction(db);
        if (!transaction.isActive() || !Journal(db).label(QStringLiteral("Wiederherstellung")))
            return false;
        const std::optional<bool> held = RestoreRepository(db).holds(entry->table, entry->row);
        present = held.value_or(false);
        if (!held || present || !restorer->row(*entry))
            return false;
        for (const JournalEntry& other : std::as_const(together)) {
            if (!restorer->row(other))
                return false;
        }
        return Journal(db).append(entry->table, entry->row,
                                  entry->projectId.isEmpty() ? QString() : entry->projectId,
                                  QStringLiteral("Wiederhergestellt"), restorer->rows(), {},
                                  {{QStringLiteral("Eintrag"), entryId}}) &&
               transaction.commit();
    });
    if (present)
        return Outcome::failed(
            Outcome::Kind::Refused,
            QStringLiteral("%1 ist schon wieder gespeichert (Nr. %2); die Löschung lässt sich nicht noch "
                           "einmal rückgängig machen.")
                .arg(noun(entry->table), entry->row));
    if (!restored)
        return Outcome::ofStore(db);
    if (notice)
        *notice = restorer->notes().join(u'\n');
    m_session.wrote();
    return Outcome::done(entry->row.toLongLong());
}
