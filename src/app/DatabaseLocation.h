#pragma once

#include "StartCheck.h"

#include <QString>

#include <functional>
#include <future>
#include <memory>
#include <optional>

class Database;
class Dialogs;
class QWidget;
class Settings;

// Decides where the database file lies: reads PfadZurDatenbank.ini in the program's folder, looks the
// file up without regard to letter case, asks the user for it when it is missing (the ini file changes
// only once a file has been chosen), checks that it is a usable database of this program, and records
// both folders in the settings. Where the program is installed for all users (a package under /opt, not
// writable for the clerk), the user's own folder keeps a PfadZurDatenbank.ini of its own: it is read
// before the program's and receives the choice when the program's folder refuses it. The look-up (locate) and
// the check (confirm) may run apart, so that the start menu shows before the database is opened. An Access
// file of an older installation found in place of the database is offered for import. A first start, with no
// ini anywhere and no database beside the program, offers to create a new database in the user's own data
// folder, to open an existing file or to name a database server; the choice goes into the user's ini.
class DatabaseLocation {
public:
    enum class Outcome {
        Found,           // the database file lies in databaseFolder() and can be opened
        RestartRequired, // the user chose a new file; the program must be started again
        Cancelled,       // the user cancelled the choice; the ini file is as it was; the program ends
        NotRecorded,     // the chosen folder could not be written to the ini file; the message was shown and
                         // the program ends
        Unusable         // the file is there but cannot be used; the message was shown
    };

    static constexpr const char* kIniFileName = "PfadZurDatenbank.ini";
    static constexpr const char* kDatabaseFileName = "ZLV.mdb";

    // userFolder: the user's own folder for the ini file; empty for none. dataFolder: where a first start
    // creates a new database; empty for the program's folder.
    DatabaseLocation(const QString& programFolder, Dialogs& dialogs, Settings& settings,
                     const QString& userFolder = QString(), const QString& dataFolder = QString());
    ~DatabaseLocation();

    // locate() followed, when the file is there, by confirm().
    Outcome determine(QWidget* parent = nullptr);
    // Finds the file by cheap file checks only, or asks for it when it is missing. Found means the file
    // is there; whether it is usable is left to confirm(), as is the settings record.
    Outcome locate(QWidget* parent = nullptr);
    // After locate() found the file: opens it to check that it is usable (showing the message when it is
    // not, and then forgetting the file) and records both folders in the settings.
    // record: Later leaves the settings record to recordFolders(), once the clerk no longer waits.
    enum class Record { Now, Later };
    bool confirm(QWidget* parent = nullptr, Record record = Record::Now);
    // After locate() found the file: begins confirm()'s check of the file on a thread of its own, so that
    // it runs while the first window is built and drawn; on ahead's thread, when given. A thread of its
    // own calls first() before it checks (where given).
    void beginCheck(StartCheck* ahead = nullptr, std::function<void()> first = {});
    // Records both folders in the settings; the file is written only when they changed.
    void recordFolders();
    // The database that confirm() opened, handed on so that the program's session does not open it again;
    // null once taken, or when confirm() found it unusable.
    std::unique_ptr<Database> takeOpened();

    // Writes the server's address into the ini file read first at the next start; false, after saying
    // why, when it cannot be written.
    bool recordServer(const QString& location, QWidget* parent) { return writeIni(location, parent, false); }

    // Where the data live, for the user: the database folder, or "Datenbank zlv auf server".
    QString place() const;
    // The database folder with a trailing separator.
    QString databaseFolder() const { return m_databaseFolder; }
    // The database file's full path, spelled as on disk; empty unless locate() found it and no later
    // confirm() rejected it.
    QString databaseFilePath() const { return m_databaseFilePath; }

    // The folder named by the ini file's first value (with a trailing separator), or the program's folder
    // when the ini file is missing or empty. An empty ini file is deleted when deleteWhenEmpty is set.
    static QString configuredFolder(const QString& programFolder, bool deleteWhenEmpty);
    // The server named by the ini file in iniFolder ("postgresql://server/zlv"); empty when it names a
    // folder or nothing.
    static QString configuredServer(const QString& iniFolder);
    // Whether folder holds an ini file.
    static bool hasIni(const QString& folder);
    // For a location on a server: its database for the user ("zlv auf server.bauamt.local"); nullopt for
    // a database file.
    static std::optional<QString> serverPlace(const QString& location);
    // The full path of the file in folder whose name is "zlv.mdb" in any letter case; empty when none.
    static QString findDatabaseFile(const QString& folder);
    // The folder of the program's file, known before the application object is made.
    static QString runningProgramFolder();
    // The folder of the user's own ini file beside the settings (~/.config/TalbrinZlv).
    static QString defaultUserFolder();
    // The user's own data folder, where a first start creates the database (~/.local/share/TalbrinZlv).
    static QString defaultDataFolder();

    // The first start's choices, in the order of their buttons; the first is the default.
    enum class FirstStartChoice { Create, OpenFile, Server, Cancel };

private:
    Outcome askForDatabase(QWidget* parent);
    bool isFirstStart() const;
    Outcome offerFirstStart(QWidget* parent);
    // The database a first-start choice names (a file's path or a server's address); empty when the clerk
    // cancelled it or it failed, after saying why.
    QString createInDataFolder(QWidget* parent);
    QString askServerAddress(QWidget* parent);
    bool checkUsable(const QString& path, QWidget* parent);
    // Keeps db, opened and usable, for takeOpened() and shows what opening it found for the user; true.
    bool keep(std::unique_ptr<Database> db, QWidget* parent);
    // An older installation's Access file found: offers to import it into a new database in its place.
    bool offerImport(const QString& path, QWidget* parent);
    // Opens the server's database: asks for a password when the server wants one, offers to set up an
    // empty database, and offers to try again when the server cannot be reached.
    bool checkServer(const QString& location, QWidget* parent);
    // Shows what opening the database found for the user (notices joined), once; true.
    bool tellNotices(const QString& notices, QWidget* parent);
    // userFirst: the user's own ini receives it even when the program's folder would take it.
    bool writeIni(const QString& folder, QWidget* parent, bool userFirst);
    bool hasUserIni() const;
    void saveSettings();

    QString m_programFolder;
    QString m_userFolder;
    QString m_dataFolder;
    Dialogs& m_dialogs;
    Settings& m_settings;
    QString m_databaseFolder;
    QString m_databaseFilePath;
    // beginCheck()'s check.
    std::future<StartCheck::Result> m_check;
    std::unique_ptr<Database> m_opened;
};
