#pragma once

#include "Database.h"
#include "Money.h"

#include <optional>
#include <QList>
#include <QString>
#include <QVariant>

// Converts the program's values into the values bound for the file (an empty value becomes null) and
// builds typed rows from a query's result.
class StoredValue {
public:
    static QVariant bind(const QString& text);
    static QVariant bind(std::optional<int> number);
    static QVariant bind(const std::optional<Money>& amount);
    // A day number; without one, the stored text of a value that was no day number, written back as it
    // was.
    static QVariant bindDay(std::optional<int> day, const QString& foreignText);

    // Runs sql and builds one row per result row; an engine failure gives an empty list and *ok false.
    template <typename Result, typename Build>
    static QList<Result> rows(Database& db, const QString& sql, const QVariantList& values, bool* ok,
                              Build build) {
        QList<Result> result;
        const bool ran = db.read(sql, values, [&](const Database::Row& row) { result.append(build(row)); });
        if (ok)
            *ok = ran;
        if (!ran)
            result.clear();
        return result;
    }
};
