#pragma once

#include "UpdaterDialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers the updater's dialogs from a script and records every dialog shown: its text, or for a file
// dialog the folder and filter it offers.
class ScriptedUpdaterDialogs : public UpdaterDialogs {
public:
    struct Shown {
        QString text;
        Icon icon = Icon::Information;
        QString folder;
        QString filter;
    };

    // Queued answers: a question with none answers No, a file dialog with none is cancelled.
    QQueue<bool> answers;
    QQueue<QString> files;
    QList<Shown> shown;

    void inform(QWidget*, const QString&, const QString& text, Icon icon) override {
        shown.append({text, icon, {}, {}});
    }
    bool askYesNo(QWidget*, const QString&, const QString& text) override {
        shown.append({text, Icon::Question, {}, {}});
        return answers.isEmpty() ? false : answers.dequeue();
    }
    QString chooseFile(QWidget*, const QString&, const QString& folder, const QString& filter) override {
        shown.append({{}, Icon::Information, folder, filter});
        return files.isEmpty() ? QString() : files.dequeue();
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.constLast().text; }
};
