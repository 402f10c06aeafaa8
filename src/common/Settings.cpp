#include "Settings.h"

#include <QStandardPaths>

QString Settings::defaultFilePath() {
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("TalbrinZlv"),
                          QStringLiteral("TalbrinZlv"));
    return probe.fileName();
}

Settings::Settings(const QString& iniFilePath)
    : m_settings(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat)) {}

Settings::~Settings() {
    m_settings->sync();
}

QString Settings::filePath() const {
    return m_settings->fileName();
}

QString Settings::storedSection(const QString& section) const {
    const QStringList groups = m_settings->childGroups();
    for (const QString& group : groups) {
        if (group.compare(section, Qt::CaseInsensitive) == 0)
            return group;
    }
    return section;
}

QString Settings::rawValue(const QString& section, const QString& key, bool* found) const {
    const QString fullKey = storedSection(section) + QLatin1Char('/') + key;
    *found = m_settings->contains(fullKey);
    return *found ? m_settings->value(fullKey).toString() : QString();
}

void Settings::setRawValue(const QString& section, const QString& key, const QString& value) {
    m_settings->setValue(storedSection(section) + QLatin1Char('/') + key, value);
}

QString Settings::value(const SettingKey<QString>& key) const {
    bool found = false;
    const QString text = rawValue(key.section, key.key, &found);
    return found ? text : key.defaultValue;
}

void Settings::setValue(const SettingKey<QString>& key, const QString& value) {
    setRawValue(key.section, key.key, value);
}

int Settings::value(const SettingKey<int>& key) const {
    bool found = false;
    const QString text = rawValue(key.section, key.key, &found).trimmed();
    bool ok = false;
    const int number = text.toInt(&ok);
    return found && ok ? number : key.defaultValue;
}

void Settings::setValue(const SettingKey<int>& key, int value) {
    setRawValue(key.section, key.key, QString::number(value));
}

bool Settings::sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
