#pragma once

#include "AccessFile.h"
#include "AccessFrame.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Reads an Access file from outside through the reader program Zlv_Access beside the program, in a
// process of its own: a damaged file that makes libmdb loop, crash or grow costs the program nothing.
// While it waits for the reader it calls back at least every tenth of a second, so that the window stays
// responsive and the clerk can cancel; cancelling, a failure and the end of the reader object end the
// process. What the reader sends is read with caps (each frame, all frames together), and the reader
// process runs with caps of its own (memory, computing time).
class AccessReader {
public:
    struct Limits {
        // All the reader may send; a file cannot hold more than a multiple of its own size.
        qint64 outputBytes = 0;
        // The computing time the reader may spend.
        int cpuSeconds = 0;
    };
    // Limits that a sound file of this size never reaches.
    static Limits limitsFor(const QString& path);

    struct Table {
        QString asked;
        // As the file spells it; empty when the file has no such table.
        QString name;
        // The rows its definition declares; -1 when it cannot be read.
        qint64 declaredRows = -1;
        // Empty when they cannot be read.
        QList<AccessFile::Column> columns;
    };
    // Called while waiting; false cancels.
    using Waiting = std::function<bool()>;
    // Gets every field of a row, in the table's column order; false stops.
    using Visit = std::function<bool(const QList<AccessFile::Value>& values)>;

    AccessReader(const QString& path, const Limits& limits);
    ~AccessReader();
    AccessReader(const AccessReader&) = delete;
    AccessReader& operator=(const AccessReader&) = delete;

    // Starts the reader and waits for the file's tables and the definitions of the tables asked for.
    // False, with a German message, when the file cannot be opened or the reader fails; cancelled()
    // tells when the waiting cancelled.
    bool open(const QStringList& tables, const Waiting& waiting, QString* message);
    // The user tables of the file.
    QStringList tables() const { return m_tables; }
    // The tables asked for, in that order.
    QList<Table> definitions() const { return m_definitions; }
    // Reads the rows of the next table asked for that the file holds with columns, which must be table.
    // rows gets the rows read. False, with a German message naming the table, when the table cannot be
    // read whole, the reader fails or visit stops.
    bool readRows(const Table& table, const Visit& visit, const Waiting& waiting, qint64* rows,
                  QString* message);
    bool cancelled() const { return m_cancelled; }
    // Ends the reader process, if it still runs.
    void stop();

    // The reader program beside the running program.
    static QString program();

private:
    std::optional<AccessFrame> next(const Waiting& waiting, const QString& table, QString* message);
    QString failure(const QString& table) const;

    QString m_path;
    Limits m_limits;
    QProcess m_process;
    QByteArray m_buffer;
    qint64 m_received = 0;
    bool m_cancelled = false;
    QStringList m_tables;
    QList<Table> m_definitions;
};
