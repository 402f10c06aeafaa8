#pragma once

#include "Database.h"
#include "Money.h"
#include "Schema.h"

#include <functional>
#include <memory>
#include <optional>
#include <QList>
#include <QString>
#include <QStringList>

// Whole tables brought in from elsewhere (an older installation's Access file, a database file moved
// onto a server): the database that receives them made ready, their rows written with their numbers
// and read back in stored order, and the figures that show whether they arrived whole.
class TransferRepository {
public:
    // Opens the database at location for data brought in: sets it up when it is empty, and refuses it
    // (null, with the German message) when it cannot be opened or holds rows beyond the preset trades
    // and cost groups.
    static std::unique_ptr<Database> openEmpty(const QString& location, QString* germanMessage);
    // True when from names a database file and to a database on a server: what a transfer moves.
    static bool isFileOntoServer(const QString& from, const QString& to);
    // The fields of table as its rows are written and read: the field that numbers them first (its key,
    // or the row number of a table without a key of its own), then its fields.
    static QList<Schema::Field> numberedFields(const QString& table);

    // A field read from a database as it is written into another: its text as the field's kind stores it
    // (a null text for an empty field), nullopt for a value that is no number where one belongs.
    static std::optional<QString> written(const Database::Row& row, int column, Schema::FieldKind kind);
    // An amount as a plain stored number: "-1234.50".
    static QString plainAmount(const Money& amount);

    explicit TransferRepository(Database& db) : m_db(db) {}

    // Within the transaction: removes the preset trades and cost groups, which the data brought in replace.
    bool clearPresets();
    // Within the transaction: writes rows of the given fields into table (a null QString: NULL).
    bool write(const QString& table, const QStringList& fields, const QList<QStringList>& rows);
    // Within the transaction, once the bookings are written: stores each project's bookings together, in
    // the order of their numbers.
    bool arrangeBookingsByProject();
    // Every row of table in stored order, its fields as numberedFields() names them.
    bool readAll(const QString& table, const std::function<void(const Database::Row&)>& visit);
    // The number of rows of table and the sum of each of amountFields, each amount as the program reads it.
    bool figures(const QString& table, const QStringList& amountFields, qint64* rows, QList<Money>* sums);
    // After the rows were written (outside the transaction): vacuums the tables and lets the database
    // plan its queries on them. A failure here changes no row, and the database's own upkeep does it
    // later anyway.
    void analyse();

private:
    Database& m_db;
};
