#pragma once

#include "Dialogs.h"

// Dialogs shown with Qt's message boxes and file dialogs.
class QtDialogs : public Dialogs {
public:
    Answer ask(QWidget* parent, const QString& title, const QString& text, Icon icon,
               Answer defaultButton) override;
    Answer askWithCancel(QWidget* parent, const QString& title, const QString& text, Icon icon,
                         Answer defaultButton) override;
    int choose(QWidget* parent, const QString& title, const QString& text, Icon icon,
               const QStringList& buttons) override;
    bool askLogin(QWidget* parent, const QString& server, QString& user, QString& password) override;
    bool askText(QWidget* parent, const QString& title, const QString& label, QString& text) override;
    QStringList chooseFromLists(QWidget* parent, const QString& title, const QString& text,
                                const QStringList& labels, const QList<QStringList>& lists) override;
    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    QString chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                             const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& folder) override;

protected:
    QString showSaveDialog(QWidget* parent, const QString& title, const QString& suggestedPath,
                           const QString& filter, QString& chosenFilter) override;
};
