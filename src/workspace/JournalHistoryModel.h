#pragma once

#include "JournalEntry.h"
#include "TextTableModel.h"

#include <QList>

// The history of one row as its journal entries tell it: when, who, what happened ("gebucht",
// "ersetzt (Korrektur)", ...), and each changed field with its old and new value, one line per field.
class JournalHistoryModel : public TextTableModel {
    Q_OBJECT
public:
    enum class Column { Time, User, What, Field, Old, New };

    explicit JournalHistoryModel(QObject* parent = nullptr);

    void setEntries(const QList<JournalEntry>& entries);
};
