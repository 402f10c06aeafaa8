#pragma once

#include "AppController.h"
#include "WidgetDriver.h"

#include <QApplication>
#include <QStringList>
#include <QWidget>

// The program's visible windows by object name, sorted, and a turn of the event loop that also runs the
// deletion of windows closed with delete-on-close.
inline QStringList visibleWindows() {
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            names.append(widget->objectName());
    names.sort();
    return names;
}

inline void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Clicks a window's button, then lets the windows it opens or closes settle.
inline void click(QWidget* window, const QString& name) {
    WidgetDriver(window).click(name);
    settle();
}

// Loads the first project of the open project manager and returns the workspace, made the active window.
inline QWidget* loadFirstProject(AppController& app) {
    WidgetDriver(app.projectManager()).selectRow("lvwProjekte", 0);
    click(app.projectManager(), "cmdProjektLaden");
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(app.workspace(), &activation);
    return app.workspace();
}
