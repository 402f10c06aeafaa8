#pragma once

#include "Database.h"

#include <memory>
#include <QTemporaryDir>

// A fresh database, created as the program creates a new one (tables, indexes, presets), and an open
// connection to it: a file "ZLV.mdb" in a temporary folder, or, when the test runs with
// ZLV_TEST_ENGINE=server, a schema of its own on the PostgreSQL server that the libpq environment
// names (PGHOST, PGPORT, PGUSER, PGDATABASE), dropped afterwards.
class TestDatabase {
public:
    enum class Engine { File, Server };
    static Engine requestedEngine();
    // setUp false: the database stays empty and unopened (on the server: an empty schema).
    explicit TestDatabase(Engine engine = requestedEngine(), bool setUp = true);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;
    bool isValid() const { return m_db != nullptr; }
    bool onServer() const { return !m_schema.isEmpty(); }
    Database& db() { return *m_db; }
    // A temporary folder for the test's other files.
    QString folder() const { return m_dir.path(); }
    // Where the database lies, as the ini names it: the file's path or the server's address.
    QString path() const;
    // Runs sql on the open connection; fails the running test when it does not work.
    void exec(const QString& sql, const QVariantList& values = {});
    // Runs sql as another program would, beside the open connection: the sqlite3 tool on the file, psql
    // on the server; fails the running test when it does not work.
    void execElsewhere(const QString& sql);
    // The same, false with the tool's words in error when it does not work.
    bool runElsewhere(const QString& sql, QString* error);
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
    QString m_schema;
    // On the server: whether the schema can serve the next test (the test changed no table).
    bool m_reusable = false;
    QString m_location;
    std::unique_ptr<Database> m_db;
};
