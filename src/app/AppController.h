#pragma once

#include "AboutBox.h"
#include "AuditExportWindow.h"
#include "CompanyRegister.h"
#include "DueScreen.h"
#include "ExportScreen.h"
#include "FontsAhead.h"
#include "HelpWindow.h"
#include "JournalScreen.h"
#include "Presets.h"
#include "PrintSettingsScreen.h"
#include "ProjectManager.h"
#include "SignOffScreen.h"
#include "StartCheck.h"
#include "StartMenu.h"
#include "WithholdingScreen.h"
#include "Workspace.h"

#include <memory>
#include <optional>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class Database;
class DatabaseLocation;
class Dialogs;
class LoginScreen;
class Session;
class Settings;

// Owns the program's screens and hands over between them: the start menu with the database location,
// the presets, the company register, the about box, the help window, the project manager, the workspace
// and the print settings.
class AppController : public QObject {
    Q_OBJECT
public:
    AppController(const QString& programFolder, Dialogs& dialogs, Settings& settings,
                  QObject* parent = nullptr);
    ~AppController() override;

    // Looks up the database file and shows the start menu with the version in its title. False when the
    // program is to end instead (database not found, choice cancelled, restart needed). Whether the file
    // is a usable database is checked right after the start menu is shown, once events are processed, or
    // at the latest before a screen or the backup opens it; an unusable file gets its message and the
    // program ends by closing every window.
    bool start();
    // The user's own folder for the database location's ini file (see DatabaseLocation); none by default.
    void setUserFolder(const QString& folder) { m_userFolder = folder; }
    // Where a first start creates a new database (see DatabaseLocation); the program's folder by default.
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }
    // The thread begun before the application for the first start's check (see StartCheck); none by
    // default.
    void setStartCheck(std::unique_ptr<StartCheck> check);
    // The font configuration read ahead (see FontsAhead); the start menu waits for it. None by default.
    void setFontsAhead(std::unique_ptr<FontsAhead> fonts) { m_fontsAhead = std::move(fonts); }

    StartMenu* startMenu() const { return m_startMenu; }
    ProjectManager* projectManager() const { return m_projectManager; }
    Presets* presets() const { return m_presets; }
    CompanyRegister* companyRegister() const { return m_companyRegister; }
    AboutBox* aboutBox() const { return m_aboutBox; }
    HelpWindow* helpWindow() const { return m_helpWindow; }
    Workspace* workspace() const { return m_workspace; }
    ExportScreen* exportScreen() const { return m_exportScreen; }
    PrintSettingsScreen* printSettings() const { return m_printSettings; }
    JournalScreen* journal() const { return m_journal; }
    // The database file that the screens open, spelled as on disk: found while the start menu loaded, kept
    // while the project manager replaces the start menu; empty when the file proved unusable.
    QString databaseFilePath() const { return m_databaseFilePath; }

signals:
    // The database file of the start menu has been checked and found usable; both folders are recorded
    // in the settings right after.
    void databaseConfirmed();

public slots:
    void openProjectManager();
    void openPresets();
    // "Auf Datenbankserver übertragen …": the file's data onto an empty server database.
    void moveOntoServer(QWidget* parent);
    void openCompanyRegister();
    // "Benutzer und Rechte": the logins of the server's database and their rights.
    void openLogins();
    void openAboutBox();
    void openHelp();
    void backupDatabase();
    void openAuditExport();
    // The export screen beside the workspace; it writes the list the workspace shows when it exports.
    void openExport();
    // The change journal, of all projects or, from the workspace, of its project.
    void openJournal(const QString& projectId = QString());
    void openSignOffs();
    void openWithholdings();
    // "Fälligkeiten": the invoices waiting for payment, of all projects or, from the workspace, of its
    // project.
    void openDue(const QString& projectId = QString(), const QString& projectName = QString());
    // "Beenden": closes every screen, the project manager included; the program ends.
    void quit();

private slots:
    void returnToStartMenu();
    void showProject(const QString& projectId, const QString& projectName);
    // What closes with the workspace: everything when the program ends with it, else all but the
    // project manager, which shows again.
    void workspaceClosing(bool quitProgram);
    void closeScreensBesideStartMenu();
    // The print settings for the workspace's current tab, or for the company register's list.
    void printFromWorkspace();
    void printFromCompanyRegister();
    void printPaymentOrders(const ListSnapshot& orders);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void recordFoldersWhenPainted();
    bool showStartMenu(bool firstStart);
    // Runs the check of the database file that the start menu still owes; false when the file is unusable
    // and the program is ending.
    bool confirmDatabase();
    // Finishes what opening the database for the start left for after the first frame (see
    // Database::open), tells its notices and offers the logins; false when the database is unusable after
    // all and the program is ending.
    bool finishOpening();
    // Brings screen to the front, creating it first by create(session) when it is not open. False when no
    // screen is shown.
    // The program run's session on the database, opened by the first screen that needs it; null, after
    // its message, when the database cannot be opened.
    Session* session();
    template <typename Screen, typename Create>
    bool openDatabaseScreen(QPointer<Screen>& screen, Create create);
    // Brings the print settings screen to the front, creating it when it is not open, to print what
    // source gives.
    void openPrintSettings(const QString& caption, PrintSettingsScreen::SnapshotSource source);

    QString m_userFolder;
    QString m_dataFolder;
    QString m_programFolder;
    Dialogs& m_dialogs;
    Settings& m_settings;
    QString m_databaseFilePath;
    // Where the data live, as the start menu's title and the about box show it.
    QString m_dataPlace;
    std::unique_ptr<StartCheck> m_startCheck;
    std::unique_ptr<FontsAhead> m_fontsAhead;
    std::unique_ptr<DatabaseLocation> m_unconfirmedLocation;
    // Confirmed, its folders not yet recorded: they are written once the start menu has been painted.
    std::unique_ptr<DatabaseLocation> m_unrecordedLocation;
    bool m_startMenuPainted = false;
    // The database the start-up check opened, kept for the session of the first screen that needs it.
    std::unique_ptr<Database> m_openedDatabase;
    std::unique_ptr<Session> m_session;
    QPointer<StartMenu> m_startMenu;
    // Where the start menu stood when it last closed: it comes back there.
    std::optional<QPoint> m_startMenuPlace;
    QPointer<ProjectManager> m_projectManager;
    QPointer<Presets> m_presets;
    QPointer<CompanyRegister> m_companyRegister;
    QPointer<AboutBox> m_aboutBox;
    QPointer<HelpWindow> m_helpWindow;
    QPointer<Workspace> m_workspace;
    QPointer<ExportScreen> m_exportScreen;
    QPointer<AuditExportWindow> m_auditExport;
    QPointer<PrintSettingsScreen> m_printSettings;
    QPointer<LoginScreen> m_logins;
    QPointer<JournalScreen> m_journal;
    QPointer<SignOffScreen> m_signOffs;
    QPointer<WithholdingScreen> m_withholdings;
    QPointer<DueScreen> m_due;
};
