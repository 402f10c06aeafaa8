#pragma once

#include "ScriptedDialogs.h"
#include "Session.h"
#include "Settings.h"
#include "StoreFixture.h"
#include "WidgetDriver.h"

#include <memory>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A screen's surroundings in a test: dialogs answered from a script, a settings file in a folder of its own.
struct ScreenFixture {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    Settings settings{dir.filePath("zlv.ini")};

    QString file(const QString& name) const { return dir.filePath(name); }
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

// A screen opened on a fresh database, driven through its widgets' object names as a user would: typing,
// clicking, selecting; and the database's rows to check against.
template <typename Screen = QWidget> struct DatabaseScreen : ScreenFixture, WidgetDriver {
    TestDatabase db;
    std::unique_ptr<Session> session;
    std::unique_ptr<Screen> screen;

    template <typename... Extra> Screen& open(Extra&... extra) {
        session = Session::open(db.path());
        screen = std::make_unique<Screen>(*session, dialogs, extra...);
        screen->show();
        return *screen;
    }
    const QObject* root() const override { return screen.get(); }
    QString rows(const QString& table, const QString& expression) {
        return StoreFixture::joined(db, table, expression);
    }
    // Inserts each row into both the bookings (tblBuchung) and the estimate rows (tblNachtrag).
    void bookings(const QString& columns, const QList<QVariantList>& rows) {
        for (const QVariantList& row : rows)
            for (const QString table : {"tblBuchung", "tblNachtrag"})
                db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?%3)")
                            .arg(table, columns, QStringLiteral(", ?").repeated(row.size() - 1)),
                        row);
    }
    // expression over the bookings, with the estimate rows' values added when they differ.
    QString bookings(const QString& expression) {
        const QString booked = rows("tblBuchung", expression), added = rows("tblNachtrag", expression);
        return booked == added ? booked : booked + QStringLiteral(" / tblNachtrag: ") + added;
    }
    // Makes every change to tblNachtrag fail, and so any rename's cascade, or lets changes through again.
    void refuseWrites(bool refuse = true) {
        refuse ? StoreFixture::refuse(db, QStringLiteral("tblNachtrag")) : StoreFixture::allow(db);
    }
};
