#include "SqliteLibrary.h"

#include "EngineLibrary.h"

const SqliteLibrary* SqliteLibrary::get() {
    static const SqliteLibrary* const resolved = []() -> const SqliteLibrary* {
        static QLibrary library(QStringLiteral("sqlite3"), 0);
        if (!EngineLibrary::load(library))
            return nullptr;
        static SqliteLibrary functions;
        bool all = true;
#define ZLV_RESOLVE(name) all = EngineLibrary::resolve(library, functions.name, #name) && all;
        ZLV_SQLITE_FUNCTIONS(ZLV_RESOLVE)
#undef ZLV_RESOLVE
        return all ? &functions : nullptr;
    }();
    return resolved;
}
