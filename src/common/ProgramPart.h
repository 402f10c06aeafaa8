#pragma once

#include <QString>

// A part of the program in a library of its own beside it (the charts, the PDF invoices, the printers),
// loaded the first time it is needed, so that a start loads none of the libraries it uses.
class ProgramPart {
public:
    // The function exported as symbol by the part named name ("zlvcharts" for libzlvcharts.so) in the
    // program's folder; the part stays loaded. nullptr when the part is missing, damaged or lacks it.
    static QFunctionPointer resolve(const QString& name, const char* symbol);
    // What the user is told when the part cannot be used: the consequence as given, then which part is
    // missing in which folder, and what to do.
    static QString missingText(const QString& consequence, const QString& name);
};
