#pragma once

#include <optional>
#include <QDate>
#include <QString>

// Dates as whole days since 30.12.1899, the form in which the database file stores them.
class DayNumber {
public:
    static int fromDate(const QDate& date);
    static QDate toDate(int dayNumber);
    // "dd.MM.yyyy", always with a four-digit year.
    static QString format(int dayNumber);
    // A stored field's text ("38353", "38353.0", "45292.75"); nullopt for an empty or foreign value.
    static std::optional<int> parseStored(const QString& text);
    // A stored field's number, as the engine hands over a REAL or an INTEGER field. A fraction (a time of
    // day) is dropped: 45292.75 is the day 45292. nullopt for a value that is no whole day in reach.
    static std::optional<int> fromStoredReal(double value);
    static std::optional<int> fromStoredInteger(qint64 value);
    static QString format(const std::optional<int>& dayNumber);
};
