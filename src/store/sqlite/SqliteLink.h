#pragma once

#include "JournalFunctions.h"
#include "Link.h"

#include <QByteArray>

struct sqlite3;

// A connection to the SQLite file of one workstation: what a file must be to be opened, how a QSQLITE
// connection to it is set up and given the program's functions and collation, reading straight on the
// engine, and how its failures are told.
class SqliteLink : public Link {
public:
    static sqlite3* handle(const QSqlDatabase& db);

    // location: the file's path as given; busyTimeoutMs: how long a statement waits for a file that
    // another program holds.
    SqliteLink(QString location, int busyTimeoutMs);

    QString place() const override;
    bool isServer() const override { return false; }
    QString driverName() const override;
    StoreFailure::Opening obstacle(QString* reason) const override;
    std::optional<QString> creationObstacle() const override;
    QString refusal(const QString& reason, bool creating) const override;
    std::optional<QString> emptyRefusal() const override { return std::nullopt; }
    QString schemaRefusal(const QString& reason) const override { return reason; }
    // Removes the file and the journal beside it.
    void discard() const override;
    void loadClient() const override;
    void configure(QSqlDatabase& db, bool existing) const override;
    bool prepare(const QSqlDatabase& db) override;
    bool setJournalTask(const QSqlDatabase& db, const QString& task, bool collecting,
                        StoreFailure* failure) override;
    QList<JournalSummary> takeCollected() override { return m_journal.takeCollected(); }
    void endJournalTask() override { m_journal.setTask(QString(), false); }
    // True while the file the connection has open is still at its path: not deleted, moved away, or
    // replaced by another file.
    bool stillThere(const QSqlDatabase& db) const override;
    bool mayReopen() const override;
    bool rerunsAfterLoss() const override { return false; }
    QString goneText() const override;
    StoreFailure fault(const QSqlError& error, const QSqlDatabase& db) const override;
    StoreFailure::Opening openFailure(const QSqlError& error, QString* reason) const override;
    bool read(const QSqlDatabase& db, const QString& sql, const QVariantList& values,
              const std::function<void(const DatabaseRow&)>& visit, StoreFailure* failure) const override;
    bool change(const QSqlDatabase& db, const QString& sql, const QVariantList& values, qint64* changed,
                StoreFailure* failure) const override;

private:
    QString m_location;
    QString m_path;
    int m_busyTimeoutMs;
    JournalFunctions m_journal;
};
