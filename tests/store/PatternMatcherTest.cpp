#include "PatternMatcher.h"
#include "TestDatabase.h"

#include <QTest>

// The LIKE of the database, on its own and through SQL on a real connection.
class PatternMatcherTest : public QObject {
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void throughSql_data() { matches_data(); }
    void throughSql();
    void nullNeverMatches();
    void storedNamesAreFoldedAlikeInTheFile();
};

void PatternMatcherTest::matches_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    const auto row = [](const char* name, const char* pattern, const char* text, bool expected) {
        QTest::newRow(name) << QString::fromUtf8(pattern) << QString::fromUtf8(text) << expected;
    };
    row("star matches empty", "*", "", true);
    row("empty pattern only empty", "", "a", false);
    row("anywhere", "*bau*", "Müller Bau GmbH", true);
    row("from left not inside", "bau*", "Müller Bau", false);
    row("umlaut case", "ÄRZTE", "ärzte", true);
    row("umlaut differs from plain", "arzte", "ärzte", false);
    row("question one char", "M?ller", "Müller", true);
    row("question not zero chars", "M?ller", "Mller", false);
    row("percent literal", "100%", "100%", true);
    row("percent not wildcard", "100%", "1000", false);
    row("underscore not wildcard", "a_b", "axb", false);
    row("quote", "*o'neill*", "O'Neill GmbH", true);
    row("number by decimal text", "*12*", "112", true);
    row("backtracking", "*ab*ab", "xabyabab", true);
    row("backtracking fails", "*ab*abc", "xabyabab", false);
    row("exact longer text", "Elektro", "Elektroinstallation", false);
}

void PatternMatcherTest::matches() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(PatternMatcher::matches(pattern, text), expected);
}

void PatternMatcherTest::throughSql() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    TestDatabase db;
    QVERIFY(db.isValid());
    bool isNumber = false;
    const qint64 number = text.toLongLong(&isNumber);
    const QVariant value = isNumber ? QVariant(number) : QVariant(text);
    QCOMPARE(db.scalar(QStringLiteral("SELECT ? LIKE ?"), {value, pattern}), QString::number(expected));
}

void PatternMatcherTest::nullNeverMatches() {
    TestDatabase db;
    QVERIFY(db.isValid());
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) WHERE NULL LIKE '*'")), QStringLiteral("0"));
}

void PatternMatcherTest::storedNamesAreFoldedAlikeInTheFile() {
    TestDatabase db;
    const QString name = QStringLiteral("ÄRZTE Öl");

    QCOMPARE(db.scalar(QStringLiteral("SELECT fold(?)"), {name}), PatternMatcher::fold(name));
    QCOMPARE(db.scalar(QStringLiteral("SELECT fold(?) = fold('ärzte öl')"), {name}), QStringLiteral("1"));
}

QTEST_GUILESS_MAIN(PatternMatcherTest)
#include "PatternMatcherTest.moc"
