#include "PatternMatcher.h"
#include "TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

class PatternMatcherTest : public QObject {
    Q_OBJECT

    TestDatabase m_db;

private slots:
    // A typed pattern has * and ? as its only wildcards and ignores letter case, umlauts included; it
    // matches alike on its own and in the file, where a number is matched by its decimal text.
    void typedPatternMatchesOnItsOwnAndInTheFile_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<bool>("expected");
        const auto row = [](const char* pattern, const QVariant& text, bool expected) {
            QTest::addRow("%s %s", pattern, qPrintable(text.isNull() ? "null" : text.toString()))
                << QString::fromUtf8(pattern) << text << expected;
        };
        row("*", u""_s, true);
        row("", u"a"_s, false);
        row("*bau*", u"Müller Bau GmbH"_s, true);
        row("bau*", u"Müller Bau"_s, false);
        row("ÄRZTE", u"ärzte"_s, true);
        row("arzte", u"ärzte"_s, false);
        row("M?ller", u"Müller"_s, true);
        row("M?ller", u"Mller"_s, false);
        row("100%", u"100%"_s, true);
        row("100%", u"1000"_s, false);
        row("a_b", u"axb"_s, false);
        row("*ab*ab", u"xabyabab"_s, true);
        row("*ab*abc", u"xabyabab"_s, false);
        row("*12*", qint64(112), true);
        row("*", QVariant(), false);
    }
    void typedPatternMatchesOnItsOwnAndInTheFile() {
        QFETCH(QString, pattern);
        QFETCH(QVariant, text);
        QFETCH(bool, expected);
        QVERIFY(text.isNull() || PatternMatcher::matches(pattern, text.toString()) == expected);
        QCOMPARE(m_db.scalar("SELECT COUNT(*) WHERE ? LIKE ?", {text, pattern}), QString::number(expected));
    }

    // Stored names are compared ignoring letter case, umlauts included, the wildcards as plain characters.
    void storedNamesAreEqualIgnoringCase_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("equal");
        QTest::newRow("umlauts") << QStringLiteral("ÄRZTE Öl") << QStringLiteral("ärzte öl") << true;
        QTest::newRow("wildcards are plain characters")
            << QStringLiteral("M*") << QStringLiteral("Müller") << false;
    }
    void storedNamesAreEqualIgnoringCase() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, equal);
        QCOMPARE(PatternMatcher::fold(first) == PatternMatcher::fold(second), equal);
        QCOMPARE(m_db.scalar("SELECT fold(?) = fold(?)", {first, second}), QString::number(equal));
        QCOMPARE(m_db.scalar("SELECT fold(?)", {first}), PatternMatcher::fold(first));
    }
};

QTEST_GUILESS_MAIN(PatternMatcherTest)
#include "PatternMatcherTest.moc"
