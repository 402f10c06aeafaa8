#pragma once

#include "Booking.h"
#include "Money.h"
#include "Payment.h"

#include <optional>
#include <QList>
#include <QString>

// The rules a booking's payment data must keep, as pure checks: the amount paid out is the gross amount
// less retention, withholding and discount to the cent; no deduction is negative except the retention a
// release gives back; a discount is taken only where it is agreed, in time and on the full invoice.
class PaymentChecks {
public:
    // A discount agreed for an invoice, by the order or by the invoice: percentage in hundredths of a
    // percent and the days from receipt it may be taken in.
    struct AgreedDiscount {
        int percent = 0;
        int days = 0;
        friend bool operator==(const AgreedDiscount&, const AgreedDiscount&) = default;
    };

    // The kind of payment that releases a retention.
    static QString releaseKind() { return QStringLiteral("Rückhalt"); }
    // The kinds of security a retention builds up.
    static QStringList retentionKinds();

    // Gross less every deduction; nullopt without a gross amount.
    static std::optional<Money> paidOut(const Payment& payment);
    // Why booking cannot be booked with payment, in German; nullopt when it may. agreed: the discounts
    // the order and the invoice grant.
    static std::optional<QString> refusal(const Booking& booking, const Payment& payment,
                                          const QList<AgreedDiscount>& agreed);
    // Why payment, when it took a discount, may not be paid on day (after the discount's last day);
    // nullopt when it may.
    static std::optional<QString> latePayment(const Payment& payment, int day);
    // The last day of the discount payment took; nullopt when it took none.
    static std::optional<int> discountLastDay(const Payment& payment);

private:
    static std::optional<QString> discountRefusal(const Booking& booking, const Payment& payment,
                                                  const QList<AgreedDiscount>& agreed);
};
