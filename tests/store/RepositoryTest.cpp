#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "EstimateRepository.h"
#include "NameEntryRepository.h"
#include "ProjectRepository.h"
#include "RunningNumber.h"
#include "TestDatabase.h"

#include <QTest>

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
    void storedValues_data();
    void storedValues();
    void bookings();
    void apostrophe();
    void companySearch_data();
    void companySearch();
    void projects();
    void estimateRowsAndNameLists();
};

void RepositoryTest::storedValues_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<std::optional<qint64>>("cents");
    QTest::newRow("real") << QVariant(1234.5) << std::optional<qint64>(123450);
    QTest::newRow("real cents") << QVariant(0.29) << std::optional<qint64>(29);
    QTest::newRow("integer") << QVariant(qint64(-12)) << std::optional<qint64>(-1200);
    QTest::newRow("text with comma") << QVariant(QStringLiteral("12,5")) << std::optional<qint64>(1250);
    QTest::newRow("foreign text") << QVariant(QStringLiteral("zwölf Euro")) << std::optional<qint64>();
    QTest::newRow("null") << QVariant() << std::optional<qint64>();
}

void RepositoryTest::storedValues() {
    QFETCH(QVariant, stored);
    QFETCH(std::optional<qint64>, cents);
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', ?)"), {stored});
    db.exec(QStringLiteral("INSERT INTO tblNachtrag (ProjektID, Firma, NachtragKosten) VALUES ('1', 'A', ?)"),
            {stored});
    const QList<Booking> bookings = BookingRepository(db.db()).forProject(QStringLiteral("1"));
    const QList<EstimateRow> estimates =
        EstimateRepository(db.db()).forProjectAndCompany(QStringLiteral("1"), QStringLiteral("a"));
    QVERIFY(bookings.size() == 1 && estimates.size() == 1);
    const std::optional<Money> expected =
        cents ? std::optional<Money>(Money::fromCents(*cents)) : std::nullopt;
    QCOMPARE(bookings.first().amount, expected);
    QCOMPARE(estimates.first().orderCost, expected);
    const Booking& row = bookings.first();
    QVERIFY(row.id > 0 && !row.runningNumber && !row.instructedOn && !row.invoiceDate);
    QVERIFY(row.project.isEmpty() && row.company.isEmpty() && row.remarks.isEmpty() &&
            row.invoiceNumber.isEmpty());
}

void RepositoryTest::bookings() {
    TestDatabase db;
    QVERIFY(db.isValid());
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
    QCOMPARE(bookings.distinctValues(BookingRepository::Field::Company, QStringLiteral("RATHAUS")),
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

void RepositoryTest::apostrophe() {
    TestDatabase db;
    QVERIFY(db.isValid());
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
    QVERIFY(db.isValid());
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
    QVERIFY(db.isValid());
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
    QVERIFY(db.isValid());
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

QTEST_GUILESS_MAIN(RepositoryTest)
#include "RepositoryTest.moc"
