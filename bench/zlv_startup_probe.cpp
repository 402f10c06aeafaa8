// Starts the program as its main() does, against the program folder given as the argument (which
// holds ZLV.mdb and receives the settings file), and ends as soon as the start menu's first frame has
// been painted and the database file has been confirmed (checked and opened).

#include "AppController.h"
#include "ApplicationSetup.h"
#include "DatabaseLocation.h"
#include "FirstFrameReporter.h"
#include "FontsAhead.h"
#include "QtDialogs.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "StartCheck.h"

#include <cstdio>
#include <QApplication>
#include <QDir>
#include <QTranslator>

namespace {
// As the program's own: the font configuration is read from before the libraries set themselves up.
void readFontsBeforeLibraries(int, char**, char** environment) {
    FontsAhead::beginBeforeLibraries(environment);
}
using PreinitFunction = void (*)(int, char**, char**);
[[gnu::section(".preinit_array"), gnu::used]] const PreinitFunction kReadFontsBeforeLibraries =
    readFontsBeforeLibraries;
} // namespace

int main(int argc, char** argv) {
    ApplicationSetup::prepareEnvironment();
    std::unique_ptr<FontsAhead> fonts = FontsAhead::begin();
    std::unique_ptr<StartCheck> startCheck =
        argc == 2 ? StartCheck::ahead(QString::fromLocal8Bit(argv[1]), DatabaseLocation::defaultUserFolder())
                  : nullptr;
    QApplication app(argc, argv);
    FirstFrameReporter reporter("StartMenu", true);
    reporter.reportOnStandardOutput();
    app.installEventFilter(&reporter);
    if (QApplication::arguments().size() != 2) {
        std::fputs("Aufruf: zlv_startup_probe <Programmordner>\n", stderr);
        return 2;
    }
    const QString programFolder = QApplication::arguments().at(1);
    QTranslator qtTranslation;
    ApplicationSetup::apply(qtTranslation);

    QtDialogs dialogs;
    SingleInstance instance;
    if (!instance.acquire()) {
        std::fputs("Eine andere Instanz läuft bereits.\n", stderr);
        return 1;
    }
    Settings settings(QDir(programFolder).filePath(QStringLiteral("settings.ini")));
    AppController controller(programFolder, dialogs, settings);
    controller.setUserFolder(DatabaseLocation::defaultUserFolder());
    controller.setStartCheck(std::move(startCheck));
    controller.setFontsAhead(std::move(fonts));
    QObject::connect(&controller, &AppController::databaseConfirmed, &reporter, &FirstFrameReporter::confirm);
    if (!controller.start()) {
        std::fputs("Der Start wurde abgebrochen.\n", stderr);
        return 1;
    }
    return reporter.isReady() ? 0 : QApplication::exec();
}
