#pragma once

#include <QObject>

class Session;

// Tells one window that the data it shows changed: another workstation committed a change (the session's
// listener), or another window of this program did (counted by the session, told when this window is
// activated and asks by check()).
class ChangeWatch : public QObject {
    Q_OBJECT
public:
    ChangeWatch(Session& session, QObject* window);

    // On the window's activation: tells changed() when anything changed since it last asked.
    void check();
    // The window refilled its lists after a change of its own: that change needs no telling.
    void caughtUp();
    // Whether the changes of other workstations arrive; always true on the file.
    bool isFollowing() const;
    Session& session() { return m_session; }

signals:
    void changed();
    void followingChanged(bool following);

private:
    Session& m_session;
    quint64 m_seenWrites = 0;
};
