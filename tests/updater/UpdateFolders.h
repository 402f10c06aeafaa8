#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// An update folder "update" with a new program and help page, and an installation "installation" holding
// the old ones, in a temporary folder.
class UpdateFolders {
public:
    UpdateFolders();
    bool isValid() const { return m_valid; }

    QString source() const { return m_root.filePath(QStringLiteral("update")); }
    QString target() const { return m_root.filePath(QStringLiteral("installation")); }
    QString path(const QString& folderAndName) const { return m_root.filePath(folderAndName); }
    bool write(const QString& folderAndName, const QByteArray& contents, bool executable = false) const;

    // Both folders, one entry a file: "installation: Zlv=alt* zlv.html=alt | update: Zlv=neu zlv.html=neu".
    // A file reads as alt, neu or its contents, * marks an executable file, / a folder.
    QString state() const;
    static QString oldState() {
        return QStringLiteral("installation: Zlv=alt* zlv.html=alt | update: Zlv=neu zlv.html=neu");
    }
    static QString newState() { return QStringLiteral("installation: Zlv=neu* zlv.html=neu | update:"); }

private:
    QTemporaryDir m_root;
    bool m_valid = false;
};
