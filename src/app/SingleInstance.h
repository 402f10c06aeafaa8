#pragma once

#include <QLockFile>
#include <QString>

// Makes sure that only one instance of the program runs for a user, by a lock file that the running
// instance holds.
class SingleInstance {
public:
    // The lock file of the current user (by user id) in the temporary folder.
    static QString defaultLockPath();

    explicit SingleInstance(const QString& lockPath = defaultLockPath());

    // True when this instance now holds the lock; false when another instance holds it.
    bool acquire();
    void release();
    bool isHeld() const { return m_held; }

private:
    QLockFile m_lock;
    bool m_held = false;
};
