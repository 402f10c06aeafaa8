#pragma once

#include <QApplication>
#include <QStringList>
#include <QWidget>

// The program's visible windows by object name, sorted, and a turn of the event loop that also runs the
// deletion of windows closed with delete-on-close.
inline QStringList visibleWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            names.append(widget->objectName());
    }
    names.sort();
    return names;
}

inline void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
