#include "FileSnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

FileSnapshot::FileSnapshot(const QString& filePath) {
    const QFileInfo info(filePath);
    m_exists = info.exists();
    m_modified = info.lastModified();
    QFile file(filePath);
    if (file.open(QIODevice::ReadOnly))
        m_bytes = file.readAll();
    m_folder = info.absoluteDir().entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString FileSnapshot::describe() const {
    return QStringLiteral("exists=%1 size=%2 modified=%3 folder=[%4]")
        .arg(m_exists)
        .arg(m_bytes.size())
        .arg(m_modified.toString(Qt::ISODateWithMs), m_folder.join(QLatin1Char(',')));
}

bool FileSnapshot::rawExec(const QString& filePath, const QString& sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(filePath.toUtf8().constData(), &db) == SQLITE_OK;
    char* error = nullptr;
    ok = ok && sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK;
    if (error) {
        qWarning("%s", error);
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return ok;
}
