#include "JournalHistoryModel.h"

#include "JournalChanges.h"
#include "JournalReading.h"

JournalHistoryModel::JournalHistoryModel(QObject* parent)
    : TextTableModel({QStringLiteral("Zeit"), QStringLiteral("Benutzer"), QStringLiteral("Vorgang"),
                      QStringLiteral("Feld"), QStringLiteral("Alt"), QStringLiteral("Neu")},
                     parent) {}

void JournalHistoryModel::setEntries(const QList<JournalEntry>& entries) {
    QList<Row> rows;
    for (const JournalEntry& entry : entries) {
        const QStringList when{JournalReading::localTime(entry.time), entry.user,
                               JournalChanges::what(entry)};
        const QList<JournalChanges::Line> lines = JournalChanges::lines(entry);
        if (lines.isEmpty())
            rows.append({entry.id, when + QStringList{QString(), QString(), QString()}, {}, false});
        for (const JournalChanges::Line& line : lines)
            rows.append({entry.id, when + QStringList{line.field, line.oldText, line.newText}, {}, false});
    }
    setRows(std::move(rows));
}
