#include "SingleInstance.h"

#include <fcntl.h>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <sys/file.h>
#include <unistd.h>

QString SingleInstance::defaultLockPath() {
    const QString user = QString::number(::getuid());
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return QDir(folder).filePath(QStringLiteral("TalbrinZlv-%1.lock").arg(user));
}

SingleInstance::SingleInstance(const QString& lockPath) : m_lockPath(lockPath) {}

SingleInstance::~SingleInstance() {
    release();
}

bool SingleInstance::acquire() {
    if (isHeld())
        return true;
    const int descriptor =
        ::open(QFile::encodeName(m_lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return false;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    return true;
}

void SingleInstance::release() {
    if (!isHeld())
        return;
    ::flock(m_descriptor, LOCK_UN);
    ::close(m_descriptor);
    m_descriptor = -1;
}
