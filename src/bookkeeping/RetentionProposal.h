#pragma once

#include "Money.h"

#include <QString>
#include <QtGlobal>

class Session;

// What to retain from a payment as security (§17 Abs. 6 Nr. 1 VOB/B): the amount, the kind of security it
// builds up ("Vertragserfüllung" or "Mängelansprüche"; empty with nothing to retain) and, in German, how it
// was computed.
struct Retention {
    Money amount;
    QString kind;
    QString reason;
};

// Proposes the cash retention of a payment from the terms of the company's main order, and refuses one
// that the rule does not allow.
class RetentionProposal {
public:
    // For an instalment: 10 % of gross until the agreed security for performance is retained; for the
    // final payment: the agreed security for defects of the final sum less what is retained for it
    // already. excludeBookingId: the booking being replaced, left out of what is retained already.
    static Retention propose(Session& session, const QString& projectId, const QString& company,
                             const QString& paymentKind, Money gross, qint64 excludeBookingId = 0);
    // The German reason why retaining retention from a payment of gross is refused (more than 10 % of an
    // instalment); empty when it is allowed.
    static QString refusal(const QString& paymentKind, Money gross, Money retention);
};
