#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "DayNumber.h"
#include "EstimateRepository.h"
#include "NameCascade.h"
#include "NameEntryRepository.h"
#include "ProjectRepository.h"
#include "RepeatedTexts.h"
#include "SqliteDialect.h"
#include "StoreFixture.h"

#include <QSqlDriver>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace StoreFixture;

namespace {

Booking booking(int pid, const QString& company, std::optional<int> instructedOn,
                const QString& project = "1") {
    Booking b;
    b.runningNumber = pid;
    b.projectId = project;
    b.company = company;
    b.instructedOn = instructedOn;
    return b;
}

// Declares the amount fields of bookings and estimate rows as type, as a foreign file may, and reopens.
bool declareAmounts(TestDatabase& db, const QString& type) {
    for (const Schema::Table& table : Schema::tables()) {
        if (table.name == u"tblBuchung" || table.name == u"tblNachtrag") {
            db.exec("DROP TABLE " + table.name);
            db.exec(SqliteDialect().tableStatement(table).replace(" REAL", ' ' + type));
        }
    }
    return db.reopen();
}

// One field of every row, joined by commas.
template <typename Row, typename T> QString column(const QList<Row>& rows, T Row::*field) {
    QStringList values;
    for (const Row& row : rows) {
        if constexpr (std::is_same_v<T, QString>)
            values += row.*field;
        else
            values += QString::number(*std::optional(row.*field));
    }
    return values.join(',');
}

} // namespace

// Reading and writing the six tables through their repositories.
class RepositoryTest : public QObject {
    Q_OBJECT

private slots:
    // A foreign file may declare its amount fields otherwise than REAL; what it stores there reads the same
    // in the typed rows and as the field's text. A value that is no amount keeps its stored text, and the
    // rows holding one are listed.
    void storedAmountsReadAlikeWhateverTheFieldsType_data() {
        QTest::addColumn<QString>("declared");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("unreadable");
        QTest::newRow("real") << u"REAL"_s << QVariant(1234.5) << u"1.234,50"_s << QString();
        QTest::newRow("integer holds a negative")
            << u"INTEGER"_s << QVariant(qint64(-123456789)) << u"-123.456.789,00"_s << QString();
        QTest::newRow("numeric holds a real") << u"NUMERIC"_s << QVariant(12.5) << u"12,50"_s << QString();
        QTest::newRow("text with comma") << u"REAL"_s << QVariant(u"12,5"_s) << u"12,50"_s << QString();
        QTest::newRow("text field holds 12") << u"TEXT"_s << QVariant(u"12"_s) << u"12,00"_s << QString();
        QTest::newRow("foreign text")
            << u"REAL"_s << QVariant(u"zwölf Euro"_s) << QString() << u"zwölf Euro"_s;
        QTest::newRow("beyond any amount") << u"REAL"_s << QVariant(1e308) << QString() << u"1e+308"_s;
        QTest::newRow("null") << u"INTEGER"_s << QVariant() << QString() << QString();
    }
    void storedAmountsReadAlikeWhateverTheFieldsType() {
        QFETCH(QString, declared);
        QFETCH(QVariant, stored);
        QFETCH(QString, unreadable);
        TestDatabase db;
        if (db.onServer() && (declared != u"REAL"_s || stored.typeId() == QMetaType::QString))
            QSKIP("a server's amount fields hold numbers only");
        QVERIFY(db.onServer() || declareAmounts(db, declared));
        db.exec("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', ?)", {stored});
        db.exec("INSERT INTO tblNachtrag (ProjektID, Firma, ArchitektKosten, NachtragKosten) VALUES ('1', "
                "'A', ?, ?)",
                {stored, stored});
        const auto german = [](const std::optional<Money>& amount) {
            return amount ? amount->toGerman() : QString();
        };

        const QList<Booking> bookings = BookingRepository(db.db()).forProject("1");
        const QList<EstimateRow> estimates = EstimateRepository(db.db()).forProjectAndCompany("1", "a");

        QVERIFY(bookings.size() == 1 && estimates.size() == 1);
        QTEST(german(bookings[0].amount), "shown");
        QTEST(german(estimates[0].architectCost), "shown");
        QTEST(german(estimates[0].orderCost), "shown");
        QTEST(german(Money::parseStored(db.scalar("SELECT Betrag FROM tblBuchung"))), "shown");
        QCOMPARE(bookings[0].unreadableAmount, unreadable);
        QCOMPARE(estimates[0].unreadableArchitectCost + estimates[0].unreadableOrderCost,
                 unreadable + unreadable);
        QCOMPARE(BookingRepository(db.db()).withUnreadableAmount("1").size(), unreadable.size() > 0);
        QCOMPARE(EstimateRepository(db.db()).withUnreadableAmount("1").size(), unreadable.size() > 0);
    }

    // A day number stored with a fraction (a time of day, as an old file may hold it) is the day itself.
    void storedDayIsTheDayItself_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("real with a fraction") << QVariant(45292.75) << u"01.01.2024"_s;
        QTest::newRow("text with a fraction") << QVariant(u"45292.75"_s) << u"01.01.2024"_s;
        QTest::newRow("foreign text") << QVariant(u"Neujahr"_s) << QString();
        QTest::newRow("null") << QVariant() << QString();
    }
    void storedDayIsTheDayItself() {
        QFETCH(QVariant, stored);
        TestDatabase db;
        if (db.onServer())
            QSKIP("a server's day fields hold whole numbers only");
        db.exec("INSERT INTO tblProjekt (ProjektName, Datumwert) VALUES ('Rathaus', ?)", {stored});
        db.exec("INSERT INTO tblBuchung (ProjektID, AnweisungVom, RechnungVom) VALUES ('1', ?, ?)",
                {stored, stored});
        db.exec("INSERT INTO tblNachtrag (ProjektID, Firma, ArchitektDatum, NachtragDatum) VALUES ('1', 'A', "
                "?, ?)",
                {stored, stored});

        const Project project = ProjectRepository(db.db()).all().value(0);
        const Booking booking = BookingRepository(db.db()).forProject("1").value(0);
        const EstimateRow row = EstimateRepository(db.db()).forProjectAndCompany("1", "A").value(0);

        const QStringList days{
            DayNumber::format(project.startDay),
            DayNumber::format(booking.instructedOn),
            DayNumber::format(booking.invoiceDate),
            DayNumber::format(row.architectDate),
            DayNumber::format(row.orderDate),
            DayNumber::format(DayNumber::parseStored(db.scalar("SELECT AnweisungVom FROM tblBuchung")))};
        QFETCH(QString, shown);
        QCOMPARE(days, QStringList(6, shown));
    }

    // Empty entry fields are stored as null, never as empty text, in every table.
    void emptyTextStoredAsNull_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("fields");
        QTest::newRow("project") << u"tblProjekt"_s << u"ProjektName"_s;
        QTest::newRow("company")
            << u"tblFirma"_s
            << u"\"Straße\", PLZ, Ort, Telefon1, Telefon2, Mobil, eMail, Ansprechpartner, "
               "GewerkID, KostengruppeID"_s;
        QTest::newRow("trade") << u"tblGewerk"_s << u"Gewerk"_s;
        QTest::newRow("booking") << u"tblBuchung"_s
                                 << u"Projekt, Gewerk, Kostengruppe, RechnungsNr, Zahlungsart, Bemerkungen"_s;
        QTest::newRow("estimate row") << u"tblNachtrag"_s << u"Projekt, Gewerk, Kostengruppe, NachtragArt"_s;
    }
    void emptyTextStoredAsNull() {
        QFETCH(QString, table);
        QFETCH(QString, fields);
        TestDatabase db;
        db.clearPresets();
        Company company;
        company.name = "Dach GmbH";
        company.street = "";
        Booking entry = booking(1, "Dach GmbH", 45000);
        entry.project = "";
        EstimateRow row;
        row.projectId = "1";
        row.company = "Dach GmbH";
        row.orderKind = "";
        const std::optional<qint64> added =
            table == "tblProjekt"   ? ProjectRepository(db.db()).add("", 45000)
            : table == "tblFirma"   ? CompanyRepository(db.db()).add(company)
            : table == "tblGewerk"  ? NameEntryRepository(db.db(), NameEntryRepository::Table::Trades).add("")
            : table == "tblBuchung" ? BookingRepository(db.db()).add(entry)
                                    : EstimateRepository(db.db()).add(row);
        QVERIFY2(added, qPrintable(db.db().lastError()));
        QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM %1 WHERE %2 IS NULL"_s.arg(
                     table, fields.replace(", ", " IS NULL AND "))),
                 "1");
    }

    // A project's bookings are found by company ignoring case, never as a pattern, and a refused write says
    // why in German.
    void bookingsAreFoundByCompanyIgnoringCase() {
        TestDatabase db;
        BookingRepository bookings(db.db());
        for (int pid : {1, 2, 5})
            QVERIFY(bookings.add(booking(pid, "A", 45291 + pid)));
        QVERIFY(bookings.add(booking(3, "O'Neill*", 45657)));
        QVERIFY(bookings.add(booking(4, "O'Neill Bäder", std::nullopt)));
        QVERIFY(bookings.add(booking(7, "O'Neill Bäder", 45000, "2")));
        Booking written = booking(6, "O'Neill Bäder", 45658);
        written.amount = Money::fromCents(123456789);
        const std::optional<qint64> id = bookings.add(written);
        QVERIFY(id);
        QCOMPARE(db.scalar("SELECT Betrag || ' ' || " + typeOf(db, "PID") + " FROM tblBuchung WHERE ID = ?",
                           {*id}),
                 "1234567.89 integer");

        QCOMPARE(bookings.find("1", 6, "O'NEILL BÄDER", 45658)->amount, written.amount);
        QVERIFY(bookings.find("1", 4, "o'neill bäder", std::nullopt));
        QVERIFY(!bookings.find("1", 6, "O'Neill*", 45658));
        QCOMPARE(column(bookings.withValue("1", BookingRepository::Field::Company, "o'neill bäder"),
                        &Booking::runningNumber),
                 "4,6");
        QCOMPARE(column(bookings.instructedBetween("1", 45292, 45657), &Booking::runningNumber), "1,2,3,5");
        QCOMPARE(bookings.distinctValues(BookingRepository::Field::Company, "1"),
                 (QStringList{"A", "O'Neill Bäder", "O'Neill*"}));
        QVERIFY(bookings.remove(*id));
        QVERIFY(!bookings.find("1", 6, "O'Neill Bäder", 45658));
        refuse(db, "tblBuchung", "INSERT", "Tabelle gesperrt");
        QVERIFY(!bookings.add(written));
        QVERIFY2(db.db().lastError().startsWith("Der Datensatz konnte nicht gespeichert werden: ") &&
                     db.db().lastError().contains("Tabelle gesperrt"),
                 qPrintable(db.db().lastError()));
    }

    // A project number stored with blanks around it by another program (" 3") selects the rows of project
    // 3 wherever the program reads or changes a project's rows; project 13 stays apart.
    void projectNumberWithBlanksIsTheProject() {
        TestDatabase db;
        // The other program numbered " 3" and "3 " apart.
        db.exec("DROP INDEX uxBuchungProjektPID");
        for (const QString project : {" 3", "3 ", "3", "13"}) {
            db.exec("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, AnweisungVom, Betrag) "
                    "VALUES (length(CAST(? AS TEXT)), ?, 'Alt', ?, 45300, 1)",
                    {project, project, project.trimmed()});
            db.exec("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (length(CAST(? "
                    "AS TEXT)), ?, "
                    "'A', 2)",
                    {project, project});
        }
        db.exec("INSERT INTO tblProjekt (ID, ProjektName) VALUES (3, 'Alt')");
        BookingRepository bookings(db.db());
        EstimateRepository estimates(db.db());
        QCOMPARE(column(bookings.forProject("3"), &Booking::runningNumber), "2,2,1");
        QCOMPARE(bookings.sumsByCompany("3").first().amount, Money::fromCents(300));
        QCOMPARE(bookings.highestRunningNumber("3"), 2);
        QCOMPARE(bookings.distinctValues(BookingRepository::Field::Company, "3"), QStringList{"3"});
        QCOMPARE(bookings.withValue("3", BookingRepository::Field::Company, "3").size(), 3);
        QCOMPARE(bookings.instructedBetween("3", 45300, 45300).size(), 3);
        QCOMPARE(estimates.forProject("3").size(), 3);
        QCOMPARE(estimates.forProjectAndCompany("3", "a").size(), 3);
        QCOMPARE(estimates.highestRunningNumber("3", "A"), 2);
        QVERIFY(NameCascade(db.db()).changeProject(Project{3, "Neu", std::nullopt}, "Alt"));
        QCOMPARE(joined(db, "tblBuchung", "Projekt"), "Neu,Neu,Neu,Alt");
    }

    // A project's bookings hold the texts they repeat (project, company, trade) once, each booking with the
    // texts of its own row: an empty field stays empty, a text read after another is not taken for it.
    void bookingsShareTheTextsTheyRepeat() {
        TestDatabase db;
        BookingRepository bookings(db.db());
        const QStringList companies{"Dach GmbH", "Bau AG", "Dach GmbH", "Élan Bäder", "Bau AG", "Dach"};
        for (int pid = 1; pid <= companies.size(); ++pid) {
            Booking entry = booking(pid, companies.at(pid - 1), 45000 + pid);
            entry.project = "Schule Nord";
            entry.trade = pid == 3 ? "" : "Dach";
            entry.invoiceNumber = "R" + QString::number(pid);
            QVERIFY(bookings.add(entry));
        }
        const QList<Booking> read = bookings.forProject("1");
        QCOMPARE(column(read, &Booking::company), companies.join(','));
        QCOMPARE(column(read, &Booking::trade), "Dach,Dach,,Dach,Dach,Dach");
        QCOMPARE(column(read, &Booking::invoiceNumber), "R1,R2,R3,R4,R5,R6");
        QVERIFY(read.at(2).trade.isNull());
        QVERIFY(read.at(2).company.isSharedWith(read.at(0).company));
        QVERIFY(read.at(4).company.isSharedWith(read.at(1).company));
        QVERIFY(read.at(5).project.isSharedWith(read.at(0).project));
        QVERIFY(read.at(5).trade.isSharedWith(read.at(0).trade));
    }

    // An engine hands each row's text over in a buffer that the next row reuses: every text is the one of
    // the bytes as they lie at that moment, whatever the buffer held before.
    void repeatedTextsFollowAReusedBuffer() {
        RepeatedTexts texts;
        QByteArray buffer(9, ' ');
        for (int round = 0; round < 2; ++round) {
            for (int i = 0; i < 200; ++i) {
                const QByteArray row = QByteArray::number(i).rightJustified(4, '0') + " GmbH";
                std::copy(row.cbegin(), row.cend(), buffer.begin());
                QCOMPARE(texts.fromUtf8(buffer), QString::fromLatin1(row));
            }
        }
    }

    // A booking is numbered from the file inside its own transaction: the highest number of its project
    // plus one, whatever other projects hold; when it cannot be written, the file stays as it was.
    void bookingTakesNextNumber() {
        TestDatabase db;
        BookingRepository bookings(db.db());
        for (const auto& [project, pid] : {std::pair{"1", 1}, {"1", 2}, {"1", 5}, {"2", 9}})
            QVERIFY(bookings.add(booking(pid, "A", 45300, project)));
        Booking first = booking(0, "D", 45300, "3");
        QVERIFY(bookings.book(first));
        QCOMPARE(first.runningNumber, 1);
        Booking next = booking(0, "B", 45301);
        QVERIFY(bookings.book(next));
        QCOMPARE(next.runningNumber, 6);
        QCOMPARE(db.scalar("SELECT Firma FROM tblBuchung WHERE ID = ?", {next.id}), "B");

        refuse(db, "tblBuchung", "INSERT");
        Booking refused = booking(0, "C", 45302);
        QVERIFY(!bookings.book(refused));
        QCOMPARE(joined(db, "tblBuchung", "PID", "ProjektID = '1'"), "1,2,5,6");
        QVERIFY(!db.db().inTransaction());
    }

    // Another workstation holding the file beyond the busy timeout refuses the first try; the booking is
    // tried once more, without the user seeing it. The other workstation lets go of the file as the first
    // try gives up waiting.
    void busyBookingIsTriedOnceMore_data() {
        QTest::addColumn<bool>("estimate");
        QTest::newRow("booking") << false;
        QTest::newRow("estimate row") << true;
    }
    void busyBookingIsTriedOnceMore() {
        QFETCH(bool, estimate);
        TestDatabase file;
        if (file.onServer())
            QSKIP("a file held by another workstation");
        const std::unique_ptr<Database> other = Database::open(file.path());
        QVERIFY(other && other->exec("BEGIN IMMEDIATE"));
        const QVariant handle = file.db().connection().driver()->handle();
        const auto letGo = [](void* otherWorkstation, int) {
            static_cast<Database*>(otherWorkstation)->exec("COMMIT");
            return 0;
        };
        sqlite3_busy_handler(*static_cast<sqlite3* const*>(handle.constData()), letGo, other.get());
        EstimateRow row;
        Booking entry = booking(0, "A", 45300);
        row.projectId = entry.projectId;
        QVERIFY2(estimate ? EstimateRepository(file.db()).book(row)
                          : BookingRepository(file.db()).book(entry),
                 qPrintable(file.db().lastError()));
    }

    // The register's search looks for the text in name, postcode, town, trade and cost group, from the left
    // or anywhere, with * and ? as the only wildcards; a company is found by its name ignoring case.
    void companySearch_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fromLeft");
        QTest::addColumn<QString>("expected");
        QTest::newRow("postcode anywhere") << u"97"_s << false << "Alpha,Gamma";
        QTest::newRow("postcode from left") << u"97"_s << true << "Alpha";
        QTest::newRow("trade") << u"elektro"_s << false << "Beta";
        QTest::newRow("cost group") << u"440"_s << false << "Beta";
        QTest::newRow("town umlaut case") << u"WÜRZ"_s << false << "Alpha";
        QTest::newRow("street not searched") << u"Weg"_s << false << "";
        QTest::newRow("wildcard one char") << u"G?mma"_s << true << "Gamma";
        QTest::newRow("percent literal") << u"%"_s << false << "";
        QTest::newRow("apostrophe") << u"O'N"_s << true << "O'Neill Bäder";
    }
    void companySearch() {
        QFETCH(QString, text);
        QFETCH(bool, fromLeft);
        TestDatabase db;
        db.exec(
            "INSERT INTO tblFirma (Name, PLZ, Ort, \"Straße\", GewerkID, KostengruppeID) VALUES "
            "('Alpha', '97070', 'Würzburg', 'Am Weg 1', NULL, NULL), "
            "('Beta', NULL, NULL, NULL, 'Elektroanlagen', '440 Elektrische Anlagen'), "
            "('Gamma', '10977', NULL, NULL, NULL, NULL), ('O''Neill Bäder', NULL, NULL, NULL, NULL, NULL)");
        CompanyRepository companies(db.db());
        bool ok = false;
        const auto from =
            fromLeft ? CompanyRepository::SearchFrom::Left : CompanyRepository::SearchFrom::Anywhere;
        QTEST(column(companies.search(text, from, &ok), &Company::name), "expected");
        QVERIFY(ok);
        QCOMPARE(column(companies.searchByName("'neill"), &Company::name), "O'Neill Bäder");
        QCOMPARE(companies.findByName("o'neill BÄDER")->id, 4);
    }

    void projectsAreNewestFirstAndFoundByNumberOrName() {
        TestDatabase db;
        db.exec("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (112, 'Schule', 45000), "
                "(5, 'Kita Süd', NULL), (7, 'Rathaus 12', 46000), (9, 'Bad', 45000)");
        ProjectRepository projects(db.db());
        QCOMPARE(column(projects.newestFirst(), &Project::id), "7,9,112,5");
        QCOMPARE(column(projects.search("12"), &Project::id), "7,112");
        QCOMPARE(column(projects.search("SÜD"), &Project::id), "5");
    }

    // Estimate rows are numbered per project and company, found by company ignoring case; name lists are in
    // German order.
    void estimateRowsAndNameLists() {
        TestDatabase db;
        EstimateRepository estimates(db.db());
        EstimateRow row;
        row.runningNumber = 2;
        row.projectId = "4";
        row.company = "Dach GmbH";
        row.orderDate = 45100;
        QVERIFY(estimates.add(row));
        QCOMPARE(estimates.forProjectAndCompany("4", "DACH gmbh").size(), 1);
        QCOMPARE(estimates.forProjectAndCompany("4", "Dach*").size(), 0);
        QCOMPARE(estimates.highestRunningNumber("4", "dach gmbh"), 2);
        QVERIFY(estimates.find("4", 2, std::nullopt, 45100));
        QVERIFY(!estimates.find("4", 2, 45000, 45100));

        db.clearPresets();
        NameEntryRepository trades(db.db(), NameEntryRepository::Table::Trades);
        for (const QString name : {"zimmerei", "Öl- und Gasfeuerung", "2 Fachlos", "Abbruch", "10 Fachlos"})
            QVERIFY(trades.add(name));
        QCOMPARE(column(trades.byName(), &NameEntry::name),
                 "10 Fachlos,2 Fachlos,Abbruch,Öl- und Gasfeuerung,zimmerei");
    }
};

QTEST_GUILESS_MAIN(RepositoryTest)
#include "RepositoryTest.moc"
