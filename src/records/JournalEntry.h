#pragma once

#include <QString>
#include <QtGlobal>

// An entry of tblProtokoll: one change, or one operation of the program over many rows.
struct JournalEntry {
    qint64 id = 0;       // ID, the order of the chain
    QString time;        // Zeit, UTC as "yyyy-MM-ddTHH:mm:ss.zzzZ"
    QString user;        // Benutzer: the server's login, or the login of the file's workstation
    QString workstation; // Arbeitsplatz
    QString table;       // Tabelle; empty for an entry about the whole database
    QString row;         // Zeile: the changed row's ID (rowid, ProjektID where that is the key)
    QString projectId;   // ProjektID of the row, trimmed
    QString action;      // Aktion: "Neu", "Geändert", "Gelöscht", "Geleert", "Namensänderung", ...
    QString task;        // Vorgang: the program's operation ("Korrektur", ...); empty for other tools
    qint64 count = 0;    // Anzahl: the rows the entry stands for
    QString oldValues;   // Alt: JSON object of the changed fields before (all fields of a deleted row)
    QString newValues;   // Neu: the same after (all fields of a new row)
};
