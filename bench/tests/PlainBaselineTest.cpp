#include "PlainBaseline.h"
#include "BookingRepository.h"
#include "CompanyRegister.h"
#include "PlainSqlite.h"
#include "RecordingDialogs.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "Workspace.h"

#include <QAbstractItemModel>
#include <QComboBox>
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
struct OpenWorkspace {
    RecordingDialogs dialogs;
    QTemporaryDir settingsFolder;
    Settings settings{settingsFolder.filePath(QStringLiteral("zlv.ini"))};
    Workspace window;

    OpenWorkspace(const QString& file, const QString& projectId) : window(file, dialogs, settings) {
        window.setProject(projectId, QStringLiteral("Schule"));
        window.show();
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&window, &activation);
    }
    ~OpenWorkspace() { window.close(); }
    template <typename T> T* find(const char* name) const {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
};

QStringList shownRows(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < model.columnCount(); ++column)
            texts << model.index(row, column).data().toString();
        rows << texts.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList joined(const QList<PlainBaseline::BookingListRow>& rows) {
    QStringList lines;
    for (const PlainBaseline::BookingListRow& row : rows)
        lines << row.texts.join(QLatin1Char('|'));
    return lines;
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
    void bookingListOrderedByRunningNumberText();
    void entryCompanySearch_data();
    void entryCompanySearch();
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
    PlainSqlite plain(db.path());
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
    PlainSqlite plain(db.path());
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
    PlainSqlite plain(db.path());
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
    PlainSqlite plain(db.path());
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
    CompanyRegister screen(db.path(), dialogs);
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

    PlainSqlite plain(db.path());
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
    PlainSqlite plain(db.path());
    QList<PlainBaseline::BookingListRow> rows;
    qint64 cents = -1;
    QVERIFY(PlainBaseline::bookingList(plain, QStringLiteral("7"), &rows, &cents));
    QCOMPARE(joined(rows), QStringList{expected});
    QCOMPARE(rows.at(0).id, 1);
    QCOMPARE(Money::fromCents(cents).toGerman(), total);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.find<QTabWidget>("SSTab1")->setCurrentIndex(Workspace::BookingsTabIndex);
    QCOMPARE(shownRows(*workspace.find<QTreeView>("ListView1")->model()), joined(rows));
    QCOMPARE(workspace.find<QLineEdit>("txtGesamtsumme")->text(), total);
    QVERIFY(workspace.dialogs.texts().isEmpty());
}

// The running number is sorted as text, as the list sorts it: "1000" before "999", equal numbers in
// order of entry, a missing one first.
void PlainBaselineTest::bookingListOrderedByRunningNumberText() {
    TestDatabase db;
    QVERIFY(db.isValid());
    const QList<QVariant> numbers{999, 20, 1000, QVariant(), 3, 20};
    for (int i = 0; i < numbers.size(); ++i)
        db.exec(
            QStringLiteral("INSERT INTO tblBuchung (PID, ProjektID, Firma, Betrag) VALUES (?, '7', ?, 1)"),
            {numbers.at(i), QStringLiteral("Firma %1").arg(i)});
    PlainSqlite plain(db.path());
    QList<PlainBaseline::BookingListRow> rows;
    qint64 cents = 0;
    QVERIFY(PlainBaseline::bookingList(plain, QStringLiteral("7"), &rows, &cents));
    QStringList order;
    for (const PlainBaseline::BookingListRow& row : rows)
        order << row.texts.at(0) + QLatin1Char(' ') + row.texts.at(1);
    QCOMPARE(order, (QStringList{" Firma 3", "003 Firma 4", "020 Firma 1", "020 Firma 5", "1000 Firma 2",
                                 "999 Firma 0"}));
    QCOMPARE(cents, 600);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    workspace.find<QTabWidget>("SSTab1")->setCurrentIndex(Workspace::BookingsTabIndex);
    QCOMPARE(shownRows(*workspace.find<QTreeView>("ListView1")->model()), joined(rows));
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
    PlainSqlite plain(db.path());
    PlainBaseline::CompanySearchResult result;
    QVERIFY(PlainBaseline::entryCompanySearch(plain, search, &result));
    QCOMPARE(result.names, expected);

    OpenWorkspace workspace(db.path(), QStringLiteral("7"));
    QTest::keyClicks(workspace.find<QLineEdit>("txtSuchen"), search);
    auto* picker = workspace.find<QComboBox>("cboFirma");
    QStringList shown;
    for (int i = 0; i < picker->count(); ++i)
        shown << picker->itemText(i);
    QCOMPARE(shown, expected.isEmpty() ? QStringList{QString()} : expected);
    QCOMPARE(workspace.find<QLabel>("lblAnzahlFirmen")->text(), result.count);
    const QStringList details{
        workspace.find<QLineEdit>("txtGewerk")->text(), workspace.find<QLineEdit>("txtKostengruppe")->text(),
        workspace.find<QLabel>("lblSitz")->text(), workspace.find<QLabel>("lblAnschrift")->text()};
    QCOMPARE(result.details, details);
    QVERIFY(workspace.dialogs.texts().isEmpty());
}

QTEST_MAIN(PlainBaselineTest)
#include "PlainBaselineTest.moc"
