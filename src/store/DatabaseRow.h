#pragma once

#include "Money.h"

#include <optional>
#include <QByteArray>
#include <QString>

class RepeatedTexts;

// One result row of a query run straight on the engine, valid only while it is visited; fields are read
// by column number and never fail: an empty or foreign value gives empty text or nullopt.
class DatabaseRow {
public:
    virtual ~DatabaseRow() = default;
    virtual int columnCount() const = 0;
    virtual QString text(int column) const = 0;
    // The same text, made once in a read for all the rows that repeat it (see RepeatedTexts).
    virtual QString text(int column, RepeatedTexts& repeated) const = 0;
    // The field's text in UTF-8: where the engine hands it over so, its bytes without a copy, valid only
    // while the row is visited.
    virtual QByteArray utf8(int column) const { return text(column).toUtf8(); }
    virtual bool isNull(int column) const = 0;
    // A whole number (running number, day number).
    virtual std::optional<int> integer(int column) const = 0;
    virtual qint64 rowNumber(int column) const = 0;
    virtual std::optional<Money> amount(int column) const = 0;
    // A field's bytes as stored (a BLOB), unchanged.
    virtual QByteArray bytes(int column) const = 0;
    // The same; for a value that is there but no amount, unreadable gets its stored text.
    std::optional<Money> amount(int column, QString& unreadable) const {
        const std::optional<Money> found = amount(column);
        if (!found && !isNull(column))
            unreadable = text(column);
        return found;
    }
};
