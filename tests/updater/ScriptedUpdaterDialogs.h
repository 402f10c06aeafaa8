#pragma once

#include "UpdaterDialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers the updater's dialogs from a script and records every dialog shown.
class ScriptedUpdaterDialogs : public UpdaterDialogs {
public:
    struct Shown {
        enum class Kind { Inform, Ask, ChooseFile } kind;
        QString title;
        QString text;
        Icon icon = Icon::Information;
        QString folder;
        QString filter;
    };

    // Queued answers: a question with none answers No, a file dialog with none is cancelled.
    QQueue<bool> answers;
    QQueue<QString> files;
    QList<Shown> shown;

    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    bool askYesNo(QWidget* parent, const QString& title, const QString& text) override;
    QString chooseFile(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter) override;

    QString lastText() const { return shown.isEmpty() ? QString() : shown.constLast().text; }
};
