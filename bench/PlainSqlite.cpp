#include "PlainSqlite.h"

#include <sqlite3.h>

namespace {

bool bindAll(sqlite3_stmt* stmt, const QStringList& values) {
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray text = values.at(i).toUtf8();
        if (sqlite3_bind_text(stmt, i + 1, text.constData(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT) != SQLITE_OK)
            return false;
    }
    return true;
}

} // namespace

PlainSqlite::PlainSqlite(const QString& filePath) {
    if (sqlite3_open_v2(filePath.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

PlainSqlite::~PlainSqlite() {
    sqlite3_close(m_db);
}

QString PlainSqlite::text(sqlite3_stmt* stmt, int column) {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    return data == nullptr ? QString() : QString::fromUtf8(data, sqlite3_column_bytes(stmt, column));
}

bool PlainSqlite::query(const char* sql, const QStringList& values,
                        const std::function<void(sqlite3_stmt*)>& onRow) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK || !bindAll(stmt, values)) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(stmt);
        return false;
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
        onRow(stmt);
    if (step != SQLITE_DONE)
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_finalize(stmt);
    return step == SQLITE_DONE;
}

qint64 PlainSqlite::exec(const char* sql, const QStringList& values) {
    bool ok = query(sql, values, [](sqlite3_stmt*) {});
    return ok ? sqlite3_changes(m_db) : -1;
}
