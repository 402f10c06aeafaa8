#include "Schema.h"

#include <algorithm>
#include <QList>

namespace {

using Kind = Schema::FieldKind;

Schema::Field key() {
    return {QStringLiteral("ID"), Kind::Key};
}

Schema::Field text(const char* name) {
    return {QString::fromUtf8(name), Kind::Text};
}

Schema::Field integer(const char* name) {
    return {QString::fromUtf8(name), Kind::Integer};
}

Schema::Field amount(const char* name) {
    return {QString::fromUtf8(name), Kind::Amount};
}

Schema::Index odd(const QString& name, const QString& on, const QString& amount) {
    Schema::Index index(name, on);
    index.oddAmountOf = amount;
    return index;
}
} // namespace

QList<Schema::Table> Schema::tables() {
    return {
        {QStringLiteral("tblProjekt"), {key(), text("ProjektName"), integer("Datumwert")}},
        {QStringLiteral("tblFirma"),
         {key(), text("Name"), text("Straße"), text("PLZ"), text("Ort"), text("Telefon1"), text("Telefon2"),
          text("Mobil"), text("eMail"), text("Ansprechpartner"), text("GewerkID"), text("KostengruppeID")}},
        {QStringLiteral("tblGewerk"), {key(), text("Gewerk")}},
        {QStringLiteral("tblKostengruppe"), {key(), text("Kostengruppe")}},
        {QStringLiteral("tblBuchung"),
         {key(), integer("PID"), text("ProjektID"), text("Projekt"), text("Firma"), text("Gewerk"),
          text("Kostengruppe"), integer("AnweisungVom"), integer("RechnungVom"), text("RechnungsNr"),
          text("Zahlungsart"), text("Bemerkungen"), amount("Betrag")}},
        {QStringLiteral("tblNachtrag"),
         {integer("NID"), text("ProjektID"), text("Projekt"), text("Firma"), text("Gewerk"),
          text("Kostengruppe"), integer("ArchitektDatum"), amount("ArchitektKosten"),
          integer("NachtragDatum"), text("NachtragArt"), amount("NachtragKosten")}},
    };
}

QString Schema::column(const QString& field) {
    const bool plain = std::all_of(field.cbegin(), field.cend(), [](QChar c) { return c.unicode() < 0x80; });
    return plain ? field : u'"' + field + u'"';
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
        // The bookings whose amount is no number the engine can add: the workspace names them at every
        // opening of a project.
        odd(QStringLiteral("ixBuchungProjektUnlesbar"), QStringLiteral("tblBuchung (trim(ProjektID), ID)"),
            QStringLiteral("Betrag")),
        {QStringLiteral("ixNachtragProjektID"), QStringLiteral("tblNachtrag (ProjektID, NID)")},
        {QStringLiteral("ixNachtragProjektIDTrim"), QStringLiteral("tblNachtrag (trim(ProjektID), NID)")},
        {QStringLiteral("ixNachtragFirma"), QStringLiteral("tblNachtrag (Firma)")},
        {QStringLiteral("ixNachtragGewerk"), QStringLiteral("tblNachtrag (Gewerk)")},
        {QStringLiteral("ixNachtragKostengruppe"), QStringLiteral("tblNachtrag (Kostengruppe)")},
        {QStringLiteral("ixProtokollProjektID"), QStringLiteral("tblProtokoll (ProjektID, ID)")},
        {QStringLiteral("ixProtokollZeile"), QStringLiteral("tblProtokoll (Tabelle, Zeile, ID)")},
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
        {QStringLiteral("ixBankverbindungFirmaID"), QStringLiteral("tblBankverbindung (FirmaID)")},
        {QStringLiteral("ixFreistellungFirmaID"), QStringLiteral("tblFreistellung (FirmaID, GueltigBis)")},
        {QStringLiteral("ixFreigabeProjektID"), QStringLiteral("tblFreigabe (ProjektID, BuchungID)")},
        {QStringLiteral("ixFreigabeStatus"), QStringLiteral("tblFreigabe (Status, BuchungID)")},
        {QStringLiteral("ixFreigabeStornoZu"), QStringLiteral("tblFreigabe (StornoZu)")},
        {QStringLiteral("ixEinstellungName"), QStringLiteral("tblEinstellung (Name)")},
        {QStringLiteral("ixZahlungProjektID"), QStringLiteral("tblZahlung (ProjektID, BuchungID)")},
        {QStringLiteral("ixZahlungEingang"), QStringLiteral("tblZahlung (Eingang)")},
        // The payments from which withholding tax was kept back, for its monthly sums.
        {QStringLiteral("ixZahlungBauabzug"), QStringLiteral("tblZahlung (Bauabzug, BuchungID)")},
        {QStringLiteral("ixZahlungsbedingungProjektID"),
         QStringLiteral("tblZahlungsbedingung (ProjektID, FirmaID, NID)")},
        {QStringLiteral("ixSicherheitProjektID"), QStringLiteral("tblSicherheit (ProjektID, FirmaID)")},
        {QStringLiteral("ixSicherheitFirmaID"), QStringLiteral("tblSicherheit (FirmaID)")},
        // A running number is a booking's once in its project, also when the lock per project is missed.
        // Estimate rows are numbered per project and company, so their numbers repeat within a project.
        {QStringLiteral("uxBuchungProjektPID"), QStringLiteral("tblBuchung (trim(ProjektID), PID)"),
         QStringLiteral("SELECT trim(ProjektID), PID, COUNT(*) FROM tblBuchung WHERE PID IS NOT NULL "
                        "GROUP BY trim(ProjektID), PID HAVING COUNT(*) > 1 ORDER BY 1, 2")},
    };
}

QList<Schema::Table> Schema::addedTables() {
    return {
        {QStringLiteral("tblBudget"), {{QStringLiteral("ProjektID"), Kind::Key, false}, amount("Budget")}},
        // The original file of an e-invoice, kept with the booking paid from it.
        {QStringLiteral("tblRechnungsdatei"),
         {key(),
          integer("BuchungID"),
          text("ProjektID"),
          text("Dateiname"),
          text("Pruefsumme"),
          {QStringLiteral("Inhalt"), Kind::Bytes}}},
        // The VAT number a company's e-invoices gave, to find the company by it next time.
        {QStringLiteral("tblUStIdNr"), {key(), text("UStIdNr"), integer("FirmaID")}},
        // The accounts a company is paid into.
        {QStringLiteral("tblBankverbindung"),
         {key(), integer("FirmaID"), text("IBAN"), text("BIC"), text("Kontoinhaber")}},
        // A company's exemption certificates from the construction withholding tax.
        {QStringLiteral("tblFreistellung"),
         {key(), integer("FirmaID"), text("Nummer"), text("Finanzamt"), integer("GueltigVon"),
          integer("GueltigBis"), integer("GeprueftAm")}},
        // Settings the database enforces for every workstation (the sign-off's rules).
        {QStringLiteral("tblEinstellung"), {text("Name"), text("Wert")}},
        // Where each booking stands on its way to payment, and who took each step when.
        {QStringLiteral("tblFreigabe"),
         {{QStringLiteral("BuchungID"), Kind::Key, false},
          text("ProjektID"),
          text("Status"),
          text("ErfasstVon"),
          text("ErfasstAm"),
          text("SachlichVon"),
          text("SachlichAm"),
          text("FestgestelltVon"),
          text("FestgestelltAm"),
          text("AngeordnetVon"),
          text("AngeordnetAm"),
          integer("BezahltAm"),
          integer("StornoZu"),
          text("Grund"),
          text("Hinweis")}},
        // A booking's payment beside it: the invoice, its receipt and the deductions from the gross amount.
        {QStringLiteral("tblZahlung"),
         {{QStringLiteral("BuchungID"), Kind::Key, false},
          text("ProjektID"),
          integer("Eingang"),
          integer("Frist"),
          amount("Rechnungsbetrag"),
          amount("Brutto"),
          amount("Einbehalt"),
          text("EinbehaltArt"),
          amount("Bauabzug"),
          text("Finanzamt"),
          amount("SkontoProzent"),
          integer("SkontoTage"),
          amount("Skonto"),
          integer("SicherheitID")}},
        // The payment terms of a company's order (its estimate row by project, company and running number).
        {QStringLiteral("tblZahlungsbedingung"),
         {key(), text("ProjektID"), integer("FirmaID"), integer("NID"), integer("VOB"),
          amount("ErfuellungProzent"), text("ErfuellungForm"), amount("MaengelProzent"), text("MaengelForm"),
          integer("MaengelJahre"), amount("SkontoProzent"), integer("SkontoTage"), integer("Frist")}},
        // The securities a company gave for its work in a project: guarantees, and when they go back.
        {QStringLiteral("tblSicherheit"),
         {key(), text("ProjektID"), integer("FirmaID"), text("Art"), text("Form"), amount("Betrag"),
          text("Buerge"), text("UrkundeNr"), integer("ErhaltenAm"), integer("RueckgabeAm"),
          integer("ZurueckAm")}},
        journal(),
    };
}

Schema::Table Schema::journal() {
    Table table{QStringLiteral("tblProtokoll"), {key()}};
    for (const QString& field : journalContent())
        table.fields.append({field, field == QLatin1String("Anzahl") ? Kind::Total : Kind::Text});
    table.fields << text("Vorgaenger") << text("Hash");
    return table;
}

QStringList Schema::journalContent() {
    return {QStringLiteral("Zeit"),    QStringLiteral("Benutzer"), QStringLiteral("Arbeitsplatz"),
            QStringLiteral("Tabelle"), QStringLiteral("Zeile"),    QStringLiteral("ProjektID"),
            QStringLiteral("Aktion"),  QStringLiteral("Vorgang"),  QStringLiteral("Anzahl"),
            QStringLiteral("Alt"),     QStringLiteral("Neu")};
}

QList<Schema::Journaled> Schema::journaled() {
    QList<Journaled> journaled;
    for (const Table& table : allTables()) {
        if (table.name == journal().name)
            continue;
        Journaled each{table.name, QStringLiteral("ID"), QString(), {}, {}, false, {}};
        if (table.name == QLatin1String("tblFreigabe")) {
            each.followsRow = true;
            each.filledWithRow = QStringList{QStringLiteral("ErfasstVon"), QStringLiteral("ErfasstAm")};
        }
        const QStringList fields = fieldNames(table.name);
        if (!fields.contains(QStringLiteral("ID")))
            each.key =
                table.fields.first().kind == Kind::Key ? table.fields.first().name : QStringLiteral("rowid");
        if (table.name == QLatin1String("tblProjekt"))
            each.project = QStringLiteral("ID");
        else if (fields.contains(QStringLiteral("ProjektID")))
            each.project = QStringLiteral("ProjektID");
        each.fields = table.fields;
        // The copies of master names that a name change carries into many rows at once.
        for (const QString& copy :
             {QStringLiteral("Projekt"), QStringLiteral("Firma"), QStringLiteral("Gewerk"),
              QStringLiteral("Kostengruppe"), QStringLiteral("GewerkID"), QStringLiteral("KostengruppeID")}) {
            if (fields.contains(copy) && table.name != QLatin1String("tblGewerk") &&
                table.name != QLatin1String("tblKostengruppe"))
                each.cascaded += copy;
        }
        journaled += each;
    }
    return journaled;
}

Schema::Table Schema::projectSums() {
    Table table{QStringLiteral("tblProjektSumme"), {{QStringLiteral("ProjektID"), Kind::Name}}};
    for (const Summed& summed : summed()) {
        for (const QString& field : {summed.cents, summed.rows, summed.odd})
            table.fields.append({field, Kind::Total});
    }
    return table;
}

QList<Schema::Summed> Schema::summed() {
    return {
        {QStringLiteral("tblBuchung"), QStringLiteral("Betrag"), QStringLiteral("BuchungCent"),
         QStringLiteral("BuchungZeilen"), QStringLiteral("BuchungFremd")},
        {QStringLiteral("tblNachtrag"), QStringLiteral("NachtragKosten"), QStringLiteral("NachtragCent"),
         QStringLiteral("NachtragZeilen"), QStringLiteral("NachtragFremd")},
    };
}

QList<Schema::Table> Schema::allTables() {
    return tables() + addedTables();
}

QStringList Schema::tableNames() {
    QStringList names;
    for (const Table& table : tables())
        names += table.name;
    return names;
}

QStringList Schema::allTableNames() {
    QStringList names;
    for (const Table& table : allTables())
        names += table.name;
    return names;
}

QStringList Schema::fieldNames(const QString& table) {
    QStringList names;
    for (const Table& declared : allTables()) {
        if (declared.name.compare(table, Qt::CaseInsensitive) == 0) {
            for (const Field& field : declared.fields)
                names += field.name;
        }
    }
    return names;
}

Schema::FieldKind Schema::fieldKind(const QString& table, const QString& field) {
    for (const Table& declared : allTables()) {
        if (declared.name != table)
            continue;
        for (const Field& declaredField : declared.fields) {
            if (declaredField.name == field)
                return declaredField.kind;
        }
    }
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
