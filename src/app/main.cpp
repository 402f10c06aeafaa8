#include "AppController.h"
#include "ApplicationSetup.h"
#include "DatabaseLocation.h"
#include "QtDialogs.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "TransferCommand.h"

#include <cstdio>
#include <QApplication>
#include <QTranslator>

int main(int argc, char** argv) {
    if (TransferCommand::isRequested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return TransferCommand::run(QCoreApplication::arguments());
    }
    ApplicationSetup::prepareEnvironment();
    QApplication app(argc, argv);
    QTranslator qtTranslation;
    ApplicationSetup::apply(qtTranslation);

    QtDialogs dialogs;
    SingleInstance instance;
    if (!instance.acquire()) {
        dialogs.inform(nullptr, QStringLiteral("Zelvora"),
                       QStringLiteral("Die Anwendung wird bereits ausgeführt."), Dialogs::Icon::Information);
        return 0;
    }

    Settings settings(Settings::defaultFilePath());
    dialogs.keepSaveFolderIn(settings);
    AppController controller(QApplication::applicationDirPath(), dialogs, settings);
    controller.setUserFolder(DatabaseLocation::defaultUserFolder());
    controller.setDataFolder(DatabaseLocation::defaultDataFolder());
    // For the installation check: start, confirm the database, name it and end.
    if (QApplication::arguments().contains(QStringLiteral("--quit-when-ready"))) {
        QObject::connect(&controller, &AppController::databaseConfirmed, &controller, [&controller] {
            std::printf("%s\n", qPrintable(controller.databaseFilePath()));
            QApplication::quit();
        });
    }
    if (!controller.start())
        return 0;
    return QApplication::exec();
}
