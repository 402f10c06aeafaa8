#pragma once

#include "TransferReport.h"

#include <functional>
#include <memory>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

// Moves an office's database file onto a server: copies every row of the six tables into the server's
// empty database in one transaction, keeping every number (so that ProjektID links stay valid) and
// letting the next new row of each table get the next number. Afterwards it counts the rows and adds up
// every amount field per table on both sides; the file is never changed.
class ServerTransfer {
public:
    using Figures = TransferReport::Figures;
    using Table = TransferReport::Table;
    using Report = TransferReport;

    // progress: the table being copied and its rows done so far.
    using Progress = std::function<void(const QString& table, qint64 rowsDone)>;
    // stage: what follows once every row is in, in German ("Datei und Server werden Tabelle für Tabelle
    // verglichen …"), for steps that take seconds on a large office and count no rows.
    using Stage = std::function<void(const QString& germanText)>;
    // Sets up the server's database when it is empty and copies the file onto it. Returns false with
    // a German message when the file or the server refuses, the server's database is not empty, or the
    // copy fails (then nothing is left on the server). The report is filled whenever the copy ran.
    static bool run(const QString& filePath, const QString& serverLocation, Report& report,
                    QString* germanMessage, const Progress& progress = {}, const Stage& stage = {});
};
