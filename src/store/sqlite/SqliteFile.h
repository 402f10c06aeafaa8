#pragma once

#include <QString>

// The engine's operations on a whole database file that no Database holds for them: the quick check, the
// online backup into another file and the compaction. Each works through a connection of its own, closed
// before it returns, and answers with an empty text or the German text of its failure.
class SqliteFile {
public:
    enum class Condition { Intact, Damaged, Unchecked };

    // The engine's quick check of the file's structure, after rolling back a journal left by a crash.
    // finding: for a damaged file the engine's first finding, for one that could not be checked the
    // German text of the failure.
    static Condition quickCheck(const QString& path, QString* finding);
    // Copies the whole database at sourcePath into the database file at targetPath in one step, so that
    // the copy is one consistent state, also while other connections use the source. A journal left
    // beside the source by a crash is rolled back first, so the copy holds the state before the crash.
    static QString copy(const QString& sourcePath, const QString& targetPath);
    // Rebuilds the file in place without its unused pages; a complete database lies at path throughout.
    static QString compact(const QString& path);
    // The file the engine keeps beside a database while it writes.
    static QString journalPath(const QString& path);
};
