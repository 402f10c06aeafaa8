#pragma once

#include <QStringList>

// "Zlv --protokoll-pruefen <datei oder postgresql://server/datenbank>": checks the change journal's whole
// chain for an administrator's scheduled job, without windows. Prints the result in German; the exit code
// is 0 only when the chain is whole.
class JournalCheckCommand {
public:
    static constexpr const char* kOption = "--protokoll-pruefen";
    static bool isRequested(int argc, char** argv);
    // arguments: the program's arguments, the program's name first.
    static int run(const QStringList& arguments);
};
