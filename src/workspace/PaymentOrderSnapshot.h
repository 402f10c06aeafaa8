#pragma once

#include "ListSnapshot.h"
#include "SignOffReading.h"

#include <QList>

class Session;
class Settings;

// The snapshot of the payment orders ("Auszahlungsanordnung") of ordered bookings, one row each: the
// authority's details from the settings as the letterhead, the project, the payee with address and bank
// account from the company register, the amount, the invoice, the kind of payment and who confirmed and
// ordered it when.
class PaymentOrderSnapshot {
public:
    // The fields of an order, in their printed order; "Sachlich richtig" only when confirming is done in
    // two steps or one of the bookings was confirmed so, "Hinweis" only when one of them has a note (such
    // as a booking ordered before the sign-off was kept).
    static ListSnapshot of(Session& session, const Settings& settings,
                           const QList<SignOffReading::Waiting>& orders, bool twoStep);
};
