#pragma once

#include "ListSnapshot.h"

#include <QString>

// The text of an exported list, as spreadsheet programs read it: the heading lines of its kind, then one
// line per row of the list, every value as displayed, joined by the separator; every line, the last
// included, ends with CR LF. A value holding the separator, a double quote, CR or LF is put in double
// quotes with its quotes doubled, so that it stays one column. A value of a row that begins with "=", "+",
// "-", "@", a tab or CR, which a spreadsheet program would run as a formula, is written with a leading
// apostrophe and so read as text; only the numbers the program wrote into the amount columns of the kind
// ("-8,80") stay as they are, so that they are read as numbers.
class ExportFormat {
public:
    static inline const QString kDefaultSeparator = QStringLiteral(";");
    static inline const QString kTabSeparator = QStringLiteral("\t");

    // Whether a kind of list is written by the export (the company list is not).
    static bool isExported(ListSnapshot::Kind kind);
    // The file name proposed for a kind, without extension ("Zelvora", "Firma", ...).
    static QString proposedFileName(ListSnapshot::Kind kind);
    // The whole text of the file for the snapshot of an exported kind.
    static QString text(const ListSnapshot& snapshot, const QString& separator);
    // value as one field between separators.
    static QString field(const QString& value, const QString& separator);
};
