#include "AmountField.h"

#include <algorithm>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QValidator>

namespace {
// Texts on the way to an amount: a sign, whole groups of three after the first or no thousands points,
// a comma and up to two decimals ("-", "1.23", "1.234,", ",5"); or whole groups and a last point with up
// to two digits, which may still grow into a group or end as the decimal comma ("12.345.6").
const QRegularExpression kOnTheWay(QStringLiteral(
    R"(^\s*[+-]?\s*(?:(?:\d{1,3}(?:\.\d{3})*|\d*)(?:,\d{0,2})?|\d{1,3}(?:\.\d{3})*\.\d{0,2})\s*$)"));

// The most whole euros an amount can hold has thirteen digits.
constexpr int kMostWholeDigits = 13;

bool onTheWay(const QString& text) {
    const QString whole = text.section(QLatin1Char(','), 0, 0);
    return kOnTheWay.match(text).hasMatch() &&
           std::count_if(whole.begin(), whole.end(), [](QChar c) { return c.isDigit(); }) <= kMostWholeDigits;
}

// The text with its last point read as the decimal comma, or an empty text when there is a comma already
// or more than two digits follow the last point.
QString lastPointAsComma(const QString& text) {
    const qsizetype point = text.lastIndexOf(QLatin1Char('.'));
    if (point < 0 || text.contains(QLatin1Char(',')) || text.mid(point + 1).trimmed().size() > 2)
        return QString();
    QString changed = text;
    changed[point] = QLatin1Char(',');
    return changed;
}

class GermanAmountValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        if (onTheWay(input))
            return Money::parseGerman(input) ? Acceptable : Intermediate;
        // A point that cannot be a thousands point is the decimal comma.
        const QString comma = lastPointAsComma(input);
        if (comma.isEmpty() || !onTheWay(comma))
            return Invalid;
        input = comma;
        return Money::parseGerman(input) ? Acceptable : Intermediate;
    }

    // When the entry is left: a last point with at most two digits after it was meant as the comma.
    void fixup(QString& input) const override {
        if (Money::parseGerman(input))
            return;
        const QString comma = lastPointAsComma(input);
        if (!comma.isEmpty())
            input = comma;
    }
};
} // namespace

AmountField::AmountField(QWidget* parent) : QLineEdit(parent) {
    setValidator(new GermanAmountValidator(this));
}

void AmountField::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers().testFlag(Qt::KeypadModifier) &&
        (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma)) {
        QKeyEvent comma(event->type(), Qt::Key_Comma, event->modifiers(), QStringLiteral(","));
        QLineEdit::keyPressEvent(&comma);
        event->setAccepted(comma.isAccepted());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

std::optional<Money> AmountField::amount() const {
    QString finished = text();
    validator()->fixup(finished);
    return Money::parseGerman(finished);
}
