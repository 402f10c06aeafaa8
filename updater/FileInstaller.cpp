#include "FileInstaller.h"

#include "FileOperations.h"
#include "InstalledFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {
QString quoted(const QString& path) {
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(path));
}
} // namespace

FileInstaller::FileInstaller(FileOperations& files, const QString& sourceFolder, const QString& targetFolder)
    : m_files(files), m_sourceFolder(sourceFolder),
      m_targetFolder(targetFolder), m_entries{{InstalledFiles::program(), true},
                                              {InstalledFiles::help(), false},
                                              {InstalledFiles::pdfModule(), true, true},
                                              {InstalledFiles::chartsModule(), true, true},
                                              {InstalledFiles::printModule(), true, true},
                                              {InstalledFiles::accessReader(), true, true}} {}

QString FileInstaller::stagedName(const QString& name) {
    return QLatin1Char('.') + name + QStringLiteral(".neu");
}

QString FileInstaller::keptName(const QString& name) {
    return QLatin1Char('.') + name + QStringLiteral(".alt");
}

QString FileInstaller::source(const Entry& entry) const {
    return QDir(m_sourceFolder).filePath(entry.name);
}

QString FileInstaller::target(const Entry& entry) const {
    return QDir(m_targetFolder).filePath(entry.name);
}

QString FileInstaller::staged(const Entry& entry) const {
    return QDir(m_targetFolder).filePath(stagedName(entry.name));
}

QString FileInstaller::kept(const Entry& entry) const {
    return QDir(m_targetFolder).filePath(keptName(entry.name));
}

bool FileInstaller::sourcesPresent() const {
    for (const Entry& entry : m_entries) {
        if (!entry.optional && !m_files.isFile(source(entry)))
            return false;
    }
    return true;
}

FileInstaller::Outcome FileInstaller::install() {
    Outcome outcome;
    for (Entry& entry : m_entries) {
        entry.present = !entry.optional || m_files.isFile(source(entry));
        entry.hadOld = false;
        entry.replaced = false;
    }
    if (!stage(&outcome.failure) || !keepOld(&outcome.failure) || !replace(&outcome.failure)) {
        restore(&outcome.failure);
        removeLeftovers();
        return outcome;
    }
    outcome.installed = true;
    for (Entry& entry : m_entries)
        entry.replaced = false;
    removeLeftovers();
    for (const Entry& entry : m_entries) {
        if (entry.present && !m_files.remove(source(entry)))
            outcome.leftInSource << source(entry);
    }
    return outcome;
}

bool FileInstaller::stage(QString* failure) {
    for (const Entry& entry : m_entries) {
        if (!entry.present)
            continue;
        if (!m_files.isFile(source(entry))) {
            *failure = QStringLiteral("Die neue Datei %1 fehlt.").arg(quoted(source(entry)));
            return false;
        }
        if (!m_files.copy(source(entry), staged(entry), entry.executable)) {
            *failure = QStringLiteral("Die Datei %1 kann nicht nach %2 kopiert werden.")
                           .arg(quoted(source(entry)), quoted(staged(entry)));
            return false;
        }
    }
    return true;
}

bool FileInstaller::keepOld(QString* failure) {
    for (Entry& entry : m_entries) {
        if (!entry.present || !QFileInfo::exists(target(entry)))
            continue;
        if (!m_files.copy(target(entry), kept(entry), entry.executable)) {
            *failure = QStringLiteral("Die bisherige Datei %1 kann nicht gesichert werden.")
                           .arg(quoted(target(entry)));
            return false;
        }
        entry.hadOld = true;
    }
    return true;
}

bool FileInstaller::replace(QString* failure) {
    for (Entry& entry : m_entries) {
        if (!entry.present)
            continue;
        if (!m_files.rename(staged(entry), target(entry))) {
            *failure = QStringLiteral("Die Datei %1 kann nicht ersetzt werden.").arg(quoted(target(entry)));
            return false;
        }
        entry.replaced = true;
    }
    return true;
}

void FileInstaller::restore(QString* failure) {
    for (Entry& entry : m_entries) {
        if (!entry.replaced)
            continue;
        if (entry.hadOld ? m_files.rename(kept(entry), target(entry)) : m_files.remove(target(entry))) {
            entry.replaced = false;
        } else if (entry.hadOld) {
            *failure += QLatin1Char('\n') +
                        QStringLiteral("Die bisherige Datei liegt als %1 bereit.").arg(quoted(kept(entry)));
        }
    }
}

void FileInstaller::removeLeftovers() {
    for (const Entry& entry : m_entries) {
        if (!entry.present)
            continue;
        m_files.remove(staged(entry));
        // A replaced file that could not be put back keeps its predecessor aside.
        if (!entry.replaced)
            m_files.remove(kept(entry));
    }
}
