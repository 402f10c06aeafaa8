#include "JournalCheckCommand.h"

#include "Database.h"
#include "JournalCheck.h"

#include <cstdio>
#include <cstring>

bool JournalCheckCommand::isRequested(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], kOption) == 0;
}

int JournalCheckCommand::run(const QStringList& arguments) {
    if (arguments.size() != 3) {
        std::fprintf(stderr, "Aufruf: Zlv %s <Datenbankdatei oder postgresql://server/datenbank>\n", kOption);
        return 2;
    }
    QString message;
    const std::unique_ptr<Database> db = Database::open(arguments.at(2), nullptr, &message);
    if (!db) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        return 2;
    }
    const JournalCheck::Result result = JournalCheck::run(*db);
    std::fprintf(result.whole ? stdout : stderr, "%s: %s\n", qPrintable(db->place()),
                 qPrintable(result.text));
    return result.whole ? 0 : 1;
}
