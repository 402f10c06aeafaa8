#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

QString SingleInstance::defaultLockPath() {
#ifdef Q_OS_UNIX
    const QString user = QString::number(::getuid());
#else
    const QString user = qEnvironmentVariable("USERNAME", QStringLiteral("user"));
#endif
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return QDir(folder).filePath(QStringLiteral("TalbrinZlv-%1.lock").arg(user));
}

SingleInstance::SingleInstance(const QString& lockPath) : m_lock(lockPath) {
    // A lock left by an instance that no longer runs is recognised by its process id, never by age.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    if (!m_held)
        m_held = m_lock.tryLock(0);
    return m_held;
}

void SingleInstance::release() {
    if (m_held)
        m_lock.unlock();
    m_held = false;
}
