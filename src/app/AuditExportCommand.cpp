#include "AuditExportCommand.h"

#include "AuditExport.h"
#include "AuditExportWindow.h"
#include "Session.h"

#include <cstdio>
#include <cstring>
#include <QDir>

bool AuditExportCommand::isRequested(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], kOption) == 0;
}

int AuditExportCommand::run(const QStringList& arguments, const Settings& settings) {
    if (arguments.size() != 4) {
        std::fprintf(stderr, "Aufruf: Zlv %s <Datenbankdatei oder postgresql://server/datenbank> <Ordner>\n",
                     kOption);
        return 2;
    }
    const QString folder = arguments.at(3);
    if (const QString problem = AuditExport::folderProblem(folder); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    if (const QStringList existing = AuditExport::existingFiles(folder); !existing.isEmpty()) {
        std::fprintf(stderr, "Der Ordner '%s' enthält schon einen Export (%s); er wird nicht ersetzt.\n",
                     qPrintable(QDir::toNativeSeparators(folder)),
                     qPrintable(existing.join(QStringLiteral(", "))));
        return 1;
    }
    QString message;
    const std::unique_ptr<Session> session = Session::open(arguments.at(2), &message);
    if (!session) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    AuditExport::Request request;
    request.folder = folder;
    request.supplier = AuditExportWindow::supplier(settings);
    AuditExport exporter(*session);
    if (!exporter.run(request, &message)) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 1;
    }
    for (const auto& [table, rows] : exporter.counts())
        std::printf("%s: %lld Zeilen\n", qPrintable(table), static_cast<long long>(rows));
    std::printf("Export für die Prüfung in '%s' geschrieben.\n",
                qPrintable(QDir::toNativeSeparators(folder)));
    return 0;
}
