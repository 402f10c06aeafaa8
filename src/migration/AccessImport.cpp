#include "AccessImport.h"

#include "AccessFile.h"
#include "Database.h"
#include "Journal.h"
#include "NewDatabase.h"
#include "ProjectSums.h"
#include "Schema.h"
#include "SignOffRepository.h"
#include "Transaction.h"
#include "TransferRepository.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>

namespace {

constexpr int kRowsPerWrite = 5000;
constexpr int kRowsPerProgress = 1000;
// Reports and set-aside Access files of one day beyond this many are not numbered further.
constexpr int kMostFilesOfADay = 999;
// The days Jet stores for 01.01.1900 and 31.12.9999, counted from 30.12.1899.
constexpr qint64 kFirstDay = 2;
constexpr qint64 kLastDay = 2958465;

// One of the six tables and where its fields lie in the Access table (-1: not there).
struct Mapping {
    QString table;
    AccessReader::Table access;
    QStringList fields;
    QList<Schema::FieldKind> kinds;
    QList<AccessFile::Type> types;
    QList<int> positions;
};

std::optional<qint64> dayOf(double stored) {
    if (!std::isfinite(stored))
        return std::nullopt;
    const double day = std::floor(stored);
    if (day < kFirstDay || day > kLastDay)
        return std::nullopt;
    return qint64(day);
}

// The Access value as text, for the report and for text fields.
QString shownText(AccessFile::Type type, const AccessFile::Value& value) {
    switch (type) {
    case AccessFile::Type::Integer:
        return QString::number(value.integer);
    case AccessFile::Type::Currency:
        return QString::number(double(value.integer) / 10000.0, 'f', 4);
    case AccessFile::Type::Real:
        return QString::number(value.real, 'g', 17);
    case AccessFile::Type::DateTime:
        if (std::isfinite(value.real) && std::fabs(value.real) < 1e7)
            return QDate(1899, 12, 30).addDays(qint64(std::floor(value.real))).toString(u"dd.MM.yyyy");
        return QString::number(value.real, 'g', 17);
    default:
        return value.text;
    }
}

std::optional<qint64> wholeNumber(AccessFile::Type type, const AccessFile::Value& value) {
    switch (type) {
    case AccessFile::Type::Integer:
        return value.integer;
    case AccessFile::Type::Currency:
        if (value.integer % 10000 == 0)
            return value.integer / 10000;
        return std::nullopt;
    case AccessFile::Type::Real:
        if (std::isfinite(value.real) && value.real == std::floor(value.real) && std::fabs(value.real) < 1e15)
            return qint64(value.real);
        return std::nullopt;
    case AccessFile::Type::DateTime:
        return dayOf(value.real);
    case AccessFile::Type::Text: {
        bool ok = false;
        const qint64 number = value.text.trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(number) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<Money> amountOf(AccessFile::Type type, const AccessFile::Value& value) {
    switch (type) {
    case AccessFile::Type::Integer:
        return Money::fromStoredInteger(value.integer);
    case AccessFile::Type::Currency: {
        // Ten-thousandths of a euro; a fraction of a cent rounds half away from zero.
        const qint64 half = value.integer < 0 ? -50 : 50;
        return Money::fromCents((value.integer + half) / 100);
    }
    case AccessFile::Type::Real:
        return Money::fromStoredReal(value.real);
    case AccessFile::Type::Text:
        return Money::parseStored(value.text);
    default:
        return std::nullopt;
    }
}

struct Run {
    AccessReader& access;
    const AccessImport::Progress& progress;
    AccessImport::Result& result;
    bool cancelled = false;
    // What the clerk sees while the reader works.
    QString step = QStringLiteral("Öffnen der Access-Datei");
    qint64 done = 0;
    qint64 total = 0;

    bool report() {
        if (progress && !progress(step, done, total))
            cancelled = true;
        return !cancelled;
    }
    AccessReader::Waiting waiting() {
        return [this] { return report(); };
    }

    Mapping map(const QString& table, const AccessReader::Table& definition) {
        Mapping mapping{table, definition, Schema::fieldNames(table), {}, {}, {}};
        const QList<AccessFile::Column>& columns = definition.columns;
        QList<bool> used(columns.size(), false);
        for (const QString& field : std::as_const(mapping.fields)) {
            mapping.kinds += Schema::fieldKind(table, field);
            const auto found =
                std::find_if(columns.cbegin(), columns.cend(), [&](const AccessFile::Column& c) {
                    return c.name.compare(field, Qt::CaseInsensitive) == 0;
                });
            const int position = found == columns.cend() ? -1 : int(found - columns.cbegin());
            mapping.positions += position;
            mapping.types += position < 0 ? AccessFile::Type::Other : found->type;
            if (position < 0)
                result.report.notes +=
                    QStringLiteral("Spalte %1.%2 fehlt in der Access-Datei, leer übernommen")
                        .arg(table, field);
            else
                used[position] = true;
        }
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (!used.at(i))
                result.report.notes +=
                    QStringLiteral("Spalte %1.%2 nicht übernommen").arg(definition.name, columns.at(i).name);
        }
        return mapping;
    }

    // Reads the table's rows and writes them; the rows read are counted in read, the rows the table
    // declares stand on the file's side of the figures.
    bool copy(const Mapping& mapping, Database& db, TransferReport::Figures& figures, qint64* read,
              QString* message) {
        step = QStringLiteral("Übernehmen: ") + mapping.table;
        done = 0;
        total = mapping.access.declaredRows;
        figures.rows = total;
        const qsizetype idField = mapping.fields.indexOf(QStringLiteral("ID"));
        // Each amount field's place among the sums.
        QList<int> sumOf;
        for (int i = 0, sums = 0; i < mapping.kinds.size(); ++i)
            sumOf += mapping.kinds.at(i) == Schema::FieldKind::Amount ? sums++ : -1;
        QList<QStringList> rows;
        bool written = true;
        std::optional<Money> amount;
        const bool whole = access.readRows(
            mapping.access,
            [&](const QList<AccessFile::Value>& values) {
                ++done;
                QStringList row;
                for (qsizetype i = 0; i < mapping.fields.size(); ++i) {
                    if (mapping.positions.at(i) < 0) {
                        row += QString();
                        continue;
                    }
                    const AccessFile::Value& value = values.at(mapping.positions.at(i));
                    const std::optional<QString> stored =
                        AccessImport::storedValue(mapping.kinds.at(i), mapping.types.at(i), value, amount);
                    row += stored.value_or(QString());
                    if (amount)
                        figures.sums[sumOf.at(i)] += *amount;
                    if (!stored) {
                        const QString where = idField >= 0 && !row.at(idField).isEmpty()
                                                  ? row.at(idField)
                                                  : QStringLiteral("Zeile %1").arg(done);
                        result.report.unreadable += QStringLiteral("%1 %2 %3: %4")
                                                        .arg(mapping.table, where, mapping.fields.at(i),
                                                             shownText(mapping.types.at(i), value));
                    }
                }
                rows += row;
                if (rows.size() == kRowsPerWrite) {
                    written = TransferRepository(db).write(mapping.table, mapping.fields, rows);
                    rows.clear();
                }
                return written && (done % kRowsPerProgress != 0 || report());
            },
            waiting(), read, message);
        if (!whole || !written || cancelled)
            return false;
        if (!rows.isEmpty() && !TransferRepository(db).write(mapping.table, mapping.fields, rows))
            return false;
        return report();
    }
};

// Whether a file, a folder or a link (also one that leads nowhere) has the name path.
bool taken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Writes bytes into a new file of folder named name(1), name(2), ... the first that is free: created
// exclusively, so never through a file or link that is already there. The path written, or empty.
QString writeNewFile(const QString& folder, const std::function<QString(int)>& name,
                     const QByteArray& bytes) {
    for (int n = 1; n <= kMostFilesOfADay; ++n) {
        QFile file(QDir(folder).filePath(name(n)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (taken(file.fileName()))
                continue;
            return {};
        }
        if (file.write(bytes) == bytes.size() && file.flush())
            return file.fileName();
        file.remove();
        return {};
    }
    return {};
}

} // namespace

std::optional<QString> AccessImport::storedValue(Schema::FieldKind kind, AccessFile::Type type,
                                                 const AccessFile::Value& value,
                                                 std::optional<Money>& amount) {
    amount.reset();
    if (value.null)
        return QString();
    const bool blank = type == AccessFile::Type::Text && value.text.trimmed().isEmpty();
    switch (kind) {
    case Schema::FieldKind::Key:
    case Schema::FieldKind::Integer:
    case Schema::FieldKind::Total:
        if (blank)
            return QString();
        if (const std::optional<qint64> number = wholeNumber(type, value))
            return QString::number(*number);
        return std::nullopt;
    case Schema::FieldKind::Amount:
        if (blank)
            return QString();
        amount = amountOf(type, value);
        if (amount)
            return TransferRepository::plainAmount(*amount);
        return std::nullopt;
    case Schema::FieldKind::Text:
    case Schema::FieldKind::Name:
        if (type == AccessFile::Type::Other)
            return std::nullopt;
        return shownText(type, value);
    case Schema::FieldKind::Bytes:
        // The six tables of an older installation hold no bytes.
        return std::nullopt;
    }
    return std::nullopt;
}

QString AccessImport::asideName(const QString& folder, const QDate& day) {
    const QString stem = QStringLiteral("ZLV-Access-") + day.toString(u"yyyy-MM-dd");
    QString path = QDir(folder).filePath(stem + QStringLiteral(".mdb"));
    for (int n = 2; taken(path) && n <= kMostFilesOfADay; ++n)
        path = QDir(folder).filePath(QStringLiteral("%1-%2.mdb").arg(stem).arg(n));
    return path;
}

QString AccessImport::reportFileName(const QDate& day, int number) {
    const QString suffix = number > 1 ? QStringLiteral("-%1").arg(number) : QString();
    return QStringLiteral("Übernahme-") + day.toString(u"yyyy-MM-dd") + suffix + QStringLiteral(".txt");
}

AccessImport::Result AccessImport::run(const QString& accessPath, const QString& target,
                                       const Progress& progress,
                                       const std::optional<AccessReader::Limits>& limits) {
    Result result;
    result.report.fromSide = QStringLiteral("Access-Datei");
    result.report.toSide = QStringLiteral("neue Datenbank");
    QString message;
    const auto stop = [&](const QString& why) {
        result.outcome = Outcome::Refused;
        result.message = why;
        return result;
    };
    const auto cancelled = [&] {
        result.outcome = Outcome::Cancelled;
        result.message = QStringLiteral("Die Übernahme wurde abgebrochen; es blieb nichts zurück.");
        return result;
    };
    const QString file = QDir::toNativeSeparators(accessPath);
    AccessReader access(accessPath, limits ? *limits : AccessReader::limitsFor(accessPath));
    Run run{access, progress, result};
    if (!access.open(Schema::tableNames(), run.waiting(), &message))
        return access.cancelled() ? cancelled() : stop(message);

    // Every one of the six tables must be there and readable: a table missing from the file's catalogue
    // is as likely damage as an older installation's choice, and its rows would be lost unseen.
    QStringList extraTables = access.tables();
    QList<Mapping> mappings;
    const QList<AccessReader::Table> definitions = access.definitions();
    for (qsizetype i = 0; i < definitions.size(); ++i) {
        const AccessReader::Table& definition = definitions.at(i);
        if (definition.name.isEmpty())
            return stop(
                QStringLiteral("Die Access-Datei %1 ist unvollständig oder beschädigt: die Tabelle %2 "
                               "fehlt in ihr. Es wurde nichts übernommen.")
                    .arg(file, definition.asked));
        if (definition.columns.isEmpty() || definition.declaredRows < 0)
            return stop(QStringLiteral("Die Access-Datei %1 ist beschädigt: die Definition der Tabelle %2 "
                                       "kann nicht gelesen werden. Es wurde nichts übernommen.")
                            .arg(file, definition.name));
        extraTables.removeOne(definition.name);
        mappings += run.map(Schema::tableNames().at(i), definition);
    }
    for (const QString& table : std::as_const(extraTables))
        result.report.notes += QStringLiteral("Tabelle %1 nicht übernommen").arg(table);

    const std::unique_ptr<NewDatabase> newDatabase = NewDatabase::prepare(target, accessPath, &message);
    if (!newDatabase)
        return stop(message);
    Database& db = newDatabase->database();
    {
        Transaction transaction(db);
        // Each project's sums are counted once when all rows are in, rather than by a trigger per row.
        Journal journal(db);
        SignOffRepository signOffs(db);
        bool copied = transaction.isActive() && journal.suspend() && TransferRepository(db).clearPresets() &&
                      ProjectSums(db).suspend() && signOffs.suspendChecks();
        message.clear();
        for (const Mapping& mapping : std::as_const(mappings)) {
            if (!copied)
                break;
            TransferReport::Table figures{
                mapping.table, TransferReport::amountFieldsOf(mapping.table), {}, {}};
            figures.file.sums.resize(figures.amountFields.size());
            qint64 read = 0;
            copied = run.copy(mapping, db, figures.file, &read, &message);
            if (run.cancelled)
                return cancelled();
            // The rows the file declares and the rows it gave must be the same.
            if (!message.isEmpty() || (copied && read != mapping.access.declaredRows))
                return stop(QStringLiteral("%1\nDie Tabelle %2 nennt in ihrer Definition %3 Zeilen, gelesen "
                                           "wurden %4. Es wurde nichts übernommen.")
                                .arg(message.isEmpty()
                                         ? QStringLiteral("Die Access-Datei %1 ist beschädigt.").arg(file)
                                         : message,
                                     mapping.access.name)
                                .arg(mapping.access.declaredRows)
                                .arg(read));
            copied =
                copied && TransferReport::figuresOf(db, mapping.table, figures.amountFields, figures.server);
            result.report.tables += figures;
        }
        // What an older installation booked was paid as it was booked.
        copied = copied && db.resetIdentities() && ProjectSums(db).install() &&
                 signOffs.fillMissing(BookingState::Ordered, SignOffRepository::arrivalNote()) &&
                 signOffs.installChecks() &&
                 journal.installAfterBulk(QStringLiteral("Import"), QDir::toNativeSeparators(accessPath));
        access.stop();
        if (!copied)
            return stop(QStringLiteral("Die Übernahme ist fehlgeschlagen; es blieb nichts zurück.\n") +
                        (message.isEmpty() ? db.lastError() : message));
        if (!result.report.agrees())
            return stop(QStringLiteral("Zeilen oder Summen der Access-Datei und der neuen Datenbank stimmen "
                                       "nicht überein; die neue Datenbank wurde verworfen."));
        if (!transaction.commit())
            return stop(QStringLiteral("Die Übernahme ist fehlgeschlagen; es blieb nichts zurück.\n") +
                        db.lastError());
    }
    const QString folder = newDatabase->folder().value_or(QFileInfo(accessPath).absolutePath());
    if (newDatabase->replaces()) {
        const QString aside = asideName(folder, QDate::currentDate());
        if (!QFile::rename(accessPath, aside))
            return stop(QStringLiteral("Die Access-Datei %1 kann nicht in %2 umbenannt werden.")
                            .arg(QDir::toNativeSeparators(accessPath), QDir::toNativeSeparators(aside)));
        result.movedAside = aside;
    }
    if (!newDatabase->putInPlace()) {
        if (newDatabase->replaces())
            QFile::rename(result.movedAside, accessPath);
        result.movedAside.clear();
        return stop(QStringLiteral("Die neue Datenbank kann nicht unter %1 abgelegt werden.")
                        .arg(QDir::toNativeSeparators(target)));
    }
    result.outcome = Outcome::Imported;
    const QDate today = QDate::currentDate();
    result.reportFile = writeNewFile(
        folder, [&](int n) { return reportFileName(today, n); }, result.report.text().toUtf8() + '\n');
    return result;
}
