#pragma once

#include "Money.h"
#include "Payment.h"
#include "PaymentChecks.h"

#include <functional>
#include <optional>
#include <QGroupBox>
#include <QList>

class AmountField;
class DateField;
class QComboBox;
class QLabel;
class QLineEdit;
struct WorkspaceContext;

// The panel "Zahlung" of the entry tab: the invoice's receipt and due date, its amount and the gross
// amount approved, the deductions (retention, withholding, Skonto) with the proposals and their reasons,
// and the amount paid out, which the booking's amount becomes. Closed, it adds nothing to the booking.
class PaymentPanel : public QGroupBox {
    Q_OBJECT
public:
    // What the due date and the proposals depend on, from the booking's own fields.
    struct Entry {
        QString company;
        QString paymentKind;
        std::optional<int> paymentDay;
        std::optional<Money> amount;
        // The booking being corrected, left out of what the proposals count.
        qint64 replacing = 0;
    };

    PaymentPanel(WorkspaceContext& context, std::function<Entry()> entry, QWidget* parent = nullptr);

    bool isUsed() const { return isChecked(); }
    // The payment as entered; nullopt when the panel is closed. A field that holds no amount or
    // percentage is named in problem, with the field in *field.
    std::optional<Payment> payment(QString* problem, QWidget** field) const;
    // A booking taken back: its payment, which opens the panel, or none, which closes it.
    void showStored(const std::optional<Payment>& payment);
    // An e-invoice taken into the entry: received on the day it was read in, with its discounts.
    void takeInvoice(int readInOn, Money amount, const QList<PaymentChecks::AgreedDiscount>& discounts);
    // Empties and closes the panel.
    void clear();
    // The booking's company, kind of payment or payment day changed: due date and proposals anew.
    void entryChanged();

signals:
    // The amount paid out as the booking's amount field shows it; empty while it cannot be computed.
    void paidOutChanged(const QString& amount);

private:
    QWidget* buildFields();
    void opened(bool on);
    // Reads the order's terms: its days to pay and, when asked and none is entered, its Skonto.
    void readTerms(bool fillDiscount);
    void propose();
    void recompute();
    std::optional<int> discountPercent() const;
    std::optional<int> discountDays() const;
    // The discount due on the entry as it stands; its reason when none is.
    std::optional<Money> discountDue(QString* reason) const;

    WorkspaceContext& m_context;
    std::function<Entry()> m_entry;
    DateField* m_received = nullptr;
    QLineEdit* m_due = nullptr;
    AmountField* m_invoiceAmount = nullptr;
    AmountField* m_gross = nullptr;
    AmountField* m_retention = nullptr;
    QComboBox* m_retentionKind = nullptr;
    QLabel* m_retentionReason = nullptr;
    AmountField* m_withholding = nullptr;
    QLineEdit* m_taxOffice = nullptr;
    QLabel* m_withholdingReason = nullptr;
    QLineEdit* m_discountPercent = nullptr;
    QLineEdit* m_discountDays = nullptr;
    QLineEdit* m_discountLastDay = nullptr;
    QLineEdit* m_discount = nullptr;
    QLabel* m_discountReason = nullptr;
    QLineEdit* m_paidOut = nullptr;
    QWidget* m_fields = nullptr;
    // The days to pay as the order says; the discounts the e-invoice grants.
    std::optional<int> m_orderDays;
    QList<PaymentChecks::AgreedDiscount> m_invoiceDiscounts;
    // The gross amount the proposals were made for: leaving the field unchanged proposes nothing anew.
    QString m_proposedFor;
    // While stored values are shown, nothing is proposed over them.
    bool m_filling = false;
};
