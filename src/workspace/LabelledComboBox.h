#pragma once

#include <QComboBox>

// A picker whose accessible name is its label's text, also where the platform's accessibility would
// name it by its value (an editable combo box on Linux): a screen reader says "Zahlungsart", then the
// kind of payment chosen.
class LabelledComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit LabelledComboBox(QWidget* parent = nullptr);
};
