#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;

// "Stornieren" (frmStornieren): asks the reason of cancelling an ordered booking by a counter-booking;
// OK stays disabled until a reason is typed.
class CancelReasonDialog : public QDialog {
    Q_OBJECT
public:
    // bookingText names the booking, such as "LfdNr. 007 – Zimmerei Östreicher, 1.234,50 Euro".
    CancelReasonDialog(const QString& bookingText, QWidget* parent = nullptr);

    QString reason() const;

private:
    QLineEdit* m_reason = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};
