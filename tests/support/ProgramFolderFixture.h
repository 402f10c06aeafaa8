#pragma once

#include "AppController.h"
#include "ScriptedDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>

#include <memory>

// A program folder holding the database ZLV.mdb, the user's settings and, once written, the
// PfadZurDatenbank.ini that names the database's folder; the program started on it answers its dialogs
// from a script.
struct ProgramFolder {
    TestDatabase data;
    ScriptedDialogs dialogs;
    Settings settings{filePath(QStringLiteral("TalbrinZlv.ini"))};

    QString path() const { return data.folder(); }
    QString filePath(const QString& name) const { return QDir(data.folder()).filePath(name); }
    QString ini() const { return filePath(QStringLiteral("PfadZurDatenbank.ini")); }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // On the server the ini names the server, as an office's would.
    std::unique_ptr<AppController> app() {
        if (data.onServer() && !QFile::exists(ini()))
            TestDatabase::writeFile(ini(), data.path().toUtf8() + '\n');
        return std::make_unique<AppController>(path(), dialogs, settings);
    }
};
