#include "TestDatabase.h"

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
