#include "BulkWriter.h"

#include <sqlite3.h>

BulkWriter::~BulkWriter() {
    for (auto& [sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    if (m_db != nullptr) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
}

bool BulkWriter::open(const QString& filePath) {
    if (sqlite3_open_v2(filePath.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("open ") + filePath);
    // The indexes take their rows in random order: a cache that holds them spares re-reading their pages.
    if (sqlite3_exec(m_db, "PRAGMA cache_size = -131072", nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("cache_size"));
    if (sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("BEGIN"));
    return true;
}

sqlite3_stmt* BulkWriter::statement(const char* sql) {
    auto found = m_statements.find(sql);
    if (found != m_statements.end())
        return found->second;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        fail(QStringLiteral("prepare ") + QString::fromUtf8(sql));
        return nullptr;
    }
    m_statements.emplace(sql, stmt);
    return stmt;
}

bool BulkWriter::insert(const char* sql, const QVariantList& values) {
    sqlite3_stmt* stmt = statement(sql);
    if (stmt == nullptr)
        return false;
    sqlite3_reset(stmt);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        const int index = i + 1;
        if (value.isNull()) {
            sqlite3_bind_null(stmt, index);
        } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            sqlite3_bind_int64(stmt, index, value.toLongLong());
        } else if (value.typeId() == QMetaType::Double) {
            sqlite3_bind_double(stmt, index, value.toDouble());
        } else {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_bind_text(stmt, index, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
    }
    if (sqlite3_step(stmt) != SQLITE_DONE)
        return fail(QString::fromUtf8(sql));
    return true;
}

qint64 BulkWriter::lastRowId() const {
    return sqlite3_last_insert_rowid(m_db);
}

QStringList BulkWriter::texts(const char* sql) {
    QStringList values;
    sqlite3_stmt* stmt = statement(sql);
    if (stmt == nullptr)
        return values;
    sqlite3_reset(stmt);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    if (step != SQLITE_DONE)
        fail(QString::fromUtf8(sql));
    return values;
}

bool BulkWriter::exec(const QString& sql) {
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail(sql);
    return true;
}

bool BulkWriter::finish() {
    for (auto& [sql, stmt] : m_statements)
        sqlite3_finalize(stmt);
    m_statements.clear();
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail(QStringLiteral("COMMIT"));
    sqlite3_close(m_db);
    m_db = nullptr;
    return true;
}

bool BulkWriter::fail(const QString& what) {
    m_error = what + QStringLiteral(": ") +
              (m_db != nullptr ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("no connection"));
    return false;
}
