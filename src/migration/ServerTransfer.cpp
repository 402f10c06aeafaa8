#include "ServerTransfer.h"

#include "Database.h"
#include "Journal.h"
#include "ProjectSums.h"
#include "Schema.h"
#include "SignOffRepository.h"
#include "Transaction.h"
#include "TransferRepository.h"

namespace {

constexpr int kRowsPerWrite = 5000;

bool copyTable(Database& file, Database& server, const QString& table, ServerTransfer::Report& report,
               const ServerTransfer::Progress& progress) {
    const QList<Schema::Field> numbered = TransferRepository::numberedFields(table);
    QStringList fields;
    QList<Schema::FieldKind> kinds;
    for (const Schema::Field& field : numbered) {
        fields += field.name;
        kinds += field.kind;
    }
    TransferRepository target(server);
    QList<QStringList> rows;
    qint64 done = 0;
    bool written = true;
    const bool read = TransferRepository(file).readAll(table, [&](const Database::Row& row) {
        if (!written)
            return;
        QStringList values;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const int column = int(i);
            values += TransferRepository::written(row, column, kinds.at(i)).value_or(QString());
            if (values.constLast().isNull() && !row.isNull(column))
                report.unreadable +=
                    QStringLiteral("%1 %2 %3: %4")
                        .arg(table, QString::number(row.rowNumber(0)), fields.at(i), row.text(column));
        }
        rows += values;
        if (rows.size() == kRowsPerWrite) {
            written = target.write(table, fields, rows);
            done += rows.size();
            rows.clear();
            if (progress)
                progress(table, done);
        }
    });
    if (!read || !written)
        return false;
    if (!rows.isEmpty() && !target.write(table, fields, rows))
        return false;
    if (progress)
        progress(table, done + rows.size());
    return true;
}

} // namespace

bool ServerTransfer::run(const QString& filePath, const QString& serverLocation, Report& report,
                         QString* germanMessage, const Progress& progress, const Stage& stage) {
    report = {};
    const auto tell = [&stage](const QString& text) {
        if (stage)
            stage(text);
    };
    const auto refuse = [&](const QString& message) {
        if (germanMessage)
            *germanMessage = message;
        return false;
    };
    QString message;
    if (!TransferRepository::isFileOntoServer(filePath, serverLocation))
        return refuse(QStringLiteral("Übertragen wird eine Datenbankdatei auf einen Datenbankserver "
                                     "(postgresql://server/datenbank)."));
    const std::unique_ptr<Database> file = Database::open(filePath, nullptr, &message);
    if (!file)
        return refuse(message);
    std::unique_ptr<Database> server = TransferRepository::openEmpty(serverLocation, &message);
    if (!server)
        return refuse(message);
    {
        Transaction transaction(*server);
        // Each project's sums are counted once when all rows are in, rather than by a trigger per row.
        // The file's journal comes along; the transfer itself is one entry of it.
        Journal journal(*server);
        // The states of the bookings come along as the file holds them.
        SignOffRepository signOffs(*server);
        bool copied = transaction.isActive() && journal.suspend() &&
                      TransferRepository(*server).clearPresets() && ProjectSums(*server).suspend() &&
                      signOffs.suspendChecks();
        for (const QString& table : Schema::allTableNames())
            copied = copied && copyTable(*file, *server, table, report, progress);
        if (copied)
            tell(QStringLiteral("Die Buchungen werden je Projekt zusammengelegt und die Summen der Projekte "
                                "gezählt …"));
        copied = copied && TransferRepository(*server).arrangeBookingsByProject() &&
                 ProjectSums(*server).install() && server->resetIdentities() && signOffs.installChecks() &&
                 journal.installAfterBulk(QStringLiteral("Übertragung"), file->place()) &&
                 transaction.commit();
        if (!copied) {
            const QString reason = server->lastError().isEmpty() ? file->lastError() : server->lastError();
            return refuse(QStringLiteral("Die Übertragung ist fehlgeschlagen; auf dem Server blieb nichts "
                                         "zurück.\n") +
                          reason);
        }
    }
    tell(QStringLiteral("Datei und Server werden Tabelle für Tabelle verglichen …"));
    // Without figures of the rows just copied the server would plan the first lists blindly, and read
    // every row from the table until its own vacuuming came by.
    TransferRepository(*server).analyse();
    for (const QString& table : Schema::allTableNames()) {
        // The journal holds one entry more than the file's: the transfer's own.
        if (table == Schema::journal().name)
            continue;
        Table figures{table, TransferReport::amountFieldsOf(table), {}, {}};
        if (!TransferReport::figuresOf(*file, table, figures.amountFields, figures.file) ||
            !TransferReport::figuresOf(*server, table, figures.amountFields, figures.server))
            return refuse(server->lastError().isEmpty() ? file->lastError() : server->lastError());
        report.tables += figures;
    }
    return true;
}
