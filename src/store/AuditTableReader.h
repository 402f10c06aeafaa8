#pragma once

#include "DatabaseRow.h"

#include <functional>
#include <optional>
#include <QList>
#include <QString>

class Database;

// Reads the tables handed to the auditors, row by row in the order of their keys: the whole database or
// one project, bookings limited to a period of instruction dates and the journal to a period of its times.
// For one project the companies, trades and cost groups are those its bookings and estimate rows name
// (ignoring case), and the trades and cost groups its companies name.
class AuditTableReader {
public:
    // What a column holds, so that it is written as the auditors' software reads it.
    enum class Kind { Key, Count, Day, Amount, Text };
    struct Column {
        QString name;
        Kind kind;
    };
    struct Scope {
        // Empty: every project.
        QString projectId;
        // Instruction dates of bookings, both included; nullopt: open.
        std::optional<int> fromDay;
        std::optional<int> toDay;
        // Journal times ("yyyy-MM-ddTHH:mm:ss.zzzZ", UTC): from included, to excluded; empty: open.
        QString fromTime;
        QString toTime;
        bool limited() const { return fromDay || toDay; }
    };

    explicit AuditTableReader(Database& db) : m_db(db) {}

    // The tables in the order they are handed over.
    static QStringList tables();
    // The columns of table as read (an invoice file's size in bytes in place of its content).
    static QList<Column> columns(const QString& table);
    // Hands every row of table within scope to visit, its fields in the order of columns().
    bool read(const QString& table, const Scope& scope, const std::function<void(const DatabaseRow&)>& visit);
    QString lastError() const;

private:
    Database& m_db;
};
