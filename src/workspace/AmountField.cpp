#include "AmountField.h"

#include <QRegularExpression>

namespace {
// Whole groups of three after the first, or no thousands points at all; a comma and up to two decimals.
const QString kWhole = QStringLiteral(R"((?:\d{1,3}(?:\.\d{3})*|\d*))");
} // namespace

AmountField::AmountField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &AmountField::check);
}

AmountField::Text AmountField::classify(const QString& text) {
    static const QRegularExpression amount(QStringLiteral(R"(^\s*[+-]?\s*%1(?:,\d{0,2})?\s*$)").arg(kWhole));
    static const QRegularExpression group(QStringLiteral(R"(^\s*[+-]?\s*\d{1,3}(?:\.\d{3})*\.\d{0,2}\s*$)"));
    static const QRegularExpression thirdDecimal(QStringLiteral(R"(^\s*[+-]?\s*%1,\d{3,}\s*$)").arg(kWhole));
    if (amount.match(text).hasMatch())
        return Money::parseGerman(text) ? Text::Amount : Text::Partial;
    if (group.match(text).hasMatch())
        return Text::Partial;
    if (thirdDecimal.match(text).hasMatch())
        return Text::ThirdDecimal;
    return Text::Foreign;
}

void AmountField::check(const QString& text) {
    switch (classify(text)) {
    case Text::Amount:
    case Text::Partial:
        m_lastGood = text;
        return;
    case Text::ThirdDecimal: {
        const int cursor = qMax(0, cursorPosition() - 1);
        setText(m_lastGood);
        setCursorPosition(qMin(cursor, int(m_lastGood.size())));
        return;
    }
    case Text::Foreign:
        clear();
        return;
    }
}

std::optional<Money> AmountField::amount() const {
    return Money::parseGerman(text());
}
