#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// An update folder with a new program and help page, and an installation holding the old ones, in a
// temporary folder.
class UpdateFolders {
public:
    static QByteArray newProgram() { return "#!/bin/sh\necho neu\n"; }
    static QByteArray newHelp() { return "<html>neue Hilfe</html>"; }
    static QByteArray oldProgram() { return "#!/bin/sh\necho alt\n"; }
    static QByteArray oldHelp() { return "<html>alte Hilfe</html>"; }

    UpdateFolders();
    bool isValid() const;

    QString source() const { return m_root.filePath(QStringLiteral("update")); }
    QString target() const { return m_root.filePath(QStringLiteral("installation")); }
    QString sourceFile(const QString& name) const;
    QString targetFile(const QString& name) const;

    // Reads a file; a missing file reads as "<fehlt>".
    static QByteArray contents(const QString& path);
    static bool isExecutable(const QString& path);
    // Writes a file, executable when asked.
    static bool write(const QString& path, const QByteArray& contents, bool executable);
    // The names in a folder, sorted, hidden ones included.
    static QStringList entries(const QString& folder);

    // The installation holds the old pair and the update folder the new pair, and nothing else.
    bool holdsOldPairAndSources() const;
    bool holdsNewPairWithoutSources() const;

private:
    QTemporaryDir m_root;
    bool m_valid = false;
};
