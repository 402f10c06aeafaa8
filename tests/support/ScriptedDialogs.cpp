#include "ScriptedDialogs.h"

Dialogs::Answer ScriptedDialogs::ask(QWidget*, const QString& title, const QString& text, Icon icon,
                                     Answer defaultButton) {
    shown.append({Shown::Kind::Ask, title, text, icon, defaultButton});
    return answers.isEmpty() ? Answer::No : answers.dequeue();
}

Dialogs::Answer ScriptedDialogs::askWithCancel(QWidget*, const QString& title, const QString& text, Icon icon,
                                               Answer defaultButton) {
    shown.append({Shown::Kind::AskWithCancel, title, text, icon, defaultButton});
    return answers.isEmpty() ? Answer::No : answers.dequeue();
}

void ScriptedDialogs::inform(QWidget*, const QString& title, const QString& text, Icon icon) {
    shown.append({Shown::Kind::Inform, title, text, icon, Answer::No});
}

QString ScriptedDialogs::chooseFileToOpen(QWidget*, const QString& title, const QString& folder,
                                          const QString& filter) {
    shown.append({Shown::Kind::OpenFile, title, folder + QLatin1Char('|') + filter, Icon::None, Answer::No});
    return files.isEmpty() ? QString() : files.dequeue();
}

QString ScriptedDialogs::chooseFolder(QWidget*, const QString& title, const QString& folder) {
    shown.append({Shown::Kind::OpenFile, title, folder, Icon::None, Answer::No});
    return files.isEmpty() ? QString() : files.dequeue();
}

QString ScriptedDialogs::showSaveDialog(QWidget*, const QString& title, const QString& suggestedPath,
                                        const QString& filter, QString&) {
    shown.append(
        {Shown::Kind::SaveFile, title, suggestedPath + QLatin1Char('|') + filter, Icon::None, Answer::No});
    return files.isEmpty() ? QString() : files.dequeue();
}

int ScriptedDialogs::choose(QWidget*, const QString& title, const QString& text, Icon icon,
                            const QStringList& buttons) {
    shown.append(
        {Shown::Kind::Choose, title, text + QLatin1Char('|') + buttons.join(u'|'), icon, Answer::No});
    return choices.isEmpty() ? int(buttons.size()) - 1 : choices.dequeue();
}

bool ScriptedDialogs::askLogin(QWidget*, const QString& server, QString& user, QString& password) {
    shown.append({Shown::Kind::Login, QStringLiteral("Anmeldung am Datenbankserver"), server + u'|' + user,
                  Icon::None, Answer::No});
    if (logins.isEmpty())
        return false;
    std::tie(user, password) = logins.dequeue();
    return true;
}

bool ScriptedDialogs::askText(QWidget*, const QString& title, const QString& label, QString& text) {
    shown.append({Shown::Kind::Text, title, label + u'|' + text, Icon::None, Answer::No});
    if (texts.isEmpty())
        return false;
    text = texts.dequeue();
    return true;
}

QStringList ScriptedDialogs::chooseFromLists(QWidget*, const QString& title, const QString& text,
                                             const QStringList& labels, const QList<QStringList>& lists) {
    QStringList shownText{text};
    for (qsizetype i = 0; i < labels.size() && i < lists.size(); ++i)
        shownText.append(labels.at(i) + QLatin1Char(' ') + lists.at(i).join(u'/'));
    shown.append({Shown::Kind::ChooseFromLists, title, shownText.join(u'|'), Icon::None, Answer::No});
    return picks.isEmpty() ? QStringList() : picks.dequeue();
}
