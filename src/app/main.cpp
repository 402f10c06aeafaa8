#include "AppController.h"
#include "QtDialogs.h"
#include "Settings.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TalbrinZlv"));
    // No application display name: the platform would append it to every window title, and the titles
    // must read exactly as given (the updater finds the program by them).
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    QTranslator qtTranslation;
    if (qtTranslation.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                           QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);

    QtDialogs dialogs;
    SingleInstance instance;
    if (!instance.acquire()) {
        dialogs.inform(nullptr, QStringLiteral("Zelvora"),
                       QStringLiteral("Die Anwendung wird bereits ausgeführt."), Dialogs::Icon::Information);
        return 0;
    }

    Settings settings(Settings::defaultFilePath());
    AppController controller(QApplication::applicationDirPath(), dialogs, settings);
    if (!controller.start())
        return 0;
    return QApplication::exec();
}
