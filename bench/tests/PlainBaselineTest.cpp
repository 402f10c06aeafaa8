#include "PlainBaseline.h"
#include "BookingRepository.h"
#include "CompanyRegister.h"
#include "CostReportModel.h"
#include "EvaluationListModel.h"
#include "PlainConnection.h"
#include "RecordingDialogs.h"
#include "Session.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "WidgetDriver.h"
#include "Workspace.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

namespace {

QString describe(const Booking& b) {
    auto number = [](std::optional<int> n) { return n ? QString::number(*n) : QStringLiteral("-"); };
    return QStringList{QString::number(b.id),
                       number(b.runningNumber),
                       b.projectId,
                       b.project,
                       b.company,
                       b.trade,
                       b.costGroup,
                       number(b.instructedOn),
                       number(b.invoiceDate),
                       b.invoiceNumber,
                       b.paymentKind,
                       b.remarks,
                       b.amount ? QString::number(b.amount->cents()) : QStringLiteral("-")}
        .join(QLatin1Char('|'));
}

QStringList describeAll(const QList<Booking>& bookings) {
    QStringList lines;
    for (const Booking& booking : bookings)
        lines << describe(booking);
    return lines;
}

QStringList names(const QList<PlainBaseline::CompanyListRow>& rows) {
    QStringList found;
    for (const PlainBaseline::CompanyListRow& row : rows)
        found << row.texts.at(1);
    return found;
}

// A workspace on the test file with its settings in a temporary folder, shown and activated as the
// benchmarks open it.
struct OpenWorkspace : WidgetDriver {
    RecordingDialogs dialogs;
    QTemporaryDir settingsFolder;
    Settings settings{settingsFolder.filePath(QStringLiteral("zlv.ini"))};
    std::unique_ptr<Session> session;
    Workspace window;

    OpenWorkspace(const QString& file, const QString& projectId)
        : session(Session::open(file)), window(*session, dialogs, settings) {
        window.setProject(projectId, QStringLiteral("Schule"));
        window.show();
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&window, &activation);
    }
    ~OpenWorkspace() { window.close(); }
    const QObject* root() const override { return &window; }
};

template <typename Row> QStringList joined(const QList<Row>& rows) {
    QStringList lines;
    for (const Row& row : rows)
        lines << row.texts.join(QLatin1Char('|'));
    return lines;
}

QStringList firstTexts(const QList<PlainBaseline::BookingListRow>& rows) {
    QStringList texts;
    for (const PlainBaseline::BookingListRow& row : rows)
        texts << row.texts.first();
    return texts;
}

QVariant valueOrNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// Bookings of project 7 (and one of project 8) for the evaluation: running number, company, day of
// instruction, amount.
void addEvaluationBookings(TestDatabase& db) {
    const QList<QVariantList> bookings{{12, "Bauer", 45001, 10.5},         {3, "Bauer", 45000, 1500},
                                       {1000, "bauer", 45002, QVariant()}, {4, "Ofenbau", 45003, 2},
                                       {1, "Ofenbau", 44926, 7},           {2, "Ofenbau", 44927, 8},
                                       {5, "Ofenbau", 45291, 9},           {6, "Ofenbau", 45292, 10}};
    for (const QVariantList& b : bookings)
        db.exec(
            QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                           "AnweisungVom, RechnungVom, RechnungsNr, Zahlungsart, Betrag) "
                           "VALUES (?, '7', 'Schule', ?, 'Dach', '300', ?, 45010, 'R-1', 'bar', ?)"),
            b);
    db.exec(QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Firma, AnweisungVom, Betrag) "
                           "VALUES (7, '8', 'Bauer', 45000, 99)"));
}

// An estimate row of project 7: running number, company, kind, architect's date and amount, order's
// date and amount; an empty text stands for null.
void addEstimate(TestDatabase& db, const QStringList& row) {
    db.exec(QStringLiteral(
                "INSERT INTO tblNachtrag (NID, ProjektID, Projekt, Firma, NachtragArt, ArchitektDatum, "
                "ArchitektKosten, NachtragDatum, NachtragKosten) VALUES (?, '7', 'Schule', ?, ?, ?, ?, "
                "?, ?)"),
            {valueOrNull(row.at(0)), row.at(1), valueOrNull(row.at(2)), valueOrNull(row.at(3)),
             valueOrNull(row.at(4)), valueOrNull(row.at(5)), valueOrNull(row.at(6))});
}

} // namespace

// The baselines build what the program builds: the same typed bookings, the company list in the
// register's order, the workspace's booking list and the booking entry's company search.
class PlainBaselineTest : public QObject {
    Q_OBJECT
private slots:
    void projectBookings_data();
    void projectBookings();
    void projectBookingsLeaveOtherProjectsOut();
    void companyListByName_data();
    void companyListByName();
    void companyListTexts();
    void companyListMatchesTheActiveRegister_data();
    void companyListMatchesTheActiveRegister();
    void bookingListTexts_data();
    void bookingListTexts();
    void bookingListOrderedByRunningNumber();
    void entryCompanySearch_data();
    void entryCompanySearch();
    void evaluationByCompany_data();
    void evaluationByCompany();
    void evaluationByYear_data();
    void evaluationByYear();
    void companyEstimates_data();
    void companyEstimates();
    void costReport_data();
    void costReport();
};

void PlainBaselineTest::projectBookings_data() {
    QTest::addColumn<QVariant>("pid");
    QTest::addColumn<QVariant>("instructedOn");
    QTest::addColumn<QVariant>("amount");
    QTest::addColumn<QString>("expected");
    const QVariant null;
    QTest::newRow("whole euros stored as integer") << QVariant(3) << QVariant(45000) << QVariant(1500)
                                                   << "1|3|7|Schule|Krämer|Dach|300|45000|45010|R-1|"
                                                      "bar|ok|150000";
    QTest::newRow("cents") << QVariant(4) << QVariant(45001) << QVariant(1234.5)
                           << "1|4|7|Schule|Krämer|Dach|300|45001|45010|R-1|bar|ok|123450";
    QTest::newRow("small amount") << QVariant(5) << QVariant(45002) << QVariant(0.07)
                                  << "1|5|7|Schule|Krämer|Dach|300|45002|45010|R-1|bar|ok|7";
    QTest::newRow("negative") << QVariant(6) << QVariant(45003) << QVariant(-5000.25)
                              << "1|6|7|Schule|Krämer|Dach|300|45003|45010|R-1|bar|ok|-500025";
    QTest::newRow("nulls") << null << null << null << "1|-|7|Schule|Krämer|Dach|300|-|45010|R-1|bar|ok|-";
}

void PlainBaselineTest::projectBookings() {
    QFETCH(QVariant, pid);
    QFETCH(QVariant, instructedOn);
    QFETCH(QVariant, amount);
    QFETCH(QString, expected);
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(
        QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                       "AnweisungVom, RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) "
                       "VALUES (?, '7', 'Schule', 'Krämer', 'Dach', '300', ?, 45010, 'R-1', 'bar', 'ok', ?)"),
        {pid, instructedOn, amount});
    PlainConnection plain(db.path());
    QList<Booking> bookings;
    QVERIFY(PlainBaseline::projectBookings(plain, QStringLiteral("7"), &bookings));
    QCOMPARE(describeAll(bookings), QStringList{expected});
    bool ok = false;
    QCOMPARE(describeAll(bookings),
             describeAll(BookingRepository(db.db()).forProject(QStringLiteral("7"), &ok)));
    QVERIFY(ok);
}

void PlainBaselineTest::projectBookingsLeaveOtherProjectsOut() {
    TestDatabase db;
    QVERIFY(db.isValid());
    for (const char* project : {"7", "8", "7"})
        db.exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID, Betrag) VALUES (?, 1)"),
                {QString::fromLatin1(project)});
    PlainConnection plain(db.path());
    QList<Booking> bookings{Booking{}};
    QVERIFY(PlainBaseline::projectBookings(plain, QStringLiteral("7"), &bookings));
    QCOMPARE(bookings.size(), 2);
    QCOMPARE(bookings.at(0).id, 1);
    QCOMPARE(bookings.at(1).id, 3);
}

void PlainBaselineTest::companyListByName_data() {
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("umlauts beside their base letters")
        << QStringList{"Zimmerei Ölmann", "Öko Bau", "Ofenbau", "Ärztehaus Bau", "Bauer", "abbruch Meier"}
        << QStringList{"abbruch Meier", "Ärztehaus Bau", "Bauer", "Ofenbau", "Öko Bau", "Zimmerei Ölmann"};
    QTest::newRow("letter case ignored, equal names in order of entry")
        << QStringList{"bau 2", "Bau 1", "BAU", "bau"} << QStringList{"BAU", "bau", "Bau 1", "bau 2"};
}

void PlainBaselineTest::companyListByName() {
    QFETCH(QStringList, stored);
    QFETCH(QStringList, expected);
    TestDatabase db;
    QVERIFY(db.isValid());
    for (const QString& name : stored)
        db.exec(QStringLiteral("INSERT INTO tblFirma (Name) VALUES (?)"), {name});
    PlainConnection plain(db.path());
    QList<PlainBaseline::CompanyListRow> rows;
    QVERIFY(PlainBaseline::companyListByName(plain, "SELECT * FROM tblFirma ORDER BY ID", {}, &rows));
    QCOMPARE(names(rows), expected);
}

void PlainBaselineTest::companyListTexts() {
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(QStringLiteral(
        "INSERT INTO tblFirma (Name, \"Straße\", PLZ, Ort, Telefon1, GewerkID, KostengruppeID) "
        "VALUES ('Krämer & Söhne', 'Hauptstr. 1', '35390', 'Gießen', '0641', 'Dach', '300')"));
    PlainConnection plain(db.path());
    QList<PlainBaseline::CompanyListRow> rows;
    QVERIFY(PlainBaseline::companyListByName(plain, "SELECT * FROM tblFirma ORDER BY ID", {}, &rows));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0).id, 1);
    QCOMPARE(rows.at(0).texts, (QStringList{"1", "Krämer & Söhne", "35390 Gießen", "Dach", "300"}));
}

void PlainBaselineTest::companyListMatchesTheActiveRegister_data() {
    QTest::addColumn<QString>("search");
    QTest::newRow("whole list") << QString();
    QTest::newRow("search \"er\"") << QStringLiteral("er");
}

void PlainBaselineTest::companyListMatchesTheActiveRegister() {
    QFETCH(QString, search);
    TestDatabase db;
    QVERIFY(db.isValid());
    const QStringList stored{"Zimmerei Ölmann", "Öko Bau", "Ofenbau",       "Ärztehaus Bau",
                             "bauer",           "Bauer",   "abbruch Meier", "Glaserei"};
    for (const QString& name : stored)
        db.exec(QStringLiteral("INSERT INTO tblFirma (Name, PLZ, Ort) VALUES (?, '1', 'Ort')"), {name});
    RecordingDialogs dialogs;
    const std::unique_ptr<Session> session = Session::open(db.path());
    QVERIFY(session);
    CompanyRegister screen(*session, dialogs);
    screen.show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&screen, &activate);
    if (!search.isEmpty()) {
        screen.findChild<QRadioButton*>(QStringLiteral("Option1"))->click();
        screen.findChild<QLineEdit*>(QStringLiteral("Text10"))->setText(search);
    }
    const QAbstractItemModel* model = screen.findChild<QTreeView*>(QStringLiteral("ListView1"))->model();
    QStringList shown;
    for (int row = 0; row < model->rowCount(); ++row)
        shown << model->index(row, 1).data().toString();

    PlainConnection plain(db.path());
    QList<PlainBaseline::CompanyListRow> rows;
    const QString pattern = QLatin1Char('%') + search + QLatin1Char('%');
    QVERIFY(
        PlainBaseline::companyListByName(plain,
                                         "SELECT * FROM tblFirma WHERE GewerkID LIKE ?1 OR KostengruppeID "
                                         "LIKE ?1 OR Name LIKE ?1 OR PLZ LIKE ?1 OR Ort LIKE ?1 ORDER BY ID",
                                         {pattern}, &rows));
    QCOMPARE(names(rows), shown);
    QVERIFY(dialogs.texts().isEmpty());
}

void PlainBaselineTest::bookingListTexts_data() {
    QTest::addColumn<QVariant>("pid");
    QTest::addColumn<QVariant>("invoiceDate");
    QTest::addColumn<QVariant>("amount");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("total");
    const QVariant null;
    QTest::newRow("whole euros stored as integer")
        << QVariant(3) << QVariant(45010) << QVariant(1500)
        << "003|Krämer|Dach|15.03.2023|25.03.2023|R-1|bar|300|1.500,00|ok||45000|45010|"
        << "1.500,00";
    QTest::newRow("cents and thousands")
        << QVariant(1234) << QVariant(45010) << QVariant(1234567.5)
        << "1234|Krämer|Dach|15.03.2023|25.03.2023|R-1|bar|300|1.234.567,50|ok||45000|45010|"
        << "1.234.567,50";
    QTest::newRow("small amount") << QVariant(5) << QVariant(45010) << QVariant(0.07)
                                  << "005|Krämer|Dach|15.03.2023|25.03.2023|R-1|bar|300|0,07|ok||45000|45010|"
                                  << "0,07";
    QTest::newRow("negative below one euro")
        << QVariant(6) << QVariant(45010) << QVariant(-0.5)
        << "006|Krämer|Dach|15.03.2023|25.03.2023|R-1|bar|300|-0,50|ok||45000|45010|"
        << "-0,50";
    QTest::newRow("negative thousands")
        << QVariant(7) << QVariant(45010) << QVariant(-5000.25)
        << "007|Krämer|Dach|15.03.2023|25.03.2023|R-1|bar|300|-5.000,25|ok||45000|45010|"
        << "-5.000,25";
    QTest::newRow("nulls") << null << null << null << "|Krämer|Dach|15.03.2023||R-1|bar|300||ok||45000||"
                           << "0,00";
}

void PlainBaselineTest::bookingListTexts() {
    QFETCH(QVariant, pid);
    QFETCH(QVariant, invoiceDate);
    QFETCH(QVariant, amount);
    QFETCH(QString, expected);
    QFETCH(QString, total);
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(
        QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Projekt, Firma, Gewerk, Kostengruppe, "
                       "AnweisungVom, RechnungVom, RechnungsNr, Zahlungsart, Bemerkungen, Betrag) "
                       "VALUES (?, '7', 'Schule', 'Krämer', 'Dach', '300', 45000, ?, 'R-1', 'bar', 'ok', ?)"),
        {pid, invoiceDate, amount});
    db.exec(QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Betrag) VALUES (1, '8', 99)"));
    PlainConnection plain(db.path());
    QList<PlainBaseline::BookingListRow> rows;
    qint64 cents = -1;
    QVERIFY(PlainBaseline::bookingList(plain, QStringLiteral("7"), &rows, &cents));
    QCOMPARE(joined(rows), QStringList{expected + QStringLiteral("|erfasst")});
    QCOMPARE(rows.at(0).id, 1);
    QCOMPARE(Money::fromCents(cents).toGerman(), total);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.find<QTabWidget>("SSTab1")->setCurrentIndex(Workspace::BookingsTabIndex);
    QCOMPARE(workspace.rows("ListView1"), joined(rows));
    QCOMPARE(workspace.text("txtGesamtsumme"), total);
    QVERIFY(workspace.dialogs.texts().isEmpty());
}

// The running number is sorted as a number, as the list sorts it: "999" before "1000", equal numbers in
// order of entry, a missing one first.
void PlainBaselineTest::bookingListOrderedByRunningNumber() {
    TestDatabase db;
    QVERIFY(db.isValid());
    const QList<QVariant> numbers{999, 20, 1000, QVariant(), 3, 20};
    db.exec(QStringLiteral("DROP INDEX uxBuchungProjektPID")); // an older file may repeat a number
    for (int i = 0; i < numbers.size(); ++i)
        db.exec(
            QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (?, '7', ?, 1)"),
            {numbers.at(i), QStringLiteral("Firma %1").arg(i)});
    PlainConnection plain(db.path());
    QList<PlainBaseline::BookingListRow> rows;
    qint64 cents = 0;
    QVERIFY(PlainBaseline::bookingList(plain, QStringLiteral("7"), &rows, &cents));
    QStringList order;
    for (const PlainBaseline::BookingListRow& row : rows)
        order << row.texts.at(0) + QLatin1Char(' ') + row.texts.at(1);
    QCOMPARE(order, (QStringList{" Firma 3", "003 Firma 4", "020 Firma 1", "020 Firma 5", "999 Firma 0",
                                 "1000 Firma 2"}));
    QCOMPARE(cents, 600);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.find<QTabWidget>("SSTab1")->setCurrentIndex(Workspace::BookingsTabIndex);
    QCOMPARE(workspace.rows("ListView1"), joined(rows));
}

void PlainBaselineTest::entryCompanySearch_data() {
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("in names, umlauts beside their base letters")
        << QStringLiteral("bau") << QStringList{"abbruch Meier", "Bauer", "Ofenbau", "Öko Bau"};
    QTest::newRow("letter case ignored") << QStringLiteral("MEIER") << QStringList{"abbruch Meier"};
    QTest::newRow("in the postcode") << QStringLiteral("970") << QStringList{"Zimmerei Ölmann"};
    QTest::newRow("in the town") << QStringLiteral("burg") << QStringList{"Zimmerei Ölmann"};
    QTest::newRow("in the trade") << QStringLiteral("Elektro") << QStringList{"Ofenbau"};
    QTest::newRow("in the cost group") << QStringLiteral("400") << QStringList{"Öko Bau"};
    QTest::newRow("nothing found") << QStringLiteral("xyz") << QStringList();
}

void PlainBaselineTest::entryCompanySearch() {
    QFETCH(QString, search);
    QFETCH(QStringList, expected);
    TestDatabase db;
    QVERIFY(db.isValid());
    // name, street, postcode, town, phone, fax, mobile, e-mail, contact, trade, cost group
    const QList<QStringList> companies{
        {"Zimmerei Ölmann", "Am Hang 1", "97070", "Würzburg", "0931-1", "0931-2", "0171", "z@x.de", "Frau Ö",
         "Zimmerer", "300 KG"},
        {"Öko Bau", {}, "10115", "Berlin", {}, {}, {}, {}, {}, "Rohbau", "400 Technik"},
        {"Ofenbau", "Weg 2", "24103", "Kiel", "0431-1", {}, {}, {}, "Herr O", "Elektro", "300 KG"},
        {"Bauer", {}, "01067", "Dresden", {}, {}, {}, {}, {}, "Dach", "300 KG"},
        {"abbruch Meier", {}, "80331", "München", {}, {}, {}, {}, {}, "Abbau", "300 KG"}};
    for (const QStringList& company : companies) {
        QVariantList values;
        for (const QString& value : company)
            values << (value.isNull() ? QVariant() : QVariant(value));
        db.exec(QStringLiteral("INSERT INTO tblFirma (Name, \"Straße\", PLZ, Ort, Telefon1, Telefon2, Mobil, "
                               "eMail, Ansprechpartner, GewerkID, KostengruppeID) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                values);
    }
    PlainConnection plain(db.path());
    PlainBaseline::CompanySearchResult result;
    QVERIFY(PlainBaseline::entryCompanySearch(plain, search, &result));
    QCOMPARE(result.names, expected);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.type("txtSuchen", search);
    QCOMPARE(workspace.items("cboFirma"), expected.isEmpty() ? QStringList{QString()} : expected);
    QCOMPARE(workspace.find<QLabel>("lblAnzahlFirmen")->text(), result.count);
    const QStringList details{workspace.text("txtGewerk"), workspace.text("txtKostengruppe"),
                              workspace.find<QLabel>("lblSitz")->text(),
                              workspace.find<QLabel>("lblAnschrift")->text()};
    QCOMPARE(result.details, details);
    QVERIFY(workspace.dialogs.texts().isEmpty());
}

void PlainBaselineTest::evaluationByCompany_data() {
    QTest::addColumn<QString>("company");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QString>("sum");
    QTest::addColumn<QString>("first");
    QTest::newRow("letter case ignored, by running number, an empty amount adds nothing")
        << QStringLiteral("Bauer") << QStringList{"003", "012", "1000"} << QStringLiteral("1.510,50")
        << QStringLiteral("003|Bauer|Dach|15.03.2023|25.03.2023|bar|300|1.500,00||45000|45010");
    QTest::newRow("other company") << QStringLiteral("Ofenbau")
                                   << QStringList{"001", "002", "004", "005", "006"}
                                   << QStringLiteral("36,00")
                                   << QStringLiteral("001|Ofenbau|Dach|31.12.2022|25.03.2023|bar|300|7,00||"
                                                     "44926|45010");
}

void PlainBaselineTest::evaluationByCompany() {
    QFETCH(QString, company);
    QFETCH(QStringList, numbers);
    QFETCH(QString, sum);
    QFETCH(QString, first);
    TestDatabase db;
    QVERIFY(db.isValid());
    addEvaluationBookings(db);
    PlainConnection plain(db.path());
    PlainBaseline::EvaluationList list;
    QVERIFY(PlainBaseline::evaluationByCompany(plain, QStringLiteral("7"), company, &list));
    QCOMPARE(firstTexts(list.rows), numbers);
    QCOMPARE(joined(list.rows).first(), first);
    QCOMPARE(Money::fromCents(list.totalCents).toGerman(), sum);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.find<QTabWidget>("SSTab1")->setCurrentIndex(Workspace::EvaluationTabIndex);
    workspace.choose("cboAuswertungFirma", company);
    QCOMPARE(workspace.rows("ListView3", int(EvaluationListModel::Column::Retained)), joined(list.rows));
    QCOMPARE(workspace.text("txtTeilsumme"), sum);
    QVERIFY(workspace.dialogs.texts().isEmpty());
}

void PlainBaselineTest::evaluationByYear_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QString>("sum");
    QTest::newRow("1 January to 31 December")
        << 2023 << QStringList{"002", "003", "004", "005", "012", "1000"} << QStringLiteral("1.529,50");
    QTest::newRow("the last day of the year before") << 2022 << QStringList{"001"} << QStringLiteral("7,00");
    QTest::newRow("a year without bookings") << 2021 << QStringList() << QStringLiteral("0,00");
}

void PlainBaselineTest::evaluationByYear() {
    QFETCH(int, year);
    QFETCH(QStringList, numbers);
    QFETCH(QString, sum);
    TestDatabase db;
    QVERIFY(db.isValid());
    addEvaluationBookings(db);
    PlainConnection plain(db.path());
    PlainBaseline::EvaluationList list;
    QVERIFY(PlainBaseline::evaluationByYear(plain, QStringLiteral("7"), year, &list));
    QCOMPARE(firstTexts(list.rows), numbers);
    QCOMPARE(Money::fromCents(list.totalCents).toGerman(), sum);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.find<QTabWidget>("SSTab1")->setCurrentIndex(Workspace::EvaluationTabIndex);
    workspace.find<QDateEdit>("dtpJahr")->setDate(QDate(year, 6, 1));
    QVERIFY(workspace.find<QRadioButton>("optJahr")->isChecked());
    QCOMPARE(workspace.rows("ListView3", int(EvaluationListModel::Column::Retained)), joined(list.rows));
    QCOMPARE(workspace.text("txtTeilsumme"), sum);
    QVERIFY(workspace.dialogs.texts().isEmpty());
}

void PlainBaselineTest::companyEstimates_data() {
    QTest::addColumn<QString>("company");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("architectSum");
    QTest::addColumn<QString>("orderSum");
    QTest::newRow("descending by running number, letter case ignored")
        << QStringLiteral("Bauer")
        << QStringList{"10||||| 2. Nachtr. Auftrag||||", "3||||| 1. Nachtr. Auftrag|5,00|||",
                       "2||||25.03.2023| 1. Nachtr. Auftrag|100,50|||45010",
                       "1|15.03.2023|1.000,00||20.03.2023| Auftrag vom|900,00||45000|45005",
                       "||||| 3. Nachtr. Auftrag|-1,25|||"}
        << QStringLiteral("1.000,00") << QStringLiteral("1.004,25");
    QTest::newRow("one row") << QStringLiteral("Ofenbau")
                             << QStringList{"1|15.03.2023|0,07||15.03.2023| Auftrag vom|0,07||45000|45000"}
                             << QStringLiteral("0,07") << QStringLiteral("0,07");
    QTest::newRow("no rows, empty sums")
        << QStringLiteral("Niemand") << QStringList() << QString() << QString();
}

void PlainBaselineTest::companyEstimates() {
    QFETCH(QString, company);
    QFETCH(QStringList, expected);
    QFETCH(QString, architectSum);
    QFETCH(QString, orderSum);
    TestDatabase db;
    QVERIFY(db.isValid());
    for (const char* name : {"Bauer", "Ofenbau", "Niemand"})
        db.exec(QStringLiteral("INSERT INTO tblFirma (Name) VALUES (?)"), {QString::fromLatin1(name)});
    const QList<QStringList> rows{{"1", "Bauer", "Auftrag vom", "45000", "1000", "45005", "900"},
                                  {"2", "Bauer", "1. Nachtr. Auftrag", "", "", "45010", "100.5"},
                                  {"10", "Bauer", "2. Nachtr. Auftrag", "", "", "", ""},
                                  {"", "Bauer", "3. Nachtr. Auftrag", "", "", "", "-1.25"},
                                  {"3", "bauer", "1. Nachtr. Auftrag", "", "", "", "5"},
                                  {"1", "Ofenbau", "Auftrag vom", "45000", "0.07", "45000", "0.07"}};
    for (const QStringList& row : rows)
        addEstimate(db, row);
    db.exec(QStringLiteral("INSERT INTO tblNachtrag (NID, ProjektID, Firma, NachtragKosten) VALUES (4, '8', "
                           "'Bauer', 50)"));
    PlainConnection plain(db.path());
    PlainBaseline::EstimateList list;
    QVERIFY(PlainBaseline::companyEstimates(plain, QStringLiteral("7"), company, &list));
    QCOMPARE(joined(list.rows), expected);
    const QString architectShown =
        list.rows.isEmpty() ? QString() : Money::fromCents(list.architectCents).toGerman();
    const QString orderShown = list.rows.isEmpty() ? QString() : Money::fromCents(list.orderCents).toGerman();
    QCOMPARE(architectShown, architectSum);
    QCOMPARE(orderShown, orderSum);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.find<QTabWidget>("SSTab1")->setCurrentIndex(Workspace::CompanyTabIndex);
    workspace.choose("cboFirmaFirma", company);
    QCOMPARE(workspace.rows("ListView2"), joined(list.rows));
    QCOMPARE(workspace.text("txtArchitektSumme"), architectSum);
    QCOMPARE(workspace.text("txtAuftragSumme"), orderSum);
    QVERIFY(workspace.dialogs.texts().isEmpty());
}

void PlainBaselineTest::costReport_data() {
    QTest::addColumn<QList<QStringList>>("estimates");
    QTest::addColumn<QString>("line");
    QTest::newRow("main order with its calculation")
        << QList<QStringList>{{"1", "Bauer", "Auftrag vom", "45000", "1000", "45001", "800"}}
        << QStringLiteral("001|Bauer|Rohbau|300 Bauko|1.000,00|800,00| |800,00|600,00|-400,00|-40,00");
    QTest::newRow("main order with the architect's date, without its own")
        << QList<QStringList>{{"1", "Bauer", "Auftrag vom", "45000", "1000", "", "800"}}
        << QStringLiteral("001|Bauer|Rohbau|300 Bauko|1.000,00| | |800,00|600,00|-400,00|-40,00");
    QTest::newRow("supplements only, letter case ignored")
        << QList<QStringList>{{"1", "bauer", "1. Nachtr. Auftrag", "", "", "45002", "150"}}
        << QStringLiteral("001|Bauer|Rohbau|300 Bauko| | |150,00|150,00|600,00|600,00|0,00");
    QTest::newRow("the last main order without dates leaves its columns blank")
        << QList<QStringList>{{"1", "Bauer", "Auftrag vom", "45000", "1000", "45001", "800"},
                              {"2", "Bauer", "Auftrag vom", "", "500", "", "200"}}
        << QStringLiteral("001|Bauer|Rohbau|300 Bauko| | | |1.000,00|600,00|-900,00|-60,00");
    QTest::newRow("the last row by running number, not by entry")
        << QList<QStringList>{{"2", "Bauer", "Auftrag vom", "45000", "1000", "45001", "800"},
                              {"1", "Bauer", "Auftrag vom", "", "500", "", "200"},
                              {"", "Bauer", "1. Nachtr. Auftrag", "", "", "", "30"}}
        << QStringLiteral(
               "001|Bauer|Rohbau|300 Bauko|1.500,00|1.000,00|30,00|1.030,00|600,00|-900,00|-60,00");
    QTest::newRow("supplement without date last")
        << QList<QStringList>{{"1", "Bauer", "Auftrag vom", "45000", "1000", "45001", "800"},
                              {"2", "Bauer", "1. Nachtr. Auftrag", "", "", "", "50"}}
        << QStringLiteral("001|Bauer|Rohbau|300 Bauko|1.000,00|800,00| |850,00|600,00|-400,00|-40,00");
    QTest::newRow("no estimate rows")
        << QList<QStringList>{} << QStringLiteral("001|Bauer|Rohbau|300 Bauko| | | |0,00|600,00|600,00|0,00");
}

// Bauer is paid under two spellings, the last booking's names kept; a company without bookings in the
// project is no line; the sums line and the budget lines follow the companies.
void PlainBaselineTest::costReport() {
    QFETCH(QList<QStringList>, estimates);
    QFETCH(QString, line);
    TestDatabase db;
    QVERIFY(db.isValid());
    const QList<QVariantList> bookings{{"7", "bauer", "Dach", "400", 400},
                                       {"7", "Ofenbau", "Ofen", "300", 50},
                                       {"7", "Bauer", "Rohbau", "300 Baukonstruktion", 200},
                                       {"8", "Zimmerei", "Holz", "300", 70}};
    for (const QVariantList& booking : bookings)
        db.exec(QStringLiteral("INSERT INTO tblBuchung (ProjektID, Firma, Gewerk, Kostengruppe, Betrag) "
                               "VALUES (?, ?, ?, ?, ?)"),
                booking);
    for (const QStringList& row : estimates)
        addEstimate(db, row);
    addEstimate(db, {"1", "Zimmerei", "Auftrag vom", "45000", "99", "45000", "99"});
    db.exec(QStringLiteral("INSERT INTO tblBudget (ProjektID, Budget) VALUES (7, 1000)"));
    PlainConnection plain(db.path());
    QList<PlainBaseline::CostReportRow> rows;
    QVERIFY2(PlainBaseline::costReport(plain, QStringLiteral("7"), &rows), qPrintable(plain.lastError()));
    QCOMPARE(rows.size(), 6);
    QCOMPARE(joined(rows).at(0), line);
    QCOMPARE(joined(rows).at(1), QStringLiteral("002|Ofenbau|Ofen|300| | | |0,00|50,00|50,00|0,00"));
    QCOMPARE(rows.at(2).texts.at(2) + rows.at(3).texts.at(7), QStringLiteral("Summen:1.000,00"));

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.find<QTabWidget>("SSTab1")->setCurrentIndex(Workspace::CostReportTabIndex);
    QCOMPARE(workspace.rows("ListView4", CostReportModel::kPrintedColumns), joined(rows));
    QVERIFY(workspace.dialogs.texts().isEmpty());
}

QTEST_MAIN(PlainBaselineTest)
#include "PlainBaselineTest.moc"
