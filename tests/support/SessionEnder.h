#pragma once

#include "Database.h"

#include <memory>
#include <QThread>

// Ends a session on the server while its COMMIT waits for event (a wait_event of pg_stat_activity), from a
// thread of its own while the test's thread is held by that COMMIT, and waits until it is gone. pid 0: any
// session's COMMIT. before, when given, runs first, once the session waits.
class SessionEnder : public QThread {
public:
    SessionEnder(QString location, int pid, QString event, QString before = QString())
        : m_location(std::move(location)), m_pid(pid), m_event(std::move(event)),
          m_before(std::move(before)) {}
    bool ended = false;

protected:
    void run() override {
        const std::unique_ptr<Database> other = Database::open(m_location);
        QString waiting;
        // Asked until the session waits, as long as the test may run at most.
        for (int asked = 0; other && waiting.isEmpty() && asked < 20000; ++asked)
            other->read("SELECT pid FROM pg_stat_activity WHERE (pid = ? OR ? = 0) AND query = 'COMMIT' AND "
                        "wait_event = ? UNION ALL SELECT NULL FROM pg_sleep(0.01) LIMIT 1",
                        {m_pid, m_pid, m_event}, [&](const Database::Row& row) { waiting = row.text(0); });
        if (waiting.isEmpty() || (!m_before.isEmpty() && !other->exec(m_before)))
            return;
        other->read("SELECT pg_terminate_backend(?, 10000)", {waiting.toInt()},
                    [&](const Database::Row& row) { ended = row.text(0) == QLatin1String("t"); });
    }

private:
    QString m_location;
    int m_pid;
    QString m_event;
    QString m_before;
};
