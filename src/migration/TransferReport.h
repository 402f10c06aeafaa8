#pragma once

#include "Money.h"

#include <QList>
#include <QString>
#include <QStringList>

class Database;

// The figures that show whether data arrived whole: per table the rows and the sum of every amount
// field on the side read from and on the side written to, the values that could not be read, and
// notes on what was left out or added; side by side, in German.
struct TransferReport {
    struct Figures {
        qint64 rows = 0;
        // The sum of each amount field, in the order of the table's fields.
        QList<Money> sums;
        bool operator==(const Figures&) const = default;
    };
    struct Table {
        QString name;
        QStringList amountFields;
        Figures file;
        Figures server;
    };

    // The headings of both sides.
    QString fromSide = QStringLiteral("Datei");
    QString toSide = QStringLiteral("Server");
    QList<Table> tables;
    // Values that are no number where a number belongs: written empty, listed here as
    // "table ID field: stored text".
    QStringList unreadable;
    // Tables and columns left out or created empty, one line each.
    QStringList notes;

    // True when every table's rows and sums agree on both sides.
    bool agrees() const;
    QString text() const;

    // The amount fields of one of the six tables.
    static QStringList amountFieldsOf(const QString& table);
    // Rows and amount sums of table in db, each amount as the program reads it.
    static bool figuresOf(Database& db, const QString& table, const QStringList& amountFields,
                          Figures& figures);
};
