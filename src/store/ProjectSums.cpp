#include "ProjectSums.h"

#include "Database.h"
#include "Dialect.h"

#include <QSet>

namespace {

const QString kTriggers = QStringLiteral("zlv_summe");

// The project's key of a row: its ProjektID without surrounding blanks; a missing one is empty.
QString key(const QString& row) {
    return QStringLiteral("coalesce(trim(%1ProjektID), '')").arg(row);
}

} // namespace

QString ProjectSums::projectCondition(const QString& projectId) {
    // Through the index on the trimmed number; rows without a number have no index entry to find.
    return projectId.isEmpty() ? key(QString()) + QStringLiteral(" = ?")
                               : QStringLiteral("trim(ProjektID) = ?");
}

QString ProjectSums::oddRowsQuery(qsizetype index, const QString& projectId) const {
    const Schema::Summed summed = Schema::summed().at(index);
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 AND %4")
        .arg(summed.amount, summed.table, projectCondition(projectId), odd(summed.amount));
}

QString ProjectSums::odd(const QString& amount) const {
    // Beyond any amount as well: the engine could not add it in cents.
    return m_db.oddAmountCondition(amount);
}

QString ProjectSums::cents(const QString& amount) const {
    return QStringLiteral("CASE WHEN %1 THEN 0 ELSE coalesce(CAST(round(%2 * 100) AS BIGINT), 0) END")
        .arg(odd(amount), amount);
}

QString ProjectSums::oddCount(const QString& amount) const {
    return QStringLiteral("CASE WHEN %1 THEN 1 ELSE 0 END").arg(odd(amount));
}

bool ProjectSums::triggersActive(const QList<Schema::Summed>& tables) const {
    const Dialect& dialect = m_db.dialect();
    QSet<QString> active;
    if (!m_db.read(dialect.triggerListQuery(), {}, [&](const Database::Row& row) {
            active.insert(row.text(0).toLower() + u'.' + row.text(1).toLower());
        }))
        return false;
    for (const Schema::Summed& table : tables) {
        for (const QString& trigger : dialect.keepingTriggers(kTriggers, table.table)) {
            if (!active.contains(table.table.toLower() + u'.' + trigger.toLower()))
                return false;
        }
    }
    return true;
}

std::optional<QHash<QString, QList<ProjectSums::Kept>>> ProjectSums::read() const {
    const QList<Schema::Summed> summed = Schema::summed();
    if (!triggersActive(summed))
        return std::nullopt;
    QStringList fields;
    QStringList counts;
    for (const Schema::Summed& table : summed) {
        fields << QStringLiteral("k.") + table.cents << QStringLiteral("k.") + table.rows
               << QStringLiteral("k.") + table.odd;
        counts += QStringLiteral("(SELECT COUNT(*) FROM %1) AS n%2").arg(table.table).arg(counts.size());
    }
    // The rows of both tables counted in the same statement as the kept sums are read, so that both
    // see the same committed changes. One row at least, also when nothing is kept.
    const QString sql = QStringLiteral("SELECT k.ProjektID, %1, c.* FROM (SELECT %2) AS c LEFT JOIN %3 AS k "
                                       "ON 1 = 1")
                            .arg(fields.join(QStringLiteral(", ")), counts.join(QStringLiteral(", ")),
                                 Schema::projectSums().name);
    QHash<QString, QList<Kept>> kept;
    QList<qint64> keptRows(summed.size());
    QList<qint64> storedRows(summed.size());
    const int countsFrom = 1 + 3 * int(summed.size());
    const bool ran = m_db.read(sql, {}, [&](const Database::Row& row) {
        for (int i = 0; i < summed.size(); ++i)
            storedRows[i] = row.rowNumber(countsFrom + i);
        if (row.isNull(0))
            return;
        QList<Kept>& project = kept[row.text(0)];
        for (int i = 0; i < summed.size(); ++i) {
            project.append({row.rowNumber(1 + 3 * i), row.rowNumber(3 + 3 * i)});
            keptRows[i] += row.rowNumber(2 + 3 * i);
        }
    });
    if (!ran || keptRows != storedRows)
        return std::nullopt;
    return kept;
}

std::optional<ProjectSums::Kept> ProjectSums::readProject(qsizetype index, const QString& projectId,
                                                          const QString& company,
                                                          QStringList& spellings) const {
    const Schema::Summed summed = Schema::summed().at(index);
    if (!triggersActive({summed}))
        return std::nullopt;
    // The project's rows counted by name in the same statement as its kept values are read, as read()
    // does; the names are compared once each, not once per row.
    const QString sql =
        QStringLiteral(
            "WITH names AS MATERIALIZED (SELECT Firma, COUNT(*) AS n FROM %1 WHERE %2 GROUP BY Firma) "
            "SELECT k.%3, k.%4, k.%5, c.n, m.Firma FROM (SELECT coalesce(SUM(n), 0) AS n FROM names) "
            "AS c LEFT JOIN %6 AS k ON k.ProjektID = ? LEFT JOIN names AS m ON fold(m.Firma) = fold(?)")
            .arg(summed.table, projectCondition(projectId), summed.cents, summed.rows, summed.odd,
                 Schema::projectSums().name);
    Kept kept;
    qint64 keptRows = 0;
    qint64 storedRows = -1;
    QStringList found;
    const bool ran = m_db.read(sql, {projectId, projectId, company}, [&](const Database::Row& row) {
        storedRows = row.rowNumber(3);
        if (!row.isNull(4))
            found.append(row.text(4));
        if (row.isNull(0))
            return;
        kept = {row.rowNumber(0), row.rowNumber(2)};
        keptRows = row.rowNumber(1);
    });
    if (!ran || keptRows != storedRows)
        return std::nullopt;
    spellings = found;
    return kept;
}

bool ProjectSums::keptBy(const QSet<QString>& active) const {
    for (const Schema::Summed& table : Schema::summed()) {
        for (const QString& trigger : m_db.dialect().keepingTriggers(kTriggers, table.table)) {
            if (!active.contains(table.table.toLower() + u'.' + trigger.toLower()))
                return false;
        }
    }
    return true;
}

QStringList ProjectSums::installStatements(bool missing) const {
    const Dialect& dialect = m_db.dialect();
    const Schema::Table table = Schema::projectSums();
    QStringList statements;
    if (missing)
        statements += dialect.tableStatement(table);
    const QList<Schema::Summed> summed = Schema::summed();
    QStringList fields;
    for (const Schema::Summed& each : summed)
        fields << each.cents << each.rows << each.odd;
    QStringList counted;
    for (qsizetype i = 0; i < summed.size(); ++i) {
        const Schema::Summed& each = summed.at(i);
        // One row per project and table, its three values in this table's place, zeros elsewhere.
        QStringList values(fields.size(), QStringLiteral("0"));
        const auto valuesOf = [&](const QString& row) {
            QStringList own = values;
            own[3 * i] = cents(row + each.amount);
            own[3 * i + 1] = QStringLiteral("1");
            own[3 * i + 2] = oddCount(row + each.amount);
            return own;
        };
        QStringList added;
        QStringList removed;
        QStringList emptied;
        for (int part = 0; part < 3; ++part) {
            const QString field = fields.at(3 * i + part);
            added += QStringLiteral("%1 = %2.%1 + excluded.%1").arg(field, table.name);
            removed += QStringLiteral("%1 = %1 - (%2)")
                           .arg(field, valuesOf(QStringLiteral("OLD.")).at(3 * i + part));
            emptied += field + QStringLiteral(" = 0");
        }
        Dialect::Keeping keeping;
        keeping.name = kTriggers;
        keeping.table = each.table;
        keeping.watched = {QStringLiteral("ProjektID"), each.amount};
        keeping.added =
            QStringLiteral("INSERT INTO %1 (ProjektID, %2) VALUES (%3, %4) ON CONFLICT (ProjektID) DO "
                           "UPDATE SET %5")
                .arg(table.name, fields.join(QStringLiteral(", ")), key(QStringLiteral("NEW.")),
                     valuesOf(QStringLiteral("NEW.")).join(QStringLiteral(", ")),
                     added.join(QStringLiteral(", ")));
        keeping.removed =
            QStringLiteral("UPDATE %1 SET %2 WHERE ProjektID = %3")
                .arg(table.name, removed.join(QStringLiteral(", ")), key(QStringLiteral("OLD.")));
        keeping.emptied =
            QStringLiteral("UPDATE %1 SET %2").arg(table.name, emptied.join(QStringLiteral(", ")));
        statements += dialect.droppingStatements(kTriggers, each.table);
        statements += dialect.keepingStatements(keeping);

        QStringList grouped = valuesOf(QString());
        for (qsizetype part = 0; part < 3; ++part)
            grouped[3 * i + part] = part == 1 ? QStringLiteral("COUNT(*)")
                                              : QStringLiteral("SUM(%1)").arg(grouped.at(3 * i + part));
        for (qsizetype field = 0; field < grouped.size(); ++field)
            grouped[field] += QStringLiteral(" AS v%1").arg(field);
        counted += QStringLiteral("SELECT %1 AS k, %2 FROM %3 GROUP BY %1")
                       .arg(key(QString()), grouped.join(QStringLiteral(", ")), each.table);
    }
    QStringList totals;
    for (qsizetype field = 0; field < fields.size(); ++field)
        totals += QStringLiteral("SUM(v%1)").arg(field);
    statements << QStringLiteral("DELETE FROM ") + table.name
               << QStringLiteral(
                      "INSERT INTO %1 (ProjektID, %2) SELECT k, %3 FROM (%4) AS counted GROUP BY k")
                      .arg(table.name, fields.join(QStringLiteral(", ")), totals.join(QStringLiteral(", ")),
                           counted.join(QStringLiteral(" UNION ALL ")));
    return statements;
}

bool ProjectSums::suspend() {
    for (const Schema::Summed& each : Schema::summed()) {
        for (const QString& statement : m_db.dialect().droppingStatements(kTriggers, each.table)) {
            if (!m_db.exec(statement))
                return false;
        }
    }
    return true;
}

bool ProjectSums::install() {
    bool missing = true;
    if (!m_db.read(m_db.dialect().tableListQuery(), {}, [&](const Database::Row& row) {
            missing = missing && row.text(0).compare(Schema::projectSums().name, Qt::CaseInsensitive) != 0;
        }))
        return false;
    bool ok = true;
    for (const QString& statement : installStatements(missing))
        ok = ok && m_db.exec(statement);
    return ok;
}
