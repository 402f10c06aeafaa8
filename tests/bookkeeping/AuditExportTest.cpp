#include "AuditExport.h"
#include "DayNumber.h"
#include "Session.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

// The data handover for the auditors: an index.xml valid against the standard's DTD, files with exactly
// the columns it declares, links that resolve, amounts to the cent, and the scope of a project and period.
class AuditExportTest : public QObject {
    Q_OBJECT

    struct Table {
        QStringList columns;
        QList<QStringList> records;
        // Column, referenced table's name, its key column.
        QList<QStringList> links;
    };

    // The records of a CSV file as the index describes it: ";" between fields, CR LF between records,
    // fields in double quotes may hold both, a doubled quote stands for one.
    static QList<QStringList> records(const QString& text) {
        QList<QStringList> result;
        QStringList fields;
        QString field;
        bool quoted = false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (quoted && c == u'"' && text.mid(i + 1, 1) == u"\""_s) {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = !quoted;
            } else if (!quoted && c == u';') {
                fields += std::exchange(field, QString());
            } else if (!quoted && c == u'\r' && text.mid(i + 1, 1) == u"\n"_s) {
                fields += std::exchange(field, QString());
                result += std::exchange(fields, QStringList());
                ++i;
            } else {
                field += c;
            }
        }
        return result;
    }

    // Reads the index and every file it names; fails the test where a file or a record does not fit.
    static QHash<QString, Table> read(const QString& folder) {
        QHash<QString, Table> tables;
        QFile index(QDir(folder).filePath(u"index.xml"_s));
        if (!index.open(QIODevice::ReadOnly))
            return tables;
        QXmlStreamReader xml(&index);
        QString url, name;
        Table table;
        QStringList path;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                path += xml.name().toString();
            } else if (xml.isEndElement()) {
                if (path.constLast() == u"Table"_s) {
                    QFile file(QDir(folder).filePath(url));
                    if (file.open(QIODevice::ReadOnly))
                        table.records = records(QString::fromUtf8(file.readAll()));
                    else
                        table.records = {{u"missing"_s}};
                    tables.insert(name, std::exchange(table, Table()));
                }
                path.removeLast();
            } else if (xml.isCharacters() && !xml.isWhitespace()) {
                const QString text = xml.text().toString();
                const QString parent = path.value(path.size() - 2);
                if (path.endsWith(u"URL"_s))
                    url = text;
                else if (path.constLast() == u"Name"_s && parent == u"Table"_s)
                    name = text;
                else if (path.constLast() == u"Name"_s && parent.startsWith(u"Variable"_s))
                    table.columns += text;
                else if (parent == u"ForeignKey"_s)
                    (path.constLast() == u"Name"_s ? table.links.append(QStringList{text})
                                                   : table.links.last().append(text));
                else if (path.constLast() == u"To"_s && parent == u"Alias"_s)
                    table.links.last().append(text);
            }
        }
        return tables;
    }

    static QStringList column(const Table& table, const QString& name) {
        QStringList values;
        const int at = table.columns.indexOf(name);
        for (const QStringList& record : table.records)
            values += record.value(at);
        return values;
    }

private slots:
    void writesWhatTheIndexDescribes_data() {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QStringList>("companies");
        QTest::addColumn<bool>("journal");
        const QStringList all = {u"1234,50"_s, u"-0,01"_s, u"1000000,99"_s, u"7,00"_s};
        QTest::newRow("whole database") << QString() << QDate() << QDate() << all
                                        << QStringList{u"O'Neill; \"Bau\""_s, u"Ohne Buchung"_s} << true;
        QTest::newRow("project and period")
            << u"1"_s << QDate(2024, 2, 15) << QDate(2024, 2, 15) << QStringList{u"-0,01"_s}
            << QStringList{u"O'Neill; \"Bau\""_s} << false;
    }
    void writesWhatTheIndexDescribes() {
        QFETCH(QString, project);
        TestDatabase data;
        QVERIFY(data.isValid());
        const int jan = DayNumber::fromDate({2024, 1, 15});
        data.exec(u"INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES ('Schule', ?), ('Halle', NULL)"_s,
                  {jan});
        data.exec(
            u"INSERT INTO tblFirma (Name, GewerkID) VALUES ('O''Neill; \"Bau\"', 'Dach'), ('Ohne Buchung', '')"_s);
        data.exec(
            u"INSERT INTO tblBuchung (PID, ProjektID, Firma, Gewerk, AnweisungVom, Bemerkungen, Betrag) "
            "VALUES (1, '1', 'o''neill; \"bau\"', 'Dach', ?, ?, 1234.5), (2, '1', 'O''Neill; \"Bau\"', "
            "'Dach', ?, 'x', -0.01), (3, '1', 'O''Neill; \"Bau\"', '', NULL, '', 1000000.99), "
            "(1, '2', 'Ohne Buchung', '', ?, '', 7)"_s,
            {jan, u"Zeile 1\r\nZeile \"2\"; Ende"_s, jan + 31, jan});
        data.exec(
            u"INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (1, '1', 'O''Neill; "
            "\"Bau\"', 10), (1, '2', 'Ohne Buchung', 20)"_s);
        data.exec(u"INSERT INTO tblBudget (ProjektID, Budget) VALUES (1, 5000), (2, 6000)"_s);
        data.exec(u"INSERT INTO tblBankverbindung (FirmaID, IBAN) VALUES (1, 'DE89370400440532013000'), "
                  "(2, 'AT611904300234573201')"_s);
        data.exec(u"INSERT INTO tblRechnungsdatei (BuchungID, ProjektID, Dateiname, Pruefsumme, Inhalt) "
                  "VALUES (2, '1', 'r.xml', 'ab', ?)"_s,
                  {QByteArray("<Invoice/>")});
        auto session = Session::open(data.path());
        QVERIFY(session);
        AuditExport::Request request{
            QDir(data.folder()).filePath(u"Prüfung"_s), project, u"Schule"_s, {}, {}, {}};
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        request.from = from;
        request.to = to;
        QString message;
        QVERIFY2(AuditExport(*session).run(request, &message), qPrintable(message));

        QProcess xmllint;
        xmllint.setWorkingDirectory(request.folder);
        xmllint.start(u"xmllint"_s, {u"--valid"_s, u"--noout"_s, u"index.xml"_s});
        QVERIFY2(xmllint.waitForFinished(), "xmllint (libxml2-utils) must be installed");
        QCOMPARE(xmllint.exitCode(), 0);
        const QHash<QString, Table> tables = read(request.folder);
        QCOMPARE(tables.size(), AuditExport::fileNames().size() - 2);
        for (auto table = tables.cbegin(); table != tables.cend(); ++table) {
            for (const QStringList& record : table->records)
                QVERIFY2(record.size() == table->columns.size(), qPrintable(table.key() + record.join(u'|')));
            for (const QStringList& link : table->links) {
                const QStringList keys = column(tables.value(link.value(1)), link.value(2));
                for (const QString& value : column(*table, link.value(0)))
                    QVERIFY2(value.isEmpty() || keys.contains(value), qPrintable(table.key() + value));
            }
        }
        const Table bookings = tables.value(u"Buchungen"_s);
        QTEST(column(bookings, u"Betrag"_s), "amounts");
        QTEST(column(tables.value(u"Firmen"_s), u"Name"_s), "companies");
        QCOMPARE(column(tables.value(u"Bankverbindungen"_s), u"FirmaID"_s).size(),
                 column(tables.value(u"Firmen"_s), u"Name"_s).size());
        QCOMPARE(column(tables.value(u"Rechnungsdateien"_s), u"Groesse"_s), QStringList{u"10"_s});
        QCOMPARE(column(tables.value(u"Projekte"_s), u"Datumwert"_s).constFirst(), u"15.01.2024"_s);
        if (project.isEmpty())
            QCOMPARE(column(bookings, u"Bemerkungen"_s).constFirst(), u"Zeile 1\r\nZeile \"2\"; Ende"_s);
        const QStringList journaled = column(tables.value(u"Änderungsprotokoll"_s), u"ProjektID"_s);
        QFETCH(bool, journal);
        QCOMPARE(!journaled.isEmpty(), journal);
    }

    // A project's number that is no number keeps its text, encapsulated: a separator or quote in it
    // neither splits the record nor is lost.
    void foreignTextInANumberKeepsItsBytes() {
        TestDatabase data;
        QVERIFY(data.isValid());
        data.exec(u"INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (1, ?, 'Bau', 5)"_s,
                  {u"7; \"alt\" ٣"_s});
        auto session = Session::open(data.path());
        QVERIFY(session);
        AuditExport::Request request{QDir(data.folder()).filePath(u"Prüfung"_s), {}, {}, {}, {}, {}};
        QString message;
        QVERIFY2(AuditExport(*session).run(request, &message), qPrintable(message));
        const Table bookings = read(request.folder).value(u"Buchungen"_s);
        QCOMPARE(bookings.records.size(), 1);
        QCOMPARE(bookings.records.constFirst().size(), bookings.columns.size());
        QCOMPARE(column(bookings, u"ProjektID"_s), QStringList{u"7; \"alt\" ٣"_s});
    }

    // The command line's export: 0 only when every file was written; an earlier export is not replaced.
    void commandLine() {
        TestDatabase data;
        QVERIFY(data.isValid());
        QFile blocking(QDir(data.folder()).filePath(u"Datei"_s));
        QVERIFY(blocking.open(QIODevice::WriteOnly));
        const auto run = [&](const QString& folder) {
            QProcess program;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"XDG_CONFIG_HOME"_s, data.folder());
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(ZLV_PROGRAM), {u"--pruefexport"_s, data.path(), folder});
            return program.waitForFinished(60000) ? program.exitCode() : -1;
        };
        const QString folder = QDir(data.folder()).filePath(u"Export"_s);
        QCOMPARE(run(folder), 0);
        QCOMPARE(AuditExport::existingFiles(folder), AuditExport::fileNames());
        QCOMPARE(run(folder), 1);
        QCOMPARE(run(QDir(blocking.fileName()).filePath(u"Export"_s)), 1);
    }
};

QTEST_GUILESS_MAIN(AuditExportTest)
#include "AuditExportTest.moc"
