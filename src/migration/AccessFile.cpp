#include "AccessFile.h"

#include <QDir>
#include <QFile>

#include <QtEndian>

#include <cstring>
#include <mdbtools.h>

namespace {

// Remarks of any length: libmdb cuts a text longer than this.
constexpr size_t kLongestText = 4 * 1024 * 1024;
// The offset bits of a row's place on its page; the others flag deleted and overflow rows.
constexpr int kRowOffsetMask = 0x1fff;

AccessFile::Type typeOf(int columnType) {
    switch (columnType) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return AccessFile::Type::Integer;
    case MDB_MONEY:
        return AccessFile::Type::Currency;
    case MDB_FLOAT:
    case MDB_DOUBLE:
        return AccessFile::Type::Real;
    case MDB_DATETIME:
        return AccessFile::Type::DateTime;
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_NUMERIC:
        return AccessFile::Type::Text;
    default:
        return AccessFile::Type::Other;
    }
}

struct TableDef {
    MdbTableDef* table = nullptr;
    ~TableDef() {
        if (table)
            mdb_free_tabledef(table);
    }
};

} // namespace

struct AccessFile::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle() {
        if (mdb)
            mdb_close(mdb);
    }
    MdbCatalogEntry* entry(const QString& name) const {
        for (guint i = 0; i < mdb->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (entry->object_type == MDB_TABLE && QString::fromUtf8(entry->object_name) == name)
                return entry;
        }
        return nullptr;
    }
    // The table with its columns read; null when the file cannot give them.
    bool load(const QString& name, TableDef& def) const {
        MdbCatalogEntry* found = entry(name);
        def.table = found ? mdb_read_table(found) : nullptr;
        return def.table && mdb_read_columns(def.table) && def.table->num_cols > 0;
    }
};

AccessFile::AccessFile(QString path, std::unique_ptr<Handle> handle)
    : m_path(std::move(path)), m_handle(std::move(handle)) {}

AccessFile::~AccessFile() = default;

std::unique_ptr<AccessFile> AccessFile::open(const QString& path, QString* germanMessage) {
    auto handle = std::make_unique<Handle>();
    if (isAccessFile(path))
        handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!handle->mdb || !mdb_read_catalog(handle->mdb, MDB_TABLE)) {
        if (germanMessage)
            *germanMessage = QStringLiteral("Die Datei %1 ist keine lesbare Access-Datenbank.")
                                 .arg(QDir::toNativeSeparators(path));
        return nullptr;
    }
    mdb_set_bind_size(handle->mdb, kLongestText);
    return std::unique_ptr<AccessFile>(new AccessFile(path, std::move(handle)));
}

QStringList AccessFile::tables() const {
    QStringList names;
    for (guint i = 0; i < m_handle->mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_handle->mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names += QString::fromUtf8(entry->object_name);
    }
    return names;
}

QList<AccessFile::Column> AccessFile::columns(const QString& table) const {
    TableDef def;
    QList<Column> columns;
    if (!m_handle->load(table, def))
        return columns;
    for (guint i = 0; i < def.table->num_cols; ++i) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def.table->columns, i));
        columns += Column{QString::fromUtf8(column->name), typeOf(column->col_type)};
    }
    return columns;
}

qint64 AccessFile::rowCount(const QString& table) const {
    TableDef def;
    return m_handle->load(table, def) ? qint64(def.table->num_rows) : -1;
}

bool AccessFile::read(const QString& table, const QList<int>& columnPositions, const Visit& visit,
                      qint64* rows, QString* germanMessage) const {
    MdbHandle* mdb = m_handle->mdb;
    TableDef def;
    qint64 done = 0;
    bool whole = m_handle->load(table, def);
    if (whole)
        mdb_rewind_table(def.table);
    QList<Value> values(columnPositions.size());
    QList<MdbField> fields(whole ? def.table->num_cols : 0);
    // The fields in the table's column order.
    QList<const MdbField*> byColumn(fields.size());
    bool stopped = false;
    while (whole && !stopped && mdb_fetch_row(def.table)) {
        ++done;
        if (columnPositions.isEmpty()) {
            stopped = !visit(values);
            continue;
        }
        int start = 0;
        size_t size = 0;
        if (mdb_find_row(mdb, int(def.table->cur_row) - 1, &start, &size) != 0) {
            whole = false;
            break;
        }
        start &= kRowOffsetMask;
        const int cracked = mdb_crack_row(def.table, start, size, fields.data());
        byColumn.fill(nullptr);
        for (int i = 0; i < cracked && i < int(def.table->num_cols); ++i) {
            if (fields[i].colnum >= 0 && fields[i].colnum < int(def.table->num_cols))
                byColumn[fields[i].colnum] = &fields[i];
        }
        for (qsizetype i = 0; i < columnPositions.size(); ++i) {
            Value& value = values[i];
            const auto* column =
                static_cast<MdbColumn*>(g_ptr_array_index(def.table->columns, columnPositions.at(i)));
            const MdbField* field = byColumn.at(columnPositions.at(i));
            value = Value();
            if (!field || field->is_null)
                continue;
            value.null = false;
            const int at = field->start;
            switch (column->col_type) {
            case MDB_BYTE:
                value.integer = mdb_get_byte(mdb->pg_buf, at);
                break;
            case MDB_INT:
                value.integer = qint16(mdb_get_int16(mdb->pg_buf, at));
                break;
            case MDB_LONGINT:
                value.integer = qint32(mdb_get_int32(mdb->pg_buf, at));
                break;
            case MDB_MONEY: {
                qint64 raw = 0;
                std::memcpy(&raw, mdb->pg_buf + at, sizeof raw);
                value.integer = qFromLittleEndian(raw);
                break;
            }
            case MDB_FLOAT:
                value.real = mdb_get_single(mdb->pg_buf, at);
                break;
            case MDB_DOUBLE:
            case MDB_DATETIME:
                value.real = mdb_get_double(mdb->pg_buf, at);
                break;
            case MDB_BOOL:
                break;
            default:
                if (field->siz > 0) {
                    char* text = mdb_col_to_string(mdb, mdb->pg_buf, at, column->col_type, field->siz);
                    value.text = QString::fromUtf8(text);
                    g_free(text);
                } else {
                    value.text = QStringLiteral("");
                }
            }
        }
        stopped = !visit(values);
    }
    if (rows)
        *rows = done;
    whole = whole && (stopped || done == qint64(def.table->num_rows));
    if (!whole && germanMessage)
        *germanMessage =
            QStringLiteral("Die Access-Datei %1 ist beschädigt: die Tabelle %2 kann nicht (vollständig) "
                           "gelesen werden.")
                .arg(QDir::toNativeSeparators(m_path), table);
    return whole;
}
