#pragma once

#include "Booking.h"
#include "Money.h"
#include "Payment.h"
#include "PaymentRules.h"
#include "Reading.h"

#include <optional>
#include <QList>
#include <QString>

class Session;

// A received invoice not yet paid, with what the rules of payment make of it on a given day.
struct DueItem {
    Booking booking;
    Payment payment;
    int receivedOn = 0;
    int daysToPay = 0;
    int dueOn = 0;
    // Negative when the payment is late.
    int daysLeft = 0;
    bool overdue = false;
    std::optional<int> discountLastDay;
    // The discount the invoice allows: as taken, or the agreed percentage of the gross amount.
    std::optional<Money> discount;
    bool discountEndsSoon = false;
    // Owed from the 31st day after receipt until the day looked at, on the amount to be paid.
    Money interest;
};

// Reads the invoices that wait for payment ("Fälligkeiten"), across projects or for one.
class DueReading {
public:
    // A discount whose last day is at most this many days ahead is about to be lost.
    static constexpr int kDiscountWarningDays = 3;

    // The open invoices of the project (every project when empty), as on day today, sorted by due day;
    // within, when given, keeps those due or whose discount runs out in the next within days (the late
    // ones always).
    static Reading<QList<DueItem>> open(Session& session, const QString& projectId, int today,
                                        std::optional<int> within, const BaseRate& rate);
    // What the rules make of one received invoice on day today (payment.receivedOn is set).
    static DueItem item(const Booking& booking, const Payment& payment, int today, const BaseRate& rate);
    static bool shown(const DueItem& item, int today, std::optional<int> within);
};
