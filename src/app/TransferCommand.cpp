#include "TransferCommand.h"

#include "ServerTransfer.h"

#include <cstdio>
#include <cstring>

bool TransferCommand::isRequested(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], kOption) == 0;
}

int TransferCommand::run(const QStringList& arguments) {
    if (arguments.size() != 4) {
        std::fprintf(stderr, "Aufruf: Zlv %s <Datenbankdatei> <postgresql://server/datenbank>\n", kOption);
        return 2;
    }
    ServerTransfer::Report report;
    QString message;
    const bool copied = ServerTransfer::run(
        arguments.at(2), arguments.at(3), report, &message,
        [](const QString& table, qint64 rows) {
            std::fprintf(stderr, "%s: %lld Zeilen\n", qPrintable(table), static_cast<long long>(rows));
        },
        [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
    if (!copied) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        if (!report.tables.isEmpty())
            std::printf("%s\n", qPrintable(report.text()));
        return 1;
    }
    std::printf("%s\n", qPrintable(report.text()));
    if (!report.agrees()) {
        std::fprintf(stderr, "Datei und Server stimmen nicht überein.\n");
        return 1;
    }
    std::printf("Übertragen: Datei und Server stimmen überein.\n");
    return 0;
}
