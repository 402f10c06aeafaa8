#include "AuditExport.h"

#include "Database.h"
#include "DayNumber.h"
#include "Session.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
using Kind = AuditTableReader::Kind;

const QString kIndexName = QStringLiteral("index.xml");
constexpr qsizetype kChunk = 1 << 20;

struct TableText {
    QString table;
    QString name;
    // The description of the whole database's rows and of one project's.
    QString all;
    QString ofProject;
    QList<AuditIndex::Link> links;
};

QList<TableText> tableTexts() {
    const QString projects = QStringLiteral("Projekte");
    const AuditIndex::Link toProject{QStringLiteral("ProjektID"), projects, QStringLiteral("ID")};
    const QString byName = QStringLiteral(" Firma, Gewerk und Kostengruppe stehen als Namen in der Zeile.");
    return {
        {QStringLiteral("tblProjekt"),
         projects,
         QStringLiteral("Alle Projekte: Nummer (ID), Name, Datum."),
         QStringLiteral("Das gewählte Projekt: Nummer (ID), Name, Datum."),
         {}},
        {QStringLiteral("tblFirma"),
         QStringLiteral("Firmen"),
         QStringLiteral("Alle Firmen."),
         QStringLiteral("Die Firmen, die die Buchungen und Nachträge des Projekts nennen (Groß- und "
                        "Kleinschreibung gleich)."),
         {}},
        {QStringLiteral("tblGewerk"),
         QStringLiteral("Gewerke"),
         QStringLiteral("Alle Gewerke."),
         QStringLiteral("Die Gewerke, die die Buchungen und Nachträge des Projekts und seine Firmen nennen."),
         {}},
        {QStringLiteral("tblKostengruppe"),
         QStringLiteral("Kostengruppen"),
         QStringLiteral("Alle Kostengruppen."),
         QStringLiteral("Die Kostengruppen, die die Buchungen und Nachträge des Projekts und seine Firmen "
                        "nennen."),
         {}},
        {QStringLiteral("tblBuchung"),
         QStringLiteral("Buchungen"),
         QStringLiteral("Die Zahlungsanweisungen aller Projekte mit Anweisungsdatum (AnweisungVom) im "
                        "Zeitraum.") +
             byName,
         QStringLiteral(
             "Die Zahlungsanweisungen des Projekts mit Anweisungsdatum (AnweisungVom) im Zeitraum.") +
             byName,
         {toProject}},
        {QStringLiteral("tblNachtrag"),
         QStringLiteral("Nachträge"),
         QStringLiteral(
             "Aufträge und Nachträge aller Projekte, unabhängig vom Zeitraum; rowid ist die Zeile, "
             "die das Änderungsprotokoll nennt.") +
             byName,
         QStringLiteral(
             "Aufträge und Nachträge des Projekts, unabhängig vom Zeitraum; rowid ist die Zeile, die "
             "das Änderungsprotokoll nennt.") +
             byName,
         {toProject}},
        {QStringLiteral("tblBudget"),
         QStringLiteral("Budgets"),
         QStringLiteral("Das genehmigte Budget je Projekt."),
         QStringLiteral("Das genehmigte Budget des Projekts."),
         {toProject}},
        {QStringLiteral("tblRechnungsdatei"),
         QStringLiteral("Rechnungsdateien"),
         QStringLiteral(
             "Die bei den Buchungen abgelegten Originaldateien der E-Rechnungen ohne ihren Inhalt: "
             "Dateiname, Prüfsumme (SHA-256) und Größe in Bytes; bei einem Zeitraum die Dateien "
             "der übergebenen Buchungen."),
         QStringLiteral("Die bei den Buchungen des Projekts abgelegten Originaldateien der E-Rechnungen ohne "
                        "ihren Inhalt: Dateiname, Prüfsumme (SHA-256) und Größe in Bytes; bei einem Zeitraum "
                        "die Dateien der übergebenen Buchungen."),
         {{QStringLiteral("BuchungID"), QStringLiteral("Buchungen"), QStringLiteral("ID")}}},
        {QStringLiteral("tblBankverbindung"),
         QStringLiteral("Bankverbindungen"),
         QStringLiteral("Die Bankverbindungen der Firmen: IBAN (ohne Leerzeichen), BIC, Kontoinhaber."),
         QStringLiteral(
             "Die Bankverbindungen der Firmen, die die Buchungen und Nachträge des Projekts nennen."),
         {{QStringLiteral("FirmaID"), QStringLiteral("Firmen"), QStringLiteral("ID")}}},
        {QStringLiteral("tblProtokoll"),
         QStringLiteral("Änderungsprotokoll"),
         QStringLiteral("Jede Änderung mit Zeit im Zeitraum (UTC, wie gespeichert), Benutzer, Arbeitsplatz, "
                        "Tabelle, Zeile, Aktion, alten und neuen Werten (JSON) und der Hash-Kette (SHA-256 "
                        "über den Inhalt und den Hash des Vorgängers). ProjektID kann ein gelöschtes Projekt "
                        "nennen."),
         QStringLiteral("Die Änderungen des Projekts mit Zeit im Zeitraum (UTC, wie gespeichert); Felder wie "
                        "beim ganzen Protokoll. Die Hash-Kette lässt sich nur über das ganze Protokoll "
                        "nachrechnen."),
         {toProject}},
    };
}

QString fileNameOf(const QString& table) {
    return table + QStringLiteral(".csv");
}

// A value for the auditors' software is kept byte for byte: no prefix guards against spreadsheet
// formulas here, since the file is read by audit software, never opened as a sheet.
void appendQuoted(QByteArray& out, const QByteArray& bytes) {
    out += '"';
    // Each quote doubled, straight into the line: the journal's texts hold quotes in every entry.
    qsizetype from = 0;
    for (qsizetype quote = bytes.indexOf('"'); quote >= 0; quote = bytes.indexOf('"', from)) {
        out.append(bytes.constData() + from, quote + 1 - from);
        out += '"';
        from = quote + 1;
    }
    out.append(bytes.constData() + from, bytes.size() - from);
    out += '"';
}

// A stored number as it stands; a foreign text in its place keeps its bytes, encapsulated.
void appendNumber(QByteArray& out, const QByteArray& text) {
    for (const char c : text) {
        if ((c < '0' || c > '9') && c != '-' && c != ' ') {
            appendQuoted(out, text);
            return;
        }
    }
    out += text;
}

// Digits written by hand: the export writes hundreds of thousands of amounts and dates.
void appendDigits(QByteArray& out, quint64 number, int atLeast) {
    char digits[24];
    int length = 0;
    do {
        digits[length++] = char('0' + number % 10);
        number /= 10;
    } while (number > 0 || length < atLeast);
    while (length > 0)
        out += digits[--length];
}

void appendCents(QByteArray& out, qint64 cents) {
    if (cents < 0)
        out += '-';
    const quint64 whole = cents < 0 ? quint64(-(cents + 1)) + 1 : quint64(cents);
    appendDigits(out, whole / 100, 1);
    out += ',';
    appendDigits(out, whole % 100, 2);
}

void appendDay(QByteArray& out, int day) {
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    DayNumber::toDate(day).getDate(&year, &month, &dayOfMonth);
    appendDigits(out, quint64(dayOfMonth), 2);
    out += '.';
    appendDigits(out, quint64(month), 2);
    out += '.';
    appendDigits(out, quint64(year), 4);
}

void appendField(QByteArray& out, const DatabaseRow& row, int column, Kind kind) {
    if (row.isNull(column))
        return;
    switch (kind) {
    case Kind::Amount:
        if (const std::optional<Money> amount = row.amount(column))
            appendCents(out, amount->cents());
        else
            appendQuoted(out, row.utf8(column));
        return;
    case Kind::Day:
        if (const std::optional<int> day = row.integer(column))
            appendDay(out, *day);
        else
            appendQuoted(out, row.utf8(column));
        return;
    case Kind::Key:
    case Kind::Count:
        appendNumber(out, row.utf8(column));
        return;
    case Kind::Text:
        appendQuoted(out, row.utf8(column));
        return;
    }
}

QString utcTime(const QDate& day) {
    return QDateTime(day, QTime(0, 0)).toUTC().toString(Qt::ISODateWithMs);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QString notWritten(const QString& path, const QString& reason) {
    return QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden: %2")
        .arg(QFileInfo(path).fileName(), reason);
}
} // namespace

QStringList AuditExport::fileNames() {
    QStringList names = {kIndexName, QLatin1String(AuditIndex::kDtdName)};
    for (const QString& table : AuditTableReader::tables())
        names += fileNameOf(table);
    return names;
}

QString AuditExport::folderProblem(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty())
        return QStringLiteral("Bitte wählen Sie einen Ordner für den Export.");
    if (info.exists() && !info.isDir())
        return QStringLiteral("'%1' ist kein Ordner.").arg(QDir::toNativeSeparators(folder));
    if (info.exists() && !info.isWritable())
        return QStringLiteral("In den Ordner '%1' kann nicht geschrieben werden. Bitte wählen Sie einen "
                              "anderen Ordner.")
            .arg(QDir::toNativeSeparators(folder));
    return QString();
}

QStringList AuditExport::existingFiles(const QString& folder) {
    QStringList existing;
    const QDir dir(folder);
    for (const QString& name : fileNames()) {
        if (dir.exists(name))
            existing += name;
    }
    return existing;
}

bool AuditExport::run(const Request& request, QString* germanMessage) {
    m_counts.clear();
    const auto fail = [germanMessage](const QString& text) {
        if (germanMessage)
            *germanMessage = text;
        return false;
    };
    const QString shownFolder = QDir::toNativeSeparators(request.folder);
    if (const QString problem = folderProblem(request.folder); !problem.isEmpty())
        return fail(problem);
    if (!QDir().mkpath(request.folder))
        return fail(QStringLiteral("Der Ordner '%1' kann nicht angelegt werden.").arg(shownFolder));
    // Inside the chosen folder, so that moving the files in is a rename on the same disk.
    QTemporaryDir temporary(QDir(request.folder).filePath(QStringLiteral(".Pruefexport-XXXXXX")));
    if (!temporary.isValid())
        return fail(QStringLiteral("In den Ordner '%1' kann nicht geschrieben werden: %2")
                        .arg(shownFolder, temporary.errorString()));

    AuditTableReader::Scope scope;
    scope.projectId = request.projectId.trimmed();
    if (request.from.isValid()) {
        scope.fromDay = DayNumber::fromDate(request.from);
        scope.fromTime = utcTime(request.from);
    }
    if (request.to.isValid()) {
        scope.toDay = DayNumber::fromDate(request.to);
        scope.toTime = utcTime(request.to.addDays(1));
    }
    const bool oneProject = !scope.projectId.isEmpty();
    QList<AuditIndex::Table> tables;
    for (const TableText& text : tableTexts()) {
        const QString url = fileNameOf(text.table);
        if (!writeTable(QDir(temporary.path()).filePath(url), text.table, scope, germanMessage))
            return false;
        tables.append({url, text.name, oneProject ? text.ofProject : text.all,
                       AuditTableReader::columns(text.table), text.links});
    }

    const QString day = QStringLiteral("dd.MM.yyyy");
    const QString from = request.from.isValid() ? request.from.toString(day) : DayNumber::format(0);
    const QString to = (request.to.isValid() ? request.to : QDate::currentDate()).toString(day);
    const QString scopeText =
        oneProject ? QStringLiteral("Projekt %1 %2").arg(scope.projectId, request.projectName).trimmed()
                   : QStringLiteral("ganze Datenbank");
    const QString media =
        QStringLiteral("Zelvora, Export für die Prüfung (%1, %2 bis %3)").arg(scopeText, from, to);
    const QByteArray dtd = AuditIndex::dtd();
    if (dtd.isEmpty())
        return fail(QStringLiteral("Die Beschreibung %1 fehlt im Programm.")
                        .arg(QLatin1String(AuditIndex::kDtdName)));
    for (const auto& [name, bytes] :
         {std::pair{kIndexName, AuditIndex::text(request.supplier, media, from, to, tables)},
          std::pair{QString::fromLatin1(AuditIndex::kDtdName), dtd}}) {
        const QString path = QDir(temporary.path()).filePath(name);
        if (!writeFile(path, bytes))
            return fail(notWritten(name, QStringLiteral("Schreibfehler")));
    }

    // Every file was written: now they take the place of those of the same names.
    const QDir target(request.folder);
    for (const QString& name : fileNames()) {
        if (target.exists(name) && !QFile::remove(target.filePath(name)))
            return fail(QStringLiteral("Die vorhandene Datei '%1' konnte nicht ersetzt werden.")
                            .arg(QDir::toNativeSeparators(target.filePath(name))));
        if (!QFile::rename(QDir(temporary.path()).filePath(name), target.filePath(name)))
            return fail(QStringLiteral("Die Datei '%1' konnte nicht in den Ordner '%2' gelegt werden.")
                            .arg(name, shownFolder));
    }
    return true;
}

bool AuditExport::writeTable(const QString& path, const QString& table, const AuditTableReader::Scope& scope,
                             QString* germanMessage) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (germanMessage)
            *germanMessage = notWritten(path, file.errorString());
        return false;
    }
    const QList<AuditTableReader::Column> columns = AuditTableReader::columns(table);
    QByteArray out;
    out.reserve(kChunk + 65536);
    qint64 rows = 0;
    bool written = true;
    AuditTableReader reader(m_session.database());
    const bool read = reader.read(table, scope, [&](const DatabaseRow& row) {
        for (int column = 0; column < columns.size(); ++column) {
            if (column > 0)
                out += ';';
            appendField(out, row, column, columns.at(column).kind);
        }
        out += "\r\n";
        ++rows;
        if (out.size() >= kChunk) {
            written = written && file.write(out) == out.size();
            out.clear();
        }
    });
    if (!read) {
        if (germanMessage)
            *germanMessage = QStringLiteral("Die Tabelle %1 konnte nicht gelesen werden: %2")
                                 .arg(table, reader.lastError());
        return false;
    }
    written = written && file.write(out) == out.size() && file.flush();
    if (!written) {
        if (germanMessage)
            *germanMessage = notWritten(path, file.errorString());
        return false;
    }
    m_counts.append({table, rows});
    return true;
}
