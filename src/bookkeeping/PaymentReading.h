#pragma once

#include "Payment.h"
#include "Reading.h"

#include <optional>
#include <QList>
#include <QString>

class Session;

// Reads the payment data kept beside the bookings (receipt, gross amount, deductions).
class PaymentReading {
public:
    // The booking's payment; nullopt when it has none.
    static Reading<std::optional<Payment>> ofBooking(Session& session, qint64 bookingId);
    // The project's payments in order of entry of their bookings.
    static Reading<QList<Payment>> ofProject(Session& session, const QString& projectId);
};
