#include "ProgramFolderSetting.h"

#include <QSettings>

QString ProgramFolderSetting::defaultFilePath() {
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("TalbrinZlv"),
                          QStringLiteral("TalbrinZlv"));
    return probe.fileName();
}

QString ProgramFolderSetting::read(const QString& settingsFile) {
    const QSettings settings(settingsFile, QSettings::IniFormat);
    const QStringList groups = settings.childGroups();
    for (const QString& group : groups) {
        if (group.compare(QLatin1String("Setting"), Qt::CaseInsensitive) != 0)
            continue;
        const QString key = group + QStringLiteral("/PfadZurExe");
        if (settings.contains(key))
            return settings.value(key).toString();
    }
    return QString();
}
