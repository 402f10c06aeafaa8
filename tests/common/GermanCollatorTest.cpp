#include "GermanCollator.h"

#include <QTest>

class GermanCollatorTest : public QObject {
    Q_OBJECT

private slots:
    void namesAreInGermanAlphabeticalOrderIgnoringCase() {
        QStringList names{"Mutter", "2 Fachlos", "Müller", "Abbruch", "10 Fachlos", "abbruch"};
        QCOMPARE(GermanCollator::make().compare("abbruch", "Abbruch"), 0);
        std::stable_sort(names.begin(), names.end(), GermanCollator::make());
        QCOMPARE(names, (QStringList{"10 Fachlos", "2 Fachlos", "Abbruch", "abbruch", "Müller", "Mutter"}));
    }
};

QTEST_GUILESS_MAIN(GermanCollatorTest)
#include "GermanCollatorTest.moc"
