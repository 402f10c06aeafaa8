#include "ChangeListener.h"

#include "Database.h"
#include "ServerAddress.h"

#include <algorithm>
#include <QSqlDriver>

namespace {
// Notifications arriving within this time are told as one change.
constexpr int kGatherMs = 300;
// How often the listening connection is looked at. The driver reads what arrives on it as it arrives,
// the server's closing included; a network gone shows through the connection's keep-alive.
constexpr int kLookMs = 5000;
// The pauses before a broken listening connection is opened again: doubled after each failed try.
constexpr int kFirstPauseMs = 1000;
constexpr int kLongestPauseMs = 30000;
// How long a knock at the server's host may go unanswered before the try counts as failed.
constexpr int kKnockMs = 5000;
constexpr quint16 kServerPort = 5432;
} // namespace

ChangeListener::ChangeListener(Database& db, QObject* parent)
    : QObject(parent), m_db(db), m_channel(db.changeNotice().channel), m_pauseMs(kFirstPauseMs) {
    m_gather.setSingleShot(true);
    m_gather.setInterval(kGatherMs);
    connect(&m_gather, &QTimer::timeout, this, &ChangeListener::changed);
    if (!m_channel) {
        m_count = db.changeCount();
        return;
    }
    m_look.setInterval(kLookMs);
    connect(&m_look, &QTimer::timeout, this, &ChangeListener::lookAtListener);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &ChangeListener::openListenerAgain);
    const ServerAddress address = ServerAddress::parse(db.location());
    if (address.isValid() && !address.host.isEmpty() && !address.host.startsWith(u'/')) {
        m_host = address.host;
        m_port = address.port > 0 ? quint16(address.port) : kServerPort;
    }
    m_knockLimit.setSingleShot(true);
    m_knockLimit.setInterval(kKnockMs);
    connect(&m_knockLimit, &QTimer::timeout, this, &ChangeListener::tryFailed);
    connect(&m_knock, &HostKnock::answered, this, &ChangeListener::openOnceAnswered);
    connect(&m_knock, &HostKnock::failed, this, &ChangeListener::tryFailed);
    if (listen())
        m_look.start();
    else
        lost();
}

ChangeListener::~ChangeListener() = default;

bool ChangeListener::listen() {
    m_ownSession = m_db.session();
    m_listener = Database::open(m_db.location());
    QSqlDriver* driver = m_listener ? m_listener->connection().driver() : nullptr;
    if (!driver || !driver->subscribeToNotification(m_channel->name)) {
        m_listener.reset();
        return false;
    }
    connect(driver, &QSqlDriver::notification, this,
            [this](const QString&, QSqlDriver::NotificationSource, const QVariant& payload) {
                if (payload.toString() != m_ownSession && !m_gather.isActive())
                    m_gather.start();
            });
    return true;
}

void ChangeListener::lookAtListener() {
    if (m_listener && !m_listener->connected())
        lost();
}

void ChangeListener::lost() {
    m_listener.reset();
    m_look.stop();
    m_retry.start(m_pauseMs);
    if (m_following) {
        m_following = false;
        emit followingChanged(false);
    }
}

void ChangeListener::openListenerAgain() {
    m_retry.stop();
    if (m_listener || !m_channel || m_knock.isKnocking())
        return;
    if (m_host.isEmpty()) {
        openOnceAnswered();
        return;
    }
    m_knockLimit.start();
    m_knock.knock(m_host, m_port, kKnockMs);
}

void ChangeListener::openOnceAnswered() {
    m_knockLimit.stop();
    m_knock.abort();
    if (!listen()) {
        tryFailed();
        return;
    }
    m_pauseMs = kFirstPauseMs;
    m_look.start();
    m_following = true;
    emit followingChanged(true);
    // What other workstations changed meanwhile was never told.
    emit changed();
}

void ChangeListener::tryFailed() {
    m_knockLimit.stop();
    m_knock.abort();
    if (m_listener || m_retry.isActive())
        return;
    m_pauseMs = std::min(m_pauseMs * 2, kLongestPauseMs);
    m_retry.start(m_pauseMs);
}

void ChangeListener::check() {
    if (m_channel)
        return;
    const std::optional<qint64> now = m_db.changeCount();
    if (now && m_count && *now != *m_count)
        emit changed();
    if (now)
        m_count = now;
}
