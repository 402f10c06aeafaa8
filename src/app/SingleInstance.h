#pragma once

#include <QString>

// Makes sure that only one instance of the program runs for a user, by a lock that the running instance
// holds on a file: the system's own file lock, which ends with the process however it ends, so a crashed
// instance leaves nothing to clear away, and which is taken without waiting for the disk.
class SingleInstance {
public:
    // The lock file of the current user (by user id) in the temporary folder.
    static QString defaultLockPath();

    explicit SingleInstance(const QString& lockPath = defaultLockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this instance now holds the lock; false when another instance holds it.
    bool acquire();
    void release();
    bool isHeld() const { return m_descriptor >= 0; }

private:
    QString m_lockPath;
    int m_descriptor = -1;
};
