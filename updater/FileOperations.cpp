#include "FileOperations.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

FileOperations::~FileOperations() = default;

namespace {
bool unlinkFile(const QString& path) {
    return ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
}

bool writeAll(QFile& in, QFile& out) {
    constexpr qint64 kChunk = 1 << 20;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return false;
        if (out.write(chunk) != chunk.size())
            return false;
    }
    return out.flush() && ::fsync(out.handle()) == 0;
}
} // namespace

bool FileOperations::copy(const QString& source, const QString& target, bool executable) {
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        return false;
    if (!unlinkFile(target))
        return false;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    // The installed file gets the program's own permissions, whatever the source file carried: a source
    // writable for everyone must not leave a program that everyone may change.
    QFileDevice::Permissions permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (executable)
        permissions |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const bool written = writeAll(in, out) && out.setPermissions(permissions);
    out.close();
    if (!written || out.error() != QFileDevice::NoError) {
        out.remove();
        return false;
    }
    return true;
}

bool FileOperations::rename(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool FileOperations::remove(const QString& path) {
    return unlinkFile(path);
}

bool FileOperations::isFile(const QString& path) const {
    return QFileInfo(path).isFile();
}
