#include "AmountField.h"
#include "BookingListModel.h"
#include "ColumnWidths.h"

#include <QTest>

// The amount entry as typed key by key, and the stored form of column widths.
class WorkspaceValuesTest : public QObject {
    Q_OBJECT

private slots:
    // Each text typed one character after the other: what the field then holds.
    void amountFieldWhileTyping_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("held");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("German amount") << "1.234,50"
                                       << "1.234,50" << qint64(123450);
        QTest::newRow("negative") << "-5.000,00"
                                  << "-5.000,00" << qint64(-500000);
        QTest::newRow("without points") << "1234,5"
                                        << "1234,5" << qint64(123450);
        QTest::newRow("a point on the way") << "1."
                                            << "1." << qint64(-1);
        QTest::newRow("an unfinished group") << "1.23"
                                             << "1.23" << qint64(-1);
        QTest::newRow("a minus alone") << "-"
                                       << "-" << qint64(-1);
        QTest::newRow("third decimal refused") << "12,345"
                                               << "12,34" << qint64(1234);
        QTest::newRow("letter empties") << "12a"
                                        << "" << qint64(-1);
        QTest::newRow("two commas empty") << "1,2,3"
                                          << "3" << qint64(300);
        QTest::newRow("a group of four empties") << "1.2345"
                                                 << "" << qint64(-1);
    }
    void amountFieldWhileTyping() {
        QFETCH(QString, typed);
        QFETCH(QString, held);
        QFETCH(qint64, cents);
        AmountField field;
        QTest::keyClicks(&field, typed);
        QCOMPARE(field.text(), held);
        QCOMPARE(field.amount() ? field.amount()->cents() : -1, cents);
    }

    void columnWidths_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("two groups") << "001482002716" << 10 << QList<int>{1482, 2716};
        QTest::newRow("read no more than asked") << "000001000002000003" << 2 << QList<int>{1, 2};
        QTest::newRow("empty") << "" << 10 << QList<int>{};
        QTest::newRow("a broken group ends the list") << "000100x00200000300" << 10 << QList<int>{100};
        QTest::newRow("a short tail is left out") << "00010000" << 10 << QList<int>{100};
    }
    void columnWidths() {
        QFETCH(QString, stored);
        QFETCH(int, count);
        QFETCH(QList<int>, widths);
        QCOMPARE(ColumnWidths::decode(stored, count), widths);
        QCOMPARE(ColumnWidths::encode({1482, 2716, 0}), "001482002716000000");
    }

    void runningNumbersAreShownWithThreeDigits() {
        QCOMPARE(BookingListModel::runningNumberText(7), "007");
        QCOMPARE(BookingListModel::runningNumberText(70), "070");
        QCOMPARE(BookingListModel::runningNumberText(1005), "1005");
        QCOMPARE(BookingListModel::runningNumberText(std::nullopt), QString());
    }
};

QTEST_MAIN(WorkspaceValuesTest)
#include "WorkspaceValuesTest.moc"
