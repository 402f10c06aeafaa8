#include "ScriptedUpdaterDialogs.h"

void ScriptedUpdaterDialogs::inform(QWidget*, const QString& title, const QString& text, Icon icon) {
    shown.append({Shown::Kind::Inform, title, text, icon, {}, {}});
}

bool ScriptedUpdaterDialogs::askYesNo(QWidget*, const QString& title, const QString& text) {
    shown.append({Shown::Kind::Ask, title, text, Icon::Question, {}, {}});
    return answers.isEmpty() ? false : answers.dequeue();
}

QString ScriptedUpdaterDialogs::chooseFile(QWidget*, const QString& title, const QString& folder,
                                           const QString& filter) {
    shown.append({Shown::Kind::ChooseFile, title, {}, Icon::Information, folder, filter});
    return files.isEmpty() ? QString() : files.dequeue();
}
