#pragma once

#include <QByteArray>

#include <sys/types.h>

// An Xvfb X server of its own for a test, on a display number that the server picks among the free ones.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts the server and returns once it accepts connections; false when none could be started.
    bool start();
    QByteArray display() const { return m_display; }

private:
    pid_t m_pid = 0;
    QByteArray m_display;
};
