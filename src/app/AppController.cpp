#include "AppController.h"

#include "AboutBox.h"
#include "BackupCommand.h"
#include "CompanyRegister.h"
#include "Database.h"
#include "DatabaseLocation.h"
#include "Dialogs.h"
#include "HelpWindow.h"
#include "LoginAdministration.h"
#include "LoginScreen.h"
#include "OlderInstallationImport.h"
#include "Presets.h"
#include "ProjectManager.h"
#include "ServerMoveWindow.h"
#include "Session.h"
#include "StartMenu.h"
#include "WindowPlacement.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

namespace {
void bringToFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void closeIfOpen(QWidget* window) {
    if (window)
        window->close();
}
} // namespace

AppController::AppController(const QString& programFolder, Dialogs& dialogs, Settings& settings,
                             QObject* parent)
    : QObject(parent), m_programFolder(programFolder), m_dialogs(dialogs), m_settings(settings) {}

AppController::~AppController() {
    if (m_unrecordedLocation)
        m_unrecordedLocation->recordFolders();
    delete m_printSettings;
    delete m_journal;
    delete m_logins;
    delete m_workspace;
    delete m_helpWindow;
    delete m_companyRegister;
    delete m_presets;
    delete m_projectManager;
    delete m_startMenu;
    m_session.reset();
}

void AppController::setStartCheck(std::unique_ptr<StartCheck> check) {
    m_startCheck = std::move(check);
}

bool AppController::start() {
    return showStartMenu(true);
}

bool AppController::showStartMenu(bool firstStart) {
    auto location = std::make_unique<DatabaseLocation>(m_programFolder, m_dialogs, m_settings, m_userFolder,
                                                       m_dataFolder);
    if (location->locate() != DatabaseLocation::Outcome::Found)
        return false;
    m_databaseFilePath = location->databaseFilePath();
    // A check on a thread of its own (a file's; a server named by the ini has its thread already) begins
    // once the font configuration has been read: until then the reading and the window's thread, which
    // waits for it, keep the processors to themselves.
    location->beginCheck(m_startCheck.get(),
                         m_fontsAhead ? m_fontsAhead->readWait() : std::function<void()>());
    m_startCheck.reset();

    // The menu is made while the font configuration is still being read; its texts are measured after.
    auto* menu = new StartMenu;
    m_fontsAhead.reset();
    menu->fitToTexts();
    if (firstStart)
        menu->setWindowTitle(StartMenu::versionTitle());
    m_dataPlace = location->place();
    menu->setWindowTitle(menu->windowTitle() + QStringLiteral("  -  ") + m_dataPlace);
    // The start menu has its place before it shows: a dialog asked for at once (the server's login) opens
    // over it, not where the window system has not yet put it.
    if (m_startMenuPlace) {
        menu->move(*m_startMenuPlace);
        WindowPlacement::fitIntoScreen(*menu, menu->size());
    } else {
        WindowPlacement::centreInScreen(*menu, menu->size());
    }
    connect(menu, &StartMenu::presetsRequested, this, &AppController::openPresets);
    connect(menu, &StartMenu::companyRegisterRequested, this, &AppController::openCompanyRegister);
    connect(menu, &StartMenu::backupRequested, this, &AppController::backupDatabase);
    connect(menu, &StartMenu::auditExportRequested, this, &AppController::openAuditExport);
    connect(menu, &StartMenu::aboutRequested, this, &AppController::openAboutBox);
    connect(menu, &StartMenu::helpRequested, this, &AppController::openHelp);
    connect(menu, &StartMenu::quitRequested, this, &AppController::quit);
    connect(menu, &StartMenu::projectManagerRequested, this, &AppController::openProjectManager);
    connect(menu, &StartMenu::loginsRequested, this, &AppController::openLogins);
    connect(menu, &StartMenu::journalRequested, this, [this] { openJournal(); });
    connect(menu, &StartMenu::signOffsRequested, this, &AppController::openSignOffs);
    connect(menu, &StartMenu::withholdingsRequested, this, &AppController::openWithholdings);
    connect(menu, &StartMenu::dueRequested, this, [this] { openDue(); });
    connect(menu, &StartMenu::closing, this, &AppController::closeScreensBesideStartMenu);
    connect(menu, &StartMenu::closing, this, [this, menu] { m_startMenuPlace = menu->pos(); });
    m_startMenu = menu;
    // Opening the file loads the database driver and reads the schema; the start menu shows first.
    m_unconfirmedLocation = std::move(location);
    if (!m_startMenuPainted)
        menu->installEventFilter(this);
    menu->show();
    QTimer::singleShot(0, this, [this] {
        // The first frame is painted while the check goes on, before it is waited for: the window system's
        // word that the window shows is taken first.
        if (m_startMenu && !m_startMenuPainted)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        confirmDatabase();
    });
    return true;
}

bool AppController::confirmDatabase() {
    if (!m_unconfirmedLocation)
        return true;
    std::unique_ptr<DatabaseLocation> location = std::move(m_unconfirmedLocation);
    if (location->confirm(m_startMenu, DatabaseLocation::Record::Later)) {
        m_openedDatabase = location->takeOpened();
        // The logins are offered as the rights of the session allow, or of the opened database once its
        // opening is finished (finishOpening()).
        Database* db = m_session ? &m_session->database() : nullptr;
        if (m_openedDatabase)
            db = m_openedDatabase->openingFinished() ? m_openedDatabase.get() : nullptr;
        if (m_startMenu && db)
            m_startMenu->offerLogins(LoginAdministration::notOffered(*db));
        m_unrecordedLocation = std::move(location);
        recordFoldersWhenPainted();
        emit databaseConfirmed();
        return true;
    }
    m_databaseFilePath.clear();
    quit();
    return false;
}

// The settings file is written, the database's opening is finished, and the rows whose sums it keeps
// are counted, after the start menu's first frame: the clerk waits neither for the disk nor for the
// schema's upkeep nor for the tables' size.
void AppController::recordFoldersWhenPainted() {
    if (!m_unrecordedLocation || !m_startMenuPainted)
        return;
    QTimer::singleShot(0, this, [this] {
        if (m_unrecordedLocation)
            m_unrecordedLocation->recordFolders();
        m_unrecordedLocation.reset();
        if (finishOpening() && m_openedDatabase)
            m_openedDatabase->countKeptSums();
    });
}

bool AppController::finishOpening() {
    if (!m_openedDatabase || m_openedDatabase->openingFinished())
        return true;
    QString message;
    if (!m_openedDatabase->finishOpening(&message)) {
        m_openedDatabase.reset();
        m_dialogs.inform(m_startMenu, QStringLiteral("Ladefehler!"), message, Dialogs::Icon::Critical);
        m_databaseFilePath.clear();
        quit();
        return false;
    }
    if (const QStringList notices = m_openedDatabase->notices(); !notices.isEmpty())
        m_dialogs.inform(m_startMenu, QStringLiteral("Hinweis zur Datenbank"),
                         notices.join(QStringLiteral("\n\n")), Dialogs::Icon::Warning);
    if (m_startMenu)
        m_startMenu->offerLogins(LoginAdministration::notOffered(*m_openedDatabase));
    return true;
}

bool AppController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_startMenu && event->type() == QEvent::Paint && !m_startMenuPainted) {
        m_startMenuPainted = true;
        m_startMenu->removeEventFilter(this);
        recordFoldersWhenPainted();
    }
    return QObject::eventFilter(watched, event);
}

Session* AppController::session() {
    const bool screensOpen =
        m_projectManager || m_workspace || m_presets || m_companyRegister || m_journal || m_logins;
    if (m_session && m_session->location() != m_databaseFilePath && !screensOpen)
        m_session.reset();
    // The database the start-up check opened serves unless its file has been replaced or moved since.
    const bool openedServes = !m_session && m_openedDatabase &&
                              m_openedDatabase->location() == m_databaseFilePath &&
                              m_openedDatabase->connected();
    if (openedServes && !finishOpening())
        return nullptr;
    std::unique_ptr<Database> opened = std::move(m_openedDatabase);
    if (openedServes) {
        opened->countKeptSums();
        m_session = std::make_unique<Session>(std::move(opened));
    }
    if (!m_session) {
        QString message;
        m_session = Session::open(m_databaseFilePath, &message);
        if (!m_session)
            m_dialogs.inform(m_startMenu, QStringLiteral("Ladefehler!"), message, Dialogs::Icon::Critical);
        else if (!m_session->ownNotices().isEmpty())
            m_dialogs.inform(m_startMenu, QStringLiteral("Hinweis zur Datenbank"),
                             m_session->ownNotices().join(QStringLiteral("\n\n")), Dialogs::Icon::Warning);
    }
    return m_session.get();
}

template <typename Screen, typename Create>
bool AppController::openDatabaseScreen(QPointer<Screen>& screen, Create create) {
    if (!m_startMenu || !confirmDatabase())
        return false;
    if (!screen) {
        Session* session = this->session();
        if (!session)
            return false;
        std::unique_ptr<Screen> created = create(*session);
        created->setAttribute(Qt::WA_DeleteOnClose);
        screen = created.release();
    }
    bringToFront(screen);
    return true;
}

void AppController::openProjectManager() {
    const bool opened = openDatabaseScreen(m_projectManager, [this](Session& session) {
        auto manager = std::make_unique<ProjectManager>(session, m_dialogs);
        connect(manager.get(), &ProjectManager::closeRequested, this, &AppController::returnToStartMenu);
        connect(manager.get(), &ProjectManager::projectLoadRequested, this, &AppController::showProject);
        return manager;
    });
    if (opened)
        m_startMenu->close();
}

void AppController::openAuditExport() {
    openDatabaseScreen(m_auditExport, [this](Session& session) {
        return std::make_unique<AuditExportWindow>(session, m_dialogs, m_settings);
    });
}

void AppController::returnToStartMenu() {
    QPointer<ProjectManager> manager = m_projectManager;
    m_projectManager = nullptr;
    if (!m_startMenu)
        showStartMenu(false);
    if (manager) {
        manager->disconnect(this);
        manager->close();
    }
}

void AppController::showProject(const QString& projectId, const QString& projectName) {
    if (!m_workspace) {
        Session* session = this->session();
        if (!session)
            return;
        auto workspace = std::make_unique<Workspace>(*session, m_dialogs, m_settings);
        workspace->setAttribute(Qt::WA_DeleteOnClose);
        connect(workspace.get(), &Workspace::closing, this, &AppController::workspaceClosing);
        connect(workspace.get(), &Workspace::exportRequested, this, &AppController::openExport);
        connect(workspace.get(), &Workspace::printRequested, this, &AppController::printFromWorkspace);
        connect(workspace.get(), &Workspace::journalRequested, this, &AppController::openJournal);
        connect(workspace.get(), &Workspace::paymentOrderPrintRequested, this,
                &AppController::printPaymentOrders);
        connect(workspace.get(), &Workspace::signOffsRequested, this, &AppController::openSignOffs);
        connect(workspace.get(), &Workspace::dueRequested, this, &AppController::openDue);
        connect(workspace.get(), &Workspace::listPrintRequested, this, &AppController::openPrintSettings);
        m_workspace = workspace.release();
        m_workspace->setProject(projectId, projectName);
    }
    bringToFront(m_workspace);
    if (m_projectManager)
        m_projectManager->hide();
}

void AppController::workspaceClosing(bool quitProgram) {
    closeIfOpen(m_printSettings);
    closeIfOpen(m_logins);
    closeIfOpen(m_journal);
    closeIfOpen(m_due);
    closeIfOpen(m_companyRegister);
    closeIfOpen(m_aboutBox);
    closeIfOpen(m_presets);
    closeIfOpen(m_startMenu);
    if (quitProgram) {
        closeIfOpen(m_helpWindow);
        if (m_projectManager) {
            m_projectManager->disconnect(this);
            m_projectManager->close();
        }
    } else if (m_projectManager) {
        bringToFront(m_projectManager);
    }
}

void AppController::openPresets() {
    openDatabaseScreen(m_presets, [this](Session& session) {
        auto presets = std::make_unique<Presets>(session, m_dialogs, m_settings);
        connect(presets.get(), &Presets::importRequested, this, [this, window = presets.get()] {
            OlderInstallationImport::chooseAndRun(m_databaseFilePath, m_dialogs, window);
        });
        connect(presets.get(), &Presets::transferRequested, this,
                [this, window = presets.get()] { moveOntoServer(window); });
        return presets;
    });
}

void AppController::moveOntoServer(QWidget* parent) {
    if (const std::optional<QString> server = DatabaseLocation::serverPlace(m_databaseFilePath)) {
        m_dialogs.inform(parent, QStringLiteral("Auf Datenbankserver übertragen"),
                         QStringLiteral("Die Daten liegen bereits auf dem Datenbankserver: %1.").arg(*server),
                         Dialogs::Icon::Information);
        return;
    }
    ServerMoveWindow window(
        m_databaseFilePath, m_dialogs,
        [this, parent](const QString& location) {
            return DatabaseLocation(m_programFolder, m_dialogs, m_settings, m_userFolder)
                .recordServer(location, parent);
        },
        parent);
    window.exec();
}

void AppController::openCompanyRegister() {
    openDatabaseScreen(m_companyRegister, [this](Session& session) {
        auto companies = std::make_unique<CompanyRegister>(session, m_dialogs);
        connect(companies.get(), &CompanyRegister::printPreviewRequested, this,
                &AppController::printFromCompanyRegister);
        connect(companies.get(), &CompanyRegister::closing, this, [this] { closeIfOpen(m_printSettings); });
        return companies;
    });
}

void AppController::openLogins() {
    openDatabaseScreen(
        m_logins, [this](Session& session) { return std::make_unique<LoginScreen>(session, m_dialogs); });
}

void AppController::openPrintSettings(const QString& caption, PrintSettingsScreen::SnapshotSource source) {
    if (!m_printSettings) {
        m_printSettings = new PrintSettingsScreen(m_dialogs, m_settings, PrinterCatalog::ofSystem());
        m_printSettings->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_printSettings->setSource(caption, std::move(source));
    bringToFront(m_printSettings);
}

void AppController::printFromWorkspace() {
    if (!m_workspace)
        return;
    QPointer<Workspace> workspace = m_workspace;
    openPrintSettings(PrintSettingsScreen::captionForTab(workspace->currentTab()),
                      [workspace]() -> std::optional<ListSnapshot> {
                          if (!workspace || workspace->currentTab() == Workspace::EntryTabIndex)
                              return std::nullopt;
                          return workspace->freshSnapshot();
                      });
}

void AppController::printPaymentOrders(const ListSnapshot& orders) {
    openPrintSettings(QStringLiteral("Auszahlungsanordnung drucken"),
                      [orders]() -> std::optional<ListSnapshot> { return orders; });
}

void AppController::printFromCompanyRegister() {
    QPointer<CompanyRegister> companies = m_companyRegister;
    openPrintSettings(PrintSettingsScreen::captionForTab(Workspace::EntryTabIndex),
                      [companies]() -> std::optional<ListSnapshot> {
                          if (!companies)
                              return std::nullopt;
                          return companies->snapshot();
                      });
}

void AppController::openAboutBox() {
    if (!m_startMenu)
        return;
    if (!m_aboutBox)
        m_aboutBox = new AboutBox(m_dataPlace, m_startMenu);
    bringToFront(m_aboutBox);
}

void AppController::openHelp() {
    const QString helpFile = QDir(m_programFolder).filePath(QString::fromLatin1(HelpWindow::kHelpFileName));
    if (!QFileInfo(helpFile).isFile())
        return;
    if (!m_helpWindow)
        m_helpWindow = new HelpWindow(helpFile);
    bringToFront(m_helpWindow);
}

void AppController::backupDatabase() {
    if (!confirmDatabase())
        return;
    BackupCommand backup(m_programFolder, m_dialogs);
    backup.run(m_startMenu, m_databaseFilePath);
}

void AppController::openExport() {
    if (!m_workspace)
        return;
    // The screen belongs to the workspace: it closes and goes with it.
    const QPointer<Workspace> workspace = m_workspace;
    ExportScreen::showFor(
        m_exportScreen, m_workspace,
        [workspace]() -> std::optional<ListSnapshot> {
            if (!workspace || workspace->currentTab() == Workspace::EntryTabIndex ||
                workspace->currentTab() == Workspace::ChartsTabIndex)
                return std::nullopt;
            return workspace->freshSnapshot();
        },
        m_dialogs);
}

void AppController::openJournal(const QString& projectId) {
    const bool opened = m_journal;
    const auto create = [this, &projectId](Session& session) {
        auto journal = std::make_unique<JournalScreen>(session, m_dialogs, projectId);
        connect(journal.get(), &JournalScreen::printRequested, this, [this] {
            QPointer<JournalScreen> journal = m_journal;
            openPrintSettings(QStringLiteral("Änderungsprotokoll drucken"),
                              [journal]() -> std::optional<ListSnapshot> {
                                  if (!journal)
                                      return std::nullopt;
                                  return journal->snapshot();
                              });
        });
        return journal;
    };
    if (m_startMenu) {
        if (!openDatabaseScreen(m_journal, create))
            return;
    } else {
        // From the workspace, whose session is open.
        Session* session = this->session();
        if (!session)
            return;
        if (!m_journal) {
            std::unique_ptr<JournalScreen> created = create(*session);
            created->setAttribute(Qt::WA_DeleteOnClose);
            m_journal = created.release();
        }
        bringToFront(m_journal);
    }
    if (opened && !projectId.isEmpty())
        m_journal->setProject(projectId);
}

void AppController::openSignOffs() {
    const auto create = [this](Session& session) {
        auto screen = std::make_unique<SignOffScreen>(session, m_dialogs, m_settings);
        connect(screen.get(), &SignOffScreen::printRequested, this, [this] {
            QPointer<SignOffScreen> screen = m_signOffs;
            openPrintSettings(QStringLiteral("Anordnungen drucken"),
                              [screen]() -> std::optional<ListSnapshot> {
                                  if (!screen)
                                      return std::nullopt;
                                  return screen->snapshot();
                              });
        });
        connect(screen.get(), &SignOffScreen::paymentOrderPrintRequested, this,
                &AppController::printPaymentOrders);
        return screen;
    };
    if (m_startMenu) {
        openDatabaseScreen(m_signOffs, create);
        return;
    }
    // From the workspace, whose session is open.
    Session* session = this->session();
    if (!session)
        return;
    if (!m_signOffs) {
        std::unique_ptr<SignOffScreen> created = create(*session);
        created->setAttribute(Qt::WA_DeleteOnClose);
        m_signOffs = created.release();
    }
    bringToFront(m_signOffs);
}

void AppController::openWithholdings() {
    openDatabaseScreen(m_withholdings, [this](Session& session) {
        auto screen = std::make_unique<WithholdingScreen>(session, m_dialogs, m_settings);
        connect(screen.get(), &WithholdingScreen::printRequested, this, [this] {
            QPointer<WithholdingScreen> screen = m_withholdings;
            openPrintSettings(QStringLiteral("Bauabzugsteuer drucken"),
                              [screen]() -> std::optional<ListSnapshot> {
                                  if (!screen)
                                      return std::nullopt;
                                  return screen->snapshot();
                              });
        });
        connect(screen.get(), &WithholdingScreen::statementPrintRequested, this,
                [this](const ListSnapshot& statements) {
                    openPrintSettings(QStringLiteral("Abrechnung der Bauabzugsteuer drucken"),
                                      [statements]() -> std::optional<ListSnapshot> { return statements; });
                });
        return screen;
    });
}

void AppController::openDue(const QString& projectId, const QString& projectName) {
    const auto create = [this](Session& session) {
        auto screen = std::make_unique<DueScreen>(session, m_dialogs);
        connect(screen.get(), &DueScreen::printRequested, this, [this] {
            QPointer<DueScreen> screen = m_due;
            openPrintSettings(QStringLiteral("Fälligkeiten drucken"),
                              [screen]() -> std::optional<ListSnapshot> {
                                  if (!screen)
                                      return std::nullopt;
                                  return screen->snapshot();
                              });
        });
        return screen;
    };
    if (m_startMenu) {
        if (!openDatabaseScreen(m_due, create))
            return;
    } else {
        // From the workspace, whose session is open.
        Session* session = this->session();
        if (!session)
            return;
        if (!m_due) {
            std::unique_ptr<DueScreen> created = create(*session);
            created->setAttribute(Qt::WA_DeleteOnClose);
            m_due = created.release();
        }
        bringToFront(m_due);
    }
    m_due->setProject(projectId, projectName);
}

void AppController::closeScreensBesideStartMenu() {
    closeIfOpen(m_aboutBox);
    closeIfOpen(m_logins);
    closeIfOpen(m_journal);
    closeIfOpen(m_signOffs);
    closeIfOpen(m_withholdings);
    closeIfOpen(m_due);
    closeIfOpen(m_companyRegister);
    closeIfOpen(m_presets);
    closeIfOpen(m_helpWindow);
}

void AppController::quit() {
    if (m_workspace && !m_workspace->close())
        return;
    if (m_projectManager) {
        m_projectManager->disconnect(this);
        m_projectManager->close();
    }
    closeIfOpen(m_startMenu);
}
