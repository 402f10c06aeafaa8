#pragma once

#include <functional>
#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

// The baseline side of the benchmarks: a connection through the plain SQLite C interface, with no
// layer of the program in between.
class PlainSqlite {
public:
    explicit PlainSqlite(const QString& filePath);
    ~PlainSqlite();
    PlainSqlite(const PlainSqlite&) = delete;
    PlainSqlite& operator=(const PlainSqlite&) = delete;

    bool isOpen() const { return m_db != nullptr; }
    // Runs sql with the texts bound in order and calls onRow for every row. Returns false on failure.
    bool query(const char* sql, const QStringList& values, const std::function<void(sqlite3_stmt*)>& onRow);
    // Runs a statement without rows; returns the number of rows it changed, or -1 on failure.
    qint64 exec(const char* sql, const QStringList& values = {});
    QString lastError() const { return m_error; }

    // A column's value as text; null reads as empty text.
    static QString text(sqlite3_stmt* stmt, int column);

private:
    sqlite3* m_db = nullptr;
    QString m_error;
};
