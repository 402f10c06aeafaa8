#include "StoredValue.h"

#include "Database.h"
#include "DayNumber.h"

#include <cmath>
#include <limits>
#include <QSqlQuery>

namespace {
constexpr double kLargestEuros = 9.0e13;
}

QString StoredValue::text(const QSqlQuery& query, int column) {
    return Database::text(query, column);
}

std::optional<int> StoredValue::integer(const QSqlQuery& query, int column) {
    const QVariant value = query.value(column);
    if (value.isNull())
        return std::nullopt;
    if (value.typeId() == QMetaType::LongLong) {
        const qint64 number = value.toLongLong();
        if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
            return std::nullopt;
        return static_cast<int>(number);
    }
    return DayNumber::parseStored(Database::text(query, column));
}

qint64 StoredValue::rowNumber(const QSqlQuery& query, int column) {
    return query.value(column).toLongLong();
}

std::optional<Money> StoredValue::amount(const QSqlQuery& query, int column) {
    const QVariant value = query.value(column);
    if (value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Double: {
        const double euros = value.toDouble();
        if (!std::isfinite(euros) || std::fabs(euros) > kLargestEuros)
            return std::nullopt;
        return Money::fromEuros(euros);
    }
    case QMetaType::LongLong: {
        const qint64 euros = value.toLongLong();
        if (euros > static_cast<qint64>(kLargestEuros) || euros < -static_cast<qint64>(kLargestEuros))
            return std::nullopt;
        return Money::fromCents(euros * 100);
    }
    default:
        return Money::parseStored(Database::text(query, column));
    }
}

QVariant StoredValue::bind(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant StoredValue::bind(std::optional<int> number) {
    return number ? QVariant(static_cast<qint64>(*number)) : QVariant();
}

QVariant StoredValue::bind(const std::optional<Money>& amount) {
    return amount ? QVariant(amount->toEuros()) : QVariant();
}
