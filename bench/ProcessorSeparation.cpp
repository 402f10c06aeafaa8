#include "ProcessorSeparation.h"

#include <QFile>

namespace {

QString processName(qint64 process) {
    QFile comm(QStringLiteral("/proc/%1/comm").arg(process));
    if (!comm.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

cpu_set_t only(int processor) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(processor, &set);
    return set;
}

} // namespace

ProcessorSeparation::ProcessorSeparation(const QList<qint64>& serverProcesses, const QString& expectedName) {
    CPU_ZERO(&m_threadBefore);
    if (sched_getaffinity(0, sizeof m_threadBefore, &m_threadBefore) != 0) {
        m_description = QStringLiteral("not separated: the thread's processors cannot be read");
        return;
    }
    int first = -1;
    int last = -1;
    for (int processor = 0; processor < CPU_SETSIZE; ++processor) {
        if (!CPU_ISSET(processor, &m_threadBefore))
            continue;
        if (first < 0)
            first = processor;
        last = processor;
    }
    if (first == last) {
        m_description = QStringLiteral("not separated: one processor");
        return;
    }
    for (const qint64 process : serverProcesses) {
        if (const QString name = processName(process); name != expectedName) {
            m_description = QStringLiteral("not separated: process %1 is %2, not a %3 of this machine")
                                .arg(process)
                                .arg(name.isEmpty() ? QStringLiteral("unknown") : name, expectedName);
            return;
        }
    }
    const cpu_set_t serverSide = only(last);
    for (const qint64 process : serverProcesses) {
        Kept kept{static_cast<pid_t>(process), {}};
        CPU_ZERO(&kept.processors);
        if (sched_getaffinity(kept.process, sizeof kept.processors, &kept.processors) != 0 ||
            sched_setaffinity(kept.process, sizeof serverSide, &serverSide) != 0) {
            m_description = QStringLiteral("not separated: process %1 cannot be moved").arg(process);
            giveBackServerProcesses();
            return;
        }
        m_serverBefore.append(kept);
    }
    const cpu_set_t measuringSide = only(first);
    sched_setaffinity(0, sizeof measuringSide, &measuringSide);
    m_applied = true;
    m_description = QStringLiteral("the server's processes on processor %1, the measuring thread on %2")
                        .arg(last)
                        .arg(first);
}

ProcessorSeparation::~ProcessorSeparation() {
    if (!m_applied)
        return;
    giveBackServerProcesses();
    sched_setaffinity(0, sizeof m_threadBefore, &m_threadBefore);
}

void ProcessorSeparation::giveBackServerProcesses() {
    // A server process may have ended meanwhile with its connection.
    for (const Kept& kept : std::as_const(m_serverBefore))
        sched_setaffinity(kept.process, sizeof kept.processors, &kept.processors);
    m_serverBefore.clear();
}
