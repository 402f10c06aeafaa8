#include "SqliteJournal.h"

#include "Schema.h"

namespace {

const QString kPrefix = QStringLiteral("zlv_protokoll_");

// The INSERT of one entry whose table, row, project, action, count, old and new values are the SQL
// expressions given, recorded only where condition holds.
QString entry(const QStringList& given, const QString& condition = QString()) {
    const Schema::Table journal = Schema::journal();
    QStringList columns;
    for (const Schema::Field& field : journal.fields.mid(1))
        columns += field.name;
    const QStringList names = {QStringLiteral("t"), QStringLiteral("r"), QStringLiteral("p"),
                               QStringLiteral("a"), QStringLiteral("n"), QStringLiteral("o"),
                               QStringLiteral("w")};
    QStringList inner = {QStringLiteral("zlv_protokoll_zeit() AS z"),
                         QStringLiteral("zlv_protokoll_wer() AS b"),
                         QStringLiteral("zlv_protokoll_wo() AS s")};
    for (qsizetype i = 0; i < names.size(); ++i)
        inner += given.at(i) + QStringLiteral(" AS ") + names.at(i);
    inner += QStringLiteral("zlv_protokoll_vorgang() AS g");
    inner += QStringLiteral("coalesce((SELECT Hash FROM tblProtokoll ORDER BY ID DESC LIMIT 1), '') AS v");
    // In the order of Schema::journalContent(), then the hash before.
    const QString content = QStringLiteral("z, b, s, t, r, p, a, g, n, o, w, v");
    return QStringLiteral(
               "INSERT INTO tblProtokoll (%1) SELECT %2, zlv_protokoll_hash(%2) FROM (SELECT %3)%4")
        .arg(columns.join(QStringLiteral(", ")), content, inner.join(QStringLiteral(", ")),
             condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition);
}

QString text(const QString& expression) {
    return QStringLiteral("CAST(%1 AS TEXT)").arg(expression);
}

QString quoted(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

} // namespace

QStringList SqliteJournal::connectionTriggers() {
    QStringList statements;
    for (const Schema::Journaled& table : Schema::journaled()) {
        const auto values = [&](const QString& row) {
            QStringList pairs;
            for (const Schema::Field& field : table.fields)
                pairs << quoted(field.name) << row + Schema::column(field.name);
            return QStringLiteral("zlv_protokoll_werte(%1)").arg(pairs.join(QStringLiteral(", ")));
        };
        QStringList triples;
        for (const Schema::Field& field : table.fields) {
            if (!table.filledWithRow.contains(field.name))
                triples << quoted(field.name) << QStringLiteral("OLD.") + Schema::column(field.name)
                        << QStringLiteral("NEW.") + Schema::column(field.name);
        }
        const QString changes = triples.join(QStringLiteral(", "));
        const auto project = [&](const QString& row) {
            return table.project.isEmpty() ? QStringLiteral("NULL")
                                           : QStringLiteral("trim(%1)").arg(text(row + table.project));
        };
        const QString name = quoted(table.table);
        const QString stem = kPrefix + table.table.toLower();
        if (!table.followsRow)
            statements +=
                QStringLiteral("CREATE TEMP TRIGGER %1_neu AFTER INSERT ON main.%2 BEGIN %3; END")
                    .arg(stem, table.table,
                         entry({name, text(QStringLiteral("NEW.") + table.key),
                                project(QStringLiteral("NEW.")), QStringLiteral("'Neu'"), QStringLiteral("1"),
                                QStringLiteral("NULL"), values(QStringLiteral("NEW."))}));
        if (!table.followsRow)
            statements +=
                QStringLiteral("CREATE TEMP TRIGGER %1_geloescht AFTER DELETE ON main.%2 BEGIN %3; END")
                    .arg(
                        stem, table.table,
                        entry({name, text(QStringLiteral("OLD.") + table.key),
                               project(QStringLiteral("OLD.")), QStringLiteral("'Gelöscht'"),
                               QStringLiteral("1"), values(QStringLiteral("OLD.")), QStringLiteral("NULL")}));
        // Only the tables holding copies of master names see a name change collected.
        const bool collected = !table.cascaded.isEmpty();
        statements +=
            QStringLiteral("CREATE TEMP TRIGGER %1_geaendert AFTER UPDATE ON main.%2%4 BEGIN %3; END")
                .arg(stem, table.table,
                     entry({name, text(QStringLiteral("NEW.") + table.key), project(QStringLiteral("NEW.")),
                            QStringLiteral("'Geändert'"), QStringLiteral("1"),
                            QStringLiteral("zlv_protokoll_alt(%1)").arg(changes),
                            QStringLiteral("zlv_protokoll_neu(%1)").arg(changes)},
                           QStringLiteral("o IS NOT NULL")),
                     collected ? QStringLiteral(" WHEN NOT zlv_protokoll_sammelt()") : QString());
        if (collected)
            statements +=
                QStringLiteral("CREATE TEMP TRIGGER %1_gesammelt AFTER UPDATE ON main.%2 WHEN "
                               "zlv_protokoll_sammelt() BEGIN SELECT zlv_protokoll_sammle(%3, %4, %5); END")
                    .arg(stem, table.table, name, project(QStringLiteral("NEW.")), changes);
    }
    return statements;
}

QStringList SqliteJournal::droppingTriggers() {
    QStringList statements;
    for (const Schema::Journaled& table : Schema::journaled()) {
        for (const QString& suffix : {QStringLiteral("_neu"), QStringLiteral("_geloescht"),
                                      QStringLiteral("_geaendert"), QStringLiteral("_gesammelt")})
            statements += QStringLiteral("DROP TRIGGER IF EXISTS temp.%1%2%3")
                              .arg(kPrefix, table.table.toLower(), suffix);
    }
    return statements;
}

QStringList SqliteJournal::guard() {
    const QString refusal = QStringLiteral("Das Änderungsprotokoll kann nur ergänzt, nicht geändert oder "
                                           "gekürzt werden.");
    QStringList statements;
    for (const QString& action : {QStringLiteral("UPDATE"), QStringLiteral("DELETE")})
        statements += QStringLiteral("CREATE TRIGGER IF NOT EXISTS zlv_protokoll_schutz_%1 BEFORE %2 ON "
                                     "tblProtokoll BEGIN SELECT RAISE(ABORT, %3); END")
                          .arg(action.toLower(), action, quoted(refusal));
    return statements;
}

QString SqliteJournal::entryStatement() {
    return entry({QStringLiteral("?"), QStringLiteral("?"), QStringLiteral("?"), QStringLiteral("?"),
                  QStringLiteral("?"), QStringLiteral("?"), QStringLiteral("?")});
}
