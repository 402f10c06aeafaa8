#include "AppController.h"
#include "ApplicationSetup.h"
#include "AuditExportCommand.h"
#include "DatabaseLocation.h"
#include "FontsAhead.h"
#include "InvoiceReadCommand.h"
#include "JournalCheckCommand.h"
#include "QtDialogs.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "StartCheck.h"
#include "TransferCommand.h"

#include <cstdio>
#include <QApplication>
#include <QTranslator>

namespace {
// For the installation check: every question answered by its default button, without a window; what the
// program says goes to the error output.
class DefaultAnswers : public Dialogs {
public:
    Answer ask(QWidget*, const QString& title, const QString& text, Icon, Answer defaultButton) override {
        say(title, text);
        return defaultButton;
    }
    int choose(QWidget*, const QString& title, const QString& text, Icon,
               const QStringList& buttons) override {
        say(title, text);
        return buttons.isEmpty() ? -1 : 0;
    }
    bool askLogin(QWidget*, const QString& server, QString&, QString&) override {
        say(QStringLiteral("Anmeldung am Datenbankserver"), server);
        return false;
    }
    QStringList chooseFromLists(QWidget*, const QString& title, const QString& text, const QStringList&,
                                const QList<QStringList>&) override {
        say(title, text);
        return {};
    }
    void inform(QWidget*, const QString& title, const QString& text, Icon) override { say(title, text); }
    QString chooseFileToOpen(QWidget*, const QString& title, const QString&, const QString&) override {
        say(title, QString());
        return QString();
    }

protected:
    QString showSaveDialog(QWidget*, const QString& title, const QString&, const QString&,
                           QString&) override {
        say(title, QString());
        return QString();
    }

private:
    static void say(const QString& title, const QString& text) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
};

// The work of the command line, which shows no window.
bool commandRequested(int argc, char** argv) {
    return TransferCommand::isRequested(argc, argv) || JournalCheckCommand::isRequested(argc, argv) ||
           AuditExportCommand::isRequested(argc, argv) || InvoiceReadCommand::isRequested(argc, argv);
}

// Runs before the libraries set themselves up, the half millisecond of the start in which nothing else can
// be done yet: the font configuration is read meanwhile.
void readFontsBeforeLibraries(int argc, char** argv, char** environment) {
    if (!commandRequested(argc, argv))
        FontsAhead::beginBeforeLibraries(environment);
}
using PreinitFunction = void (*)(int, char**, char**);
[[gnu::section(".preinit_array"), gnu::used]] const PreinitFunction kReadFontsBeforeLibraries =
    readFontsBeforeLibraries;
} // namespace

int main(int argc, char** argv) {
    if (TransferCommand::isRequested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return TransferCommand::run(QCoreApplication::arguments());
    }
    if (JournalCheckCommand::isRequested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return JournalCheckCommand::run(QCoreApplication::arguments());
    }
    if (AuditExportCommand::isRequested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return AuditExportCommand::run(QCoreApplication::arguments(), Settings(Settings::defaultFilePath()));
    }
    if (InvoiceReadCommand::isRequested(argc, argv)) {
        QCoreApplication app(argc, argv);
        return InvoiceReadCommand::run(QCoreApplication::arguments());
    }
    ApplicationSetup::prepareEnvironment();
    // The font configuration is read, and a server's check begins, while the window system is set up.
    std::unique_ptr<FontsAhead> fonts = FontsAhead::begin();
    const QString userFolder = DatabaseLocation::defaultUserFolder();
    std::unique_ptr<StartCheck> startCheck =
        StartCheck::ahead(DatabaseLocation::runningProgramFolder(), userFolder);
    QApplication app(argc, argv);
    QTranslator qtTranslation;
    ApplicationSetup::apply(qtTranslation);

    // For the installation check: start, confirm the database, name it and end.
    const bool check = QApplication::arguments().contains(QStringLiteral("--quit-when-ready"));
    QtDialogs windowDialogs;
    DefaultAnswers defaultAnswers;
    Dialogs& dialogs = check ? static_cast<Dialogs&>(defaultAnswers) : windowDialogs;
    SingleInstance instance;
    if (!instance.acquire()) {
        dialogs.inform(nullptr, QStringLiteral("Zelvora"),
                       QStringLiteral("Die Anwendung wird bereits ausgeführt."), Dialogs::Icon::Information);
        return 0;
    }

    Settings settings(Settings::defaultFilePath());
    dialogs.keepSaveFolderIn(settings);
    AppController controller(QApplication::applicationDirPath(), dialogs, settings);
    controller.setUserFolder(userFolder);
    controller.setDataFolder(DatabaseLocation::defaultDataFolder());
    controller.setStartCheck(std::move(startCheck));
    controller.setFontsAhead(std::move(fonts));
    if (check) {
        QObject::connect(&controller, &AppController::databaseConfirmed, &controller, [&controller] {
            std::printf("%s\n", qPrintable(controller.databaseFilePath()));
            QApplication::quit();
        });
    }
    if (!controller.start())
        return 0;
    return QApplication::exec();
}
