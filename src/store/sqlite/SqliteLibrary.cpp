#include "SqliteLibrary.h"

const SqliteLibrary* SqliteLibrary::get() {
    return EngineLibrary::loadOnce<SqliteLibrary>("sqlite3", 0);
}
