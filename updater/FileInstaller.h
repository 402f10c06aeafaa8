#pragma once

#include <QString>
#include <QStringList>

class FileOperations;

// Puts the new program and help page of an update folder into an installation so that the
// installation holds either the old pair or the new pair: both new files are first copied beside
// their targets, the old ones are kept aside, then the new ones are renamed over the targets. A step
// that fails puts back what was there. The update folder's files are removed only once both new files
// are in place. The PDF module goes along in the same way when the update folder holds it; an update
// without it leaves the installed one alone.
class FileInstaller {
public:
    struct Outcome {
        bool installed = false;
        // Why the installation stopped, in German, naming the file; empty on success.
        QString failure;
        // The update folder's files that could not be removed after a successful installation.
        QStringList leftInSource;
    };

    FileInstaller(FileOperations& files, const QString& sourceFolder, const QString& targetFolder);

    // Whether the update folder holds both new files.
    bool sourcesPresent() const;
    Outcome install();

    // The names the files carry beside their targets while the update runs.
    static QString stagedName(const QString& name);
    static QString keptName(const QString& name);

private:
    struct Entry {
        QString name;
        bool executable;
        bool optional = false;
        bool present = true; // in this update
        bool hadOld = false;
        bool replaced = false;
    };

    QString source(const Entry& entry) const;
    QString target(const Entry& entry) const;
    QString staged(const Entry& entry) const;
    QString kept(const Entry& entry) const;
    bool stage(QString* failure);
    bool keepOld(QString* failure);
    bool replace(QString* failure);
    void restore(QString* failure);
    void removeLeftovers();

    FileOperations& m_files;
    QString m_sourceFolder;
    QString m_targetFolder;
    Entry m_entries[6];
};
