#pragma once

#include "Money.h"

#include <functional>
#include <memory>
#include <optional>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

class QSqlError;
class SqliteStatement;
struct sqlite3;

// The engine layer: one open connection to a database file; everything above it speaks through prepared
// statements with bound values. What is particular to the engine, SQLite, lives together in sqlite/:
// the connection's set-up and the functions and collation installed on it (SqliteEngine,
// PatternFunctions, GermanCollation), reading straight on the engine (SqliteStatement), the engine's
// failures in German (SqliteFailure) and the backup, check and compaction of a whole file (SqliteFile).
// A server engine would be added beside it.
class Database {
public:
    // Several workstations may book into one file at once: a write waits this long (10 s) for the others.
    // ZLV_BUSY_TIMEOUT_MS shortens it for the test suite, whose tests hold files busy on purpose.
    static int defaultBusyTimeoutMs();

    enum class OpenFailure {
        None,
        Missing,
        NotReadable,
        ReadOnly,
        NotADatabase,
        ForeignSchema,
        Locked,
        Other
    };

    // Opens an existing file for reading and writing. On failure returns null and, when given, sets
    // failure and a German message that names the file and the reason. Nothing is ever written to a
    // file that is refused.
    // busyTimeoutMs: how long a write or read waits for a file that another program holds briefly.
    static std::unique_ptr<Database> open(const QString& filePath, OpenFailure* failure = nullptr,
                                          QString* germanMessage = nullptr,
                                          int busyTimeoutMs = defaultBusyTimeoutMs());
    // Creates a new file with the six tables, the indexes and the presets (trades, cost groups).
    // Refuses when the file exists already. Returns false and sets the German message on failure.
    static bool create(const QString& filePath, QString* germanMessage = nullptr);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase connection() const;

    // Prepares sql and binds the values positionally ("?"), then runs it. Returns false on failure and
    // keeps the German error text for lastError(). The query is positioned before the first row.
    bool run(QSqlQuery& query, const QString& sql, const QVariantList& values = {});
    // Runs a statement that returns no rows.
    bool exec(const QString& sql, const QVariantList& values = {});
    // Runs an INSERT; returns the engine's number of the new row.
    std::optional<qint64> insert(const QString& sql, const QVariantList& values);
    // Runs an UPDATE or DELETE meant for one existing row; false, with lastError() saying that the row
    // is gone, when it changed no row.
    bool changeRow(const QString& sql, const QVariantList& values);
    // The German text of the last failure, including the engine's own words.
    QString lastError() const { return m_lastError; }
    // What the last failure was: the file busy beyond the busy timeout, the row meant by changeRow()
    // gone, the database file deleted or moved away, or anything else.
    enum class Failure { None, Busy, RowGone, FileGone, Other };
    Failure lastFailure() const { return m_lastFailure; }
    // Runs write, which holds a transaction of its own, and runs it once more when it failed because
    // other programs held the file beyond the busy timeout.
    bool retryOnceWhenBusy(const std::function<bool()>& write);

    // A field's value as the program reads every field: its text, with null read as empty text.
    static QString text(const QSqlQuery& query, int column);

    // One result row of read(), valid only while it is visited; fields are read by column number and
    // never fail: an empty or foreign value gives empty text or nullopt.
    class Row {
    public:
        QString text(int column) const;
        // A whole number (running number, day number).
        std::optional<int> integer(int column) const;
        qint64 rowNumber(int column) const;
        std::optional<Money> amount(int column) const;
        // The same; for a value that is there but no amount, unreadable gets its stored text.
        std::optional<Money> amount(int column, QString& unreadable) const;

    private:
        friend class Database;
        explicit Row(const SqliteStatement& statement) : m_statement(statement) {}
        const SqliteStatement& m_statement;
    };
    // Runs a query straight on the engine and hands each row to visit: the fast way to fill lists.
    // Returns false on failure, with the German text in lastError().
    bool read(const QString& sql, const QVariantList& values, const std::function<void(const Row&)>& visit);

    bool beginTransaction();
    // A COMMIT that fails rolls the transaction back; lastError() says why it failed.
    bool commit();
    bool rollback();
    bool inTransaction() const { return m_inTransaction; }

private:
    Database(QString filePath, QString connectionName);
    // existing: the file must be there and is never created anew.
    bool connect(bool existing, int busyTimeoutMs, QString* germanText);
    sqlite3* handle() const;
    OpenFailure checkSchema(QString* reason);
    // Installs the functions and adds the indexes the file lacks.
    OpenFailure configure(QString* reason);
    // False, with the failure recorded, when the file was deleted or moved away since it was opened.
    // A file put back or replaced meanwhile is connected afresh, so work goes on without reopening.
    bool onCurrentFile(const QString& what);
    bool reconnect(QString* reason);
    // what: the statement that failed, which says whether reading, storing or deleting failed.
    void recordFailure(const QString& what, const QString& germanText, Failure failure = Failure::Other);
    void recordFailure(const QString& what, int code, const QString& engineWords);
    void recordFailure(const QString& what, const QSqlError& error);

    QString m_filePath;
    QString m_connectionName;
    QString m_lastError;
    // The last failure's German text without the statement's prefix.
    QString m_lastReason;
    Failure m_lastFailure = Failure::None;
    bool m_inTransaction = false;
};
