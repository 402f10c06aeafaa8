#include "FirstFrameReporter.h"

#include <cstdio>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

FirstFrameReporter::FirstFrameReporter(const char* windowClass, bool awaitConfirmation, QObject* parent)
    : QObject(parent), m_windowClass(windowClass), m_awaitConfirmation(awaitConfirmation) {}

void FirstFrameReporter::reportOnStandardOutput() {
    connect(this, &FirstFrameReporter::ready, this, [] {
        std::fputs(kReadyLine, stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}

void FirstFrameReporter::confirm() {
    m_confirmed = true;
    checkReady();
}

bool FirstFrameReporter::eventFilter(QObject* watched, QEvent* event) {
    if (!m_paintSeen && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow() && watched->inherits(m_windowClass)) {
        m_paintSeen = true;
        // The window's paint event comes first in its repaint; its children are painted and the
        // backing store is flushed before the event loop runs the next posted call.
        QMetaObject::invokeMethod(this, &FirstFrameReporter::frameFinished, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void FirstFrameReporter::frameFinished() {
    m_framed = true;
    checkReady();
}

void FirstFrameReporter::checkReady() {
    if (m_ready || !m_framed || (m_awaitConfirmation && !m_confirmed))
        return;
    m_ready = true;
    emit ready();
}
