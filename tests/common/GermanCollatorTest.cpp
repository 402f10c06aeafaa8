#include "GermanCollator.h"

#include <QTest>

class GermanCollatorTest : public QObject {
    Q_OBJECT

private slots:
    void namesAreInGermanAlphabeticalOrderIgnoringCase() {
        QStringList names{"Mutter", "2 Fachlos", "Müller", "abbruch", "10 Fachlos", "Abbruch"};
        std::stable_sort(names.begin(), names.end(), GermanCollator::make());
        QCOMPARE(names, (QStringList{"10 Fachlos", "2 Fachlos", "abbruch", "Abbruch", "Müller", "Mutter"}));
    }
};

QTEST_GUILESS_MAIN(GermanCollatorTest)
#include "GermanCollatorTest.moc"
