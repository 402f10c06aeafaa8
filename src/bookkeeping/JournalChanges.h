#pragma once

#include "JournalEntry.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

// The changed fields of a journal entry as the screens show them: one line per field with its old and
// new value side by side, amounts in German notation and day numbers as dd.MM.yyyy.
class JournalChanges {
public:
    // An entry's old and new values, read once; the fields of both in their order.
    struct Parsed {
        QStringList fields;
        QJsonObject before;
        QJsonObject after;
    };
    struct Line {
        QString field;
        QString oldText;
        QString newText;
    };

    static Parsed parse(const JournalEntry& entry);
    static QList<Line> lines(const JournalEntry& entry);
    // A field's value as shown; several values (the old names of a name change) joined with "; ".
    static QString text(const QString& field, const QJsonValue& value);
    // What the entry did to its row, as its history tells it: "gebucht", "ersetzt (Korrektur)",
    // "gelöscht", "geändert", "wiederhergestellt", else the entry's action.
    static QString what(const JournalEntry& entry);
};
