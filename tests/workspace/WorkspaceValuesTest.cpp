#include "AmountField.h"
#include "ColumnWidths.h"
#include "DateField.h"
#include "WorkspaceFixture.h"

#include <QApplication>
#include <QClipboard>

class WorkspaceValuesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<WorkspaceFixture> f;

private slots:
    void initTestCase() {
        f = std::make_unique<WorkspaceFixture>();
        f->open();
        QApplication::setActiveWindow(f->screen.get());
    }
    void cleanupTestCase() { f.reset(); }

    // "#" is the numeric keypad's decimal key; -1 cents: no amount.
    void amountFieldKeepsWhatWasTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("held");
        QTest::addColumn<qint64>("cents");
        const auto row = [](const char* name, const char* typed, const char* pasted, const char* held,
                            qint64 cents) {
            QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(pasted)
                                << QString::fromUtf8(held) << cents;
        };
        row("German amount", "1.234,50", "", "1.234,50", 123450);
        row("negative", "-5.000,00", "", "-5.000,00", -500000);
        row("without points", "1234,5", "", "1234,5", 123450);
        row("a point that is no thousands point", "12345.67", "", "12345,67", 1234567);
        row("a point after four digits", "1234.5", "", "1234,5", 123450);
        row("a point with two digits at the end", "1.50", "", "1.50", 150);
        row("a point with three digits is a group", "1.234", "", "1.234", 123400);
        row("a minus alone", "-", "", "-", -1);
        row("a third decimal is refused", "12,345", "", "12,34", 1234);
        row("a letter is refused", "12a", "", "12", 1200);
        row("a second comma is refused", "1,2,3", "", "1,23", 123);
        row("a group of four is refused", "1.2345", "", "1.234", 123400);
        row("the keypad's decimal key", "12#5", "", "12,5", 1250);
        row("the keypad's key after three digits", "123#45", "", "123,45", 12345);
        row("pasted German amount", "", "12.345,67", "12.345,67", 1234567);
        row("pasted without points", "", "12345,67", "12345,67", 1234567);
        row("pasted thousands", "", "1.234", "1.234", 123400);
        row("pasted with a decimal point", "", "12345.67", "12345,67", 1234567);
        row("pasted text is refused", "12", "abc", "12", 1200);
        row("fourteen whole digits are refused", "12345678901234", "", "1234567890123", 123456789012300);
    }
    void amountFieldKeepsWhatWasTyped() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, held);
        QFETCH(qint64, cents);
        auto* field = f->find<AmountField>("txtBetrag");
        field->clear();
        for (const QChar c : typed) {
            if (c == u'#')
                QTest::keyClick(field, Qt::Key_Period, Qt::KeypadModifier);
            else
                QTest::keyClicks(field, QString(c));
        }
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            field->paste();
        }
        QCOMPARE(field->text(), held);
        QCOMPARE(field->amount() ? field->amount()->cents() : -1, cents);
    }

    void dateFieldTakesAWholeDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("clickedAt");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("notice");
        const QDate before(2020, 6, 1);
        QTest::newRow("eight digits") << "15032024" << -1 << QDate(2024, 3, 15) << "";
        QTest::newRow("with points") << "15.03.2024" << 8 << QDate(2024, 3, 15) << "";
        QTest::newRow("short, then Enter") << "15.3.24\n" << 4 << QDate(2024, 3, 15) << "";
        QTest::newRow("short, then Tab") << "1.2.99\t" << -1 << QDate(1999, 2, 1) << "";
        QTest::newRow("no such day") << "31022024" << 1 << before
                                     << "„31022024“ ist kein Datum (TT.MM.JJJJ).";
    }
    void dateFieldTakesAWholeDate() {
        QFETCH(QString, typed);
        QFETCH(int, clickedAt);
        QFETCH(QDate, date);
        QFETCH(QString, notice);
        WorkspaceFixture f;
        f.open();
        QApplication::setActiveWindow(f.screen.get());
        auto* field = f.find<DateField>("dtpAnweisung");
        field->setDate(QDate(2020, 6, 1));
        if (clickedAt < 0)
            field->setFocus();
        else
            QTest::mouseClick(
                field, Qt::LeftButton, {},
                QPoint(field->fontMetrics().averageCharWidth() * clickedAt, field->height() / 2));
        for (const QChar c : typed) {
            if (c == u'\n' || c == u'\t')
                QTest::keyClick(field, c == u'\n' ? Qt::Key_Return : Qt::Key_Tab);
            else
                QTest::keyClicks(field, QString(c));
        }
        QCOMPARE(field->date(), date);
        QCOMPARE(field->notice()->isVisibleTo(f.screen.get()) ? field->notice()->text() : QString(), notice);
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
};

QTEST_MAIN(WorkspaceValuesTest)
#include "WorkspaceValuesTest.moc"
