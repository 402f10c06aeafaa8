#pragma once

#include "AccessFile.h"
#include "AccessReader.h"
#include "Schema.h"
#include "TransferReport.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

// Brings the data of an older installation's Access file into a new database: the six tables found
// by name and their fields by name (both in any letter case), every row in the file's order with its
// number, so that ProjektID links stay valid and the next new row gets the next number. A value that
// cannot be read is written empty and listed; extra and missing tables and columns are named. A new
// file is written under a temporary name and put in place only when complete and checked; on a server
// everything runs in one transaction. The Access file itself is never changed.
class AccessImport {
public:
    enum class Outcome { Imported, Refused, Cancelled };
    // The table being read or written, its rows done and its rows in all; returns false to cancel.
    using Progress = std::function<bool(const QString& table, qint64 rowsDone, qint64 rowsTotal)>;

    struct Result {
        Outcome outcome = Outcome::Refused;
        // Why the import was refused or cancelled, in German.
        QString message;
        TransferReport report;
        // Where the Access file went when it made room for the new database; empty otherwise.
        QString movedAside;
        // The report written beside the new database; empty when none was written.
        QString reportFile;
    };

    // Imports accessPath into target: a new database file (which must not exist, unless it is the
    // Access file itself: then that is renamed aside to asideName() and the new file takes its place)
    // or an empty database on a server (postgresql://...). Succeeds only when every count and sum
    // agrees; otherwise nothing is left behind.
    // The Access file is read by the reader program in a process of its own, within limits (by default
    // those of AccessReader::limitsFor); progress is called at least every tenth of a second meanwhile.
    static Result run(const QString& accessPath, const QString& target, const Progress& progress = {},
                      const std::optional<AccessReader::Limits>& limits = std::nullopt);

    // A value of the Access file as a field of the given kind stores it: a null text for an empty field,
    // nullopt when it cannot be read (then written empty and listed). amount gets an amount's value.
    // Date/Time counts the days from 30.12.1899 as Jet does, the time of day dropped; a Double amount is
    // rounded to the cent; a text amount is read in German or plain notation.
    static std::optional<QString> storedValue(Schema::FieldKind kind, AccessFile::Type type,
                                              const AccessFile::Value& value, std::optional<Money>& amount);

    // "ZLV-Access-2026-12-07.mdb" in folder, or "ZLV-Access-2026-12-07-2.mdb" and so on when taken.
    static QString asideName(const QString& folder, const QDate& day);
    // "Übernahme-2026-12-07.txt", and for the second report of the day "Übernahme-2026-12-07-2.txt".
    static QString reportFileName(const QDate& day, int number = 1);
};
