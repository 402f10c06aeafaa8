#pragma once

#include <QStringList>

// "Zlv --uebertragen <datei> <postgresql://server/datenbank>": moves an office's database file onto a
// server for an administrator, without windows. Prints both sides' figures; the exit code is 0 only
// when the copy ran and every count and sum agrees.
class TransferCommand {
public:
    static constexpr const char* kOption = "--uebertragen";
    // arguments: the program's arguments, the program's name first.
    static bool isRequested(int argc, char** argv);
    static int run(const QStringList& arguments);
};
