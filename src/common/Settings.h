#pragma once

#include <memory>
#include <QSettings>
#include <QString>

// One setting: its section, its key and the value a missing key reads as. Declare each key once,
// beside the code that uses it.
template <typename T> struct SettingKey {
    QString section;
    QString key;
    T defaultValue;
};

// The per-user settings store of the program (INI format, application "TalbrinZlv"). Section names
// are matched without regard to letter case; values are stored as text.
class Settings {
public:
    // The store in the user's configuration folder.
    static QString defaultFilePath();
    explicit Settings(const QString& iniFilePath);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    QString filePath() const;

    QString value(const SettingKey<QString>& key) const;
    void setValue(const SettingKey<QString>& key, const QString& value);
    // A missing, empty or non-numeric value reads as the default.
    int value(const SettingKey<int>& key) const;
    void setValue(const SettingKey<int>& key, int value);

    // Writes pending changes to the file; false when the file cannot be written.
    bool sync();

private:
    QString storedSection(const QString& section) const;
    QString rawValue(const QString& section, const QString& key, bool* found) const;
    void setRawValue(const QString& section, const QString& key, const QString& value);

    std::unique_ptr<QSettings> m_settings;
};
