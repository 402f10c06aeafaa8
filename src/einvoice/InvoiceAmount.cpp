#include "InvoiceAmount.h"

#include <QLocale>

namespace {
constexpr int kMaxDecimals = 6;
constexpr qint64 kMillion = 1000000;
constexpr qint64 kPerCent = 10000;
// Beyond this an amount no longer fits the millionths (about 9 billion euros).
constexpr int kMaxWholeDigits = 12;
} // namespace

std::optional<InvoiceAmount> InvoiceAmount::parse(const QString& given) {
    const QString text = given.trimmed();
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        ++i;
    qint64 whole = 0;
    int wholeDigits = 0;
    for (; i < text.size() && text.at(i).isDigit(); ++i, ++wholeDigits) {
        if (wholeDigits == kMaxWholeDigits)
            return std::nullopt;
        whole = whole * 10 + text.at(i).digitValue();
    }
    qint64 fraction = 0;
    int decimals = 0;
    // Decimals beyond the sixth round the millionths, half away from zero ("30.00000000000" is 30).
    bool roundUp = false;
    bool beyond = false;
    if (i < text.size() && text.at(i) == u'.') {
        for (++i; i < text.size() && text.at(i).isDigit(); ++i) {
            if (decimals == kMaxDecimals) {
                roundUp = roundUp || (!beyond && text.at(i).digitValue() >= 5);
                beyond = true;
                continue;
            }
            fraction = fraction * 10 + text.at(i).digitValue();
            ++decimals;
        }
    }
    if (i != text.size() || wholeDigits + decimals == 0)
        return std::nullopt;
    if (beyond) {
        // Shown with the decimals that still carry a digit.
        fraction += roundUp ? 1 : 0;
        while (decimals > 2 && fraction % 10 == 0) {
            fraction /= 10;
            --decimals;
        }
    }
    for (int d = decimals; d < kMaxDecimals; ++d)
        fraction *= 10;
    InvoiceAmount amount;
    amount.m_millionths = (whole * kMillion + fraction) * (negative ? -1 : 1);
    amount.m_decimals = decimals;
    return amount;
}

InvoiceAmount InvoiceAmount::fromMillionths(qint64 value) {
    InvoiceAmount amount;
    amount.m_millionths = value;
    return amount;
}

Money InvoiceAmount::toMoney() const {
    const qint64 half = m_millionths < 0 ? -kPerCent / 2 : kPerCent / 2;
    return Money::fromCents((m_millionths + half) / kPerCent);
}

QString InvoiceAmount::toGerman() const {
    const int shown = qMax(2, m_decimals);
    qint64 scale = 1;
    for (int d = shown; d < kMaxDecimals; ++d)
        scale *= 10;
    const qint64 magnitude = qAbs(m_millionths);
    const QLocale german(QLocale::German, QLocale::Germany);
    QString text = german.toString(magnitude / kMillion) + u',' +
                   QStringLiteral("%1").arg((magnitude % kMillion) / scale, shown, 10, QLatin1Char('0'));
    return m_millionths < 0 ? u'-' + text : text;
}

InvoiceAmount InvoiceAmount::operator+(const InvoiceAmount& other) const {
    InvoiceAmount sum = fromMillionths(m_millionths + other.m_millionths);
    sum.m_decimals = qMax(m_decimals, other.m_decimals);
    return sum;
}

InvoiceAmount InvoiceAmount::operator-(const InvoiceAmount& other) const {
    InvoiceAmount difference = fromMillionths(m_millionths - other.m_millionths);
    difference.m_decimals = qMax(m_decimals, other.m_decimals);
    return difference;
}
