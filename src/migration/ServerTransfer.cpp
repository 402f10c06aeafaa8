#include "ServerTransfer.h"

#include "Database.h"
#include "Schema.h"
#include "Transaction.h"

#include <algorithm>

namespace {

constexpr int kRowsPerWrite = 5000;

// The field that numbers the rows: ID, the estimate rows' row number, or none of its own.
QString keyField(const QString& table) {
    if (Schema::fieldKind(table, QStringLiteral("ID")) == Schema::FieldKind::Key)
        return QStringLiteral("ID");
    return table == QLatin1String("tblNachtrag") ? QStringLiteral("rowid") : QString();
}

bool copyTable(Database& file, Database& server, const QString& table, ServerTransfer::Report& report,
               const ServerTransfer::Progress& progress) {
    const QString key = keyField(table);
    QStringList fields = Schema::fieldNames(table);
    if (!key.isEmpty() && !fields.contains(key))
        fields.prepend(key);
    QList<Schema::FieldKind> kinds;
    QStringList columns;
    for (const QString& field : std::as_const(fields)) {
        kinds += field == key ? Schema::FieldKind::Key : Schema::fieldKind(table, field);
        // "Straße" was declared in quotes, the others plain.
        const bool plain =
            std::all_of(field.cbegin(), field.cend(), [](QChar c) { return c.unicode() < 0x80; });
        columns += plain ? field : u'"' + field + u'"';
    }
    QList<QStringList> rows;
    qint64 done = 0;
    bool written = true;
    const bool read = file.read(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columns.join(u','), table), {},
        [&](const Database::Row& row) {
            if (!written)
                return;
            QStringList values;
            for (qsizetype i = 0; i < fields.size(); ++i) {
                const int column = int(i);
                if (row.isNull(column)) {
                    values += QString();
                    continue;
                }
                switch (kinds.at(i)) {
                case Schema::FieldKind::Key:
                    values += QString::number(row.rowNumber(column));
                    break;
                case Schema::FieldKind::Integer:
                    if (const std::optional<int> number = row.integer(column))
                        values += QString::number(*number);
                    else
                        values += QString();
                    break;
                case Schema::FieldKind::Amount:
                    if (const std::optional<Money> amount = row.amount(column))
                        values += TransferReport::plainAmount(*amount);
                    else
                        values += QString();
                    break;
                case Schema::FieldKind::Text:
                    values += row.text(column);
                    break;
                case Schema::FieldKind::Bytes:
                    // COPY reads a bytea given as text in hex: "\x" and two digits a byte.
                    values += QStringLiteral("\\x") + QString::fromLatin1(row.bytes(column).toHex());
                    break;
                }
                if (values.constLast().isNull())
                    report.unreadable +=
                        QStringLiteral("%1 %2 %3: %4")
                            .arg(table, QString::number(row.rowNumber(0)), fields.at(i), row.text(column));
            }
            rows += values;
            if (rows.size() == kRowsPerWrite) {
                written = server.bulkInsert(table, columns, rows);
                done += rows.size();
                rows.clear();
                if (progress)
                    progress(table, done);
            }
        });
    if (!read || !written)
        return false;
    if (!rows.isEmpty() && !server.bulkInsert(table, columns, rows))
        return false;
    if (progress)
        progress(table, done + rows.size());
    return true;
}

} // namespace

std::unique_ptr<Database> ServerTransfer::openEmpty(const QString& serverLocation, QString* germanMessage) {
    Database::OpenFailure failure = Database::OpenFailure::None;
    std::unique_ptr<Database> server = Database::open(serverLocation, &failure, germanMessage);
    if (!server && failure == Database::OpenFailure::Empty && Database::create(serverLocation, germanMessage))
        server = Database::open(serverLocation, nullptr, germanMessage);
    if (!server)
        return nullptr;
    for (const QString& table : Schema::allTableNames()) {
        // A database just set up holds the preset trades and cost groups: the data brought in replace them.
        if (table == QLatin1String("tblGewerk") || table == QLatin1String("tblKostengruppe"))
            continue;
        bool empty = false;
        if (!server->read(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table), {},
                          [&](const Database::Row& row) { empty = row.text(0) == QLatin1String("0"); })) {
            *germanMessage = server->lastError();
            return nullptr;
        }
        if (!empty) {
            *germanMessage = QStringLiteral("Die Datenbank %1 ist nicht leer (die Tabelle %2 enthält Daten); "
                                            "Daten werden nur in eine leere Datenbank gebracht.")
                                 .arg(server->place(), table);
            return nullptr;
        }
    }
    return server;
}

bool ServerTransfer::run(const QString& filePath, const QString& serverLocation, Report& report,
                         QString* germanMessage, const Progress& progress) {
    report = {};
    const auto refuse = [&](const QString& message) {
        if (germanMessage)
            *germanMessage = message;
        return false;
    };
    QString message;
    if (Database::isServerLocation(filePath) || !Database::isServerLocation(serverLocation))
        return refuse(QStringLiteral("Übertragen wird eine Datenbankdatei auf einen Datenbankserver "
                                     "(postgresql://server/datenbank)."));
    const std::unique_ptr<Database> file = Database::open(filePath, nullptr, &message);
    if (!file)
        return refuse(message);
    std::unique_ptr<Database> server = openEmpty(serverLocation, &message);
    if (!server)
        return refuse(message);
    {
        Transaction transaction(*server);
        bool copied = transaction.isActive() && server->exec(QStringLiteral("DELETE FROM tblGewerk")) &&
                      server->exec(QStringLiteral("DELETE FROM tblKostengruppe"));
        for (const QString& table : Schema::allTableNames())
            copied = copied && copyTable(*file, *server, table, report, progress);
        copied = copied && server->resetIdentities() && transaction.commit();
        if (!copied) {
            const QString reason = server->lastError().isEmpty() ? file->lastError() : server->lastError();
            return refuse(QStringLiteral("Die Übertragung ist fehlgeschlagen; auf dem Server blieb nichts "
                                         "zurück.\n") +
                          reason);
        }
    }
    // Without figures of the rows just copied the server would plan the first lists blindly; a failure
    // here changes no row, and the server's own upkeep gathers them later anyway. Only the program's own
    // tables: the server's other tables are not ours to analyse (and refuse it to all but a superuser).
    server->exec(QStringLiteral("ANALYZE ") + Schema::allTableNames().join(QStringLiteral(", ")));
    for (const QString& table : Schema::allTableNames()) {
        Table figures{table, TransferReport::amountFieldsOf(table), {}, {}};
        if (!TransferReport::figuresOf(*file, table, figures.amountFields, figures.file) ||
            !TransferReport::figuresOf(*server, table, figures.amountFields, figures.server))
            return refuse(server->lastError().isEmpty() ? file->lastError() : server->lastError());
        report.tables += figures;
    }
    return true;
}
