#include "TransferRepository.h"

#include "DataLocation.h"

#include <algorithm>

namespace {

QStringList columns(const QStringList& fields) {
    QStringList written;
    for (const QString& field : fields)
        written += Schema::column(field);
    return written;
}

QStringList columns(const QList<Schema::Field>& fields) {
    QStringList written;
    for (const Schema::Field& field : fields)
        written += Schema::column(field.name);
    return written;
}

} // namespace

std::unique_ptr<Database> TransferRepository::openEmpty(const QString& location, QString* germanMessage) {
    Database::OpenFailure failure = Database::OpenFailure::None;
    std::unique_ptr<Database> db = Database::open(location, &failure, germanMessage);
    if (!db && failure == Database::OpenFailure::Empty && Database::create(location, germanMessage))
        db = Database::open(location, nullptr, germanMessage);
    if (!db)
        return nullptr;
    for (const QString& table : Schema::allTableNames()) {
        // A database just set up holds the preset trades and cost groups: the data brought in replace them.
        if (table == QLatin1String("tblGewerk") || table == QLatin1String("tblKostengruppe"))
            continue;
        bool empty = false;
        if (!db->read(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table), {},
                      [&](const Database::Row& row) { empty = row.text(0) == QLatin1String("0"); })) {
            *germanMessage = db->lastError();
            return nullptr;
        }
        if (!empty) {
            *germanMessage = QStringLiteral("Die Datenbank %1 ist nicht leer (die Tabelle %2 enthält Daten); "
                                            "Daten werden nur in eine leere Datenbank gebracht.")
                                 .arg(db->place(), table);
            return nullptr;
        }
    }
    return db;
}

bool TransferRepository::isFileOntoServer(const QString& from, const QString& to) {
    return !DataLocation::isServer(from) && DataLocation::isServer(to);
}

QList<Schema::Field> TransferRepository::numberedFields(const QString& table) {
    QList<Schema::Field> fields;
    for (const Schema::Table& declared : Schema::allTables()) {
        if (declared.name == table)
            fields = declared.fields;
    }
    const bool keyed = std::any_of(fields.cbegin(), fields.cend(), [](const Schema::Field& field) {
        return field.kind == Schema::FieldKind::Key;
    });
    if (!keyed)
        fields.prepend({QStringLiteral("rowid"), Schema::FieldKind::Key});
    return fields;
}

bool TransferRepository::clearPresets() {
    return m_db.exec(QStringLiteral("DELETE FROM tblGewerk")) &&
           m_db.exec(QStringLiteral("DELETE FROM tblKostengruppe"));
}

bool TransferRepository::write(const QString& table, const QStringList& fields,
                               const QList<QStringList>& rows) {
    return m_db.bulkInsert(table, columns(fields), rows);
}

bool TransferRepository::arrangeBookingsByProject() {
    // Copied in the file's order, where offices book for all their projects by turns, a project's
    // bookings lie spread over the whole table, few to a page: a project of 200,000 bookings among
    // 2,000,000 read 60,000 pages, more than the server keeps at hand, for what fits in 6,000. Rewritten
    // along the index of project and number; the server remembers the index, so that its administrator's
    // later CLUSTER tblBuchung, after years of new bookings, arranges them the same way.
    return m_db.exec(QStringLiteral("CLUSTER tblBuchung USING ixBuchungProjektID"));
}

bool TransferRepository::readAll(const QString& table,
                                 const std::function<void(const Database::Row&)>& visit) {
    return m_db.read(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                         .arg(columns(numberedFields(table)).join(u','), table),
                     {}, visit);
}

bool TransferRepository::figures(const QString& table, const QStringList& amountFields, qint64* rows,
                                 QList<Money>* sums) {
    *rows = 0;
    *sums = QList<Money>(amountFields.size());
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2")
            .arg(amountFields.isEmpty() ? QStringLiteral("1") : amountFields.join(u','), table);
    return m_db.read(sql, {}, [&](const Database::Row& row) {
        ++*rows;
        for (qsizetype i = 0; i < amountFields.size(); ++i)
            (*sums)[i] = sums->at(i) + row.amount(int(i)).value_or(Money());
    });
}

void TransferRepository::analyse() {
    // Only the program's own tables: the server's other tables are not ours to analyse (and refuse it to
    // all but a superuser). Vacuumed, the copied rows are marked visible to all, so that a list read
    // from an index that holds all it needs (the states of a project's bookings) need not visit the
    // table, as it need not after the server's own vacuuming of a table in use.
    m_db.exec(QStringLiteral("VACUUM (ANALYZE) ") + Schema::allTableNames().join(QStringLiteral(", ")));
}

std::optional<QString> TransferRepository::written(const Database::Row& row, int column,
                                                   Schema::FieldKind kind) {
    if (row.isNull(column))
        return QString();
    switch (kind) {
    case Schema::FieldKind::Key:
    case Schema::FieldKind::Total:
        return QString::number(row.rowNumber(column));
    case Schema::FieldKind::Integer:
        if (const std::optional<int> number = row.integer(column))
            return QString::number(*number);
        return std::nullopt;
    case Schema::FieldKind::Amount:
        if (const std::optional<Money> amount = row.amount(column))
            return plainAmount(*amount);
        return std::nullopt;
    case Schema::FieldKind::Text:
    case Schema::FieldKind::Name:
        return row.text(column);
    case Schema::FieldKind::Bytes:
        // A bulk write reads bytes given as text in hex: "\x" and two digits a byte.
        return QStringLiteral("\\x") + QString::fromLatin1(row.bytes(column).toHex());
    }
    return std::nullopt;
}

QString TransferRepository::plainAmount(const Money& amount) {
    const qint64 cents = amount.cents();
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(qAbs(cents / 100))
        .arg(qAbs(cents % 100), 2, 10, QLatin1Char('0'));
}
