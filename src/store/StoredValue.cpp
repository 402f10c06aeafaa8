#include "StoredValue.h"

QVariant StoredValue::bind(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant StoredValue::bind(std::optional<int> number) {
    return number ? QVariant(static_cast<qint64>(*number)) : QVariant();
}

QVariant StoredValue::bindDay(std::optional<int> day, const QString& foreignText) {
    return day ? bind(day) : bind(foreignText);
}

QVariant StoredValue::bind(const std::optional<Money>& amount) {
    return amount ? QVariant(amount->toEuros()) : QVariant();
}
