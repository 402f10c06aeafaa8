#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>
#include <optional>

// A euro amount held as whole cents, so that sums never drift.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromCents(qint64 cents) {
        Money m;
        m.m_cents = cents;
        return m;
    }
    // Rounds to the nearest cent.
    static Money fromEuros(double euros);
    // German notation as typed by a user: "1.234,50", "1234,5", "-5.000,00", "12". Thousands points are
    // optional but, when present, must group by three. Anything else (letters, "1,2,3") gives nullopt.
    static std::optional<Money> parseGerman(const QString& text);
    // A stored field's text ("1234.5", "1234,5", "12", "1.234,50"); nullopt for an empty or foreign value.
    static std::optional<Money> parseStored(const QString& text);
    // A stored field's number of euros, as the engine hands over a REAL or an INTEGER field ("12" is
    // 12,00); nullopt for a value that is not finite or beyond any amount the program can hold.
    static std::optional<Money> fromStoredReal(double euros);
    static std::optional<Money> fromStoredInteger(qint64 euros);
    // "###,##0.00": "1.234,50", "-5.000,00", "0,00".
    QString toGerman() const;

    constexpr qint64 cents() const { return m_cents; }
    double toEuros() const { return static_cast<double>(m_cents) / 100.0; }

    constexpr Money operator+(Money other) const { return fromCents(m_cents + other.m_cents); }
    constexpr Money operator-(Money other) const { return fromCents(m_cents - other.m_cents); }
    constexpr Money operator-() const { return fromCents(-m_cents); }
    constexpr Money& operator+=(Money other) {
        m_cents += other.m_cents;
        return *this;
    }
    constexpr Money& operator-=(Money other) {
        m_cents -= other.m_cents;
        return *this;
    }
    constexpr auto operator<=>(const Money&) const = default;

private:
    qint64 m_cents = 0;
};
