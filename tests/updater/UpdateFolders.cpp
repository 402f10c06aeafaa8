#include "UpdateFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

UpdateFolders::UpdateFolders() {
    m_valid = m_root.isValid() && QDir(m_root.path()).mkpath(QStringLiteral("update")) &&
              QDir(m_root.path()).mkpath(QStringLiteral("installation")) && write("update/Zlv", "neu") &&
              write("update/zlv.html", "neu") && write("installation/Zlv", "alt", true) &&
              write("installation/zlv.html", "alt");
}

bool UpdateFolders::write(const QString& folderAndName, const QByteArray& contents, bool executable) const {
    QFile file(path(folderAndName));
    const QFileDevice::Permissions runnable = executable ? QFileDevice::ExeOwner | QFileDevice::ExeUser |
                                                               QFileDevice::ExeGroup | QFileDevice::ExeOther
                                                         : QFileDevice::Permissions();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(contents) == contents.size() &&
           file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                               QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther |
                               runnable);
}

QString UpdateFolders::state() const {
    QStringList parts;
    for (const QString& folder : {QStringLiteral("installation"), QStringLiteral("update")}) {
        QString part = folder + QLatin1Char(':');
        for (const QFileInfo& entry :
             QDir(path(folder))
                 .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                QDir::Name)) {
            QFile file(entry.filePath());
            part += QLatin1Char(' ') + entry.fileName();
            if (entry.isDir() || !file.open(QIODevice::ReadOnly))
                part += QLatin1Char('/');
            else
                part += QLatin1Char('=') + QString::fromUtf8(file.readAll()) +
                        (file.permissions().testFlags(QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                                      QFileDevice::ExeOther)
                             ? QStringLiteral("*")
                             : QString());
        }
        parts << part;
    }
    return parts.join(QStringLiteral(" | "));
}
