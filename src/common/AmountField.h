#pragma once

#include "Money.h"

#include <optional>
#include <QLineEdit>

// An entry field for a euro amount in German notation. It never throws away what was typed: a keystroke
// or a paste that can lead to no amount is refused and the text stays as it was. The numeric keypad's
// decimal key types a comma, and a point that cannot be a thousands point ("12345." or a pasted
// "1234.5") becomes the decimal comma; a point followed by at most two digits when the entry is left
// ("1.5", "12.345.67") is read as the decimal comma too. "1.234" stays one thousand two hundred
// thirty-four.
class AmountField : public QLineEdit {
    Q_OBJECT
public:
    explicit AmountField(QWidget* parent = nullptr);

    // The amount the entry stands for; nullopt while the text is empty or no whole amount ("-", ",").
    std::optional<Money> amount() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
