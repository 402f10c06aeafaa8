#pragma once

#include <memory>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

// Knocks at a server's host without waiting for it: a thread of its own looks the host's name up and opens
// a TCP connection to the port, closing it at once; the event loop hears the outcome. answered() when the
// host took the connection, failed() when its name is unknown, it refused, or it did not answer in time.
class HostKnock : public QObject {
    Q_OBJECT
public:
    explicit HostKnock(QObject* parent = nullptr);
    ~HostKnock() override;

    // Starts a knock unless one is under way.
    void knock(const QString& host, quint16 port, int timeoutMs);
    // Forgets the knock under way: no signal follows for it.
    void abort();
    bool isKnocking() const { return m_outcome != nullptr; }

signals:
    void answered();
    void failed();

private:
    struct Outcome;
    void heard();

    std::shared_ptr<Outcome> m_outcome;
    std::unique_ptr<QSocketNotifier> m_heard;
};
