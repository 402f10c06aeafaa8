#include "FileOperations.h"
#include "ProgramFolderSetting.h"
#include "RunningProgram.h"
#include "UpdaterDialogs.h"
#include "UpdaterWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    QTranslator qtTranslation;
    if (qtTranslation.load(german, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslation);

    QtUpdaterDialogs dialogs;
    X11RunningProgram program;
    FileOperations files;
    UpdaterWindow window(QApplication::applicationDirPath(), dialogs, program, files);
    window.show();
    const QString recordedFolder = ProgramFolderSetting::read(ProgramFolderSetting::defaultFilePath());
    QTimer::singleShot(0, &window, [&window, recordedFolder] { window.start(recordedFolder); });
    return QApplication::exec();
}
