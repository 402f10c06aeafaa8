#pragma once

#include <QByteArray>

#include <sys/types.h>

// An Xvfb X server of its own for a test, on a display number that no one else uses.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts the server and waits until it accepts connections; false when none could be started.
    bool start();
    // The display name, such as ":312".
    QByteArray display() const { return m_display; }

private:
    bool startOn(int number);
    void stop();

    pid_t m_pid = 0;
    QByteArray m_display;
};
