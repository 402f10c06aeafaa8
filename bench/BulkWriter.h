#pragma once

#include <map>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

// Writes many rows into a database file through the plain SQLite C interface: one connection, one
// transaction, one prepared statement per statement text. Used only by the data generator.
class BulkWriter {
public:
    ~BulkWriter();
    BulkWriter() = default;
    BulkWriter(const BulkWriter&) = delete;
    BulkWriter& operator=(const BulkWriter&) = delete;

    // Opens the file and begins the transaction.
    bool open(const QString& filePath);
    // Runs sql (prepared once, then reused) with the values bound in order: null, integer, double or
    // text, by the variant's type.
    bool insert(const char* sql, const QVariantList& values);
    // The ID the database gave the row inserted last.
    qint64 lastRowId() const;
    // The first column of every row of a query without parameters, as text.
    QStringList texts(const char* sql);
    // Runs one statement text once, without parameters and without keeping it prepared.
    bool exec(const QString& sql);
    // Commits the transaction and closes the file.
    bool finish();
    QString lastError() const { return m_error; }

private:
    bool fail(const QString& what);
    sqlite3_stmt* statement(const char* sql);

    sqlite3* m_db = nullptr;
    std::map<const char*, sqlite3_stmt*> m_statements;
    QString m_error;
};
