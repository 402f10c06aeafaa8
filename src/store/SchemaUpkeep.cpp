#include "SchemaUpkeep.h"

#include "Database.h"
#include "Dialect.h"
#include "Journal.h"
#include "Link.h"
#include "ProjectSums.h"
#include "SignOffRepository.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

SchemaUpkeep::SchemaUpkeep(Database& db, const Link& link, const Dialect& dialect, QStringList& notices)
    : m_db(db), m_link(link), m_dialect(dialect), m_notices(notices) {}

const SchemaUpkeep::Catalogue* SchemaUpkeep::catalogue(Look look) {
    if (m_catalogue && (look == Look::First || m_catalogueLook == Look::Whole))
        return &*m_catalogue;
    // Every list in one statement, each row tagged with its list: a server answers each statement over
    // the network.
    enum List { Fields, Triggers, Tables, Indexes, Unreadable, Incomplete, Rights };
    QStringList parts;
    const auto add = [&parts](List list, const std::optional<QString>& sql, bool pairs) {
        if (sql)
            parts += QStringLiteral("SELECT %1, q%1.*%2 FROM (%3) AS q%1")
                         .arg(QString::number(list), pairs ? QString() : QStringLiteral(", NULL"), *sql);
    };
    const bool whole = look == Look::Whole;
    add(Fields, m_dialect.fieldListQuery(), true);
    if (whole)
        add(Triggers, m_dialect.triggerListQuery(), true);
    add(Tables, m_dialect.tableListQuery(), false);
    if (whole)
        add(Indexes, m_dialect.indexListQuery(), false);
    add(Unreadable, m_dialect.unreadableTablesQuery(), false);
    if (whole) {
        add(Incomplete, m_dialect.incompleteTablesQuery(), false);
        add(Rights, m_dialect.rightsIncompleteQuery(), false);
    }
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.exec(parts.join(QStringLiteral(" UNION ALL ")))) {
        m_catalogueError = query.lastError();
        return nullptr;
    }
    // The program's tables that a list names, as the program spells them.
    const auto own = [](const QString& name) {
        const QStringList found = Schema::allTableNames().filter(QRegularExpression(
            u'^' + QRegularExpression::escape(name) + u'$', QRegularExpression::CaseInsensitiveOption));
        return found.isEmpty() ? name : found.first();
    };
    Catalogue catalogue;
    while (query.next()) {
        const QString name = query.value(1).toString();
        const QString detail = query.value(2).toString();
        switch (query.value(0).toInt()) {
        case Fields:
            catalogue.fields[name.toLower()] += detail;
            break;
        case Triggers:
            catalogue.triggers.insert(name.toLower() + u'.' + detail.toLower());
            break;
        case Tables:
            catalogue.tables += name;
            break;
        case Indexes:
            catalogue.indexes += name;
            break;
        case Unreadable:
            catalogue.unreadable += own(name);
            break;
        case Incomplete:
            catalogue.incomplete += own(name);
            break;
        case Rights:
            catalogue.rightsIncomplete = true;
            break;
        }
    }
    if (query.lastError().isValid()) {
        m_catalogueError = query.lastError();
        return nullptr;
    }
    m_catalogue = std::move(catalogue);
    m_catalogueLook = look;
    return &*m_catalogue;
}

QStringList SchemaUpkeep::tables(bool* ok) {
    if (const Catalogue* found = catalogue(Look::First)) {
        *ok = true;
        return found->tables;
    }
    // The failure, as every reading records it.
    QStringList names;
    *ok = m_db.read(m_dialect.tableListQuery(), {}, [&](const DatabaseRow& row) { names += row.text(0); });
    return names;
}

StoreFailure::Opening SchemaUpkeep::check(QString* reason, Look look) {
    const Catalogue* found = catalogue(look);
    if (!found)
        return m_link.openFailure(m_catalogueError, reason);
    for (const QString& table : Schema::tableNames()) {
        const QStringList present = found->fields.value(table.toLower());
        if (present.isEmpty()) {
            *reason =
                QStringLiteral("Die Datei ist keine Zelvora-Datenbank (es fehlt die Tabelle %1).").arg(table);
            return StoreFailure::Opening::ForeignSchema;
        }
        for (const QString& field : Schema::fieldNames(table)) {
            if (!present.contains(field, Qt::CaseInsensitive)) {
                *reason = QStringLiteral("Die Datei ist keine Zelvora-Datenbank (in der Tabelle %1 fehlt das "
                                         "Feld %2).")
                              .arg(table, field);
                return StoreFailure::Opening::ForeignSchema;
            }
        }
    }
    return StoreFailure::Opening::None;
}

bool SchemaUpkeep::mayCompleteLater() {
    const Catalogue* found = catalogue(Look::First);
    if (!found || !found->unreadable.isEmpty())
        return false;
    for (const Schema::Table& table : Schema::addedTables()) {
        if (!found->tables.contains(table.name, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

bool SchemaUpkeep::readOwner() {
    // What the program creates belongs to the database's owner: a login that may act as the owner
    // creates it as the owner; another creates nothing.
    const std::optional<QString> ownerQuery = m_dialect.ownerQuery();
    return !ownerQuery || m_db.read(*ownerQuery, {}, [&](const DatabaseRow& row) {
        m_owner = row.text(0);
        m_mayCreate = row.text(1) == QLatin1String("t");
    });
}

bool SchemaUpkeep::createAsOwner(const QStringList& statements) {
    const auto actingAsOwner = [&] {
        const std::optional<QString> actAs = m_dialect.actAsStatement(m_owner);
        return !actAs || m_db.exec(*actAs);
    };
    bool created = m_db.beginTransaction() && actingAsOwner();
    for (const QString& statement : statements)
        created = created && m_db.exec(statement);
    created = created && m_db.commit();
    if (!created)
        m_db.rollback();
    return created;
}

bool SchemaUpkeep::runTogether(const QStringList& statements) {
    bool done = m_db.beginTransaction();
    for (const QString& statement : statements)
        done = done && m_db.exec(statement);
    done = done && m_db.commit();
    if (!done)
        m_db.rollback();
    return done;
}

void SchemaUpkeep::completeRights(bool mayCreate, const QString& openOnce) {
    // Roles belong to the server, not to the database: the login creates them with a right of its own.
    if (!runTogether(m_dialect.roleStatements(true))) {
        m_notices +=
            QStringLiteral("Der Datenbank fehlen die Rollen ihrer Rechte (lesen, erfassen, "
                           "feststellen, anordnen, verwalten); bis sie angelegt sind, hat keine "
                           "Anmeldung ein Recht in Zelvora. Anlegen darf sie nur eine Anmeldung mit "
                           "dem Recht CREATEROLE, etwa die Verwaltung des Datenbankservers: Sie muss "
                           "die Datenbank einmal mit Zelvora öffnen. (%1)")
                .arg(m_db.lastReason());
    }
    // The function telling a right is there all the same, so that the checks of the database say "no".
    if (!mayCreate || !createAsOwner(m_dialect.grantStatements()))
        m_notices +=
            QStringLiteral("Die Rechte der Rollen an den Tabellen von Zelvora konnten nicht vollständig "
                           "vergeben werden.") +
            (mayCreate ? QStringLiteral(" (%1)").arg(m_db.lastReason()) : openOnce);
}

StoreFailure::Opening SchemaUpkeep::complete(QString* reason, Counting counting) {
    m_notices.clear();
    // Only a database that lacks a table, an index or a trigger is written to, so that opening a file
    // that other programs are writing to waits for no one.
    const Catalogue* found = catalogue();
    if (!found)
        return m_link.openFailure(m_catalogueError, reason);
    const auto tablesNamed = [](const QStringList& tables) {
        return (tables.size() == 1 ? QStringLiteral("die Tabelle ") : QStringLiteral("die Tabellen ")) +
               tables.join(QStringLiteral(", "));
    };
    // A login that may not read the data would fail at every list: it is refused now.
    if (!found->unreadable.isEmpty()) {
        *reason = QStringLiteral("Ihre Anmeldung darf %1 nicht lesen. Die Verwaltung des "
                                 "Datenbankservers muss Ihnen die Rechte der Sachbearbeiter geben.")
                      .arg(tablesNamed(found->unreadable));
        return StoreFailure::Opening::NoPermission;
    }
    QStringList missingTables;
    for (const Schema::Table& table : Schema::addedTables()) {
        if (!found->tables.contains(table.name, Qt::CaseInsensitive))
            missingTables += table.name;
    }
    QList<Schema::Index> missingIndexes;
    for (const Schema::Index& index : m_dialect.indexes()) {
        if (!found->indexes.contains(index.name, Qt::CaseInsensitive))
            missingIndexes += index;
    }
    // The sums each project's rows keep, unless they are known whole, are installed afresh and recounted.
    // Counted later, they are whole enough here with their triggers in place: each list compares the
    // rows' counts before it trusts them.
    ProjectSums sums(m_db);
    const bool sumsMissing = !found->tables.contains(Schema::projectSums().name, Qt::CaseInsensitive);
    const bool sumsWhole =
        !sumsMissing && sums.keptBy(found->triggers) && (counting == Counting::Later || sums.whole());
    if (missingTables.isEmpty() && found->incomplete.isEmpty() && missingIndexes.isEmpty() && sumsWhole &&
        !found->rightsIncomplete)
        return StoreFailure::Opening::None;

    if (!readOwner()) {
        *reason = m_db.lastReason();
        return StoreFailure::Opening::Other;
    }
    const bool mayCreate = m_mayCreate;
    const QString administrator =
        QStringLiteral("die Verwaltung der Datenbank (die Rolle %1 oder ein Mitglied von ihr)").arg(m_owner);
    if (!missingTables.isEmpty()) {
        if (!mayCreate) {
            *reason = QStringLiteral("Der Datenbank fehlt %1, die diese Version von Zelvora braucht. "
                                     "Anlegen darf sie nur %2: Sie muss die Datenbank einmal mit Zelvora "
                                     "öffnen.")
                          .arg(tablesNamed(missingTables), administrator);
            return StoreFailure::Opening::NoPermission;
        }
        QStringList statements;
        for (const Schema::Table& table : Schema::addedTables()) {
            if (!missingTables.contains(table.name))
                continue;
            statements << m_dialect.tableStatement(table);
            // The bookings made before the sign-off arrived were paid as they were booked.
            if (table.name == QLatin1String("tblFreigabe"))
                statements << SignOffRepository::arrivalStatement();
            statements << m_dialect.tableCompletion(table.name);
        }
        if (!createAsOwner(statements)) {
            *reason = m_db.lastReason();
            return m_db.lastFailure() == StoreFailure::Kind::Busy ? StoreFailure::Opening::Locked
                                                                  : StoreFailure::Opening::Other;
        }
    }
    // A missing index or trigger is no reason to refuse the data: each is added where possible, and
    // what is still missing is said once.
    QStringList notAdded;
    QStringList notCompleted;
    for (const Schema::Index& index : std::as_const(missingIndexes)) {
        if (index.unique() && !noDuplicates(index))
            continue;
        if (!mayCreate || !createAsOwner({m_dialect.indexStatement(index)})) {
            if (mayCreate && m_db.lastFailure() == StoreFailure::Kind::Busy) {
                *reason = m_db.lastReason();
                return StoreFailure::Opening::Locked;
            }
            notAdded += index.name;
        }
    }
    for (const QString& table : found->incomplete) {
        if (!mayCreate || !createAsOwner(m_dialect.tableCompletion(table)))
            notCompleted += table;
    }
    // Where they cannot be installed (a file that cannot be written now, a login that creates nothing),
    // the project list adds up every row itself, as correct and only slower.
    if (!sumsWhole && mayCreate)
        createAsOwner(sums.installStatements(sumsMissing));
    const QString openOnce = mayCreate ? QString()
                                       : QStringLiteral(" Anlegen darf sie nur %1: Sie muss die Datenbank "
                                                        "einmal mit Zelvora öffnen.")
                                             .arg(administrator);
    if (found->rightsIncomplete || !missingTables.isEmpty())
        completeRights(mayCreate, openOnce);
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
    return StoreFailure::Opening::None;
}

void SchemaUpkeep::countKeptSums() {
    ProjectSums sums(m_db);
    // Opening installed the table and its triggers where it could: what they missed is counted anew.
    // Where that cannot be done now, they stay unused and each list adds up the rows itself.
    if (!sums.whole() && readOwner() && m_mayCreate)
        createAsOwner(sums.installStatements(false));
}

bool SchemaUpkeep::noDuplicates(const Schema::Index& index) {
    QStringList found;
    if (!m_db.read(index.duplicates, {}, [&](const DatabaseRow& row) {
            found += QStringLiteral("Projekt %1: Nr. %2 (%3-mal)").arg(row.text(0), row.text(1), row.text(2));
        })) {
        m_notices += m_db.lastReason();
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

bool SchemaUpkeep::setUp(QString* reason) {
    bool created = m_db.beginTransaction();
    for (const QString& statement : m_dialect.createStatements() + ProjectSums(m_db).installStatements(true))
        created = created && m_db.exec(statement);
    // Each list in one statement: a server answers each statement over the network.
    const auto insertAll = [this](const QString& table, const QString& field, const QStringList& names) {
        return names.isEmpty() ||
               m_db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                             .arg(table, field, QStringList(names.size(), QStringLiteral("(?)")).join(u',')),
                         QVariantList(names.cbegin(), names.cend()));
    };
    // The presets are where the journal begins, not its first entries.
    Journal journal(m_db);
    created = created && journal.suspend() &&
              insertAll(QStringLiteral("tblGewerk"), QStringLiteral("Gewerk"), Schema::presetTrades()) &&
              insertAll(QStringLiteral("tblKostengruppe"), QStringLiteral("Kostengruppe"),
                        Schema::presetCostGroups()) &&
              journal.install();
    created = created && m_db.commit();
    if (!created) {
        *reason = m_db.lastError();
        return false;
    }
    // The login that sets up the data holds every right. Where it may not create roles, the data are set
    // up all the same, with the function telling a right, and opening them says what is missing.
    runTogether(m_dialect.roleStatements(false));
    runTogether(m_dialect.grantStatements());
    return true;
}
