#include "UpdateFolders.h"

#include "InstalledFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

UpdateFolders::UpdateFolders() {
    QDir root(m_root.path());
    m_valid = m_root.isValid() && root.mkdir(QStringLiteral("update")) &&
              root.mkdir(QStringLiteral("installation")) &&
              write(sourceFile(InstalledFiles::program()), newProgram(), false) &&
              write(sourceFile(InstalledFiles::help()), newHelp(), false) &&
              write(targetFile(InstalledFiles::program()), oldProgram(), true) &&
              write(targetFile(InstalledFiles::help()), oldHelp(), false);
}

bool UpdateFolders::isValid() const {
    return m_valid;
}

QString UpdateFolders::sourceFile(const QString& name) const {
    return QDir(source()).filePath(name);
}

QString UpdateFolders::targetFile(const QString& name) const {
    return QDir(target()).filePath(name);
}

QByteArray UpdateFolders::contents(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return "<fehlt>";
    return file.readAll();
}

bool UpdateFolders::isExecutable(const QString& path) {
    const QFileDevice::Permissions permissions = QFile(path).permissions();
    return (permissions & QFileDevice::ExeOwner) && (permissions & QFileDevice::ExeGroup) &&
           (permissions & QFileDevice::ExeOther);
}

bool UpdateFolders::write(const QString& path, const QByteArray& contents, bool executable) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) != contents.size())
        return false;
    file.close();
    const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadUser | QFileDevice::WriteUser |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther;
    const QFileDevice::Permissions runnable =
        QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    return file.setPermissions(executable ? readable | runnable : readable);
}

QStringList UpdateFolders::entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

bool UpdateFolders::holdsOldPairAndSources() const {
    const QStringList pair{InstalledFiles::program(), InstalledFiles::help()};
    return entries(target()) == pair && entries(source()) == pair &&
           contents(targetFile(InstalledFiles::program())) == oldProgram() &&
           contents(targetFile(InstalledFiles::help())) == oldHelp() &&
           isExecutable(targetFile(InstalledFiles::program())) &&
           contents(sourceFile(InstalledFiles::program())) == newProgram() &&
           contents(sourceFile(InstalledFiles::help())) == newHelp();
}

bool UpdateFolders::holdsNewPairWithoutSources() const {
    const QStringList pair{InstalledFiles::program(), InstalledFiles::help()};
    return entries(target()) == pair && entries(source()).isEmpty() &&
           contents(targetFile(InstalledFiles::program())) == newProgram() &&
           contents(targetFile(InstalledFiles::help())) == newHelp() &&
           isExecutable(targetFile(InstalledFiles::program()));
}
