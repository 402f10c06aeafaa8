#include "XvfbServer.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

XvfbServer::~XvfbServer() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
}

// Xvfb writes its display number to the pipe once it listens; the pipe ends without it when Xvfb fails.
bool XvfbServer::start() {
    int ready[2];
    if (::pipe(ready) != 0)
        return false;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(ready[0]);
        const int devNull = ::open("/dev/null", O_RDWR);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        const QByteArray fd = QByteArray::number(ready[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-screen", "0", "1024x768x24", "-nolisten",
                 "tcp", "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ready[1]);
    QByteArray number;
    char c = 0;
    while (m_pid > 0 && ::read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(ready[0]);
    if (c == '\n' && !number.isEmpty())
        m_display = ':' + number;
    return !m_display.isEmpty();
}
