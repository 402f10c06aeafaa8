#include "JournalListModel.h"

#include "JournalReading.h"

JournalListModel::JournalListModel(QObject* parent) : TextTableModel(headings(), parent) {
    sortAs(SortKind::Number,
           {int(Column::Number), int(Column::Row), int(Column::Project), int(Column::Count)});
}

QStringList JournalListModel::headings() {
    return {QStringLiteral("Nr."),          QStringLiteral("Zeit"),    QStringLiteral("Benutzer"),
            QStringLiteral("Arbeitsplatz"), QStringLiteral("Tabelle"), QStringLiteral("Zeile"),
            QStringLiteral("Projekt"),      QStringLiteral("Aktion"),  QStringLiteral("Vorgang"),
            QStringLiteral("Anzahl"),       QStringLiteral("Feld"),    QStringLiteral("Alt"),
            QStringLiteral("Neu")};
}

void JournalListModel::clear() {
    m_filling.clear();
    m_fillingLines.clear();
}

void JournalListModel::add(const JournalEntry& entry) {
    const int held = int(m_filling.size());
    const int fields = int(JournalChanges::parse(entry).fields.size());
    m_filling.append({entry, fields});
    for (int field = 0; field < qMax(1, fields); ++field)
        m_fillingLines.append({held, field});
}

void JournalListModel::show() {
    replaceRows([this] {
        m_held = std::move(m_filling);
        m_lines = std::move(m_fillingLines);
        m_filling.clear();
        m_fillingLines.clear();
        m_parsedHeld = -1;
    });
}

const JournalEntry* JournalListModel::entryAt(int row) const {
    return row >= 0 && row < m_lines.size() ? &m_held.at(m_lines.at(row).held).entry : nullptr;
}

const JournalChanges::Parsed& JournalListModel::parsed(int held) const {
    if (held != m_parsedHeld) {
        m_parsed = JournalChanges::parse(m_held.at(held).entry);
        m_parsedHeld = held;
    }
    return m_parsed;
}

int JournalListModel::heldRows() const {
    return int(m_lines.size());
}

qint64 JournalListModel::idOf(int row) const {
    return m_held.at(m_lines.at(row).held).entry.id;
}

QString JournalListModel::textOf(int row, int column) const {
    const Line& line = m_lines.at(row);
    const JournalEntry& entry = m_held.at(line.held).entry;
    const bool changes = Column(column) >= Column::Field;
    const JournalChanges::Parsed* values = changes ? &parsed(line.held) : nullptr;
    const QString field = changes ? values->fields.value(line.field) : QString();
    switch (Column(column)) {
    case Column::Number:
        return QString::number(entry.id);
    case Column::Time:
        return JournalReading::localTime(entry.time);
    case Column::User:
        return entry.user;
    case Column::Workstation:
        return entry.workstation;
    case Column::Table:
        return entry.table;
    case Column::Row:
        return entry.row;
    case Column::Project:
        return entry.projectId;
    case Column::Action:
        return entry.action;
    case Column::Task:
        return entry.task;
    case Column::Count:
        return QString::number(entry.count);
    case Column::Field:
        return field;
    case Column::Old:
        return field.isEmpty() ? QString() : JournalChanges::text(field, values->before.value(field));
    case Column::New:
        return field.isEmpty() ? QString() : JournalChanges::text(field, values->after.value(field));
    }
    return QString();
}

bool JournalListModel::keptLastAt(int) const {
    return false;
}

// Times sort as stored (UTC), which orders them as the local times shown do.
QString JournalListModel::sortTextOf(int row, int column) const {
    if (Column(column) == Column::Time)
        return m_held.at(m_lines.at(row).held).entry.time;
    return textOf(row, column);
}

void JournalListModel::reorder(const QList<int>& order) {
    QList<Line> sorted;
    sorted.reserve(m_lines.size());
    for (const int row : order)
        sorted.append(m_lines.at(row));
    m_lines = std::move(sorted);
}
