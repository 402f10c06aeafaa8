#include "TransferReport.h"

#include "Database.h"
#include "Schema.h"

bool TransferReport::agrees() const {
    for (const Table& table : tables) {
        if (!(table.file == table.server))
            return false;
    }
    return !tables.isEmpty();
}

QString TransferReport::text() const {
    QStringList lines = {QStringLiteral("Tabelle / Feld: %1 | %2").arg(fromSide, toSide)};
    for (const Table& table : tables) {
        const auto mark = [](bool same) { return same ? QString() : QStringLiteral("  <- abweichend"); };
        lines += QStringLiteral("%1, Zeilen: %2 | %3%4")
                     .arg(table.name)
                     .arg(table.file.rows)
                     .arg(table.server.rows)
                     .arg(mark(table.file.rows == table.server.rows));
        for (qsizetype i = 0; i < table.amountFields.size(); ++i) {
            const Money file = table.file.sums.value(i);
            const Money server = table.server.sums.value(i);
            lines += QStringLiteral("%1, Summe %2: %3 | %4%5")
                         .arg(table.name, table.amountFields.at(i), file.toGerman(), server.toGerman(),
                              mark(file == server));
        }
    }
    for (const QString& value : unreadable)
        lines += QStringLiteral("Nicht lesbar, leer übernommen: ") + value;
    lines += notes;
    return lines.join(u'\n');
}

QStringList TransferReport::amountFieldsOf(const QString& table) {
    QStringList fields;
    for (const QString& field : Schema::fieldNames(table)) {
        if (Schema::fieldKind(table, field) == Schema::FieldKind::Amount)
            fields += field;
    }
    return fields;
}

bool TransferReport::figuresOf(Database& db, const QString& table, const QStringList& amountFields,
                               Figures& figures) {
    figures = {0, QList<Money>(amountFields.size())};
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2")
            .arg(amountFields.isEmpty() ? QStringLiteral("1") : amountFields.join(u','), table);
    return db.read(sql, {}, [&](const Database::Row& row) {
        ++figures.rows;
        for (qsizetype i = 0; i < amountFields.size(); ++i)
            figures.sums[i] = figures.sums[i] + row.amount(int(i)).value_or(Money());
    });
}

QString TransferReport::plainAmount(const Money& amount) {
    const qint64 cents = amount.cents();
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(qAbs(cents / 100))
        .arg(qAbs(cents % 100), 2, 10, QLatin1Char('0'));
}
