#include "ChangeWatch.h"

#include "ChangeListener.h"
#include "Session.h"

ChangeWatch::ChangeWatch(Session& session, QObject* window)
    : QObject(window), m_session(session), m_seenWrites(session.writes()) {
    connect(&session.listener(), &ChangeListener::changed, this, [this] {
        m_seenWrites = m_session.writes();
        emit changed();
    });
    connect(&session.listener(), &ChangeListener::followingChanged, this, &ChangeWatch::followingChanged);
}

void ChangeWatch::check() {
    m_session.listener().check();
    if (m_session.writes() != m_seenWrites) {
        m_seenWrites = m_session.writes();
        emit changed();
    }
}

void ChangeWatch::caughtUp() {
    m_seenWrites = m_session.writes();
}

bool ChangeWatch::isFollowing() const {
    return m_session.listener().isFollowing();
}
