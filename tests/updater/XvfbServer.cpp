#include "XvfbServer.h"

#include <QFileInfo>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

XvfbServer::~XvfbServer() {
    stop();
}

bool XvfbServer::start() {
    // Displays :77 and :99 belong to others on this machine; each test run starts at a number of its
    // own and takes the first one free.
    const int first = 300 + int(::getpid() % 400);
    for (int number = first; number < first + 60; ++number) {
        if (number == 77 || number == 99)
            continue;
        if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) ||
            QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        if (startOn(number))
            return true;
    }
    return false;
}

bool XvfbServer::startOn(int number) {
    const QByteArray display = ':' + QByteArray::number(number);
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        const int devNull = ::open("/dev/null", O_RDWR);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        ::execlp("Xvfb", "Xvfb", display.constData(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                 "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    m_pid = pid;
    for (int attempt = 0; attempt < 200; ++attempt) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            // The display was taken after all, or Xvfb is missing.
            m_pid = 0;
            return false;
        }
        xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
        const bool up = !xcb_connection_has_error(connection);
        xcb_disconnect(connection);
        if (up && ::waitpid(pid, &status, WNOHANG) == 0) {
            m_display = display;
            return true;
        }
        ::usleep(50 * 1000);
    }
    stop();
    return false;
}

void XvfbServer::stop() {
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = 0;
}
