#include "Database.h"

#include "Journal.h"

#include "Engine.h"
#include "Schema.h"
#include "SchemaUpkeep.h"

#include <atomic>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <utility>

namespace {

QString nextConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("zlv-store-%1").arg(++counter);
}

QString failurePrefix(const QString& sql) {
    const QStringView start = QStringView(sql).trimmed().left(6);
    if (start.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0 ||
        start.compare(QLatin1String("PRAGMA"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Die Daten konnten nicht gelesen werden");
    if (start.compare(QLatin1String("DELETE"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Der Datensatz konnte nicht gelöscht werden");
    return QStringLiteral("Der Datensatz konnte nicht gespeichert werden");
}

// A null text, null bytes or a null date, which the driver binds as NULL.
bool nullOfItsKind(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().isNull();
    case QMetaType::QByteArray:
        return value.toByteArray().isNull();
    case QMetaType::QDate:
        return value.toDate().isNull();
    case QMetaType::QTime:
        return value.toTime().isNull();
    case QMetaType::QDateTime:
        return value.toDateTime().isNull();
    default:
        return false;
    }
}

// The values as the driver binds them.
QVariantList boundAsByTheDriver(QVariantList values) {
    for (QVariant& value : values) {
        if (nullOfItsKind(value))
            value = QVariant();
    }
    return values;
}

} // namespace

Database::Database(Engine engine, QString connectionName)
    : m_link(std::move(engine.link)), m_dialect(std::move(engine.dialect)),
      m_changes(std::move(engine.changes)), m_connectionName(std::move(connectionName)) {}

Database::~Database() {
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void Database::close() {
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen()) {
        if (m_inTransaction)
            rollback();
        db.close();
    }
}

void Database::loadClient(const QString& location) {
    Engine::at(location, defaultBusyTimeoutMs()).link->loadClient();
}

std::unique_ptr<Database> Database::open(const QString& location, OpenFailure* failure,
                                         QString* germanMessage, int busyTimeoutMs, Purpose purpose) {
    if (failure)
        *failure = OpenFailure::None;
    std::unique_ptr<Database> db(new Database(Engine::at(location, busyTimeoutMs), nextConnectionName()));
    QString reason;
    const OpenFailure kind = db->openExisting(&reason, purpose);
    if (kind == OpenFailure::None) {
        db->m_location = location;
        return db;
    }
    if (failure)
        *failure = kind;
    if (germanMessage)
        *germanMessage = db->m_link->refusal(reason, false);
    return nullptr;
}

Database::OpenFailure Database::openExisting(QString* reason, Purpose purpose) {
    OpenFailure kind = m_link->obstacle(reason);
    if (kind != OpenFailure::None)
        return kind;
    if (!connect(true, &kind, reason))
        return kind;
    // What opening writes (the schema brought up to date) is not journaled.
    m_journalReady = true;
    SchemaUpkeep upkeep = this->upkeep();
    if (const std::optional<QString> empty = m_link->emptyRefusal()) {
        bool ok = false;
        const QStringList present = upkeep.tables(&ok);
        if (!ok) {
            *reason = m_lastReason;
            return OpenFailure::Other;
        }
        if (present.isEmpty()) {
            *reason = *empty;
            return OpenFailure::Empty;
        }
    }
    kind = upkeep.check(reason,
                        purpose == Purpose::Start ? SchemaUpkeep::Look::First : SchemaUpkeep::Look::Whole);
    if (kind != OpenFailure::None) {
        *reason = m_link->schemaRefusal(*reason);
        return kind;
    }
    m_keptSumsCounted = purpose == Purpose::Work;
    // The start waits only for what decides whether the data can be used.
    if (purpose == Purpose::Start && upkeep.mayCompleteLater()) {
        m_journalReady = false;
        m_openingUnfinished = true;
        return OpenFailure::None;
    }
    return bringUpToDate(upkeep, reason, purpose);
}

Database::OpenFailure Database::bringUpToDate(SchemaUpkeep& upkeep, QString* reason, Purpose purpose) {
    m_journalReady = true;
    const OpenFailure kind = upkeep.complete(
        reason, purpose == Purpose::Work ? SchemaUpkeep::Counting::Now : SchemaUpkeep::Counting::Later);
    m_journalReady = false;
    // The program's start tells of a journal that was removed, with the other notices of opening.
    if (kind == OpenFailure::None && purpose == Purpose::Start) {
        m_journalLookedAt = true;
        if (const std::optional<QString> warning = Journal(*this).beginAnewWhereRemoved())
            m_notices += *warning;
    }
    return kind;
}

bool Database::finishOpening(QString* germanMessage) {
    if (!m_openingUnfinished)
        return true;
    m_openingUnfinished = false;
    QString reason;
    SchemaUpkeep upkeep = this->upkeep();
    if (bringUpToDate(upkeep, &reason, Purpose::Start) == OpenFailure::None)
        return true;
    *germanMessage = m_link->refusal(reason, false);
    return false;
}

bool Database::journalReadyFor(const QString& sql) {
    if (m_journalReady)
        return true;
    // A query changes nothing: a program that only reads (the start menu) never waits for the triggers.
    const QStringView start = QStringView(sql).trimmed();
    if (start.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) ||
        start.startsWith(QLatin1String("PRAGMA"), Qt::CaseInsensitive))
        return true;
    m_journalReady = true;
    for (const QString& statement : m_dialect->journalConnectionStatements()) {
        if (!exec(statement)) {
            m_journalReady = false;
            return false;
        }
    }
    return true;
}

bool Database::setJournalTask(const QString& task, bool collecting) {
    StoreFailure fault;
    if (m_link->setJournalTask(connection(), task, collecting, &fault))
        return true;
    recordFailure(QStringLiteral("SELECT set_config"), fault.germanText, fault.kind);
    return false;
}

QList<JournalSummary> Database::takeCollectedChanges() {
    return m_link->takeCollected();
}

std::optional<qint64> Database::changeCount() {
    std::optional<qint64> count;
    if (m_changes.countQuery)
        read(*m_changes.countQuery, {}, [&](const Row& row) { count = row.rowNumber(0); });
    return count;
}

QString Database::session() {
    QString session;
    if (m_changes.channel)
        read(m_changes.channel->sessionQuery, {}, [&](const Row& row) { session = row.text(0); });
    return session;
}

int Database::defaultBusyTimeoutMs() {
    static const int timeout = [] {
        bool ok = false;
        const int override = qEnvironmentVariableIntValue("ZLV_BUSY_TIMEOUT_MS", &ok);
        return ok && override > 0 ? override : 10000;
    }();
    return timeout;
}

bool Database::connect(bool existing, OpenFailure* failure, QString* germanText) {
    m_link->loadClient();
    QSqlDatabase db = QSqlDatabase::addDatabase(m_link->driverName(), m_connectionName);
    if (!db.isValid()) {
        *failure = OpenFailure::Other;
        *germanText =
            QStringLiteral("Der Datenbanktreiber %1 ist nicht verfügbar.").arg(m_link->driverName());
        return false;
    }
    m_link->configure(db, existing);
    if (!db.open()) {
        *failure = m_link->openFailure(db.lastError(), germanText);
        return false;
    }
    if (!m_link->prepare(db)) {
        *failure = OpenFailure::Other;
        *germanText = QStringLiteral("Die Suchfunktionen konnten nicht eingerichtet werden.");
        return false;
    }
    return true;
}

void Database::countKeptSums() {
    if (m_keptSumsCounted)
        return;
    m_keptSumsCounted = true;
    upkeep().countKeptSums();
}

SchemaUpkeep Database::upkeep() {
    return SchemaUpkeep(*this, *m_link, *m_dialect, m_notices);
}

bool Database::onCurrentFile(const QString& what) {
    if (m_link->stillThere(connection()))
        return true;
    if (!m_inTransaction && m_link->mayReopen()) {
        QString reason;
        if (reconnect(&reason))
            return true;
        recordFailure(what, reason);
        return false;
    }
    recordFailure(what, m_link->goneText(), Failure::FileGone);
    return false;
}

bool Database::reconnect(QString* reason) {
    QSqlDatabase db = connection();
    db.close();
    if (!db.open()) {
        m_link->openFailure(db.lastError(), reason);
        return false;
    }
    SchemaUpkeep upkeep = this->upkeep();
    m_journalReady = true;
    if (m_link->prepare(db) && upkeep.check(reason) == OpenFailure::None &&
        upkeep.complete(reason) == OpenFailure::None) {
        // The new connection has none of the old one's triggers.
        m_journalReady = false;
        return true;
    }
    db.close();
    return false;
}

bool Database::create(const QString& location, QString* germanMessage) {
    Database db(Engine::at(location, defaultBusyTimeoutMs()), nextConnectionName());
    const auto refuse = [&](const QString& reason) {
        if (germanMessage)
            *germanMessage = db.m_link->refusal(reason, true);
        return false;
    };
    if (const std::optional<QString> obstacle = db.m_link->creationObstacle())
        return refuse(*obstacle);
    QString reason;
    OpenFailure kind = OpenFailure::Other;
    if (!db.connect(false, &kind, &reason))
        return refuse(reason);
    // A new database's set-up is not journaled.
    db.m_journalReady = true;
    bool ok = false;
    const QStringList tables = db.upkeep().tables(&ok);
    if (!ok)
        return refuse(db.m_lastReason);
    if (!tables.isEmpty())
        return refuse(
            QStringLiteral("Die Datenbank ist nicht leer (sie enthält die Tabelle %1).").arg(tables.first()));
    if (db.upkeep().setUp(&reason))
        return true;
    db.close();
    db.m_link->discard();
    return refuse(reason);
}

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(m_connectionName, false);
}

void Database::moveToThread(QThread* thread) {
    if (QSqlDriver* driver = connection().driver())
        driver->moveToThread(thread);
}

QString Database::place() const {
    return m_link->place();
}

bool Database::onServer() const {
    return m_link->isServer();
}

bool Database::connected() const {
    return m_link->stillThere(connection());
}

bool Database::run(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    if (runOnce(query, sql, values))
        return true;
    if (!mayRunAgain(sql))
        return false;
    query = QSqlQuery(connection());
    return runOnce(query, sql, values);
}

bool Database::mayRunAgain(const QString& sql) {
    // A server restarted or a connection ended while it lay idle shows only at the next statement: a
    // read, or the begin of a writing transaction, runs once more on a new connection. A write outside
    // a transaction, whose outcome is not known, never does.
    if (!m_link->rerunsAfterLoss() || m_inTransaction || m_lastFailure != Failure::FileGone)
        return false;
    const QStringView start = QStringView(sql).trimmed();
    if (!start.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) &&
        start.compare(m_dialect->beginWriteStatement(), Qt::CaseInsensitive) != 0)
        return false;
    // The server may have said its last word before the connection shows as broken.
    QString reason;
    if (reconnect(&reason))
        return true;
    recordFailure(sql, reason, Failure::FileGone);
    return false;
}

bool Database::runOnce(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    if (!onCurrentFile(sql) || !journalReadyFor(sql))
        return false;
    query.setForwardOnly(true);
    // A server prepares only queries and changes of rows; a statement without values runs as it is.
    if (values.isEmpty()) {
        if (query.exec(sql))
            return true;
        recordFailure(sql, query.lastError());
        return false;
    }
    if (!query.prepare(sql)) {
        recordFailure(sql, query.lastError());
        return false;
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values.at(i));
    if (!query.exec()) {
        recordFailure(sql, query.lastError());
        return false;
    }
    return true;
}

bool Database::exec(const QString& sql, const QVariantList& values) {
    if (values.isEmpty()) {
        QSqlQuery query(connection());
        return run(query, sql, values);
    }
    return change(sql, values, nullptr);
}

bool Database::change(const QString& sql, const QVariantList& values, qint64* changed) {
    // Past the driver, which would prepare, run and release the statement in three exchanges with a
    // server.
    const QVariantList bound = boundAsByTheDriver(values);
    return onEngine(sql, true, [&](StoreFailure* fault) {
        return m_link->change(connection(), sql, bound, changed, fault);
    });
}

bool Database::onEngine(const QString& sql, bool changes, const std::function<bool(StoreFailure*)>& once) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!onCurrentFile(sql) || (changes && !journalReadyFor(sql)))
            return false;
        StoreFailure fault;
        if (once(&fault))
            return true;
        recordFailure(sql, fault.germanText, fault.kind);
        if (!mayRunAgain(sql))
            return false;
    }
    return false;
}

std::optional<qint64> Database::insert(const QString& sql, const QVariantList& values) {
    if (onServer()) {
        // One round trip: the statement and its values together, the new number its only row.
        std::optional<qint64> id;
        if (!read(sql, values, [&](const Row& row) { id = row.rowNumber(0); }))
            return std::nullopt;
        if (!id)
            recordFailure(sql, QStringLiteral("Die Datenbank nennt die Nummer des neuen Datensatzes nicht."));
        return id;
    }
    QSqlQuery query(connection());
    if (!run(query, sql, values))
        return std::nullopt;
    if (!query.next()) {
        recordFailure(sql, QStringLiteral("Die Datenbank nennt die Nummer des neuen Datensatzes nicht."));
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

std::optional<qint64> Database::insertFollowed(const Statement& insertion, const QList<Statement>& followers,
                                               const Statement& question,
                                               const std::function<void(const Row&, int first)>& visit) {
    if (!onServer()) {
        const std::optional<qint64> id = insert(insertion.sql, insertion.values);
        if (!id)
            return std::nullopt;
        for (const Statement& follower : followers) {
            if (!exec(QString(follower.sql).replace(newRow(), QString::number(*id)), follower.values))
                return std::nullopt;
        }
        if (!question.sql.isEmpty() &&
            !read(question.sql, question.values, [&](const Row& row) { visit(row, 0); }))
            return std::nullopt;
        return id;
    }
    // The followers as parts of the insert's statement (the server runs each exactly once), the question
    // beside the new number.
    QString sql = QStringLiteral("WITH neu AS (%1)").arg(insertion.sql);
    QVariantList values = insertion.values;
    for (qsizetype i = 0; i < followers.size(); ++i) {
        sql +=
            QStringLiteral(", folge%1 AS (%2)")
                .arg(i)
                .arg(QString(followers.at(i).sql).replace(newRow(), QStringLiteral("(SELECT * FROM neu)")));
        values += followers.at(i).values;
    }
    sql += question.sql.isEmpty()
               ? QStringLiteral(" SELECT * FROM neu")
               : QStringLiteral(" SELECT neu.*, frage.* FROM neu LEFT JOIN (%1) frage ON true")
                     .arg(question.sql);
    values += question.values;
    std::optional<qint64> id;
    if (!read(sql, values, [&](const Row& row) {
            id = row.rowNumber(0);
            if (!question.sql.isEmpty() && !row.isNull(1))
                visit(row, 1);
        }))
        return std::nullopt;
    if (!id)
        recordFailure(sql, QStringLiteral("Die Datenbank nennt die Nummer des neuen Datensatzes nicht."));
    return id;
}

bool Database::changeRow(const QString& sql, const QVariantList& values) {
    qint64 changed = 0;
    if (!change(sql, values, &changed))
        return false;
    if (changed > 0)
        return true;
    recordFailure(sql, QStringLiteral("Der Datensatz ist nicht mehr vorhanden."), Failure::RowGone);
    return false;
}

QString Database::text(const QSqlQuery& query, int column) {
    const QVariant value = query.value(column);
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}

bool Database::read(const QString& sql, const QVariantList& values,
                    const std::function<void(const Row&)>& visit) {
    // The engine hands rows to visit only once the whole result has arrived: a read run again visits
    // each row once.
    return onEngine(sql, false, [&](StoreFailure* fault) {
        return m_link->read(connection(), sql, values, visit, fault);
    });
}

bool Database::stream(const QString& sql, const QVariantList& values,
                      const std::function<void(const Row&)>& visit) {
    bool visited = false;
    StoreFailure first;
    return onEngine(sql, false, [&](StoreFailure* fault) {
        // Run again, it would visit the rows it visited before a second time.
        if (visited) {
            *fault = first;
            return false;
        }
        const bool read = m_link->stream(
            connection(), sql, values,
            [&](const Row& row) {
                visited = true;
                visit(row);
            },
            fault);
        first = *fault;
        return read;
    });
}

bool Database::beginTransaction() {
    if (m_inTransaction) {
        m_lastError =
            QStringLiteral("Die Änderung konnte nicht begonnen werden: Eine andere Änderung ist noch "
                           "nicht abgeschlossen.");
        m_lastReason = m_lastError;
        m_lastFailure = Failure::Other;
        return false;
    }
    if (!exec(m_dialect->beginWriteStatement()))
        return false;
    m_inTransaction = true;
    return true;
}

bool Database::commit(const std::function<std::optional<bool>()>& stored) {
    if (!m_inTransaction)
        return false;
    if (exec(QStringLiteral("COMMIT"))) {
        m_inTransaction = false;
        m_link->endJournalTask();
        return true;
    }
    if (stored && m_lastFailure == Failure::FileGone)
        return outcomeOfLostCommit(stored);
    // A refused COMMIT may leave the transaction open (another program still reads the file, a deferred
    // constraint fails): nothing of it is kept, and the file is not left locked.
    const QString failure = m_lastError;
    const QString reason = m_lastReason;
    const Failure kind = m_lastFailure;
    rollback();
    m_lastError = failure;
    m_lastReason = reason;
    m_lastFailure = kind;
    return false;
}

bool Database::outcomeOfLostCommit(const std::function<std::optional<bool>()>& stored) {
    const QString failure = m_lastError;
    const QString reason = m_lastReason;
    // The transaction ended with the connection; the rollback opens a new one, or the question does.
    rollback();
    const std::optional<bool> kept = stored();
    if (kept && *kept) {
        m_lastFailure = Failure::None;
        return true;
    }
    if (kept) {
        m_lastError = failure;
        m_lastReason = reason;
    } else {
        recordFailure(QStringLiteral("COMMIT"),
                      QStringLiteral("Die Verbindung zum Datenbankserver %1 brach ab, während die Änderung "
                                     "gespeichert wurde. Ob sie gespeichert ist, lässt sich erst sagen, wenn "
                                     "der Server wieder erreichbar ist: Bitte prüfen Sie dann die Liste, "
                                     "bevor Sie die Eingabe noch einmal speichern.")
                          .arg(m_link->place()),
                      Failure::OutcomeUnknown);
        m_lastError = QStringLiteral("Die Änderung ist vielleicht nicht gespeichert: ") + m_lastReason;
    }
    return false;
}

bool Database::rollback() {
    if (!m_inTransaction)
        return false;
    m_inTransaction = false;
    m_link->endJournalTask();
    return exec(QStringLiteral("ROLLBACK"));
}

bool Database::lockProject(const QString& projectId) {
    const std::optional<QString> statement = m_dialect->projectLockStatement();
    return !statement || exec(*statement, {projectId});
}

std::optional<QString> Database::rowStamp(const QString& table, const QString& keyField, qint64 key) {
    const QString lock = m_inTransaction ? m_dialect->rowLockClause().value_or(QString()) : QString();
    // Null when the row is gone.
    QString stamp;
    if (!read(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?%3").arg(table, keyField, lock), {key},
              [&stamp](const Row& row) {
                  QStringList values;
                  for (int i = 0; i < row.columnCount(); ++i)
                      values += row.isNull(i) ? QStringLiteral("\\N") : row.text(i);
                  stamp = values.join(QChar(0x1f));
              }))
        return std::nullopt;
    return stamp;
}

bool Database::stillAsLoaded(const QString& table, const QString& keyField, qint64 key,
                             const QString& stamp) {
    return stillAsLoaded(rowStamp(table, keyField, key), stamp);
}

bool Database::stillAsLoaded(const std::optional<QString>& now, const QString& stamp) {
    if (!now)
        return false;
    if (now->isNull())
        recordFailure(
            QStringLiteral("UPDATE"),
            QStringLiteral("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz gelöscht."),
            Failure::RowGone);
    else if (*now != stamp)
        recordFailure(QStringLiteral("UPDATE"),
                      QStringLiteral("Der Datensatz wurde inzwischen an einem anderen Arbeitsplatz "
                                     "geändert; Ihre Änderung hätte diese Änderung überschrieben."),
                      Failure::Changed);
    return *now == stamp;
}

bool Database::companyStillThere(const QString& name) {
    bool found = false;
    if (!read(QStringLiteral("SELECT ID FROM tblFirma WHERE fold(Name) = fold(?)%1")
                  .arg(m_dialect->rowLockClause().value_or(QString())),
              {name}, [&found](const Row&) { found = true; }))
        return false;
    if (!found)
        recordFailure(
            QStringLiteral("INSERT"),
            QStringLiteral("Die Firma '%1' ist nicht mehr im Firmenverzeichnis: Sie wurde inzwischen "
                           "an einem anderen Arbeitsplatz umbenannt oder gelöscht.")
                .arg(name),
            Failure::NameGone);
    return found;
}

bool Database::bulkInsert(const QString& table, const QStringList& columns, const QList<QStringList>& rows) {
    const QString what = QStringLiteral("INSERT INTO ") + table;
    if (!onCurrentFile(what) || !journalReadyFor(what))
        return false;
    // Rows brought in keep their numbers, repeated ones too: a unique index of the table waits until
    // resetIdentities().
    for (const Schema::Index& index : m_dialect->indexes()) {
        if (index.unique() && index.definition.startsWith(table + u' ') && m_inTransaction) {
            if (!exec(QStringLiteral("DROP INDEX IF EXISTS ") + index.name))
                return false;
            if (!m_suspendedIndexes.contains(index.name))
                m_suspendedIndexes += index.name;
        }
    }
    StoreFailure fault;
    if (m_dialect->bulkInsert(connection(), table, columns, rows, &fault))
        return true;
    recordFailure(what, fault.germanText, fault.kind);
    return false;
}

bool Database::resetIdentities() {
    for (const QString& statement : m_dialect->identityResetStatements()) {
        if (!exec(statement))
            return false;
    }
    // Where the rows brought in repeat a number, the index stays missing and opening names them.
    const QStringList suspended = std::exchange(m_suspendedIndexes, {});
    for (const Schema::Index& index : m_dialect->indexes()) {
        if (suspended.contains(index.name) && upkeep().noDuplicates(index) &&
            !exec(m_dialect->indexStatement(index)))
            return false;
    }
    return true;
}

QString Database::foreignNumberCondition(const QString& column) const {
    return m_dialect->foreignNumberCondition(column);
}

QString Database::companyCondition(const QString& table, const QString& alias) const {
    return m_dialect->companyCondition(table, alias);
}

QString Database::oddAmountCondition(const QString& column) const {
    return m_dialect->oddAmountCondition(column);
}

QString Database::exactCollation() const {
    return m_dialect->exactCollation();
}

bool Database::retryOnceWhenBusy(const std::function<bool()>& write) {
    return write() || (!m_inTransaction && m_lastFailure == Failure::Busy && write());
}

void Database::recordFailure(const QString& what, const QString& germanText, Failure failure) {
    m_lastReason = germanText;
    m_lastError = failurePrefix(what) + QStringLiteral(": ") + germanText;
    m_lastFailure = failure;
}

void Database::recordFailure(const QString& what, const QSqlError& error) {
    const StoreFailure fault = m_link->fault(error, connection());
    recordFailure(what, fault.germanText, fault.kind);
}
