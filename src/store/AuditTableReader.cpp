#include "AuditTableReader.h"

#include "Database.h"
#include "Schema.h"

namespace {
using Kind = AuditTableReader::Kind;

// The project's rows of a table that names its project by the text of ProjektID.
const QString kOfProject = QStringLiteral("trim(ProjektID) = ?");

// A name field's folded value among the names that the project's bookings and estimate rows give it.
QString namedByRows(const QString& field, const QString& copy) {
    return QStringLiteral("fold(%1) IN (SELECT fold(%2) FROM tblBuchung WHERE %3 UNION "
                          "SELECT fold(%2) FROM tblNachtrag WHERE %3")
        .arg(field, copy, kOfProject);
}
} // namespace

QStringList AuditTableReader::tables() {
    return {QStringLiteral("tblProjekt"),        QStringLiteral("tblFirma"),
            QStringLiteral("tblGewerk"),         QStringLiteral("tblKostengruppe"),
            QStringLiteral("tblBuchung"),        QStringLiteral("tblNachtrag"),
            QStringLiteral("tblBudget"),         QStringLiteral("tblRechnungsdatei"),
            QStringLiteral("tblBankverbindung"), QStringLiteral("tblProtokoll")};
}

QList<AuditTableReader::Column> AuditTableReader::columns(const QString& table) {
    if (table == QLatin1String("tblRechnungsdatei"))
        return {{QStringLiteral("ID"), Kind::Key},          {QStringLiteral("BuchungID"), Kind::Count},
                {QStringLiteral("ProjektID"), Kind::Count}, {QStringLiteral("Dateiname"), Kind::Text},
                {QStringLiteral("Pruefsumme"), Kind::Text}, {QStringLiteral("Groesse"), Kind::Count}};
    static const QStringList days = {QStringLiteral("Datumwert"), QStringLiteral("AnweisungVom"),
                                     QStringLiteral("RechnungVom"), QStringLiteral("ArchitektDatum"),
                                     QStringLiteral("NachtragDatum")};
    QList<Column> columns;
    // Estimate rows have no key of their own; the journal names them by their row number.
    if (table == QLatin1String("tblNachtrag"))
        columns.append({QStringLiteral("rowid"), Kind::Key});
    for (const QString& field : Schema::fieldNames(table)) {
        // A project's number, wherever a row names its project, links the row to the projects.
        if (field == QLatin1String("ProjektID") && table != QLatin1String("tblBudget")) {
            columns.append({field, Kind::Count});
            continue;
        }
        switch (Schema::fieldKind(table, field)) {
        case Schema::FieldKind::Key:
            columns.append({field, Kind::Key});
            break;
        case Schema::FieldKind::Amount:
            columns.append({field, Kind::Amount});
            break;
        case Schema::FieldKind::Integer:
        case Schema::FieldKind::Total:
            columns.append({field, days.contains(field) ? Kind::Day : Kind::Count});
            break;
        default:
            columns.append({field, Kind::Text});
        }
    }
    return columns;
}

bool AuditTableReader::read(const QString& table, const Scope& scope,
                            const std::function<void(const DatabaseRow&)>& visit) {
    const QString project = scope.projectId.trimmed();
    QStringList conditions;
    QVariantList values;
    const auto forProject = [&](const QString& condition, int times = 1) {
        if (project.isEmpty())
            return;
        conditions += condition;
        for (int i = 0; i < times; ++i)
            values += project;
    };
    // The bookings within the period (of the project when one is chosen).
    QStringList bookingConditions;
    QVariantList bookingValues;
    if (!project.isEmpty()) {
        bookingConditions += kOfProject;
        bookingValues += project;
    }
    if (scope.fromDay) {
        bookingConditions += QStringLiteral("AnweisungVom >= ?");
        bookingValues += *scope.fromDay;
    }
    if (scope.toDay) {
        bookingConditions += QStringLiteral("AnweisungVom <= ?");
        bookingValues += *scope.toDay;
    }

    QString order = QStringLiteral("ID");
    if (table == QLatin1String("tblProjekt")) {
        forProject(QStringLiteral("ID = ?"));
    } else if (table == QLatin1String("tblFirma")) {
        forProject(namedByRows(QStringLiteral("Name"), QStringLiteral("Firma")) + QLatin1Char(')'), 2);
    } else if (table == QLatin1String("tblGewerk") || table == QLatin1String("tblKostengruppe")) {
        const bool trades = table == QLatin1String("tblGewerk");
        const QString field = trades ? QStringLiteral("Gewerk") : QStringLiteral("Kostengruppe");
        const QString ofCompanies = trades ? QStringLiteral("GewerkID") : QStringLiteral("KostengruppeID");
        forProject(namedByRows(field, field) +
                       QStringLiteral(" UNION SELECT fold(%1) FROM tblFirma WHERE %2)")
                           .arg(ofCompanies, namedByRows(QStringLiteral("Name"), QStringLiteral("Firma"))) +
                       QLatin1Char(')'),
                   4);
    } else if (table == QLatin1String("tblBuchung")) {
        conditions = bookingConditions;
        values = bookingValues;
    } else if (table == QLatin1String("tblNachtrag")) {
        forProject(kOfProject);
        order = QStringLiteral("rowid");
    } else if (table == QLatin1String("tblBudget")) {
        order = QStringLiteral("ProjektID");
        if (!project.isEmpty()) {
            conditions += QStringLiteral("ProjektID = ?");
            values += project.toLongLong();
        }
    } else if (table == QLatin1String("tblRechnungsdatei")) {
        // Within a period only the files of the bookings handed over, so that each names a booking there.
        if (scope.limited()) {
            conditions += QStringLiteral("BuchungID IN (SELECT ID FROM tblBuchung WHERE %1)")
                              .arg(bookingConditions.join(QStringLiteral(" AND ")));
            values += bookingValues;
        } else {
            forProject(kOfProject);
        }
    } else if (table == QLatin1String("tblBankverbindung")) {
        forProject(QStringLiteral("FirmaID IN (SELECT ID FROM tblFirma WHERE %1))")
                       .arg(namedByRows(QStringLiteral("Name"), QStringLiteral("Firma"))),
                   2);
    } else if (table == QLatin1String("tblProtokoll")) {
        forProject(QStringLiteral("ProjektID = ?"));
        if (!scope.fromTime.isEmpty()) {
            conditions += QStringLiteral("Zeit >= ?");
            values += scope.fromTime;
        }
        if (!scope.toTime.isEmpty()) {
            conditions += QStringLiteral("Zeit < ?");
            values += scope.toTime;
        }
    }

    QStringList fields;
    for (const Column& column : columns(table)) {
        if (column.name == QLatin1String("Groesse"))
            fields += QStringLiteral("length(Inhalt)");
        else
            fields += Schema::column(column.name);
    }
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4")
            .arg(fields.join(QStringLiteral(", ")), table,
                 conditions.isEmpty() ? QString()
                                      : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND ")),
                 order);
    return m_db.stream(sql, values, visit);
}

QString AuditTableReader::lastError() const {
    return m_db.lastError();
}
