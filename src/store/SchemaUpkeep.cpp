#include "SchemaUpkeep.h"

#include "Database.h"
#include "Dialect.h"
#include "Journal.h"
#include "Link.h"
#include "ProjectSums.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

SchemaUpkeep::SchemaUpkeep(Database& db, const Link& link, const Dialect& dialect, QStringList& notices)
    : m_db(db), m_link(link), m_dialect(dialect), m_notices(notices) {}

QStringList SchemaUpkeep::tables(bool* ok) {
    QStringList names;
    *ok = m_db.read(m_dialect.tableListQuery(), {}, [&](const DatabaseRow& row) { names += row.text(0); });
    return names;
}

StoreFailure::Opening SchemaUpkeep::check(QString* reason) {
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.prepare(m_dialect.fieldListQuery()))
        return m_link.openFailure(query.lastError(), reason);
    for (const QString& table : Schema::tableNames()) {
        query.bindValue(0, table);
        if (!query.exec())
            return m_link.openFailure(query.lastError(), reason);
        QStringList present;
        while (query.next())
            present += query.value(0).toString();
        if (query.lastError().isValid())
            return m_link.openFailure(query.lastError(), reason);
        query.finish();
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

StoreFailure::Opening SchemaUpkeep::complete(QString* reason) {
    m_notices.clear();
    // Only a database that lacks a table, an index or a trigger is written to, so that opening a file
    // that other programs are writing to waits for no one.
    QStringList present;
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.exec(m_dialect.indexListQuery()))
        return m_link.openFailure(query.lastError(), reason);
    while (query.next())
        present += query.value(0).toString();
    if (query.lastError().isValid())
        return m_link.openFailure(query.lastError(), reason);
    query.finish();
    // The program's tables that a query names, as the program spells them.
    const auto names = [this](const std::optional<QString>& sql, QStringList* found) {
        return !sql || m_db.read(*sql, {}, [&](const DatabaseRow& row) {
            const QString name = row.text(0);
            const QStringList own = Schema::allTableNames().filter(QRegularExpression(
                u'^' + QRegularExpression::escape(name) + u'$', QRegularExpression::CaseInsensitiveOption));
            *found += own.isEmpty() ? name : own.first();
        });
    };
    const auto tablesNamed = [](const QStringList& tables) {
        return (tables.size() == 1 ? QStringLiteral("die Tabelle ") : QStringLiteral("die Tabellen ")) +
               tables.join(QStringLiteral(", "));
    };
    // A login that may not read the data would fail at every list: it is refused now.
    QStringList unreadable;
    if (!names(m_dialect.unreadableTablesQuery(), &unreadable)) {
        *reason = m_db.lastReason();
        return StoreFailure::Opening::Other;
    }
    if (!unreadable.isEmpty()) {
        *reason = QStringLiteral("Ihre Anmeldung darf %1 nicht lesen. Die Verwaltung des "
                                 "Datenbankservers muss Ihnen die Rechte der Sachbearbeiter geben.")
                      .arg(tablesNamed(unreadable));
        return StoreFailure::Opening::NoPermission;
    }
    QStringList missingTables;
    bool ok = false;
    const QStringList tablesPresent = tables(&ok);
    QStringList incomplete;
    if (!ok || !names(m_dialect.incompleteTablesQuery(), &incomplete)) {
        *reason = m_db.lastReason();
        return StoreFailure::Opening::Other;
    }
    for (const Schema::Table& table : Schema::addedTables()) {
        if (!tablesPresent.contains(table.name, Qt::CaseInsensitive))
            missingTables += table.name;
    }
    QList<Schema::Index> missingIndexes;
    for (const Schema::Index& index : Schema::indexes()) {
        if (!present.contains(index.name, Qt::CaseInsensitive))
            missingIndexes += index;
    }
    // The sums each project's rows keep, unless they are known whole, are installed afresh and recounted.
    ProjectSums sums(m_db);
    const bool sumsMissing = !tablesPresent.contains(Schema::projectSums().name, Qt::CaseInsensitive);
    const bool sumsWhole = !sumsMissing && sums.whole();
    if (missingTables.isEmpty() && incomplete.isEmpty() && missingIndexes.isEmpty() && sumsWhole)
        return StoreFailure::Opening::None;

    // What the program creates belongs to the database's owner: a login that may act as the owner
    // creates it as the owner; another creates nothing.
    QString owner;
    bool mayCreate = true;
    const std::optional<QString> ownerQuery = m_dialect.ownerQuery();
    if (ownerQuery && !m_db.read(*ownerQuery, {}, [&](const DatabaseRow& row) {
            owner = row.text(0);
            mayCreate = row.text(1) == QLatin1String("t");
        })) {
        *reason = m_db.lastReason();
        return StoreFailure::Opening::Other;
    }
    const QString administrator =
        QStringLiteral("die Verwaltung der Datenbank (die Rolle %1 oder ein Mitglied von ihr)").arg(owner);
    const auto actingAsOwner = [&] {
        const std::optional<QString> actAs = m_dialect.actAsStatement(owner);
        return !actAs || m_db.exec(*actAs);
    };
    const auto createAsOwner = [&](const QStringList& statements) {
        bool created = m_db.beginTransaction() && actingAsOwner();
        for (const QString& statement : statements)
            created = created && m_db.exec(statement);
        created = created && m_db.commit();
        if (!created)
            m_db.rollback();
        return created;
    };
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
            if (missingTables.contains(table.name))
                statements << m_dialect.tableStatement(table) << m_dialect.tableCompletion(table.name);
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
    for (const QString& table : std::as_const(incomplete)) {
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
    if (!created)
        *reason = m_db.lastError();
    return created;
}
