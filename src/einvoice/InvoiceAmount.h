#pragma once

#include "Money.h"

#include <optional>
#include <QString>
#include <QtGlobal>

// An amount as an e-invoice states it ("1234.5", "-0.125"): the text as given and its value in
// millionths, so that sums and checks are exact also for line amounts with more than two decimals.
class InvoiceAmount {
public:
    InvoiceAmount() = default;
    // Nullopt for a text that is no decimal number; decimals beyond the sixth are rounded.
    static std::optional<InvoiceAmount> parse(const QString& text);
    static InvoiceAmount fromMillionths(qint64 value);

    qint64 millionths() const { return m_millionths; }
    // The decimals the invoice gave.
    int decimals() const { return m_decimals; }
    // Rounded to the cent, half away from zero.
    Money toMoney() const;
    // True when the amount is not a whole number of cents.
    bool hasFractionOfCent() const { return m_millionths % 10000 != 0; }
    // In German notation with at least two decimals and every decimal the invoice gave: "1.234,565".
    QString toGerman() const;

    InvoiceAmount operator+(const InvoiceAmount& other) const;
    InvoiceAmount operator-(const InvoiceAmount& other) const;
    bool operator==(const InvoiceAmount& other) const { return m_millionths == other.m_millionths; }

private:
    qint64 m_millionths = 0;
    int m_decimals = 2;
};
