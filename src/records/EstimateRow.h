#pragma once

#include "Money.h"

#include <optional>
#include <QString>
#include <QtGlobal>

// A row of tblNachtrag: an architect's cost calculation, an order or a supplement of a company in a
// project.
struct EstimateRow {
    qint64 rowId = 0;                   // the engine's own row number; the table has no ID field
    std::optional<int> runningNumber;   // NID
    QString projectId;                  // ProjektID
    QString project;                    // Projekt
    QString company;                    // Firma
    QString trade;                      // Gewerk
    QString costGroup;                  // Kostengruppe
    std::optional<int> architectDate;   // ArchitektDatum, a day number
    std::optional<Money> architectCost; // ArchitektKosten
    std::optional<int> orderDate;       // NachtragDatum, a day number
    QString orderKind;                  // NachtragArt
    std::optional<Money> orderCost;     // NachtragKosten
    // The stored text of ArchitektDatum and NachtragDatum when it is no day number; written back unchanged.
    QString architectDateText;
    QString orderDateText;
    // The stored texts of ArchitektKosten and NachtragKosten when they are there but no amount.
    QString unreadableArchitectCost;
    QString unreadableOrderCost;
};
Q_DECLARE_TYPEINFO(EstimateRow, Q_RELOCATABLE_TYPE);
