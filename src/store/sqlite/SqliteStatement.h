#pragma once

#include "Money.h"

#include <optional>
#include <QString>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

// One statement run straight on the engine, past QtSql, for reading lists fast; finalized when it goes
// out of scope. Its fields are read by column number as the program reads every field: null and foreign
// values give empty text or nullopt, never a failure.
class RepeatedTexts;

class SqliteStatement {
public:
    SqliteStatement(sqlite3* connection, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isPrepared() const { return m_statement != nullptr; }
    // Binds the values to the "?" in order.
    bool bind(const QVariantList& values);
    // Steps to the next row; false at the end and on a failure, which failed() then tells.
    bool next();
    // Makes the statement ready to run again with new values.
    void reset();
    bool failed() const;
    int resultCode() const { return m_result; }
    int columnCount() const;
    QString engineWords() const;

    QString text(int column) const;
    // The same, made once for all the rows of a read that repeat it.
    QString text(int column, RepeatedTexts& repeated) const;
    QByteArray bytes(int column) const;
    bool isNull(int column) const;
    // A running number or a day number, by DayNumber's rules for stored values.
    std::optional<int> wholeNumber(int column) const;
    qint64 rowNumber(int column) const;
    // By Money's rules for stored values.
    std::optional<Money> amount(int column) const;

private:
    QString columnText(int column) const;

    sqlite3* m_connection;
    sqlite3_stmt* m_statement = nullptr;
    int m_result = 0;
};
