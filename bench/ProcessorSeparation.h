#pragma once

#include <QList>
#include <QString>
#include <sched.h>

// Two connections to a server on this machine compare fairly only when their server processes run alike.
// Left to the system, one connection's server process may share the measuring thread's processor and the
// other's may not; that alone moves a quick booking by up to a third, the same work against itself.
// As on a server of its own, the given server processes are kept on the last processor and the measuring
// thread on the first, until the object ends and each has its processors back. Only processes of this
// machine named as expected are moved; on one processor, or when one of them cannot be moved, nothing is.
class ProcessorSeparation {
public:
    explicit ProcessorSeparation(const QList<qint64>& serverProcesses,
                                 const QString& expectedName = QStringLiteral("postgres"));
    ~ProcessorSeparation();
    ProcessorSeparation(const ProcessorSeparation&) = delete;
    ProcessorSeparation& operator=(const ProcessorSeparation&) = delete;

    bool applied() const { return m_applied; }
    // For a benchmark's note: where each ran, or why nothing was moved.
    QString description() const { return m_description; }

private:
    void giveBackServerProcesses();

    struct Kept {
        pid_t process;
        cpu_set_t processors;
    };
    bool m_applied = false;
    QString m_description;
    cpu_set_t m_threadBefore;
    QList<Kept> m_serverBefore;
};
