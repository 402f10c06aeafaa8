#include "PatternFunctions.h"

#include "PatternMatcher.h"
#include "SqliteLibrary.h"

#include <string>

namespace {

void deleteCompiled(void* compiled) {
    delete static_cast<PatternMatcher::Compiled*>(compiled);
}

// The pattern is compiled once per statement and kept by the engine beside it.
void sqlLike(sqlite3_context* context, int, sqlite3_value** args) {
    if (sqlite().sqlite3_value_type(args[0]) == SQLITE_NULL ||
        sqlite().sqlite3_value_type(args[1]) == SQLITE_NULL) {
        sqlite().sqlite3_result_null(context);
        return;
    }
    auto* compiled = static_cast<PatternMatcher::Compiled*>(sqlite().sqlite3_get_auxdata(context, 0));
    if (!compiled) {
        const auto* pattern = reinterpret_cast<const char*>(sqlite().sqlite3_value_text(args[0]));
        const int length = sqlite().sqlite3_value_bytes(args[0]);
        sqlite().sqlite3_set_auxdata(
            context, 0, new PatternMatcher::Compiled(PatternMatcher::compileUtf8(pattern, length)),
            deleteCompiled);
        compiled = static_cast<PatternMatcher::Compiled*>(sqlite().sqlite3_get_auxdata(context, 0));
        if (!compiled) {
            sqlite().sqlite3_result_error_nomem(context);
            return;
        }
    }
    const auto* text = reinterpret_cast<const char*>(sqlite().sqlite3_value_text(args[1]));
    const int length = sqlite().sqlite3_value_bytes(args[1]);
    sqlite().sqlite3_result_int(context, PatternMatcher::matchesUtf8(*compiled, text, length) ? 1 : 0);
}

void sqlFold(sqlite3_context* context, int, sqlite3_value** args) {
    if (sqlite().sqlite3_value_type(args[0]) != SQLITE_TEXT) {
        sqlite().sqlite3_result_value(context, args[0]);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite().sqlite3_value_text(args[0]));
    const int length = sqlite().sqlite3_value_bytes(args[0]);
    thread_local std::string folded;
    PatternMatcher::foldUtf8(text, length, folded);
    sqlite().sqlite3_result_text(context, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

} // namespace

bool PatternFunctions::registerOn(sqlite3* connection) {
    if (!connection)
        return false;
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite().sqlite3_create_function_v2(connection, "like", 2, flags, nullptr, sqlLike, nullptr,
                                               nullptr, nullptr) == SQLITE_OK &&
           sqlite().sqlite3_create_function_v2(connection, "matches", 2, flags, nullptr, sqlLike, nullptr,
                                               nullptr, nullptr) == SQLITE_OK &&
           sqlite().sqlite3_create_function_v2(connection, "fold", 1, flags, nullptr, sqlFold, nullptr,
                                               nullptr, nullptr) == SQLITE_OK;
}
