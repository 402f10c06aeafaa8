#pragma once

#include "EngineLibrary.h"

#include <sqlite3.h>

// Every function of SQLite the engine calls itself.
// clang-format off
#define ZLV_SQLITE_FUNCTIONS(X) \
    X(sqlite3_backup_finish) X(sqlite3_backup_init) X(sqlite3_backup_step) X(sqlite3_bind_blob) \
    X(sqlite3_bind_double) X(sqlite3_bind_int64) X(sqlite3_bind_null) X(sqlite3_bind_text) \
    X(sqlite3_busy_timeout) X(sqlite3_changes64) X(sqlite3_clear_bindings) X(sqlite3_close_v2) \
    X(sqlite3_column_blob) X(sqlite3_column_bytes) X(sqlite3_column_count) X(sqlite3_column_double) \
    X(sqlite3_column_int64) X(sqlite3_column_text) X(sqlite3_column_type) X(sqlite3_create_collation_v2) \
    X(sqlite3_create_function_v2) X(sqlite3_errmsg) X(sqlite3_errstr) X(sqlite3_exec) \
    X(sqlite3_extended_errcode) X(sqlite3_file_control) X(sqlite3_finalize) X(sqlite3_get_auxdata) \
    X(sqlite3_open_v2) X(sqlite3_prepare16_v2) X(sqlite3_reset) X(sqlite3_result_error_nomem) \
    X(sqlite3_result_int) X(sqlite3_result_null) X(sqlite3_result_text) X(sqlite3_result_value) \
    X(sqlite3_set_auxdata) X(sqlite3_sleep) X(sqlite3_step) X(sqlite3_user_data) X(sqlite3_value_blob) \
    X(sqlite3_value_bytes) X(sqlite3_value_double) X(sqlite3_value_int64) X(sqlite3_value_text) \
    X(sqlite3_value_type)
// clang-format on

// The functions of SQLite that the engine calls itself. The engine loads SQLite on the thread that opens
// the first file, before Qt's driver for files, which then finds it loaded: the program is not linked to
// it, so that the start's window is not held up while its thousand functions are bound.
struct SqliteLibrary {
    ZLV_ENGINE_FUNCTIONS(ZLV_SQLITE_FUNCTIONS)

    // The resolved functions, or nullptr when SQLite cannot be loaded here.
    static const SqliteLibrary* get();
};

// Only called with a connection or once get() gave the functions: a connection needs SQLite loaded.
inline const SqliteLibrary& sqlite() {
    return *SqliteLibrary::get();
}
