#pragma once

#include "StoreFailure.h"

#include <QString>

// The engine's failures as the user reads them: a German sentence for each failure the user can act on
// (the file in use elsewhere, the disk full, the file write-protected, damaged or not to be opened, a
// read or write error), with the engine's own words kept in parentheses for whoever looks into it.
// Other failures keep the engine's words alone.
class SqliteFailure {
public:
    // code: the engine's result code, primary or extended.
    static QString germanText(int code, const QString& engineWords);
    // The same with its kind: busy, the file gone, or another failure.
    static StoreFailure of(int code, const QString& engineWords);
    // The file is damaged or no database at all.
    static bool isDamage(int code);
    // Another program or workstation holds the file.
    static bool isBusy(int code);
    // The file was deleted or moved away while it was open.
    static bool isFileGone(int code);
};
