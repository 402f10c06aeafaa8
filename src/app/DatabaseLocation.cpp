#include "DatabaseLocation.h"

#include "Database.h"
#include "DatabaseIniFile.h"
#include "DataLocation.h"
#include "Dialogs.h"
#include "OlderInstallationImport.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

namespace {
const SettingKey<QString> kProgramFolderKey{QStringLiteral("Setting"), QStringLiteral("PfadZurExe"),
                                            QString()};
const SettingKey<QString> kDatabaseFolderKey{QStringLiteral("Setting"), QStringLiteral("PfadZurDAtenbank"),
                                             QString()};

const QString kLoadErrorTitle = QStringLiteral("Ladefehler!");

QString withoutTrailingSeparator(QString folder) {
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

QString withTrailingSeparator(const QString& folder) {
    const QString clean = withoutTrailingSeparator(QDir::fromNativeSeparators(folder));
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
}
} // namespace

DatabaseLocation::DatabaseLocation(const QString& programFolder, Dialogs& dialogs, Settings& settings,
                                   const QString& userFolder, const QString& dataFolder)
    : m_programFolder(withoutTrailingSeparator(QDir::fromNativeSeparators(programFolder))),
      m_userFolder(userFolder.isEmpty() ? QString()
                                        : withoutTrailingSeparator(QDir::fromNativeSeparators(userFolder))),
      m_dataFolder(withTrailingSeparator(dataFolder.isEmpty() ? m_programFolder : dataFolder)),
      m_dialogs(dialogs), m_settings(settings) {}

DatabaseLocation::~DatabaseLocation() = default;

std::unique_ptr<Database> DatabaseLocation::takeOpened() {
    return std::move(m_opened);
}

QString DatabaseLocation::defaultUserFolder() {
    return QFileInfo(Settings::defaultFilePath()).absolutePath();
}

QString DatabaseLocation::defaultDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool DatabaseLocation::hasIni(const QString& folder) {
    return !folder.isEmpty() && QFileInfo(QDir(folder).filePath(QString::fromLatin1(kIniFileName))).isFile();
}

bool DatabaseLocation::hasUserIni() const {
    return hasIni(m_userFolder);
}

QString DatabaseLocation::runningProgramFolder() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

std::optional<QString> DatabaseLocation::serverPlace(const QString& location) {
    if (!DataLocation::isServer(location))
        return std::nullopt;
    return DataLocation::placeOf(location);
}

QString DatabaseLocation::configuredServer(const QString& iniFolder) {
    QFile ini(QDir(iniFolder).filePath(QString::fromLatin1(kIniFileName)));
    const QString value = ini.open(QIODevice::ReadOnly) ? DatabaseIniFile::folder(ini.readAll()) : QString();
    return DataLocation::isServer(value) ? value : QString();
}

QString DatabaseLocation::configuredFolder(const QString& programFolder, bool deleteWhenEmpty) {
    const QDir program(programFolder);
    QFile ini(program.filePath(QString::fromLatin1(kIniFileName)));
    if (ini.exists() && ini.open(QIODevice::ReadOnly)) {
        const QString folder = DatabaseIniFile::folder(ini.readAll());
        ini.close();
        if (!folder.isEmpty())
            return withTrailingSeparator(program.absoluteFilePath(QDir::fromNativeSeparators(folder)));
        if (deleteWhenEmpty)
            ini.remove();
    }
    return withTrailingSeparator(program.absolutePath());
}

QString DatabaseLocation::findDatabaseFile(const QString& folder) {
    const QDir dir(folder);
    const QString wanted = QString::fromLatin1(kDatabaseFileName);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return QString();
}

DatabaseLocation::Outcome DatabaseLocation::determine(QWidget* parent) {
    const Outcome outcome = locate(parent);
    if (outcome != Outcome::Found)
        return outcome;
    return confirm(parent) ? Outcome::Found : Outcome::Unusable;
}

DatabaseLocation::Outcome DatabaseLocation::locate(QWidget* parent) {
    const QString server = configuredServer(hasUserIni() ? m_userFolder : m_programFolder);
    if (!server.isEmpty()) {
        m_databaseFolder = server;
        m_databaseFilePath = server;
        return Outcome::Found;
    }
    m_databaseFolder =
        hasUserIni() ? configuredFolder(m_userFolder, false) : configuredFolder(m_programFolder, true);
    m_databaseFilePath = findDatabaseFile(m_databaseFolder);
    if (!m_databaseFilePath.isEmpty())
        return Outcome::Found;
    const Outcome outcome = isFirstStart() ? offerFirstStart(parent) : askForDatabase(parent);
    saveSettings();
    return outcome;
}

bool DatabaseLocation::confirm(QWidget* parent, Record record) {
    const bool usable = !m_databaseFilePath.isEmpty() && checkUsable(m_databaseFilePath, parent);
    if (!usable)
        m_databaseFilePath.clear();
    if (!usable || record == Record::Now)
        saveSettings();
    return usable;
}

QString DatabaseLocation::place() const {
    if (DataLocation::isServer(m_databaseFolder))
        return QStringLiteral("Datenbank ") + DataLocation::placeOf(m_databaseFolder);
    return QDir::toNativeSeparators(withoutTrailingSeparator(m_databaseFolder));
}

void DatabaseLocation::recordFolders() {
    saveSettings();
}

DatabaseLocation::Outcome DatabaseLocation::askForDatabase(QWidget* parent) {
    m_dialogs.inform(parent, kLoadErrorTitle,
                     QStringLiteral("Datenbank wurde nicht gefunden") + QLatin1Char('\n') +
                         QStringLiteral("Bitte legen Sie den Pfad zur Datenbank 'ZLV.MDB' fest") +
                         QLatin1Char('\n') + QStringLiteral("Gesuchter Ordner: ") +
                         QDir::toNativeSeparators(m_databaseFolder),
                     Dialogs::Icon::Critical);
    const QString chosen =
        m_dialogs.chooseFileToOpen(parent, QStringLiteral("Pfad zur Zelvora-Datenbank 'ZLV.MDB'"),
                                   m_databaseFolder, QStringLiteral("ZLV- Datenbank (ZLV.MDB)"));
    if (chosen.isEmpty())
        return Outcome::Cancelled;

    const QString chosenFolder = withTrailingSeparator(QFileInfo(chosen).absolutePath());
    if (!writeIni(chosenFolder, parent, false))
        return Outcome::NotRecorded;
    m_databaseFolder = chosenFolder;
    m_dialogs.inform(parent, QStringLiteral("Hinweis"),
                     QStringLiteral("Die Zelvora muss neu gestartet werden um die Änderungen wirksam "
                                    "werden zu lassen"),
                     Dialogs::Icon::Information);
    return Outcome::RestartRequired;
}

// No ini names a place (an empty one was removed by locate()), and the program's folder holds no database.
bool DatabaseLocation::isFirstStart() const {
    return !hasUserIni() &&
           !QFileInfo::exists(QDir(m_programFolder).filePath(QString::fromLatin1(kIniFileName)));
}

DatabaseLocation::Outcome DatabaseLocation::offerFirstStart(QWidget* parent) {
    const QString text =
        QStringLiteral("Zelvora findet noch keine Datenbank.\n\n"
                       "„Neue Datenbank anlegen“ legt eine leere Datenbank in Ihrem Datenordner an:\n%1\n\n"
                       "„Datenbank öffnen …“ wählt eine vorhandene Datei ZLV.mdb, etwa in einem gemeinsamen "
                       "Ordner.\n\n"
                       "„Datenbankserver …“ arbeitet mit einer Datenbank auf einem PostgreSQL-Server, für "
                       "mehrere Arbeitsplätze.")
            .arg(QDir::toNativeSeparators(withoutTrailingSeparator(m_dataFolder)));
    for (;;) {
        const auto choice = FirstStartChoice(
            m_dialogs.choose(parent, QStringLiteral("Zelvora einrichten"), text, Dialogs::Icon::Question,
                             {QStringLiteral("Neue Datenbank anlegen"), QStringLiteral("Datenbank öffnen …"),
                              QStringLiteral("Datenbankserver …"), QStringLiteral("Abbrechen")}));
        QString location;
        switch (choice) {
        case FirstStartChoice::Create:
            location = createInDataFolder(parent);
            break;
        case FirstStartChoice::OpenFile:
            location =
                m_dialogs.chooseFileToOpen(parent, QStringLiteral("Pfad zur Zelvora-Datenbank 'ZLV.MDB'"),
                                           QDir::homePath(), QStringLiteral("ZLV- Datenbank (ZLV.MDB)"));
            break;
        case FirstStartChoice::Server:
            location = askServerAddress(parent);
            break;
        case FirstStartChoice::Cancel:
        default: // the box closed
            return Outcome::Cancelled;
        }
        // A choice that cannot be used has said why; the clerk chooses again.
        if (location.isEmpty() || !checkUsable(location, parent))
            continue;
        const bool server = DataLocation::isServer(location);
        const QString folder = server ? location : withTrailingSeparator(QFileInfo(location).absolutePath());
        if (!writeIni(folder, parent, true))
            return Outcome::NotRecorded;
        m_databaseFolder = folder;
        m_databaseFilePath = location;
        return Outcome::Found;
    }
}

QString DatabaseLocation::createInDataFolder(QWidget* parent) {
    const QString existing = findDatabaseFile(m_dataFolder);
    if (!existing.isEmpty())
        return existing;
    const QString path = m_dataFolder + QString::fromLatin1(kDatabaseFileName);
    QString message;
    if (!QDir().mkpath(m_dataFolder)) {
        message = QStringLiteral("Der Ordner %1 kann nicht angelegt werden.")
                      .arg(QDir::toNativeSeparators(withoutTrailingSeparator(m_dataFolder)));
    } else if (Database::create(path, &message)) {
        return path;
    }
    m_dialogs.inform(parent, kLoadErrorTitle, message, Dialogs::Icon::Critical);
    return QString();
}

QString DatabaseLocation::askServerAddress(QWidget* parent) {
    QString address = QStringLiteral("postgresql://");
    while (m_dialogs.askText(parent, QStringLiteral("Datenbankserver"),
                             QStringLiteral("Adresse der Datenbank auf dem Server, zum Beispiel "
                                            "postgresql://server.bauamt.local/zlv:"),
                             address)) {
        address = address.trimmed();
        if (DataLocation::isServer(address))
            return address;
        m_dialogs.inform(parent, QStringLiteral("Datenbankserver"),
                         QStringLiteral("„%1“ ist keine Adresse eines Datenbankservers. Sie beginnt mit "
                                        "postgresql://, gefolgt vom Namen des Servers und der Datenbank.")
                             .arg(address),
                         Dialogs::Icon::Warning);
    }
    return QString();
}

void DatabaseLocation::beginCheck(StartCheck* ahead, std::function<void()> first) {
    if (m_databaseFilePath.isEmpty() || m_check.valid())
        return;
    // The connection is made on the thread and then handed to the window's thread, which goes on with it.
    m_check = ahead ? ahead->run(m_databaseFilePath, QThread::currentThread())
                    : StartCheck::runNew(m_databaseFilePath, QThread::currentThread(), std::move(first));
}

bool DatabaseLocation::checkServer(const QString& location, QWidget* parent) {
    Database::OpenFailure failure = Database::OpenFailure::None;
    QString message;
    if (m_check.valid()) {
        StartCheck::Result check = m_check.get();
        if (check.db)
            return keep(std::move(check.db), parent);
        // The check on the thread does not tell the kind of failure: the next attempt does.
    }
    for (;;) {
        if (std::unique_ptr<Database> db = Database::open(location, &failure, &message))
            return keep(std::move(db), parent);
        switch (failure) {
        case Database::OpenFailure::PasswordNeeded:
        case Database::OpenFailure::LoginRefused: {
            if (failure == Database::OpenFailure::LoginRefused)
                m_dialogs.inform(parent, kLoadErrorTitle, message, Dialogs::Icon::Warning);
            QString user = DataLocation::userOf(location);
            QString password;
            if (!m_dialogs.askLogin(parent, DataLocation::placeOf(location), user, password))
                return false;
            DataLocation::rememberLogin(location, user, password);
            continue;
        }
        case Database::OpenFailure::Empty:
            if (m_dialogs.ask(parent, QStringLiteral("Datenbankserver"),
                              QStringLiteral("Die Datenbank %1 ist leer. Jetzt für Zelvora einrichten?")
                                  .arg(DataLocation::placeOf(location)),
                              Dialogs::Icon::Question, Dialogs::Answer::Yes) != Dialogs::Answer::Yes)
                return false;
            if (!Database::create(location, &message)) {
                m_dialogs.inform(parent, kLoadErrorTitle, message, Dialogs::Icon::Critical);
                return false;
            }
            continue;
        default:
            if (m_dialogs.choose(parent, kLoadErrorTitle, message, Dialogs::Icon::Critical,
                                 {QStringLiteral("Erneut versuchen"), QStringLiteral("Beenden")}) != 0)
                return false;
        }
    }
}

bool DatabaseLocation::offerImport(const QString& path, QWidget* parent) {
    // The check on the thread has closed its look at the file before the file is renamed.
    if (m_check.valid())
        m_check.get();
    if (m_dialogs.ask(
            parent, QStringLiteral("Datenbank einer älteren Installation"),
            QStringLiteral("Die Datei %1 ist eine Access-Datenbank einer älteren Installation. Sollen "
                           "ihre Daten jetzt in eine neue Zelvora-Datenbank übernommen werden? Die "
                           "Access-Datei bleibt unverändert erhalten.")
                .arg(QDir::toNativeSeparators(path)),
            Dialogs::Icon::Question, Dialogs::Answer::Yes) != Dialogs::Answer::Yes)
        return false;
    if (OlderInstallationImport::run(path, path, m_dialogs, parent).outcome !=
        AccessImport::Outcome::Imported)
        return false;
    m_opened = Database::open(path);
    return m_opened != nullptr;
}

bool DatabaseLocation::checkUsable(const QString& path, QWidget* parent) {
    if (DataLocation::isServer(path))
        return checkServer(path, parent);
    if (AccessFile::isAccessFile(path))
        return offerImport(path, parent);
    QString message;
    if (m_check.valid()) {
        StartCheck::Result check = m_check.get();
        if (check.db)
            return keep(std::move(check.db), parent);
        message = check.message;
    } else if (std::unique_ptr<Database> db = Database::open(
                   path, nullptr, &message, Database::defaultBusyTimeoutMs(), Database::Purpose::Start)) {
        return keep(std::move(db), parent);
    }
    m_dialogs.inform(parent, kLoadErrorTitle, message, Dialogs::Icon::Critical);
    return false;
}

bool DatabaseLocation::keep(std::unique_ptr<Database> db, QWidget* parent) {
    m_opened = std::move(db);
    return tellNotices(m_opened->notices().join(QStringLiteral("\n\n")), parent);
}

bool DatabaseLocation::tellNotices(const QString& notices, QWidget* parent) {
    if (!notices.isEmpty())
        m_dialogs.inform(parent, QStringLiteral("Hinweis zur Datenbank"), notices, Dialogs::Icon::Warning);
    return true;
}

bool DatabaseLocation::writeIni(const QString& folder, QWidget* parent, bool userFirst) {
    const QByteArray content = DatabaseIniFile::content(QDir::toNativeSeparators(folder));
    const auto write = [&content](const QString& iniFolder) {
        QSaveFile ini(QDir(iniFolder).filePath(QString::fromLatin1(kIniFileName)));
        return QDir().mkpath(iniFolder) && ini.open(QIODevice::WriteOnly) &&
               ini.write(content) == content.size() && ini.commit();
    };
    // The choice goes where it will be read first at the next start.
    userFirst = !m_userFolder.isEmpty() && (userFirst || hasUserIni());
    if (write(userFirst ? m_userFolder : m_programFolder) ||
        (!userFirst && !m_userFolder.isEmpty() && write(m_userFolder)))
        return true;
    const QString iniPath =
        QDir(userFirst ? m_userFolder : m_programFolder).filePath(QString::fromLatin1(kIniFileName));
    m_dialogs.inform(parent, kLoadErrorTitle,
                     QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden.\n"
                                    "Der gewählte Datenbankordner '%2' wurde nicht gespeichert.\n"
                                    "Bitte prüfen Sie die Schreibrechte im Ordner dieser Datei.")
                         .arg(QDir::toNativeSeparators(iniPath), QDir::toNativeSeparators(folder)),
                     Dialogs::Icon::Critical);
    return false;
}

void DatabaseLocation::saveSettings() {
    // Writing the settings file waits for the disk; at most starts nothing has changed.
    if (m_settings.value(kProgramFolderKey) == m_programFolder &&
        m_settings.value(kDatabaseFolderKey) == m_databaseFolder)
        return;
    m_settings.setValue(kProgramFolderKey, m_programFolder);
    m_settings.setValue(kDatabaseFolderKey, m_databaseFolder);
    if (!m_settings.sync())
        qWarning("Settings file %s cannot be written", qPrintable(m_settings.filePath()));
}
