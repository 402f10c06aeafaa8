#include "JournalRepository.h"

#include "Database.h"
#include "StoredValue.h"

bool JournalRepository::select(const QString& where, const QVariantList& values,
                               const std::function<void(const JournalEntry&)>& visit) {
    const QString sql =
        QStringLiteral(
            "SELECT ID, Zeit, Benutzer, Arbeitsplatz, Tabelle, Zeile, ProjektID, Aktion, Vorgang, Anzahl, "
            "Alt, Neu FROM tblProtokoll%1 ORDER BY ID")
            .arg(where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
    return m_db.read(sql, values, [&](const Database::Row& row) {
        JournalEntry entry;
        entry.id = row.rowNumber(0);
        entry.time = row.text(1);
        entry.user = row.text(2);
        entry.workstation = row.text(3);
        entry.table = row.text(4);
        entry.row = row.text(5);
        entry.projectId = row.text(6);
        entry.action = row.text(7);
        entry.task = row.text(8);
        entry.count = row.rowNumber(9);
        entry.oldValues = row.text(10);
        entry.newValues = row.text(11);
        visit(entry);
    });
}

bool JournalRepository::read(const Filter& filter, const std::function<void(const JournalEntry&)>& visit) {
    QStringList conditions;
    QVariantList values;
    const auto add = [&](const QString& value, const QString& condition) {
        if (value.isEmpty())
            return;
        conditions += condition;
        values += value;
    };
    // The project's entries through the index on ProjektID.
    add(filter.projectId.trimmed(), QStringLiteral("ProjektID = ?"));
    add(filter.table, QStringLiteral("Tabelle = ?"));
    add(filter.user, QStringLiteral("fold(Benutzer) = fold(?)"));
    add(filter.from, QStringLiteral("Zeit >= ?"));
    add(filter.to, QStringLiteral("Zeit < ?"));
    if (!filter.text.isEmpty()) {
        conditions += QStringLiteral("(matches(?, Alt) OR matches(?, Neu) OR matches(?, Zeile) OR matches(?, "
                                     "Vorgang))");
        const QString pattern = u'*' + filter.text + u'*';
        values << pattern << pattern << pattern << pattern;
    }
    return select(conditions.join(QStringLiteral(" AND ")), values, visit);
}

QList<JournalEntry> JournalRepository::forRow(const QString& table, const QString& row, bool* ok) {
    QList<JournalEntry> entries;
    const bool read = select(QStringLiteral("Tabelle = ? AND Zeile = ?"), {table, row},
                             [&](const JournalEntry& entry) { entries += entry; });
    if (ok)
        *ok = read;
    return entries;
}

std::optional<JournalEntry> JournalRepository::find(qint64 id, bool* ok) {
    std::optional<JournalEntry> found;
    const bool read =
        select(QStringLiteral("ID = ?"), {id}, [&](const JournalEntry& entry) { found = entry; });
    if (ok)
        *ok = read;
    return found;
}

QStringList JournalRepository::distinct(Distinct which, const QString& projectId, bool* ok) {
    const QString column = which == Distinct::Users ? QStringLiteral("Benutzer") : QStringLiteral("Tabelle");
    const QString project = projectId.trimmed();
    return StoredValue::rows<QString>(
        m_db,
        QStringLiteral("SELECT DISTINCT %1 FROM tblProtokoll WHERE %1 IS NOT NULL AND %1 <> ''%2 ORDER BY %1")
            .arg(column, project.isEmpty() ? QString() : QStringLiteral(" AND ProjektID = ?")),
        project.isEmpty() ? QVariantList() : QVariantList{project}, ok,
        [](const Database::Row& row) { return row.text(0); });
}
