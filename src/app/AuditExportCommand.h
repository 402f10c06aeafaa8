#pragma once

#include <QStringList>

class Settings;

// "Zlv --pruefexport <datei oder postgresql://…> <ordner>": the data handover for the auditors of the
// whole database, without windows; an existing export in the folder is not replaced. The exit code is 0
// only when every file was written.
class AuditExportCommand {
public:
    static constexpr const char* kOption = "--pruefexport";
    static bool isRequested(int argc, char** argv);
    // arguments: the program's arguments, the program's name first; settings: the authority's details.
    static int run(const QStringList& arguments, const Settings& settings);
};
