#include "TransferReport.h"

#include "Schema.h"
#include "TransferRepository.h"

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
    return TransferRepository(db).figures(table, amountFields, &figures.rows, &figures.sums);
}
