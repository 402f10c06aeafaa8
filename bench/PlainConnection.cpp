#include "PlainConnection.h"

#include <cstdlib>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <vector>

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

// "?" and "?N" outside quotes become "$N".
QByteArray serverMarkers(const char* sql) {
    QByteArray out;
    int next = 0;
    char quote = 0;
    for (const char* p = sql; *p != '\0'; ++p) {
        const char c = *p;
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
            out += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            out += c;
        } else if (c == '?') {
            out += '$';
            if (p[1] >= '0' && p[1] <= '9') {
                while (p[1] >= '0' && p[1] <= '9')
                    out += *++p;
            } else {
                out += QByteArray::number(++next);
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

bool PlainRow::isNull(int column) const {
    return m_stmt != nullptr ? sqlite3_column_type(m_stmt, column) == SQLITE_NULL
                             : PQgetisnull(m_result, m_row, column) != 0;
}

qint64 PlainRow::integer(int column) const {
    return m_stmt != nullptr ? sqlite3_column_int64(m_stmt, column)
                             : std::strtoll(PQgetvalue(m_result, m_row, column), nullptr, 10);
}

double PlainRow::real(int column) const {
    return m_stmt != nullptr ? sqlite3_column_double(m_stmt, column)
                             : std::strtod(PQgetvalue(m_result, m_row, column), nullptr);
}

QString PlainRow::text(int column) const {
    if (m_stmt == nullptr)
        return QString::fromUtf8(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column));
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return data == nullptr ? QString() : QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

bool PlainConnection::isServerAddress(const QString& location) {
    return location.startsWith(QLatin1String("postgresql:")) ||
           location.startsWith(QLatin1String("postgres:"));
}

PlainConnection::PlainConnection(const QString& location) {
    if (isServerAddress(location)) {
        m_server = PQconnectdb(location.toUtf8().constData());
        if (PQstatus(m_server) != CONNECTION_OK) {
            m_error = QString::fromUtf8(PQerrorMessage(m_server));
            PQfinish(m_server);
            m_server = nullptr;
        }
        return;
    }
    if (sqlite3_open_v2(location.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

PlainConnection::~PlainConnection() {
    sqlite3_close(m_db);
    if (m_server != nullptr)
        PQfinish(m_server);
}

bool PlainConnection::serverQuery(const char* sql, const QStringList& values,
                                  const std::function<void(const PlainRow&)>& onRow, qint64* changed) {
    std::vector<QByteArray> texts;
    std::vector<const char*> pointers;
    texts.reserve(size_t(values.size()));
    for (const QString& value : values) {
        texts.push_back(value.toUtf8());
        pointers.push_back(texts.back().constData());
    }
    PGresult* result = PQexecParams(m_server, serverMarkers(sql).constData(), int(pointers.size()), nullptr,
                                    pointers.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(result);
    const bool ok = status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK;
    if (!ok) {
        m_error = QString::fromUtf8(PQresultErrorMessage(result));
    } else {
        PlainRow row;
        row.m_result = result;
        for (int i = 0, count = PQntuples(result); i < count; ++i) {
            row.m_row = i;
            onRow(row);
        }
        if (changed != nullptr)
            *changed = std::atoll(PQcmdTuples(result));
    }
    PQclear(result);
    return ok;
}

bool PlainConnection::query(const char* sql, const QStringList& values,
                            const std::function<void(const PlainRow&)>& onRow) {
    if (m_server != nullptr)
        return serverQuery(sql, values, onRow, nullptr);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK || !bindAll(stmt, values)) {
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(stmt);
        return false;
    }
    PlainRow row;
    row.m_stmt = stmt;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
        onRow(row);
    if (step != SQLITE_DONE)
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_finalize(stmt);
    return step == SQLITE_DONE;
}

qint64 PlainConnection::exec(const char* sql, const QStringList& values) {
    if (m_server != nullptr) {
        qint64 changed = -1;
        return serverQuery(
                   sql, values, [](const PlainRow&) {}, &changed)
                   ? changed
                   : -1;
    }
    const bool ok = query(sql, values, [](const PlainRow&) {});
    return ok ? sqlite3_changes(m_db) : -1;
}
