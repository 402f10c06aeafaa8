#pragma once

#include <cerrno>
#include <csignal>
#include <exception>
#include <functional>
#include <poll.h>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process whose address space may grow by at most extraBytes beyond the test's
// own, and returns the text it produced, or why the child ended without one: work that would exhaust
// the memory ends there, not in the test.
inline QString boundedRun(qint64 extraBytes, const std::function<QString()>& work) {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return QStringLiteral("no /proc/self/statm");
    const qint64 ownBytes = statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE);
    int channel[2];
    if (pipe(channel) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const rlimit bound{rlim_t(ownBytes + extraBytes), rlim_t(ownBytes + extraBytes)};
        setrlimit(RLIMIT_AS, &bound);
        // The test's crash handlers are not for the child: it ends as the system ends it.
        for (const int crash : {SIGABRT, SIGSEGV, SIGBUS, SIGILL, SIGFPE})
            signal(crash, SIG_DFL);
        QByteArray text;
        try {
            text = work().toUtf8();
        } catch (const std::exception& failure) {
            text = QByteArray("the work ended with the exception ") + failure.what();
        }
        const bool written = write(channel[1], text.constData(), size_t(text.size())) == text.size();
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    QByteArray text;
    char piece[4096];
    // A child that never ends is ended after two minutes (the whole test takes a second), and its state
    // then is told: a hang fails the row it belongs to, with a trace of where it hung.
    constexpr int kMostMs = 120000;
    QString hung;
    for (int waited = 0;;) {
        pollfd ready{channel[0], POLLIN, 0};
        const int polled = poll(&ready, 1, 1000);
        if (polled < 0 && errno != EINTR)
            break;
        if (polled > 0) {
            const ssize_t got = read(channel[0], piece, sizeof piece);
            if (got <= 0)
                break;
            text.append(piece, got);
        } else if ((waited += 1000) >= kMostMs) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(child));
            QFile wchan(QStringLiteral("/proc/%1/wchan").arg(child));
            hung =
                QStringLiteral("the child did not end within %1 s; its state: %2; waiting in: %3")
                    .arg(kMostMs / 1000)
                    .arg(stat.open(QIODevice::ReadOnly) ? QString::fromLatin1(stat.readAll()) : QString(),
                         wchan.open(QIODevice::ReadOnly) ? QString::fromLatin1(wchan.readAll()) : QString());
            kill(child, SIGKILL);
            break;
        }
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!hung.isEmpty())
        return hung;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("the child ended abnormally (status %1)").arg(status);
    return QString::fromUtf8(text);
}
