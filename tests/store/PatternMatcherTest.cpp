#include "PatternMatcher.h"
#include "TestDatabase.h"

#include <QTest>

class PatternMatcherTest : public QObject {
    Q_OBJECT

    TestDatabase m_db;

private slots:
    void typedPatternMatchesOnItsOwnAndInTheFile_data();
    void typedPatternMatchesOnItsOwnAndInTheFile();
    void storedNamesAreEqualIgnoringCase_data();
    void storedNamesAreEqualIgnoringCase();
};

void PatternMatcherTest::typedPatternMatchesOnItsOwnAndInTheFile_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<bool>("expected");
    const auto row = [](const char* name, const char* pattern, const char* text, bool expected) {
        QTest::newRow(name) << QString::fromUtf8(pattern) << QVariant(QString::fromUtf8(text)) << expected;
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
    row("backtracking", "*ab*ab", "xabyabab", true);
    row("backtracking fails", "*ab*abc", "xabyabab", false);
    QTest::newRow("number by decimal text") << QStringLiteral("*12*") << QVariant(qint64(112)) << true;
    QTest::newRow("null never matches") << QStringLiteral("*") << QVariant() << false;
}

void PatternMatcherTest::typedPatternMatchesOnItsOwnAndInTheFile() {
    QFETCH(QString, pattern);
    QFETCH(QVariant, text);
    QFETCH(bool, expected);
    QVERIFY(m_db.isValid());
    if (!text.isNull())
        QCOMPARE(PatternMatcher::matches(pattern, text.toString()), expected);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) WHERE ? LIKE ?"), {text, pattern}),
             QString::number(expected));
}

void PatternMatcherTest::storedNamesAreEqualIgnoringCase_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("equal");
    QTest::newRow("umlauts") << QStringLiteral("ÄRZTE Öl") << QStringLiteral("ärzte öl") << true;
    QTest::newRow("wildcards are plain characters")
        << QStringLiteral("M*") << QStringLiteral("Müller") << false;
}

void PatternMatcherTest::storedNamesAreEqualIgnoringCase() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, equal);
    QCOMPARE(PatternMatcher::fold(first) == PatternMatcher::fold(second), equal);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT fold(?) = fold(?)"), {first, second}),
             QString::number(equal));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT fold(?)"), {first}), PatternMatcher::fold(first));
}

QTEST_GUILESS_MAIN(PatternMatcherTest)
#include "PatternMatcherTest.moc"
