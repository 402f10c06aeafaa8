#include "Database.h"

#include "Engine.h"
#include "PostgresEngine.h"
#include "Schema.h"
#include "ServerAddress.h"
#include "SqliteEngine.h"
#include "SqliteFile.h"
#include "SystemErrorText.h"

#include <atomic>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>
#include <utility>

namespace {

QString nextConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("zlv-store-%1").arg(++counter);
}

QString refusal(const QString& filePath, const QString& reason) {
    return QStringLiteral("Die Datenbank '%1' kann nicht geöffnet werden:\n%2")
        .arg(QDir::toNativeSeparators(filePath), reason);
}

// Write protection as the user sees it: the engine's write check, or no write bit at all (a file set
// read-only, which an administrator's account could otherwise still write).
bool isWriteProtected(const QFileInfo& info) {
    const QFileDevice::Permissions writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !info.isWritable() || !(info.permissions() & writeBits);
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

} // namespace

Database::Database(std::unique_ptr<Engine> engine, QString connectionName)
    : m_engine(std::move(engine)), m_connectionName(std::move(connectionName)) {}

Database::~Database() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen()) {
            if (m_inTransaction)
                rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::isServerLocation(const QString& location) {
    return ServerAddress::isServerLocation(location);
}

QString Database::placeOf(const QString& location) {
    return ServerAddress::parse(location).place();
}

QString Database::userOf(const QString& location) {
    return ServerAddress::parse(location).user;
}

void Database::rememberLogin(const QString& location, const QString& user, const QString& password) {
    ServerAddress::rememberPassword(location, user, password);
}

std::unique_ptr<Database> Database::open(const QString& location, OpenFailure* failure,
                                         QString* germanMessage, int busyTimeoutMs) {
    if (failure)
        *failure = OpenFailure::None;
    std::unique_ptr<Database> db = isServerLocation(location)
                                       ? openServer(location, failure, germanMessage)
                                       : openFile(location, failure, germanMessage, busyTimeoutMs);
    if (db)
        db->m_location = location;
    return db;
}

std::optional<qint64> Database::changeCount() {
    const QString query = m_engine->changeCountQuery();
    std::optional<qint64> count;
    if (!query.isEmpty())
        read(query, {}, [&](const Row& row) { count = row.rowNumber(0); });
    return count;
}

QString Database::changeChannel() const {
    return m_engine->changeChannel();
}

QString Database::session() {
    QString session;
    if (!m_engine->sessionQuery().isEmpty())
        read(m_engine->sessionQuery(), {}, [&](const Row& row) { session = row.text(0); });
    return session;
}

std::unique_ptr<Database> Database::openFile(const QString& filePath, OpenFailure* failure,
                                             QString* germanMessage, int busyTimeoutMs) {
    const auto refuse = [&](OpenFailure kind, const QString& reason) {
        if (failure)
            *failure = kind;
        if (germanMessage)
            *germanMessage = refusal(filePath, reason);
        return std::unique_ptr<Database>();
    };
    const QFileInfo info(filePath);
    if (!info.exists())
        return refuse(OpenFailure::Missing, QStringLiteral("Die Datei ist nicht vorhanden."));
    if (info.isDir())
        return refuse(OpenFailure::NotADatabase,
                      QStringLiteral("Der Pfad bezeichnet einen Ordner, keine Datei."));
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(
            OpenFailure::NotReadable,
            QStringLiteral("Die Datei kann nicht gelesen werden (%1).").arg(SystemErrorText::of(file)));
    const QByteArray header = file.read(SqliteEngine::kHeaderLength);
    file.close();
    if (!SqliteEngine::isDatabaseHeader(header))
        return refuse(OpenFailure::NotADatabase,
                      QStringLiteral("Die Datei ist keine Zelvora-Datenbank (sie hat nicht das Format einer "
                                     "SQLite-Datenbank)."));
    if (isWriteProtected(info))
        return refuse(OpenFailure::ReadOnly, QStringLiteral("Die Datei ist schreibgeschützt."));
    if (isWriteProtected(QFileInfo(info.absolutePath())))
        return refuse(OpenFailure::ReadOnly,
                      QStringLiteral("Der Ordner der Datei ist schreibgeschützt; Änderungen können nicht "
                                     "sicher gespeichert werden."));

    std::unique_ptr<Database> db(new Database(
        std::make_unique<SqliteEngine>(info.absoluteFilePath(), busyTimeoutMs), nextConnectionName()));
    QString reason;
    OpenFailure kind = OpenFailure::Other;
    if (!db->connect(true, &kind, &reason))
        return refuse(kind, reason);
    kind = db->checkSchema(&reason);
    if (kind != OpenFailure::None)
        return refuse(kind, reason);
    kind = db->configure(&reason);
    if (kind != OpenFailure::None)
        return refuse(kind, reason);
    return db;
}

std::unique_ptr<Database> Database::openServer(const QString& location, OpenFailure* failure,
                                               QString* germanMessage) {
    const ServerAddress address = ServerAddress::parse(location);
    const auto refuse = [&](OpenFailure kind, const QString& reason) {
        if (failure)
            *failure = kind;
        if (germanMessage)
            *germanMessage = QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden:\n%2")
                                 .arg(address.place(), reason);
        return std::unique_ptr<Database>();
    };
    if (!address.isValid())
        return refuse(OpenFailure::Other, address.problem());
    std::unique_ptr<Database> db(
        new Database(std::make_unique<PostgresEngine>(address), nextConnectionName()));
    QString reason;
    OpenFailure kind = OpenFailure::Other;
    if (!db->connect(true, &kind, &reason))
        return refuse(kind, reason);
    bool ok = false;
    const QStringList tables = db->tables(&ok);
    if (!ok)
        return refuse(OpenFailure::Other, db->m_lastReason);
    if (tables.isEmpty())
        return refuse(OpenFailure::Empty,
                      QStringLiteral("Die Datenbank ist leer; sie ist noch nicht für Zelvora eingerichtet."));
    kind = db->checkSchema(&reason);
    if (kind != OpenFailure::None)
        return refuse(kind, reason.replace(QStringLiteral("Die Datei ist"), QStringLiteral("Sie ist")));
    kind = db->configure(&reason);
    if (kind != OpenFailure::None)
        return refuse(kind, reason);
    return db;
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
    QSqlDatabase db = QSqlDatabase::addDatabase(m_engine->driverName(), m_connectionName);
    if (!db.isValid()) {
        *failure = OpenFailure::Other;
        *germanText =
            QStringLiteral("Der Datenbanktreiber %1 ist nicht verfügbar.").arg(m_engine->driverName());
        return false;
    }
    m_engine->configure(db, existing);
    if (!db.open()) {
        *failure = m_engine->openFailure(db.lastError(), germanText);
        return false;
    }
    if (!m_engine->prepare(db)) {
        *failure = OpenFailure::Other;
        *germanText = QStringLiteral("Die Suchfunktionen konnten nicht eingerichtet werden.");
        return false;
    }
    return true;
}

QStringList Database::tables(bool* ok) {
    QStringList names;
    *ok = read(m_engine->tableListQuery(), {}, [&](const Row& row) { names += row.text(0); });
    return names;
}

Database::OpenFailure Database::checkSchema(QString* reason) {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.prepare(m_engine->fieldListQuery()))
        return m_engine->openFailure(query.lastError(), reason);
    for (const QString& table : Schema::tableNames()) {
        query.bindValue(0, table);
        if (!query.exec())
            return m_engine->openFailure(query.lastError(), reason);
        QStringList present;
        while (query.next())
            present += query.value(0).toString();
        if (query.lastError().isValid())
            return m_engine->openFailure(query.lastError(), reason);
        query.finish();
        if (present.isEmpty()) {
            *reason =
                QStringLiteral("Die Datei ist keine Zelvora-Datenbank (es fehlt die Tabelle %1).").arg(table);
            return OpenFailure::ForeignSchema;
        }
        for (const QString& field : Schema::fieldNames(table)) {
            if (!present.contains(field, Qt::CaseInsensitive)) {
                *reason = QStringLiteral("Die Datei ist keine Zelvora-Datenbank (in der Tabelle %1 fehlt das "
                                         "Feld %2).")
                              .arg(table, field);
                return OpenFailure::ForeignSchema;
            }
        }
    }
    return OpenFailure::None;
}

Database::OpenFailure Database::configure(QString* reason) {
    m_notices.clear();
    // Only a database that lacks a table, an index or a trigger is written to, so that opening a file
    // that other programs are writing to waits for no one.
    QStringList present;
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!query.exec(m_engine->indexListQuery()))
        return m_engine->openFailure(query.lastError(), reason);
    while (query.next())
        present += query.value(0).toString();
    if (query.lastError().isValid())
        return m_engine->openFailure(query.lastError(), reason);
    query.finish();
    // The program's tables that a query names, as the program spells them.
    const auto names = [this](const QString& sql, QStringList* found) {
        return sql.isEmpty() || read(sql, {}, [&](const Row& row) {
                   const QString name = row.text(0);
                   const QStringList own = Schema::allTableNames().filter(
                       QRegularExpression(u'^' + QRegularExpression::escape(name) + u'$',
                                          QRegularExpression::CaseInsensitiveOption));
                   *found += own.isEmpty() ? name : own.first();
               });
    };
    const auto tablesNamed = [](const QStringList& tables) {
        return (tables.size() == 1 ? QStringLiteral("die Tabelle ") : QStringLiteral("die Tabellen ")) +
               tables.join(QStringLiteral(", "));
    };
    // A login that may not read the data would fail at every list: it is refused now.
    QStringList unreadable;
    if (!names(m_engine->unreadableTablesQuery(), &unreadable)) {
        *reason = m_lastReason;
        return OpenFailure::Other;
    }
    if (!unreadable.isEmpty()) {
        *reason = QStringLiteral("Ihre Anmeldung darf %1 nicht lesen. Die Verwaltung des "
                                 "Datenbankservers muss Ihnen die Rechte der Sachbearbeiter geben.")
                      .arg(tablesNamed(unreadable));
        return OpenFailure::NoPermission;
    }
    QStringList missingTables;
    bool ok = false;
    const QStringList tablesPresent = tables(&ok);
    QStringList incomplete;
    if (!ok || !names(m_engine->incompleteTablesQuery(), &incomplete)) {
        *reason = m_lastReason;
        return OpenFailure::Other;
    }
    for (const Schema::AddedTable& table : Schema::addedTables()) {
        if (!tablesPresent.contains(table.name, Qt::CaseInsensitive))
            missingTables += table.name;
    }
    QList<Schema::Index> missingIndexes;
    for (const Schema::Index& index : Schema::indexes()) {
        if (!present.contains(index.name, Qt::CaseInsensitive))
            missingIndexes += index;
    }
    if (missingTables.isEmpty() && incomplete.isEmpty() && missingIndexes.isEmpty())
        return OpenFailure::None;

    // What the program creates belongs to the database's owner: a login that may act as the owner
    // creates it as the owner; another creates nothing.
    QString owner;
    bool mayCreate = true;
    if (!m_engine->ownerQuery().isEmpty() && !read(m_engine->ownerQuery(), {}, [&](const Row& row) {
            owner = row.text(0);
            mayCreate = row.text(1) == QLatin1String("t");
        })) {
        *reason = m_lastReason;
        return OpenFailure::Other;
    }
    const QString administrator =
        QStringLiteral("die Verwaltung der Datenbank (die Rolle %1 oder ein Mitglied von ihr)").arg(owner);
    const auto createAsOwner = [&](const QStringList& statements) {
        bool created = beginTransaction() &&
                       (m_engine->actAsStatement(owner).isEmpty() || exec(m_engine->actAsStatement(owner)));
        for (const QString& statement : statements)
            created = created && exec(statement);
        created = created && commit();
        if (!created)
            rollback();
        return created;
    };
    if (!missingTables.isEmpty()) {
        if (!mayCreate) {
            *reason = QStringLiteral("Der Datenbank fehlt %1, die diese Version von Zelvora braucht. "
                                     "Anlegen darf sie nur %2: Sie muss die Datenbank einmal mit Zelvora "
                                     "öffnen.")
                          .arg(tablesNamed(missingTables), administrator);
            return OpenFailure::NoPermission;
        }
        QStringList statements;
        for (const Schema::AddedTable& table : Schema::addedTables()) {
            if (missingTables.contains(table.name))
                statements << m_engine->tableStatement(table.statement)
                           << m_engine->tableCompletion(table.name);
        }
        if (!createAsOwner(statements)) {
            *reason = m_lastReason;
            return m_lastFailure == Failure::Busy ? OpenFailure::Locked : OpenFailure::Other;
        }
    }
    // A missing index or trigger is no reason to refuse the data: each is added where possible, and
    // what is still missing is said once.
    QStringList notAdded;
    QStringList notCompleted;
    for (const Schema::Index& index : std::as_const(missingIndexes)) {
        if (index.unique() && !noDuplicates(index))
            continue;
        if (!mayCreate || !createAsOwner({m_engine->indexStatement(index)})) {
            if (mayCreate && m_lastFailure == Failure::Busy) {
                *reason = m_lastReason;
                return OpenFailure::Locked;
            }
            notAdded += index.name;
        }
    }
    for (const QString& table : std::as_const(incomplete)) {
        if (!mayCreate || !createAsOwner(m_engine->tableCompletion(table)))
            notCompleted += table;
    }
    const QString openOnce = mayCreate ? QString()
                                       : QStringLiteral(" Anlegen darf sie nur %1: Sie muss die Datenbank "
                                                        "einmal mit Zelvora öffnen.")
                                             .arg(administrator);
    if (!notAdded.isEmpty())
        m_notices += QStringLiteral("Der Datenbank fehlen Indizes (%1); Listen und Auswertungen können "
                                    "dadurch langsamer sein.")
                         .arg(notAdded.join(QStringLiteral(", "))) +
                     openOnce;
    if (!notCompleted.isEmpty())
        m_notices += QStringLiteral("Änderungen an %1 werden den anderen Arbeitsplätzen nicht gemeldet; "
                                    "ihre Listen folgen erst mit „Aktualisieren“.")
                         .arg(tablesNamed(notCompleted)) +
                     openOnce;
    return OpenFailure::None;
}

bool Database::noDuplicates(const Schema::Index& index) {
    QStringList found;
    if (!read(index.duplicates, {}, [&](const Row& row) {
            found += QStringLiteral("Projekt %1: Nr. %2 (%3-mal)").arg(row.text(0), row.text(1), row.text(2));
        })) {
        m_notices += m_lastReason;
        return false;
    }
    if (found.isEmpty())
        return true;
    constexpr qsizetype kNamed = 20;
    QString named = found.mid(0, kNamed).join(QStringLiteral("; "));
    if (found.size() > kNamed)
        named += QStringLiteral("; und %1 weitere").arg(found.size() - kNamed);
    m_notices += QStringLiteral("Laufende Nummern sind in einem Projekt mehrfach vergeben: %1. Bis sie "
                                "berichtigt sind, schützt die Datenbank die laufenden Nummern nicht gegen "
                                "doppelte Vergabe.")
                     .arg(named);
    return false;
}

bool Database::onCurrentFile(const QString& what) {
    if (m_engine->stillThere(connection()))
        return true;
    if (!m_inTransaction && (onServer() || QFileInfo::exists(m_engine->place()))) {
        QString reason;
        if (reconnect(&reason))
            return true;
        recordFailure(what, reason);
        return false;
    }
    if (onServer()) {
        recordFailure(what,
                      QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen (%1). Die "
                                     "begonnene Änderung wurde nicht gespeichert.")
                          .arg(m_engine->place()),
                      Failure::FileGone);
        return false;
    }
    recordFailure(
        what,
        QStringLiteral("Die Datenbankdatei ist nicht mehr vorhanden: '%1'. Sie wurde gelöscht, "
                       "umbenannt oder verschoben. Sobald sie wieder an ihrem Platz ist, können Sie "
                       "weiterarbeiten.")
            .arg(m_engine->place()),
        Failure::FileGone);
    return false;
}

bool Database::reconnect(QString* reason) {
    QSqlDatabase db = connection();
    db.close();
    if (!db.open()) {
        m_engine->openFailure(db.lastError(), reason);
        return false;
    }
    if (m_engine->prepare(db) && checkSchema(reason) == OpenFailure::None &&
        configure(reason) == OpenFailure::None)
        return true;
    db.close();
    return false;
}

bool Database::setUp(QString* reason) {
    bool created = beginTransaction();
    for (const QString& statement : m_engine->createStatements())
        created = created && exec(statement);
    // Each list in one statement: a server answers each statement over the network.
    const auto insertAll = [this](const QString& table, const QString& field, const QStringList& names) {
        return names.isEmpty() ||
               exec(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                        .arg(table, field, QStringList(names.size(), QStringLiteral("(?)")).join(u',')),
                    QVariantList(names.cbegin(), names.cend()));
    };
    created = created &&
              insertAll(QStringLiteral("tblGewerk"), QStringLiteral("Gewerk"), Schema::presetTrades()) &&
              insertAll(QStringLiteral("tblKostengruppe"), QStringLiteral("Kostengruppe"),
                        Schema::presetCostGroups());
    created = created && commit();
    if (!created)
        *reason = m_lastError;
    return created;
}

bool Database::create(const QString& location, QString* germanMessage) {
    if (isServerLocation(location)) {
        const ServerAddress address = ServerAddress::parse(location);
        const auto refuse = [&](const QString& reason) {
            if (germanMessage)
                *germanMessage = QStringLiteral("Die Datenbank %1 kann nicht eingerichtet werden:\n%2")
                                     .arg(address.place(), reason);
            return false;
        };
        if (!address.isValid())
            return refuse(address.problem());
        Database db(std::make_unique<PostgresEngine>(address), nextConnectionName());
        QString reason;
        OpenFailure kind = OpenFailure::Other;
        if (!db.connect(true, &kind, &reason))
            return refuse(reason);
        bool ok = false;
        const QStringList tables = db.tables(&ok);
        if (!ok)
            return refuse(db.m_lastReason);
        if (!tables.isEmpty())
            return refuse(QStringLiteral("Die Datenbank ist nicht leer (sie enthält die Tabelle %1).")
                              .arg(tables.first()));
        return db.setUp(&reason) || refuse(reason);
    }
    const QString filePath = location;
    const auto refuse = [&](const QString& reason) {
        if (germanMessage)
            *germanMessage = QStringLiteral("Die Datenbank '%1' kann nicht angelegt werden:\n%2")
                                 .arg(QDir::toNativeSeparators(filePath), reason);
        return false;
    };
    if (QFileInfo::exists(filePath))
        return refuse(QStringLiteral("Die Datei ist bereits vorhanden."));

    QString reason;
    bool created = false;
    {
        Database db(
            std::make_unique<SqliteEngine>(QFileInfo(filePath).absoluteFilePath(), defaultBusyTimeoutMs()),
            nextConnectionName());
        OpenFailure kind = OpenFailure::Other;
        created = db.connect(false, &kind, &reason) && db.setUp(&reason);
    }
    if (!created) {
        QFile::remove(filePath);
        QFile::remove(SqliteFile::journalPath(filePath));
        return refuse(reason);
    }
    return true;
}

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(m_connectionName, false);
}

QString Database::place() const {
    return m_engine->place();
}

bool Database::onServer() const {
    return m_engine->isServer();
}

bool Database::connected() const {
    return m_engine->stillThere(connection());
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
    if (!onServer() || m_inTransaction || m_lastFailure != Failure::FileGone)
        return false;
    const QStringView start = QStringView(sql).trimmed();
    if (!start.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) &&
        start.compare(m_engine->beginWriteStatement(), Qt::CaseInsensitive) != 0)
        return false;
    // The server may have said its last word before the connection shows as broken.
    QString reason;
    if (reconnect(&reason))
        return true;
    recordFailure(sql, reason, Failure::FileGone);
    return false;
}

bool Database::runOnce(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    if (!onCurrentFile(sql))
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
    QSqlQuery query(connection());
    return run(query, sql, values);
}

std::optional<qint64> Database::insert(const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection());
    if (!run(query, sql, values))
        return std::nullopt;
    if (!query.next()) {
        recordFailure(sql, QStringLiteral("Die Datenbank nennt die Nummer des neuen Datensatzes nicht."));
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

bool Database::changeRow(const QString& sql, const QVariantList& values) {
    QSqlQuery query(connection());
    if (!run(query, sql, values))
        return false;
    if (query.numRowsAffected() > 0)
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
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!onCurrentFile(sql))
            return false;
        Engine::Fault fault;
        if (m_engine->read(connection(), sql, values, visit, &fault))
            return true;
        recordFailure(sql, fault.germanText, fault.kind);
        if (!mayRunAgain(sql))
            return false;
    }
    return false;
}

std::optional<Money> Database::Row::amount(int column, QString& unreadable) const {
    const std::optional<Money> found = amount(column);
    if (!found && !isNull(column))
        unreadable = text(column);
    return found;
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
    if (!exec(m_engine->beginWriteStatement()))
        return false;
    m_inTransaction = true;
    return true;
}

bool Database::commit(const std::function<std::optional<bool>()>& stored) {
    if (!m_inTransaction)
        return false;
    if (exec(QStringLiteral("COMMIT"))) {
        m_inTransaction = false;
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
                          .arg(m_engine->place()),
                      Failure::OutcomeUnknown);
        m_lastError = QStringLiteral("Die Änderung ist vielleicht nicht gespeichert: ") + m_lastReason;
    }
    return false;
}

bool Database::rollback() {
    if (!m_inTransaction)
        return false;
    m_inTransaction = false;
    return exec(QStringLiteral("ROLLBACK"));
}

bool Database::lockProject(const QString& projectId) {
    const QString statement = m_engine->projectLockStatement();
    return statement.isEmpty() || exec(statement, {projectId});
}

std::optional<QString> Database::rowStamp(const QString& table, const QString& keyField, qint64 key) {
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    const QString lock = m_inTransaction ? m_engine->rowLockClause() : QString();
    if (!run(query, QStringLiteral("SELECT * FROM %1 WHERE %2 = ?%3").arg(table, keyField, lock), {key}))
        return std::nullopt;
    if (!query.next())
        return QString();
    QStringList values;
    for (int i = 0; i < query.record().count(); ++i)
        values += query.isNull(i) ? QStringLiteral("\\N") : text(query, i);
    return values.join(QChar(0x1f));
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
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (!run(query,
             QStringLiteral("SELECT ID FROM tblFirma WHERE fold(Name) = fold(?)%1")
                 .arg(m_engine->rowLockClause()),
             {name}))
        return false;
    const bool found = query.next();
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
    if (!onCurrentFile(what))
        return false;
    // Rows brought in keep their numbers, repeated ones too: a unique index of the table waits until
    // resetIdentities().
    for (const Schema::Index& index : Schema::indexes()) {
        if (index.unique() && index.definition.startsWith(table + u' ') && m_inTransaction) {
            if (!exec(QStringLiteral("DROP INDEX IF EXISTS ") + index.name))
                return false;
            if (!m_suspendedIndexes.contains(index.name))
                m_suspendedIndexes += index.name;
        }
    }
    Engine::Fault fault;
    if (m_engine->bulkInsert(connection(), table, columns, rows, &fault))
        return true;
    recordFailure(what, fault.germanText, fault.kind);
    return false;
}

bool Database::resetIdentities() {
    for (const QString& statement : m_engine->identityResetStatements()) {
        if (!exec(statement))
            return false;
    }
    // Where the rows brought in repeat a number, the index stays missing and opening names them.
    const QStringList suspended = std::exchange(m_suspendedIndexes, {});
    for (const Schema::Index& index : Schema::indexes()) {
        if (suspended.contains(index.name) && noDuplicates(index) && !exec(m_engine->indexStatement(index)))
            return false;
    }
    return true;
}

QString Database::foreignNumberCondition(const QString& column) const {
    return m_engine->foreignNumberCondition(column);
}

QString Database::exactCollation() const {
    return m_engine->exactCollation();
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
    // A server that ended the connection without a word (a crash, a network gone) leaves it broken.
    const bool lost = onServer() && error.type() != QSqlError::ConnectionError &&
                      error.nativeErrorCode().isEmpty() && !m_engine->stillThere(connection());
    const Engine::Fault fault = m_engine->fault(
        lost ? QSqlError(error.driverText(), error.databaseText(), QSqlError::ConnectionError) : error);
    recordFailure(what, fault.germanText, fault.kind);
}
