#include "Money.h"

#include <cmath>
#include <QRegularExpression>

namespace {
// Far beyond any building budget, and safe for qint64 cents.
constexpr qint64 kLargestEuros = 90'000'000'000'000;
} // namespace

Money Money::fromEuros(double euros) {
    return fromCents(std::llround(euros * 100.0));
}

std::optional<Money> Money::parseGerman(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*([+-]?)\s*(\d{1,3}(?:\.\d{3})+|\d*)(?:,(\d{0,2}))?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    QString whole = match.captured(2);
    const QString fraction = match.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    whole.remove(QLatin1Char('.'));
    if (whole.size() > 13)
        return std::nullopt;
    qint64 cents = whole.isEmpty() ? 0 : whole.toLongLong() * 100;
    if (!fraction.isEmpty())
        cents += fraction.size() == 1 ? fraction.toLongLong() * 10 : fraction.toLongLong();
    if (match.captured(1) == QLatin1String("-"))
        cents = -cents;
    return fromCents(cents);
}

std::optional<Money> Money::parseStored(const QString& text) {
    QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = trimmed.toDouble(&ok);
    if (ok)
        return fromStoredReal(value);
    // Typed into the file by hand or by another program in German notation: "1.234,50".
    if (const std::optional<Money> german = parseGerman(trimmed))
        return german;
    trimmed.replace(QLatin1Char(','), QLatin1Char('.'));
    value = trimmed.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return fromStoredReal(value);
}

std::optional<Money> Money::fromStoredReal(double euros) {
    if (!std::isfinite(euros) || std::fabs(euros) > static_cast<double>(kLargestEuros))
        return std::nullopt;
    return fromEuros(euros);
}

std::optional<Money> Money::fromStoredInteger(qint64 euros) {
    if (euros > kLargestEuros || euros < -kLargestEuros)
        return std::nullopt;
    return fromCents(euros * 100);
}

QString Money::toGerman() const {
    const bool negative = m_cents < 0;
    const quint64 absolute =
        negative ? static_cast<quint64>(-(m_cents + 1)) + 1 : static_cast<quint64>(m_cents);
    const QString digits = QString::number(absolute / 100);
    QString grouped;
    grouped.reserve(digits.size() + digits.size() / 3 + 4);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += QLatin1Char('.');
        grouped += digits.at(i);
    }
    const QString fraction = QStringLiteral("%1").arg(absolute % 100, 2, 10, QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + grouped + QLatin1Char(',') + fraction;
}
