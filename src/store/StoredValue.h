#pragma once

#include "Database.h"
#include "Money.h"

#include <optional>
#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// Converts between the fields of the file and the program's values: reading tolerates empty and foreign
// values, writing turns an empty value into null.
class StoredValue {
public:
    static QString text(const QSqlQuery& query, int column);
    // A whole number (running number, day number); nullopt for an empty or foreign value.
    static std::optional<int> integer(const QSqlQuery& query, int column);
    static qint64 rowNumber(const QSqlQuery& query, int column);
    // An amount; nullopt for an empty value or one that is not a number.
    static std::optional<Money> amount(const QSqlQuery& query, int column);

    static QVariant bind(const QString& text);
    static QVariant bind(std::optional<int> number);
    static QVariant bind(const std::optional<Money>& amount);

    // Runs sql and builds one row per result row; an engine failure gives an empty list and *ok false.
    template <typename Row, typename Build>
    static QList<Row> rows(Database& db, const QString& sql, const QVariantList& values, bool* ok,
                           Build build) {
        QList<Row> result;
        QSqlQuery query(db.connection());
        const bool ran = db.run(query, sql, values);
        if (ok)
            *ok = ran;
        if (!ran)
            return result;
        while (query.next())
            result.append(build(query));
        return result;
    }
};
