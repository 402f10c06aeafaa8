#include "Percent.h"

#include <cstdlib>
#include <QRegularExpression>

Money percentOf(Money amount, int hundredths) {
    // cents * hundredths / 10000 in two parts of the same sign, so that no product leaves 64 bits: the
    // whole hundreds of euros exactly, and the rest rounded half away from zero.
    const qint64 whole = amount.cents() / 10'000 * hundredths;
    const qint64 rest = amount.cents() % 10'000 * hundredths;
    const qint64 rounded = (std::llabs(rest) + 5'000) / 10'000;
    return Money::fromCents(whole + (rest < 0 ? -rounded : rounded));
}

std::optional<int> parsePercent(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(\d{1,3})(?:[,.](\d{1,2}))?\s*%?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString fraction = match.captured(2);
    int hundredths = match.captured(1).toInt() * 100;
    if (!fraction.isEmpty())
        hundredths += fraction.size() == 1 ? fraction.toInt() * 10 : fraction.toInt();
    return hundredths;
}

QString percentText(int hundredths) {
    const int absolute = std::abs(hundredths);
    return QStringLiteral("%1%2,%3")
        .arg(hundredths < 0 ? QStringLiteral("-") : QString())
        .arg(absolute / 100)
        .arg(absolute % 100, 2, 10, QLatin1Char('0'));
}
