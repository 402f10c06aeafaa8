#include "SqliteStatement.h"

#include "DayNumber.h"
#include "RepeatedTexts.h"
#include "SqliteLibrary.h"

#include <QLocale>
#include <QVariant>

namespace {

int bindValue(sqlite3_stmt* statement, int index, const QVariant& value) {
    if (value.isNull())
        return sqlite().sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return sqlite().sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
        return sqlite().sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite().sqlite3_bind_blob(statement, index, bytes.constData(), static_cast<int>(bytes.size()),
                                          SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite().sqlite3_bind_text(statement, index, text.constData(), static_cast<int>(text.size()),
                                          SQLITE_TRANSIENT);
    }
    }
}

} // namespace

SqliteStatement::SqliteStatement(sqlite3* connection, const QString& sql) : m_connection(connection) {
    m_result = sqlite().sqlite3_prepare16_v2(connection, sql.utf16(), static_cast<int>(sql.size() * 2),
                                             &m_statement, nullptr);
    if (m_result != SQLITE_OK) {
        sqlite().sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite().sqlite3_finalize(m_statement);
}

bool SqliteStatement::bind(const QVariantList& values) {
    for (qsizetype i = 0; i < values.size(); ++i) {
        m_result = bindValue(m_statement, static_cast<int>(i + 1), values.at(i));
        if (m_result != SQLITE_OK)
            return false;
    }
    return true;
}

bool SqliteStatement::next() {
    m_result = sqlite().sqlite3_step(m_statement);
    return m_result == SQLITE_ROW;
}

void SqliteStatement::reset() {
    sqlite().sqlite3_reset(m_statement);
    sqlite().sqlite3_clear_bindings(m_statement);
    m_result = SQLITE_OK;
}

int SqliteStatement::columnCount() const {
    return sqlite().sqlite3_column_count(m_statement);
}

bool SqliteStatement::failed() const {
    return m_result != SQLITE_OK && m_result != SQLITE_ROW && m_result != SQLITE_DONE;
}

QString SqliteStatement::engineWords() const {
    return QString::fromUtf8(sqlite().sqlite3_errmsg(m_connection));
}

QString SqliteStatement::columnText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite().sqlite3_column_text(m_statement, column));
    return text ? QString::fromUtf8(text, sqlite().sqlite3_column_bytes(m_statement, column)) : QString();
}

QString SqliteStatement::text(int column) const {
    switch (sqlite().sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return QString();
    case SQLITE_INTEGER:
        return QString::number(sqlite().sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return QString::number(sqlite().sqlite3_column_double(m_statement, column), 'g',
                               QLocale::FloatingPointShortest);
    default:
        return columnText(column);
    }
}

QString SqliteStatement::text(int column, RepeatedTexts& repeated) const {
    if (sqlite().sqlite3_column_type(m_statement, column) != SQLITE_TEXT)
        return text(column);
    const auto* utf8 = reinterpret_cast<const char*>(sqlite().sqlite3_column_text(m_statement, column));
    return utf8 ? repeated.fromUtf8(QByteArrayView(utf8, sqlite().sqlite3_column_bytes(m_statement, column)))
                : QString();
}

QByteArray SqliteStatement::bytes(int column) const {
    const auto* data = static_cast<const char*>(sqlite().sqlite3_column_blob(m_statement, column));
    return data ? QByteArray(data, sqlite().sqlite3_column_bytes(m_statement, column)) : QByteArray();
}

bool SqliteStatement::isNull(int column) const {
    return sqlite().sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::optional<int> SqliteStatement::wholeNumber(int column) const {
    switch (sqlite().sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_INTEGER:
        return DayNumber::fromStoredInteger(sqlite().sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return DayNumber::fromStoredReal(sqlite().sqlite3_column_double(m_statement, column));
    default:
        return DayNumber::parseStored(columnText(column));
    }
}

qint64 SqliteStatement::rowNumber(int column) const {
    return sqlite().sqlite3_column_int64(m_statement, column);
}

std::optional<Money> SqliteStatement::amount(int column) const {
    switch (sqlite().sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
        return std::nullopt;
    case SQLITE_INTEGER:
        return Money::fromStoredInteger(sqlite().sqlite3_column_int64(m_statement, column));
    case SQLITE_FLOAT:
        return Money::fromStoredReal(sqlite().sqlite3_column_double(m_statement, column));
    default:
        return Money::parseStored(columnText(column));
    }
}
