#pragma once

#include "JournalChanges.h"
#include "JournalEntry.h"
#include "TextTableModel.h"

#include <QList>

// The change journal's list: one line per changed field of an entry, the entry's columns on each line and
// the field's old and new values side by side. It keeps the entries as read and formats a line's texts
// when it is shown.
class JournalListModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column {
        Number,
        Time,
        User,
        Workstation,
        Table,
        Row,
        Project,
        Action,
        Task,
        Count,
        Field,
        Old,
        New
    };
    static constexpr int kColumnCount = 13;

    explicit JournalListModel(QObject* parent = nullptr);

    // Starts a new fill; add() appends each entry read, show() shows them.
    void clear();
    void add(const JournalEntry& entry);
    void show();
    // The entry shown in row, null when there is none.
    const JournalEntry* entryAt(int row) const;
    // The headings, the columns right-aligned in print.
    static QStringList headings();

protected:
    int heldRows() const override;
    qint64 idOf(int row) const override;
    QString textOf(int row, int column) const override;
    bool keptLastAt(int row) const override;
    QString sortTextOf(int row, int column) const override;
    void reorder(const QList<int>& order) override;

private:
    // The values of an entry are read again when its lines are shown: a list of a million entries keeps
    // only their texts and the number of their fields.
    struct Held {
        JournalEntry entry;
        int fields = 0;
    };
    const JournalChanges::Parsed& parsed(int held) const;
    // A shown line: its entry and the number of its field (0 for an entry without fields).
    struct Line {
        int held = 0;
        int field = 0;
    };

    QList<Held> m_held;
    QList<Line> m_lines;
    QList<Held> m_filling;
    QList<Line> m_fillingLines;
    mutable int m_parsedHeld = -1;
    mutable JournalChanges::Parsed m_parsed;
};
