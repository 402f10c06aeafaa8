#pragma once

#include "ChangeNotice.h"
#include "HostKnock.h"

#include <memory>
#include <optional>
#include <QObject>
#include <QTimer>

class Database;

// Tells the program that another workstation changed the data. One listens for a whole program run; its
// windows follow it through their ChangeWatch. On the server the notifications of
// every committed change arrive by themselves, through a connection of their own; a burst of them is told
// once. That connection is looked at every few seconds: when it broke (the server restarted, the session
// was ended), it is opened again after a pause that grows with each failed try (1 s, 2 s, 4 s … 30 s);
// meanwhile followingChanged(false) says that other workstations' changes no longer arrive, and once it is
// back, followingChanged(true) and changed() let the lists be refilled. A server named by its host is first
// knocked at without waiting (a TCP connection the event loop carries): a host that does not answer counts as
// a failed try, so the window never waits for an unreachable server. On the file check() asks, when
// the window is activated, whether another connection committed a change since it last asked.
class ChangeListener : public QObject {
    Q_OBJECT
public:
    explicit ChangeListener(Database& db, QObject* parent = nullptr);
    ~ChangeListener() override;

    void check();
    // Whether the changes of other workstations arrive; always true on the file.
    bool isFollowing() const { return m_following; }
    // What the timers do, at once: looks whether the listening connection broke, and opens it again.
    void lookAtListener();
    void openListenerAgain();
    // The pause before the next try to open the listening connection again.
    int pauseMs() const { return m_pauseMs; }

signals:
    void changed();
    void followingChanged(bool following);

private:
    bool listen();
    void lost();
    void openOnceAnswered();
    void tryFailed();

    Database& m_db;
    std::unique_ptr<Database> m_listener;
    std::optional<ChangeNotice::Channel> m_channel;
    QString m_ownSession;
    std::optional<qint64> m_count;
    bool m_following = true;
    int m_pauseMs = 0;
    QTimer m_gather;
    QTimer m_look;
    QTimer m_retry;
    HostKnock m_knock;
    QTimer m_knockLimit;
    QString m_host;
    quint16 m_port = 0;
};
