#pragma once

#include "AuditTableReader.h"

#include <QList>
#include <QString>

// The index.xml of the auditors' data handover (GDPdU "Beschreibungsstandard", gdpdu-01-09-2004.dtd): the
// supplier, and for each file its table, period, encoding, number symbols, delimiters, columns and links,
// in the element order the DTD prescribes.
class AuditIndex {
public:
    static constexpr const char* kDtdName = "gdpdu-01-09-2004.dtd";

    struct Supplier {
        QString name;
        QString location;
        QString comment;
    };
    // A column that names a row of another table by that table's key.
    struct Link {
        QString column;
        QString table;
        QString key;
    };
    struct Table {
        QString url;
        QString name;
        QString description;
        QList<AuditTableReader::Column> columns;
        QList<Link> links;
    };

    // from and to as dd.MM.yyyy.
    static QByteArray text(const Supplier& supplier, const QString& mediaName, const QString& from,
                           const QString& to, const QList<Table>& tables);
    // The DTD's public text, shipped with the program.
    static QByteArray dtd();
};
