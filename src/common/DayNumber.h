#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Dates as whole days since 30.12.1899, the form in which the database file stores them.
class DayNumber {
public:
    static int fromDate(const QDate& date);
    static QDate toDate(int dayNumber);
    // "dd.MM.yyyy", always with a four-digit year.
    static QString format(int dayNumber);
    // A stored field's text ("38353", "38353.0"); nullopt for an empty or foreign value.
    static std::optional<int> parseStored(const QString& text);
    // The shown text of a stored field: a date, or empty when the field is empty or not a day number.
    static QString formatStored(const QString& text);
    static QString format(const std::optional<int>& dayNumber);
};
