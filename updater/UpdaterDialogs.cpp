#include "UpdaterDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

UpdaterDialogs::~UpdaterDialogs() = default;

namespace {
QMessageBox::Icon boxIcon(UpdaterDialogs::Icon icon) {
    switch (icon) {
    case UpdaterDialogs::Icon::Information:
        return QMessageBox::Information;
    case UpdaterDialogs::Icon::Question:
        return QMessageBox::Question;
    case UpdaterDialogs::Icon::Warning:
        return QMessageBox::Warning;
    case UpdaterDialogs::Icon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void QtUpdaterDialogs::inform(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtUpdaterDialogs::askYesNo(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtUpdaterDialogs::chooseFile(QWidget* parent, const QString& title, const QString& folder,
                                     const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}
