#include "PostgresSignOff.h"

#include "SignOff.h"
#include "SignOffChecks.h"

namespace {

QString quoted(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString word(BookingState state) {
    return quoted(stateWord(state));
}

QString function(const QString& name, const QString& body, const QString& declarations = QString()) {
    return QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql SECURITY DEFINER "
                          "SET search_path FROM CURRENT AS $$%2BEGIN %3 END$$")
        .arg(name, declarations.isEmpty() ? QString() : QStringLiteral("DECLARE ") + declarations + u' ',
             body);
}

// Refuses with text, which may name the booking through the variable nr.
QString refuse(const QString& text, bool named = true) {
    return QStringLiteral("RAISE EXCEPTION '%' , %1 USING ERRCODE = '%2';")
        .arg(named ? QStringLiteral("nr || ': ' || ") + quoted(text) : quoted(text),
             PostgresSignOff::refusalState());
}

QString setting(const QString& name, const QString& fallback) {
    return QStringLiteral(
               "coalesce((SELECT Wert FROM tblEinstellung WHERE Name = '%1' ORDER BY rowid DESC LIMIT "
               "1), '%2') = '1'")
        .arg(name, fallback);
}

QString tuple(const QString& row, const QStringList& fields) {
    QStringList qualified;
    for (const QString& field : fields)
        qualified += row + field;
    return u'(' + qualified.join(QStringLiteral(", ")) + u')';
}

QString rightFunction() {
    return QStringLiteral(
        "CREATE OR REPLACE FUNCTION zlv_recht(recht text) RETURNS boolean LANGUAGE sql STABLE SECURITY "
        "DEFINER "
        "SET search_path FROM CURRENT AS $$SELECT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = "
        "current_database() || '_' || recht) AND pg_has_role(session_user, current_database() || '_' || "
        "recht, "
        "'MEMBER')$$");
}

QString checkFunction() {
    const QStringList fixed = {
        QStringLiteral("BuchungID"),       QStringLiteral("ProjektID"),      QStringLiteral("ErfasstVon"),
        QStringLiteral("ErfasstAm"),       QStringLiteral("SachlichVon"),    QStringLiteral("SachlichAm"),
        QStringLiteral("FestgestelltVon"), QStringLiteral("FestgestelltAm"), QStringLiteral("AngeordnetVon"),
        QStringLiteral("AngeordnetAm"),    QStringLiteral("Hinweis")};
    const QString recorded = word(BookingState::Recorded);
    const QString factually = word(BookingState::FactuallyRight);
    const QString confirmed = word(BookingState::Confirmed);
    const QString ordered = word(BookingState::Ordered);
    const QString paid = word(BookingState::Paid);
    const QString body =
        QStringLiteral(
            "IF TG_OP = 'DELETE' THEN IF EXISTS (SELECT 1 FROM tblBuchung WHERE ID = OLD.BuchungID) THEN ") +
        refuse(QStringLiteral("Der Stand einer gespeicherten Buchung wird nicht gelöscht."), false) +
        QStringLiteral(
            " END IF; RETURN OLD; END IF; "
            "IF TG_OP = 'INSERT' THEN "
            "IF EXISTS (SELECT 1 FROM tblFreigabe WHERE BuchungID = NEW.BuchungID) THEN RETURN NULL; END IF; "
            "SELECT trim(ProjektID) INTO p FROM tblBuchung WHERE ID = NEW.BuchungID; "
            "NEW.ProjektID := p; NEW.Status := %1; NEW.ErfasstVon := wer; NEW.ErfasstAm := jetzt; "
            "NEW.SachlichVon := NULL; NEW.SachlichAm := NULL; NEW.FestgestelltVon := NULL; "
            "NEW.FestgestelltAm := NULL; NEW.AngeordnetVon := NULL; NEW.AngeordnetAm := NULL; "
            "NEW.BezahltAm := NULL; NEW.StornoZu := NULL; NEW.Grund := NULL; NEW.Hinweis := NULL; "
            "RETURN NEW; END IF; ")
            .arg(recorded) +
        QStringLiteral(
            "SELECT format('Buchung Nr. %s im Projekt %s', coalesce(PID::text, '?'), trim(ProjektID)) "
            "INTO nr FROM tblBuchung WHERE ID = OLD.BuchungID; "
            "nr := coalesce(nr, format('Buchung %s', OLD.BuchungID)); ") +
        QStringLiteral("IF %1 IS DISTINCT FROM %2 THEN ")
            .arg(tuple(QStringLiteral("NEW."), fixed), tuple(QStringLiteral("OLD."), fixed)) +
        refuse(QStringLiteral("Wer einen Schritt wann getan hat, trägt der Datenbankserver selbst ein.")) +
        QStringLiteral(" END IF; ") +
        // A counter-booking is linked to the booking it cancels by its recorder, once.
        QStringLiteral(
            "IF NEW.StornoZu IS DISTINCT FROM OLD.StornoZu OR NEW.Grund IS DISTINCT FROM OLD.Grund THEN "
            "IF OLD.StornoZu IS NOT NULL OR OLD.Status <> %1 OR NEW.Status <> %1 OR OLD.ErfasstVon IS "
            "DISTINCT FROM wer OR NEW.StornoZu IS NULL OR coalesce(btrim(NEW.Grund), '') = '' THEN ")
            .arg(recorded) +
        refuse(QStringLiteral("Ein Storno wird nur beim Erfassen seiner Gegenbuchung mit ihr und dem Grund "
                              "verknüpft.")) +
        QStringLiteral(" END IF; IF NOT zlv_recht('erfassen') THEN ") +
        refuse(SignOffChecks::rightMissing(QStringLiteral("erfassen"))) +
        QStringLiteral(
            " END IF; IF NOT EXISTS (SELECT 1 FROM tblFreigabe f JOIN tblBuchung o ON o.ID = f.BuchungID "
            "JOIN tblBuchung g ON g.ID = NEW.BuchungID WHERE f.BuchungID = NEW.StornoZu AND f.Status IN "
            "(%1, %2) AND f.StornoZu IS NULL AND trim(o.ProjektID) = trim(g.ProjektID) AND "
            "round(o.Betrag::numeric * 100) = -round(g.Betrag::numeric * 100)) THEN ")
            .arg(ordered, paid) +
        refuse(QStringLiteral(
            "Storniert wird nur eine angeordnete Buchung desselben Projekts, mit ihrem negativen "
            "Betrag.")) +
        QStringLiteral(
            " END IF; IF EXISTS (SELECT 1 FROM tblFreigabe WHERE StornoZu = NEW.StornoZu AND BuchungID "
            "<> NEW.BuchungID) THEN ") +
        refuse(QStringLiteral("Die Buchung ist bereits storniert.")) + QStringLiteral(" END IF; END IF; ") +
        QStringLiteral("IF NEW.Status IS NOT DISTINCT FROM OLD.Status THEN IF NEW.BezahltAm IS DISTINCT FROM "
                       "OLD.BezahltAm THEN ") +
        refuse(QStringLiteral("Der Tag der Zahlung wird nur mit dem Schritt „bezahlt“ eingetragen.")) +
        QStringLiteral(" END IF; RETURN NEW; END IF; ") +
        QStringLiteral("vier := %1; zwei := %2; ")
            .arg(setting(QStringLiteral("VierAugen"), QStringLiteral("1")),
                 setting(QStringLiteral("ZweiStufig"), QStringLiteral("0"))) +
        QStringLiteral(
            "weiter := CASE OLD.Status WHEN %1 THEN CASE WHEN zwei THEN %2 ELSE %3 END WHEN %2 THEN %3 "
            "WHEN %3 THEN %4 WHEN %4 THEN %5 END; ")
            .arg(recorded, factually, confirmed, ordered, paid) +
        QStringLiteral("IF weiter IS NULL OR NEW.Status IS DISTINCT FROM weiter THEN ") +
        refuse(SignOffChecks::stepRefusal()) + QStringLiteral(" END IF; ") +
        QStringLiteral("IF NEW.BezahltAm IS DISTINCT FROM OLD.BezahltAm AND weiter <> %1 THEN ").arg(paid) +
        refuse(QStringLiteral("Der Tag der Zahlung wird nur mit dem Schritt „bezahlt“ eingetragen.")) +
        QStringLiteral(" END IF; IF weiter IN (%1, %2) THEN IF NOT zlv_recht('feststellen') THEN ")
            .arg(factually, confirmed) +
        refuse(SignOffChecks::rightMissing(QStringLiteral("feststellen"))) +
        QStringLiteral(" END IF; IF vier AND wer = OLD.ErfasstVon THEN ") +
        refuse(SignOffChecks::ownBooking()) +
        QStringLiteral(" END IF; IF OLD.Status = %1 AND wer = OLD.SachlichVon THEN ").arg(factually) +
        refuse(SignOffChecks::twoPersons()) +
        QStringLiteral(" END IF; IF weiter = %1 THEN NEW.SachlichVon := wer; NEW.SachlichAm := jetzt; ELSE "
                       "NEW.FestgestelltVon := wer; NEW.FestgestelltAm := jetzt; END IF; "
                       "ELSIF weiter = %2 THEN IF NOT zlv_recht('anordnen') THEN ")
            .arg(factually, ordered) +
        refuse(SignOffChecks::rightMissing(QStringLiteral("anordnen"))) +
        QStringLiteral(
            " END IF; IF vier AND wer IN (OLD.ErfasstVon, OLD.SachlichVon, OLD.FestgestelltVon) THEN ") +
        refuse(SignOffChecks::ownSignature()) +
        QStringLiteral(" END IF; NEW.AngeordnetVon := wer; NEW.AngeordnetAm := jetzt; "
                       "ELSE IF NOT zlv_recht('anordnen') THEN ") +
        refuse(SignOffChecks::rightMissing(QStringLiteral("anordnen"))) +
        QStringLiteral(" END IF; IF NEW.BezahltAm IS NULL THEN ") +
        refuse(QStringLiteral("Es fehlt der Tag der Zahlung.")) +
        QStringLiteral(" END IF; END IF; RETURN NEW;");
    return function(
        QStringLiteral("zlv_freigabe_pruefen"), body,
        QStringLiteral("wer text := session_user; jetzt text := to_char(clock_timestamp() AT TIME "
                       "ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'); vier boolean; zwei boolean; "
                       "p text; nr text; weiter text;"));
}

QString guardFunction() {
    const QStringList fixed = SignOffChecks::fixedBookingFields();
    const QString body =
        QStringLiteral(
            "IF TG_OP = 'UPDATE' AND %1 IS NOT DISTINCT FROM %2 THEN RETURN NEW; END IF; "
            "IF NOT EXISTS (SELECT 1 FROM tblFreigabe WHERE BuchungID = OLD.ID AND Status IN (%3)) THEN "
            "IF TG_OP = 'UPDATE' THEN RETURN NEW; END IF; RETURN OLD; END IF; "
            "IF TG_OP = 'DELETE' AND NOT EXISTS (SELECT 1 FROM tblProjekt WHERE ID::text = "
            "trim(OLD.ProjektID)) AND zlv_recht('verwalten') THEN RETURN OLD; END IF; "
            "nr := format('Buchung Nr. %s im Projekt %s', coalesce(OLD.PID::text, '?'), "
            "trim(OLD.ProjektID)); "
            "IF TG_OP = 'UPDATE' THEN ")
            .arg(tuple(QStringLiteral("NEW."), fixed), tuple(QStringLiteral("OLD."), fixed),
                 SignOffChecks::finalStatesList()) +
        refuse(SignOffChecks::changeRefusal()) + QStringLiteral(" END IF; ") +
        refuse(SignOffChecks::removalRefusal());
    return function(QStringLiteral("zlv_freigabe_schutz"), body, QStringLiteral("nr text;"));
}

} // namespace

QString PostgresSignOff::refusalState() {
    return QStringLiteral("ZL001");
}

QStringList PostgresSignOff::statements() {
    return {
        rightFunction(),
        checkFunction(),
        guardFunction(),
        function(QStringLiteral("zlv_freigabe_buchung"),
                 QStringLiteral(
                     "IF TG_OP = 'INSERT' THEN INSERT INTO tblFreigabe (BuchungID, ProjektID, Status) "
                     "VALUES (NEW.ID, trim(NEW.ProjektID), %1) ON CONFLICT (BuchungID) DO NOTHING; ELSE "
                     "DELETE FROM tblFreigabe WHERE BuchungID = OLD.ID; END IF; RETURN NULL;")
                     .arg(word(BookingState::Recorded))),
        function(QStringLiteral("zlv_freigabe_leeren"),
                 refuse(QStringLiteral("Der Stand der Buchungen wird nicht geleert."), false)),
        QStringLiteral("REVOKE INSERT, DELETE, TRUNCATE ON tblFreigabe FROM PUBLIC"),
        QStringLiteral("CREATE OR REPLACE TRIGGER zlv_freigabe_pruefen BEFORE INSERT OR UPDATE OR DELETE ON "
                       "tblFreigabe FOR EACH ROW EXECUTE FUNCTION zlv_freigabe_pruefen()"),
        QStringLiteral(
            "CREATE OR REPLACE TRIGGER zlv_freigabe_leeren BEFORE TRUNCATE ON tblFreigabe FOR EACH "
            "STATEMENT EXECUTE FUNCTION zlv_freigabe_leeren()"),
        QStringLiteral(
            "CREATE OR REPLACE TRIGGER zlv_freigabe_schutz BEFORE UPDATE OR DELETE ON tblBuchung FOR "
            "EACH ROW EXECUTE FUNCTION zlv_freigabe_schutz()"),
        QStringLiteral(
            "CREATE OR REPLACE TRIGGER zlv_freigabe AFTER INSERT OR DELETE ON tblBuchung FOR EACH ROW "
            "EXECUTE FUNCTION zlv_freigabe_buchung()"),
    };
}

QStringList PostgresSignOff::droppingStatements() {
    return {QStringLiteral("SET LOCAL client_min_messages TO warning"),
            QStringLiteral("DROP TRIGGER IF EXISTS zlv_freigabe_pruefen ON tblFreigabe"),
            QStringLiteral("DROP TRIGGER IF EXISTS zlv_freigabe ON tblBuchung")};
}
