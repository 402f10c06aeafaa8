#include "Schema.h"

#include <QList>
#include <QPair>
#include <QRegularExpression>

namespace {

// Tables and fields as the file holds them; the program needs every one of them.
const QList<QPair<QString, QStringList>>& tables() {
    static const QList<QPair<QString, QStringList>> list = {
        {QStringLiteral("tblProjekt"),
         {QStringLiteral("ID"), QStringLiteral("ProjektName"), QStringLiteral("Datumwert")}},
        {QStringLiteral("tblFirma"),
         {QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("Straße"), QStringLiteral("PLZ"),
          QStringLiteral("Ort"), QStringLiteral("Telefon1"), QStringLiteral("Telefon2"),
          QStringLiteral("Mobil"), QStringLiteral("eMail"), QStringLiteral("Ansprechpartner"),
          QStringLiteral("GewerkID"), QStringLiteral("KostengruppeID")}},
        {QStringLiteral("tblGewerk"), {QStringLiteral("ID"), QStringLiteral("Gewerk")}},
        {QStringLiteral("tblKostengruppe"), {QStringLiteral("ID"), QStringLiteral("Kostengruppe")}},
        {QStringLiteral("tblBuchung"),
         {QStringLiteral("ID"), QStringLiteral("PID"), QStringLiteral("ProjektID"), QStringLiteral("Projekt"),
          QStringLiteral("Firma"), QStringLiteral("Gewerk"), QStringLiteral("Kostengruppe"),
          QStringLiteral("AnweisungVom"), QStringLiteral("RechnungVom"), QStringLiteral("RechnungsNr"),
          QStringLiteral("Zahlungsart"), QStringLiteral("Bemerkungen"), QStringLiteral("Betrag")}},
        {QStringLiteral("tblNachtrag"),
         {QStringLiteral("NID"), QStringLiteral("ProjektID"), QStringLiteral("Projekt"),
          QStringLiteral("Firma"), QStringLiteral("Gewerk"), QStringLiteral("Kostengruppe"),
          QStringLiteral("ArchitektDatum"), QStringLiteral("ArchitektKosten"),
          QStringLiteral("NachtragDatum"), QStringLiteral("NachtragArt"), QStringLiteral("NachtragKosten")}},
    };
    return list;
}

} // namespace

QStringList Schema::tableStatements() {
    QStringList statements = {
        QStringLiteral("CREATE TABLE tblProjekt (ID INTEGER PRIMARY KEY AUTOINCREMENT, ProjektName TEXT, "
                       "Datumwert INTEGER)"),
        QStringLiteral(
            "CREATE TABLE tblFirma (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, \"Straße\" TEXT, "
            "PLZ TEXT, Ort TEXT, Telefon1 TEXT, Telefon2 TEXT, Mobil TEXT, eMail TEXT, "
            "Ansprechpartner TEXT, GewerkID TEXT, KostengruppeID TEXT)"),
        QStringLiteral("CREATE TABLE tblGewerk (ID INTEGER PRIMARY KEY AUTOINCREMENT, Gewerk TEXT)"),
        QStringLiteral(
            "CREATE TABLE tblKostengruppe (ID INTEGER PRIMARY KEY AUTOINCREMENT, Kostengruppe TEXT)"),
        QStringLiteral("CREATE TABLE tblBuchung (ID INTEGER PRIMARY KEY AUTOINCREMENT, PID INTEGER, "
                       "ProjektID TEXT, Projekt TEXT, Firma TEXT, Gewerk TEXT, Kostengruppe TEXT, "
                       "AnweisungVom INTEGER, RechnungVom INTEGER, RechnungsNr TEXT, Zahlungsart TEXT, "
                       "Bemerkungen TEXT, Betrag REAL)"),
        QStringLiteral("CREATE TABLE tblNachtrag (NID INTEGER, ProjektID TEXT, Projekt TEXT, Firma TEXT, "
                       "Gewerk TEXT, Kostengruppe TEXT, ArchitektDatum INTEGER, ArchitektKosten REAL, "
                       "NachtragDatum INTEGER, NachtragArt TEXT, NachtragKosten REAL)"),
    };
    return statements;
}

QList<Schema::Index> Schema::indexes() {
    return {
        {QStringLiteral("ixBuchungProjektID"), QStringLiteral("tblBuchung (ProjektID, ID)")},
        {QStringLiteral("ixBuchungFirma"), QStringLiteral("tblBuchung (Firma)")},
        {QStringLiteral("ixBuchungGewerk"), QStringLiteral("tblBuchung (Gewerk)")},
        {QStringLiteral("ixBuchungKostengruppe"), QStringLiteral("tblBuchung (Kostengruppe)")},
        {QStringLiteral("ixBuchungProjektFirma"), QStringLiteral("tblBuchung (ProjektID, Firma)")},
        {QStringLiteral("ixBuchungProjektGewerk"), QStringLiteral("tblBuchung (ProjektID, Gewerk)")},
        {QStringLiteral("ixBuchungProjektKostengruppe"),
         QStringLiteral("tblBuchung (ProjektID, Kostengruppe)")},
        // The program selects a project's rows by the project number without surrounding blanks, which
        // another program may have stored (" 3"). The distinct companies, trades and cost groups are
        // read from the index alone, which therefore holds the stored number too.
        {QStringLiteral("ixBuchungProjektIDTrim"), QStringLiteral("tblBuchung (trim(ProjektID), ID)")},
        {QStringLiteral("ixBuchungProjektFirmaTrim"),
         QStringLiteral("tblBuchung (trim(ProjektID), Firma, ProjektID)")},
        {QStringLiteral("ixBuchungProjektGewerkTrim"),
         QStringLiteral("tblBuchung (trim(ProjektID), Gewerk, ProjektID)")},
        {QStringLiteral("ixBuchungProjektKostengruppeTrim"),
         QStringLiteral("tblBuchung (trim(ProjektID), Kostengruppe, ProjektID)")},
        {QStringLiteral("ixNachtragProjektID"), QStringLiteral("tblNachtrag (ProjektID, NID)")},
        {QStringLiteral("ixNachtragProjektIDTrim"), QStringLiteral("tblNachtrag (trim(ProjektID), NID)")},
        {QStringLiteral("ixNachtragFirma"), QStringLiteral("tblNachtrag (Firma)")},
        {QStringLiteral("ixNachtragGewerk"), QStringLiteral("tblNachtrag (Gewerk)")},
        {QStringLiteral("ixNachtragKostengruppe"), QStringLiteral("tblNachtrag (Kostengruppe)")},
        {QStringLiteral("ixProjektDatumwert"), QStringLiteral("tblProjekt (Datumwert)")},
        {QStringLiteral("ixFirmaName"), QStringLiteral("tblFirma (Name)")},
        {QStringLiteral("ixFirmaGewerkID"), QStringLiteral("tblFirma (GewerkID)")},
        {QStringLiteral("ixFirmaKostengruppeID"), QStringLiteral("tblFirma (KostengruppeID)")},
        {QStringLiteral("ixGewerkGewerk"), QStringLiteral("tblGewerk (Gewerk)")},
        {QStringLiteral("ixKostengruppeKostengruppe"), QStringLiteral("tblKostengruppe (Kostengruppe)")},
        {QStringLiteral("ixRechnungsdateiProjekt"),
         QStringLiteral("tblRechnungsdatei (ProjektID, BuchungID)")},
        {QStringLiteral("ixRechnungsdateiBuchung"), QStringLiteral("tblRechnungsdatei (BuchungID)")},
        {QStringLiteral("ixRechnungsdateiPruefsumme"), QStringLiteral("tblRechnungsdatei (Pruefsumme)")},
        {QStringLiteral("ixUStIdNr"), QStringLiteral("tblUStIdNr (UStIdNr)")},
        // A running number is a booking's once in its project, also when the lock per project is missed.
        // Estimate rows are numbered per project and company, so their numbers repeat within a project.
        {QStringLiteral("uxBuchungProjektPID"), QStringLiteral("tblBuchung (trim(ProjektID), PID)"),
         QStringLiteral("SELECT trim(ProjektID), PID, COUNT(*) FROM tblBuchung WHERE PID IS NOT NULL "
                        "GROUP BY trim(ProjektID), PID HAVING COUNT(*) > 1 ORDER BY 1, 2")},
    };
}

QList<Schema::AddedTable> Schema::addedTables() {
    return {
        {QStringLiteral("tblBudget"),
         QStringLiteral("CREATE TABLE tblBudget (ProjektID INTEGER PRIMARY KEY, Budget REAL)")},
        // The original file of an e-invoice, kept with the booking paid from it.
        {QStringLiteral("tblRechnungsdatei"),
         QStringLiteral(
             "CREATE TABLE tblRechnungsdatei (ID INTEGER PRIMARY KEY AUTOINCREMENT, BuchungID INTEGER, "
             "ProjektID TEXT, Dateiname TEXT, Pruefsumme TEXT, Inhalt BLOB)")},
        // The VAT number a company's e-invoices gave, to find the company by it next time.
        {QStringLiteral("tblUStIdNr"),
         QStringLiteral("CREATE TABLE tblUStIdNr (ID INTEGER PRIMARY KEY AUTOINCREMENT, UStIdNr TEXT, "
                        "FirmaID INTEGER)")},
    };
}

QStringList Schema::tableNames() {
    QStringList names;
    for (const auto& table : tables())
        names += table.first;
    return names;
}

QStringList Schema::allTableNames() {
    QStringList names = tableNames();
    for (const AddedTable& table : addedTables())
        names += table.name;
    return names;
}

namespace {

QString statementOf(const QString& table) {
    for (const QString& statement : Schema::tableStatements()) {
        if (statement.startsWith(QStringLiteral("CREATE TABLE ") + table + QLatin1Char(' ')))
            return statement;
    }
    for (const Schema::AddedTable& added : Schema::addedTables()) {
        if (added.name == table)
            return added.statement;
    }
    return {};
}

} // namespace

QStringList Schema::fieldNames(const QString& table) {
    for (const auto& entry : tables()) {
        if (entry.first.compare(table, Qt::CaseInsensitive) == 0)
            return entry.second;
    }
    // An added table's fields as its statement declares them.
    QStringList names;
    const QString statement = statementOf(table);
    const QRegularExpression declared(QStringLiteral("[(,] *\"?(\\w+)\"? [A-Z]"));
    for (auto it = declared.globalMatch(statement.mid(statement.indexOf(u'('))); it.hasNext();)
        names += it.next().captured(1);
    return names;
}

Schema::FieldKind Schema::fieldKind(const QString& table, const QString& field) {
    const QRegularExpression declared(
        QStringLiteral("[(,] *\"?%1\"? (\\w+)( PRIMARY)?").arg(QRegularExpression::escape(field)));
    const QRegularExpressionMatch match = declared.match(statementOf(table));
    if (!match.hasMatch())
        return FieldKind::Text;
    if (!match.captured(2).isEmpty())
        return FieldKind::Key;
    if (match.captured(1) == QLatin1String("INTEGER"))
        return FieldKind::Integer;
    if (match.captured(1) == QLatin1String("REAL"))
        return FieldKind::Amount;
    if (match.captured(1) == QLatin1String("BLOB"))
        return FieldKind::Bytes;
    return FieldKind::Text;
}

QStringList Schema::presetTrades() {
    return {
        QStringLiteral("Abbrucharbeiten"),
        QStringLiteral("Erdarbeiten"),
        QStringLiteral("Mauerarbeiten"),
        QStringLiteral("Beton- und Stahlbetonarbeiten"),
        QStringLiteral("Zimmer- und Holzbauarbeiten"),
        QStringLiteral("Dachdeckungs- und Dachabdichtungsarbeiten"),
        QStringLiteral("Klempnerarbeiten"),
        QStringLiteral("Trockenbauarbeiten"),
        QStringLiteral("Putz- und Stuckarbeiten"),
        QStringLiteral("Fliesen- und Plattenarbeiten"),
        QStringLiteral("Estricharbeiten"),
        QStringLiteral("Tischlerarbeiten"),
        QStringLiteral("Metallbauarbeiten"),
        QStringLiteral("Maler- und Lackierarbeiten"),
        QStringLiteral("Bodenbelagarbeiten"),
        QStringLiteral("Heizanlagen"),
        QStringLiteral("Raumlufttechnische Anlagen"),
        QStringLiteral("Gas-, Wasser- und Entwässerungsanlagen"),
        QStringLiteral("Elektroanlagen"),
        QStringLiteral("Aufzugsanlagen"),
        QStringLiteral("Gerüstarbeiten"),
        QStringLiteral("Landschaftsbauarbeiten"),
        QStringLiteral("Architektenleistungen"),
        QStringLiteral("Tragwerksplanung"),
        QStringLiteral("Vermessung"),
        QStringLiteral("Gutachten"),
        QStringLiteral("Natursteinarbeiten"),
        QStringLiteral("Betonwerksteinarbeiten"),
        QStringLiteral("Schlosserarbeiten"),
        QStringLiteral("Verglasungsarbeiten"),
        QStringLiteral("Rollladenarbeiten"),
        QStringLiteral("Blitzschutzanlagen"),
        QStringLiteral("Dämm- und Brandschutzarbeiten"),
        QStringLiteral("Baureinigung"),
    };
}

QStringList Schema::presetCostGroups() {
    return {
        QStringLiteral("100 Grundstück"),
        QStringLiteral("110 Grundstückswert"),
        QStringLiteral("120 Grundstücksnebenkosten"),
        QStringLiteral("130 Rechte Dritter"),
        QStringLiteral("200 Vorbereitende Maßnahmen"),
        QStringLiteral("210 Herrichten"),
        QStringLiteral("220 Öffentliche Erschließung"),
        QStringLiteral("230 Nichtöffentliche Erschließung"),
        QStringLiteral("240 Ausgleichsmaßnahmen und -abgaben"),
        QStringLiteral("250 Übergangsmaßnahmen"),
        QStringLiteral("300 Bauwerk - Baukonstruktionen"),
        QStringLiteral("310 Baugrube/Erdbau"),
        QStringLiteral("320 Gründung, Unterbau"),
        QStringLiteral("330 Außenwände/Vertikale Baukonstruktionen, außen"),
        QStringLiteral("340 Innenwände/Vertikale Baukonstruktionen, innen"),
        QStringLiteral("350 Decken/Horizontale Baukonstruktionen"),
        QStringLiteral("360 Dächer"),
        QStringLiteral("370 Infrastrukturanlagen"),
        QStringLiteral("380 Baukonstruktive Einbauten"),
        QStringLiteral("390 Sonstige Maßnahmen für Baukonstruktionen"),
        QStringLiteral("400 Bauwerk - Technische Anlagen"),
        QStringLiteral("410 Abwasser-, Wasser-, Gasanlagen"),
        QStringLiteral("420 Wärmeversorgungsanlagen"),
        QStringLiteral("430 Raumlufttechnische Anlagen"),
        QStringLiteral("440 Elektrische Anlagen"),
        QStringLiteral("450 Kommunikations-, sicherheits- und informationstechnische Anlagen"),
        QStringLiteral("460 Förderanlagen"),
        QStringLiteral("470 Nutzungsspezifische und verfahrenstechnische Anlagen"),
        QStringLiteral("480 Gebäude- und Anlagenautomation"),
        QStringLiteral("490 Sonstige Maßnahmen für technische Anlagen"),
        QStringLiteral("500 Außenanlagen und Freiflächen"),
        QStringLiteral("510 Erdbau"),
        QStringLiteral("520 Gründung, Unterbau"),
        QStringLiteral("530 Oberbau, Deckschichten"),
        QStringLiteral("540 Baukonstruktionen"),
        QStringLiteral("550 Technische Anlagen"),
        QStringLiteral("560 Einbauten in Außenanlagen und Freiflächen"),
        QStringLiteral("570 Vegetationsflächen"),
        QStringLiteral("580 Wasserflächen"),
        QStringLiteral("590 Sonstige Maßnahmen für Außenanlagen und Freiflächen"),
        QStringLiteral("600 Ausstattung und Kunstwerke"),
        QStringLiteral("610 Allgemeine Ausstattung"),
        QStringLiteral("620 Besondere Ausstattung"),
        QStringLiteral("630 Informationstechnische Ausstattung"),
        QStringLiteral("640 Künstlerische Ausstattung"),
        QStringLiteral("690 Sonstige Ausstattung"),
        QStringLiteral("700 Baunebenkosten"),
        QStringLiteral("710 Bauherrenaufgaben"),
        QStringLiteral("720 Vorbereitung der Objektplanung"),
        QStringLiteral("730 Objektplanung"),
        QStringLiteral("740 Fachplanung"),
        QStringLiteral("750 Künstlerische Leistungen"),
        QStringLiteral("760 Allgemeine Baunebenkosten"),
        QStringLiteral("790 Sonstige Baunebenkosten"),
        QStringLiteral("800 Finanzierung"),
        QStringLiteral("810 Finanzierungsnebenkosten"),
        QStringLiteral("820 Fremdkapitalzinsen"),
        QStringLiteral("830 Eigenkapitalzinsen"),
        QStringLiteral("840 Bürgschaften"),
        QStringLiteral("890 Sonstige Finanzierungskosten"),
    };
}
