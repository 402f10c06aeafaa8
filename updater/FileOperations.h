#pragma once

#include <QString>

// The file steps of an update, one call each. The updater uses the real file system; tests replace
// single steps to make them fail.
class FileOperations {
public:
    virtual ~FileOperations();

    // Copies source to a new file target (an existing file target is replaced), writes it through to
    // the disk and gives it the program's own permissions, whatever source's are: 0755 when executable,
    // else 0644. False, with nothing left at target, when any part fails.
    virtual bool copy(const QString& source, const QString& target, bool executable);
    // Renames from to to in one step, replacing an existing file to.
    virtual bool rename(const QString& from, const QString& to);
    // Removes a file; a file that is not there counts as removed.
    virtual bool remove(const QString& path);
    virtual bool isFile(const QString& path) const;
};
