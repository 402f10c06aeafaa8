#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "DayNumber.h"
#include "EstimateRepository.h"
#include "NameCascade.h"
#include "NameEntryRepository.h"
#include "ProjectRepository.h"
#include "RunningNumber.h"
#include "TestDatabase.h"

#include <QSqlDriver>
#include <QTest>
#include <sqlite3.h>

namespace {

Booking booking(int pid, const QString& company, std::optional<int> instructedOn) {
    Booking b;
    b.runningNumber = pid;
    b.projectId = QStringLiteral("1");
    b.project = QStringLiteral("Rathaus");
    b.company = company;
    b.instructedOn = instructedOn;
    return b;
}

// One field of every row, in the order given.
template <typename Row, typename T> QList<T> column(const QList<Row>& rows, T Row::*field) {
    QList<T> values;
    for (const Row& row : rows)
        values += row.*field;
    return values;
}

} // namespace

// Reading and writing the six tables through their repositories.
class RepositoryTest : public QObject {
    Q_OBJECT

private slots:
    void storedAmounts_data();
    void storedAmounts();
    void storedDays_data();
    void storedDays();
    void emptyTextStoredAsNull_data();
    void emptyTextStoredAsNull();
    void bookings();
    void projectNumberWithBlanks();
    void bookingTakesNextNumberAndReplaces();
    void busyBookingIsTriedOnceMore_data();
    void busyBookingIsTriedOnceMore();
    void apostrophe();
    void companySearch_data();
    void companySearch();
    void projects();
    void estimateRowsAndNameLists();
};

// A foreign file may declare its amount fields otherwise than REAL; what it stores there reads the same in
// the typed rows and as the field's text. A value that is no amount keeps its stored text, and the rows
// holding one are listed.
void RepositoryTest::storedAmounts_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("unreadable");
    const auto row = [](const char* name, const char* declared, const QVariant& stored, const char* shown,
                        const char* unreadable = "") {
        QTest::newRow(name) << QString::fromLatin1(declared) << stored << QString::fromUtf8(shown)
                            << QString::fromUtf8(unreadable);
    };
    row("real", "REAL", 1234.5, "1.234,50");
    row("real cents", "REAL", 0.29, "0,29");
    row("real from an integer", "REAL", qint64(-12), "-12,00");
    row("numeric holds 12 as integer", "NUMERIC", qint64(12), "12,00");
    row("integer holds a negative", "INTEGER", qint64(-123456789), "-123.456.789,00");
    row("numeric holds a real", "NUMERIC", 12.5, "12,50");
    row("text with comma", "REAL", QStringLiteral("12,5"), "12,50");
    row("text field holds 12", "TEXT", QStringLiteral("12"), "12,00");
    row("text in German notation", "REAL", QStringLiteral("1.234,50"), "1.234,50");
    row("foreign text", "REAL", QStringLiteral("zwölf Euro"), "", "zwölf Euro");
    row("beyond any amount", "REAL", 1e308, "", "1e+308");
    row("null", "INTEGER", QVariant(), "");
}

void RepositoryTest::storedAmounts() {
    QFETCH(QString, declared);
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    QFETCH(QString, unreadable);
    TestDatabase db;
    db.exec(QStringLiteral("DROP TABLE tblBuchung"));
    db.exec(QStringLiteral("DROP TABLE tblNachtrag"));
    db.exec(QStringLiteral("CREATE TABLE tblBuchung (ID INTEGER PRIMARY KEY AUTOINCREMENT, PID INTEGER, "
                           "ProjektID TEXT, Projekt TEXT, Firma TEXT, Gewerk TEXT, Kostengruppe TEXT, "
                           "AnweisungVom INTEGER, RechnungVom INTEGER, RechnungsNr TEXT, Zahlungsart TEXT, "
                           "Bemerkungen TEXT, Betrag %1)")
                .arg(declared));
    db.exec(QStringLiteral("CREATE TABLE tblNachtrag (NID INTEGER, ProjektID TEXT, Projekt TEXT, Firma TEXT, "
                           "Gewerk TEXT, Kostengruppe TEXT, ArchitektDatum INTEGER, ArchitektKosten %1, "
                           "NachtragDatum INTEGER, NachtragArt TEXT, NachtragKosten %1)")
                .arg(declared));
    QVERIFY(db.reopen());
    db.exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', ?)"), {stored});
    db.exec(QStringLiteral("INSERT INTO tblNachtrag (ProjektID, Firma, ArchitektKosten, NachtragKosten) "
                           "VALUES ('1', 'A', ?, ?)"),
            {stored, stored});
    const auto german = [](const std::optional<Money>& amount) {
        return amount ? amount->toGerman() : QString();
    };

    const QList<Booking> bookings = BookingRepository(db.db()).forProject(QStringLiteral("1"));
    const QList<EstimateRow> estimates =
        EstimateRepository(db.db()).forProjectAndCompany(QStringLiteral("1"), QStringLiteral("a"));
    QVERIFY(bookings.size() == 1 && estimates.size() == 1);
    QCOMPARE(german(bookings.first().amount), shown);
    QCOMPARE(german(estimates.first().architectCost), shown);
    QCOMPARE(german(estimates.first().orderCost), shown);
    QCOMPARE(german(Money::parseStored(db.scalar(QStringLiteral("SELECT Betrag FROM tblBuchung")))), shown);
    QCOMPARE(bookings.first().unreadableAmount, unreadable);
    QCOMPARE(estimates.first().unreadableArchitectCost + estimates.first().unreadableOrderCost,
             unreadable + unreadable);
    QCOMPARE(BookingRepository(db.db()).withUnreadableAmount(QStringLiteral("1")).size(),
             unreadable.size() > 0);
    QCOMPARE(EstimateRepository(db.db()).withUnreadableAmount(QStringLiteral("1")).size(),
             unreadable.size() > 0);
}

// A day number stored with a fraction (a time of day, as an old file may hold it) is the day itself.
void RepositoryTest::storedDays_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("real with a fraction") << QVariant(45292.75) << QStringLiteral("01.01.2024");
    QTest::newRow("text with a fraction")
        << QVariant(QStringLiteral("45292.75")) << QStringLiteral("01.01.2024");
    QTest::newRow("integer") << QVariant(qint64(45292)) << QStringLiteral("01.01.2024");
    QTest::newRow("foreign text") << QVariant(QStringLiteral("Neujahr")) << QString();
    QTest::newRow("null") << QVariant() << QString();
}

void RepositoryTest::storedDays() {
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    TestDatabase db;
    db.exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES ('Rathaus', ?)"),
            {stored});
    db.exec(
        QStringLiteral("INSERT INTO tblBuchung (ProjektID, AnweisungVom, RechnungVom) VALUES ('1', ?, ?)"),
        {stored, stored});
    db.exec(QStringLiteral("INSERT INTO tblNachtrag (ProjektID, Firma, ArchitektDatum, NachtragDatum) "
                           "VALUES ('1', 'A', ?, ?)"),
            {stored, stored});

    const QList<Project> projects = ProjectRepository(db.db()).all();
    const QList<Booking> bookings = BookingRepository(db.db()).forProject(QStringLiteral("1"));
    const QList<EstimateRow> estimates =
        EstimateRepository(db.db()).forProjectAndCompany(QStringLiteral("1"), QStringLiteral("A"));
    QVERIFY(projects.size() == 1 && bookings.size() == 1 && estimates.size() == 1);
    QCOMPARE(DayNumber::format(projects.first().startDay), shown);
    QCOMPARE(DayNumber::format(bookings.first().instructedOn), shown);
    QCOMPARE(DayNumber::format(bookings.first().invoiceDate), shown);
    QCOMPARE(DayNumber::format(estimates.first().architectDate), shown);
    QCOMPARE(DayNumber::format(estimates.first().orderDate), shown);
    QCOMPARE(DayNumber::format(
                 DayNumber::parseStored(db.scalar(QStringLiteral("SELECT AnweisungVom FROM tblBuchung")))),
             shown);
}

// Empty entry fields are stored as null, never as empty text, in every table.
void RepositoryTest::emptyTextStoredAsNull_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("fields");
    QTest::newRow("project") << "tblProjekt"
                             << "ProjektName";
    QTest::newRow("company") << "tblFirma"
                             << "\"Straße\", PLZ, Ort, Telefon1, Telefon2, Mobil, eMail, Ansprechpartner, "
                                "GewerkID, KostengruppeID";
    QTest::newRow("trade") << "tblGewerk"
                           << "Gewerk";
    QTest::newRow("booking") << "tblBuchung"
                             << "Projekt, Gewerk, Kostengruppe, RechnungsNr, Zahlungsart, Bemerkungen";
    QTest::newRow("estimate row") << "tblNachtrag"
                                  << "Projekt, Gewerk, Kostengruppe, NachtragArt";
}

void RepositoryTest::emptyTextStoredAsNull() {
    QFETCH(QString, table);
    QFETCH(QString, fields);
    TestDatabase db;
    db.clearPresets();
    std::optional<qint64> added;
    if (table == QLatin1String("tblProjekt")) {
        added = ProjectRepository(db.db()).add(QStringLiteral(""), 45000);
    } else if (table == QLatin1String("tblFirma")) {
        Company company;
        company.name = QStringLiteral("Dach GmbH");
        company.street = QStringLiteral("");
        added = CompanyRepository(db.db()).add(company);
    } else if (table == QLatin1String("tblGewerk")) {
        added = NameEntryRepository(db.db(), NameEntryRepository::Table::Trades).add(QStringLiteral(""));
    } else if (table == QLatin1String("tblBuchung")) {
        Booking entry = booking(1, QStringLiteral("Dach GmbH"), 45000);
        entry.project = QStringLiteral("");
        added = BookingRepository(db.db()).add(entry);
    } else {
        EstimateRow row;
        row.runningNumber = 1;
        row.projectId = QStringLiteral("1");
        row.company = QStringLiteral("Dach GmbH");
        row.orderKind = QStringLiteral("");
        added = EstimateRepository(db.db()).add(row);
    }
    QVERIFY2(added, qPrintable(db.db().lastError()));
    const QString nulls =
        QStringList(fields.split(QStringLiteral(", "))).join(QStringLiteral(" IS NULL AND "));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 IS NULL").arg(table, nulls)),
             QStringLiteral("1"));
}

void RepositoryTest::bookings() {
    TestDatabase db;
    BookingRepository bookings(db.db());
    for (int pid : {1, 2, 5})
        QVERIFY(bookings.add(booking(pid, QStringLiteral("A"), 45291 + pid)));
    QVERIFY(bookings.add(booking(3, QStringLiteral("Müller*"), 45657)));
    QVERIFY(bookings.add(booking(4, QStringLiteral("Müller Bau"), std::nullopt)));
    Booking written = booking(6, QStringLiteral("Müller Bau"), 45658);
    written.amount = Money::fromCents(123456789);
    const std::optional<qint64> id = bookings.add(written);
    QVERIFY(id);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Betrag || typeof(PID) FROM tblBuchung WHERE ID = ?"), {*id}),
             QStringLiteral("1234567.89integer"));

    QCOMPARE(RunningNumber::next(bookings.highestRunningNumber(QStringLiteral("1"))), 7);
    QCOMPARE(bookings.find(QStringLiteral("1"), 6, QStringLiteral("MÜLLER BAU"), 45658)->amount,
             written.amount);
    QVERIFY(bookings.find(QStringLiteral("1"), 4, QStringLiteral("müller bau"), std::nullopt));
    QVERIFY(!bookings.find(QStringLiteral("1"), 6, QStringLiteral("Müller*"), 45658));
    QCOMPARE(column(bookings.withValue(QStringLiteral("1"), BookingRepository::Field::Company,
                                       QStringLiteral("müller bau")),
                    &Booking::runningNumber),
             (QList<std::optional<int>>{4, 6}));
    QCOMPARE(column(bookings.instructedBetween(QStringLiteral("1"), 45292, 45657), &Booking::runningNumber),
             (QList<std::optional<int>>{1, 2, 3, 5}));
    QCOMPARE(bookings.distinctValues(BookingRepository::Field::Company, QStringLiteral("1")),
             (QStringList{"A", "Müller Bau", "Müller*"}));
    QVERIFY(bookings.remove(*id));
    QVERIFY(!bookings.find(QStringLiteral("1"), 6, QStringLiteral("Müller Bau"), 45658));
    db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblBuchung "
                           "BEGIN SELECT RAISE(ABORT, 'Tabelle gesperrt'); END"));
    QVERIFY(!bookings.add(written));
    QVERIFY2(
        db.db().lastError().startsWith(QStringLiteral("Der Datensatz konnte nicht gespeichert werden: ")) &&
            db.db().lastError().contains(QStringLiteral("Tabelle gesperrt")),
        qPrintable(db.db().lastError()));
}

// A project number stored with blanks around it by another program (" 3") selects the rows of project 3
// wherever the program reads or changes a project's rows; project 13 stays apart.
void RepositoryTest::projectNumberWithBlanks() {
    TestDatabase db;
    for (const char* project : {" 3", "3 ", "3", "13"}) {
        db.exec(
            QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, AnweisungVom, Betrag) "
                           "VALUES (length(?), ?, 'Alt', ?, 45300, 1)"),
            {project, project, QString::fromLatin1(project).trimmed()});
        db.exec(QStringLiteral("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) "
                               "VALUES (length(?), ?, 'A', 2)"),
                {project, project});
    }
    db.exec(QStringLiteral("INSERT INTO tblProjekt (ID, ProjektName) VALUES (3, 'Alt')"));
    BookingRepository bookings(db.db());
    EstimateRepository estimates(db.db());
    const QString three = QStringLiteral("3");
    QCOMPARE(column(bookings.forProject(three), &Booking::runningNumber),
             (QList<std::optional<int>>{2, 2, 1}));
    QCOMPARE(bookings.sumsByCompany(three).first().amount, Money::fromCents(300));
    QCOMPARE(bookings.highestRunningNumber(three), 2);
    QCOMPARE(bookings.distinctValues(BookingRepository::Field::Company, three), QStringList{three});
    QCOMPARE(bookings.withValue(three, BookingRepository::Field::Company, three).size(), 3);
    QCOMPARE(bookings.instructedBetween(three, 45300, 45300).size(), 3);
    QCOMPARE(estimates.forProject(three).size(), 3);
    QCOMPARE(estimates.forProjectAndCompany(three, QStringLiteral("a")).size(), 3);
    QCOMPARE(estimates.highestRunningNumber(three, QStringLiteral("A")), 2);
    Project renamed{3, QStringLiteral("Neu"), std::nullopt};
    QVERIFY(NameCascade(db.db()).changeProject(renamed, QStringLiteral("Alt")));
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(Projekt) FROM tblBuchung")), "Neu,Neu,Neu,Alt");
}

void RepositoryTest::apostrophe() {
    TestDatabase db;
    CompanyRepository companies(db.db());
    Company company;
    company.name = QStringLiteral("O'Neill Bäder");
    const std::optional<qint64> id = companies.add(company);
    QVERIFY(id);
    QCOMPARE(companies.find(*id)->name, company.name);
    QCOMPARE(companies.findByName(QStringLiteral("o'neill BÄDER"))->id, *id);
    QCOMPARE(
        column(companies.search(QStringLiteral("O'N"), CompanyRepository::SearchFrom::Left), &Company::name),
        {company.name});
    QCOMPARE(column(companies.searchByName(QStringLiteral("'neill")), &Company::name), {company.name});
    QVERIFY(BookingRepository(db.db()).add(booking(1, company.name, 45000)));
    QCOMPARE(BookingRepository(db.db())
                 .withValue(QStringLiteral("1"), BookingRepository::Field::Company,
                            QStringLiteral("O'NEILL BÄDER"))
                 .size(),
             1);
}

void RepositoryTest::companySearch_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fromLeft");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("postcode anywhere") << QStringLiteral("97") << false << QStringList{"Alpha", "Gamma"};
    QTest::newRow("postcode from left") << QStringLiteral("97") << true << QStringList{"Alpha"};
    QTest::newRow("trade") << QStringLiteral("elektro") << false << QStringList{"Beta"};
    QTest::newRow("cost group") << QStringLiteral("440") << false << QStringList{"Beta"};
    QTest::newRow("town umlaut case") << QStringLiteral("WÜRZ") << false << QStringList{"Alpha"};
    QTest::newRow("street not searched") << QStringLiteral("Weg") << false << QStringList{};
    QTest::newRow("wildcard one char") << QStringLiteral("G?mma") << true << QStringList{"Gamma"};
    QTest::newRow("percent literal") << QStringLiteral("%") << false << QStringList{};
}

void RepositoryTest::companySearch() {
    QFETCH(QString, text);
    QFETCH(bool, fromLeft);
    QFETCH(QStringList, expected);
    TestDatabase db;
    db.exec(
        QStringLiteral("INSERT INTO tblFirma (Name, PLZ, Ort, \"Straße\", GewerkID, KostengruppeID) VALUES "
                       "('Alpha', '97070', 'Würzburg', 'Am Weg 1', NULL, NULL), "
                       "('Beta', NULL, NULL, NULL, 'Elektroanlagen', '440 Elektrische Anlagen'), "
                       "('Gamma', '10977', NULL, NULL, NULL, NULL)"));
    bool ok = false;
    const auto from =
        fromLeft ? CompanyRepository::SearchFrom::Left : CompanyRepository::SearchFrom::Anywhere;
    QCOMPARE(column(CompanyRepository(db.db()).search(text, from, &ok), &Company::name), expected);
    QVERIFY(ok);
}

void RepositoryTest::projects() {
    TestDatabase db;
    db.exec(
        QStringLiteral("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (112, 'Schule', 45000), "
                       "(5, 'Kita Süd', NULL), (7, 'Rathaus 12', 46000), (9, 'Bad', 45000)"));
    ProjectRepository projects(db.db());
    QCOMPARE(column(projects.newestFirst(), &Project::id), (QList<qint64>{7, 9, 112, 5}));
    QCOMPARE(column(projects.search(QStringLiteral("12")), &Project::id), (QList<qint64>{7, 112}));
    QCOMPARE(column(projects.search(QStringLiteral("SÜD")), &Project::id), QList<qint64>{5});
}

void RepositoryTest::estimateRowsAndNameLists() {
    TestDatabase db;
    EstimateRepository estimates(db.db());
    EstimateRow row;
    row.runningNumber = 2;
    row.projectId = QStringLiteral("4");
    row.company = QStringLiteral("Dach GmbH");
    row.orderDate = 45100;
    QVERIFY(estimates.add(row));
    QCOMPARE(estimates.forProjectAndCompany(QStringLiteral("4"), QStringLiteral("DACH gmbh")).size(), 1);
    QCOMPARE(estimates.forProjectAndCompany(QStringLiteral("4"), QStringLiteral("Dach*")).size(), 0);
    QCOMPARE(estimates.highestRunningNumber(QStringLiteral("4"), QStringLiteral("dach gmbh")), 2);
    QVERIFY(estimates.find(QStringLiteral("4"), 2, std::nullopt, 45100));
    QVERIFY(!estimates.find(QStringLiteral("4"), 2, 45000, 45100));
    bool originalGone = false;
    QVERIFY(!estimates.book(row, 999, &originalGone) && originalGone);

    db.clearPresets();
    NameEntryRepository trades(db.db(), NameEntryRepository::Table::Trades);
    for (const char* name :
         {"zimmerei", "Öl- und Gasfeuerung", "2 Fachlos", "Abbruch", "10 Fachlos", "Elektro"})
        QVERIFY(trades.add(QString::fromUtf8(name)));
    // German order: case ignored, umlauts beside their base letters, digits as text.
    QCOMPARE(
        column(trades.byName(), &NameEntry::name),
        (QStringList{"10 Fachlos", "2 Fachlos", "Abbruch", "Elektro", "Öl- und Gasfeuerung", "zimmerei"}));
}

// A booking is numbered from the file inside its own transaction: the highest number of its project
// plus one, whatever other projects hold; a replacement removes the old booking and adds the new one
// together, or, when either step fails, leaves the file as it was.
void RepositoryTest::bookingTakesNextNumberAndReplaces() {
    TestDatabase db;
    BookingRepository bookings(db.db());
    for (const auto& [project, pid] : {std::pair{"1", 1}, {"1", 2}, {"1", 5}, {"2", 9}}) {
        Booking other = booking(pid, QStringLiteral("A"), 45300);
        other.projectId = QString::fromLatin1(project);
        QVERIFY(bookings.add(other));
    }
    Booking next = booking(0, QStringLiteral("B"), 45301);
    QVERIFY(bookings.book(next));
    QCOMPARE(next.runningNumber, 6);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Firma FROM tblBuchung WHERE ID = ?"), {next.id}), "B");

    const qint64 five = db.scalar(QStringLiteral("SELECT ID FROM tblBuchung WHERE PID = 5")).toLongLong();
    db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblBuchung "
                           "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
    Booking corrected = booking(0, QStringLiteral("C"), 45302);
    QVERIFY(!bookings.book(corrected, five));
    QCOMPARE(db.scalar(QStringLiteral("SELECT group_concat(PID) FROM tblBuchung WHERE ProjektID = '1'")),
             "1,2,5,6");
    QVERIFY(!db.db().inTransaction());
    db.exec(QStringLiteral("DROP TRIGGER refuse"));
    QVERIFY(bookings.book(corrected, five));
    QCOMPARE(corrected.runningNumber, 7);
    QCOMPARE(
        db.scalar(QStringLiteral("SELECT group_concat(PID || Firma) FROM tblBuchung WHERE ProjektID = '1'")),
        "1A,2A,6B,7C");
    bool originalGone = false;
    QVERIFY(!bookings.book(corrected, five, &originalGone) && originalGone);
}

// Another workstation holding the file beyond the busy timeout refuses the first try; the booking is tried
// once more, without the user seeing it. The other workstation lets go of the file as the first try gives
// up waiting.
void RepositoryTest::busyBookingIsTriedOnceMore_data() {
    QTest::addColumn<bool>("estimate");
    QTest::newRow("booking") << false;
    QTest::newRow("estimate row") << true;
}

void RepositoryTest::busyBookingIsTriedOnceMore() {
    QFETCH(bool, estimate);
    TestDatabase file;
    const std::unique_ptr<Database> other = Database::open(file.path());
    QVERIFY(other && other->exec(QStringLiteral("BEGIN IMMEDIATE")));
    const QVariant handle = file.db().connection().driver()->handle();
    const auto letGo = [](void* otherWorkstation, int) {
        static_cast<Database*>(otherWorkstation)->exec(QStringLiteral("COMMIT"));
        return 0;
    };
    sqlite3_busy_handler(*static_cast<sqlite3* const*>(handle.constData()), letGo, other.get());
    EstimateRow row;
    Booking entry = booking(0, QStringLiteral("A"), 45300);
    row.projectId = entry.projectId;
    QVERIFY2(estimate ? EstimateRepository(file.db()).book(row) : BookingRepository(file.db()).book(entry),
             qPrintable(file.db().lastError()));
}

QTEST_GUILESS_MAIN(RepositoryTest)
#include "RepositoryTest.moc"
