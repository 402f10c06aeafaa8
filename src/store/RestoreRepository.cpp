#include "RestoreRepository.h"

#include "Database.h"
#include "Dialect.h"
#include "Schema.h"

#include <cmath>
#include <QJsonValue>

namespace {

std::optional<Schema::Journaled> journaled(const QString& table) {
    for (const Schema::Journaled& each : Schema::journaled()) {
        if (each.table == table)
            return each;
    }
    return std::nullopt;
}

// A key as bound: a number where the row names one.
QVariant keyValue(const QString& row) {
    bool number = false;
    const qint64 value = row.toLongLong(&number);
    return number ? QVariant(value) : QVariant(row);
}

// A field's value as the journal holds it, bound as the engine stored it: whole numbers of whole-number
// fields as such.
QVariant bound(const QJsonValue& value, Schema::FieldKind kind) {
    if (value.isString())
        return value.toString();
    if (!value.isDouble())
        return QVariant();
    const double number = value.toDouble();
    const bool whole = kind == Schema::FieldKind::Integer || kind == Schema::FieldKind::Key ||
                       kind == Schema::FieldKind::Total;
    if (whole && std::trunc(number) == number && std::abs(number) < 9.0e15)
        return QVariant(value.toInteger());
    return number;
}

} // namespace

std::optional<bool> RestoreRepository::holds(const QString& table, const QString& row) {
    const std::optional<Schema::Journaled> found = journaled(table);
    if (!found)
        return std::nullopt;
    bool held = false;
    if (!m_db.read(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(found->table, found->key),
                   {keyValue(row)}, [&](const Database::Row&) { held = true; }))
        return std::nullopt;
    return held;
}

bool RestoreRepository::insert(const QString& table, const QString& row, const QJsonObject& fields) {
    const std::optional<Schema::Journaled> found = journaled(table);
    if (!found)
        return false;
    QStringList columns{found->key};
    QVariantList values{keyValue(row)};
    bool numbered = found->key == QLatin1String("rowid");
    for (const Schema::Field& field : found->fields) {
        if (field.name == found->key) {
            numbered = field.numbered;
            continue;
        }
        if (!fields.contains(field.name))
            continue;
        columns += Schema::column(field.name);
        values += bound(fields.value(field.name), field.kind);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(found->table, columns.join(QStringLiteral(", ")),
                                 QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    if (!m_db.exec(sql, values))
        return false;
    const std::optional<QString> beyond = m_db.dialect().identityBeyondStatement();
    return !numbered || !beyond || m_db.exec(*beyond, {values.first(), found->table, found->key});
}

std::optional<bool> RestoreRepository::holdsName(const QString& table, const QString& field,
                                                 const QString& name) {
    bool held = false;
    if (!m_db.read(QStringLiteral("SELECT 1 FROM %1 WHERE fold(%2) = fold(?) LIMIT 1")
                       .arg(table, Schema::column(field)),
                   {name}, [&](const Database::Row&) { held = true; }))
        return std::nullopt;
    return held;
}
