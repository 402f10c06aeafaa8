#pragma once

#include "AppController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QTreeView>
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

// Loads the first project of the open project manager and returns the workspace, made the active window.
inline QWidget* loadFirstProject(AppController& app) {
    auto* projects = app.projectManager()->findChild<QTreeView*>("lvwProjekte");
    projects->selectionModel()->setCurrentIndex(
        projects->model()->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::mouseClick(app.projectManager()->findChild<QAbstractButton*>("cmdProjektLaden"), Qt::LeftButton);
    settle();
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(app.workspace(), &activation);
    return app.workspace();
}
