#include "JournalReading.h"

#include "Database.h"
#include "Session.h"

#include <QDateTime>

Reading<bool> JournalReading::entries(const Filter& filter,
                                      const std::function<void(const JournalEntry&)>& visit) {
    Database& db = m_session.database();
    const bool ok = JournalRepository(db).read(filter, visit);
    return {ok, ok, ok ? QString() : db.lastError()};
}

Reading<QList<JournalEntry>> JournalReading::forRow(const QString& table, qint64 row) {
    Database& db = m_session.database();
    bool ok = true;
    QList<JournalEntry> entries = JournalRepository(db).forRow(table, QString::number(row), &ok);
    return {std::move(entries), ok, ok ? QString() : db.lastError()};
}

Reading<QStringList> JournalReading::users(const QString& projectId) {
    Database& db = m_session.database();
    bool ok = true;
    QStringList found = JournalRepository(db).distinct(JournalRepository::Distinct::Users, projectId, &ok);
    return {std::move(found), ok, ok ? QString() : db.lastError()};
}

Reading<QStringList> JournalReading::tables(const QString& projectId) {
    Database& db = m_session.database();
    bool ok = true;
    QStringList found = JournalRepository(db).distinct(JournalRepository::Distinct::Tables, projectId, &ok);
    return {std::move(found), ok, ok ? QString() : db.lastError()};
}

JournalCheck::Result JournalReading::check() {
    return JournalCheck::run(m_session.database());
}

QString JournalReading::utcStartOf(const QDate& localDay) {
    return localDay.startOfDay().toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QString JournalReading::localTime(const QString& utc) {
    const QDateTime time = QDateTime::fromString(utc, Qt::ISODateWithMs);
    if (!time.isValid())
        return utc;
    return time.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}
