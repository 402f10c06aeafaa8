#include "SqliteSignOff.h"

#include "SignOffChecks.h"

namespace {

QString quoted(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

const QStringList kTriggers = {QStringLiteral("zlv_freigabe_neu"), QStringLiteral("zlv_freigabe_weg"),
                               QStringLiteral("zlv_freigabe_aendern"),
                               QStringLiteral("zlv_freigabe_loeschen"),
                               QStringLiteral("zlv_freigabe_schritt")};

} // namespace

QStringList SqliteSignOff::statements() {
    QStringList changed;
    for (const QString& field : SignOffChecks::fixedBookingFields())
        changed += QStringLiteral("NEW.%1 IS NOT OLD.%1").arg(field);
    const QString ordered = QStringLiteral("EXISTS (SELECT 1 FROM tblFreigabe WHERE BuchungID = OLD.ID AND "
                                           "Status IN (%1))")
                                .arg(SignOffChecks::finalStatesList());
    QStringList steps;
    for (const auto& [from, to] : SignOffChecks::steps())
        steps += QStringLiteral("(OLD.Status = %1 AND NEW.Status = %2)").arg(quoted(from), quoted(to));
    return {
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS %1 AFTER INSERT ON tblBuchung BEGIN INSERT OR IGNORE INTO "
            "tblFreigabe (BuchungID, ProjektID, Status, ErfasstAm) VALUES (NEW.ID, "
            "trim(NEW.ProjektID), %2, strftime('%Y-%m-%dT%H:%M:%fZ', 'now')); END")
            .arg(kTriggers.at(0), quoted(SignOffChecks::recorded())),
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS %1 AFTER DELETE ON tblBuchung BEGIN DELETE FROM tblFreigabe "
            "WHERE BuchungID = OLD.ID; END")
            .arg(kTriggers.at(1)),
        QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1 BEFORE UPDATE ON tblBuchung WHEN (%2) AND %3 BEGIN "
                       "SELECT RAISE(ABORT, %4); END")
            .arg(kTriggers.at(2), changed.join(QStringLiteral(" OR ")), ordered,
                 quoted(SignOffChecks::changeRefusal())),
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS %1 BEFORE DELETE ON tblBuchung WHEN %2 AND EXISTS (SELECT 1 "
            "FROM tblProjekt WHERE ID = CAST(trim(OLD.ProjektID) AS INTEGER)) BEGIN SELECT "
            "RAISE(ABORT, %3); END")
            .arg(kTriggers.at(3), ordered, quoted(SignOffChecks::removalRefusal())),
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS %1 BEFORE UPDATE OF Status ON tblFreigabe WHEN NEW.Status IS "
            "NOT OLD.Status AND NOT (%2) BEGIN SELECT RAISE(ABORT, %3); END")
            .arg(kTriggers.at(4), steps.join(QStringLiteral(" OR ")), quoted(SignOffChecks::stepRefusal())),
    };
}

QStringList SqliteSignOff::droppingStatements() {
    QStringList statements;
    for (const QString& trigger : kTriggers)
        statements += QStringLiteral("DROP TRIGGER IF EXISTS ") + trigger;
    return statements;
}
