#include "AccessImport.h"
#include "AccessFrame.h"
#include "DamagedAccessFile.h"
#include "JournalCheck.h"
#include "Schema.h"
#include "TestDatabase.h"
#include "TransferRepository.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(Schema::FieldKind)
Q_DECLARE_METATYPE(AccessFile::Type)

// An older installation's Access files arrive row by row as their manifests list them, and nothing is
// left behind when an import is cancelled or fails.
class AccessImportTest : public QObject {
    Q_OBJECT

    static QString fixture(const QString& name) {
        return QDir(QStringLiteral(ZLV_JET_FIXTURES)).filePath(name);
    }
    // A field of the new database as the manifest writes it: null, a number, an amount "1234.50", a text.
    static QJsonValue stored(const Database::Row& row, int column, Schema::FieldKind kind) {
        if (row.isNull(column))
            return QJsonValue::Null;
        if (kind == Schema::FieldKind::Amount)
            return row.amount(column) ? TransferRepository::plainAmount(*row.amount(column))
                                      : QStringLiteral("?");
        return kind == Schema::FieldKind::Text ? QJsonValue(row.text(column))
                                               : QJsonValue(row.text(column).toInt());
    }

private slots:
    void initTestCase() {
        if (!QFileInfo::exists(fixture("zlv-office.mdb")) && qEnvironmentVariable("CI") == "true")
            QFAIL("the Access fixtures are missing (" ZLV_JET_FIXTURES ")");
        if (!QFileInfo::exists(fixture("zlv-office.mdb")))
            QSKIP("the Access fixtures are missing (" ZLV_JET_FIXTURES ")");
    }

    void everyRowArrivesAsTheManifestSays_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("office") << "zlv-office" << QStringList();
        QTest::newRow("extra table and column")
            << "zlv-extra-table"
            << QStringList{"Tabelle tblNotizen nicht übernommen",
                           "Spalte tblBuchung.Freigegeben nicht übernommen"};
        QTest::newRow("amounts as text")
            << "zlv-text-amounts" << QStringList{"Nicht lesbar, leer übernommen: tblBuchung 42 Betrag: abc"};
    }

    void everyRowArrivesAsTheManifestSays() {
        QFETCH(QString, file);
        QFETCH(QStringList, listed);
        QFile json(fixture(file + ".expected.json"));
        QVERIFY(json.open(QIODevice::ReadOnly));
        const QJsonObject manifest = QJsonDocument::fromJson(json.readAll()).object()["tables"].toObject();
        TestDatabase target(TestDatabase::requestedEngine(), false);
        const QString location = target.onServer() ? target.path() : target.folder() + "/ZLV.mdb";

        // A server has no folder for the report, which lands beside the Access file: a copy of its own.
        const QString access = target.folder() + "/" + file + ".mdb";
        QVERIFY(QFile::copy(fixture(file + ".mdb"), access));
        const AccessImport::Result result = AccessImport::run(access, location);

        QVERIFY2(result.outcome == AccessImport::Outcome::Imported, qPrintable(result.message));
        QVERIFY2(result.report.agrees(), qPrintable(result.report.text()));
        for (const QString& line : listed)
            QVERIFY2(result.report.text().contains(line), qPrintable(result.report.text()));
        QCOMPARE(result.report.unreadable.size(), file == "zlv-text-amounts" ? 1 : 0);
        const std::unique_ptr<Database> db = Database::open(location);
        QVERIFY(db);
        // The import is the journal's first entry, with the rows it brought.
        QCOMPARE(db->read("SELECT Aktion, Neu FROM tblProtokoll", {},
                          [&](const Database::Row& row) {
                              QCOMPARE(row.text(0), "Import");
                              QVERIFY(row.text(1).contains(
                                  QStringLiteral("\"Zeilen\": %1")
                                      .arg(manifest["tblBuchung"].toObject()["rows"].toArray().size())
                                      .remove(db->onServer() ? QString() : " ")));
                          }),
                 true);
        QVERIFY(JournalCheck::run(*db).whole);
        int lastBooking = 0;
        for (const QString& table : Schema::tableNames()) {
            const QJsonObject expected = manifest[table].toObject();
            const QStringList fields = Schema::fieldNames(table);
            const bool numbered = fields.first() == "ID";
            QJsonArray rows;
            // "Straße" is the one field declared in quotes.
            db->read(
                QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                    .arg(fields.join(',').replace("Straße", "\"Straße\""), table, numbered ? "ID" : "rowid"),
                {}, [&](const Database::Row& row) {
                    QJsonObject object;
                    for (int i = 0; i < fields.size(); ++i)
                        object[fields[i]] = stored(row, i, Schema::fieldKind(table, fields[i]));
                    rows += object;
                });
            QCOMPARE(rows.size(), expected["row_count"].toInt());
            const QJsonArray listed = expected["rows"].toArray();
            QList<QJsonValue> wanted(listed.begin(), listed.end());
            if (numbered)
                std::sort(wanted.begin(), wanted.end(), [](const QJsonValue& a, const QJsonValue& b) {
                    return a["ID"].toInt() < b["ID"].toInt();
                });
            if (table == "tblBuchung")
                lastBooking = wanted.last()["ID"].toInt();
            for (int r = 0; r < rows.size(); ++r) {
                for (const QString& field : fields) {
                    QJsonValue value = wanted[r][field];
                    if (Schema::fieldKind(table, field) == Schema::FieldKind::Amount && value.isString())
                        value = Money::parseStored(value.toString())
                                    ? QJsonValue(TransferRepository::plainAmount(
                                          *Money::parseStored(value.toString())))
                                    : QJsonValue::Null;
                    QVERIFY2(rows[r][field] == value,
                             qPrintable(QStringLiteral("%1 row %2 %3").arg(table).arg(r).arg(field)));
                }
            }
            const QStringList amounts = TransferReport::amountFieldsOf(table);
            for (int i = 0; i < amounts.size(); ++i)
                QCOMPARE(result.report.tables[Schema::tableNames().indexOf(table)].server.sums[i].cents(),
                         expected["sums_cents"][amounts[i]].toInteger());
        }
        // What the older installation booked was paid as it was booked.
        QString states;
        db->read("SELECT COUNT(*) || ' ' || MIN(Status) || ' ' || MAX(Hinweis) FROM tblFreigabe", {},
                 [&](const Database::Row& row) { states = row.text(0); });
        QCOMPARE(states, QString::number(manifest["tblBuchung"].toObject()["rows"].toArray().size()) +
                             " angeordnet Vor Einführung der Anordnung gebucht");
        const int last =
            db->insert("INSERT INTO tblBuchung (Firma) VALUES ('Neu') RETURNING ID", {}).value_or(0);
        QCOMPARE(last, lastBooking + 1);
    }

    void valuesOfEveryColumnTypeAreStoredOrListed_data() {
        QTest::addColumn<Schema::FieldKind>("kind");
        QTest::addColumn<AccessFile::Type>("type");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("stored"); // "?": cannot be read
        using K = Schema::FieldKind;
        using T = AccessFile::Type;
        QTest::newRow("Currency") << K::Amount << T::Currency << QVariant(qint64(-3500000)) << "-350.00";
        QTest::newRow("Double to the cent")
            << K::Amount << T::Real << QVariant(9938.620000000001) << "9938.62";
        QTest::newRow("Double half cent") << K::Amount << T::Real << QVariant(10.055) << "10.06";
        QTest::newRow("German text") << K::Amount << T::Text << QVariant("1.234.567,89") << "1234567.89";
        QTest::newRow("plain text") << K::Amount << T::Text << QVariant("1234.50") << "1234.50";
        QTest::newRow("no amount") << K::Amount << T::Text << QVariant("abc") << "?";
        QTest::newRow("Date/Time") << K::Integer << T::DateTime << QVariant(44099.75) << "44099";
        QTest::newRow("01.01.1900") << K::Integer << T::DateTime << QVariant(2.0) << "2";
        QTest::newRow("before 1900") << K::Integer << T::DateTime << QVariant(1.5) << "?";
        QTest::newRow("after 9999") << K::Integer << T::DateTime << QVariant(2958466.0) << "?";
        QTest::newRow("Long Integer") << K::Integer << T::Integer << QVariant(qint64(-17)) << "-17";
        QTest::newRow("number as text") << K::Text << T::Integer << QVariant(qint64(3)) << "3";
    }

    void valuesOfEveryColumnTypeAreStoredOrListed() {
        QFETCH(Schema::FieldKind, kind);
        QFETCH(AccessFile::Type, type);
        QFETCH(QVariant, value);
        QFETCH(QString, stored);
        AccessFile::Value read{false, value.toLongLong(), value.toDouble(), value.toString()};
        std::optional<Money> amount;
        QCOMPARE(AccessImport::storedValue(kind, type, read, amount).value_or("?"), stored);
    }

    void importCountsOnlyWhenEveryCountAndSumAgrees_data() {
        QTest::addColumn<qint64>("rows");
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<bool>("agrees");
        QTest::newRow("same") << qint64(150) << qint64(1005) << true;
        QTest::newRow("a row lost") << qint64(149) << qint64(1005) << false;
        QTest::newRow("a cent off") << qint64(150) << qint64(1004) << false;
    }

    void importCountsOnlyWhenEveryCountAndSumAgrees() {
        QFETCH(qint64, rows);
        QFETCH(qint64, cents);
        QFETCH(bool, agrees);
        TransferReport report;
        report.tables +=
            {"tblBuchung", {"Betrag"}, {150, {Money::fromCents(1005)}}, {rows, {Money::fromCents(cents)}}};
        QCOMPARE(report.agrees(), agrees);
        QCOMPARE(report.text().contains("<- abweichend"), !agrees);
        QVERIFY(!TransferReport().agrees());
    }

    // The processes this one started that still run.
    static QString children() {
        QFile file(QStringLiteral("/proc/self/task/%1/children").arg(QCoreApplication::applicationPid()));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed() : "?";
    }

    void nothingIsLeftBehind_data() {
        QTest::addColumn<QString>("file"); // a fixture, or the office's file with damages
        // "cancel:step#n": the step's n-th progress report cancels; "cpu:s", "bytes:n": the reader's limits
        QTest::addColumn<QString>("steer");
        QTest::addColumn<QString>("message");
        const QString office = "zlv-office.mdb";
        const auto row = [](const char* name, const QString& file, const QString& steer,
                            const QString& message) { QTest::newRow(name) << file << steer << message; };
        row("truncated", "zlv-truncated.mdb", "", "beschädigt: die Definition der Tabelle tblBuchung");
        row("cut before the estimate rows", "cut:74", "",
            "tblNachtrag nennt in ihrer Definition 40 Zeilen, gelesen wurden 0");
        row("table missing", "zlv-missing-table.mdb", "", "die Tabelle tblNachtrag fehlt in ihr");
        row("catalogue entry damaged", "rename:tblFirma", "", "die Tabelle tblFirma fehlt");
        row("two catalogue entries damaged", "rename:tblGewerk rename:tblFirma", "",
            "die Tabelle tblFirma fehlt");
        row("a data page zeroed", "zero:62", "",
            "tblBuchung nennt in ihrer Definition 150 Zeilen, gelesen wurden 129");
        row("more rows declared", "declare:45:151", "",
            "tblBuchung nennt in ihrer Definition 151 Zeilen, gelesen wurden 150");
        row("fewer rows declared", "declare:45:149", "",
            "tblBuchung nennt in ihrer Definition 149 Zeilen, gelesen wurden 149");
        row("memo chain loops, computing time spent", "loop:51", "cpu:1", "mehr als 1 Sekunden Rechenzeit");
        // While the reader hangs, the progress is reported again and again without new rows.
        row("memo chain loops, cancelled", "loop:51", "cancel:Übernehmen: tblBuchung#12", "abgebrochen");
        row("more data than the file can hold", office, "bytes:40000",
            "liefert beim Lesen.* mehr Daten, als sie enthalten kann");
        row("cancelled while opening", office, "cancel:Öffnen der Access-Datei#1", "abgebrochen");
        row("cancelled while writing", office, "cancel:Übernehmen: tblBuchung#1", "abgebrochen");
        row("database there", office, "", "gibt es bereits|nicht leer");
    }

    void nothingIsLeftBehind() {
        QFETCH(QString, file);
        QFETCH(QString, steer);
        QFETCH(QString, message);
        const bool there = message.contains("bereits");
        TestDatabase target(TestDatabase::requestedEngine(), there);
        if (there)
            target.exec("INSERT INTO tblBuchung (Firma) VALUES ('Bau')");
        const QString location = target.onServer() ? target.path() : target.folder() + "/ZLV.mdb";
        const QString access =
            file.endsWith(".mdb") ? fixture(file)
                                  : DamagedAccessFile::copy(fixture("zlv-office.mdb"), file, target.folder());
        QVERIFY(!access.isEmpty());
        const QString before = target.onServer() ? QString() : TestDatabase::fileState(location);
        const QString accessBefore = TestDatabase::fileState(access);
        int reports = 0;
        std::optional<AccessReader::Limits> limits;
        if (!steer.startsWith("cancel:") && !steer.isEmpty()) {
            limits = AccessReader::limitsFor(access);
            if (steer.startsWith("cpu:"))
                limits->cpuSeconds = steer.section(':', 1).toInt();
            else
                limits->outputBytes = steer.section(':', 1).toLongLong();
        }
        const QString cancelAt = steer.startsWith("cancel:") ? steer.mid(7) : QString();

        const AccessImport::Result result = AccessImport::run(
            access, location,
            [&](const QString& step, qint64, qint64) {
                return step != cancelAt.section('#', 0, 0) || ++reports != cancelAt.section('#', 1).toInt();
            },
            limits);

        QVERIFY(result.outcome != AccessImport::Outcome::Imported);
        QVERIFY2(result.message.contains(QRegularExpression(message)), qPrintable(result.message));
        QCOMPARE(TestDatabase::fileState(access), accessBefore);
        QCOMPARE(children(), QString());
        if (target.onServer()) {
            const std::unique_ptr<Database> db = Database::open(location);
            QString bookings = "0";
            if (db)
                db->read("SELECT COUNT(*) FROM tblBuchung", {},
                         [&](const Database::Row& row) { bookings = row.text(0); });
            QCOMPARE(bookings, there ? "1" : "0");
        } else {
            QCOMPARE(TestDatabase::fileState(location), before);
            QCOMPARE(QDir(target.folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList());
        }
    }

    // Copies of the office's file with a few bytes of one page overwritten, each the same in every run:
    // each is imported whole with every row its tables declare, or refused; none takes long.
    void damagedCopiesAreImportedWholeOrRefused() {
        QRandomGenerator random(20261207);
        const QList<qint64> declared = {3, 25, 12, 10, 150, 40};
        const QList<int> pages = {2,  14, 15, 24, 29, 32, 35, 38, 40, 43,
                                  45, 49, 51, 60, 62, 65, 69, 70, 73, 75};
        for (int copy = 0; copy < 40; ++copy) {
            TestDatabase target(TestDatabase::Engine::File, false);
            QFile whole(fixture("zlv-office.mdb"));
            QVERIFY(whole.open(QIODevice::ReadOnly));
            QByteArray bytes = whole.readAll();
            // The catalogue, the tables' definitions, their data pages and the long texts' pages, most
            // often where a page keeps its kind, its table and where its rows start.
            const int page = pages[random.bounded(int(pages.size()))];
            for (int n = random.bounded(1, 9); n > 0; --n)
                bytes[page * 4096 + random.bounded(random.bounded(2) ? 32 : 4096)] =
                    char(random.bounded(256));
            const QString access = target.folder() + "/beschaedigt.mdb";
            QVERIFY(TestDatabase::writeFile(access, bytes));

            const AccessImport::Result result = AccessImport::run(access, target.folder() + "/ZLV.mdb", {},
                                                                  AccessReader::Limits{64 << 20, 2});

            const QString what =
                QStringLiteral("copy %1, page %2: %3").arg(copy).arg(page).arg(result.message);
            if (result.outcome == AccessImport::Outcome::Imported) {
                QVERIFY2(result.report.agrees(), qPrintable(what));
                for (int t = 0; t < declared.size(); ++t)
                    QVERIFY2(result.report.tables.at(t).server.rows == declared.at(t), qPrintable(what));
            } else {
                QVERIFY2(result.message.contains("Access-Datei"), qPrintable(what));
                QVERIFY2(!QFileInfo::exists(target.folder() + "/ZLV.mdb"), qPrintable(what));
            }
        }
    }

    // What the reader sends is read within the bounds of each frame: a frame of an unknown kind or beyond
    // the largest is refused before it is waited for, a value beyond its frame reads as nothing.
    void framesAreReadWithinTheirBounds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // "invalid", "incomplete", or the text read and whether it was
        QTest::newRow("a text") << AccessFrame{AccessFrame::Kind::End, QByteArray("\3\0\0\0abc", 7)}.bytes()
                                << "abc ok";
        QTest::newRow("a text longer than its frame")
            << AccessFrame{AccessFrame::Kind::End, QByteArray("\xff\xff\xff\x7f"
                                                              "abc",
                                                              7)}
                   .bytes()
            << " not ok";
        QTest::newRow("a frame not yet whole") << QByteArray("E\x08\0\0\0abc", 8) << "incomplete";
        QTest::newRow("an unknown kind") << QByteArray("X\0\0\0\0", 5) << "invalid";
        QTest::newRow("beyond the largest frame") << QByteArray("R\x01\0\0\x04", 5) << "invalid";
    }

    void framesAreReadWithinTheirBounds() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        bool invalid = false;
        const std::optional<AccessFrame> frame = AccessFrame::take(bytes, &invalid);
        if (!frame) {
            QCOMPARE(invalid ? "invalid" : "incomplete", read);
            return;
        }
        AccessFrame::Reader reader(frame->payload);
        const QString text = reader.text();
        QCOMPARE(text + (reader.ok() ? " ok" : " not ok"), read);
        QVERIFY(bytes.isEmpty());
    }

    void reportsAreNewFilesNeverWrittenThroughALink() {
        TestDatabase target(TestDatabase::Engine::File, false);
        const QDate today = QDate::currentDate();
        const QString other = target.folder() + "/fremd/andere.txt";
        QVERIFY(QDir(target.folder()).mkdir("fremd"));
        QVERIFY(TestDatabase::writeFile(other, "bleibt"));
        const QString planted = target.folder() + "/" + AccessImport::reportFileName(today);
        QVERIFY(QFile::link(other, planted));
        QVERIFY(QFile::link(other, target.folder() + "/ZLV.mdb.neu"));
        QVERIFY(QFile::link(other, target.folder() + "/ZLV.mdb.neu-journal"));
        const QString before = TestDatabase::fileState(other);

        const AccessImport::Result first =
            AccessImport::run(fixture("zlv-office.mdb"), target.folder() + "/ZLV.mdb");
        const AccessImport::Result second =
            AccessImport::run(fixture("zlv-office.mdb"), target.folder() + "/Neu.mdb");

        QVERIFY2(first.outcome == AccessImport::Outcome::Imported, qPrintable(first.message));
        QVERIFY2(second.outcome == AccessImport::Outcome::Imported, qPrintable(second.message));
        QCOMPARE(TestDatabase::fileState(other), before);
        QCOMPARE(QFileInfo(planted).symLinkTarget(), other);
        QCOMPARE(first.reportFile, target.folder() + "/" + AccessImport::reportFileName(today, 2));
        QCOMPARE(second.reportFile, target.folder() + "/" + AccessImport::reportFileName(today, 3));
        for (const QString& report : {first.reportFile, second.reportFile}) {
            QFile file(report);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains("tblBuchung, Zeilen: 150 | 150"));
        }
        QCOMPARE(
            QDir(target.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
            8);
    }
};

QTEST_GUILESS_MAIN(AccessImportTest)
#include "AccessImportTest.moc"
