#pragma once

#include "Database.h"

#include <memory>
#include <QTemporaryDir>

// A fresh database file "ZLV.mdb" in a temporary folder, created as the program creates a new file
// (tables, indexes, presets), and an open connection to it.
class TestDatabase {
public:
    TestDatabase();
    bool isValid() const { return m_db != nullptr; }
    Database& db() { return *m_db; }
    QString folder() const { return m_dir.path(); }
    QString path() const;
    // Runs sql on the open connection; fails the running test when it does not work.
    void exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row of sql, as text.
    QString scalar(const QString& sql, const QVariantList& values = {});
    // Drops the preset trades and cost groups, for tests that want empty lists.
    void clearPresets();
    // Closes the connection and opens the file afresh, as the program opens it; false when it refuses.
    bool reopen();
    // Fills the bookings with rows, then breaks the page that their table starts on, as a failing disk
    // would: the file still opens, but reading the bookings fails and the engine's check finds damage.
    // The connection is opened afresh.
    bool damageBookings();
    // The same for the database file at path, which nothing may hold open.
    static bool damageBookings(const QString& path);

    // Writes bytes as the whole content of the file at path.
    static bool writeFile(const QString& path, const QByteArray& bytes);
    // What a file and its folder look like (content, time of change, the folder's files), to prove that
    // nothing was written.
    static QString fileState(const QString& path);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;
};
