#include "PatternMatcher.h"
#include "RunningNumber.h"
#include "TestDatabase.h"

#include <QSqlQuery>
#include <QTest>

// The LIKE of the database on its own and through SQL, and the running numbers.
class PatternMatcherTest : public QObject {
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void throughSql_data();
    void throughSql();
    void nullNeverMatches();
    void foldComparesUmlauts();
    void userPatterns();
    void runningNumber_data();
    void runningNumber();
};

void PatternMatcherTest::matches_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    QTest::newRow("star matches everything") << "*"
                                             << "Müller Bau" << true;
    QTest::newRow("star matches empty") << "*"
                                        << "" << true;
    QTest::newRow("empty pattern only empty") << ""
                                              << "a" << false;
    QTest::newRow("anywhere") << "*bau*"
                              << "Müller Bau GmbH" << true;
    QTest::newRow("anywhere missing") << "*dach*"
                                      << "Müller Bau GmbH" << false;
    QTest::newRow("from left") << "mül*"
                               << "Müller Bau" << true;
    QTest::newRow("from left not inside") << "bau*"
                                          << "Müller Bau" << false;
    QTest::newRow("umlaut upper vs lower") << "ÄRZTE"
                                           << "ärzte" << true;
    QTest::newRow("umlaut lower vs upper") << "*übergang*"
                                           << "ÜBERGANGSMASSNAHMEN" << true;
    QTest::newRow("umlaut differs from plain") << "arzte"
                                               << "ärzte" << false;
    QTest::newRow("question one char") << "M?ller"
                                       << "Müller" << true;
    QTest::newRow("question not zero chars") << "M?ller"
                                             << "Mller" << false;
    QTest::newRow("question not two chars") << "M?ller"
                                            << "Muuller" << false;
    QTest::newRow("percent literal") << "100%"
                                     << "100%" << true;
    QTest::newRow("percent not wildcard") << "100%"
                                          << "1000" << false;
    QTest::newRow("underscore literal") << "a_b"
                                        << "a_b" << true;
    QTest::newRow("underscore not wildcard") << "a_b"
                                             << "axb" << false;
    QTest::newRow("quote") << "*o'neill*"
                           << "O'Neill GmbH" << true;
    QTest::newRow("number by decimal text") << "*12*"
                                            << "112" << true;
    QTest::newRow("number not found") << "*12*"
                                      << "121" << true;
    QTest::newRow("number absent") << "*13*"
                                   << "112" << false;
    QTest::newRow("backtracking") << "*ab*ab"
                                  << "xabyabab" << true;
    QTest::newRow("backtracking fails") << "*ab*abc"
                                        << "xabyabab" << false;
    QTest::newRow("trailing stars") << "a**"
                                    << "a" << true;
    QTest::newRow("exact case-insensitive") << "Elektro"
                                            << "ELEKTRO" << true;
    QTest::newRow("exact longer text") << "Elektro"
                                       << "Elektroinstallation" << false;
}

void PatternMatcherTest::matches() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(PatternMatcher::matches(pattern, text), expected);
}

void PatternMatcherTest::throughSql_data() {
    matches_data();
}

void PatternMatcherTest::throughSql() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    TestDatabase db;
    QVERIFY(db.isValid());
    QCOMPARE(db.scalar(QStringLiteral("SELECT ? LIKE ?"), {text, pattern}),
             expected ? QStringLiteral("1") : QStringLiteral("0"));
}

void PatternMatcherTest::nullNeverMatches() {
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(QStringLiteral("INSERT INTO tblFirma (Name, Ort) VALUES ('A', NULL)"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblFirma WHERE Ort LIKE '*'")),
             QStringLiteral("0"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblFirma WHERE Name LIKE '*'")),
             QStringLiteral("1"));
}

void PatternMatcherTest::foldComparesUmlauts() {
    QCOMPARE(PatternMatcher::fold(u"ÄRZTE Straße"), PatternMatcher::fold(u"ärzte STRAßE"));
    QVERIFY(PatternMatcher::fold(u"Elektro") != PatternMatcher::fold(u"Elektroinstallation"));
    TestDatabase db;
    QVERIFY(db.isValid());
    QCOMPARE(db.scalar(QStringLiteral("SELECT fold(?) = fold(?)"),
                       {QStringLiteral("ÖLBAU"), QStringLiteral("ölbau")}),
             QStringLiteral("1"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT fold(?) = fold(?)"),
                       {QStringLiteral("Ölbau"), QStringLiteral("Olbau")}),
             QStringLiteral("0"));
}

void PatternMatcherTest::userPatterns() {
    QCOMPARE(PatternMatcher::anywhere(QStringLiteral("ba?")), QStringLiteral("*ba?*"));
    QCOMPARE(PatternMatcher::fromLeft(QStringLiteral("97")), QStringLiteral("97*"));
    TestDatabase db;
    QVERIFY(db.isValid());
    db.exec(QStringLiteral("INSERT INTO tblProjekt (ProjektName) VALUES ('x')"));
    const QString id = db.scalar(QStringLiteral("SELECT MAX(ID) FROM tblProjekt"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM tblProjekt WHERE ID LIKE ?"),
                       {PatternMatcher::anywhere(id)}),
             QStringLiteral("1"));
}

void PatternMatcherTest::runningNumber_data() {
    QTest::addColumn<QList<int>>("seen");
    QTest::addColumn<int>("expected");
    QTest::newRow("none") << QList<int>{} << 1;
    QTest::newRow("gap") << QList<int>{1, 2, 5} << 6;
    QTest::newRow("unordered") << QList<int>{7, 3} << 8;
    QTest::newRow("after highest deleted") << QList<int>{1, 2} << 3;
}

void PatternMatcherTest::runningNumber() {
    QFETCH(QList<int>, seen);
    QFETCH(int, expected);
    QCOMPARE(RunningNumber::next(seen), expected);
}

QTEST_GUILESS_MAIN(PatternMatcherTest)
#include "PatternMatcherTest.moc"
