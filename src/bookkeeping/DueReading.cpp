#include "DueReading.h"

#include "Database.h"
#include "DueRepository.h"
#include "PaymentDue.h"
#include "Percent.h"
#include "Session.h"

#include <algorithm>

DueItem DueReading::item(const Booking& booking, const Payment& payment, int today, const BaseRate& rate) {
    DueItem item;
    item.booking = booking;
    item.payment = payment;
    item.receivedOn = payment.receivedOn.value_or(today);
    item.daysToPay = payment.daysToPay && *payment.daysToPay > 0
                         ? *payment.daysToPay
                         : PaymentDue::daysToPay(booking.paymentKind, std::nullopt);
    item.dueOn = PaymentDue::dueOn(item.receivedOn, item.daysToPay);
    item.daysLeft = item.dueOn - today;
    item.overdue = PaymentDue::overdue(item.dueOn, today);
    item.discountLastDay = PaymentDue::discountLastDay(item.receivedOn, payment.discountDays);
    if (payment.discount && payment.discount->cents() != 0)
        item.discount = payment.discount;
    else if (item.discountLastDay && payment.discountPercent && *payment.discountPercent > 0)
        if (const std::optional<Money> base = payment.gross ? payment.gross : booking.amount)
            item.discount = percentOf(*base, *payment.discountPercent);
    item.discountEndsSoon = item.discountLastDay && *item.discountLastDay >= today &&
                            *item.discountLastDay <= today + kDiscountWarningDays;
    item.interest =
        PaymentDue::interest(booking.amount.value_or(Money()), item.receivedOn, today, rate.hundredths);
    return item;
}

bool DueReading::shown(const DueItem& item, int today, std::optional<int> within) {
    if (!within)
        return true;
    const int last = today + *within;
    return item.dueOn <= last ||
           (item.discountLastDay && *item.discountLastDay >= today && *item.discountLastDay <= last);
}

Reading<QList<DueItem>> DueReading::open(Session& session, const QString& projectId, int today,
                                         std::optional<int> within, const BaseRate& rate) {
    Database& db = session.database();
    bool ok = true;
    // Neither the due day nor the discount's last day comes before the receipt.
    const std::optional<int> receivedUpTo = within ? std::optional<int>(today + *within) : std::nullopt;
    const QList<DueRepository::Open> open = DueRepository(db).open(projectId, receivedUpTo, &ok);
    QList<DueItem> items;
    items.reserve(open.size());
    for (const DueRepository::Open& each : open) {
        DueItem made = item(each.booking, each.payment, today, rate);
        if (shown(made, today, within))
            items.append(std::move(made));
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const DueItem& a, const DueItem& b) { return a.dueOn < b.dueOn; });
    return {std::move(items), ok, ok ? QString() : db.lastError()};
}
