#pragma once

#include "JournalSummary.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

struct sqlite3;

// The functions through which a file's journal triggers record this connection's changes: the time,
// login and workstation of an entry, its values as JSON, its hash, and the operation it belongs to. On
// a file only the program records (its triggers live on its own connection), so what they record is kept
// here, per connection.
class JournalFunctions {
public:
    JournalFunctions();
    bool registerOn(sqlite3* connection);

    // The program's operation the following changes belong to; collecting: a name change's rows are
    // collected into one entry per table instead of one entry each.
    void setTask(const QString& task, bool collecting);
    // The entries collected since collecting began, in the order their tables were first changed.
    QList<JournalSummary> takeCollected();

private:
    struct Collected {
        qint64 rows = 0;
        QSet<QString> projects;
        // For each changed field: its values before, and after, as compact JSON.
        QMap<QString, QSet<QString>> before;
        QMap<QString, QSet<QString>> after;
    };
    static void now(struct sqlite3_context* context, int, struct sqlite3_value**);
    static void who(struct sqlite3_context* context, int, struct sqlite3_value**);
    static void where(struct sqlite3_context* context, int, struct sqlite3_value**);
    static void task(struct sqlite3_context* context, int, struct sqlite3_value**);
    static void collecting(struct sqlite3_context* context, int, struct sqlite3_value**);
    static void values(struct sqlite3_context* context, int count, struct sqlite3_value** args);
    static void changedBefore(struct sqlite3_context* context, int count, struct sqlite3_value** args);
    static void changedAfter(struct sqlite3_context* context, int count, struct sqlite3_value** args);
    static void collect(struct sqlite3_context* context, int count, struct sqlite3_value** args);
    static void chainHash(struct sqlite3_context* context, int count, struct sqlite3_value** args);

    QString m_user;
    QString m_workstation;
    QString m_task;
    bool m_collecting = false;
    QStringList m_collectedOrder;
    QMap<QString, Collected> m_collected;
};
