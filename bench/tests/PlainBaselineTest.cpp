#include "PlainBaseline.h"
#include "BookingRepository.h"
#include "CompanyRegister.h"
#include "PlainSqlite.h"
#include "RecordingDialogs.h"
#include "TestDatabase.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QLineEdit>
#include <QRadioButton>
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

} // namespace

// The baselines build what the program builds: the same typed bookings and the company list in the
// register's order.
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

QTEST_MAIN(PlainBaselineTest)
#include "PlainBaselineTest.moc"
