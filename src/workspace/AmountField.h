#pragma once

#include "Money.h"

#include <optional>
#include <QLineEdit>

// An entry field for a euro amount in German notation. While typing it keeps every text that can still
// become an amount ("-", "1.", "1.23" on the way to "1.234,50"); a text that never can (letters,
// "1,2,3") empties the field, and a third decimal is refused, so that no cent is silently rounded away.
class AmountField : public QLineEdit {
    Q_OBJECT
public:
    explicit AmountField(QWidget* parent = nullptr);

    // The amount typed; nullopt while the text is empty or not yet a whole amount ("1.").
    std::optional<Money> amount() const;

    enum class Text { Amount, Partial, ThirdDecimal, Foreign };
    static Text classify(const QString& text);

private:
    void check(const QString& text);

    QString m_lastGood;
};
