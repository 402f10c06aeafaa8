#pragma once

#include <QString>
#include <QtGlobal>

// A row of tblGewerk (a trade) or tblKostengruppe (a cost group): a number and a name.
struct NameEntry {
    qint64 id = 0;
    QString name;
};
Q_DECLARE_TYPEINFO(NameEntry, Q_RELOCATABLE_TYPE);
using Trade = NameEntry;
using CostGroup = NameEntry;
