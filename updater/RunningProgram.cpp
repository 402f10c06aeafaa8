#include "RunningProgram.h"

#include "X11Windows.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSet>
#include <QThread>

RunningProgram::~RunningProgram() = default;

X11RunningProgram::X11RunningProgram(std::chrono::milliseconds wait, const QString& displayName)
    : m_wait(wait), m_displayName(displayName) {}

namespace {
QSet<std::uint32_t> stillOpen(X11Windows& display, const QSet<std::uint32_t>& asked) {
    QSet<std::uint32_t> open;
    for (const X11Windows::Window& window : display.topLevelWindows()) {
        if (asked.contains(window.id))
            open.insert(window.id);
    }
    return open;
}
} // namespace

RunningProgram::Result X11RunningProgram::close() {
    m_askedTitles.clear();
    const std::unique_ptr<X11Windows> display = X11Windows::open(m_displayName);
    if (!display)
        return Result::NoDisplay;

    QSet<std::uint32_t> asked;
    for (const X11Windows::Window& window : display->topLevelWindows()) {
        if (!window.title.startsWith(programTitle(), Qt::CaseSensitive))
            continue;
        display->requestClose(window.id);
        asked.insert(window.id);
        m_askedTitles << window.title;
    }

    const QDeadlineTimer deadline(m_wait);
    while (!(asked = stillOpen(*display, asked)).isEmpty()) {
        if (deadline.hasExpired())
            return Result::StillOpen;
        // The updater's own window keeps painting while the program ends.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(30);
    }
    return Result::Closed;
}
