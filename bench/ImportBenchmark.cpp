#include "ImportBenchmark.h"

#include "AccessImport.h"
#include "Database.h"
#include "Measurement.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <mdbtools.h>
#include <sqlite3.h>

#include <memory>
#include <vector>

namespace {

constexpr size_t kBindSize = 1024 * 1024;

bool freshDatabase(const QString& path, bool setUp) {
    QFile::remove(path);
    if (!setUp)
        return true;
    const std::unique_ptr<Database> db = Database::create(path) ? Database::open(path) : nullptr;
    return db && db->exec(QStringLiteral("DELETE FROM tblGewerk")) &&
           db->exec(QStringLiteral("DELETE FROM tblKostengruppe"));
}

// Every row of the six tables read through libmdb's bound columns and inserted as the texts libmdb gives,
// each table through one prepared statement, all in one transaction. Counts the bookings.
bool plainImport(const QString& accessFile, const QString& target, qint64* bookings) {
    MdbHandle* mdb = mdb_open(QFile::encodeName(accessFile).constData(), MDB_NOFLAGS);
    if (!mdb)
        return false;
    mdb_set_bind_size(mdb, kBindSize);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(target).constData(), &db) == SQLITE_OK &&
              sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    for (const QString& table : Schema::tableNames()) {
        QByteArray name = table.toUtf8();
        MdbTableDef* def = ok ? mdb_read_table_by_name(mdb, name.data(), MDB_TABLE) : nullptr;
        if (!def) {
            ok = false;
            break;
        }
        mdb_read_columns(def);
        mdb_rewind_table(def);
        const QStringList fields = Schema::fieldNames(table);
        std::vector<std::vector<char>> buffers(fields.size(), std::vector<char>(kBindSize));
        std::vector<int> lengths(fields.size());
        for (qsizetype i = 0; i < fields.size(); ++i) {
            for (guint c = 0; c < def->num_cols; ++c) {
                const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
                if (fields.at(i).compare(QString::fromUtf8(column->name), Qt::CaseInsensitive) == 0)
                    mdb_bind_column(def, int(c) + 1, buffers[i].data(), &lengths[i]);
            }
        }
        const QByteArray sql = QStringLiteral("INSERT INTO %1 (\"%2\") VALUES (?%3)")
                                   .arg(table, fields.join(QStringLiteral("\",\"")),
                                        QStringLiteral(",?").repeated(fields.size() - 1))
                                   .toUtf8();
        sqlite3_stmt* insert = nullptr;
        ok = sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr) == SQLITE_OK;
        while (ok && mdb_fetch_row(def)) {
            for (qsizetype i = 0; i < fields.size(); ++i) {
                if (lengths[i] == 0)
                    sqlite3_bind_null(insert, int(i) + 1);
                else
                    sqlite3_bind_text(insert, int(i) + 1, buffers[i].data(), lengths[i], SQLITE_STATIC);
            }
            ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
            if (table == QLatin1String("tblBuchung"))
                ++*bookings;
        }
        sqlite3_finalize(insert);
        mdb_free_tabledef(def);
    }
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    mdb_close(mdb);
    return ok;
}

QString megabytes(double mb) {
    return mb < 0 ? QStringLiteral("?") : QStringLiteral("%1 MB").arg(mb, 0, 'f', 0);
}

} // namespace

BenchTable::Row ImportBenchmark::accessImport() {
    BenchTable::Row row;
    row.name = QStringLiteral("t. import of an Access file (200,000 + 40,000)");
    row.limit = 2.0;
    if (!QFileInfo::exists(m_accessFile)) {
        row.error = QStringLiteral("no Access file ") + m_accessFile;
        return row;
    }
    const QString ours = QDir(m_workFolder).filePath(QStringLiteral("imported/ZLV.mdb"));
    const QString plain = QDir(m_workFolder).filePath(QStringLiteral("plain.mdb"));
    QDir().mkpath(QFileInfo(ours).path());
    AccessImport::Result result;
    qint64 plainBookings = 0;
    const auto runOurs = [&] {
        result = AccessImport::run(m_accessFile, ours);
        return result.outcome == AccessImport::Outcome::Imported && result.report.agrees();
    };
    const auto runPlain = [&] {
        plainBookings = 0;
        return plainImport(m_accessFile, plain, &plainBookings);
    };
    const Measurement::Outcome outcome = Measurement::compare(
        m_runs, {[&] { return freshDatabase(ours, false); }, [&] { return Measurement::timed(runOurs); }},
        {[&] { return freshDatabase(plain, true); }, [&] { return Measurement::timed(runPlain); }});
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error.isEmpty() ? result.message : outcome.error;
    const double oursPeak = freshDatabase(ours, false) ? Measurement::peakMb(runOurs) : -1;
    const double plainPeak = freshDatabase(plain, true) ? Measurement::peakMb(runPlain) : -1;
    row.note =
        QStringLiteral("bookings ours %1, plain %2; import's own check: %3; peak memory ours %4, plain %5")
            .arg(result.report.tables.value(4).server.rows)
            .arg(plainBookings)
            .arg(result.report.agrees() ? QStringLiteral("Access file and database agree")
                                        : QStringLiteral("DIFFERENT"))
            .arg(megabytes(oursPeak), megabytes(plainPeak));
    return row;
}
