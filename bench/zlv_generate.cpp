// Writes the large benchmark database or a small demonstration database to the path given.

#include "DemoOfficeGenerator.h"
#include "LargeOfficeGenerator.h"

#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

int usage() {
    std::fprintf(stderr,
                 "Aufruf: zlv_generate large|demo [--factor N] [--force] <Datei>\n"
                 "  large  große Bürodatenbank für die Messungen\n"
                 "  demo   kleine Vorführdatenbank\n"
                 "  --factor N  N-mal so viele Buchungen und Kostenzeilen (nur large, 1 bis %d)\n"
                 "  --force  eine vorhandene Datei ersetzen\n",
                 LargeOfficeGenerator::kMaxFactor);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool force = args.removeAll(QStringLiteral("--force")) > 0;
    int factor = 1;
    const qsizetype factorAt = args.indexOf(QStringLiteral("--factor"));
    if (factorAt >= 0) {
        bool ok = false;
        factor = args.value(factorAt + 1).toInt(&ok);
        if (!ok || factor < 1 || factor > LargeOfficeGenerator::kMaxFactor)
            return usage();
        args.remove(factorAt, 2);
    }
    if (args.size() != 2 || (args.at(0) != QLatin1String("large") && args.at(0) != QLatin1String("demo")) ||
        (factor != 1 && args.at(0) != QLatin1String("large")))
        return usage();
    const QString path = args.at(1);
    if (QFile::exists(path)) {
        if (!force) {
            std::fprintf(stderr, "%s existiert bereits; mit --force wird sie ersetzt.\n", qPrintable(path));
            return 1;
        }
        if (!QFile::remove(path)) {
            std::fprintf(stderr, "%s kann nicht gelöscht werden.\n", qPrintable(path));
            return 1;
        }
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "Der Ordner %s kann nicht angelegt werden.\n",
                     qPrintable(QDir::toNativeSeparators(folder)));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (args.at(0) == QLatin1String("demo")) {
        if (!DemoOfficeGenerator::generate(path, &error)) {
            std::fprintf(stderr, "Fehler: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("Vorführdatenbank %s geschrieben (%lld ms).\n", qPrintable(path),
                    static_cast<long long>(timer.elapsed()));
        return 0;
    }
    LargeOfficeGenerator::Facts facts;
    if (!LargeOfficeGenerator::generate(path, &facts, &error, factor)) {
        std::fprintf(stderr, "Fehler: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("Große Datenbank %s geschrieben (%lld ms): %d Buchungen, %d Kostenzeilen.\n",
                qPrintable(path), static_cast<long long>(timer.elapsed()),
                LargeOfficeGenerator::kBookings * factor, LargeOfficeGenerator::kEstimateRows * factor);
    std::printf("Projekt mit %d Buchungen: ProjektID %s\n",
                LargeOfficeGenerator::kBigProjectBookings * factor, qPrintable(facts.bigProjectId));
    std::printf("Firma mit %d Buchungen und %d Kostenzeilen: ID %lld, \"%s\"\n",
                LargeOfficeGenerator::kRenameCompanyBookings * factor,
                LargeOfficeGenerator::kRenameCompanyEstimateRows * factor,
                static_cast<long long>(facts.renameCompanyId), qPrintable(facts.renameCompanyName));
    return 0;
}
