#include "GermanCollator.h"

#include <QTest>

class GermanCollatorTest : public QObject {
    Q_OBJECT

private slots:
    void namesAreInGermanAlphabeticalOrderIgnoringCase_data();
    void namesAreInGermanAlphabeticalOrderIgnoringCase();
};

void GermanCollatorTest::namesAreInGermanAlphabeticalOrderIgnoringCase_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("order"); // -1: first before second, 0: alike
    const auto row = [](const char* name, const char* first, const char* second, int order) {
        QTest::newRow(name) << QString::fromUtf8(first) << QString::fromUtf8(second) << order;
    };
    row("umlaut beside its base letter", "Müller", "Mutter", -1);
    row("letter case ignored", "abbruch", "Abbruch", 0);
    row("digits as text", "10 Fachlos", "2 Fachlos", -1);
}

void GermanCollatorTest::namesAreInGermanAlphabeticalOrderIgnoringCase() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, order);
    const QCollator collator = GermanCollator::make();
    const int compared = collator.compare(first, second);
    QCOMPARE((compared > 0) - (compared < 0), order);
}

QTEST_GUILESS_MAIN(GermanCollatorTest)
#include "GermanCollatorTest.moc"
