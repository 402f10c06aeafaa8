#pragma once

#include "ScriptedDialogs.h"
#include "Settings.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

// A screen's surroundings in a test: dialogs answered from a script, a settings file in a folder of its own,
// and the screen's widgets found by object name.
struct ScreenFixture {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    Settings settings{dir.filePath("zlv.ini")};

    QString file(const QString& name) const { return dir.filePath(name); }
    template <typename T> static T* find(const QObject* window, const QString& name) {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qWarning("no widget %s", qPrintable(name));
        return widget;
    }
    static void click(const QObject* window, const QString& name) {
        QTest::mouseClick(find<QAbstractButton>(window, name), Qt::LeftButton, {}, QPoint(6, 6));
    }
    // Types text over the field's whole content, as a user who selects it first.
    static void typeOver(const QObject* window, const QString& field, const QString& text) {
        QLineEdit* edit = find<QLineEdit>(window, field);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    // The files written beside the settings file.
    QStringList written() const {
        QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(QStringLiteral("zlv.ini"));
        return files;
    }
    QString messages() const {
        QStringList texts;
        for (const ScriptedDialogs::Shown& shown : dialogs.shown)
            texts.append(shown.title + ": " + shown.text);
        return texts.join('\n');
    }
};
