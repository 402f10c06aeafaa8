#include "ChangeWatch.h"

#include "Database.h"

#include <QSqlDriver>

namespace {
// Notifications arriving within this time are told as one change.
constexpr int kGatherMs = 300;
} // namespace

ChangeWatch::ChangeWatch(Database& db, QObject* parent) : QObject(parent), m_db(db) {
    m_gather.setSingleShot(true);
    m_gather.setInterval(kGatherMs);
    connect(&m_gather, &QTimer::timeout, this, &ChangeWatch::changed);
    const QString channel = db.changeChannel();
    if (channel.isEmpty()) {
        m_count = db.changeCount();
        return;
    }
    m_ownSession = db.session();
    m_listener = Database::open(db.location());
    QSqlDriver* driver = m_listener ? m_listener->connection().driver() : nullptr;
    if (!driver || !driver->subscribeToNotification(channel))
        return;
    connect(driver, &QSqlDriver::notification, this,
            [this](const QString&, QSqlDriver::NotificationSource, const QVariant& payload) {
                if (payload.toString() != m_ownSession && !m_gather.isActive())
                    m_gather.start();
            });
}

ChangeWatch::~ChangeWatch() = default;

void ChangeWatch::check() {
    if (m_listener)
        return;
    const std::optional<qint64> now = m_db.changeCount();
    if (now && m_count && *now != *m_count)
        emit changed();
    if (now)
        m_count = now;
}
