#include "OfficeRowWriter.h"

#include "Database.h"

#include <QVariant>

namespace {

QVariant orNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant euros(const std::optional<qint64>& cents) {
    return cents ? QVariant(static_cast<double>(*cents) / 100.0) : QVariant();
}

QVariant day(const std::optional<int>& dayNumber) {
    return dayNumber ? QVariant(*dayNumber) : QVariant();
}

} // namespace

QStringList OfficeRowWriter::trades() {
    return m_writer.texts("SELECT Gewerk FROM tblGewerk ORDER BY ID");
}

QStringList OfficeRowWriter::costGroups() {
    return m_writer.texts("SELECT Kostengruppe FROM tblKostengruppe ORDER BY ID");
}

bool OfficeRowWriter::addTrade(const QString& name) {
    return m_writer.insert("INSERT INTO tblGewerk (Gewerk) VALUES (?)", {name});
}

bool OfficeRowWriter::addCostGroup(const QString& name) {
    return m_writer.insert("INSERT INTO tblKostengruppe (Kostengruppe) VALUES (?)", {name});
}

qint64 OfficeRowWriter::addProject(const QString& name, int startDay) {
    if (!m_writer.insert("INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES (?, ?)", {name, startDay}))
        return 0;
    return m_writer.lastRowId();
}

bool OfficeRowWriter::addBudgets() {
    return m_writer.insert(
        "INSERT INTO tblBudget (ProjektID, Budget) SELECT p.ID, round(max("
        "COALESCE((SELECT SUM(Betrag) FROM tblBuchung WHERE ProjektID = CAST(p.ID AS TEXT)), 0), "
        "COALESCE((SELECT SUM(NachtragKosten) FROM (SELECT NachtragKosten FROM tblNachtrag "
        "WHERE ProjektID = CAST(p.ID AS TEXT) ORDER BY rowid)), 0)) * "
        "CASE WHEN p.ID % 5 = 1 THEN 0.95 ELSE 1.05 END, 0) FROM tblProjekt p",
        {});
}

qint64 OfficeRowWriter::addCompany(const Company& c) {
    if (!m_writer.insert(
            "INSERT INTO tblFirma (Name, \"Straße\", PLZ, Ort, Telefon1, Telefon2, Mobil, eMail, "
            "Ansprechpartner, GewerkID, KostengruppeID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {c.name, orNull(c.street), orNull(c.postcode), orNull(c.town), orNull(c.phone), orNull(c.fax),
             orNull(c.mobile), orNull(c.email), orNull(c.contact), orNull(c.trade), orNull(c.costGroup)}))
        return 0;
    return m_writer.lastRowId();
}

bool OfficeRowWriter::addBooking(const BookingValues& b) {
    return m_writer.insert(
        "INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, AnweisungVom, "
        "RechnungVom, "
        "RechnungsNr, Zahlungsart, Bemerkungen, Betrag) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {b.runningNumber, b.projectId, b.project, b.company, orNull(b.trade), orNull(b.costGroup),
         b.instructedOn, day(b.invoiceDate), orNull(b.invoiceNumber), orNull(b.paymentKind),
         orNull(b.remarks), euros(b.cents)});
}

bool OfficeRowWriter::addEstimate(const EstimateValues& e) {
    return m_writer.insert(
        "INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, ArchitektDatum, "
        "ArchitektKosten, NachtragDatum, NachtragArt, NachtragKosten) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?)",
        {e.runningNumber, e.projectId, e.project, e.company, orNull(e.trade), orNull(e.costGroup),
         day(e.architectDate), euros(e.architectCents), day(e.orderDate), orNull(e.orderKind),
         euros(e.orderCents)});
}

bool OfficeRowWriter::deferIndexes() {
    const char* const indexes = "SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL AND "
                                "tbl_name IN ('tblBuchung', 'tblNachtrag') ORDER BY name";
    const char* const statements =
        "SELECT sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL AND "
        "tbl_name IN ('tblBuchung', 'tblNachtrag') ORDER BY name";
    const QStringList names = m_writer.texts(indexes);
    m_deferredIndexes = m_writer.texts(statements);
    if (!m_writer.lastError().isEmpty() || names.size() != m_deferredIndexes.size())
        return false;
    for (const QString& name : names) {
        if (!m_writer.exec(QStringLiteral("DROP INDEX \"%1\"").arg(name)))
            return false;
    }
    return true;
}

bool OfficeRowWriter::restoreIndexes() {
    for (const QString& statement : std::as_const(m_deferredIndexes)) {
        if (!m_writer.exec(statement))
            return false;
    }
    m_deferredIndexes.clear();
    return true;
}

bool OfficeRowWriter::createAndOpen(const QString& filePath, QString* error) {
    QString message;
    if (!Database::create(filePath, &message) || !open(filePath)) {
        if (error != nullptr)
            *error = message.isEmpty() ? lastError() : message;
        return false;
    }
    return true;
}
