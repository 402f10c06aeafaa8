#include "FirstShowReporter.h"

#include <cstdio>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

FirstShowReporter::FirstShowReporter(const char* windowClass, QObject* parent)
    : QObject(parent), m_windowClass(windowClass) {}

bool FirstShowReporter::eventFilter(QObject* watched, QEvent* event) {
    if (!m_seen && event->type() == QEvent::Show && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow() && watched->inherits(m_windowClass)) {
        m_seen = true;
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
