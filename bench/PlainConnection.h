#pragma once

#include <functional>
#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;
struct pg_conn;
struct pg_result;

// One row of a plain query's result, read straight from the engine's own interface.
class PlainRow {
public:
    bool isNull(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    // Null reads as empty text.
    QString text(int column) const;

private:
    friend class PlainConnection;
    sqlite3_stmt* m_stmt = nullptr;
    const pg_result* m_result = nullptr;
    int m_row = 0;
};

// The baseline side of the benchmarks: a connection through the plain SQLite C interface to a file, or
// through libpq to the server that a "postgresql://" address names, with no layer of the program in
// between. The SQL is written for SQLite with "?" or "?N" markers; on the server the markers become
// "$N", everything else is sent as it stands.
class PlainConnection {
public:
    explicit PlainConnection(const QString& location);
    ~PlainConnection();
    PlainConnection(const PlainConnection&) = delete;
    PlainConnection& operator=(const PlainConnection&) = delete;

    static bool isServerAddress(const QString& location);

    bool isOpen() const { return m_db != nullptr || m_server != nullptr; }
    bool isServer() const { return m_server != nullptr; }
    // Runs sql with the texts bound in order and calls onRow for every row. Returns false on failure.
    bool query(const char* sql, const QStringList& values, const std::function<void(const PlainRow&)>& onRow);
    // Runs a statement without rows; returns the number of rows it changed, or -1 on failure.
    qint64 exec(const char* sql, const QStringList& values = {});
    QString lastError() const { return m_error; }

private:
    bool serverQuery(const char* sql, const QStringList& values,
                     const std::function<void(const PlainRow&)>& onRow, qint64* changed);

    sqlite3* m_db = nullptr;
    pg_conn* m_server = nullptr;
    QString m_error;
};
