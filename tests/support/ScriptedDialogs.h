#pragma once

#include "Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers the program's dialogs from a script and records every dialog shown, for screen tests.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        enum class Kind {
            Ask,
            AskWithCancel,
            Choose,
            Login,
            Inform,
            OpenFile,
            SaveFile,
            Text,
            ChooseFromLists
        } kind;
        QString title;
        QString text;
        Icon icon = Icon::None;
        Answer defaultButton = Answer::No;
    };

    // Queued answers; a question with no answer queued answers No, a file dialog cancels.
    QQueue<Answer> answers;
    QQueue<QString> files;
    // Buttons pressed in choose() (none queued: the last button); logins typed ("user", "password"; none
    // queued: cancelled).
    QQueue<int> choices;
    QQueue<QPair<QString, QString>> logins;
    // Lines typed in askText() (none queued: cancelled).
    QQueue<QString> texts;
    // Texts chosen in chooseFromLists() (none queued: cancelled).
    QQueue<QStringList> picks;
    QList<Shown> shown;

    Answer ask(QWidget* parent, const QString& title, const QString& text, Icon icon,
               Answer defaultButton) override;
    Answer askWithCancel(QWidget* parent, const QString& title, const QString& text, Icon icon,
                         Answer defaultButton) override;
    int choose(QWidget* parent, const QString& title, const QString& text, Icon icon,
               const QStringList& buttons) override;
    bool askLogin(QWidget* parent, const QString& server, QString& user, QString& password) override;
    bool askText(QWidget* parent, const QString& title, const QString& label, QString& text) override;
    void inform(QWidget* parent, const QString& title, const QString& text, Icon icon) override;
    // Records the text with each label and its list: "text|label a/b|label c/d".
    QStringList chooseFromLists(QWidget* parent, const QString& title, const QString& text,
                                const QStringList& labels, const QList<QStringList>& lists) override;
    QString chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                             const QString& filter) override;
    // Answers from files, as a file dialog does.
    QString chooseFolder(QWidget* parent, const QString& title, const QString& folder) override;
    // Records the proposed path and the filter; the chosen filter stays the first.
    QString showSaveDialog(QWidget* parent, const QString& title, const QString& suggestedPath,
                           const QString& filter, QString& chosenFilter) override;

    // The last dialog's text, or empty when none was shown.
    QString lastText() const { return shown.isEmpty() ? QString() : shown.constLast().text; }
};
