#include "BookingRepository.h"
#include "CompanyRepository.h"
#include "EstimateRepository.h"
#include "NameEntryRepository.h"
#include "ProjectRepository.h"
#include "RunningNumber.h"
#include "TestDatabase.h"

#include <QTest>

namespace {

Booking booking(const QString& projectId, int pid, const QString& company, std::optional<int> instructedOn) {
    Booking b;
    b.runningNumber = pid;
    b.projectId = projectId;
    b.project = QStringLiteral("Rathaus");
    b.company = company;
    b.trade = QStringLiteral("Elektro");
    b.costGroup = QStringLiteral("440 Elektrische Anlagen");
    b.instructedOn = instructedOn;
    b.amount = Money::fromCents(10050);
    return b;
}

QStringList namesOf(const QList<Company>& companies) {
    QStringList names;
    for (const Company& company : companies)
        names += company.name;
    return names;
}

QList<qint64> idsOf(const QList<Project>& projects) {
    QList<qint64> ids;
    for (const Project& project : projects)
        ids += project.id;
    return ids;
}

} // namespace

// Reading and writing the six tables through their repositories.
class RepositoryTest : public QObject {
    Q_OBJECT

private slots:
    void nullFieldsReadAsEmpty();
    void storedAmounts_data();
    void storedAmounts();
    void bookingRoundTrip();
    void bookingQueries();
    void distinctValuesIgnoreCase();
    void apostropheRoundTrip();
    void companySearch_data();
    void companySearch();
    void projectSearchAndOrder();
    void estimateRows();
    void nameEntries();
    void changingMissingRowFails();
};

void RepositoryTest::nullFieldsReadAsEmpty() {
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID) VALUES ('3')"));
    bool ok = false;
    const QList<Booking> rows = BookingRepository(db.db()).forProject(QStringLiteral("3"), &ok);
    QVERIFY(ok);
    QCOMPARE(rows.size(), 1);
    const Booking& row = rows.first();
    QVERIFY(!row.runningNumber && !row.instructedOn && !row.invoiceDate && !row.amount);
    QVERIFY(row.project.isEmpty() && row.company.isEmpty() && row.remarks.isEmpty() &&
            row.invoiceNumber.isEmpty());
    QVERIFY(row.id > 0);
}

void RepositoryTest::storedAmounts_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("present");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("real") << QVariant(1234.5) << true << qint64(123450);
    QTest::newRow("real cents") << QVariant(0.29) << true << qint64(29);
    QTest::newRow("negative") << QVariant(-5000.0) << true << qint64(-500000);
    QTest::newRow("integer") << QVariant(qint64(12)) << true << qint64(1200);
    QTest::newRow("text with comma") << QVariant(QStringLiteral("12,5")) << true << qint64(1250);
    QTest::newRow("foreign text") << QVariant(QStringLiteral("zwölf Euro")) << false << qint64(0);
    QTest::newRow("empty text") << QVariant(QString(QStringLiteral(""))) << false << qint64(0);
    QTest::newRow("null") << QVariant() << false << qint64(0);
}

void RepositoryTest::storedAmounts() {
    QFETCH(QVariant, stored);
    QFETCH(bool, present);
    QFETCH(qint64, cents);
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES ('1', ?)"), {stored});
    db.exec(QStringLiteral("INSERT INTO tblNachtrag (ProjektID, Firma, NachtragKosten) VALUES ('1', 'A', ?)"),
            {stored});
    const QList<Booking> bookings = BookingRepository(db.db()).forProject(QStringLiteral("1"));
    const QList<EstimateRow> estimates =
        EstimateRepository(db.db()).forProjectAndCompany(QStringLiteral("1"), QStringLiteral("a"));
    QCOMPARE(bookings.size(), 1);
    QCOMPARE(estimates.size(), 1);
    QCOMPARE(bookings.first().amount.has_value(), present);
    QCOMPARE(estimates.first().orderCost.has_value(), present);
    if (present) {
        QCOMPARE(bookings.first().amount->cents(), cents);
        QCOMPARE(estimates.first().orderCost->cents(), cents);
    }
}

void RepositoryTest::bookingRoundTrip() {
    TestDatabase db;
    QVERIFY(db.isValid());
    BookingRepository bookings(db.db());
    Booking written = booking(QStringLiteral("7"), 3, QStringLiteral("Müller Bau"), 45292);
    written.invoiceDate = 45290;
    written.invoiceNumber = QStringLiteral("RE-1");
    written.paymentKind = QStringLiteral("Schlußzahlung");
    written.remarks = QStringLiteral("letzte Rate");
    written.amount = Money::fromCents(123456789);
    const std::optional<qint64> id = bookings.add(written);
    QVERIFY(id);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Betrag FROM tblBuchung WHERE ID = ?"), {*id}),
             QStringLiteral("1234567.89"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT typeof(AnweisungVom) || typeof(PID) FROM tblBuchung")),
             QStringLiteral("integerinteger"));
    const std::optional<Booking> read =
        bookings.find(QStringLiteral("7"), 3, QStringLiteral("MÜLLER BAU"), 45292);
    QVERIFY(read);
    QCOMPARE(read->id, *id);
    QCOMPARE(read->invoiceDate, std::optional<int>(45290));
    QCOMPARE(read->paymentKind, QStringLiteral("Schlußzahlung"));
    QCOMPARE(read->amount, std::optional<Money>(Money::fromCents(123456789)));
    QVERIFY(!bookings.find(QStringLiteral("7"), 3, QStringLiteral("Müller Bau"), std::nullopt));
    QVERIFY(!bookings.find(QStringLiteral("7"), 3, QStringLiteral("Müller*"), 45292));

    QVERIFY(bookings.add(booking(QStringLiteral("7"), 4, QStringLiteral("Ohne Datum"), std::nullopt)));
    QVERIFY(bookings.find(QStringLiteral("7"), 4, QStringLiteral("ohne datum"), std::nullopt));
    QVERIFY(bookings.remove(*id));
    QVERIFY(!bookings.find(QStringLiteral("7"), 3, QStringLiteral("Müller Bau"), 45292));
}

void RepositoryTest::bookingQueries() {
    TestDatabase db;
    QVERIFY(db.isValid());
    BookingRepository bookings(db.db());
    for (int pid : {1, 2, 5})
        QVERIFY(bookings.add(booking(QStringLiteral("1"), pid, QStringLiteral("A"), 45291 + pid)));
    QVERIFY(bookings.add(booking(QStringLiteral("11"), 9, QStringLiteral("A"), 45300)));
    QVERIFY(bookings.add(booking(QStringLiteral("1"), 3, QStringLiteral("B"), 45657)));
    QVERIFY(bookings.add(booking(QStringLiteral("1"), 4, QStringLiteral("B"), 45658)));

    QCOMPARE(bookings.forProject(QStringLiteral("1")).size(), 5);
    QCOMPARE(bookings.highestRunningNumber(QStringLiteral("1")), 5);
    QCOMPARE(RunningNumber::next(bookings.highestRunningNumber(QStringLiteral("1"))), 6);
    QCOMPARE(bookings.highestRunningNumber(QStringLiteral("2")), 0);

    const QList<Booking> ofA =
        bookings.withValue(QStringLiteral("1"), BookingRepository::Field::Company, QStringLiteral("a"));
    QCOMPARE(ofA.size(), 3);
    QVERIFY(ofA.at(0).instructedOn < ofA.at(1).instructedOn &&
            ofA.at(1).instructedOn < ofA.at(2).instructedOn);

    // The year 2024: day numbers 45292 (1 January) to 45657 (31 December).
    const QList<Booking> year = bookings.instructedBetween(QStringLiteral("1"), 45292, 45657);
    QList<int> pids;
    for (const Booking& b : year)
        pids += *b.runningNumber;
    QCOMPARE(pids, (QList<int>{1, 2, 3, 5}));
}

void RepositoryTest::distinctValuesIgnoreCase() {
    TestDatabase db;
    QVERIFY(db.isValid());
    BookingRepository bookings(db.db());
    for (const QString& company : {QStringLiteral("Zimmerei"), QStringLiteral("ärzte"),
                                   QStringLiteral("Abbruch"), QStringLiteral("ABBRUCH"), QString()})
        QVERIFY(bookings.add(booking(QStringLiteral("1"), 1, company, 45000)));
    Booking other = booking(QStringLiteral("2"), 1, QStringLiteral("Fremd"), 45000);
    other.project = QStringLiteral("Schule");
    QVERIFY(bookings.add(other));
    QCOMPARE(bookings.distinctValues(BookingRepository::Field::Company, QStringLiteral("RATHAUS")),
             (QStringList{QStringLiteral("ABBRUCH"), QStringLiteral("ärzte"), QStringLiteral("Zimmerei")}));
    QCOMPARE(bookings.distinctValues(BookingRepository::Field::Trade, QStringLiteral("Rathaus")),
             QStringList{QStringLiteral("Elektro")});
}

void RepositoryTest::apostropheRoundTrip() {
    TestDatabase db;
    QVERIFY(db.isValid());
    CompanyRepository companies(db.db());
    Company company;
    company.name = QStringLiteral("O'Neill Bau");
    company.street = QStringLiteral("Hauptstraße 1");
    company.town = QStringLiteral("Köln");
    const std::optional<qint64> id = companies.add(company);
    QVERIFY(id);
    QCOMPARE(companies.find(*id)->name, QStringLiteral("O'Neill Bau"));
    QCOMPARE(companies.find(*id)->street, QStringLiteral("Hauptstraße 1"));
    QCOMPARE(companies.findByName(QStringLiteral("o'neill BAU"))->id, *id);
    QCOMPARE(namesOf(companies.search(QStringLiteral("O'N"), CompanyRepository::SearchFrom::Left)),
             QStringList{QStringLiteral("O'Neill Bau")});
    QCOMPARE(namesOf(companies.searchByName(QStringLiteral("'neill"))),
             QStringList{QStringLiteral("O'Neill Bau")});

    BookingRepository bookings(db.db());
    QVERIFY(bookings.add(booking(QStringLiteral("1"), 1, QStringLiteral("O'Neill Bau"), 45000)));
    QCOMPARE(
        bookings
            .withValue(QStringLiteral("1"), BookingRepository::Field::Company, QStringLiteral("O'NEILL BAU"))
            .size(),
        1);
}

void RepositoryTest::companySearch_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fromLeft");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("postcode anywhere") << "97" << false << QStringList{"Alpha", "Gamma"};
    QTest::newRow("postcode from left") << "97" << true << QStringList{"Alpha"};
    QTest::newRow("trade") << "elektro" << false << QStringList{"Beta"};
    QTest::newRow("cost group") << "440" << false << QStringList{"Beta"};
    QTest::newRow("town umlaut case") << "WÜRZ" << false << QStringList{"Alpha"};
    QTest::newRow("street not searched") << "Weg" << false << QStringList{};
    QTest::newRow("wildcard one char") << "G?mma" << true << QStringList{"Gamma"};
    QTest::newRow("percent literal") << "%" << false << QStringList{};
    QTest::newRow("empty finds all") << "" << false << QStringList{"Alpha", "Beta", "Gamma"};
}

void RepositoryTest::companySearch() {
    QFETCH(QString, text);
    QFETCH(bool, fromLeft);
    QFETCH(QStringList, expected);
    TestDatabase db;
    QVERIFY(db.isValid());
    CompanyRepository companies(db.db());
    Company alpha;
    alpha.name = QStringLiteral("Alpha");
    alpha.postcode = QStringLiteral("97070");
    alpha.town = QStringLiteral("Würzburg");
    alpha.street = QStringLiteral("Am Weg 1");
    Company beta;
    beta.name = QStringLiteral("Beta");
    beta.trade = QStringLiteral("Elektroanlagen");
    beta.costGroup = QStringLiteral("440 Elektrische Anlagen");
    Company gamma;
    gamma.name = QStringLiteral("Gamma");
    gamma.postcode = QStringLiteral("10977");
    for (const Company& company : {alpha, beta, gamma})
        QVERIFY(companies.add(company));
    bool ok = false;
    const QList<Company> found = companies.search(
        text, fromLeft ? CompanyRepository::SearchFrom::Left : CompanyRepository::SearchFrom::Anywhere, &ok);
    QVERIFY(ok);
    QCOMPARE(namesOf(found), expected);
}

void RepositoryTest::projectSearchAndOrder() {
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(
        QStringLiteral("INSERT INTO tblProjekt (ID, ProjektName, Datumwert) VALUES (112, 'Schule', 45000), "
                       "(5, 'Kita Süd', NULL), (7, 'Rathaus 12', 46000), (9, 'Bad', 45000)"));
    ProjectRepository projects(db.db());
    QCOMPARE(idsOf(projects.newestFirst()), (QList<qint64>{7, 9, 112, 5}));
    QCOMPARE(idsOf(projects.search(QStringLiteral("12"))), (QList<qint64>{7, 112}));
    QCOMPARE(idsOf(projects.search(QStringLiteral("SÜD"))), QList<qint64>{5});
    const std::optional<qint64> added = projects.add(QStringLiteral("Neu"), 45500);
    QVERIFY(added && *added > 112);
    QCOMPARE(projects.find(*added)->startDay, std::optional<int>(45500));
    QVERIFY(projects.update(Project{*added, QStringLiteral("Neubau"), std::nullopt}));
    QCOMPARE(projects.find(*added)->name, QStringLiteral("Neubau"));
    QVERIFY(!projects.find(*added)->startDay);
    QVERIFY(projects.remove(*added));
    QVERIFY(!projects.find(*added));
}

void RepositoryTest::estimateRows() {
    TestDatabase db;
    QVERIFY(db.isValid());
    EstimateRepository estimates(db.db());
    EstimateRow row;
    row.projectId = QStringLiteral("4");
    row.company = QStringLiteral("Dach GmbH");
    row.runningNumber = 1;
    row.architectDate = 45000;
    row.architectCost = Money::fromCents(500000);
    QVERIFY(estimates.add(row));
    row.runningNumber = 2;
    row.architectDate.reset();
    row.architectCost.reset();
    row.orderDate = 45100;
    row.orderKind = QStringLiteral("Auftrag vom");
    row.orderCost = Money::fromCents(480000);
    const std::optional<qint64> second = estimates.add(row);
    QVERIFY(second);

    QCOMPARE(estimates.forProjectAndCompany(QStringLiteral("4"), QStringLiteral("DACH gmbh")).size(), 2);
    QCOMPARE(estimates.forProjectAndCompany(QStringLiteral("4"), QStringLiteral("Dach*")).size(), 0);
    QCOMPARE(estimates.highestRunningNumber(QStringLiteral("4"), QStringLiteral("dach gmbh")), 2);
    const std::optional<EstimateRow> found = estimates.find(QStringLiteral("4"), 2, std::nullopt, 45100);
    QVERIFY(found);
    QCOMPARE(found->rowId, *second);
    QCOMPARE(found->orderKind, QStringLiteral("Auftrag vom"));
    QVERIFY(!estimates.find(QStringLiteral("4"), 2, 45000, 45100));
    QVERIFY(estimates.remove(*second));
    QCOMPARE(estimates.all().size(), 1);
}

void RepositoryTest::nameEntries() {
    TestDatabase db;
    QVERIFY(db.isValid());
    db.clearPresets();
    NameEntryRepository trades(db.db(), NameEntryRepository::Table::Trades);
    const std::optional<qint64> first = trades.add(QStringLiteral("zimmerei"));
    QVERIFY(first);
    QVERIFY(trades.add(QStringLiteral("Abbruch")));
    QVERIFY(trades.add(QStringLiteral("Elektro")));
    QStringList names;
    for (const NameEntry& entry : trades.byName())
        names += entry.name;
    QCOMPARE(names, (QStringList{"Abbruch", "Elektro", "zimmerei"}));
    QCOMPARE(trades.byId().first().name, QStringLiteral("zimmerei"));
    QVERIFY(trades.update(NameEntry{*first, QStringLiteral("Zimmerei")}));
    QCOMPARE(trades.find(*first)->name, QStringLiteral("Zimmerei"));
    QCOMPARE(NameEntryRepository(db.db(), NameEntryRepository::Table::CostGroups).byId().size(), 0);
}

void RepositoryTest::changingMissingRowFails() {
    TestDatabase db;
    QVERIFY(db.isValid());
    Company ghost;
    ghost.id = 999;
    ghost.name = QStringLiteral("Geist");
    QVERIFY(!CompanyRepository(db.db()).update(ghost));
    QVERIFY2(db.db().lastError().contains(QStringLiteral("ist nicht mehr vorhanden")),
             qPrintable(db.db().lastError()));
    QVERIFY(!NameEntryRepository(db.db(), NameEntryRepository::Table::CostGroups).remove(999));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblFirma")), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(RepositoryTest)
#include "RepositoryTest.moc"
