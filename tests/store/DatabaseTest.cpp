#include "Database.h"
#include "BookingRepository.h"
#include "FileSnapshot.h"
#include "Schema.h"
#include "TestDatabase.h"
#include "Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

namespace {

const QString kTables = QStringLiteral(
    "CREATE TABLE tblProjekt (ID INTEGER PRIMARY KEY AUTOINCREMENT, ProjektName TEXT, Datumwert INTEGER);"
    "CREATE TABLE tblFirma (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, \"Straße\" TEXT, PLZ TEXT, Ort "
    "TEXT,"
    " Telefon1 TEXT, Telefon2 TEXT, Mobil TEXT, eMail TEXT, Ansprechpartner TEXT, GewerkID TEXT,"
    " KostengruppeID TEXT);"
    "CREATE TABLE tblGewerk (ID INTEGER PRIMARY KEY AUTOINCREMENT, Gewerk TEXT);"
    "CREATE TABLE tblKostengruppe (ID INTEGER PRIMARY KEY AUTOINCREMENT, Kostengruppe TEXT);"
    "CREATE TABLE tblBuchung (ID INTEGER PRIMARY KEY AUTOINCREMENT, PID INTEGER, ProjektID TEXT, Projekt "
    "TEXT,"
    " Firma TEXT, Gewerk TEXT, Kostengruppe TEXT, AnweisungVom INTEGER, RechnungVom INTEGER, RechnungsNr "
    "TEXT,"
    " Zahlungsart TEXT, Bemerkungen TEXT, Betrag REAL);"
    "CREATE TABLE tblNachtrag (NID INTEGER, ProjektID TEXT, Projekt TEXT, Firma TEXT, Gewerk TEXT,"
    " Kostengruppe TEXT, ArchitektDatum INTEGER, ArchitektKosten REAL, NachtragDatum INTEGER, NachtragArt "
    "TEXT,"
    " NachtragKosten REAL);");

QStringList fieldsOf(Database& db, const QString& table) {
    QStringList fields;
    QSqlQuery query(db.connection());
    if (db.run(query, QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"), {table})) {
        while (query.next())
            fields += Database::text(query, 0);
    }
    return fields;
}

} // namespace

// Opening and creating database files: the refusals of foreign files and the engine layer's reading.
class DatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void createsTheSchemaExactly();
    void createsPresets();
    void createRefusesExistingFile();
    void refusesForeignFiles_data();
    void refusesForeignFiles();
    void refusesLockedFile();
    void acceptsExtraTablesAndFields();
    void opensPathWithSpecialCharacters();
    void readsFieldsAsText_data();
    void readsFieldsAsText();
    void failedWriteGivesGermanText();
    void transactionRollsBackUnlessCommitted();
};

void DatabaseTest::createsTheSchemaExactly() {
    TestDatabase db;
    QVERIFY(db.isValid());
    const QList<QPair<QString, QStringList>> expected = {
        {QStringLiteral("tblProjekt"), {"ID", "ProjektName", "Datumwert"}},
        {QStringLiteral("tblFirma"),
         {"ID", "Name", "Straße", "PLZ", "Ort", "Telefon1", "Telefon2", "Mobil", "eMail", "Ansprechpartner",
          "GewerkID", "KostengruppeID"}},
        {QStringLiteral("tblGewerk"), {"ID", "Gewerk"}},
        {QStringLiteral("tblKostengruppe"), {"ID", "Kostengruppe"}},
        {QStringLiteral("tblBuchung"),
         {"ID", "PID", "ProjektID", "Projekt", "Firma", "Gewerk", "Kostengruppe", "AnweisungVom",
          "RechnungVom", "RechnungsNr", "Zahlungsart", "Bemerkungen", "Betrag"}},
        {QStringLiteral("tblNachtrag"),
         {"NID", "ProjektID", "Projekt", "Firma", "Gewerk", "Kostengruppe", "ArchitektDatum",
          "ArchitektKosten", "NachtragDatum", "NachtragArt", "NachtragKosten"}},
    };
    for (const auto& table : expected)
        QCOMPARE(fieldsOf(db.db(), table.first), table.second);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' "
                                      "AND name = 'ixBuchungProjektID'")),
             QStringLiteral("1"));
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode")), QStringLiteral("delete"));
}

void DatabaseTest::createsPresets() {
    TestDatabase db;
    QVERIFY(db.isValid());
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblKostengruppe")), QStringLiteral("60"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT Kostengruppe FROM tblKostengruppe ORDER BY ID LIMIT 1")),
             QStringLiteral("100 Grundstück"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblKostengruppe WHERE Kostengruppe = ?"),
                       {QStringLiteral("320 Gründung, Unterbau")}),
             QStringLiteral("1"));
    QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblGewerk")).toInt() >= 30);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblGewerk WHERE Gewerk = ?"),
                       {QStringLiteral("Gas-, Wasser- und Entwässerungsanlagen")}),
             QStringLiteral("1"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblProjekt")), QStringLiteral("0"));
}

void DatabaseTest::createRefusesExistingFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZLV.mdb"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Bestand");
    file.close();
    const FileSnapshot before(path);
    QString message;
    QVERIFY(!Database::create(path, &message));
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
    QVERIFY(FileSnapshot(path) == before);
}

void DatabaseTest::refusesForeignFiles_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("failure");
    QTest::addColumn<QString>("reason");

    const QString withoutNachtrag = kTables.left(kTables.indexOf(QStringLiteral("CREATE TABLE tblNachtrag")));
    QString withoutPlz = kTables;
    withoutPlz.replace(QStringLiteral(" PLZ TEXT,"), QString());
    QTest::newRow("text file") << "text"
                               << "" << int(Database::OpenFailure::NotADatabase) << "keine Zelvora-Datenbank";
    QTest::newRow("empty file") << "empty"
                                << "" << int(Database::OpenFailure::NotADatabase)
                                << "keine Zelvora-Datenbank";
    QTest::newRow("table missing") << "sql" << withoutNachtrag << int(Database::OpenFailure::ForeignSchema)
                                   << "es fehlt die Tabelle tblNachtrag";
    QTest::newRow("field missing") << "sql" << withoutPlz << int(Database::OpenFailure::ForeignSchema)
                                   << "in der Tabelle tblFirma fehlt das Feld PLZ";
    QTest::newRow("read-only file") << "readonly" << kTables << int(Database::OpenFailure::ReadOnly)
                                    << "schreibgeschützt";
    QTest::newRow("read-only folder")
        << "readonlyfolder" << kTables << int(Database::OpenFailure::ReadOnly) << "schreibgeschützt";
    QTest::newRow("missing file") << "missing"
                                  << "" << int(Database::OpenFailure::Missing) << "nicht vorhanden";
}

void DatabaseTest::refusesForeignFiles() {
    QFETCH(QString, content);
    QFETCH(QString, setup);
    QFETCH(int, failure);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZLV.mdb"));
    if (content == QLatin1String("text") || content == QLatin1String("empty")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (content == QLatin1String("text"))
            file.write("Standard Jet DB\nkeine Datenbank, nur Text\n");
    } else if (content != QLatin1String("missing")) {
        QVERIFY(FileSnapshot::rawExec(path, setup));
    }
    if (content == QLatin1String("readonly"))
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    if (content == QLatin1String("readonlyfolder"))
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const FileSnapshot before(path);

    Database::OpenFailure kind = Database::OpenFailure::None;
    QString message;
    const std::unique_ptr<Database> db = Database::open(path, &kind, &message);

    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!db);
    QCOMPARE(int(kind), failure);
    QVERIFY2(message.startsWith(QStringLiteral("Die Datenbank '%1' kann nicht geöffnet werden:\n")
                                    .arg(QDir::toNativeSeparators(path))),
             qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
    const FileSnapshot after(path);
    QVERIFY2(after == before, qPrintable(before.describe() + QStringLiteral(" / ") + after.describe()));
}

void DatabaseTest::refusesLockedFile() {
    TestDatabase fresh;
    QVERIFY(fresh.isValid());
    const QString path = fresh.path();
    sqlite3* holder = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &holder), SQLITE_OK);
    QCOMPARE(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const FileSnapshot before(path);

    Database::OpenFailure kind = Database::OpenFailure::None;
    QString message;
    std::unique_ptr<Database> db = Database::open(path, &kind, &message, 100);
    const FileSnapshot after(path);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);

    QVERIFY(!db);
    QCOMPARE(kind, Database::OpenFailure::Locked);
    QVERIFY2(message.contains(QDir::toNativeSeparators(path)) &&
                 message.contains(QStringLiteral("ist gesperrt")),
             qPrintable(message));
    QVERIFY2(after == before, qPrintable(before.describe() + QStringLiteral(" / ") + after.describe()));
    QVERIFY(Database::open(path, &kind, &message, 100));
}

void DatabaseTest::acceptsExtraTablesAndFields() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ZLV.mdb"));
    QString tables = kTables;
    tables.replace(QStringLiteral("ProjektName TEXT"), QStringLiteral("PROJEKTNAME TEXT, Bauleiter TEXT"));
    QVERIFY(FileSnapshot::rawExec(path, tables + QStringLiteral("CREATE TABLE tblNotiz (Text TEXT);"
                                                                "INSERT INTO tblProjekt (PROJEKTNAME) "
                                                                "VALUES ('Rathaus');")));
    QString message;
    const std::unique_ptr<Database> db = Database::open(path, nullptr, &message);
    QVERIFY2(db, qPrintable(message));
    QSqlQuery query(db->connection());
    QVERIFY(db->run(query, QStringLiteral("SELECT ProjektName FROM tblProjekt WHERE ProjektName LIKE ?"),
                    {QStringLiteral("*RAT*")}));
    QVERIFY(query.next());
    QCOMPARE(Database::text(query, 0), QStringLiteral("Rathaus"));
    query.finish();
    QVERIFY(db->run(query,
                    QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'ixBuchungProjektID'")));
    QVERIFY(query.next());
    QCOMPARE(Database::text(query, 0), QStringLiteral("1"));
}

void DatabaseTest::opensPathWithSpecialCharacters() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Bauamt #1 Ü?%")));
    const QString path = dir.filePath(QStringLiteral("Bauamt #1 Ü?%/ZLV.mdb"));
    QString message;
    QVERIFY2(Database::create(path, &message), qPrintable(message));
    const std::unique_ptr<Database> db = Database::open(path, nullptr, &message);
    QVERIFY2(db, qPrintable(message));
    QVERIFY(db->exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('x')")));
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("ZLV.mdb")});
}

void DatabaseTest::readsFieldsAsText_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    QTest::newRow("null") << "NULL"
                          << "";
    QTest::newRow("integer") << "38353"
                             << "38353";
    QTest::newRow("whole real") << "38353.0"
                                << "38353";
    QTest::newRow("real amount") << "1234.5"
                                 << "1234.5";
    QTest::newRow("cents") << "0.1 + 0.2"
                           << "0.30000000000000004";
    QTest::newRow("text") << "'O''Neill'"
                          << "O'Neill";
    QTest::newRow("empty text") << "''"
                                << "";
}

void DatabaseTest::readsFieldsAsText() {
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    TestDatabase db;
    QVERIFY(db.isValid());
    QCOMPARE(db.scalar(QStringLiteral("SELECT ") + expression), expected);
}

void DatabaseTest::failedWriteGivesGermanText() {
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblBuchung "
                           "BEGIN SELECT RAISE(ABORT, 'Tabelle gesperrt'); END"));
    Booking booking;
    booking.projectId = QStringLiteral("1");
    QVERIFY(!BookingRepository(db.db()).add(booking));
    QVERIFY2(
        db.db().lastError().startsWith(QStringLiteral("Der Datensatz konnte nicht gespeichert werden: ")),
        qPrintable(db.db().lastError()));
    QVERIFY(db.db().lastError().contains(QStringLiteral("Tabelle gesperrt")));
    QVERIFY(!BookingRepository(db.db()).remove(4711));
    QVERIFY2(db.db().lastError().contains(QStringLiteral("nicht mehr vorhanden")),
             qPrintable(db.db().lastError()));
}

void DatabaseTest::transactionRollsBackUnlessCommitted() {
    TestDatabase db;
    QVERIFY(db.isValid());
    {
        Transaction transaction(db.db());
        QVERIFY(transaction.isActive());
        db.exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('verworfen')"));
    }
    QVERIFY(!db.db().inTransaction());
    {
        Transaction transaction(db.db());
        db.exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('behalten')"));
        QVERIFY(transaction.commit());
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(ProjektName) FROM tblProjekt")),
             QStringLiteral("behalten"));
}

QTEST_GUILESS_MAIN(DatabaseTest)
#include "DatabaseTest.moc"
