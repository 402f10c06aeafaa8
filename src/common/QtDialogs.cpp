#include "QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {
QMessageBox::Icon toQt(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Dialogs::Answer QtDialogs::ask(QWidget* parent, const QString& title, const QString& text, Icon icon,
                               Answer defaultButton) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultButton == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtDialogs::inform(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString QtDialogs::chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter) {
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog matches the filter pattern without regard to case, as a file on disk may be
    // spelled "Zlv.mdb"; native dialogs on some desktops do not.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::chooseFileToSave(QWidget* parent, const QString& title, const QString& suggestedPath,
                                    const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, suggestedPath, filter);
}
