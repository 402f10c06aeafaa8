#pragma once

#include "ChangeNotice.h"
#include "DatabaseRow.h"
#include "JournalSummary.h"
#include "Money.h"
#include "Schema.h"
#include "StoreFailure.h"

#include <functional>
#include <memory>
#include <optional>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

class Dialect;
class Link;
class QSqlError;
class QThread;
class SchemaUpkeep;
struct Engine;

// One open connection to the data, in a database file or on a PostgreSQL server; everything above it
// speaks through prepared statements with bound values, in one dialect. What is particular to an engine
// lives in its folder behind the engine's pieces (Engine: its Link, Dialect and ChangeNotice): sqlite/
// (the connection's set-up and the functions and collation installed on it, reading straight on the
// engine, its failures in German, the backup, check and compaction of a whole file) and postgres/ (the
// server's address, its functions, failures, dump).
class Database {
public:
    // Several workstations may book into one file at once: a write waits this long (10 s) for the others.
    // ZLV_BUSY_TIMEOUT_MS shortens it for the test suite, whose tests hold files busy on purpose.
    static int defaultBusyTimeoutMs();

    using OpenFailure = StoreFailure::Opening;
    using Failure = StoreFailure::Kind;
    using Row = DatabaseRow;

    // Opens an existing database file, or a database on a server, for reading and writing. On failure
    // returns null and, when given, sets failure and a German message that names the file or server and
    // the reason. Nothing is ever written to a database that is refused.
    // busyTimeoutMs: how long a write or read waits for a file that another program holds briefly.
    // Opened for the start, the rows of the tables whose sums the database keeps are counted only by
    // countKeptSums(), so that the start waits for no table's size; and where nothing it read stands
    // against the data, bringing the schema up to date and looking for a removed journal wait for
    // finishOpening().
    enum class Purpose { Work, Start };
    static std::unique_ptr<Database> open(const QString& location, OpenFailure* failure = nullptr,
                                          QString* germanMessage = nullptr,
                                          int busyTimeoutMs = defaultBusyTimeoutMs(),
                                          Purpose purpose = Purpose::Work);
    // Loads what the engine of location needs to connect (for a server, its client library), so that a
    // connection made later finds it loaded; may run on any thread.
    static void loadClient(const QString& location);
    // Creates a new file, or sets up an empty database on a server, with the six tables, the indexes and
    // the presets (trades, cost groups), all or nothing. Refuses when the file exists already or the
    // server's database holds tables. Returns false and sets the German message on failure.
    static bool create(const QString& location, QString* germanMessage = nullptr);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // What opening found that the user should know although the data are open: indexes or triggers the
    // login could not add, running numbers given twice in a project. In German; shown once.
    QStringList notices() const { return m_notices; }
    // Opened for the start: counts the rows whose sums the database keeps and, where the sums missed
    // changes made behind the program's back, counts the sums anew (once; the lists add up the rows
    // themselves until then).
    void countKeptSums();

    QSqlDatabase connection() const;
    // Hands the connection to thread, which alone uses it from then on: a database opened on a thread of
    // its own goes on serving the window's thread. Called on the thread that opened it.
    void moveToThread(QThread* thread);
    // Where the data live, for the user: the file's path, or the database on its server.
    QString place() const;
    // The location it was opened from (a file's path or the server's address).
    QString location() const { return m_location; }
    // How the engine tells of other workstations' changes.
    const ChangeNotice& changeNotice() const { return m_changes; }
    // The file's change count (nullopt on the server or when it cannot be read) and this connection's
    // session on the server.
    std::optional<qint64> changeCount();
    QString session();
    bool onServer() const;
    // False once the connection is known to be broken (on the server: the server closed it, or the
    // network's keep-alive found it dead); asks nothing of the server, so it never waits.
    bool connected() const;

    // Prepares sql and binds the values positionally ("?"), then runs it. Returns false on failure and
    // keeps the German error text for lastError(). The query is positioned before the first row.
    bool run(QSqlQuery& query, const QString& sql, const QVariantList& values = {});
    // Runs a statement that returns no rows.
    bool exec(const QString& sql, const QVariantList& values = {});
    // Runs an INSERT that ends in "RETURNING" the new row's number, and returns it.
    std::optional<qint64> insert(const QString& sql, const QVariantList& values);
    // A statement with its values, for insertFollowed().
    struct Statement {
        QString sql;
        QVariantList values;
    };
    // How a follower's SQL names the number of the row inserted before it.
    static QString newRow() { return QStringLiteral("{neu}"); }
    // Runs insert, as insert() does, then each follower, a statement that writes rows naming the new
    // row's number as newRow(), then reads question and hands each of its rows to visit with the
    // question's first column at column first; returns the new number. On a server the three are one
    // statement sent once, so a question's first column must never be NULL in its rows; on a file they
    // run one after the other. Within the caller's transaction.
    std::optional<qint64> insertFollowed(const Statement& insert, const QList<Statement>& followers,
                                         const Statement& question,
                                         const std::function<void(const Row&, int first)>& visit);
    // Runs an UPDATE or DELETE meant for one existing row; false, with lastError() saying that the row
    // is gone, when it changed no row.
    bool changeRow(const QString& sql, const QVariantList& values);
    // The German text of the last failure, including the engine's own words.
    QString lastError() const { return m_lastError; }
    // The same without the words on what could not be done.
    QString lastReason() const { return m_lastReason; }
    // What the last failure was (RowGone: the row meant by changeRow() is gone).
    Failure lastFailure() const { return m_lastFailure; }
    // Runs write, which holds a transaction of its own, and runs it once more when it failed because
    // other programs held the file beyond the busy timeout.
    bool retryOnceWhenBusy(const std::function<bool()>& write);

    // A field's value as the program reads every field: its text, with null read as empty text.
    static QString text(const QSqlQuery& query, int column);

    // Runs a query straight on the engine and hands each row to visit: the fast way to fill lists.
    // Returns false on failure, with the German text in lastError().
    bool read(const QString& sql, const QVariantList& values, const std::function<void(const Row&)>& visit);
    // The same for a result too large to hold at once (a whole table for the auditors): each row is
    // visited as it arrives. A read that failed after its first row is not run again.
    bool stream(const QString& sql, const QVariantList& values, const std::function<void(const Row&)>& visit);

    bool beginTransaction();
    // A COMMIT that fails rolls the transaction back; lastError() says why it failed.
    // When the connection broke while the COMMIT was on its way, the server may have kept the changes
    // or not: stored, when given, finds out on a new connection (true: kept, false: not kept, nullopt:
    // still unknown) and commit() tells what is true; an unknown outcome is said as such.
    bool commit(const std::function<std::optional<bool>()>& stored = {});
    bool rollback();
    bool inTransaction() const { return m_inTransaction; }
    // Within a transaction: waits until no other workstation writes into the project, so that the
    // running numbers taken next are this transaction's alone.
    bool lockProject(const QString& projectId);
    // Within a transaction: writes many rows into table at once (null QString: NULL), numbers included.
    // A unique index of the table is set aside until resetIdentities(), so that rows brought in may
    // repeat a running number.
    bool bulkInsert(const QString& table, const QStringList& columns, const QList<QStringList>& rows);
    // After rows were written with their numbers: the next new row of each table gets the next number,
    // and the unique indexes set aside return where the rows allow them.
    bool resetIdentities();
    // The stored row of table whose keyField is key, as one text that tells whether another workstation
    // changed it since: null when the row is gone, nullopt when it cannot be read. Within a transaction
    // the row stays locked against other writers until the transaction ends.
    std::optional<QString> rowStamp(const QString& table, const QString& keyField, qint64 key);
    // Within a transaction: true when the row is still the one stamp describes; otherwise lastFailure()
    // is RowGone or Changed and lastError() says so in German.
    bool stillAsLoaded(const QString& table, const QString& keyField, qint64 key, const QString& stamp);
    // The same for a stamp read now by other means (several rows' stamps joined; null: gone).
    bool stillAsLoaded(const std::optional<QString>& now, const QString& stamp);
    // Within a transaction: true when a company of this name (ignoring case) is stored, and keeps it from
    // being renamed until the transaction ends; otherwise lastFailure() is NameGone.
    bool companyStillThere(const QString& name);
    // Within a transaction: the program's operation that the journal records the following changes under;
    // collecting: a name change's many rows become one entry per table (see Journal).
    bool setJournalTask(const QString& task, bool collecting = false);
    // Where the connection collects them itself (the file): the entries collected since then.
    QList<JournalSummary> takeCollectedChanges();
    // Whether opening for the program's start looked for a removed journal already (its warning is
    // among the notices).
    bool journalLookedAt() const { return m_journalLookedAt; }
    // False while what opening for the start left (see open()) is still to be done.
    bool openingFinished() const { return !m_openingUnfinished; }
    // Does what opening for the start left: adds what the database lacks and looks for a removed
    // journal, their notices in notices() (which then hold only these). False, with a German message
    // as open() gives it, when the data cannot be used after all.
    bool finishOpening(QString* germanMessage);
    // A condition, for a query, true when column holds a value that is no number at all.
    QString foreignNumberCondition(const QString& column) const;
    // A condition true for the rows of table (under alias) of the company bound to its one placeholder, its
    // name in any letter case (Dialect::companyCondition).
    QString companyCondition(const QString& table, const QString& alias) const;
    // A condition true when column holds a value the engine cannot add in cents
    // (Dialect::oddAmountCondition).
    QString oddAmountCondition(const QString& column) const;
    // The collation under which texts compare equal only when they are the same to the letter.
    QString exactCollation() const;
    // The engine's statements, for the store's own upkeep.
    const Dialect& dialect() const { return *m_dialect; }

private:
    Database(Engine engine, QString connectionName);
    // Opens the data of the link: what stands against them, the connection, the schema, the upkeep.
    OpenFailure openExisting(QString* reason, Purpose purpose);
    // Adds what the database lacks; opened for the start, also looks for a removed journal.
    OpenFailure bringUpToDate(SchemaUpkeep& upkeep, QString* reason, Purpose purpose);
    void close();
    // existing: the data must be there and are never created anew.
    bool connect(bool existing, OpenFailure* failure, QString* germanText);
    SchemaUpkeep upkeep();
    // False, with the failure recorded, when the file was deleted or moved away since it was opened, or
    // the server's connection was lost. A file put back or replaced meanwhile, or a server that answers
    // again, is connected afresh, so work goes on without reopening.
    bool onCurrentFile(const QString& what);
    bool reconnect(QString* reason);
    bool outcomeOfLostCommit(const std::function<std::optional<bool>()>& stored);
    bool runOnce(QSqlQuery& query, const QString& sql, const QVariantList& values);
    // Runs a statement with values that changes rows; changed, if given, receives their number.
    bool change(const QString& sql, const QVariantList& values, qint64* changed);
    // Runs sql straight on the engine through once, and once more on a new connection where
    // mayRunAgain() allows; changes: sql writes, and the journal must be ready for it.
    bool onEngine(const QString& sql, bool changes, const std::function<bool(StoreFailure*)>& once);
    // After sql failed: true when the connection was lost and sql may run once more on a new one.
    bool mayRunAgain(const QString& sql);
    // what: the statement that failed, which says whether reading, storing or deleting failed.
    void recordFailure(const QString& what, const QString& germanText, Failure failure = Failure::Other);
    void recordFailure(const QString& what, const QSqlError& error);

    std::unique_ptr<Link> m_link;
    std::unique_ptr<Dialect> m_dialect;
    ChangeNotice m_changes;
    QString m_connectionName;
    QString m_lastError;
    // The last failure's German text without the statement's prefix.
    QString m_lastReason;
    QString m_location;
    Failure m_lastFailure = Failure::None;
    bool m_inTransaction = false;
    bool m_keptSumsCounted = true;
    bool m_journalLookedAt = false;
    bool m_openingUnfinished = false;
    // Whether what the journal needs is installed on this connection (the file's triggers of its own):
    // it is, before the connection's first change, not when it opens.
    bool m_journalReady = false;
    bool journalReadyFor(const QString& sql);
    QStringList m_notices;
    QStringList m_suspendedIndexes;
};
