#include "TestDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>

TestDatabase::TestDatabase() {
    QString message;
    if (!Database::create(path(), &message)) {
        qWarning("cannot create test database: %s", qPrintable(message));
        return;
    }
    m_db = Database::open(path(), nullptr, &message);
    if (!m_db)
        qWarning("cannot open test database: %s", qPrintable(message));
}

QString TestDatabase::path() const {
    return m_dir.filePath(QStringLiteral("ZLV.mdb"));
}

void TestDatabase::exec(const QString& sql, const QVariantList& values) {
    if (!m_db->exec(sql, values))
        QFAIL(qPrintable(m_db->lastError()));
}

QString TestDatabase::scalar(const QString& sql, const QVariantList& values) {
    QSqlQuery query(m_db->connection());
    if (!m_db->run(query, sql, values) || !query.next())
        return QStringLiteral("<no row: %1>").arg(m_db->lastError());
    return Database::text(query, 0);
}

void TestDatabase::clearPresets() {
    exec(QStringLiteral("DELETE FROM tblGewerk"));
    exec(QStringLiteral("DELETE FROM tblKostengruppe"));
}

bool TestDatabase::reopen() {
    m_db.reset();
    QString message;
    m_db = Database::open(path(), nullptr, &message);
    if (!m_db)
        qWarning("cannot reopen test database: %s", qPrintable(message));
    return m_db != nullptr;
}

bool TestDatabase::writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString TestDatabase::fileState(const QString& path) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const QFileInfo info(path);
    return QStringLiteral("exists=%1 sha1=%2 modified=%3 folder=%4")
        .arg(info.exists())
        .arg(QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex()),
             info.lastModified().toString(Qt::ISODateWithMs),
             info.absoluteDir().entryList(QDir::Files | QDir::Hidden).join(u','));
}
