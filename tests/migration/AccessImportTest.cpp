#include "AccessImport.h"
#include "Schema.h"
#include "TestDatabase.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
            return row.amount(column) ? TransferReport::plainAmount(*row.amount(column))
                                      : QStringLiteral("?");
        return kind == Schema::FieldKind::Text ? QJsonValue(row.text(column))
                                               : QJsonValue(row.text(column).toInt());
    }

private slots:
    void initTestCase() {
        if (!QFileInfo::exists(fixture("zlv-office.mdb")))
            QSKIP("the Access fixtures are missing (" ZLV_JET_FIXTURES ")");
    }

    void everyRowArrivesAsTheManifestSays_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("office") << "zlv-office" << QStringList();
        QTest::newRow("missing table")
            << "zlv-missing-table"
            << QStringList{"Tabelle tblNachtrag fehlt in der Access-Datei, leer angelegt"};
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

        const AccessImport::Result result = AccessImport::run(fixture(file + ".mdb"), location);

        QVERIFY2(result.outcome == AccessImport::Outcome::Imported, qPrintable(result.message));
        QVERIFY2(result.report.agrees(), qPrintable(result.report.text()));
        for (const QString& line : listed)
            QVERIFY2(result.report.text().contains(line), qPrintable(result.report.text()));
        QCOMPARE(result.report.unreadable.size(), file == "zlv-text-amounts" ? 1 : 0);
        const std::unique_ptr<Database> db = Database::open(location);
        QVERIFY(db);
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
                                    ? QJsonValue(
                                          TransferReport::plainAmount(*Money::parseStored(value.toString())))
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

    void nothingIsLeftBehind_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("cancelAt"); // the progress report that cancels; -1: none
        QTest::addColumn<QString>("message");
        QTest::newRow("damaged") << "zlv-truncated" << -1 << "beschädigt: die Tabelle tblBuchung";
        // Opens and reads none of the 40 estimate rows, as if there were none.
        QTest::newRow("cut before the estimate rows")
            << "zlv-office:74" << -1 << "beschädigt: die Tabelle tblNachtrag";
        QTest::newRow("cancelled while checking") << "zlv-office" << 0 << "abgebrochen";
        QTest::newRow("cancelled while writing") << "zlv-office" << 8 << "abgebrochen";
        QTest::newRow("database there") << "zlv-office" << -1 << "gibt es bereits|nicht leer";
    }

    void nothingIsLeftBehind() {
        QFETCH(QString, file);
        QFETCH(int, cancelAt);
        QFETCH(QString, message);
        const bool there = message.contains("bereits");
        TestDatabase target(TestDatabase::requestedEngine(), there);
        if (there)
            target.exec("INSERT INTO tblBuchung (Firma) VALUES ('Bau')");
        const QString location = target.onServer() ? target.path() : target.folder() + "/ZLV.mdb";
        QString access = fixture(file.section(':', 0, 0) + ".mdb");
        if (file.contains(':')) {
            QFile whole(access);
            QVERIFY(whole.open(QIODevice::ReadOnly));
            access = target.folder() + "/cut.mdb";
            QVERIFY(TestDatabase::writeFile(access, whole.read(file.section(':', 1).toInt() * 4096)));
        }
        const QString before = target.onServer() ? QString() : TestDatabase::fileState(location);
        int reports = 0;

        const AccessImport::Result result = AccessImport::run(
            access, location, [&](const QString&, qint64, qint64) { return reports++ != cancelAt; });

        QVERIFY(result.outcome != AccessImport::Outcome::Imported);
        QVERIFY2(result.message.contains(QRegularExpression(message)), qPrintable(result.message));
        if (target.onServer()) {
            const std::unique_ptr<Database> db = Database::open(location);
            QString bookings = "0";
            if (db)
                db->read("SELECT COUNT(*) FROM tblBuchung", {},
                         [&](const Database::Row& row) { bookings = row.text(0); });
            QCOMPARE(bookings, there ? "1" : "0");
        } else
            QCOMPARE(TestDatabase::fileState(location), before);
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
