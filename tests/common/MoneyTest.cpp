#include "Money.h"

#include <QTest>

using namespace Qt::StringLiterals;

class MoneyTest : public QObject {
    Q_OBJECT

private slots:
    // A QString is typed German text, a QByteArray a field's stored text, a double a REAL field, a qint64 an
    // INTEGER field; an empty expectation means refused.
    void amountIsReadToTheCentAndShownInGermanNotation_data() {
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* name, const QVariant& input, const char* shown) {
            QTest::newRow(name) << input << QString::fromUtf8(shown);
        };
        row("thousands and cents", u"1.234,50"_s, "1.234,50");
        row("one decimal", u"1234,5"_s, "1.234,50");
        row("negative", u"-5.000,00"_s, "-5.000,00");
        row("cents only", u",05"_s, "0,05");
        row("negative, 3 whole digits", u"-123"_s, "-123,00");
        row("9 whole digits", u"123456789"_s, "123.456.789,00");
        row("surrounding blanks", u" 7,1 "_s, "7,10");
        for (const char* refused : {"12a", "1,234", "12.34,00", "1,234.50", "-"})
            row(refused, QString::fromLatin1(refused), "");
        row("stored real text", QByteArray("1234.5"), "1.234,50");
        row("just below a cent boundary", QByteArray("19.99"), "19,99");
        row("german comma from an old file", QByteArray("12,5"), "12,50");
        row("german notation typed into the file", QByteArray(" 1.234,50"), "1.234,50");
        for (const char* refused : {"n/a", "1e308", ""})
            row(refused, QByteArray(refused), "");
        row("half a cent rounds away from zero", -0.125, "-0,13");
        row("real at the limit", 9.0e13, "90.000.000.000.000,00");
        row("real beyond the limit", 9.0e13 + 1, "");
        row("real infinite", qInf(), "");
        row("integer is whole euros", qint64(-12), "-12,00");
        row("integer beyond the limit", qint64(90000000000001), "");
        row("integer below the limit", qint64(-90000000000001), "");
    }
    void amountIsReadToTheCentAndShownInGermanNotation() {
        QFETCH(QVariant, input);
        const std::optional<Money> read =
            input.typeId() == QMetaType::QString ? Money::parseGerman(input.toString())
            : input.typeId() == QMetaType::QByteArray
                ? Money::parseStored(QString::fromUtf8(input.toByteArray()))
            : input.typeId() == QMetaType::Double ? Money::fromStoredReal(input.toDouble())
                                                  : Money::fromStoredInteger(input.toLongLong());
        QTEST(read ? read->toGerman() : QString(), "shown");
    }
};

QTEST_GUILESS_MAIN(MoneyTest)
#include "MoneyTest.moc"
